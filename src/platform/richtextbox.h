#pragma once
// The rich text box: a document of plain text shown in one face and size. It loads a file as
// text (any bytes: see decodeText) and saves its text as a Rich Text Format document in that
// face and size.
//
// The pane is a read-only viewer that lays out only the lines on screen, so that documents of
// any length open at once and the text shown is exactly the text held: lines end at CR LF, LF,
// CR, U+2028, U+2029, U+0085, vertical tab and form feed; long lines wrap at the pane's width.
// The vertical scroll bar moves by lines of the document; the wheel, the arrow keys, Page Up
// and Page Down move by screen lines, Home and End go to the start and the end. Text is
// selected with the mouse (Shift extends) or Ctrl+A, and copied with Ctrl+C.
#include "platform/controls.h"

#include <QAbstractScrollArea>
#include <QStringList>
#include <memory>

namespace glyvex::platform {

// A colour of the system by its index: 4 the menu background, 5 the window (text area)
// background. Any other index throws Error.
QColor systemColor(int index);

class TextView;

class RichTextBox final : public Control {
    Q_OBJECT
public:
    // File types of LoadFile and SaveFile.
    static constexpr int rtfRTF = 0;
    static constexpr int rtfText = 1;
    // The largest file LoadFile shows (256 MiB: a document of that size takes about three
    // times as much memory once it is text).
    static constexpr qint64 MaxFileBytes = qint64(256) << 20;

    // The box's font is entry.font, or Arial 10 pt when the row names none; its background is
    // entry.backColor, or the window background (systemColor(5)). It starts empty.
    RichTextBox(const ControlSpec& entry, QWidget* parent);

    // Replaces the contents with the file's whole content read as plain text (fileType
    // rtfText; the only type read). A folder, a missing, unreadable or non-regular file, and
    // a file larger than MaxFileBytes throw Error naming the file and the reason, and leave
    // the contents as they were. A pipe or a device is refused without waiting on it.
    void LoadFile(const QString& path, int fileType);
    // Writes the whole text as a Rich Text Format document (fileType rtfRTF; the only type
    // written) in the box's face and size, replacing the file. The file is replaced only once
    // the document is completely written; on any failure (a bad path, a folder, a device or
    // pipe in the way, a full disk) Error is thrown naming the file and the reason, and what
    // was there is left untouched. A link to a file is followed, as when the file is read.
    void SaveFile(const QString& path, int fileType);

    // The whole plain text, exactly as loaded or set.
    const QString& Text() const;
    void setText(const QString& text);

    // The face and size of the whole text; a change applies to the text already there.
    QString FontName() const { return m_font.name; }
    void setFontName(const QString& name);
    float FontSize() const { return m_font.size; }
    void setFontSize(float points);

    QColor BackColor() const;
    void setBackColor(const QColor& color);

    TextView* view() const;

private:
    void applyFont();
    FontSpec m_font;
};

// The pane of a rich text box (see the top of this file).
class TextView final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TextView(QWidget* parent = nullptr);
    ~TextView() override;

    void setText(const QString& text);
    const QString& text() const;
    void setTextFont(const QFont& font);

    // Lines of the document as the pane divides it: each line of the text, a line longer than
    // a few thousand characters in pieces of that length.
    qsizetype rowCount() const;
    // The document's own lines and pieces in order, each without its line end. For tests.
    QStringList rows() const;
    // The screen lines currently in view, top to bottom, each as the text it shows.
    QStringList visibleLines() const;

    QString selectedText() const;
    void selectAll();
    void copy() const;
    // Scrolls by screen lines (negative: up), within the document.
    void scrollLines(qsizetype count);
    void scrollToStart();
    void scrollToEnd();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace glyvex::platform
