#pragma once
// A scripted stand-in for every dialog of the program. A test says, in order, which dialogs
// it expects and what each answers; any other dialog is recorded as a failure (and answered
// with a cancel), and expectations left unused fail the test too (see GuiTest).
#include "platform/dialogs.h"

#include <QStringList>
#include <functional>
#include <optional>

namespace glyvex::testing {

struct DialogCall {
    enum class Kind { File, Font, Input, Message, Popup, Url } kind;
    platform::FileRequest file;
    platform::FontRequest font;
    QString title; // input and message boxes
    QString prompt; // input and message boxes
    int style = 0; // message boxes
    QString menu; // pop-up menus: the menu's name
    QUrl url;
    bool ownerModal = false; // whether an owner window was given
};

class ScriptedDialogs final : public platform::Dialogs {
public:
    using Check = std::function<void(const DialogCall&)>;

    ScriptedDialogs& expectFile(const QString& answer, Check check = {})
    {
        return add({DialogCall::Kind::File, std::move(check), answer});
    }
    ScriptedDialogs& expectFont(std::optional<platform::FontChoice> answer, Check check = {})
    {
        return add({DialogCall::Kind::Font, std::move(check), {}, std::move(answer)});
    }
    ScriptedDialogs& expectInput(const QString& answer, Check check = {})
    {
        return add({DialogCall::Kind::Input, std::move(check), answer});
    }
    ScriptedDialogs& expectMessage(Check check = {}) { return add({DialogCall::Kind::Message, std::move(check)}); }
    // Pops up the named menu; chooses the named item, or nothing when empty.
    ScriptedDialogs& expectPopup(const QString& menu, const QString& choose = {})
    {
        return add({DialogCall::Kind::Popup, {}, choose, {}, false, {}, menu});
    }
    ScriptedDialogs& expectUrl(bool result, Check check = {})
    {
        return add({DialogCall::Kind::Url, std::move(check), {}, {}, result});
    }
    // Runs an action when the next expectation is answered (before it returns).
    ScriptedDialogs& then(std::function<void()> action);

    QStringList failures() const { return m_failures; }
    int pending() const { return static_cast<int>(m_script.size()); }
    const QList<DialogCall>& calls() const { return m_calls; }

    QString chooseFile(QWidget* owner, const platform::FileRequest& request) override;
    std::optional<platform::FontChoice> chooseFont(QWidget* owner, const platform::FontRequest& request) override;
    QString inputBox(QWidget* owner, const QString& prompt, const QString& title) override;
    void messageBox(QWidget* owner, const QString& prompt, int style, const QString& title) override;
    void popupMenu(QWidget* owner, platform::Menu& menu) override;
    bool openUrl(const QUrl& url) override;

private:
    struct Step {
        DialogCall::Kind kind;
        Check check;
        QString text;
        std::optional<platform::FontChoice> font;
        bool result = false;
        std::function<void()> after;
        QString menu; // pop-ups: the menu expected
    };
    ScriptedDialogs& add(Step step)
    {
        m_script.append(std::move(step));
        return *this;
    }
    const Step* take(const DialogCall& call);
    QList<Step> m_script;
    QList<DialogCall> m_calls;
    QStringList m_failures;
    std::optional<Step> m_current;
};

} // namespace glyvex::testing
