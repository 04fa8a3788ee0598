// The rich text box: failed loads and saves harm no file, 100 MiB loads and saves whole, the pane
// shows, scrolls, selects and copies exactly its text. (Decoding: tst_formats.)
#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/richtextbox.h"
#include "platform/textrows.h"
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

using namespace glyvex;
using namespace glyvex::platform;
using namespace glyvex::testing;

namespace {

const ControlSpec kBox{.name = QStringLiteral("rtfTest"), .rect = {0, 0, 4692, 1692}};

// What a person selects by a press at (0, y1) and a press with Shift at (0, y2) in the pane.
QString selectedBetween(const RichTextBox& box, int y1, int y2)
{
    QTest::mouseClick(box.view()->viewport(), Qt::LeftButton, {}, QPoint(0, y1));
    QTest::mouseClick(box.view()->viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(0, y2));
    return box.view()->selectedText();
}

// Screen line i from the top of the pane, without its line end.
QString shownAt(const RichTextBox& box, int i)
{
    const qreal height = QFontMetricsF(box.view()->font()).lineSpacing();
    QString text = selectedBetween(box, int(2 + (i + 0.5) * height), int(2 + (i + 1.5) * height));
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    return text;
}

} // namespace

class TestRichTextBox : public QObject {
    Q_OBJECT
    FontSource m_fonts;
private slots:
    // A failure names the file and the reason; the box keeps its text, the user's file stays as
    // it was, and no half-written file is left behind. Only a file is read or replaced, never a
    // pipe or a device; a large document fills the disk in one of the writer's big blocks.
    void failures_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        for (auto [row, save, path, reason] :
             {std::tuple{"load unreadable", false, "/proc/self/mem", "Input/output error"},
              {"load device", false, "/dev/zero", "not a regular file"},
              {"load pipe, nothing writing", false, "pipe", "not a regular file"},
              {"load too large (sparse)", false, "huge.txt", "too large"},
              {"save folder", true, "folder", "folder"},
              {"save missing folder", true, "nowhere/out.rtf", "folder \"%1/nowhere\" does not exist"},
              {"save over a file the system makes", true, "/proc/version", "not a regular file"},
              {"save where the system takes no file", true, "/proc/glyvex.rtf", "folder \"/proc\" takes no new files"},
              {"save in a folder of another user", true, "locked/out.rtf", "permission denied"},
              {"save over a protected file", true, "protected.rtf", "permission denied"},
              {"save pipe", true, "pipe", "not a regular file"},
              {"save disk full", true, "plain.txt", "File too large"}})
            QTest::newRow(row) << save << QString(path) << QString(reason);
    }
    void failures()
    {
        QFETCH(bool, save);
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString plain = dir.filePath(QStringLiteral("plain.txt"));
        QVERIFY(writeFile(plain, "the user's file") && QDir(dir.path()).mkdir(QStringLiteral("folder")));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
        QFile huge(dir.filePath(QStringLiteral("huge.txt")));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(RichTextBox::MaxFileBytes + 1));
        QVERIFY(QDir(dir.path()).mkdir(u"locked"_qs) && writeFile(dir.filePath(u"protected.rtf"_qs), "{\\rtf1 kept}"));
        QVERIFY(
            QFile::setPermissions(dir.filePath(u"locked"_qs),
                                  QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther)
            && QFile::setPermissions(dir.filePath(u"protected.rtf"_qs), QFile::ReadOwner | QFile::ReadOther)
            && QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ReadOther | QFile::ExeOther));
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System);
        const StopAfter limit(30); // a load or save that blocks ends the test
        QWidget window; // deletes the box
        RichTextBox& box = *new RichTextBox(kBox, {m_fonts, {}}, &window);
        box.setText(QString(u"A line of text é€\n"_qs).repeated(20000)); // 41 bytes of RTF a line
        const QString name = path.isEmpty() || path.startsWith(u'/') ? path : dir.filePath(path);
        QString message;
        try {
            std::optional<FileSizeLimit> disk;
            if (path == u"plain.txt")
                QVERIFY(disk.emplace(64 * 1024).ok());
            const AnotherUser nobody(path.startsWith(u"locked") || path.startsWith(u"protected")); // as root too
            save ? box.SaveFile(name) : box.LoadFile(name);
        } catch (const Error& error) {
            message = error.message();
        }
        QVERIFY2(message.contains(u'"' + name + u'"')
                     && message.contains(QString(reason).replace(u"%1"_qs, dir.path()), Qt::CaseInsensitive),
                 qPrintable(message));
        QVERIFY(box.Text().startsWith(u"A line of text é€\n"_qs) && box.Text().size() == 20000 * 18);
        QCOMPARE(readFile(plain) + readFile(dir.filePath(u"protected.rtf"_qs)),
                 QByteArray("the user's file{\\rtf1 kept}"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System), before);
    }

    // 100 MiB of text loads whole and exports whole, through a link that stays a link.
    void hundredMebibytesThroughALink()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath(u"big.txt"_qs), out = dir.filePath(u"big.rtf"_qs), link = out + u".lnk"_qs;
        const QByteArray line = "The quick brown fox \xc3\xa9\xe2\x82\xac jumps over the lazy dog.\r\n";
        const qsizetype lines = ((qsizetype(100) << 20) / line.size() / 4096 + 1) * 4096;
        QVERIFY(writeFile(in, line.repeated(lines)) && writeFile(out, "old") && QFile::link(out, link));
        QWidget window; // deletes the box
        RichTextBox& box = *new RichTextBox(kBox, {m_fonts, {}}, &window);
        box.LoadFile(in);
        QCOMPARE(box.Text().size(), lines * (line.size() - 3));
        box.SaveFile(link);
        QVERIFY(QFileInfo(link).isSymLink() && readFile(out) == toRtf(box.Text(), u"Arial"_qs, 10)); // its own face
    }

    // The pane divides the text at every kind of line end, and long lines into pieces.
    void rows_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rows");
        QTest::newRow("empty") << QString() << 1;
        QTest::newRow("each line end; LF CR is two; one at the end")
            << u"a\r\nb\rc\nd\u2028e\u2029f\u0085g\vh\fi\n\rj\r\n"_qs << 12;
        QTest::newRow("long line, pair kept whole") << QString(4095, u'x') + u"😀yz\n"_qs << 3;
        QTest::newRow("piece ends at a line end") << QString(4096, u'x') + u"\ny"_qs << 2;
    }
    void rows()
    {
        QFETCH(QString, text);
        QFETCH(int, rows);
        textrows::RowIndex index;
        index.build(text);
        QCOMPARE(index.count(), rows);
    }

    // Keys and the scroll bar move through 5000 lines, a screen line at a time inside a wrapped
    // one, whose screen lines together are the line. Select All and Copy take the text as it is.
    void scrollSelectCopy()
    {
        RichTextBox& box = *new RichTextBox(kBox, {m_fonts, {}}, nullptr); // a window of its own
        const std::unique_ptr<QWidget> window(box.widget()); // deletes the box
        TextView* view = box.view();
        QStringList lines;
        for (int i = 0; i < 5000; ++i)
            lines << QStringLiteral("line %1").arg(i);
        box.setText(lines.join(u"\r\n"_qs));
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QTest::keyClick(view, Qt::Key_End);
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(0, 2)); // a drag to below the text
        QMouseEvent move(QEvent::MouseMove, QPointF(0, 2000), view->viewport()->mapToGlobal(QPointF(0, 2000)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(view->viewport(), &move);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(0, 2000));
        QVERIFY(view->selectedText().endsWith(u"\r\nline 4999"_qs));
        for (Qt::Key key : {Qt::Key_Home, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_PageUp})
            QTest::keyClick(view, key);
        QCOMPARE(shownAt(box, 0) + shownAt(box, 1), u"line 1line 2"_qs);
        view->verticalScrollBar()->setValue(2500);
        QCOMPARE(shownAt(box, 0), u"line 2500"_qs);

        const QString words = QStringLiteral("wrapping words in a narrow pane ").repeated(30).trimmed();
        const QString text = u"first\r\nsecond é 😀\r"_qs + words;
        box.setText(text);
        view->resize(200, 2000);
        QStringList shown{shownAt(box, 0), shownAt(box, 1)};
        while (shown.size() < 100 && shown.join(QString()).size() < text.size() - 9)
            shown << shownAt(box, int(shown.size()));
        QCOMPARE(shown.mid(2).join(QString()), words);
        QVERIFY(shown.size() > 5);
        view->resize(200, 60);
        const QString second = shownAt(box, 3);
        QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(shownAt(box, 1), second);

        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
        QTest::keySequence(view, QKeySequence::SelectAll);
        QTest::keySequence(view, QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
    }
};

QTEST_MAIN(TestRichTextBox)
#include "tst_richtextbox.moc"
