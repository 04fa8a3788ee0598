#include "support/scripteddialogs.h"

#include "platform/menu.h"

#include <QAction>

namespace glyvex::testing {

using platform::FontChoice;

namespace {
const char* kindName(DialogCall::Kind kind)
{
    switch (kind) {
    case DialogCall::Kind::File: return "file dialog";
    case DialogCall::Kind::Font: return "font dialog";
    case DialogCall::Kind::Input: return "input box";
    case DialogCall::Kind::Message: return "message box";
    case DialogCall::Kind::Popup: return "pop-up menu";
    case DialogCall::Kind::Url: return "web page";
    }
    return "dialog";
}

QString describe(const DialogCall& call)
{
    QString what = QString::fromLatin1(kindName(call.kind));
    const QString detail = !call.title.isEmpty() ? call.title
        : !call.file.title.isEmpty()             ? call.file.title
        : !call.menu.isEmpty()                   ? call.menu
        : !call.prompt.isEmpty()                 ? call.prompt
                                                 : call.url.toString();
    return detail.isEmpty() ? what : QStringLiteral("%1 \"%2\"").arg(what, detail);
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
    m_script.append({DialogCall::Kind::Popup, [this, menu](const DialogCall& call) {
                         if (call.menu != menu)
                             m_failures.append(QStringLiteral("pop-up of menu %1, expected %2").arg(call.menu, menu));
                     },
                     choose});
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
    DialogCall call{DialogCall::Kind::File};
    call.file = request;
    call.ownerModal = owner != nullptr;
    const Step* step = take(call);
    return step ? step->text : QString();
}

std::optional<FontChoice> ScriptedDialogs::chooseFont(QWidget* owner, const platform::FontRequest& request)
{
    DialogCall call{DialogCall::Kind::Font};
    call.font = request;
    call.title = request.title;
    call.ownerModal = owner != nullptr;
    const Step* step = take(call);
    return step ? step->font : std::nullopt;
}

QString ScriptedDialogs::inputBox(QWidget* owner, const QString& prompt, const QString& title)
{
    DialogCall call{DialogCall::Kind::Input};
    call.prompt = prompt;
    call.title = title;
    call.ownerModal = owner != nullptr;
    const Step* step = take(call);
    return step ? step->text : QString();
}

void ScriptedDialogs::messageBox(QWidget* owner, const QString& prompt, int style, const QString& title)
{
    DialogCall call{DialogCall::Kind::Message};
    call.prompt = prompt;
    call.title = title;
    call.style = style;
    call.ownerModal = owner != nullptr;
    take(call);
}

void ScriptedDialogs::popupMenu(QWidget* owner, platform::Menu& menu)
{
    DialogCall call{DialogCall::Kind::Popup};
    call.menu = menu.Name();
    call.ownerModal = owner != nullptr;
    const Step* step = take(call);
    if (!step || step->text.isEmpty())
        return;
    const QString choice = step->text;
    if (platform::MenuItem* item = menu.item(choice))
        item->action()->trigger();
    else
        m_failures.append(QStringLiteral("menu %1 has no item %2").arg(menu.Name(), choice));
}

bool ScriptedDialogs::openUrl(const QUrl& url)
{
    DialogCall call{DialogCall::Kind::Url};
    call.url = url;
    const Step* step = take(call);
    return step && step->result;
}

} // namespace glyvex::testing
