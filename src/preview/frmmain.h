#pragma once
// The Preview window: the font list, three panels of characters drawn twice (in the fixed
// reference face and in the chosen face), the View commands, compact mode, the case toggle,
// the right-click menu, and the commands that open the program's other windows.
#include "platform/commondialog.h"
#include "platform/form.h"

namespace glyvex {

class frmMain final : public platform::Form {
    Q_OBJECT
public:
    explicit frmMain(platform::Platform& platform);

    // Controls, in the order they are made.
    platform::Button* cmdMacRestore;
    platform::ComboBox* cboFonts;
    platform::Frame* fraSpecial;
    platform::Frame* fraNumbers;
    platform::Frame* fraLetters;
    platform::CommonDialog CommonDialog1;
    // Reference and preview characters: letters, digits, special characters.
    platform::ControlArray<platform::Label> Label1{"Label1"}, lblLetters{"lblLetters"};
    platform::ControlArray<platform::Label> Label3{"Label3"}, lblNumbers{"lblNumbers"};
    platform::ControlArray<platform::Label> Label4{"Label4"}, lblSpecial{"lblSpecial"};
    platform::Menu* mnuFile;
    platform::MenuItem *mnuChangeFont, *mnuToggleCase, *mnuSentence, *mnuDocConvert, *mnuExit;
    platform::Menu* mnuView;
    platform::MenuItem *mnuLetters, *mnuNumbers, *mnuSpecial, *mnuShowAll, *mnuMacMin;
    platform::Menu* mnuHelp;
    platform::MenuItem *mnuReadMe, *mnuAbout;

    // Window-level variables.
    bool blnUpperCase = true;
    std::int32_t lngSavedHeight = 0;
    bool blnMacMin = false;

    // Handlers.
    void Form_Load() override;
    void cboFonts_Click();
    void mnuChangeFont_Click();
    void mnuLetters_Click();
    void mnuNumbers_Click();
    void mnuSpecial_Click();
    void mnuShowAll_Click();
    void mnuMacMin_Click();
    void cmdMacRestore_Click();
    void fraLetters_DblClick();
    void Label1_DblClick(int Index);
    void lblLetters_DblClick(int Index);
    void mnuToggleCase_Click();
    void mnuExit_Click();
    void mnuSentence_Click();
    void mnuDocConvert_Click();
    void mnuReadMe_Click();
    void mnuAbout_Click();
    void Form_OLEDragDrop(const QStringList& files);

    // Font files opened for this run, given on the command line or dropped on the window: their
    // families join the list in their sorted places and the first is shown as if picked there.
    // Each file that cannot be opened is named, with the reason, in a line on standard error and
    // in one message box for them all; the others are opened all the same.
    void openFontFiles(const QStringList& paths);

private:
    void makePanels();
    void makeMenus();
    void wire();
    void showInFace(const QString& face);
    void togglePanel(int panelIndex, platform::Frame* P, platform::Frame* first, platform::Frame* second,
                     platform::MenuItem* item);
};

} // namespace glyvex
