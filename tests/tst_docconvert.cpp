// The document converter window: its flows with every dialog answered or cancelled, its
// failures reported, and an existing file never harmed by a failed export.
#include "convert/frmdocconvert.h"
#include "platform/rtfwriter.h"
#include "platform/screen.h"
#include "platform/twips.h"
#include "support/files.h"
#include "support/program.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using namespace glyvex;
using namespace glyvex::platform;
using testing::readFile;
using testing::writeFile;
using testing::DialogCall;

namespace {

const QString kCaption = QStringLiteral("Glyvex Document Converter");
// A text that is itself RTF markup, with an ampersand, several line ends and non-Latin text.
const QString kDocument = u"{\\rtf1\\ansi {\\b Bold} & more}\r\nsecond line\tγειά 😀\rthird\n"_qs;

void isCentred(const frmDocConvert& window)
{
    QCOMPARE(window.Top(), centreWholeTwip(Screen::Height(), window.Height()));
    QCOMPARE(window.Left(), centreWholeTwip(Screen::Width(), window.Width()));
    QCOMPARE(window.Top(), std::trunc(window.Top()));
}

void isWhereDesigned(const frmDocConvert& window)
{
    QCOMPARE(window.Left(), 1320.0f);
    QCOMPARE(window.Top(), 1488.0f);
}

void isEmpty(frmDocConvert& window)
{
    QCOMPARE(window.rtfOrig->Text(), QString());
    QCOMPARE(window.rtfConverted->Text(), QString());
    QCOMPARE(window.lblFileName->Caption(), QString());
    QCOMPARE(window.lblFontName->Caption(), QStringLiteral("Arial"));
    QCOMPARE(window.rtfConverted->FontName(), QStringLiteral("Arial"));
    QCOMPARE(window.rtfConverted->FontSize(), 10.0f);
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
        m_window = std::make_unique<frmDocConvert>();
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
    testing::ScriptedDialogs::Check failureNaming(const QString& file, const QString& reason)
    {
        return [file, reason](const DialogCall& call) {
            QCOMPARE(call.title, kCaption);
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
        m_owner = std::make_unique<Form>(QStringLiteral("frmOwner"),
                                         FormDesign{.caption = QStringLiteral("Owner"), .clientWidth = 3000,
                                                    .clientHeight = 3000});
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
        const QString in = path(QStringLiteral("R&D notes.rtf"));
        QVERIFY(writeFile(in, kDocument.toUtf8()));
        dialogs()
            .expectFile(in,
                        [](const DialogCall& call) {
                            QCOMPARE(call.file.kind, FileRequest::Kind::Open);
                            QCOMPARE(call.file.title, QStringLiteral("Select File To Convert"));
                            QCOMPARE(call.file.nameFilter, QStringLiteral("All Files (*)"));
                            QVERIFY(call.file.existingOnly);
                            QVERIFY(call.ownerModal);
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
        QCOMPARE(window.rtfConverted->FontName(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(window.rtfConverted->FontSize(), 14.0f);
        QCOMPARE(window.rtfOrig->FontName(), QStringLiteral("Arial"));
        QCOMPARE(window.CommonDialog1.Flags, 0x10005);
        isCentred(window);

        const QString out = path(QStringLiteral("out.rtf"));
        dialogs().expectFile(out, [](const DialogCall& call) {
            QCOMPARE(call.file.kind, FileRequest::Kind::Save);
            QCOMPARE(call.file.title, QStringLiteral("Export Converted Document"));
            QCOMPARE(call.file.nameFilter, QStringLiteral("Rich Text Format (*.rtf)"));
            QVERIFY(call.file.confirmOverwrite);
        });
        QTest::mouseClick(window.cmdExport->widget(), Qt::LeftButton);
        QCOMPARE(window.CommonDialog1.Flags, 0x200012);
        QCOMPARE(readFile(out), toRtf(kDocument, QStringLiteral("DejaVu Serif"), 14));

        // A new font applies to the text already there; the window stays where it is.
        window.setLeft(600);
        dialogs().expectFont(FontChoice{QStringLiteral("Liberation Mono"), 7.8f}, [](const DialogCall& call) {
            QCOMPARE(call.font.initialFace, QStringLiteral("DejaVu Serif"));
        });
        window.mnuConvert->action()->trigger();
        QCOMPARE(window.rtfConverted->FontName(), QStringLiteral("Liberation Mono"));
        QCOMPARE(window.rtfConverted->FontSize(), 7.8f);
        QCOMPARE(window.lblFontName->Caption(), QStringLiteral("Liberation Mono"));
        QCOMPARE(window.rtfConverted->Text(), kDocument);
        QCOMPARE(window.rtfOrig->FontName(), QStringLiteral("Arial"));
        QCOMPARE(window.Left(), 600.0f);

        dialogs().expectFile(out);
        window.mnuExport->action()->trigger();
        QCOMPARE(readFile(out), toRtf(kDocument, QStringLiteral("Liberation Mono"), 7.8));
        QVERIFY(readFile(out).contains("\\fs16 "));

        window.mnuClose->action()->trigger();
        QVERIFY(!window.IsLoaded());
        QVERIFY(!window.Visible());
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
        if (way == 0)
            QTest::mouseClick(window.cmdClose->widget(), Qt::LeftButton);
        else if (way == 1) {
            QApplication::setActiveWindow(window.window());
            QVERIFY(QTest::qWaitForWindowActive(window.window()));
            window.rtfOrig->widget()->setFocus(); // the pane lets the shortcut through
            QTest::keyClick(window.rtfOrig->widget(), Qt::Key_X, Qt::ControlModifier);
        }
        else
            window.window()->close();
        QVERIFY(!window.IsLoaded());
        QVERIFY(!window.Visible());
    }

    // Nothing chosen in the open dialog: an empty window where designed, whose commands work.
    void openCancelled()
    {
        dialogs().expectFile(QString());
        frmDocConvert& window = open();
        QVERIFY(window.Visible());
        isEmpty(window);
        isWhereDesigned(window);

        dialogs().expectFont(FontChoice{QStringLiteral("DejaVu Sans"), 12.0f});
        QTest::mouseClick(window.cmdNewFont->widget(), Qt::LeftButton);
        QCOMPARE(window.rtfConverted->FontName(), QStringLiteral("DejaVu Sans"));
        const QString out = path(QStringLiteral("empty.rtf"));
        dialogs().expectFile(out);
        window.cmdExport_Click();
        QCOMPARE(readFile(out), toRtf(QString(), QStringLiteral("DejaVu Sans"), 12));
    }

    // The font dialog at load cancelled is no failure: the text is copied, the window centred.
    void fontCancelledAtLoad()
    {
        frmDocConvert& window = openDocument(std::nullopt);
        QCOMPARE(window.rtfConverted->Text(), kDocument);
        QCOMPARE(window.lblFontName->Caption(), QStringLiteral("Arial"));
        QCOMPARE(window.rtfConverted->FontName(), QStringLiteral("Arial"));
        isCentred(window);
    }

    void newFontCancelledChangesNothing()
    {
        frmDocConvert& window = openDocument(FontChoice{QStringLiteral("DejaVu Serif"), 16.2f});
        dialogs().expectFont(std::nullopt);
        window.mnuConvert_Click();
        QCOMPARE(window.rtfConverted->FontName(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(window.rtfConverted->FontSize(), 16.2f);
        QCOMPARE(window.lblFontName->Caption(), QStringLiteral("DejaVu Serif"));
    }

    void exportCancelledWritesNothing()
    {
        frmDocConvert& window = openDocument(FontChoice{QStringLiteral("DejaVu Serif"), 12.0f});
        const QStringList before = files();
        dialogs().expectFile(QString());
        window.mnuExport_Click();
        QCOMPARE(files(), before);
    }

    // Exporting before any font was chosen writes the pane's design font.
    void exportBeforeAnyFontWasChosen()
    {
        frmDocConvert& window = openDocument(std::nullopt);
        const QString out = path(QStringLiteral("plain.rtf"));
        dialogs().expectFile(out);
        window.mnuExport_Click();
        QCOMPARE(readFile(out), toRtf(kDocument, QStringLiteral("Arial"), 10));
        QVERIFY(readFile(out).contains("\\fs20 "));
    }

    void loadFailureIsReported_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder") << "folder" << "folder";
        QTest::newRow("gone since chosen") << "gone.txt" << "No such file";
        QTest::newRow("unreadable") << "/proc/self/mem" << "";
    }
    void loadFailureIsReported()
    {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
        const QString chosen = file.startsWith(u'/') ? file : path(file);
        // No font dialog follows, nothing is copied, the window is not centred.
        dialogs().expectFile(chosen).expectMessage(failureNaming(chosen, reason));
        frmDocConvert& window = open();
        QVERIFY(window.Visible());
        isEmpty(window);
        isWhereDesigned(window);
    }

    void exportFailureIsReported_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("a folder") << "folder" << false;
        QTest::newRow("under a regular file") << "doc.txt/out.rtf" << false;
        QTest::newRow("disk full over an existing file") << "existing.rtf" << true;
    }
    void exportFailureIsReported()
    {
        QFETCH(QString, file);
        QFETCH(bool, diskFull);
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
        const QByteArray original = "{\\rtf1 the user's own document\\par}";
        QVERIFY(writeFile(path(QStringLiteral("existing.rtf")), original));
        frmDocConvert& window = openDocument(FontChoice{QStringLiteral("DejaVu Serif"), 12.0f});
        // A few KB, sent in one small write (where a buffered file would hide the failure).
        window.rtfConverted->setText(kDocument.repeated(50));
        const QStringList before = files();
        const QString out = path(file);
        dialogs().expectFile(out).expectMessage(failureNaming(out, diskFull ? QStringLiteral("File too large") : QString()));
        {
            std::optional<testing::FileSizeLimit> limit;
            if (diskFull) {
                limit.emplace(1024);
                QVERIFY(limit->ok());
            }
            window.mnuExport_Click();
        }
        QCOMPARE(readFile(path(QStringLiteral("existing.rtf"))), original);
        QCOMPARE(files(), before);
        QVERIFY(window.IsLoaded());
    }

    // The save dialog asks before replacing (flag 0x2); the file is then replaced whole.
    void overwriteAnExistingFile()
    {
        const QString out = path(QStringLiteral("existing.rtf"));
        QVERIFY(writeFile(out, QByteArray(50000, 'x')));
        frmDocConvert& window = openDocument(FontChoice{QStringLiteral("DejaVu Sans"), 9.0f});
        dialogs().expectFile(out, [](const DialogCall& call) { QVERIFY(call.file.confirmOverwrite); });
        window.mnuExport_Click();
        QCOMPARE(readFile(out), toRtf(kDocument, QStringLiteral("DejaVu Sans"), 9));
    }

    void nameWithoutExtension()
    {
        frmDocConvert& window = openDocument(FontChoice{QStringLiteral("DejaVu Sans"), 9.0f});
        dialogs().expectFile(path(QStringLiteral("converted")));
        window.mnuExport_Click();
        QVERIFY(files().contains(QStringLiteral("converted")));
        QVERIFY(!files().contains(QStringLiteral("converted.rtf")));
        QCOMPARE(readFile(path(QStringLiteral("converted"))), toRtf(kDocument, QStringLiteral("DejaVu Sans"), 9));
    }

    // Through the Preview window: each opening starts again from the open dialog, and
    // nothing of the previous one remains, not even the face its font dialog was left on.
    void secondOpeningStartsAfresh()
    {
        testing::Program program({QStringLiteral("Arial")});
        const QString in = path(QStringLiteral("doc.txt"));
        QVERIFY(writeFile(in, kDocument.toUtf8()));
        dialogs().expectFile(in).expectFont(FontChoice{QStringLiteral("DejaVu Serif"), 14.0f});
        program.preview.mnuDocConvert_Click();
        frmDocConvert* first = program.preview.documentConverter();
        QCOMPARE(first->rtfConverted->FontName(), QStringLiteral("DejaVu Serif"));
        first->cmdClose_Click();

        dialogs().expectFile(in).expectFont(std::nullopt, [](const DialogCall& call) {
            QCOMPARE(call.font.initialFace, QString());
        });
        program.preview.mnuDocConvert_Click();
        frmDocConvert& second = *program.preview.documentConverter();
        QVERIFY(second.Visible());
        QCOMPARE(second.rtfConverted->FontName(), QStringLiteral("Arial"));
        QCOMPARE(second.lblFontName->Caption(), QStringLiteral("Arial"));
        QCOMPARE(second.rtfConverted->Text(), kDocument);
        second.cmdClose_Click();

        dialogs().expectFile(QString());
        program.preview.mnuDocConvert_Click();
        isEmpty(*program.preview.documentConverter());
        program.preview.documentConverter()->cmdClose_Click();
    }
};

QTEST_MAIN(TestDocConvert)
#include "tst_docconvert.moc"
