// The toolkit layer: geometry in twips, labels, lists, menus, windows and the dialog seam.
#include "platform/commondialog.h"
#include "platform/errors.h"
#include "platform/form.h"
#include "platform/screen.h"
#include "platform/twips.h"
#include "support/guitest.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

const MenuSpec kMenus[] = {
    {"", "mnuFile", "&File"},
    {"mnuFile", "mnuOne", "&One", "Ctrl+O", true},
    {"mnuFile", "mnuTwo", "&Two"},
};

// A small window to exercise the layer.
class frmProbe final : public Form {
public:
    explicit frmProbe(int border = 2)
        : Form(QStringLiteral("frmProbe"),
               FormDesign{.caption = QStringLiteral("Probe"), .borderStyle = border, .clientWidth = 3000, .clientHeight = 2000,
                          .font = FontSpec{QStringLiteral("Arial"), 10.8f, 400}})
        , dialog(*this)
    {
        label = add<Label>({.kind = ControlKind::Label, .name = QStringLiteral("lblProbe"), .rect = {240, 240, 60, 252},
                            .autoSize = true});
        list = add<ComboBox>({.kind = ControlKind::ComboBox, .name = QStringLiteral("cboProbe"), .rect = {240, 600, 1500, 312},
                              .sorted = true});
        addMenus(kMenus);
        one = menuItem(QStringLiteral("mnuOne"));
    }
    void Form_Unload(int& Cancel) override
    {
        ++unloads;
        Cancel = cancelUnload;
    }
    Label* label = nullptr;
    ComboBox* list = nullptr;
    MenuItem* one = nullptr;
    CommonDialog dialog;
    int unloads = 0;
    int cancelUnload = 0;
};

} // namespace

class TestPlatform : public testing::GuiTest {
    Q_OBJECT
private slots:
    void geometryReadsBackWhatWasWritten_data()
    {
        QTest::addColumn<float>("value");
        QTest::newRow("whole") << 4494.f;
        QTest::newRow("half twip") << 4493.5f;
        QTest::newRow("negative") << -500.5f;
        QTest::newRow("not a pixel multiple") << 1001.25f;
    }
    void geometryReadsBackWhatWasWritten()
    {
        QFETCH(float, value);
        frmProbe form;
        form.Show();
        form.setLeft(value);
        form.setTop(value);
        form.setWidth(6000 + value);
        QCOMPARE(form.Left(), value);
        QCOMPARE(form.Top(), value);
        QCOMPARE(form.Width(), 6000 + value);
        QCOMPARE(form.window()->frameGeometry().x(), toPixelsX(value));
        form.label->setLeft(value);
        QCOMPARE(form.label->Left(), value);
        form.Unload();
    }

    void heightBelowTheSmallestReadsTheRealHeight()
    {
        frmProbe form;
        form.Show();
        form.setHeight(0);
        QVERIFY(form.Height() > 0);
        QCOMPARE(form.Height(), fromPixelsY(form.window()->frameGeometry().height()));
        form.setHeight(4000);
        QCOMPARE(form.Height(), 4000.f);
        form.Unload();
    }

    void autoSizeLabelResizesAtOnce()
    {
        frmProbe form;
        form.label->setCaption(QStringLiteral("W"));
        const float one = form.label->Width();
        form.label->setCaption(QStringLiteral("WWWW"));
        QVERIFY(form.label->Width() > 3 * one);
        form.label->setFontSize(21.6f);
        QVERIFY(form.label->Width() > 7 * one);
        QCOMPARE(form.label->Left(), 240.f);
        form.label->setCaption(QString());
        QCOMPARE(form.label->Width(), 0.f);
        form.label->setBorderStyle(1);
        QVERIFY(form.label->Width() > 0); // the empty box still shows its border
    }

    void labelTakesTheWindowFont()
    {
        frmProbe form;
        QCOMPARE(form.label->FontName(), QStringLiteral("Arial"));
        QCOMPARE(form.label->FontSize(), 10.8f);
    }

    void listIndexRaisesClickBeforeReturning()
    {
        frmProbe form;
        form.list->AddItem(QStringLiteral("b"));
        form.list->AddItem(QStringLiteral("a"));
        QString seen;
        QObject::connect(form.list, &Control::Click, [&] { seen = form.list->Text(); });
        form.list->setListIndex(1);
        QCOMPARE(seen, QStringLiteral("b"));
        QCOMPARE(form.list->Text(), QStringLiteral("b"));
    }

    void menuCheckMarksChangeOnlyWhenSet()
    {
        frmProbe form;
        QSignalSpy clicks(form.one, &MenuItem::Click);
        form.one->action()->trigger();
        QCOMPARE(clicks.count(), 1);
        QVERIFY(form.one->Checked());
        QVERIFY(form.one->action()->isChecked());
        form.one->setChecked(false);
        QVERIFY(!form.one->action()->isChecked());
        QCOMPARE(form.one->Shortcut(), QStringLiteral("Ctrl+O"));
    }

