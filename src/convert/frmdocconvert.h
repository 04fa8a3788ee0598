#pragma once
// The document converter: reads a file as plain text, shows it as read and again in a chosen
// face and size, and exports the second pane as a Rich Text Format document.
#include "platform/commondialog.h"
#include "platform/form.h"
#include "platform/richtextbox.h"

namespace glyvex {

class frmDocConvert final : public platform::Form {
    Q_OBJECT
public:
    explicit frmDocConvert(platform::Platform& platform);

    platform::Label* Label1;
    platform::Label* lblFileName;
    platform::RichTextBox* rtfOrig;
    platform::Label* Label2;
    platform::Label* lblFontName;
    platform::RichTextBox* rtfConverted;
    platform::Button* cmdNewFont;
    platform::Button* cmdExport;
    platform::Button* cmdClose;
    platform::CommonDialog CommonDialog1;
    platform::Menu* mnuFile;
    platform::MenuItem *mnuConvert, *mnuExport, *mnuClose;

    // Handlers.
    void Form_Load() override;
    void mnuConvert_Click();
    void cmdNewFont_Click();
    void mnuExport_Click();
    void cmdExport_Click();
    void mnuClose_Click();
    void cmdClose_Click();

private:
    void wire();
    // The error trap of the load, convert and export handlers: the first failure ends the
    // handler, and is reported in a message box naming the file and the reason.
    void trapped(void (frmDocConvert::*steps)());
    void loadSteps();
    void convertSteps();
    void exportSteps();
    void applyChosenFont();
};

} // namespace glyvex
