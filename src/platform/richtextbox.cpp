#include "platform/richtextbox.h"

#include "platform/errors.h"
#include "platform/rtfwriter.h"
#include "platform/textdecode.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QSaveFile>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextLayout>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cmath>
#include <vector>

namespace glyvex::platform {

namespace {

// A line longer than this many UTF-16 units is shown in pieces of this length, so that no
// single layout grows with the document (a binary file may have no line end at all).
constexpr qsizetype kMaxRow = 4096;
// Where every 64th row starts is kept; the rows between are found by scanning.
constexpr qsizetype kCheckpointEvery = 64;
constexpr int kMargin = 2;
// Layouts kept for the rows on screen and near it.
constexpr qsizetype kMaxCachedLayouts = 1024;

bool isLineEnd(char16_t u)
{
    return char16_t(u - 0x0A) <= 3 || u == 0x85 || u == 0x2028 || u == 0x2029;
}

QString displayName(const QString& path) { return QStringLiteral("\"%1\"").arg(path); }

QString sizeText(qint64 bytes)
{
    return QLocale::system().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

[[noreturn]] void loadFailed(const QString& path, const QString& reason)
{
    throw Error(QStringLiteral("Cannot read %1: %2.").arg(displayName(path), reason));
}

[[noreturn]] void saveFailed(const QString& path, const QString& reason)
{
    throw Error(QStringLiteral("Cannot save %1: %2.").arg(displayName(path), reason));
}

[[noreturn]] void tooLarge(const QString& path, qint64 size)
{
    loadFailed(path, QStringLiteral("the file is too large to show (%1; files of up to %2 can be shown)")
                         .arg(size >= 0 ? sizeText(size) : QStringLiteral("more than %1").arg(sizeText(RichTextBox::MaxFileBytes)),
                              sizeText(RichTextBox::MaxFileBytes)));
}

QByteArray readWholeFile(const QString& path)
{
    if (path.isEmpty())
        loadFailed(path, QStringLiteral("no file name was given"));
    const QFileInfo info(path);
    if (info.isDir())
        loadFailed(path, QStringLiteral("it is a folder, not a file"));
    // A pipe or a device could block in open() or in read() for good: anything that is not a
    // regular file is refused before it is opened, and the open itself never waits (the
    // check and the open are two steps, so what was opened is checked again).
    if (info.exists() && !info.isFile())
        loadFailed(path, QStringLiteral("it is not a regular file"));
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        loadFailed(path, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        loadFailed(path, QStringLiteral("it is not a regular file"));
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        loadFailed(path, file.errorString());
    }
    const qint64 size = file.size();
    if (size > RichTextBox::MaxFileBytes)
        tooLarge(path, size);

    QByteArray bytes(size, Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < size) {
        const qint64 got = file.read(bytes.data() + filled, size - filled);
        if (got < 0)
            loadFailed(path, file.errorString());
        if (got == 0)
            break; // the file got shorter
        filled += got;
    }
    bytes.resize(filled);
    // On to the real end: files in /proc report no size, and a file may have grown.
    char chunk[64 * 1024];
    for (;;) {
        const qint64 got = file.read(chunk, sizeof chunk);
        if (got < 0)
            loadFailed(path, file.errorString());
        if (got == 0)
            break;
        if (bytes.size() + got > RichTextBox::MaxFileBytes)
            tooLarge(path, -1);
        bytes.append(chunk, got);
    }
    return bytes;
}

// One row of the document: [start, end) is its text; next is where the following row starts,
// or -1 for the last row.
struct Row {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = -1;
};

// Where the rows of a text start.
class RowIndex {
public:
    void build(const QString& text)
    {
        m_text = reinterpret_cast<const char16_t*>(text.constData());
        m_size = text.size();
        m_checkpoints.clear();
        m_rows = 0;
        qsizetype position = 0;
        for (;;) {
            if (m_rows % kCheckpointEvery == 0)
                m_checkpoints.push_back(position);
            ++m_rows;
            const Row row = rowFrom(position);
            if (row.next < 0)
                break;
            position = row.next;
        }
        m_checkpoints.shrink_to_fit();
    }

    qsizetype count() const { return m_rows; }

    Row rowFrom(qsizetype start) const
    {
        const char16_t* s = m_text;
        const qsizetype limit = std::min(m_size, start + kMaxRow);
        qsizetype i = start;
        while (i < limit && !isLineEnd(s[i]))
            ++i;
        if (i == m_size)
            return {start, m_size, -1};
        qsizetype end = i;
        if (i == limit && !isLineEnd(s[i])) {
            // A piece of a long line; a surrogate pair stays whole.
            if (QChar::isHighSurrogate(s[end - 1]) && QChar::isLowSurrogate(s[end]))
                --end;
            return {start, end, end};
        }
        const qsizetype next = (s[i] == u'\r' && i + 1 < m_size && s[i + 1] == u'\n') ? i + 2 : i + 1;
        return {start, end, next};
    }

    Row row(qsizetype index) const
    {
        Row r = rowFrom(m_checkpoints[index / kCheckpointEvery]);
        for (qsizetype k = index % kCheckpointEvery; k > 0; --k)
            r = rowFrom(r.next);
        return r;
    }

private:
    const char16_t* m_text = nullptr;
    qsizetype m_size = 0;
    qsizetype m_rows = 0;
    std::vector<qsizetype> m_checkpoints;
};

struct RowLayout {
    Row row;
    QTextLayout layout;
    qreal height = 0;
};

// A place in the view: a row and a screen line of it.
struct LinePos {
    qsizetype row = 0;
    int line = 0;
    bool operator<(const LinePos& o) const { return row < o.row || (row == o.row && line < o.line); }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// TextView

struct TextView::Private {
    TextView* q;
    QString text;
    RowIndex index;
    QFont font;
    QHash<qsizetype, std::shared_ptr<RowLayout>> layouts;
    int layoutWidth = -1;
    LinePos top;
    std::optional<LinePos> maxTop;
    qsizetype anchor = 0; // selection: [min(anchor, cursor), max(anchor, cursor))
    qsizetype cursor = 0;
    bool selecting = false;
    int wheelRemainder = 0;

    void invalidate()
    {
        layouts.clear();
        maxTop.reset();
    }

    int width() const { return std::max(1, q->viewport()->width() - 2 * kMargin); }

    const RowLayout& layout(qsizetype row)
    {
        if (layoutWidth != width()) {
            invalidate();
            layoutWidth = width();
        }
        if (auto found = layouts.constFind(row); found != layouts.constEnd())
            return **found;
        if (layouts.size() >= kMaxCachedLayouts)
            layouts.clear();
        auto made = std::make_shared<RowLayout>();
        made->row = index.row(row);
        made->layout.setText(text.mid(made->row.start, made->row.end - made->row.start));
        made->layout.setFont(font);
        made->layout.setCacheEnabled(true);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        made->layout.setTextOption(option);
        made->layout.beginLayout();
        qreal y = 0;
        for (;;) {
            QTextLine line = made->layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(layoutWidth);
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        made->layout.endLayout();
        made->height = y;
        return **layouts.insert(row, std::move(made));
    }

    int lineCount(qsizetype row) { return std::max(1, layout(row).layout.lineCount()); }

    qreal lineY(qsizetype row, int line)
    {
        const QTextLayout& l = layout(row).layout;
        return line < l.lineCount() ? l.lineAt(line).y() : 0;
    }

    // The furthest the view scrolls: the last screen lines fill the pane.
    LinePos furthestTop()
    {
        if (maxTop)
            return *maxTop;
        qreal room = q->viewport()->height();
        qsizetype row = index.count() - 1;
        LinePos result;
        for (;;) {
            const RowLayout& l = layout(row);
            if (l.height >= room) {
                int line = l.layout.lineCount() - 1;
                while (line > 0 && l.height - l.layout.lineAt(line).y() < room)
                    --line;
                result = {row, line};
                break;
            }
            room -= l.height;
            if (row == 0) {
                result = {0, 0};
                break;
            }
            --row;
        }
        maxTop = result;
        return result;
    }

    void setTop(LinePos to)
    {
        const LinePos furthest = furthestTop();
        if (furthest < to)
            to = furthest;
        to.line = std::clamp(to.line, 0, lineCount(to.row) - 1);
        top = to;
        syncScrollBar();
        q->viewport()->update();
    }

    void syncScrollBar()
    {
        QScrollBar* bar = q->verticalScrollBar();
        const QSignalBlocker blocker(bar);
        const qreal spacing = std::max<qreal>(1, QFontMetricsF(font).lineSpacing());
        bar->setRange(0, static_cast<int>(std::min<qsizetype>(furthestTop().row, INT_MAX)));
        bar->setSingleStep(1);
        bar->setPageStep(std::max(1, static_cast<int>(q->viewport()->height() / spacing) - 1));
        bar->setValue(static_cast<int>(std::min<qsizetype>(top.row, INT_MAX)));
    }

    void scrollLines(qsizetype count)
    {
        LinePos to = top;
        while (count > 0) {
            const int left = lineCount(to.row) - 1 - to.line;
            if (count <= left) {
                to.line += static_cast<int>(count);
                break;
            }
            if (to.row + 1 >= index.count()) {
                to.line = lineCount(to.row) - 1;
                break;
            }
            count -= left + 1;
            to = {to.row + 1, 0};
            if (furthestTop() < to)
                break;
        }
        while (count < 0) {
            if (-count <= to.line) {
                to.line += static_cast<int>(count);
                break;
            }
            if (to.row == 0) {
                to.line = 0;
                break;
            }
            count += to.line + 1;
            to.row -= 1;
            to.line = lineCount(to.row) - 1;
        }
        setTop(to);
    }

    int pageLines() const
    {
        const qreal spacing = std::max<qreal>(1, QFontMetricsF(font).lineSpacing());
        return std::max(1, static_cast<int>(q->viewport()->height() / spacing) - 1);
    }

    // Calls visit(row layout, y of the row's top) for each row on screen, top to bottom.
    template <class Visit>
    void forVisibleRows(Visit visit)
    {
        const int height = q->viewport()->height();
        qreal y = kMargin - lineY(top.row, top.line);
        for (qsizetype row = top.row; row < index.count() && y < height; ++row) {
            const RowLayout& l = layout(row);
            if (!visit(l, y))
                return;
            y += l.height;
        }
    }

    // The text position under a point of the viewport.
    qsizetype positionAt(QPointF point)
    {
        qsizetype found = -1;
        qsizetype last = 0;
        const qreal x = point.x() - kMargin;
        if (point.y() < kMargin) {
            const RowLayout& l = layout(top.row);
            const QTextLine line = l.layout.lineAt(std::min(top.line, l.layout.lineCount() - 1));
            return l.row.start + (line.isValid() ? line.xToCursor(x) : 0);
        }
        forVisibleRows([&](const RowLayout& l, qreal y) {
            last = l.row.end;
            if (point.y() >= y + l.height)
                return true;
            for (int i = 0; i < l.layout.lineCount(); ++i) {
                const QTextLine line = l.layout.lineAt(i);
                if (point.y() < y + line.y() + line.height() || i + 1 == l.layout.lineCount()) {
                    found = l.row.start + line.xToCursor(x);
                    return false;
                }
            }
            found = l.row.start;
            return false;
        });
        return found >= 0 ? found : last;
    }

    std::pair<qsizetype, qsizetype> selection() const { return std::minmax(anchor, cursor); }
};

TextView::TextView(QWidget* parent)
    : QAbstractScrollArea(parent)
    , d(std::make_unique<Private>())
{
    d->q = this;
    d->font = font();
    d->index.build(d->text);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

TextView::~TextView() = default;

void TextView::setText(const QString& text)
{
    d->text = text;
    d->index.build(d->text);
    d->invalidate();
    d->anchor = d->cursor = 0;
    d->top = {};
    d->setTop({});
}

const QString& TextView::text() const { return d->text; }

void TextView::setTextFont(const QFont& font)
{
    d->font = font;
    d->invalidate();
    d->setTop(d->top);
}

qsizetype TextView::rowCount() const { return d->index.count(); }

QStringList TextView::rows() const
{
    QStringList result;
    Row r = d->index.rowFrom(0);
    for (;;) {
        result.append(d->text.mid(r.start, r.end - r.start));
        if (r.next < 0)
            break;
        r = d->index.rowFrom(r.next);
    }
    return result;
}

QStringList TextView::visibleLines() const
{
    QStringList lines;
    const int height = viewport()->height();
    bool first = true;
    d->forVisibleRows([&](const RowLayout& l, qreal y) {
        const int from = first ? d->top.line : 0;
        first = false;
        for (int i = from; i < l.layout.lineCount(); ++i) {
            const QTextLine line = l.layout.lineAt(i);
            if (y + line.y() >= height)
                return false;
            lines.append(l.layout.text().mid(line.textStart(), line.textLength()));
        }
        return true;
    });
    return lines;
}

QString TextView::selectedText() const
{
    const auto [from, to] = d->selection();
    return d->text.mid(from, to - from);
}

void TextView::selectAll()
{
    d->anchor = 0;
    d->cursor = d->text.size();
    viewport()->update();
}

void TextView::copy() const
{
    const auto [from, to] = d->selection();
    if (from < to)
        QGuiApplication::clipboard()->setText(selectedText());
}

void TextView::scrollLines(qsizetype count) { d->scrollLines(count); }
void TextView::scrollToStart() { d->setTop({}); }
void TextView::scrollToEnd() { d->setTop(d->furthestTop()); }

void TextView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    // Lines above the top one are laid out with it but not shown, not even their descenders.
    painter.setClipRect(QRect(0, kMargin, viewport()->width(), viewport()->height() - kMargin));
    const std::pair<qsizetype, qsizetype> selection = d->selection(); // plain names: the lambda below uses them
    const qsizetype from = selection.first, to = selection.second;
    QTextCharFormat selected;
    selected.setBackground(palette().brush(QPalette::Highlight));
    selected.setForeground(palette().brush(QPalette::HighlightedText));
    painter.setPen(palette().color(QPalette::Text));
    d->forVisibleRows([&](const RowLayout& l, qreal y) {
        QList<QTextLayout::FormatRange> ranges;
        const qsizetype start = std::max(from, l.row.start);
        const qsizetype end = std::min(to, l.row.end);
        if (start < end)
            ranges.append({static_cast<int>(start - l.row.start), static_cast<int>(end - start), selected});
        l.layout.draw(&painter, QPointF(kMargin, y), ranges);
        return true;
    });
}

void TextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    d->invalidate();
    d->setTop(d->top);
}

void TextView::scrollContentsBy(int, int)
{
    // The scroll bar was moved: it counts rows.
    d->setTop({verticalScrollBar()->value(), 0});
}

void TextView::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Copy) {
        copy();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        selectAll();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up: d->scrollLines(-1); return;
    case Qt::Key_Down: d->scrollLines(1); return;
    case Qt::Key_PageUp: d->scrollLines(-d->pageLines()); return;
    case Qt::Key_PageDown: d->scrollLines(d->pageLines()); return;
    case Qt::Key_Home: scrollToStart(); return;
    case Qt::Key_End: scrollToEnd(); return;
    default: event->ignore(); return;
    }
}

void TextView::wheelEvent(QWheelEvent* event)
{
    d->wheelRemainder += event->angleDelta().y();
    const int steps = d->wheelRemainder / 120;
    d->wheelRemainder -= steps * 120;
    if (steps != 0)
        d->scrollLines(-qsizetype(steps) * QApplication::wheelScrollLines());
    event->accept();
}

void TextView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const qsizetype at = d->positionAt(event->position());
    if (!(event->modifiers() & Qt::ShiftModifier))
        d->anchor = at;
    d->cursor = at;
    d->selecting = true;
    viewport()->update();
}

void TextView::mouseMoveEvent(QMouseEvent* event)
{
    if (!d->selecting)
        return;
    const QPointF at = event->position();
    if (at.y() < 0)
        d->scrollLines(-1);
    else if (at.y() > viewport()->height())
        d->scrollLines(1);
    d->cursor = d->positionAt(at);
    viewport()->update();
}

void TextView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !d->selecting)
        return;
    d->selecting = false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && d->anchor != d->cursor)
        clipboard->setText(selectedText(), QClipboard::Selection);
}