    void unloadRaisesTheUnloadEventAndCanBeCancelled()
    {
        frmProbe form;
        form.Show();
        const int loaded = Forms::instance().loadedCount();
        form.cancelUnload = -1;
        form.window()->close();
        QCOMPARE(form.unloads, 1);
        QVERIFY(form.IsLoaded());
        QVERIFY(form.Visible());
        form.cancelUnload = 0;
        form.Unload();
        QCOMPARE(form.unloads, 2);
        QVERIFY(!form.IsLoaded());
        QCOMPARE(Forms::instance().loadedCount(), loaded - 1);
    }

    void modalShowBlocksTheOwner()
    {
        frmProbe owner;
        owner.Show();
        frmProbe modal(3);
        modal.ShowModal(owner);
        QCOMPARE(modal.window()->windowModality(), Qt::ApplicationModal);
        QCOMPARE(modal.window()->parentWidget(), owner.window());
        QVERIFY(modal.window()->isWindow());
        QVERIFY(modal.Visible());
        modal.Unload();
        owner.Unload();
    }

    void busyPointer()
    {
        Screen::setMousePointer(13);
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
        Screen::setMousePointer(0);
        QVERIFY(!QApplication::overrideCursor());
    }

    void screenAndApplication()
    {
        QCOMPARE(Screen::Width(), fromPixelsX(QGuiApplication::primaryScreen()->geometry().width()));
        QCOMPARE(twipsPerPixelX(), 15.f); // 96 DPI
        QCOMPARE(App::Path(), QCoreApplication::applicationDirPath());
        QCOMPARE(LCase(QStringLiteral("ÄB")), QStringLiteral("äb"));
        QCOMPARE(UCase(QStringLiteral("straße")), QStringLiteral("STRASSE"));
    }

    void fileDialogRequests_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qtFilter");
        QTest::addColumn<bool>("existingOnly");
        QTest::addColumn<bool>("confirmOverwrite");
        QTest::newRow("open, existing files") << false << 0x201010 << "All Files (*.*)|*.*" << "All Files (*)" << true << false;
        QTest::newRow("save, ask to overwrite") << true << 0x200012 << "Rich Text Format (*.rtf)|*.rtf"
                                                << "Rich Text Format (*.rtf)" << false << true;
        QTest::newRow("save, no prompt") << true << 0x200010 << "Text|*.txt;*.text" << "Text (*.txt *.text)" << false << false;
    }
    void fileDialogRequests()
    {
        QFETCH(bool, save);
        QFETCH(int, flags);
        QFETCH(QString, filter);
        QFETCH(QString, qtFilter);
        QFETCH(bool, existingOnly);
        QFETCH(bool, confirmOverwrite);
        frmProbe form;
        form.dialog.DialogTitle = QStringLiteral("Pick");
        form.dialog.InitDir = QStringLiteral("C:\\My Documents");
        form.dialog.Flags = flags;
        form.dialog.Filter = filter;
        form.dialog.FileName = QString();
        dialogs().expectFile(QString(), [&](const testing::DialogCall& call) {
            QCOMPARE(call.file.kind, save ? FileRequest::Kind::Save : FileRequest::Kind::Open);
            QCOMPARE(call.file.title, QStringLiteral("Pick"));
            QCOMPARE(call.file.nameFilter, qtFilter);
            QCOMPARE(call.file.existingOnly, existingOnly);
            QCOMPARE(call.file.confirmOverwrite, confirmOverwrite);
            QVERIFY(QFileInfo(call.file.directory).isDir());
        });
        save ? form.dialog.ShowSave() : form.dialog.ShowOpen();
        QCOMPARE(form.dialog.FileName, QString()); // cancelled: the preset comes back
    }

    void startDirectory_data()
    {
        QTest::addColumn<QString>("initDir");
        QTest::addColumn<bool>("kept");
        QTest::newRow("Windows path") << "C:\\My Documents" << false;
        QTest::newRow("Windows path with separator") << "C:\\My Documents\\" << false;
        QTest::newRow("missing folder") << "/nonexistent/folder" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("existing folder") << QDir::tempPath() << true;
    }
    void startDirectory()
    {
        QFETCH(QString, initDir);
        QFETCH(bool, kept);
        const QString dir = CommonDialog::startDirectory(initDir);
        QVERIFY(QFileInfo(dir).isDir());
        if (kept)
            QCOMPARE(dir, initDir);
        else
            QVERIFY(dir == QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) || dir == QDir::homePath());
    }

    void fontDialogAnswers()
    {
        frmProbe form;
        form.dialog.FontName = QStringLiteral("Preset");
        dialogs().expectFont(std::nullopt).expectFont(FontChoice{QStringLiteral("Chosen"), 14.f});
        form.dialog.ShowFont();
        QCOMPARE(form.dialog.FontName, QStringLiteral("Preset"));
        form.dialog.ShowFont();
        QCOMPARE(form.dialog.FontName, QStringLiteral("Chosen"));
        QCOMPARE(form.dialog.FontSize, 14.f);
    }

    void scriptedDialogsCatchSurprises()
    {
        testing::ScriptedDialogs script;
        script.expectInput(QStringLiteral("typed"));
        script.messageBox(nullptr, QStringLiteral("surprise"), 16, QStringLiteral("Glyvex"));
        QCOMPARE(script.failures().size(), 1);
        QCOMPARE(script.inputBox(nullptr, QStringLiteral("p"), QStringLiteral("t")), QStringLiteral("typed"));
        QCOMPARE(script.pending(), 0);
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
