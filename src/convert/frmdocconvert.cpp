#include "convert/frmdocconvert.h"

#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/toolkit.h"
#include "platform/twips.h"

namespace glyvex {

using namespace platform;

namespace {

const FontSpec kWindowFont{QStringLiteral("Arial"), 10.2f, 400};
const FontSpec kHeadingFont{QStringLiteral("Arial"), 9.0f, 700, true};
const FontSpec kCaptionFont{QStringLiteral("Arial"), 9.0f, 400};
const FontSpec kButtonFont{QStringLiteral("Arial"), 9.0f, 700};
// The panes draw a character their face lacks in a face that has it, as every program that
// reads the exported document does: the lower pane shows what a reader of the file will see.
const FontSpec kPaneFont{QStringLiteral("Arial"), 10.0f, 400};

const MenuSpec kMenus[] = {
    {"", "mnuFile", "&File"},
    {"mnuFile", "mnuConvert", "&Convert to new font..."},
    {"mnuFile", "mnuExport", "&Export converted document..."},
    {"mnuFile", "sep1", "-"},
    {"mnuFile", "mnuClose", "C&lose", "Ctrl+X"},
};

constexpr std::int32_t kOpenFlags
    = CommonDialog::cdlOFNHelpButton | CommonDialog::cdlOFNFileMustExist | CommonDialog::cdlOFNLongNames; // 0x201010
constexpr std::int32_t kFontFlags
    = CommonDialog::cdlCFScreenFonts | CommonDialog::cdlCFHelpButton | CommonDialog::cdlCFForceFontExist; // 0x10005
constexpr std::int32_t kSaveFlags
    = CommonDialog::cdlOFNOverwritePrompt | CommonDialog::cdlOFNHelpButton | CommonDialog::cdlOFNLongNames; // 0x200012

} // namespace

frmDocConvert::frmDocConvert(platform::Platform& platform)
    : Form(platform, QStringLiteral("frmDocConvert"),
           FormDesign{.caption = QStringLiteral("Glyvex Document Converter"),
                      .borderStyle = 1,
                      .minButton = false,
                      .maxButton = false,
                      .clientWidth = 6492,
                      .clientHeight = 5064,
                      .font = kWindowFont})
    , CommonDialog1(*this)
{
    const ControlSpec controls[] = {
        {.kind = ControlKind::Label,
         .name = QStringLiteral("Label1"),
         .rect = {240, 120, 1080, 216},
         .caption = QStringLiteral("Original File:"),
         .font = kHeadingFont,
         .tabIndex = 1,
         .autoSize = true},
        {.kind = ControlKind::Label,
         .name = QStringLiteral("lblFileName"),
         .rect = {240, 360, 48, 204},
         .font = kCaptionFont,
         .toolTip = QStringLiteral("File Path/Name"),
         .tabIndex = 2,
         .autoSize = true},
        {.kind = ControlKind::RichTextBox,
         .name = QStringLiteral("rtfOrig"),
         .rect = {240, 600, 4692, 1692},
         .font = kPaneFont,
         .tabIndex = 0},
        {.kind = ControlKind::Label,
         .name = QStringLiteral("Label2"),
         .rect = {240, 2640, 1236, 216},
         .caption = QStringLiteral("Converted To:"),
         .font = kHeadingFont,
         .tabIndex = 4,
         .autoSize = true},
        {.kind = ControlKind::Label,
         .name = QStringLiteral("lblFontName"),
         .rect = {240, 2880, 336, 204},
         .caption = QStringLiteral("Arial"),
         .font = kCaptionFont,
         .toolTip = QStringLiteral("Font converted to"),
         .tabIndex = 5,
         .autoSize = true},
        {.kind = ControlKind::RichTextBox,
         .name = QStringLiteral("rtfConverted"),
         .rect = {240, 3120, 4692, 1692},
         .font = kPaneFont,
         .tabIndex = 3},
        {.kind = ControlKind::Button,
         .name = QStringLiteral("cmdNewFont"),
         .rect = {5160, 600, 1092, 372},
         .caption = QStringLiteral("New &Font..."),
         .font = kButtonFont,
         .toolTip = QStringLiteral("Convert to new font"),
         .tabIndex = 6},
        {.kind = ControlKind::Button,
         .name = QStringLiteral("cmdExport"),
         .rect = {5160, 1200, 1092, 372},
         .caption = QStringLiteral("&Export..."),
         .font = kButtonFont,
         .toolTip = QStringLiteral("Export converted file"),
         .tabIndex = 7},
        {.kind = ControlKind::Button,
         .name = QStringLiteral("cmdClose"),
         .rect = {5160, 1800, 1092, 372},
         .caption = QStringLiteral("C&lose"),
         .font = kButtonFont,
         .toolTip = QStringLiteral("Close"),
         .tabIndex = 8},
    };
    createAll(controls);
    Label1 = control<Label>(QStringLiteral("Label1"));
    lblFileName = control<Label>(QStringLiteral("lblFileName"));
    rtfOrig = control<RichTextBox>(QStringLiteral("rtfOrig"));
    Label2 = control<Label>(QStringLiteral("Label2"));
    lblFontName = control<Label>(QStringLiteral("lblFontName"));
    rtfConverted = control<RichTextBox>(QStringLiteral("rtfConverted"));
    cmdNewFont = control<Button>(QStringLiteral("cmdNewFont"));
    cmdExport = control<Button>(QStringLiteral("cmdExport"));
    cmdClose = control<Button>(QStringLiteral("cmdClose"));
    addMenus(kMenus);
    mnuFile = menu(QStringLiteral("mnuFile"));
    mnuConvert = menuItem(QStringLiteral("mnuConvert"));
    mnuExport = menuItem(QStringLiteral("mnuExport"));
    mnuClose = menuItem(QStringLiteral("mnuClose"));
    applyTabOrder();
    setLeft(1320);
    setTop(1488);
    wire();
}

void frmDocConvert::wire()
{
    on(mnuConvert, &MenuItem::Click, this, &frmDocConvert::mnuConvert_Click);
    on(mnuExport, &MenuItem::Click, this, &frmDocConvert::mnuExport_Click);
    on(mnuClose, &MenuItem::Click, this, &frmDocConvert::mnuClose_Click);
    on(cmdNewFont, &Button::Click, this, &frmDocConvert::cmdNewFont_Click);
    on(cmdExport, &Button::Click, this, &frmDocConvert::cmdExport_Click);
    on(cmdClose, &Button::Click, this, &frmDocConvert::cmdClose_Click);
}

void frmDocConvert::trapped(void (frmDocConvert::*steps)())
{
    platform().runHandler([&] { (this->*steps)(); }, window(), Caption());
}

void frmDocConvert::Form_Load() { trapped(&frmDocConvert::loadSteps); }

void frmDocConvert::loadSteps()
{
    CommonDialog1.DialogTitle = QStringLiteral("Select File To Convert");
    CommonDialog1.InitDir = QStringLiteral("C:\\My Documents");
    CommonDialog1.FileName = QString();
    CommonDialog1.Flags = kOpenFlags;
    CommonDialog1.Filter = QStringLiteral("All Files (*.*)|*.*");
    CommonDialog1.ShowOpen();
    if (CommonDialog1.FileName.isEmpty())
        return;
    rtfOrig->LoadFile(CommonDialog1.FileName, RichTextBox::rtfText);
    lblFileName->setCaption(Label::literal(CommonDialog1.FileName));

    CommonDialog1.DialogTitle = QStringLiteral("Select Font");
    CommonDialog1.Flags = kFontFlags;
    CommonDialog1.ShowFont();
    applyChosenFont();

    rtfConverted->setText(rtfOrig->Text());
    setTop(centreWholeTwip(Screen().Height(), Height()));
    setLeft(centreWholeTwip(Screen().Width(), Width()));
}

void frmDocConvert::applyChosenFont()
{
    if (!CommonDialog1.faceChosen())
        return;
    const QString face = CommonDialog1.FontName;
    rtfConverted->setFontName(face);
    rtfConverted->setFontSize(CommonDialog1.FontSize);
    lblFontName->setCaption(Label::literal(face));
}

void frmDocConvert::mnuConvert_Click() { trapped(&frmDocConvert::convertSteps); }

void frmDocConvert::convertSteps()
{
    CommonDialog1.DialogTitle = QStringLiteral("Select Font");
    CommonDialog1.Flags = kFontFlags;
    CommonDialog1.ShowFont();
    applyChosenFont();
}

void frmDocConvert::cmdNewFont_Click() { mnuConvert_Click(); }

void frmDocConvert::mnuExport_Click() { trapped(&frmDocConvert::exportSteps); }

void frmDocConvert::exportSteps()
{
    CommonDialog1.DialogTitle = QStringLiteral("Export Converted Document");
    CommonDialog1.InitDir = QStringLiteral("C:\\My Documents\\");
    CommonDialog1.FileName = QString();
    CommonDialog1.Flags = kSaveFlags;
    CommonDialog1.Filter = QStringLiteral("Rich Text Format (*.rtf)|*.rtf");
    CommonDialog1.ShowSave();
    // Nothing chosen: nothing is written, and no failure is reported.
    if (CommonDialog1.FileName.isEmpty())
        return;
    // The file gets exactly the name the dialog returned; the dialog asked before replacing.
    rtfConverted->SaveFile(CommonDialog1.FileName, RichTextBox::rtfRTF);
}

void frmDocConvert::cmdExport_Click() { mnuExport_Click(); }

void frmDocConvert::mnuClose_Click() { Unload(); }

void frmDocConvert::cmdClose_Click() { Unload(); }

} // namespace glyvex
