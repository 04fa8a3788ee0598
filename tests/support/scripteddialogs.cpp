#include "support/scripteddialogs.h"

#include "platform/menu.h"

#include <QAction>

namespace glyvex::testing {

using platform::FontChoice;

namespace {
QString describe(const DialogCall& call)
{
    static const char* const kinds[]
        = {"file dialog", "font dialog", "input box", "message box", "pop-up menu", "web page"};
    const QString detail = !call.title.isEmpty() ? call.title
        : !call.file.title.isEmpty()             ? call.file.title
        : !call.menu.isEmpty()                   ? call.menu
        : !call.prompt.isEmpty()                 ? call.prompt
                                                 : call.url.toString();
    return QStringLiteral("%1 \"%2\"").arg(QLatin1String(kinds[int(call.kind)]), detail);
}
} // namespace

ScriptedDialogs& ScriptedDialogs::expectFile(const QString& answer, Check check)
{
    m_script.append({DialogCall::Kind::File, std::move(check), answer});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectFont(std::optional<FontChoice> answer, Check check)
{
    m_script.append({DialogCall::Kind::Font, std::move(check), {}, std::move(answer)});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectInput(const QString& answer, Check check)
{
    m_script.append({DialogCall::Kind::Input, std::move(check), answer});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectMessage(Check check)
{
    m_script.append({DialogCall::Kind::Message, std::move(check)});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectPopup(const QString& menu, const QString& choose)
{
    const auto check = [this, menu](const DialogCall& call) {
        if (call.menu != menu)
            m_failures.append(QStringLiteral("pop-up of menu %1, expected %2").arg(call.menu, menu));
    };
    m_script.append({DialogCall::Kind::Popup, check, choose});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectUrl(bool result, Check check)
{
    m_script.append({DialogCall::Kind::Url, std::move(check), {}, {}, result});
    return *this;
}

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
