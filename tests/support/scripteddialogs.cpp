#include "support/scripteddialogs.h"

#include "platform/menu.h"

#include <QAction>

namespace glyvex::testing {

using platform::FontChoice;

namespace {
QString describe(const DialogCall& call)
{
    static const char* const kinds[] = {"file dialog", "font dialog", "input box", "message box", "pop-up", "web page"};
    const QStringList details{call.title, call.file.title, call.menu, call.prompt, call.url.toString()};
    return QStringLiteral("%1 \"%2\"").arg(QLatin1String(kinds[int(call.kind)]), details.join(u' ').simplified());
}
} // namespace

ScriptedDialogs& ScriptedDialogs::then(std::function<void()> action)
{
    if (!m_script.isEmpty())
        m_script.last().after = std::move(action);
    return *this;
}

const ScriptedDialogs::Step* ScriptedDialogs::take(const DialogCall& call)
{
    m_calls.append(call);
    if (m_script.isEmpty() || m_script.first().kind != call.kind) {
        m_failures.append(QStringLiteral("unexpected %1").arg(describe(call)));
        return nullptr;
    }
    m_current = m_script.takeFirst();
    if (!m_current->menu.isEmpty() && m_current->menu != call.menu)
        m_failures.append(QStringLiteral("pop-up of menu %1, expected %2").arg(call.menu, m_current->menu));
    if (m_current->check)
        m_current->check(call);
    if (m_current->after)
        m_current->after();
    return &*m_current;
}

QString ScriptedDialogs::chooseFile(QWidget* owner, const platform::FileRequest& request)
{
    const Step* step = take({.kind = DialogCall::Kind::File, .file = request, .ownerModal = owner != nullptr});
    return step ? step->text : QString();
}

std::optional<FontChoice> ScriptedDialogs::chooseFont(QWidget* owner, const platform::FontRequest& request)
{
    const Step* step = take(
        {.kind = DialogCall::Kind::Font, .font = request, .title = request.title, .ownerModal = owner != nullptr});
    return step ? step->font : std::nullopt;
}

QString ScriptedDialogs::inputBox(QWidget* owner, const QString& prompt, const QString& title)
{
    const Step* step
        = take({.kind = DialogCall::Kind::Input, .title = title, .prompt = prompt, .ownerModal = owner != nullptr});
    return step ? step->text : QString();
}

void ScriptedDialogs::messageBox(QWidget* owner, const QString& prompt, int style, const QString& title)
{
    take({.kind = DialogCall::Kind::Message,
          .title = title,
          .prompt = prompt,
          .style = style,
          .ownerModal = owner != nullptr});
}

void ScriptedDialogs::popupMenu(QWidget* owner, platform::Menu& menu)
{
    const Step* step = take({.kind = DialogCall::Kind::Popup, .menu = menu.Name(), .ownerModal = owner != nullptr});
    if (!step || step->text.isEmpty())
        return;
    if (platform::MenuItem* item = menu.item(step->text))
        item->action()->trigger();
    else
        m_failures.append(QStringLiteral("menu %1 has no item %2").arg(menu.Name(), step->text));
}

bool ScriptedDialogs::openUrl(const QUrl& url)
{
    const Step* step = take({.kind = DialogCall::Kind::Url, .url = url});
    return step && step->result;
}

} // namespace glyvex::testing
