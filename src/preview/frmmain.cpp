#include "preview/frmmain.h"

#include "convert/frmdocconvert.h"
#include "info/frmabout.h"
#include "info/frmreadme.h"
#include "platform/errors.h"
#include "platform/toolkit.h"
#include "platform/twips.h"
#include "sentence/frmsentence.h"

#include <array>

namespace glyvex {

using namespace platform;

namespace {

const FontSpec kWindowFont{QStringLiteral("Arial"), 9.0f, 700};
const FontSpec kCharacterFont{QStringLiteral("Arial"), 12.0f, 400};
const QString kLetterTip = QStringLiteral("Double click to toggle case");
constexpr float kPreviewOffset = 480;

// The special characters: character, Left of the reference label, Top, reference height.
struct SpecialRow {
    char16_t character;
    float left, top, height;
};
constexpr std::array<SpecialRow, 32> kSpecials{{
    {u'`', 240, 240, 216},    {u'~', 240, 480, 216},   {u'!', 240, 720, 216},   {u'@', 240, 960, 336},
    {u'#', 240, 1320, 336},   {u'$', 240, 1680, 336},  {u'%', 240, 2040, 336},  {u'^', 240, 2400, 216},
    {u'&', 240, 2640, 300},   {u'*', 240, 3000, 216},  {u'(', 240, 3240, 336},  {u')', 240, 3600, 336},
    {u'-', 240, 3960, 300},   {u'_', 240, 4320, 336},  {u'=', 1680, 240, 216},  {u'+', 1680, 480, 216},
    {u'{', 1680, 720, 336},   {u'}', 1680, 1080, 336}, {u'[', 1680, 1440, 336}, {u']', 1680, 1800, 336},
    {u'\\', 1680, 2160, 336}, {u'|', 1680, 2520, 336}, {u';', 1680, 2880, 336}, {u':', 1680, 3240, 336},
    {u'\'', 1680, 3600, 336}, {u'"', 1680, 3960, 336}, {u',', 1680, 4320, 336}, {u'<', 3000, 240, 216},
    {u'.', 3000, 480, 336},   {u'>', 3000, 840, 216},  {u'/', 3000, 1080, 336}, {u'?', 3000, 1440, 336},
}};

} // namespace

frmMain::frmMain(platform::Platform& platform)
    : Form(platform, QStringLiteral("frmMain"),
           FormDesign{.caption = QStringLiteral("Glyvex 2.0"),
                      .borderStyle = BorderStyle::Sizable,
                      .maxButton = false,
                      .clientWidth = 3048,
                      .clientHeight = 5820,
                      .font = kWindowFont})
    , CommonDialog1(*this, QStringLiteral("Select Font Name"))
{
    cmdMacRestore = add<Button>({.name = u"cmdMacRestore"_qs,
                                 .rect = {960, 5760, 1212, 612},
                                 .caption = u"RESTORE"_qs,
                                 .visible = false,
                                 .tabIndex = 1});
    cboFonts = add<ComboBox>(
        {.name = u"cboFonts"_qs, .rect = {120, 120, 1932, 312}, .toolTip = u"Select Font"_qs, .tabIndex = 0});
    fraSpecial = add<Frame>({.name = u"fraSpecial"_qs, .rect = {4560, 720, 3852, 4812}, .visible = false});
    fraNumbers = add<Frame>({.name = u"fraNumbers"_qs, .rect = {3120, 720, 1092, 3852}, .visible = false});
    fraLetters = add<Frame>({.name = u"fraLetters"_qs, .rect = {240, 600, 2532, 4932}});
    makePanels();
    makeMenus();
    applyTabOrder();
    acceptFiles();
    wire();
}

// Each panel holds a reference label and, 480 twips to its right, a preview label per character.
void frmMain::makePanels()
{
    const auto pair = [this](Frame* frame, ControlArray<Label>& references, ControlArray<Label>& previews,
                             QChar character, float left, float top, float height, const QString& tip, bool bold) {
        ControlSpec entry{.rect = {left, top, 396, height},
                          .caption = character == u'&' ? QStringLiteral("&&") : QString(character),
                          .font = kCharacterFont,
                          .toolTip = tip,
                          .spokenWithFace = true};
        add(references, entry, frame);
        entry.rect = {left + kPreviewOffset, top, 0, 276};
        entry.autoSize = true;
        entry.font->ownGlyphsOnly = true; // the face as it is, its gaps shown
        if (bold)
            entry.font->weight = 700;
        add(previews, entry, frame);
    };
    for (int i = 0; i < 26; ++i) {
        const int column = i / 13, row = i % 13;
        pair(fraLetters, Label1, lblLetters, QChar(u'A' + i), 240.0f + 1440.0f * column, 240.0f + 360.0f * row, 336,
             kLetterTip, false);
    }
    for (int i = 0; i < 10; ++i)
        pair(fraNumbers, Label3, lblNumbers, QChar(u'0' + i), 240, 240.0f + 360.0f * i, i == 9 ? 252.0f : 372.0f,
             QString(), false);
    for (int i = 0; i < 32; ++i) {
        const SpecialRow& row = kSpecials[i];
        pair(fraSpecial, Label4, lblSpecial, QChar(row.character), row.left, row.top, row.height, QString(), i == 0);
    }
}

void frmMain::makeMenus()
{
    mnuFile = addMenu("mnuFile", "&File");
    mnuChangeFont = mnuFile->addItem("mnuChangeFont", "&Change Font...", "Ctrl+F");
    mnuToggleCase = mnuFile->addItem("mnuToggleCase", "&Toggle Case", "Ctrl+T");
    mnuFile->addItem("sep1", "-");
    mnuSentence = mnuFile->addItem("mnuSentence", "&Sentence Viewer...");
    mnuDocConvert = mnuFile->addItem("mnuDocConvert", "&Convert Document...");
    mnuFile->addItem("sep2", "-");
    mnuExit = mnuFile->addItem("mnuExit", "E&xit", "Ctrl+X");
    mnuView = addMenu("mnuView", "&View");
    mnuLetters = mnuView->addItem("mnuLetters", "&Letters", "", true);
    mnuNumbers = mnuView->addItem("mnuNumbers", "&Numbers");
    mnuSpecial = mnuView->addItem("mnuSpecial", "&Special Characters");
    mnuShowAll = mnuView->addItem("mnuShowAll", "Show &All", "Ctrl+A");
    mnuView->addItem("sep3", "-");
    mnuMacMin = mnuView->addItem("mnuMacMin", "&Intellimize", "Ctrl+I");
    mnuHelp = addMenu("mnuHelp", "&Help");
    mnuReadMe = mnuHelp->addItem("mnuReadMe", "&README.txt");
    mnuAbout = mnuHelp->addItem("mnuAbout", "&About");
}

void frmMain::wire()
{
    on(cboFonts, &ComboBox::Click, this, &frmMain::cboFonts_Click);
    on(cmdMacRestore, &Button::Click, this, &frmMain::cmdMacRestore_Click);
    on(fraLetters, &Control::DblClick, this, &frmMain::fraLetters_DblClick);
    on(&Label1, &ControlArrayEvents::DblClick, this, &frmMain::Label1_DblClick);
    on(&lblLetters, &ControlArrayEvents::DblClick, this, &frmMain::lblLetters_DblClick);
    // The File menu pops up over the background, the panels and every character; not over the
    // list or the button.
    popupOnRightButton(*mnuFile,
                       QList<Control*>{background(), fraLetters, fraNumbers, fraSpecial} + Label1.controls()
                           + Label3.controls() + Label4.controls() + lblLetters.controls() + lblNumbers.controls()
                           + lblSpecial.controls());
    on(mnuChangeFont, &MenuItem::Click, this, &frmMain::mnuChangeFont_Click);
    on(mnuToggleCase, &MenuItem::Click, this, &frmMain::mnuToggleCase_Click);
    on(mnuExit, &MenuItem::Click, this, &frmMain::mnuExit_Click);
    on(mnuLetters, &MenuItem::Click, this, &frmMain::mnuLetters_Click);
    on(mnuNumbers, &MenuItem::Click, this, &frmMain::mnuNumbers_Click);
    on(mnuSpecial, &MenuItem::Click, this, &frmMain::mnuSpecial_Click);
    on(mnuShowAll, &MenuItem::Click, this, &frmMain::mnuShowAll_Click);
    on(mnuMacMin, &MenuItem::Click, this, &frmMain::mnuMacMin_Click);
    on(mnuSentence, &MenuItem::Click, this, &frmMain::mnuSentence_Click);
    on(mnuDocConvert, &MenuItem::Click, this, &frmMain::mnuDocConvert_Click);
    on(mnuReadMe, &MenuItem::Click, this, &frmMain::mnuReadMe_Click);
    on(mnuAbout, &MenuItem::Click, this, &frmMain::mnuAbout_Click);
    on(this, &Form::OLEDragDrop, this, &frmMain::Form_OLEDragDrop);
}

// ---------------------------------------------------------------------------------------------
// Load

void frmMain::Form_Load()
{
    blnUpperCase = true;
    lngSavedHeight = roundHalfEven(Height());
    blnMacMin = false;
    centre(CentringRule::WholeTwip, FirstEdge::Left);
}

// ---------------------------------------------------------------------------------------------
// Font selection

void frmMain::cboFonts_Click()
{
    // Start-up runs this once for every font before "Arial": the list is read once.
    showInFace(cboFonts->Text());
}

// All 68 characters in one face.
void frmMain::showInFace(const QString& face)
{
    for (int i = 0; i <= 25; ++i)
        lblLetters[i]->setFontName(face);
    for (int i = 0; i <= 9; ++i)
        lblNumbers[i]->setFontName(face);
    for (int i = 0; i <= 31; ++i)
        lblSpecial[i]->setFontName(face);
}

void frmMain::mnuChangeFont_Click()
{
    CommonDialog1.FontName = cboFonts->Text();
    CommonDialog1.ShowFont();
    if (CommonDialog1.faceChosen())
        showInFace(CommonDialog1.FontName);
}

// ---------------------------------------------------------------------------------------------
// Compact mode

void frmMain::mnuMacMin_Click()
{
    if (!blnMacMin) {
        lngSavedHeight = roundHalfEven(Height());
        setHeight(0);
        cboFonts->setVisible(false);
        cmdMacRestore->setVisible(true);
        cmdMacRestore->setDefault(true);
        cmdMacRestore->SetFocus();
        blnMacMin = true;
    } else {
        setHeight(static_cast<float>(lngSavedHeight));
        cboFonts->setVisible(true);
        cmdMacRestore->setVisible(false);
        cmdMacRestore->setDefault(false);
        blnMacMin = false;
    }
}

void frmMain::cmdMacRestore_Click()
{
    cboFonts->setVisible(true);
    cmdMacRestore->setDefault(false);
    cmdMacRestore->setVisible(false);
    setHeight(static_cast<float>(lngSavedHeight));
    blnMacMin = false;
}

// ---------------------------------------------------------------------------------------------
// Case toggle

void frmMain::fraLetters_DblClick()
{
    const bool toSmall = blnUpperCase;
    for (int i = 0; i <= 25; ++i) {
        Label1[i]->setCaption(toSmall ? LCase(Label1[i]->Caption()) : UCase(Label1[i]->Caption()));
        lblLetters[i]->setCaption(toSmall ? LCase(lblLetters[i]->Caption()) : UCase(lblLetters[i]->Caption()));
    }
    blnUpperCase = !toSmall;
}

void frmMain::Label1_DblClick(int) { fraLetters_DblClick(); }
void frmMain::lblLetters_DblClick(int) { fraLetters_DblClick(); }
void frmMain::mnuToggleCase_Click() { fraLetters_DblClick(); }

// ---------------------------------------------------------------------------------------------
// Exit

void frmMain::mnuExit_Click() { Unload(); }

// ---------------------------------------------------------------------------------------------
// The other windows. The sentence viewer takes the Preview window's place on screen and
// shows it again when it closes; the others are modal over it.

namespace {
// A window made for one opening: it deletes itself once unloaded, and goes with the Preview window
// if still open when the program ends.
template <class T, class Arg> T& fresh(frmMain& preview, Arg& arg)
{
    T* form = new T(arg);
    form->setParent(&preview);
    form->deleteWhenUnloaded();
    return *form;
}
} // namespace

void frmMain::mnuSentence_Click()
{
    Hide();
    fresh<frmSentence>(*this, *this).Load();
}

void frmMain::mnuDocConvert_Click() { fresh<frmDocConvert>(*this, platform()).ShowModal(*this); }

void frmMain::mnuReadMe_Click() { fresh<frmReadMe>(*this, platform()).ShowModal(*this); }

void frmMain::mnuAbout_Click() { fresh<frmAbout>(*this, platform()).ShowModal(*this); }

} // namespace glyvex
