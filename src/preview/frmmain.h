#pragma once
// The Preview window: the font list, three panels of characters drawn twice (in the fixed
// reference face and in the chosen face), the View commands, compact mode, the case toggle,
// the right-click menu, and the commands that open the program's other windows.
#include "platform/commondialog.h"
#include "platform/form.h"
#include "platform/toolkit.h"

#include <memory>

namespace glyvex {

class frmSentence;
class frmDocConvert;
class frmReadMe;
class frmAbout;

class frmMain final : public platform::Form {
    Q_OBJECT
public:
    explicit frmMain(platform::Platform& platform);
    ~frmMain() override;

    // Controls, by the names the other windows and the start-up sequence use.
    platform::Button* cmdMacRestore = nullptr;
    platform::ComboBox* cboFonts = nullptr;
    platform::Frame* fraSpecial = nullptr;
    platform::Frame* fraNumbers = nullptr;
    platform::Frame* fraLetters = nullptr;
    platform::CommonDialog CommonDialog1;
    QList<platform::Label*> Label1, lblLetters; // reference and preview letters
    QList<platform::Label*> Label3, lblNumbers; // reference and preview digits
    QList<platform::Label*> Label4, lblSpecial; // reference and preview special characters
    platform::Menu* mnuFile = nullptr;
    platform::MenuItem *mnuChangeFont, *mnuToggleCase, *mnuSentence, *mnuDocConvert, *mnuExit;
    platform::Menu* mnuView = nullptr;
    platform::MenuItem *mnuLetters, *mnuNumbers, *mnuSpecial, *mnuShowAll, *mnuMacMin;
    platform::Menu* mnuHelp = nullptr;
    platform::MenuItem *mnuReadMe, *mnuAbout;

    // Window-level variables.
    platform::Boolean blnUpperCase = platform::False;
    std::int32_t lngSavedHeight = 0;
    platform::Boolean blnMacMin = platform::False;

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
    void Form_MouseUp(int Button, int Shift, float X, float Y);
    void fraLetters_MouseUp(int Button, int Shift, float X, float Y);
    void fraNumbers_MouseUp(int Button, int Shift, float X, float Y);
    void fraSpecial_MouseUp(int Button, int Shift, float X, float Y);
    void Label1_MouseUp(int Index, int Button, int Shift, float X, float Y);
    void Label3_MouseUp(int Index, int Button, int Shift, float X, float Y);
    void Label4_MouseUp(int Index, int Button, int Shift, float X, float Y);
    void lblLetters_MouseUp(int Index, int Button, int Shift, float X, float Y);
    void lblNumbers_MouseUp(int Index, int Button, int Shift, float X, float Y);
    void lblSpecial_MouseUp(int Index, int Button, int Shift, float X, float Y);
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

    // The other windows, each made afresh when opened and deleted once unloaded (null when
    // not open).
    frmSentence* sentenceViewer() const;
    frmDocConvert* documentConverter() const;
    frmReadMe* readMe() const;
    frmAbout* about() const;

private:
    void buildPanels();
    void wire();
    void showInFace(const QString& face);
    void togglePanel(int panelIndex, platform::Frame* P, platform::Frame* first, platform::Frame* second,
                     platform::MenuItem* item);
    // Whether the single-panel commands rearrange the window (not minimised or maximised).
    bool canRearrange() const;
    void centreExact();
    void centreWholeTwip();

    QPointer<frmSentence> m_sentence;
    QPointer<frmDocConvert> m_convert;
    QPointer<frmReadMe> m_readMe;
    QPointer<frmAbout> m_about;
};

} // namespace glyvex
