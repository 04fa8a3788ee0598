// The document converter window: its flows with every dialog answered or cancelled, its
// failures reported, and an existing file never harmed by a failed export.
#include "convert/frmdocconvert.h"
#include "platform/twips.h"
#include "support/files.h"
#include "support/program.h"
#include "support/rtfreader.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QFontDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

using namespace glyvex;
using namespace glyvex::platform;
using testing::DialogCall;
using testing::readFile;
using testing::toRtf;
using testing::writeFile;

namespace {

// A text that is itself RTF markup, with an ampersand, several line ends and non-Latin text.
const QString kDocument = u"{\\rtf1\\ansi {\\b Bold} & more}\r\nsecond line\tγειά 😀\rthird\n"_qs;

void isCentred(const frmDocConvert& window)
{
    QCOMPARE(window.Top(), centreWholeTwip(window.Screen().Height(), window.Height()));
    QCOMPARE(window.Left(), centreWholeTwip(window.Screen().Width(), window.Width()));
}

// Nothing loaded: empty panes, the initial font, the window where it was built.
void isEmptyWhereBuilt(const frmDocConvert& window)
{
    QCOMPARE(window.rtfOrig->Text(), QString());
    QCOMPARE(window.rtfConverted->Text(), QString());
    QCOMPARE(window.lblFileName->Caption(), QString());
    QCOMPARE(window.lblFontName->Caption(), QStringLiteral("Arial"));
    QCOMPARE(window.rtfConverted->FontName(), QStringLiteral("Arial"));
    QCOMPARE(window.Left(), 1320.f);
    QCOMPARE(window.Top(), 1488.f);
}

} // namespace

class TestDocConvert : public testing::GuiTest {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Form> m_owner;
    std::unique_ptr<frmDocConvert> m_window;

    QString path(const QString& name) const { return m_dir->filePath(name); }
    QStringList files() const { return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden); }

    // Opens the converter modally over an owner window, as the Preview window does.
    frmDocConvert& open()
    {
        m_window = std::make_unique<frmDocConvert>(platform());
        m_window->ShowModal(*m_owner);
        return *m_window;
    }

    // Loads kDocument from doc.txt, in a face and size (none: the font dialog is cancelled).
    frmDocConvert& openDocument(std::optional<FontChoice> font)
    {
        writeFile(path(QStringLiteral("doc.txt")), kDocument.toUtf8());
        dialogs().expectFile(path(QStringLiteral("doc.txt"))).expectFont(font);
        return open();
    }

    // A message box of the window's own, naming a file and a reason.
    static testing::ScriptedDialogs::Check failureNaming(const QString& file, const QString& reason)
    {
        return [file, reason](const DialogCall& call) {
            QCOMPARE(call.title, QStringLiteral("Glyvex Document Converter"));
            QCOMPARE(call.style, 16);
            QVERIFY(call.ownerModal);
            QVERIFY2(call.prompt.contains(QStringLiteral("\"%1\"").arg(file)), qPrintable(call.prompt));
            QVERIFY2(call.prompt.contains(reason), qPrintable(call.prompt));
        };
    }

