#pragma once
// The sentence viewer: asks for a sentence and a face, then shows the sentence once in the
// window's own face and once in the chosen one, with the face's name below. The window is as
// wide as the wider line needs and centred on the screen; it takes the Preview window's place
// on screen while it is open and brings it back when it closes.
#include "platform/commondialog.h"
#include "platform/form.h"

namespace glyvex {

class frmSentence final : public platform::Form {
    Q_OBJECT
public:
    explicit frmSentence(platform::Form& preview);

    platform::Label* lblOriginal; // the sentence in the window's face
    platform::Label* lblNewSentence; // the sentence in the chosen face
    platform::Label* Label1;
    platform::Label* lblFont; // the chosen face's name
    platform::CommonDialog CommonDialog1;
    platform::Menu* mnuFile;
    platform::MenuItem *mnuSentence, *mnuFont, *mnuClose;

    // The sentence last typed ("" when cancelled or nothing was typed).
    QString strSentence;

    // Handlers.
    void Form_Load() override;
    void Form_Unload(bool& Cancel) override;
    void mnuSentence_Click();
    void mnuFont_Click();
    void mnuClose_Click();

private:
    QString askSentence();
    // Applies the face the font dialog returned, unless it was cancelled.
    void applyChosenFace();
    void fitAndCentre();

    platform::Form& m_preview;
};

} // namespace glyvex
