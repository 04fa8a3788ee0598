// The rich text box: load and save failures that never harm an existing file, 100 MiB documents,
// and a pane that shows exactly the text it holds. (Decoding: tst_textdecode; the converter's
// loads and exports: tst_docconvert.)
#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/richtextbox.h"
#include "platform/textview.h"
#include "support/files.h"
#include "support/rtfreader.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace glyvex;
using namespace glyvex::platform;
using namespace glyvex::testing;

namespace {

// The height of a screen line in the box's face and size.
qreal lineHeight(const RichTextBox& box)
{
    return QFontMetricsF(toQFont({box.FontName(), box.FontSize(), 400})).lineSpacing();
}

// What a person selects in the pane by a press at the left end of the screen line at y1 and a
// press with Shift at the left end of the one at y2.
QString selectedBetween(const RichTextBox& box, int y1, int y2)
{
    QWidget* viewport = box.view()->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(0, y1));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, QPoint(0, y2));
    return box.view()->selectedText();
}

// Screen line i from the top of the pane, without its line end.
QString shownAt(const RichTextBox& box, int i)
{
    const auto middle = [&](int line) { return int(2 + (line + 0.5) * lineHeight(box)); };
    QString text = selectedBetween(box, middle(i), middle(i + 1));
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    return text;
}

const ControlSpec kBox{.kind = ControlKind::RichTextBox, .name = QStringLiteral("rtfTest"), .rect = {0, 0, 4692, 1692}};

