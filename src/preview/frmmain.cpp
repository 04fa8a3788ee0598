#include "preview/frmmain.h"

#include "convert/frmdocconvert.h"
#include "info/frmabout.h"
#include "info/frmreadme.h"
#include "platform/errors.h"
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

const MenuSpec kMenus[] = {
    {"", "mnuFile", "&File"},
    {"mnuFile", "mnuChangeFont", "&Change Font...", "Ctrl+F"},
    {"mnuFile", "mnuToggleCase", "&Toggle Case", "Ctrl+T"},
    {"mnuFile", "sep1", "-"},
    {"mnuFile", "mnuSentence", "&Sentence Viewer..."},
    {"mnuFile", "mnuDocConvert", "&Convert Document..."},
    {"mnuFile", "sep2", "-"},
    {"mnuFile", "mnuExit", "E&xit", "Ctrl+X"},
    {"", "mnuView", "&View"},
    {"mnuView", "mnuLetters", "&Letters", "", true},
    {"mnuView", "mnuNumbers", "&Numbers"},
    {"mnuView", "mnuSpecial", "&Special Characters"},
    {"mnuView", "mnuShowAll", "Show &All", "Ctrl+A"},
    {"mnuView", "sep3", "-"},
    {"mnuView", "mnuMacMin", "&Intellimize", "Ctrl+I"},
    {"", "mnuHelp", "&Help"},
    {"mnuHelp", "mnuReadMe", "&README.txt"},
    {"mnuHelp", "mnuAbout", "&About"},
};

} // namespace

frmMain::frmMain(platform::Platform& platform)
    : Form(platform, QStringLiteral("frmMain"),
           FormDesign{.caption = QStringLiteral("Glyvex 2.0"),
                      .borderStyle = 2,
                      .maxButton = false,
                      .clientWidth = 3048,
                      .clientHeight = 5820,
                      .font = kWindowFont})
    , CommonDialog1(*this, QStringLiteral("Select Font Name"))
{
    const ControlSpec controls[] = {
        {.kind = ControlKind::Button,
         .name = QStringLiteral("cmdMacRestore"),
         .rect = {960, 5760, 1212, 612},
         .caption = QStringLiteral("RESTORE"),
         .visible = false,
         .tabIndex = 1},
        {.kind = ControlKind::ComboBox,
         .name = QStringLiteral("cboFonts"),
         .rect = {120, 120, 1932, 312},
         .toolTip = QStringLiteral("Select Font"),
         .tabIndex = 0},
        {.kind = ControlKind::Frame,
         .name = QStringLiteral("fraSpecial"),
         .rect = {4560, 720, 3852, 4812},
         .visible = false},
        {.kind = ControlKind::Frame,
         .name = QStringLiteral("fraNumbers"),
         .rect = {3120, 720, 1092, 3852},
         .visible = false},
        {.kind = ControlKind::Frame, .name = QStringLiteral("fraLetters"), .rect = {240, 600, 2532, 4932}},
    };
    createAll(controls);
    cmdMacRestore = control<Button>(QStringLiteral("cmdMacRestore"));
    cboFonts = control<ComboBox>(QStringLiteral("cboFonts"));
    fraSpecial = control<Frame>(QStringLiteral("fraSpecial"));
    fraNumbers = control<Frame>(QStringLiteral("fraNumbers"));
    fraLetters = control<Frame>(QStringLiteral("fraLetters"));
    buildPanels();
    addMenus(kMenus);
    mnuFile = menu(QStringLiteral("mnuFile"));
    mnuView = menu(QStringLiteral("mnuView"));
    mnuHelp = menu(QStringLiteral("mnuHelp"));
    mnuChangeFont = menuItem(QStringLiteral("mnuChangeFont"));
    mnuToggleCase = menuItem(QStringLiteral("mnuToggleCase"));
    mnuSentence = menuItem(QStringLiteral("mnuSentence"));
    mnuDocConvert = menuItem(QStringLiteral("mnuDocConvert"));
    mnuExit = menuItem(QStringLiteral("mnuExit"));
    mnuLetters = menuItem(QStringLiteral("mnuLetters"));
    mnuNumbers = menuItem(QStringLiteral("mnuNumbers"));
    mnuSpecial = menuItem(QStringLiteral("mnuSpecial"));
    mnuShowAll = menuItem(QStringLiteral("mnuShowAll"));
    mnuMacMin = menuItem(QStringLiteral("mnuMacMin"));
    mnuReadMe = menuItem(QStringLiteral("mnuReadMe"));
    mnuAbout = menuItem(QStringLiteral("mnuAbout"));
    applyTabOrder();
    acceptFiles();
    wire();
}

