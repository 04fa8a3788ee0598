#pragma once
// The open, save and font dialogs of a window, driven through properties: the caller presets
// the property that carries the answer and reads it back after Show...; an unchanged preset
// means nothing was chosen.
#include <QString>
#include <QFlags>

class QWidget;

namespace glyvex::platform {

class Form;

// The dialog flag the dialogs read, by the toolkit's number. The others a caller could set ask for
// what these dialogs do anyway (an open dialog takes only existing files, the font dialog only
// installed faces) or for what they do not offer (a Help button).
enum class DialogFlag { OverwritePrompt = 0x2 }; // the save dialog asks before replacing a file

class CommonDialog {
public:
    explicit CommonDialog(Form& owner, QString designTitle = {});

    QString DialogTitle;
    QString InitDir;
    QString Filter; // description|pattern pairs, e.g. "All Files (*.*)|*.*"
    QString FileName; // after a file dialog: the chosen path, or unchanged when cancelled
    QFlags<DialogFlag> Flags;
    QString FontName; // after ShowFont: the chosen face, or unchanged when cancelled
    float FontSize = 0;
    // Whether FontName names a face: "" and one blank (what a cancelled dialog may leave) do not.
    bool faceChosen() const;

    void ShowOpen();
    void ShowSave();
    void ShowFont();

    // "All Files (*.*)|*.*" -> "All Files (*)"; pairs separated by ";;".
    static QString toQtFilter(const QString& filter);
    // The directory a file dialog opens in: InitDir when it exists, else the documents folder.
    static QString startDirectory(const QString& initDir);

private:
    void showFile(bool save);
    Form& m_owner;
};

} // namespace glyvex::platform
