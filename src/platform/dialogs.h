#pragma once
// Every dialog, input box, message box, pop-up menu and web-page opening of the program goes
// through Dialogs. The program uses the Qt implementation; tests give their windows a scripted one.
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <optional>

class QWidget;

namespace glyvex::platform {

class Menu;

// The message-box styles the program uses, by the toolkit's numbers: an OK button and an icon.
enum class MsgBoxStyle { Critical = 16, Exclamation = 48 };

struct FileRequest {
    enum class Kind { Open, Save } kind = Kind::Open;
    QString title;
    QString directory; // an existing directory (callers resolve missing ones)
    QString nameFilter; // Qt syntax, e.g. "Rich Text Format (*.rtf)"
    bool confirmOverwrite = false;
};

struct FontRequest {
    QString title; // empty: the dialog's own default title
    QString initialFace; // empty: no starting face
    float initialSize = 0;
    QStringList families; // the installed families, the only names the dialog offers and returns
};

struct FontChoice {
    QString face;
    float size = 0;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The chosen path, or an empty text when nothing was chosen.
    virtual QString chooseFile(QWidget* owner, const FileRequest& request) = 0;
    virtual std::optional<FontChoice> chooseFont(QWidget* owner, const FontRequest& request) = 0;
    // The typed text, or an empty text when cancelled.
    virtual QString inputBox(QWidget* owner, const QString& prompt, const QString& title) = 0;
    virtual void messageBox(QWidget* owner, const QString& prompt, MsgBoxStyle style, const QString& title) = 0;
    // Shows the menu's items at the mouse pointer; a chosen item raises its own Click.
    virtual void popupMenu(QWidget* owner, Menu& menu) = 0;
    // Opens an address with the user's default program; the result is for the caller to ignore.
    virtual bool openUrl(const QUrl& url) = 0;
};

// Qt's implementation.
std::unique_ptr<Dialogs> qtDialogs();

} // namespace glyvex::platform
