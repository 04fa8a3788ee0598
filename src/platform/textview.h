#pragma once
// The pane of a rich text box.
//
// A read-only viewer that lays out only the lines on screen, so that documents of
// any length open at once and the text shown is exactly the text held: lines end at CR LF, LF,
// CR, U+2028, U+2029, U+0085, vertical tab and form feed; long lines wrap at the pane's width.
// The vertical scroll bar moves by lines of the document; the wheel, the arrow keys, Page Up
// and Page Down move by screen lines, Home and End go to the start and the end. Text is
// selected with the mouse (Shift extends) or Ctrl+A, and copied with Ctrl+C.
#include <QAbstractScrollArea>
#include <QString>
#include <memory>

namespace glyvex::platform {

class TextView final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TextView(QWidget* parent = nullptr);
    ~TextView() override;

    void setText(const QString& text);
    const QString& text() const;
    void setTextFont(const QFont& font);

    QString selectedText() const;
    void selectAll();
    void copy() const;

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
    void scrollToStart();
    void scrollToEnd();
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace glyvex::platform
