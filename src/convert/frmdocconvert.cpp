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

// The three command buttons, one above the other at the right.
ControlSpec button(const char* name, float top, const char* caption, const char* toolTip, int tabIndex)
{
    return {.name = QString::fromLatin1(name),
            .rect = {5160, top, 1092, 372},
            .caption = QString::fromLatin1(caption),
            .font = kButtonFont,
            .toolTip = QString::fromLatin1(toolTip),
            .tabIndex = tabIndex};
}

} // namespace

frmDocConvert::frmDocConvert(platform::Platform& platform)
    : Form(platform, QStringLiteral("frmDocConvert"),
           FormDesign{.caption = QStringLiteral("Glyvex Document Converter"),
                      .borderStyle = BorderStyle::FixedSingle,
                      .minButton = false,
                      .maxButton = false,
                      .clientWidth = 6492,
                      .clientHeight = 5064,
                      .font = kWindowFont})
    , CommonDialog1(*this)
{
    Label1 = add<Label>({.name = u"Label1"_qs,
                         .rect = {240, 120, 1080, 216},
                         .caption = u"Original File:"_qs,
                         .font = kHeadingFont,
                         .tabIndex = 1,
                         .autoSize = true});
    lblFileName = add<Label>({.name = u"lblFileName"_qs,
                              .rect = {240, 360, 48, 204},
                              .font = kCaptionFont,
                              .toolTip = u"File Path/Name"_qs,
                              .tabIndex = 2,
                              .autoSize = true});
    rtfOrig
        = add<RichTextBox>({.name = u"rtfOrig"_qs, .rect = {240, 600, 4692, 1692}, .font = kPaneFont, .tabIndex = 0});
    Label2 = add<Label>({.name = u"Label2"_qs,
                         .rect = {240, 2640, 1236, 216},
                         .caption = u"Converted To:"_qs,
                         .font = kHeadingFont,
                         .tabIndex = 4,
                         .autoSize = true});
    lblFontName = add<Label>({.name = u"lblFontName"_qs,
                              .rect = {240, 2880, 336, 204},
                              .caption = u"Arial"_qs,
                              .font = kCaptionFont,
                              .toolTip = u"Font converted to"_qs,
                              .tabIndex = 5,
                              .autoSize = true});
    rtfConverted = add<RichTextBox>(
        {.name = u"rtfConverted"_qs, .rect = {240, 3120, 4692, 1692}, .font = kPaneFont, .tabIndex = 3});
    cmdNewFont = add<Button>(button("cmdNewFont", 600, "New &Font...", "Convert to new font", 6));
    cmdExport = add<Button>(button("cmdExport", 1200, "&Export...", "Export converted file", 7));
    cmdClose = add<Button>(button("cmdClose", 1800, "C&lose", "Close", 8));
    mnuFile = addMenu("mnuFile", "&File");
    mnuConvert = mnuFile->addItem("mnuConvert", "&Convert to new font...");
    mnuExport = mnuFile->addItem("mnuExport", "&Export converted document...");
    mnuFile->addItem("sep1", "-");
    mnuClose = mnuFile->addItem("mnuClose", "C&lose", "Ctrl+X");
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
    trapErrors([&] { (this->*steps)(); },
               [this](const QString& why) {
                   platform().dialogs().messageBox(window(), why, MsgBoxStyle::Critical, Caption());
               });
}

void frmDocConvert::Form_Load() { trapped(&frmDocConvert::loadSteps); }

void frmDocConvert::loadSteps()
{
    CommonDialog1.DialogTitle = QStringLiteral("Select File To Convert");
    CommonDialog1.InitDir = QStringLiteral("C:\\My Documents");
    CommonDialog1.FileName = QString();
    CommonDialog1.Filter = QStringLiteral("All Files (*.*)|*.*");
    CommonDialog1.ShowOpen();
    if (CommonDialog1.FileName.isEmpty())
        return;
    rtfOrig->LoadFile(CommonDialog1.FileName);
    lblFileName->setCaption(Label::literal(CommonDialog1.FileName));

    CommonDialog1.DialogTitle = QStringLiteral("Select Font");
    CommonDialog1.ShowFont();
    applyChosenFont();

    rtfConverted->setText(rtfOrig->Text());
    centre(CentringRule::WholeTwip, FirstEdge::Top);
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
    CommonDialog1.Flags = DialogFlag::OverwritePrompt;
    CommonDialog1.Filter = QStringLiteral("Rich Text Format (*.rtf)|*.rtf");
    CommonDialog1.ShowSave();
    // Nothing chosen: nothing is written, and no failure is reported.
    if (CommonDialog1.FileName.isEmpty())
        return;
    // The file gets exactly the name the dialog returned; the dialog asked before replacing.
    rtfConverted->SaveFile(CommonDialog1.FileName);
}

void frmDocConvert::cmdExport_Click() { mnuExport_Click(); }

void frmDocConvert::mnuClose_Click() { Unload(); }

void frmDocConvert::cmdClose_Click() { Unload(); }

} // namespace glyvex
