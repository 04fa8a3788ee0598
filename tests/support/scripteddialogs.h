#pragma once
// A scripted stand-in for every dialog of the program. A test says, in order, which dialogs it
// expects and what each answers; any other dialog (answered with a cancel) and any expectation
// left unused fail the test (see GuiTest).
#include "platform/dialogs.h"
#include "platform/menu.h"

#include <QAction>
#include <QMenu>
#include <QStringList>
#include <QTest>
#include <functional>
#include <optional>

namespace glyvex::testing {

struct DialogCall {
    enum class Kind { File, Font, Input, Message, Popup, Url } kind;
    platform::FileRequest file;
    platform::FontRequest font;
    QString title; // input and message boxes; pop-ups: the menu's name
    QString prompt; // input and message boxes
    platform::MsgBoxStyle style{}; // message boxes
    QUrl url;
    bool ownerModal = false; // whether an owner window was given
};

class ScriptedDialogs final : public platform::Dialogs {
public:
    using Check = std::function<void(const DialogCall&)>;
    using Kind = DialogCall::Kind;

    // The answers: the path or the typed text (empty: cancelled), the face (none: cancelled), the
    // item chosen in the pop-up of the named menu (empty: none), whether a browser came up.
    ScriptedDialogs& expectFile(const QString& answer, Check check = {}) { return add({Kind::File, check, answer}); }
    ScriptedDialogs& expectFont(std::optional<platform::FontChoice> answer, Check check = {})
    {
        return add({Kind::Font, check, {}, answer});
    }
    ScriptedDialogs& expectInput(const QString& answer, Check check = {}) { return add({Kind::Input, check, answer}); }
    ScriptedDialogs& expectMessage(Check check = {}) { return add({Kind::Message, check}); }
    ScriptedDialogs& expectPopup(const QString& menu, const QString& choose = {})
    {
        return add({Kind::Popup, [menu](const DialogCall& call) { QCOMPARE(call.title, menu); }, choose});
    }
    ScriptedDialogs& expectUrl(bool result, Check check = {}) { return add({Kind::Url, check, {}, {}, result}); }
    QStringList failures() const { return m_failures; }
    int pending() const { return int(m_script.size()); }

    QString chooseFile(QWidget* owner, const platform::FileRequest& request) override
    {
        return answer({.kind = Kind::File, .file = request, .ownerModal = owner != nullptr}).text;
    }
    std::optional<platform::FontChoice> chooseFont(QWidget* owner, const platform::FontRequest& request) override
    {
        return answer({.kind = Kind::Font, .font = request, .title = request.title, .ownerModal = owner != nullptr})
            .font;
    }
    QString inputBox(QWidget* owner, const QString& prompt, const QString& title) override
    {
        return answer({.kind = Kind::Input, .title = title, .prompt = prompt, .ownerModal = owner != nullptr}).text;
    }
    void messageBox(QWidget* owner, const QString& prompt, platform::MsgBoxStyle style, const QString& title) override
    {
        answer(
            {.kind = Kind::Message, .title = title, .prompt = prompt, .style = style, .ownerModal = owner != nullptr});
    }
    void popupMenu(QWidget* owner, platform::Menu& menu) override
    {
        const QString item
            = answer({.kind = Kind::Popup, .title = menu.menu()->objectName(), .ownerModal = owner != nullptr}).text;
        if (QAction* chosen = item.isEmpty() ? nullptr : menu.menu()->findChild<QAction*>(item))
            chosen->trigger();
        else if (!item.isEmpty())
            m_failures.append(QStringLiteral("menu %1 has no item %2").arg(menu.menu()->objectName(), item));
    }
    bool openUrl(const QUrl& url) override { return answer({.kind = Kind::Url, .url = url}).result; }

private:
    struct Step {
        Kind kind;
        Check check;
        QString text;
        std::optional<platform::FontChoice> font;
        bool result = false;
    };
    ScriptedDialogs& add(const Step& step)
    {
        m_script.append(step);
        return *this;
    }
    Step answer(const DialogCall& call)
    {
        if (m_script.isEmpty() || m_script.first().kind != call.kind) {
            const QStringList what{call.title, call.file.title, call.prompt, call.url.toString()};
            m_failures.append(
                QStringLiteral("unexpected dialog (kind %1): %2").arg(int(call.kind)).arg(what.join(u' ')));
            return {call.kind}; // cancelled
        }
        const Step step = m_script.takeFirst();
        if (step.check)
            step.check(call);
        return step;
    }
    QList<Step> m_script;
    QStringList m_failures;
};

} // namespace glyvex::testing
