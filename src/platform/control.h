#pragma once
// The controls the windows are built from. Geometry is read and written in twips (single
// precision) and a value written is read back exactly; the Qt widget behind each control is
// an implementation detail (widget() is there for the platform itself and for tests).
#include "platform/fonts.h"

#include <QColor>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <optional>

class QWidget;

namespace glyvex::platform {

enum class Align { Left, Right, Center };
// The toolkit's border styles of windows and controls, by its numbers.
enum class BorderStyle { None = 0, FixedSingle = 1, Sizable = 2, FixedDialog = 3 };
// The toolkit's mouse pointers the program uses, by its numbers: over one control, or over every
// window of the program (the screen's).
enum class MousePointer { Default = 0, UpArrow = 10, ArrowHourglass = 13 };
// The mouse button a MouseUp reports, by the toolkit's numbers.
enum class MouseButton { None = 0, Left = 1, Right = 2, Middle = 4 };

struct Rect {
    float left = 0, top = 0, width = 0, height = 0;
};

// A control as it is described where it is made.
struct ControlSpec {
    QString name; // also the widget's object name, for screen readers and tests
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
    BorderStyle borderStyle = BorderStyle::None;
    QString picture; // resource path of an image
    bool wordWrap = false; // with autoSize: the width stays, the height fits the lines
    bool isDefault = false;
    bool isCancel = false;
    MousePointer mousePointer = MousePointer::Default;
    bool spokenWithFace = false; // labels: the spoken name also says the face ("A in Arial")
};

class Control;

// Changes to controls (label faces and captions, combo box entries, pictures) wait here until the
// window is shown, a control is read or painted, or control is back in the event loop. This is
// where start-up spends its time: selecting every font before "Arial" gives the 68 preview labels
// a new face each time, and the font list takes thousands of names; waiting, each widget is
// brought up to date once (at 10,000 fonts start-up takes a few seconds longer without it). One
// queue per window.
class UpdateQueue final : public QObject {
public:
    void add(Control* control);
    // Applies every change waiting.
    void flush();

private:
    QList<QPointer<Control>> m_controls;
    bool m_posted = false;
};

// What a control takes from the window it is made on.
struct ControlHost {
    FontSource& fonts;
    FontSpec font; // the window's
    UpdateQueue* updates = nullptr; // none: changes wait for the next read
};

// Fills the widget's background with a colour of one of its palette's roles.
void paintBackground(QWidget* widget, const QColor& color, QPalette::ColorRole role = QPalette::Window);

class Control : public QObject {
    Q_OBJECT
public:
    ~Control() override;
    float Left() const { return m_rect.left; }
    float Top() const { return m_rect.top; }
    float Width() const;
    float Height() const;
    void setLeft(float value);
    void setTop(float value);
    bool Visible() const { return m_visible; }
    void setVisible(bool value);
    QWidget* widget() const { return m_widget; }

    // The role a control's name gives, in words, for screen readers ("fraLetters": "Letters").
    static QString spokenName(const QString& name);

signals:
    void Click();
    void DblClick();
    void MouseUp(MouseButton Button);
    void MouseMove();

protected:
    friend class UpdateQueue;
    Control(const ControlSpec& entry, QWidget* widget, UpdateQueue* updates);
    // Brings the widget up to date with deferred changes (label faces and captions).
    virtual void sync() { }
    // Applies the deferred changes, if any, now.
    void applyPending() const;
    void schedule();
    void applyGeometry();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void connectNotify(const QMetaMethod& signal) override;
    void relayMouse();

    QWidget* m_widget = nullptr;
    Rect m_rect;
    bool m_visible = true;
    bool m_pending = false;
    UpdateQueue* m_updates = nullptr;
    bool m_pressed = false;
    QString m_spokenName; // the accessible name of a control that shows no caption
    QString m_accessibleName;
    bool m_unnamed = false; // its names for screen readers still to be given
};

// A control array: like controls that share a name and its handlers, told apart by an index from
// 0 ("Label1(0)", "Label1(1)", ...). Its DblClick is its elements', raised with the element's index.
class ControlArrayEvents : public QObject {
    Q_OBJECT
signals:
    void DblClick(int Index);
};

template <class T> class ControlArray final : public ControlArrayEvents {
public:
    explicit ControlArray(const char* name)
        : m_name(QString::fromLatin1(name))
    {
    }
    const QString& Name() const { return m_name; }
    T* operator[](qsizetype index) const { return m_elements.at(index); }
    qsizetype size() const { return m_elements.size(); }
    auto begin() const { return m_elements.begin(); }
    auto end() const { return m_elements.end(); }
    QList<Control*> controls() const { return {m_elements.begin(), m_elements.end()}; }
    void append(T* element)
    {
        const int index = static_cast<int>(m_elements.size());
        m_elements.append(element);
        connect(element, &Control::DblClick, this, [this, index] { emit DblClick(index); });
    }

private:
    QString m_name;
    QList<T*> m_elements;
};

} // namespace glyvex::platform