frmMain::~frmMain()
{
    // A window still open when the program ends goes first.
    delete m_sentence.data();
    delete m_convert.data();
    delete m_readMe.data();
    delete m_about.data();
}

frmSentence* frmMain::sentenceViewer() const { return m_sentence.data(); }
frmDocConvert* frmMain::documentConverter() const { return m_convert.data(); }
frmReadMe* frmMain::readMe() const { return m_readMe.data(); }
frmAbout* frmMain::about() const { return m_about.data(); }

// Each panel holds a reference label and, 480 twips to its right, a preview label per character.
void frmMain::buildPanels()
{
    const auto pair = [this](Frame* frame, const QString& reference, const QString& preview, int index, QChar character,
                             float left, float top, float height, const QString& tip, bool bold) {
        const QString caption = character == u'&' ? QStringLiteral("&&") : QString(character);
        ControlSpec entry{.kind = ControlKind::Label,
                          .name = QStringLiteral("%1(%2)").arg(reference).arg(index),
                          .rect = {left, top, 396, height},
                          .caption = caption,
                          .font = kCharacterFont,
                          .toolTip = tip,
                          .spokenWithFace = true};
        Label* ref = add<Label>(entry, frame);
        entry.name = QStringLiteral("%1(%2)").arg(preview).arg(index);
        entry.rect = {left + kPreviewOffset, top, 0, 276};
        entry.autoSize = true;
        entry.font->ownGlyphsOnly = true; // the face as it is, its gaps shown
        if (bold)
            entry.font->weight = 700;
        return std::pair{ref, add<Label>(entry, frame)};
    };
    for (int i = 0; i < 26; ++i) {
        const int column = i / 13, row = i % 13;
        auto [ref, preview]
            = pair(fraLetters, QStringLiteral("Label1"), QStringLiteral("lblLetters"), i, QChar(u'A' + i),
                   240.0f + 1440.0f * column, 240.0f + 360.0f * row, 336, kLetterTip, false);
        Label1.append(ref);
        lblLetters.append(preview);
    }
    for (int i = 0; i < 10; ++i) {
        auto [ref, preview]
            = pair(fraNumbers, QStringLiteral("Label3"), QStringLiteral("lblNumbers"), i, QChar(u'0' + i), 240,
                   240.0f + 360.0f * i, i == 9 ? 252.0f : 372.0f, QString(), false);
        Label3.append(ref);
        lblNumbers.append(preview);
    }
    for (int i = 0; i < 32; ++i) {
        const SpecialRow& row = kSpecials[i];
        auto [ref, preview] = pair(fraSpecial, QStringLiteral("Label4"), QStringLiteral("lblSpecial"), i,
                                   QChar(row.character), row.left, row.top, row.height, QString(), i == 0);
        Label4.append(ref);
        lblSpecial.append(preview);
    }
}