private slots:
    void init()
    {
        GuiTest::init();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
        m_owner = std::make_unique<Form>(platform(), QStringLiteral("frmOwner"),
                                         FormDesign{.clientWidth = 3000, .clientHeight = 3000});
        m_owner->Show();
    }
    void cleanup()
    {
        m_window.reset();
        m_owner.reset();
        m_dir.reset();
        GuiTest::cleanup();
    }

    // The whole way: open, font, export, new font, export again, close.
    void convertsAFile()
    {
        const QString in = path(QStringLiteral("R&D notes.rtf")), out = path(QStringLiteral("out.rtf"));
        QVERIFY(writeFile(in, kDocument.toUtf8()));
        dialogs()
            .expectFile(in,
                        [](const DialogCall& call) {
                            QCOMPARE(call.file.kind, FileRequest::Kind::Open);
                            QCOMPARE(call.file.title, QStringLiteral("Select File To Convert"));
                            QCOMPARE(call.file.nameFilter, QStringLiteral("All Files (*)"));
                            QVERIFY(call.ownerModal);
                            QVERIFY(QFileInfo(call.file.directory).isDir()); // not the Windows folder it names
                        })
            .expectFont(FontChoice{QStringLiteral("DejaVu Serif"), 14.0f}, [](const DialogCall& call) {
                QCOMPARE(call.font.title, QStringLiteral("Select Font"));
                QCOMPARE(call.font.initialFace, QString());
            });
        frmDocConvert& window = open();
        QVERIFY(window.Visible());
        QCOMPARE(window.window()->windowModality(), Qt::ApplicationModal);
        QCOMPARE(window.window()->parentWidget(), m_owner->window());
        QCOMPARE(window.rtfOrig->Text(), kDocument);
        QCOMPARE(window.rtfConverted->Text(), kDocument);
        QCOMPARE(window.lblFileName->shownText(), in); // the "&" shown as it is
        QCOMPARE(window.lblFontName->Caption(), QStringLiteral("DejaVu Serif"));
        isCentred(window);

        dialogs().expectFile(out, [](const DialogCall& call) {
            QCOMPARE(call.file.kind, FileRequest::Kind::Save);
            QCOMPARE(call.file.title, QStringLiteral("Export Converted Document"));
            QCOMPARE(call.file.nameFilter, QStringLiteral("Rich Text Format (*.rtf)"));
            QVERIFY(call.file.confirmOverwrite && QFileInfo(call.file.directory).isDir());
        });
        QTest::mouseClick(window.cmdExport->widget(), Qt::LeftButton);
        QCOMPARE(readFile(out), toRtf(kDocument, QStringLiteral("DejaVu Serif"), 14));

        // A new font applies to the text already there; the window stays where it is.
        window.setLeft(600);
        dialogs().expectFont(FontChoice{QStringLiteral("Liberation Mono"), 7.8f}, [](const DialogCall& call) {
            QCOMPARE(call.font.initialFace, QStringLiteral("DejaVu Serif"));
        });
        window.mnuConvert->action()->trigger();
        QCOMPARE(window.lblFontName->Caption(), QStringLiteral("Liberation Mono"));
        QCOMPARE(window.rtfConverted->Text(), kDocument);
        QCOMPARE(window.rtfOrig->FontName(), QStringLiteral("Arial"));
        QCOMPARE(window.Left(), 600.0f);
        dialogs().expectFile(out);
        window.mnuExport->action()->trigger();
        QCOMPARE(readFile(out), toRtf(kDocument, QStringLiteral("Liberation Mono"), 7.8));
        window.mnuClose->action()->trigger();
        QVERIFY(!window.IsLoaded() && !window.Visible());
    }

    void closeEndsTheWindow_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("button") << 0;
        QTest::newRow("Ctrl+X") << 1;
        QTest::newRow("close box") << 2;
    }
    void closeEndsTheWindow()
    {
        QFETCH(int, way);
        dialogs().expectFile(QString());
        frmDocConvert& window = open();
        QVERIFY(window.Visible());
        if (way == 0) {
            QTest::mouseClick(window.cmdClose->widget(), Qt::LeftButton);
        } else if (way == 1) {
            QApplication::setActiveWindow(window.window());
            QVERIFY(QTest::qWaitForWindowActive(window.window()));
            window.rtfOrig->widget()->setFocus(); // the pane lets the shortcut through
            QTest::keyClick(window.rtfOrig->widget(), Qt::Key_X, Qt::ControlModifier);
        } else {
            window.window()->close();
        }
        QVERIFY(!window.IsLoaded() && !window.Visible());
    }

    // The font dialog cancelled, or left on a one-blank face, and the save dialog cancelled.
    void laterCancelsChangeNothing()
    {
        frmDocConvert& window = openDocument(FontChoice{QStringLiteral("DejaVu Serif"), 16.2f});
        const QStringList before = files();
        dialogs().expectFont(std::nullopt).expectFont(FontChoice{QStringLiteral(" "), 12.0f}).expectFile(QString());
        window.mnuConvert_Click();
        window.cmdNewFont_Click();
        window.mnuExport_Click();
        QCOMPARE(window.rtfConverted->FontName(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(window.rtfConverted->FontSize(), 16.2f);
        QCOMPARE(window.lblFontName->Caption(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(files(), before);
    }

    // A load failure is reported (each reason: tst_richtextbox); no font dialog follows, nothing
    // is copied, the window is not centred.
    void loadFailureIsReported()
    {
        const QString folder = path(QStringLiteral("folder"));
        dialogs().expectFile(folder).expectMessage(failureNaming(folder, QStringLiteral("folder")));
        frmDocConvert& window = open();
        QVERIFY(window.Visible());
        isEmptyWhereBuilt(window);
    }

    // A full disk (which holds as root) fails the export: reported, the file it would have
    // replaced untouched, no file left behind, the window open.
    void exportFailureIsReported()
    {
        const QByteArray original = "{\\rtf1 the user's own document\\par}";
        QVERIFY(writeFile(path(QStringLiteral("existing.rtf")), original));
        frmDocConvert& window = openDocument(FontChoice{QStringLiteral("DejaVu Serif"), 12.0f});
        // A few KB, sent in one small write (where a buffered file would hide the failure).
        window.rtfConverted->setText(kDocument.repeated(50));
        const QStringList before = files();
        const QString out = path(QStringLiteral("existing.rtf"));
        dialogs().expectFile(out).expectMessage(failureNaming(out, u"File too large"_qs));
        {
            const testing::FileSizeLimit limit(1024);
            QVERIFY(limit.ok());
            window.mnuExport_Click();
        }
        QCOMPARE(readFile(out), original);
        QCOMPARE(files(), before);
        QVERIFY(window.IsLoaded());
    }

    // The file gets exactly the name the dialog returns (which asked before replacing one).
    void exportWritesTheChosenName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("over an existing file") << "existing.rtf";
        QTest::newRow("no extension") << "converted";
    }
    void exportWritesTheChosenName()
    {
        QFETCH(QString, name);
        QVERIFY(writeFile(path(QStringLiteral("existing.rtf")), QByteArray(50000, 'x')));
        frmDocConvert& window = openDocument(FontChoice{QStringLiteral("DejaVu Sans"), 9.0f});
        dialogs().expectFile(path(name), [](const DialogCall& call) { QVERIFY(call.file.confirmOverwrite); });
        window.mnuExport_Click();
        QCOMPARE(readFile(path(name)), toRtf(kDocument, QStringLiteral("DejaVu Sans"), 9));
        QStringList expected{QStringLiteral("doc.txt"), QStringLiteral("existing.rtf"), name};
        expected.removeDuplicates();
        expected.sort();
        QCOMPARE(files(), expected);
    }

    // A size typed with a decimal in the real font dialog is the size the lower pane shows and
    // the export writes (\fs in half points, rounded).
    void typedFractionalSize_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<float>("points");
        QTest::addColumn<QByteArray>("fs");
        QTest::newRow("10.8") << "10.8" << 10.8f << QByteArray("\\fs22 ");
        QTest::newRow("16.2") << "16.2" << 16.2f << QByteArray("\\fs32 ");
        QTest::newRow("whole") << "9" << 9.f << QByteArray("\\fs18 ");
    }
    void typedFractionalSize()
    {
        QFETCH(QString, typed);
        QFETCH(float, points);
        QFETCH(QByteArray, fs);
        QTimer::singleShot(0, [typed] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* size = dialog->findChild<QLineEdit*>(QStringLiteral("fontSize"));
            QVERIFY(size);
            size->selectAll();
            QTest::keyClicks(size, typed);
            dialog->accept();
        });
        const std::optional<FontChoice> chosen = qtDialogs()->chooseFont(
            m_owner->window(), {QStringLiteral("Select Font"), QStringLiteral("DejaVu Serif"), 12});
        QVERIFY(chosen);
        QCOMPARE(chosen->size, points);

        frmDocConvert& window = openDocument(chosen);
        QCOMPARE(window.rtfConverted->FontSize(), points);
        dialogs().expectFile(path(QStringLiteral("out.rtf")));
        window.cmdExport_Click();
        const QByteArray rtf = readFile(path(QStringLiteral("out.rtf")));
        QCOMPARE(rtf, toRtf(kDocument, chosen->face, points));
        QVERIFY(rtf.contains(fs));
    }

    // Closing the converter returns what it held: after a large file the process is back to
    // about what it held before the opening, and nothing of the window is left.
    void closingReturnsItsMemory()
    {
        if (testing::kAddressSanitizer)
            QSKIP("The sanitizer holds freed memory back");
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        const QString big = path(QStringLiteral("big.txt"));
        {
            QFile file(big);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray block = QByteArray("Fifty mebibytes of text, line after line.\n").repeated(8192);
            while (file.size() < (qint64(50) << 20))
                QVERIFY(file.write(block) == block.size());
        }
        const auto openAndClose = [&](const QString& file) {
            dialogs().expectFile(file).expectFont(FontChoice{QStringLiteral("DejaVu Serif"), 12.f});
            program.preview.mnuDocConvert_Click();
            QPointer<frmDocConvert> converter = program.preview.documentConverter();
            QVERIFY(converter && converter->rtfConverted->Text().size() == QFileInfo(file).size());
            converter->cmdClose_Click();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(converter.isNull());
            QVERIFY(program.preview.documentConverter() == nullptr);
            for (QWidget* w : QApplication::allWidgets())
                QVERIFY(w->objectName() != u"frmDocConvert" && w->objectName() != u"rtfOrig");
        };
        QVERIFY(writeFile(path(QStringLiteral("small.txt")), "small"));
        openAndClose(path(QStringLiteral("small.txt"))); // what any first opening sets up for good
        const long long before = testing::residentBytes();
        openAndClose(big);
        const long long after = testing::residentBytes();
        qInfo("resident before opening %lld KiB, after closing %lld KiB", before >> 10, after >> 10);
        QVERIFY(before > 0);
        QVERIFY2(after - before < (qint64(8) << 20), qPrintable(QString::number(after - before)));
    }

    // Through the Preview window each opening starts again from the open dialog, and nothing of
    // the one before remains, not even the face its font dialog was left on. The font dialog at
    // load cancelled is no failure: the text is copied, the window centred, an export writes the
    // pane's design font. With the open dialog cancelled, the window is empty where built, and
    // its commands work.
    void everyOpeningStartsAfresh()
    {
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        QVERIFY(writeFile(path(QStringLiteral("doc.txt")), kDocument.toUtf8()));
        dialogs()
            .expectFile(path(QStringLiteral("doc.txt")))
            .expectFont(FontChoice{QStringLiteral("DejaVu Serif"), 14.0f});
        program.preview.mnuDocConvert_Click();
        QCOMPARE(program.preview.documentConverter()->rtfConverted->FontName(), QStringLiteral("DejaVu Serif"));
        program.preview.documentConverter()->cmdClose_Click();

        dialogs().expectFile(path(QStringLiteral("doc.txt"))).expectFont(std::nullopt, [](const DialogCall& call) {
            QCOMPARE(call.font.initialFace, QString());
        });
        program.preview.mnuDocConvert_Click();
        frmDocConvert& second = *program.preview.documentConverter();
        QCOMPARE(second.lblFontName->Caption(), QStringLiteral("Arial"));
        QCOMPARE(second.rtfConverted->Text(), kDocument);
        isCentred(second);
        dialogs().expectFile(path(QStringLiteral("plain.rtf")));
        second.mnuExport_Click();
        QCOMPARE(readFile(path(QStringLiteral("plain.rtf"))), toRtf(kDocument, QStringLiteral("Arial"), 10));
        second.cmdClose_Click();

        dialogs().expectFile(QString());
        program.preview.mnuDocConvert_Click();
        frmDocConvert& third = *program.preview.documentConverter();
        QVERIFY(third.Visible());
        isEmptyWhereBuilt(third);
        dialogs()
            .expectFont(FontChoice{QStringLiteral("DejaVu Sans"), 12.0f})
            .expectFile(path(QStringLiteral("empty.rtf")));
        QTest::mouseClick(third.cmdNewFont->widget(), Qt::LeftButton);
        third.cmdExport_Click();
        QCOMPARE(readFile(path(QStringLiteral("empty.rtf"))), toRtf(QString(), QStringLiteral("DejaVu Sans"), 12));
        third.cmdClose_Click();
    }
};

QTEST_MAIN(TestDocConvert)
#include "tst_docconvert.moc"
