// The rich text box: loading any file as text, saving as RTF without ever harming an existing
// file, the font, and a pane that shows exactly the text it holds.
#include "platform/errors.h"
#include "platform/richtextbox.h"
#include "platform/rtfwriter.h"
#include "platform/textdecode.h"
#include "support/files.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;
using testing::readFile;
using testing::writeFile;

namespace {

ControlSpec boxSpec()
{
    return {.kind = ControlKind::RichTextBox, .name = QStringLiteral("rtfTest"), .rect = {0, 0, 4692, 1692}};
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// The message of the Error a call throws, or "<no error>".
template <class Call>
QString errorOf(Call call)
{
    try {
        call();
    } catch (const Error& error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

class TestRichTextBox : public QObject {
    Q_OBJECT
private slots:
    void designState()
    {
        RichTextBox box(boxSpec(), nullptr);
        QCOMPARE(box.Text(), QString());
        QCOMPARE(box.FontName(), QStringLiteral("Arial"));
        QCOMPARE(box.FontSize(), 10.0f);
        QCOMPARE(box.BackColor(), systemColor(5));
        QCOMPARE(box.view()->rows(), QStringList{QString()});

        // What another window's table can ask for: its own face and the menu colour.
        ControlSpec spec = boxSpec();
        spec.font = FontSpec{QStringLiteral("Courier New"), 9.0f, 400};
        spec.backColor = systemColor(4);
        RichTextBox readme(spec, nullptr);
        QCOMPARE(readme.FontName(), QStringLiteral("Courier New"));
        QCOMPARE(readme.FontSize(), 9.0f);
        QCOMPARE(readme.BackColor(), QApplication::palette("QMenu").color(QPalette::Window));
        QVERIFY(errorOf([] { systemColor(3); }) != QStringLiteral("<no error>"));
    }

    void loadsAnyFileAsText_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("UTF-8, line ends kept") << QByteArray("one\r\ntwo\rthree\n") << u"one\r\ntwo\rthree\n"_qs;
        QTest::newRow("UTF-16 LE with mark") << bytes({0xFF, 0xFE, 'h', 0, 'i', 0}) << u"hi"_qs;
        QTest::newRow("Windows-1252") << QByteArray("caf\xe9 \x80") << u"café €"_qs;
        QTest::newRow("RTF markup stays markup") << QByteArray("{\\rtf1 {\\b bold}\\par}") << u"{\\rtf1 {\\b bold}\\par}"_qs;
        QTest::newRow("binary with NULs")
            << bytes({0x00, 0x01, 0xFF, 0x00, 0x7F, 0x0A}) << QString::fromUcs4(U"\x00\x01\xFF\x00\x7F\n", 6);
        QTest::newRow("empty") << QByteArray() << QString();
    }
    void loadsAnyFileAsText()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.txt"));
        QVERIFY(writeFile(path, content));
        RichTextBox box(boxSpec(), nullptr);
        box.setText(QStringLiteral("before"));
        box.LoadFile(path, RichTextBox::rtfText);
        QCOMPARE(box.Text(), expected);
        QCOMPARE(box.Text(), decodeText(content));
    }

    void loadFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing.txt" << "No such file";
        QTest::newRow("folder") << "." << "folder";
        QTest::newRow("under a regular file") << "plain.txt/inner.txt" << "Not a directory";
        QTest::newRow("unreadable") << "/proc/self/mem" << "Input/output error";
        QTest::newRow("device") << "/dev/zero" << "not a regular file";
        QTest::newRow("no name") << "" << "no file name";
    }
    void loadFailures()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("plain.txt")), "plain"));
        const QString full = path.isEmpty() || path.startsWith(u'/') ? path : dir.filePath(path);
        if (!path.isEmpty() && path.startsWith(u'/') && !QFile::exists(path))
            QSKIP("not on this system");
        RichTextBox box(boxSpec(), nullptr);
        box.setText(QStringLiteral("kept"));
        const QString message = errorOf([&] { box.LoadFile(full, RichTextBox::rtfText); });
        QVERIFY2(message.contains(QStringLiteral("\"%1\"").arg(full)), qPrintable(message));
        QVERIFY2(message.contains(reason, Qt::CaseInsensitive), qPrintable(message));
        QCOMPARE(box.Text(), QStringLiteral("kept"));
    }

    void tooLargeIsRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("huge.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(RichTextBox::MaxFileBytes + 1)); // sparse: no disk used
        file.close();
        RichTextBox box(boxSpec(), nullptr);
        box.setText(QStringLiteral("kept"));
        const QString message = errorOf([&] { box.LoadFile(path, RichTextBox::rtfText); });
        QVERIFY2(message.contains(path) && message.contains(QStringLiteral("too large")), qPrintable(message));
        QCOMPARE(box.Text(), QStringLiteral("kept"));
    }

    // 100 MiB of text loads, is shown in a second box and exports completely.
    void hundredMebibytesLoadAndExport()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("big.txt"));
        const QByteArray line = "The quick brown fox \xc3\xa9\xe2\x82\xac jumps over the lazy dog.\r\n";
        const qsizetype lines = (qsizetype(100) << 20) / line.size() + 1;
        {
            QFile file(in);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray block = line.repeated(4096);
            for (qsizetype written = 0; written < lines; written += 4096)
                QVERIFY(file.write(block) == block.size());
        }
        const qsizetype writtenLines = (lines + 4095) / 4096 * 4096;
        RichTextBox original(boxSpec(), nullptr), converted(boxSpec(), nullptr);
        original.LoadFile(in, RichTextBox::rtfText);
        QCOMPARE(original.Text().size(), writtenLines * (line.size() - 3));
        converted.setText(original.Text());
        converted.setFontName(QStringLiteral("DejaVu Serif"));
        converted.setFontSize(12);
        QCOMPARE(converted.view()->rowCount(), writtenLines + 1);
        const QString out = dir.filePath(QStringLiteral("big.rtf"));
        converted.SaveFile(out, RichTextBox::rtfRTF);
        QFile rtf(out);
        QVERIFY(rtf.open(QIODevice::ReadOnly));
        const QByteArray head = rtf.read(200);
        QVERIFY(head.contains("DejaVu Serif;}}") && head.contains("\\fs24 "));
        QVERIFY(rtf.seek(rtf.size() - 40));
        QVERIFY(rtf.readAll().endsWith("the lazy dog.\\par\\par}"));
        // As long as the same text written in memory, give or take the line breaks of the file.
        const QByteArray sample = toRtf(QString::fromUtf8(line.repeated(1000)), QStringLiteral("DejaVu Serif"), 12);
        const qsizetype frame = toRtf(QString(), QStringLiteral("DejaVu Serif"), 12).size();
        const double expected = double(sample.size() - frame) * writtenLines / 1000 + frame;
        QVERIFY2(std::abs(rtf.size() - expected) < expected / 1000, qPrintable(QString::number(rtf.size())));
    }

    void savesTheTextInTheBoxsFont_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<float>("size");
        QTest::newRow("design font") << QString() << 0.0f;
        QTest::newRow("7.8 pt") << "Liberation Mono" << 7.8f;
        QTest::newRow("10.8 pt, odd name") << u"Café {X}\\Y;Z"_qs << 10.8f;
        QTest::newRow("1638 pt") << "DejaVu Sans" << 1638.0f;
    }
    void savesTheTextInTheBoxsFont()
    {
        QFETCH(QString, face);
        QFETCH(float, size);
        QTemporaryDir dir;
        RichTextBox box(boxSpec(), nullptr);
        const QString text = u"line one\r\n\ttabbed {braces} é 😀\nlast"_qs;
        box.setText(text);
        if (!face.isEmpty()) {
            box.setFontName(face);
            box.setFontSize(size);
        }
        const QString path = dir.filePath(QStringLiteral("out.rtf"));
        box.SaveFile(path, RichTextBox::rtfRTF);
        QCOMPARE(readFile(path), toRtf(text, box.FontName(), box.FontSize()));
        QCOMPARE(box.Text(), text);
    }

    // A shorter document replaces a longer file completely.
    void saveReplacesAnExistingFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.rtf"));
        QVERIFY(writeFile(path, QByteArray(100000, 'x')));
        RichTextBox box(boxSpec(), nullptr);
        box.setText(QStringLiteral("short"));
        box.SaveFile(path, RichTextBox::rtfRTF);
        QCOMPARE(readFile(path), toRtf(QStringLiteral("short"), QStringLiteral("Arial"), 10));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.rtf")});
    }

    void saveFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("diskRoom"); // bytes a file can take; 0: no limit
        QTest::newRow("folder") << "folder" << "folder" << 10 << 0;
        QTest::newRow("under a regular file") << "plain.txt/out.rtf" << "" << 10 << 0;
        QTest::newRow("missing folder") << "nowhere/out.rtf" << "" << 10 << 0;
        QTest::newRow("no name") << "" << "no file name" << 10 << 0;
        // A large document fills the disk in one of the big blocks the writer sends; a small
        // one is a single small write, which a buffered file would send only in the flush of
        // commit(), whose failure commit() ignores.
        QTest::newRow("disk full, large document") << "plain.txt" << "File too large" << 20000 << 64 * 1024;
        QTest::newRow("disk full, small document") << "plain.txt" << "File too large" << 300 << 4 * 1024;
    }
    void saveFailures()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QFETCH(int, lines);
        QFETCH(int, diskRoom);
        QTemporaryDir dir;
        const QString plain = dir.filePath(QStringLiteral("plain.txt"));
        QVERIFY(writeFile(plain, "the user's file"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QString full = path.isEmpty() ? path : dir.filePath(path);
        RichTextBox box(boxSpec(), nullptr);
        box.setText(QString(u"A line of text é€\n"_qs).repeated(lines)); // 41 bytes of RTF a line
        QString message;
        {
            std::optional<testing::FileSizeLimit> limit;
            if (diskRoom > 0) {
                limit.emplace(diskRoom);
                QVERIFY(limit->ok());
            }
            message = errorOf([&] { box.SaveFile(full, RichTextBox::rtfRTF); });
        }
        QVERIFY2(message.contains(QStringLiteral("\"%1\"").arg(full)), qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
        QCOMPARE(readFile(plain), QByteArray("the user's file"));
        // No half-written file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("plain.txt")});
    }

    // The pane divides the text at every kind of line end, and long lines into pieces that
    // never split a character; the pieces give back the text exactly.
    void rows_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("empty") << QString() << QStringList{""};
        QTest::newRow("each line end once")
            << u"a\r\nb\rc\nd\u2028e\u2029f\u0085g\vh\fi"_qs << QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "i"};
        QTest::newRow("LF CR is two ends") << u"a\n\rb"_qs << QStringList{"a", "", "b"};
        QTest::newRow("end at the end") << u"a\r\n"_qs << QStringList{"a", ""};
        const QString piece = QString(4095, u'x');
        QTest::newRow("long line, pair kept whole")
            << piece + u"😀"_qs + u"yz\n"_qs << QStringList{piece, u"😀yz"_qs, ""};
        QTest::newRow("piece ends at a line end") << QString(4096, u'x') + u"\ny"_qs
                                                  << QStringList{QString(4096, u'x'), "y"};
        QTest::newRow("binary, no line end") << QString(9000, QChar(0)) << QStringList{QString(4096, QChar(0)),
                                                                                         QString(4096, QChar(0)),
                                                                                         QString(808, QChar(0))};
    }
    void rows()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, rows);
        RichTextBox box(boxSpec(), nullptr);
        box.setText(text);
        QCOMPARE(box.view()->rows(), rows);
        QCOMPARE(box.view()->rowCount(), rows.size());
    }

    void scrollingShowsTheWholeText()
    {
        RichTextBox box(boxSpec(), nullptr);
        TextView* view = box.view();
        QStringList lines;
        for (int i = 0; i < 5000; ++i)
            lines << QStringLiteral("line %1").arg(i);
        box.setText(lines.join(QLatin1String("\r\n")));
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QStringList shown = view->visibleLines();
        QVERIFY(shown.size() >= 3);
        QCOMPARE(shown.first(), QStringLiteral("line 0"));

        QTest::keyClick(view, Qt::Key_End);
        shown = view->visibleLines();
        QCOMPARE(shown.last(), QStringLiteral("line 4999"));
        QCOMPARE(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());

        QTest::keyClick(view, Qt::Key_Home);
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(view->visibleLines().first(), QStringLiteral("line 1"));
        QTest::keyClick(view, Qt::Key_PageDown);
        const int page = view->visibleLines().first().mid(5).toInt();
        QVERIFY(page > 1);
        QTest::keyClick(view, Qt::Key_PageUp);
        QCOMPARE(view->visibleLines().first(), QStringLiteral("line 1"));

        view->verticalScrollBar()->setValue(2500);
        QCOMPARE(view->visibleLines().first(), QStringLiteral("line 2500"));
    }

    // A line wider than the pane wraps; its screen lines together are the line.
    void longLinesWrap()
    {
        RichTextBox box(boxSpec(), nullptr);
        TextView* view = box.view();
        const QString words = QStringLiteral("wrapping words in a narrow pane ").repeated(30).trimmed();
        box.setText(words + QStringLiteral("\nnext"));
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        view->resize(200, 2000);
        const QStringList shown = view->visibleLines();
        QVERIFY(shown.size() > 3);
        QCOMPARE(shown.last(), QStringLiteral("next"));
        QCOMPARE(shown.mid(0, shown.size() - 1).join(QString()), words);
        // Scrolling by a screen line moves inside the wrapped line.
        view->resize(200, 60);
        const QStringList before = view->visibleLines();
        view->scrollLines(1);
        QCOMPARE(view->visibleLines().first(), before.at(1));
    }

    void selectAllAndCopy()
    {
        RichTextBox box(boxSpec(), nullptr);
        const QString text = u"first\r\nsecond é 😀\rthird"_qs;
        box.setText(text);
        TextView* view = box.view();
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
        QTest::keySequence(view, QKeySequence::SelectAll);
        QTest::keySequence(view, QKeySequence::Copy);
        QCOMPARE(view->selectedText(), text);
        QCOMPARE(QGuiApplication::clipboard()->text(), text);

        // A drag selects from where it starts to where it ends.
        view->resize(400, 200);
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(2, 4));
        QMouseEvent move(QEvent::MouseMove, QPointF(399, 190), view->viewport()->mapToGlobal(QPointF(399, 190)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(399, 190));
        QCOMPARE(view->selectedText(), text);
    }
};

QTEST_MAIN(TestRichTextBox)
#include "tst_richtextbox.moc"
