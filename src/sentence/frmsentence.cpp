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

} // namespace

frmSentence::frmSentence(platform::Form& preview)
    : Form(preview.platform(), QStringLiteral("frmSentence"),
           FormDesign{.caption = QStringLiteral("Glyvex Sentence Viewer"),
                      .borderStyle = BorderStyle::FixedSingle,
                      .minButton = false,
                      .maxButton = false,
                      .clientWidth = 3072,
                      .clientHeight = 2580,
                      .font = kWindowFont})
    , CommonDialog1(*this)
    , m_preview(preview)
{
    lblOriginal = add<Label>({.name = u"lblOriginal"_qs, .rect = {240, 240, 60, 252}, .tabIndex = 0, .autoSize = true});
    lblNewSentence
        = add<Label>({.name = u"lblNewSentence"_qs,
                      .rect = {240, 840, 60, 252},
                      .font = FontSpec{.name = kWindowFont.name, .size = kWindowFont.size, .ownGlyphsOnly = true},
                      .tabIndex = 1,
                      .autoSize = true});
    Label1 = add<Label>(
        {.name = u"Label1"_qs, .rect = {240, 1560, 2412, 252}, .caption = u"Current Sentence Font:"_qs, .tabIndex = 2});
    lblFont = add<Label>({.name = u"lblFont"_qs, .rect = {240, 1920, 60, 252}, .tabIndex = 3, .autoSize = true});
    mnuFile = addMenu("mnuFile", "&File");
    mnuSentence = mnuFile->addItem("mnuSentence", "New &Sentence");
    mnuFont = mnuFile->addItem("mnuFont", "New &Font");
    mnuFile->addItem("sep1", "-");
    mnuClose = mnuFile->addItem("mnuClose", "&Close", "Ctrl+X");
    applyTabOrder();

    popupOnRightButton(*mnuFile, {background(), lblOriginal, lblNewSentence, Label1, lblFont});
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
    centre(CentringRule::Exact, FirstEdge::Top);
}

// ---------------------------------------------------------------------------------------------
// Load and unload

void frmSentence::Form_Load()
{
    strSentence = askSentence();
    CommonDialog1.ShowFont();
    lblOriginal->setCaption(Label::literal(strSentence));
    applyChosenFace();
    lblNewSentence->setCaption(Label::literal(strSentence));
    lblFont->setBorderStyle(BorderStyle::FixedSingle);
    fitAndCentre();
    Show();
}

void frmSentence::Form_Unload(bool&) { m_preview.Show(); }

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

} // namespace glyvex
