#pragma once
// The controls the windows are built from. Geometry is read and written in twips (single
// precision) and a value written is read back exactly; the Qt widget behind each control is
// an implementation detail (widget() is there for the platform itself and for tests).
#include "platform/fonts.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

class QWidget;

namespace glyvex::platform {

enum class ControlKind { Label, Frame, ComboBox, Button, Image, PictureBox, Line, RichTextBox };
enum class Align { Left, Right, Center };

struct Rect {
    float left = 0, top = 0, width = 0, height = 0;
};

// One row of a window's control table.
struct ControlSpec {
    ControlKind kind = ControlKind::Label;
    QString name;
    Rect rect;
    QString caption;
    std::optional<FontSpec> font; // none: the window's font
    bool visible = true;
    QString toolTip;
    int tabIndex = -1;
    bool autoSize = false;
    Align alignment = Align::Left;
    std::optional<QColor> foreColor;
    std::optional<QColor> backColor;
    bool transparent = false; // labels: background not painted
    int borderStyle = 0; // 0 none, 1 fixed single
    QString picture; // resource path of an image
    bool wordWrap = false; // with autoSize: the width stays, the height fits the lines
    bool isDefault = false;
    bool isCancel = false;
    int mousePointer = 0; // pointer over the control: 0 default, 10 up arrow (see Control)
    bool spokenWithFace = false; // labels: the spoken name also says the face ("A in Arial")
};

class Control;

// Changes to controls (label faces and captions, combo box entries) wait here until the window is
// shown, a control is read or painted, or control is back in the event loop: filling a list with
// thousands of names, or giving 68 labels a new face, then updates each widget once. One queue per
// window.
class UpdateQueue final : public QObject {
public:
    void add(Control* control);
    // Applies every change waiting.
    void flush();

private:
    QList<QPointer<Control>> m_controls;
    bool m_posted = false;
};

class Control : public QObject {
    Q_OBJECT
public:
    ~Control() override;
    const QString& Name() const { return m_name; }
    float Left() const { return m_rect.left; }
    float Top() const { return m_rect.top; }
    float Width() const;
    float Height() const;
    void setLeft(float value);
    void setTop(float value);
    void setWidth(float value);
    void setHeight(float value);
    bool Visible() const { return m_visible; }
    void setVisible(bool value);
    void setToolTip(const QString& text);
    // The pointer shape over the control: 0 the default, 1 arrow, 2 cross, 3 I-beam,
    // 10 up arrow, 11 hourglass, 13 arrow with hourglass.
    int MousePointer() const { return m_mousePointer; }
    void setMousePointer(int code);
    QWidget* widget() const { return m_widget; }

    // Where its changes wait: its window's queue. Until it has one they wait for the next read.
    void setUpdateQueue(UpdateQueue* queue);
    // The role a control's name gives, in words, for screen readers ("fraLetters": "Letters").
    static QString spokenName(const QString& name);

signals:
    void Click();
    void DblClick();
    void MouseUp(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);

protected:
    friend class UpdateQueue;
    Control(const ControlSpec& entry, QWidget* widget);
    // Brings the widget up to date with deferred changes (label faces and captions).
    virtual void sync() { }
    // Applies the deferred changes, if any, now.
    void applyPending() const;
    void schedule();
    void applyGeometry();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void connectNotify(const QMetaMethod& signal) override;
    void relayMouse();

    QString m_name;
    QWidget* m_widget = nullptr;
    Rect m_rect;
    bool m_visible = true;
    bool m_pending = false;
    UpdateQueue* m_updates = nullptr;
    bool m_pressed = false;
    int m_mousePointer = 0;
    QString m_spokenName; // the accessible name of a control that shows no caption
};

} // namespace glyvex::platform
