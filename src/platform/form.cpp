#include "platform/form.h"

#include "platform/errors.h"
#include "platform/formwindow.h"
#include "platform/programicon.h"
#include "platform/richtextbox.h"
#include "platform/twips.h"

#include <QMainWindow>
#include <QMenuBar>
#include <algorithm>

namespace glyvex::platform {

namespace {

// The window's background. The window's own face, like a label's, is looked up when the window
// is first shown or read: looking up a face reads the installed fonts, which on a large
// collection takes longer than making and showing a window.
class ClientArea final : public Control {
public:
    ClientArea(const ControlSpec& entry, QWidget* widget, FontSource& fonts, std::optional<FontSpec> font)
        : Control(entry, widget)
        , m_fonts(fonts)
        , m_font(std::move(font))
    {
        relayMouse();
        if (m_font)
            schedule();
    }

protected:
    void sync() override
    {
        if (m_font)
            m_widget->setFont(m_fonts.font(*m_font));
    }

private:
    FontSource& m_fonts;
    std::optional<FontSpec> m_font;
};

Qt::WindowFlags windowFlags(const FormDesign& design)
{
    if (design.borderStyle == 0)
        return Qt::Window | Qt::FramelessWindowHint;
    Qt::WindowFlags flags = (design.borderStyle == 3 ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint
        | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (design.minButton)
        flags |= Qt::WindowMinimizeButtonHint;
    if (design.maxButton)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

} // namespace

Form::Form(Platform& platform, const QString& name, const FormDesign& design)
    : m_platform(platform)
    , m_name(name)
    , m_window(new FormWindow(this))
    , m_borderStyle(design.borderStyle)
{
    QMainWindow* w = m_window;
    w->setObjectName(name);
    w->setWindowFlags(windowFlags(design));
    w->setWindowTitle(design.caption);
    w->setWindowIcon(programIcon());
    auto* client = new QWidget(w);
    w->setCentralWidget(client);
    if (design.font) {
        m_font = *design.font;
    } else {
        const QFont standard = client->font();
        m_font = {standard.family(), static_cast<float>(standard.pointSizeF()), standard.weight(), false};
    }
    if (design.backColor) {
        QPalette palette = client->palette();
        palette.setColor(QPalette::Window, *design.backColor);
        client->setPalette(palette);
        client->setAutoFillBackground(true);
    }
    m_background
        = new ClientArea(ControlSpec{.kind = ControlKind::Frame, .name = name}, client, platform.fonts(), design.font);
    m_background->setUpdateQueue(&m_updates);
    m_width = design.clientWidth;
    m_height = design.clientHeight;
}

Form::~Form()
{
    if (m_loaded)
        --m_platform.m_loadedForms; // destroyed without unloading: nothing to announce
    delete m_window.data();
}

QWidget* Form::window() const { return m_window; }
QString Form::Caption() const { return m_window ? m_window->windowTitle() : QString(); }

Control* Form::create(const ControlSpec& entry, Control* container)
{
    QWidget* parent = container ? container->widget() : m_window->centralWidget();
    Control* control = nullptr;
    switch (entry.kind) {
    case ControlKind::Label:
        control = new Label(entry, m_font, m_platform.fonts(), parent);
        break;
    case ControlKind::Frame:
        control = new Frame(entry, parent);
        break;
    case ControlKind::ComboBox:
        control = new ComboBox(entry, parent);
        break;
    case ControlKind::Button: {
        auto* button = new Button(entry, parent);
        m_buttons.append(button);
        control = button;
        break;
    }
    case ControlKind::Image:
    case ControlKind::PictureBox:
        control = new Picture(entry, parent);
        break;
    case ControlKind::Line:
        control = new Line(entry, parent);
        break;
    case ControlKind::RichTextBox:
        control = new RichTextBox(entry, m_platform.fonts(), parent);
        break;
    }
    control->setUpdateQueue(&m_updates);
    if (entry.tabIndex >= 0)
        m_tabOrder.append({entry.tabIndex, control});
    m_controls.insert(entry.name, control);
    return control;
}

void Form::createAll(std::span<const ControlSpec> table, Control* container)
{
    for (const ControlSpec& entry : table)
        create(entry, container);
}

void Form::noSuchControl(const QString& name) const
{
    throw Error(QStringLiteral("%1 has no control %2 of that kind").arg(m_name, name));
}

void Form::addMenus(std::span<const MenuSpec> table)
{
    for (const MenuSpec& row : table) {
        if (!*row.parent) {
            QMenu* qmenu = m_window->menuBar()->addMenu(QString::fromUtf8(row.caption));
            m_menus.append(new Menu(QString::fromLatin1(row.name), qmenu, this));
        } else if (Menu* parent = menu(QString::fromLatin1(row.parent))) {
            parent->addItem(QString::fromLatin1(row.name), QString::fromUtf8(row.caption),
                            QString::fromLatin1(row.shortcut), row.checked);
        }
    }
    // The menu bar is part of the window's height.
    m_height += fromPixelsY(m_window->menuBar()->sizeHint().height());
}

Menu* Form::menu(const QString& name) const
{
    for (Menu* m : m_menus) {
        if (m->Name() == name)
            return m;
    }
    return nullptr;
}

MenuItem* Form::menuItem(const QString& name) const
{
    for (Menu* m : m_menus) {
        if (MenuItem* item = m->item(name))
            return item;
    }
    throw Error(QStringLiteral("No menu item %1").arg(name));
}

void Form::applyTabOrder()
{
    std::stable_sort(m_tabOrder.begin(), m_tabOrder.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QWidget* previous = nullptr;
    for (const auto& [index, control] : m_tabOrder) {
        QWidget* w = control->widget();
        if (w->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        else
            w->setFocus(Qt::OtherFocusReason); // the lowest tab index has the focus when the window opens
        previous = w;
    }
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void Form::Load()
{
    if (m_loaded)
        return;
    if (m_unloaded)
        throw Error(QStringLiteral("%1 was unloaded; a new one has to be made to open it again").arg(m_name));
    m_loaded = true;
    m_platform.formLoaded();
    // The native window made to ask for the frame is made at the window's own size and limits:
    // a window manager may keep the size a window was created with.
    applyGeometry();
    frameKnown(m_platform.frameBeforeMapping(m_window));
    Form_Load();
}

void Form::Show()
{
    Load();
    if (!m_loaded)
        return; // unloaded by its own load handler
    // The window is mapped first and its deferred changes (faces looked up, labels sized to
    // their text) are applied before anything is drawn: a first paint comes from the event loop.
    m_window->show();
    Screen().applyPointer();
    m_updates.flush();
    frameKnown(m_platform.reportedFrame(m_window));
    applyGeometry();
}

void Form::ShowModal(Form& owner)
{
    // Owner and modality before loading: a native window made while loading (to ask for the
    // frame) is then the one that is shown, not one that reparenting replaces.
    if (m_window->parentWidget() != owner.window()) {
        const Qt::WindowFlags flags = m_window->windowFlags();
        m_window->setParent(owner.window(), flags);
        m_window->setWindowModality(Qt::ApplicationModal);
    }
    Load();
    if (!m_loaded)
        return;
    Show();
}

void Form::Hide()
{
    if (m_window)
        m_window->hide();
}

void Form::Unload()
{
    if (!m_loaded)
        return;
    int cancel = 0;
    Form_Unload(cancel);
    if (cancel != 0)
        return;
    m_loaded = false;
    m_unloaded = true;
    // The window goes with all its controls: gone for the window system and for screen
    // readers now, its memory once control is back in the event loop (the handler that
    // unloads it may still be running inside one of its controls).
    if (m_window) {
        m_window->hide();
        m_window->deleteLater();
    }
    emit unloaded();
    m_platform.formUnloaded();
}

void Form::closeRequested() { Unload(); }

void Form::acceptFiles() { m_window->setAcceptDrops(true); }

void Form::PopupMenu(Menu& menu) { m_platform.dialogs().popupMenu(m_window, menu); }

bool Form::pressButton(bool cancel)
{
    for (Button* button : m_buttons) {
        if ((cancel ? button->Cancel() : button->Default()) && button->Visible() && button->widget()->isEnabled()) {
            button->widget()->setFocus();
            emit button->Click();
            return true;
        }
    }
    return false;
}

} // namespace glyvex::platform
