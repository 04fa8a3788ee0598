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
class QLabel;
class QComboBox;
class QPushButton;

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
    int borderStyle = 0;      // 0 none, 1 fixed single
    QString picture;          // resource path of an image
    bool wordWrap = false;    // with autoSize: the width stays, the height fits the lines
    bool isDefault = false;
    bool isCancel = false;
    int mousePointer = 0;     // pointer over the control: 0 default, 10 up arrow (see Control)
    bool spokenWithFace = false; // labels: the spoken name also says the face ("A in Arial")
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

    // Applies every change that was deferred until the next read or paint.
    static void flushPending();
    // The role a control's name gives, in words, for screen readers ("fraLetters": "Letters").
    static QString spokenName(const QString& name);

signals:
    void Click();
    void DblClick();
    void MouseUp(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);

protected:
    Control(const ControlSpec& entry, QWidget* widget);
    // Brings the widget up to date with deferred changes (label faces and captions).
    virtual void sync() {}
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
    bool m_pressed = false;
    int m_mousePointer = 0;
    QString m_spokenName; // the accessible name of a control that shows no caption
};

class Label final : public Control {
    Q_OBJECT
public:
    Label(const ControlSpec& entry, const FontSpec& font, QWidget* parent);
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);
    QString FontName() const { return m_font.name; }
    void setFontName(const QString& name);
    float FontSize() const { return m_font.size; }
    void setFontSize(float points);
    int FontWeight() const { return m_font.weight; }
    bool FontUnderline() const { return m_font.underline; }
    // The text colour: the one set, else the palette's (it follows the desktop's theme).
    QColor ForeColor() const;
    void setForeColor(const QColor& color);
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    bool AutoSize() const { return m_autoSize; }
    bool Transparent() const { return m_transparent; }
    // The text as shown: access-key markers removed, "&&" shown as "&".
    QString shownText() const;
    // The face the label is drawn in once its deferred changes are applied.
    QFont shownFont();

    static QString stripAccessKeys(const QString& caption);
    // A caption that shows a text exactly as it is: every "&" doubled, so none is an access key.
    static QString literal(const QString& text);

protected:
    void sync() override;

private:
    QLabel* label() const;
    FontSpec m_font;
    QString m_caption;
    std::optional<QColor> m_foreColor;
    int m_borderStyle = 0;
    bool m_autoSize = false;
    bool m_transparent = false;
    bool m_spokenWithFace = false;
};

class Frame final : public Control {
    Q_OBJECT
public:
    Frame(const ControlSpec& entry, QWidget* parent);
};

class FontListModel;

class ComboBox final : public Control {
    Q_OBJECT
public:
    ComboBox(const ControlSpec& entry, QWidget* parent);
    // Adds an entry. The list is sorted: it keeps its entries in the order a person expects
    // (case-insensitive, locale-aware), entries that compare equal in the order added.
    void AddItem(const QString& item);
    std::int32_t ListCount() const;
    std::int32_t ListIndex() const { return m_listIndex; }
    // Selects an entry and raises Click, which has finished when this returns.
    void setListIndex(std::int32_t index);
    QString Text() const;
    QString List(std::int32_t index) const;

protected:
    void sync() override;

private:
    QComboBox* combo() const;
    void picked(int index);
    FontListModel* m_model = nullptr;
    std::int32_t m_listIndex = -1;
};

class Button final : public Control {
    Q_OBJECT
public:
    Button(const ControlSpec& entry, QWidget* parent);
    QString Caption() const;
    bool Default() const { return m_default; }
    void setDefault(bool value);
    bool Cancel() const { return m_cancel; }
    void SetFocus();

private:
    QPushButton* button() const;
    bool m_default = false;
    bool m_cancel = false;
};

// Images (stretched to the control) and picture boxes (sized to their picture).
class Picture final : public Control {
    Q_OBJECT
public:
    Picture(const ControlSpec& entry, QWidget* parent);
};

// A straight line from (Left, Top) to (Left + Width, Top + Height).
class Line final : public Control {
    Q_OBJECT
public:
    Line(const ControlSpec& entry, QWidget* parent);
};

} // namespace glyvex::platform
