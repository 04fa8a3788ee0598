#pragma once
// A window of the program. Each window class derives from Form, builds its controls and menus
// from its own tables in its constructor, and overrides the handlers it has.
//
// Left, Top, Width and Height are twips, single precision, and read back exactly what was
// written. Width and Height are the outer size where the window system reports the frame
// (otherwise the window's full size, menu bar included). A written Height below the smallest
// the window can have reads back the real height.
//
// The design's client area is what the user sees: the frame is added around it, whenever the
// window system makes it known (before mapping, at showing or some time later). A size a
// handler (or the user) has set is an outer size and stays so when the frame becomes known.
#include "platform/controls.h"
#include "platform/menu.h"
#include "platform/platform.h"

#include <QObject>
#include <QPointer>
#include <QHash>
#include <QMargins>
#include <span>

class QMainWindow;

namespace glyvex::platform {

class FormWindow;

struct FormDesign {
    QString caption;
    int borderStyle = 2; // 0 none, 1 fixed single, 2 sizable, 3 fixed dialog
    bool minButton = true;
    bool maxButton = true;
    float clientWidth = 0;
    float clientHeight = 0;
    std::optional<FontSpec> font; // none: the toolkit's default font
    std::optional<QColor> backColor;
};

class Form : public QObject {
    Q_OBJECT
public:
    Form(Platform& platform, const QString& name, const FormDesign& design);
    ~Form() override;

    const QString& Name() const { return m_name; }
    QString Caption() const;
    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    void setLeft(float value);
    void setTop(float value);
    void setWidth(float value);
    void setHeight(float value);
    // 0 normal, 1 minimised, 2 maximised.
    std::int16_t WindowState() const;
    bool Visible() const;
    bool IsLoaded() const { return m_loaded; }

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
    // The right-click rule: a release of the right button (code 2) pops the menu up.
    void popupOnRightButton(int Button, Menu& menu)
    {
        if (Button == 2)
            PopupMenu(menu);
    }

    Platform& platform() const { return m_platform; }
    ScreenObject& Screen() const { return m_platform.Screen(); }
    const AppObject& App() const { return m_platform.App(); }

    // The client area as a control: the window's own MouseUp and MouseMove.
    Control* background() const { return m_background; }
    QWidget* window() const;
    Menu* menu(const QString& name) const;
    const FontSpec& font() const { return m_font; }

signals:
    // Raised by Unload once the window is on its way out.
    void unloaded();
    // Files dropped on a window that takes them (acceptFiles()): their paths, in the order given.
    void OLEDragDrop(const QStringList& files);

protected:
    virtual void Form_Load() { }
    virtual void Form_Unload(int& Cancel) { (void)Cancel; }

    // Building from tables: a window creates its table's controls in the table's order (each
    // lies above the ones before it), then looks each one up by its name.
    Control* create(const ControlSpec& entry, Control* container = nullptr);
    void createAll(std::span<const ControlSpec> table, Control* container = nullptr);
    template <class T> T* add(const ControlSpec& entry, Control* container = nullptr)
    {
        return static_cast<T*>(create(entry, container));
    }
    // The control of that name; a name not in the tables, or a control of another class, throws
    // Error.
    template <class T> T* control(const QString& name) const
    {
        T* found = qobject_cast<T*>(m_controls.value(name));
        if (!found)
            noSuchControl(name);
        return found;
    }
    void addMenus(std::span<const MenuSpec> table);
    MenuItem* menuItem(const QString& name) const;
    // Orders the keyboard focus by the tab indices of the control table.
    void applyTabOrder();
    // Lets files from a file manager be dropped on the window (OLEDragDrop).
    void acceptFiles();

private:
    friend class FormWindow;

    // Fixed single (1) and fixed dialog (3): the user cannot resize the window.
    bool fixedBorder() const { return m_borderStyle == 1 || m_borderStyle == 3; }
    void applyGeometry();
    void frameKnown(QMargins frame);
    void systemGeometryChanged();
    void closeRequested();
    bool pressButton(bool cancel);

    Platform& m_platform;
    QString m_name;
    QPointer<FormWindow> m_window;
    UpdateQueue m_updates;
    Control* m_background = nullptr;
    FontSpec m_font;
    int m_borderStyle = 2;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    QMargins m_frame; // the frame around the client area in pixels, as known so far
    bool m_widthSet = false, m_heightSet = false; // outer sizes set by a handler or the user
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_applying = false;
    QList<Menu*> m_menus;
    [[noreturn]] void noSuchControl(const QString& name) const;

    QList<QPair<int, Control*>> m_tabOrder;
    QHash<QString, Control*> m_controls;
    QList<Button*> m_buttons;
};

} // namespace glyvex::platform
