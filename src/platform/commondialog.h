#pragma once
// The open, save and font dialogs of a window, driven through properties: the caller presets
// the property that carries the answer and reads it back after Show...; an unchanged preset
// means nothing was chosen.
#include <QString>
#include <cstdint>

class QWidget;

namespace glyvex::platform {

class Form;

class CommonDialog {
public:
    explicit CommonDialog(Form& owner, QString designTitle = {});

    QString DialogTitle;
    QString InitDir;
    QString Filter; // description|pattern pairs, e.g. "All Files (*.*)|*.*"
    QString FileName; // after a file dialog: the chosen path, or unchanged when cancelled
    std::int32_t Flags = 0;
    QString FontName; // after ShowFont: the chosen face, or unchanged when cancelled
    float FontSize = 0;
    // Whether FontName names a face: "" and one blank (what a cancelled dialog may leave) do not.
    bool faceChosen() const;

    void ShowOpen();
    void ShowSave();
    void ShowFont();

    // Flag values of the dialogs.
    static constexpr std::int32_t cdlCFScreenFonts = 0x1;
    static constexpr std::int32_t cdlCFHelpButton = 0x4;
    static constexpr std::int32_t cdlCFForceFontExist = 0x10000;
    static constexpr std::int32_t cdlOFNOverwritePrompt = 0x2;
    static constexpr std::int32_t cdlOFNHelpButton = 0x10;
    static constexpr std::int32_t cdlOFNFileMustExist = 0x1000;
    static constexpr std::int32_t cdlOFNLongNames = 0x200000;

    // "All Files (*.*)|*.*" -> "All Files (*)"; pairs separated by ";;".
    static QString toQtFilter(const QString& filter);
    // The directory a file dialog opens in: InitDir when it exists, else the documents folder.
    static QString startDirectory(const QString& initDir);

private:
    void showFile(bool save);
    Form& m_owner;
};

} // namespace glyvex::platform