// The message of the Error a call throws, or "<no error>".
template <class Call> QString errorOf(Call call)
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
    // A failure names the file and the reason, and leaves the text as it was.
    void loadFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing.txt"
                                 << "No such file";
        QTest::newRow("folder") << "."
                                << "folder";
        QTest::newRow("under a regular file") << "plain.txt/inner.txt"
                                              << "Not a directory";
        QTest::newRow("unreadable") << "/proc/self/mem"
                                    << "Input/output error";
        QTest::newRow("device") << "/dev/zero"
                                << "not a regular file";
        QTest::newRow("named pipe, nothing writing") << "pipe"
                                                     << "not a regular file";
        QTest::newRow("link to a named pipe") << "link-to-pipe"
                                              << "not a regular file";
        QTest::newRow("no name") << ""
                                 << "no file name";
        QTest::newRow("too large (sparse)") << "huge.txt"
                                            << "too large";
    }
    void loadFailures()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("plain.txt")), "plain"));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("pipe")), dir.filePath(QStringLiteral("link-to-pipe"))));
        const StopAfter limit(30); // a load that blocks ends the test
        QFile huge(dir.filePath(QStringLiteral("huge.txt")));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(RichTextBox::MaxFileBytes + 1));
        const QString full = path.isEmpty() || path.startsWith(u'/') ? path : dir.filePath(path);
        QWidget window; // deletes the box
        RichTextBox& box = *new RichTextBox(kBox, &window);
        box.setText(QStringLiteral("kept"));
        const QString message = errorOf([&] { box.LoadFile(full, RichTextBox::rtfText); });
        QVERIFY2(message.contains(QStringLiteral("\"%1\"").arg(full)), qPrintable(message));
        QVERIFY2(message.contains(reason, Qt::CaseInsensitive), qPrintable(message));
        QCOMPARE(box.Text(), QStringLiteral("kept"));
    }

    // 100 MiB of text loads, is shown in a second box and exports completely.
    void hundredMebibytesLoadAndExport()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("big.txt")), out = dir.filePath(QStringLiteral("big.rtf"));
        const QByteArray line = "The quick brown fox \xc3\xa9\xe2\x82\xac jumps over the lazy dog.\r\n";
        const qsizetype lines = ((qsizetype(100) << 20) / line.size() / 4096 + 1) * 4096;
        {
            QFile file(in);
            QVERIFY(file.open(QIODevice::WriteOnly));
            for (const QByteArray block = line.repeated(4096); file.size() < lines * line.size();)
                QVERIFY(file.write(block) == block.size());
        }
        QWidget window; // deletes the boxes
        RichTextBox& original = *new RichTextBox(kBox, &window);
        RichTextBox& converted = *new RichTextBox(kBox, &window);
        original.LoadFile(in, RichTextBox::rtfText);
        QCOMPARE(original.Text().size(), lines * (line.size() - 3));
        converted.setText(original.Text());
        converted.setFontName(QStringLiteral("DejaVu Serif"));
        converted.setFontSize(12);
        QCOMPARE(converted.view()->rowCount(), lines + 1);
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
        const double expected = double(sample.size() - frame) * lines / 1000 + frame;
        QVERIFY2(std::abs(rtf.size() - expected) < expected / 1000, qPrintable(QString::number(rtf.size())));
    }

    void saveFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("diskRoom"); // bytes a file can take; 0: no limit
        QTest::newRow("folder") << "folder"
                                << "folder" << 10 << 0;
        QTest::newRow("under a regular file") << "plain.txt/out.rtf"
                                              << "" << 10 << 0;
        QTest::newRow("missing folder") << "nowhere/out.rtf"
                                        << "" << 10 << 0;
        QTest::newRow("no name") << ""
                                 << "no file name" << 10 << 0;
        // Only a file is replaced, never a pipe or a device.
        QTest::newRow("named pipe") << "pipe"
                                    << "not a regular file" << 10 << 0;
        QTest::newRow("character device") << "device"
                                          << "not a regular file" << 10 << 0;
        // A large document fills the disk in one of the big blocks the writer sends; a small
        // one is a single small write, which a buffered file would send only in the flush of
        // commit(), whose failure commit() ignores.
        QTest::newRow("disk full, large document") << "plain.txt"
                                                   << "File too large" << 20000 << 64 * 1024;
        QTest::newRow("disk full, small document") << "plain.txt"
                                                   << "File too large" << 300 << 4 * 1024;
    }
    // A failure names the file and the reason; the user's file stays as it was, and no
    // half-written file is left behind.
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
        const QByteArray special = QFile::encodeName(dir.filePath(path));
        if (path == u"pipe")
            QCOMPARE(::mkfifo(special.constData(), 0600), 0);
        if (path == u"device" && ::mknod(special.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0) // as /dev/null
            QSKIP("Making a device needs root");
        const QString full = path.isEmpty() ? path : dir.filePath(path);
        const StopAfter limit(30);
        QWidget window; // deletes the box
        RichTextBox& box = *new RichTextBox(kBox, &window);
        box.setText(QString(u"A line of text é€\n"_qs).repeated(lines)); // 41 bytes of RTF a line
        QString message;
        {
            std::optional<FileSizeLimit> limit;
            if (diskRoom > 0)
                QVERIFY(limit.emplace(diskRoom).ok());
            message = errorOf([&] { box.SaveFile(full, RichTextBox::rtfRTF); });
        }
        QVERIFY2(message.contains(QStringLiteral("\"%1\"").arg(full)), qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
        QCOMPARE(readFile(plain), QByteArray("the user's file"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("plain.txt")});
        if (path == u"pipe" || path == u"device")
            QVERIFY(QFileInfo::exists(full) && !QFileInfo(full).isFile()); // still there, as it was
    }

    // A link to a file is written through: the link stays, the file gets the document.
    void saveThroughALink()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("file.rtf")), link = dir.filePath(QStringLiteral("link.rtf"));
        QVERIFY(writeFile(file, "old"));
        QVERIFY(QFile::link(file, link));
        QWidget window; // deletes the box
        RichTextBox& box = *new RichTextBox(kBox, &window);
        box.setText(QStringLiteral("new"));
        box.SaveFile(link, RichTextBox::rtfRTF);
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(readFile(file).contains("new\\par}"));
    }

    // The pane divides the text at every kind of line end, and long lines into pieces.
    void rows_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows");
        const QString piece(4095, u'x');
        QTest::newRow("empty") << QString() << QStringList{""};
        QTest::newRow("each line end once") << u"a\r\nb\rc\nd\u2028e\u2029f\u0085g\vh\fi"_qs
                                            << QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "i"};
        QTest::newRow("LF CR is two ends") << u"a\n\rb"_qs << QStringList{"a", "", "b"};
        QTest::newRow("end at the end") << u"a\r\n"_qs << QStringList{"a", ""};
        QTest::newRow("long line, pair kept whole") << piece + u"😀yz\n"_qs << QStringList{piece, u"😀yz"_qs, ""};
        QTest::newRow("piece ends at a line end") << piece + u"x\ny"_qs << QStringList{piece + u'x', "y"};
        QTest::newRow("binary, no line end")
            << QString(9000, QChar(0))
            << QStringList{QString(4096, QChar(0)), QString(4096, QChar(0)), QString(808, QChar(0))};
    }
    void rows()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, rows);
        QWidget window; // deletes the box
        RichTextBox& box = *new RichTextBox(kBox, &window);
        box.setText(text);
        QCOMPARE(box.view()->rowCount(), rows.size());
    }

    void scrollingShowsTheWholeText()
    {
        RichTextBox& box = *new RichTextBox(kBox, nullptr); // a window of its own
        const std::unique_ptr<QWidget> window(box.widget()); // deletes the box
        TextView* view = box.view();
        QStringList lines;
        for (int i = 0; i < 5000; ++i)
            lines << QStringLiteral("line %1").arg(i);
        box.setText(lines.join(QLatin1String("\r\n")));
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QCOMPARE(shownAt(box, 0), QStringLiteral("line 0"));
        QCOMPARE(shownAt(box, 1), QStringLiteral("line 1"));
        QTest::keyClick(view, Qt::Key_End);
        QVERIFY(
            selectedBetween(box, 2, box.view()->viewport()->height() + 100).endsWith(QStringLiteral("\r\nline 4999")));
        QCOMPARE(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());
        QTest::keyClick(view, Qt::Key_Home);
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(shownAt(box, 0), QStringLiteral("line 1"));
        QTest::keyClick(view, Qt::Key_PageDown);
        QVERIFY(shownAt(box, 0).mid(5).toInt() > 1);
        QTest::keyClick(view, Qt::Key_PageUp);
        QCOMPARE(shownAt(box, 0), QStringLiteral("line 1"));
        view->verticalScrollBar()->setValue(2500);
        QCOMPARE(shownAt(box, 0), QStringLiteral("line 2500"));
    }

    // A line wider than the pane wraps; its screen lines together are the line.
    void longLinesWrap()
    {
        RichTextBox& box = *new RichTextBox(kBox, nullptr); // a window of its own
        const std::unique_ptr<QWidget> window(box.widget()); // deletes the box
        TextView* view = box.view();
        const QString words = QStringLiteral("wrapping words in a narrow pane ").repeated(30).trimmed();
        box.setText(words + QStringLiteral("\nnext"));
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        view->resize(200, 2000);
        QStringList shown;
        while (shown.size() < 100 && (shown.isEmpty() || shown.last() != QStringLiteral("next")))
            shown << shownAt(box, int(shown.size()));
        QVERIFY(shown.size() > 3);
        QCOMPARE(shown.last(), QStringLiteral("next"));
        QCOMPARE(shown.mid(0, shown.size() - 1).join(QString()), words);
        // Scrolling by a screen line moves inside the wrapped line.
        view->resize(200, 60);
        const QString second = shownAt(box, 1);
        view->scrollLines(1);
        QCOMPARE(shownAt(box, 0), second);
    }

    void selectAllAndCopy()
    {
        RichTextBox& box = *new RichTextBox(kBox, nullptr); // a window of its own
        const std::unique_ptr<QWidget> window(box.widget()); // deletes the box
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