void frmMain::wire()
{
    on(cboFonts, &ComboBox::Click, this, &frmMain::cboFonts_Click);
    on(cmdMacRestore, &Button::Click, this, &frmMain::cmdMacRestore_Click);
    on(fraLetters, &Control::DblClick, this, &frmMain::fraLetters_DblClick);
    onArray(Label1, &Control::DblClick, this, &frmMain::Label1_DblClick);
    onArray(lblLetters, &Control::DblClick, this, &frmMain::lblLetters_DblClick);
    on(background(), &Control::MouseUp, this, &frmMain::Form_MouseUp);
    on(fraLetters, &Control::MouseUp, this, &frmMain::fraLetters_MouseUp);
    on(fraNumbers, &Control::MouseUp, this, &frmMain::fraNumbers_MouseUp);
    on(fraSpecial, &Control::MouseUp, this, &frmMain::fraSpecial_MouseUp);
    onArray(Label1, &Control::MouseUp, this, &frmMain::Label1_MouseUp);
    onArray(Label3, &Control::MouseUp, this, &frmMain::Label3_MouseUp);
    onArray(Label4, &Control::MouseUp, this, &frmMain::Label4_MouseUp);
    onArray(lblLetters, &Control::MouseUp, this, &frmMain::lblLetters_MouseUp);
    onArray(lblNumbers, &Control::MouseUp, this, &frmMain::lblNumbers_MouseUp);
    onArray(lblSpecial, &Control::MouseUp, this, &frmMain::lblSpecial_MouseUp);
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

void frmMain::centreExact()
{
    setTop(platform::centreExact(Screen().Height(), Height()));
    setLeft(platform::centreExact(Screen().Width(), Width()));
}

void frmMain::centreWholeTwip()
{
    setLeft(platform::centreWholeTwip(Screen().Width(), Width()));
    setTop(platform::centreWholeTwip(Screen().Height(), Height()));
}

// ---------------------------------------------------------------------------------------------
// Load

void frmMain::Form_Load()
{
    blnUpperCase = True;
    lngSavedHeight = roundHalfEven(Height());
    blnMacMin = False;
    centreWholeTwip();
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
    CommonDialog1.Flags
        = CommonDialog::cdlCFScreenFonts | CommonDialog::cdlCFHelpButton | CommonDialog::cdlCFForceFontExist;
    CommonDialog1.FontName = cboFonts->Text();
    CommonDialog1.ShowFont();
    if (CommonDialog1.faceChosen())
        showInFace(CommonDialog1.FontName);
}

// ---------------------------------------------------------------------------------------------
// Compact mode

void frmMain::mnuMacMin_Click()
{
    if (blnMacMin == False) {
        lngSavedHeight = roundHalfEven(Height());
        setHeight(0);
        cboFonts->setVisible(false);
        cmdMacRestore->setVisible(true);
        cmdMacRestore->setDefault(true);
        cmdMacRestore->SetFocus();
        blnMacMin = True;
    } else {
        setHeight(static_cast<float>(lngSavedHeight));
        cboFonts->setVisible(true);
        cmdMacRestore->setVisible(false);
        cmdMacRestore->setDefault(false);
        blnMacMin = False;
    }
}

void frmMain::cmdMacRestore_Click()
{
    cboFonts->setVisible(true);
    cmdMacRestore->setDefault(false);
    cmdMacRestore->setVisible(false);
    setHeight(static_cast<float>(lngSavedHeight));
    blnMacMin = False;
}

// ---------------------------------------------------------------------------------------------
// Case toggle

void frmMain::fraLetters_DblClick()
{
    const bool toSmall = blnUpperCase == True;
    for (int i = 0; i <= 25; ++i) {
        Label1[i]->setCaption(toSmall ? LCase(Label1[i]->Caption()) : UCase(Label1[i]->Caption()));
        lblLetters[i]->setCaption(toSmall ? LCase(lblLetters[i]->Caption()) : UCase(lblLetters[i]->Caption()));
    }
    blnUpperCase = toSmall ? False : True;
}

void frmMain::Label1_DblClick(int) { fraLetters_DblClick(); }
void frmMain::lblLetters_DblClick(int) { fraLetters_DblClick(); }
void frmMain::mnuToggleCase_Click() { fraLetters_DblClick(); }

// ---------------------------------------------------------------------------------------------
// Right-click menu and exit

void frmMain::Form_MouseUp(int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }
void frmMain::fraLetters_MouseUp(int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }
void frmMain::fraNumbers_MouseUp(int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }
void frmMain::fraSpecial_MouseUp(int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }
void frmMain::Label1_MouseUp(int, int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }
void frmMain::Label3_MouseUp(int, int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }
void frmMain::Label4_MouseUp(int, int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }
void frmMain::lblLetters_MouseUp(int, int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }
void frmMain::lblNumbers_MouseUp(int, int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }
void frmMain::lblSpecial_MouseUp(int, int Button, int, float, float) { popupOnRightButton(Button, *mnuFile); }

void frmMain::mnuExit_Click() { Unload(); }

// ---------------------------------------------------------------------------------------------
// The other windows. The sentence viewer takes the Preview window's place on screen and
// shows it again when it closes; the others are modal over it.

namespace {
// A window made for one opening: it deletes itself once unloaded.
template <class T, class Arg> T* fresh(Arg& arg)
{
    T* form = new T(arg);
    form->deleteWhenUnloaded();
    return form;
}
} // namespace

void frmMain::mnuSentence_Click()
{
    Hide();
    m_sentence = fresh<frmSentence>(*this);
    m_sentence->Load();
}

void frmMain::mnuDocConvert_Click()
{
    m_convert = fresh<frmDocConvert>(platform());
    m_convert->ShowModal(*this);
}

void frmMain::mnuReadMe_Click()
{
    m_readMe = fresh<frmReadMe>(platform());
    m_readMe->ShowModal(*this);
}

void frmMain::mnuAbout_Click()
{
    m_about = fresh<frmAbout>(platform());
    m_about->ShowModal(*this);
}

} // namespace glyvex
