#include "sentence/frmsentence.h"

#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/toolkit.h"
#include "platform/twips.h"

namespace glyvex {

using namespace platform;

namespace {

const FontSpec kWindowFont{QStringLiteral("Arial"), 10.8f, 400};
const QString kPrompt = QStringLiteral("Enter the sentence to view");
const QString kTitle = QStringLiteral("Glyvex");
// Twice the labels' left offset: the margin on both sides of the wider sentence line.
constexpr float kMargins = 480;
// The width "Current Sentence Font:" needs with its margins.
constexpr float kNarrowest = 2892;

const MenuSpec kMenus[] = {
    {"", "mnuFile", "&File"}, {"mnuFile", "mnuSentence", "New &Sentence"}, {"mnuFile", "mnuFont", "New &Font"},
    {"mnuFile", "sep1", "-"}, {"mnuFile", "mnuClose", "&Close", "Ctrl+X"},
};

} // namespace

frmSentence::frmSentence(platform::Form& preview)
    : Form(preview.platform(), QStringLiteral("frmSentence"),
           FormDesign{.caption = QStringLiteral("Glyvex Sentence Viewer"),
                      .borderStyle = 1,
                      .minButton = false,
                      .maxButton = false,
                      .clientWidth = 3072,
                      .clientHeight = 2580,
                      .font = kWindowFont})
    , CommonDialog1(*this)
    , m_preview(preview)
{
    const ControlSpec controls[] = {
        {.kind = ControlKind::Label,
         .name = QStringLiteral("lblOriginal"),
         .rect = {240, 240, 60, 252},
         .tabIndex = 0,
         .autoSize = true},
        {.kind = ControlKind::Label,
         .name = QStringLiteral("lblNewSentence"),
         .rect = {240, 840, 60, 252},
         .font = FontSpec{.name = kWindowFont.name, .size = kWindowFont.size, .ownGlyphsOnly = true},
         .tabIndex = 1,
         .autoSize = true},
        {.kind = ControlKind::Label,
         .name = QStringLiteral("Label1"),
         .rect = {240, 1560, 2412, 252},
         .caption = QStringLiteral("Current Sentence Font:"),
         .tabIndex = 2},
        {.kind = ControlKind::Label,
         .name = QStringLiteral("lblFont"),
         .rect = {240, 1920, 60, 252},
         .tabIndex = 3,
         .autoSize = true},
    };
    createAll(controls);
    lblOriginal = control<Label>(QStringLiteral("lblOriginal"));
    lblNewSentence = control<Label>(QStringLiteral("lblNewSentence"));
    Label1 = control<Label>(QStringLiteral("Label1"));
    lblFont = control<Label>(QStringLiteral("lblFont"));
    addMenus(kMenus);
    mnuFile = menu(QStringLiteral("mnuFile"));
    mnuSentence = menuItem(QStringLiteral("mnuSentence"));
    mnuFont = menuItem(QStringLiteral("mnuFont"));
    mnuClose = menuItem(QStringLiteral("mnuClose"));
    applyTabOrder();
    wire();
}

void frmSentence::wire()
{
    on(background(), &Control::MouseUp, this, &frmSentence::Form_MouseUp);
    on(Label1, &Control::MouseUp, this, &frmSentence::Label1_MouseUp);
    on(lblFont, &Control::MouseUp, this, &frmSentence::lblFont_MouseUp);
    on(lblNewSentence, &Control::MouseUp, this, &frmSentence::lblNewSentence_MouseUp);
    on(lblOriginal, &Control::MouseUp, this, &frmSentence::lblOriginal_MouseUp);
    on(mnuSentence, &MenuItem::Click, this, &frmSentence::mnuSentence_Click);
    on(mnuFont, &MenuItem::Click, this, &frmSentence::mnuFont_Click);
    on(mnuClose, &MenuItem::Click, this, &frmSentence::mnuClose_Click);
}

QString frmSentence::askSentence() { return platform().dialogs().inputBox(window(), kPrompt, kTitle); }

// A cancelled dialog leaves FontName as it was.
void frmSentence::applyChosenFace()
{
    if (!CommonDialog1.faceChosen())
        return;
    lblNewSentence->setFontName(CommonDialog1.FontName);
    lblFont->setCaption(Label::literal(CommonDialog1.FontName));
}

// As wide as the wider sentence line needs, never narrower than the font caption needs, and
// centred on the screen, even when wider than it. The height stays as built.
void frmSentence::fitAndCentre()
{
    if (lblNewSentence->Width() > lblOriginal->Width())
        setWidth(lblNewSentence->Width() + kMargins);
    else
        setWidth(lblOriginal->Width() + kMargins);
    if (Width() < kNarrowest)
        setWidth(kNarrowest);
    setTop(centreExact(Screen().Height(), Height()));
    setLeft(centreExact(Screen().Width(), Width()));
}

// ---------------------------------------------------------------------------------------------
// Load and unload

void frmSentence::Form_Load()
{
    strSentence = askSentence();
    CommonDialog1.Flags
        = CommonDialog::cdlCFScreenFonts | CommonDialog::cdlCFHelpButton | CommonDialog::cdlCFForceFontExist;
    CommonDialog1.ShowFont();
    lblOriginal->setCaption(Label::literal(strSentence));
    applyChosenFace();
    lblNewSentence->setCaption(Label::literal(strSentence));
    lblFont->setBorderStyle(1);
    fitAndCentre();
    Show();
}

void frmSentence::Form_Unload(int&) { m_preview.Show(); }

// ---------------------------------------------------------------------------------------------
// Commands

void frmSentence::mnuSentence_Click()
{
    strSentence = askSentence();
    lblOriginal->setCaption(Label::literal(strSentence));
    lblNewSentence->setCaption(Label::literal(strSentence));
    fitAndCentre();
}

void frmSentence::mnuFont_Click()
{
    CommonDialog1.ShowFont();
    applyChosenFace();
    fitAndCentre();
}

void frmSentence::mnuClose_Click() { Unload(); }

// ---------------------------------------------------------------------------------------------
// Right-click menu

void frmSentence::Form_MouseUp(int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }
void frmSentence::Label1_MouseUp(int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }
void frmSentence::lblFont_MouseUp(int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }
void frmSentence::lblNewSentence_MouseUp(int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }
void frmSentence::lblOriginal_MouseUp(int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }

} // namespace glyvex
