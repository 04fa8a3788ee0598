#pragma once
// A window of the program. Each window class derives from Form and, in its constructor, makes its
// controls and menus where it describes them, each held as a typed member:
//     cboFonts = add<ComboBox>({.name = u"cboFonts"_qs, .rect = {120, 120, 1932, 312}, ...});
//     mnuFile = addMenu("mnuFile", "&File");
//     mnuChangeFont = mnuFile->addItem("mnuChangeFont", "&Change Font...", "Ctrl+F");
// then connects its handlers (on(), errors.h). Controls are made in the order described: each lies
// above the ones before it.
//
// Left, Top, Width and Height are twips, single precision, and read back exactly what was
// written. Width and Height are the outer size where the window system reports the frame
// (otherwise the window's full size, menu bar included). A written Height below the smallest
// the window can have reads back the real height.
//
// The client area the window describes is what the user sees: the frame is added around it,
// whenever the window system makes it known (before mapping, at showing or some time later). A
// size a handler (or the user) has set is an outer size and stays so when the frame becomes known.
#include "platform/controls.h"
#include "platform/menu.h"
#include "platform/platform.h"

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <functional>

namespace glyvex::platform {

class FormWindow;

struct FormDesign {
    QString caption;
    BorderStyle borderStyle = BorderStyle::Sizable;
    bool minButton = true;
    bool maxButton = true;
    float clientWidth = 0;
    float clientHeight = 0;
    std::optional<FontSpec> font; // none: the toolkit's default font
    std::optional<QColor> backColor;
};

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// The two rules for centring a window on the screen, on its current size: the exact one keeps half
// twips; the whole-twip one rounds the difference to the nearest whole twip (half to even) and
// halves it toward zero. Each window also says which edge is written first.
enum class CentringRule { Exact, WholeTwip };
enum class FirstEdge { Top, Left };

class Form : public QObject {
    Q_OBJECT
public:
    Form(Platform& platform, const QString& name, const FormDesign& design);
    ~Form() override;

    QString Caption() const;
    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    void setLeft(float value);
    void setTop(float value);
    void setWidth(float value);
    void setHeight(float value);
    WindowState windowState() const;
    bool IsLoaded() const { return m_loaded; }
    void centre(CentringRule rule, FirstEdge first);

    // Creates the window's state and runs Form_Load; does not show it.
    void Load();
    // Shows the window modeless, loading it first when needed.
    void Show();
    // Shows the window modal over its owner; the owner takes no input until it is unloaded.
    void ShowModal(Form& owner);
    void Hide();
    // Raises Form_Unload and, unless it cancels, destroys the window with all its controls
    // (the widgets are deleted once control is back in the event loop). An unloaded Form
    // cannot be loaded again: each opening is a new Form, which whoever made it deletes on
    // unloaded() (see deleteWhenUnloaded).
    void Unload();
    // Makes the Form delete itself once unloaded, for windows made afresh at each opening.
    void deleteWhenUnloaded() { connect(this, &Form::unloaded, this, &QObject::deleteLater); }
    void PopupMenu(Menu& menu);

    Platform& platform() const { return m_platform; }
    ScreenObject& Screen() const { return m_platform.Screen(); }
    const AppObject& App() const { return m_platform.App(); }
    QWidget* window() const;

signals:
    // Raised by Unload once the window is on its way out.
    void unloaded();
    // Files dropped on a window that takes them (acceptFiles()): their paths, in the order given.
    void OLEDragDrop(const QStringList& files);

protected:
    virtual void Form_Load() { }
    virtual void Form_Unload(bool& Cancel) { (void)Cancel; }

    // The client area as a control: the window's own MouseUp and MouseMove.
    Control* background() const { return m_background; }

    template <class T> T* add(const ControlSpec& entry, Control* container = nullptr)
    {
        T* control = new T(entry, ControlHost{m_platform.fonts(), m_font, &m_updates}, parentFor(container));
        added(control, entry.tabIndex);
        return control;
    }
    // The next element of a control array, named by the array and its index.
    template <class T> T* add(ControlArray<T>& array, ControlSpec entry, Control* container = nullptr)
    {
        entry.name = QStringLiteral("%1(%2)").arg(array.Name()).arg(array.size());
        T* element = add<T>(entry, container);
        array.append(element);
        return element;
    }
    // A menu of the menu bar (the menu bar is part of the window's height).
    Menu* addMenu(const char* name, const char* caption);
    // Orders the keyboard focus by the tab indices of the controls.
    void applyTabOrder();
    // Lets files from a file manager be dropped on the window (OLEDragDrop).
    void acceptFiles();
    // The right-click rule: releasing the right mouse button over one of `over` (the window's
    // background, and those of its frames and labels it names) opens `menu` as a pop-up menu at the
    // pointer, on the release, not the press.
    void popupOnRightButton(Menu& menu, const QList<Control*>& over);
    // The error trap of a handler that has one: the first error raised in `steps` ends them and
    // goes to `branch` with its message. Every other handler traps nothing: its errors end it and
    // are reported by Platform::runHandler(), through which every handler runs.
    void trapErrors(const std::function<void()>& steps, const std::function<void(const QString&)>& branch);

private:
    friend class FormWindow;

    QWidget* parentFor(Control* container) const;
    void added(Control* control, int tabIndex);
    // Fixed single and fixed dialog borders: the user cannot resize the window.
    bool fixedBorder() const
    {
        return m_borderStyle == BorderStyle::FixedSingle || m_borderStyle == BorderStyle::FixedDialog;
    }
    void applyGeometry();
    void frameKnown(QMargins frame);
    void systemGeometryChanged();
    void closeRequested();
    bool pressButton(bool cancel);

    Platform& m_platform;
    QPointer<FormWindow> m_window;
    UpdateQueue m_updates;
    Control* m_background = nullptr;
    FontSpec m_font;
    BorderStyle m_borderStyle = BorderStyle::Sizable;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    QMargins m_frame; // the frame around the client area in pixels, as known so far
    bool m_widthSet = false, m_heightSet = false; // outer sizes set by a handler or the user
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_applying = false;
    bool m_hasMenuBar = false;
    QList<QPair<int, Control*>> m_tabOrder;
    QList<Button*> m_buttons;
};

} // namespace glyvex::platform