// ---------------------------------------------------------------------------------------------
// RichTextBox

QColor systemColor(int index)
{
    switch (index) {
    case 4: return QApplication::palette("QMenu").color(QPalette::Window);
    case 5: return QApplication::palette().color(QPalette::Base);
    default: throw Error(QStringLiteral("Invalid system colour %1").arg(index));
    }
}

RichTextBox::RichTextBox(const ControlSpec& entry, QWidget* parent)
    : Control(entry, new TextView(parent))
    , m_font(entry.font.value_or(FontSpec{QStringLiteral("Arial"), 10.0f, 400}))
{
    setBackColor(entry.backColor.value_or(systemColor(5)));
    applyFont();
}

TextView* RichTextBox::view() const { return static_cast<TextView*>(m_widget); }

void RichTextBox::LoadFile(const QString& path, int fileType)
{
    if (fileType != rtfText)
        throw Error(QStringLiteral("Cannot read %1: only plain text files are read.").arg(displayName(path)));
    QString text = decodeText(readWholeFile(path)); // the bytes are gone before the text is shown
    setText(text);
}

void RichTextBox::SaveFile(const QString& path, int fileType)
{
    if (fileType != rtfRTF)
        saveFailed(path, QStringLiteral("only Rich Text Format is written"));
    if (path.isEmpty())
        saveFailed(path, QStringLiteral("no file name was given"));
    const QFileInfo target(path); // a link is judged by what it points to
    if (target.isDir())
        saveFailed(path, QStringLiteral("it is a folder"));
    // Only a file is ever replaced: a device or a pipe in its place would be swapped for a
    // regular file by the rename below.
    if (target.exists() && !target.isFile())
        saveFailed(path, QStringLiteral("it is not a regular file, and only files are replaced"));
    // The document goes to a new file that replaces the old one only when complete. Writes
    // are unbuffered, so that one the system cuts short (a full disk) shows as a short count
    // here: a buffered file would lose that in a flush that commit() does not check, and then
    // put a truncated document in the original's place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        saveFailed(path, file.errorString());
    if (!writeRtf(&file, Text(), m_font.name, m_font.size)) {
        const QString reason = file.error() != QFileDevice::NoError
            ? file.errorString()
            : QStringLiteral("not all of the document could be written (the disk may be full)");
        file.cancelWriting();
        saveFailed(path, reason);
    }
    if (!file.commit())
        saveFailed(path, file.errorString());
}

const QString& RichTextBox::Text() const { return view()->text(); }

void RichTextBox::setText(const QString& text) { view()->setText(text); }

void RichTextBox::setFontName(const QString& name)
{
    m_font.name = name;
    applyFont();
}

void RichTextBox::setFontSize(float points)
{
    m_font.size = points;
    applyFont();
}

void RichTextBox::applyFont()
{
    FontSpec shown = m_font;
    if (!(shown.size >= 1.0f))
        shown.size = 1.0f; // NaN and sizes below a point show at one point
    shown.size = std::min(shown.size, 1638.0f);
    view()->setTextFont(toQFont(shown));
}

QColor RichTextBox::BackColor() const { return view()->viewport()->palette().color(QPalette::Base); }

void RichTextBox::setBackColor(const QColor& color)
{
    QWidget* viewport = view()->viewport();
    QPalette palette = viewport->palette();
    palette.setColor(QPalette::Base, color);
    viewport->setPalette(palette);
}

} // namespace glyvex::platform
