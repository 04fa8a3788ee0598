#include "platform/form.h"

#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/programicon.h"
#include "platform/richtextbox.h"
#include "platform/twips.h"
#include "platform/windowframe.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <algorithm>

namespace glyvex::platform {

namespace {

// Fixed single (1) and fixed dialog (3): the user cannot resize the window.
bool fixedBorder(int borderStyle) { return borderStyle == 1 || borderStyle == 3; }

// The window's background. The window's own face, like a label's, is looked up when the window
// is first shown or read: looking up a face reads the installed fonts, which on a large
// collection takes longer than making and showing a window.
class ClientArea final : public Control {
public:
    ClientArea(const ControlSpec& entry, QWidget* widget, std::optional<FontSpec> font)
        : Control(entry, widget)
        , m_font(std::move(font))
    {
        relayMouse();
        if (m_font)
            schedule();
    }

protected:
    void sync() override
    {
        m_pending = false;
        if (m_font)
            m_widget->setFont(toQFont(*m_font));
    }

private:
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

class FormWindow final : public QMainWindow {
public:
    explicit FormWindow(Form* form)
        : m_form(form)
    {
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        if (m_form)
            runHandler([this] { m_form->closeRequested(); });
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QMainWindow::resizeEvent(event);
        if (m_form)
            m_form->systemGeometryChanged();
    }
    void moveEvent(QMoveEvent* event) override
    {
        QMainWindow::moveEvent(event);
        if (m_form)
            m_form->systemGeometryChanged();
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        const int key = event->key();
        if (m_form && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_form->pressButton(false))
                return;
            if (key == Qt::Key_Escape && m_form->pressButton(true))
                return;
        }
        QMainWindow::keyPressEvent(event);
    }

private:
    QPointer<Form> m_form;
};

Forms& Forms::instance()
{
    static Forms forms;
    return forms;
}

Form::Form(const QString& name, const FormDesign& design)
    : m_name(name)
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
    m_background = new ClientArea(ControlSpec{.kind = ControlKind::Frame, .name = name}, client, design.font);
    m_width = design.clientWidth;
    m_height = design.clientHeight;
}

Form::~Form()
{
    if (m_loaded && Forms::instance().m_loaded > 0)
        --Forms::instance().m_loaded;
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
        control = new Label(entry, m_font, parent);
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
        control = new RichTextBox(entry, parent);
        break;
    }
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
// Geometry

void Form::setLeft(float value)
{
    m_left = value;
    applyGeometry();
}

void Form::setTop(float value)
{
    m_top = value;
    applyGeometry();
}

void Form::setWidth(float value)
{
    m_width = value;
    m_widthSet = true;
    applyGeometry();
}

void Form::setHeight(float value)
{
    m_height = value;
    m_heightSet = true;
    applyGeometry();
}

void Form::applyGeometry()
{
    QMainWindow* w = m_window;
    m_applying = true;
    if (w->layout())
        w->layout()->activate();
    const QSize smallest = w->minimumSizeHint().expandedTo(QSize(1, 1));
    const int frameWidth = m_frame.left() + m_frame.right();
    const int frameHeight = m_frame.top() + m_frame.bottom();
    const int width = std::max(toPixelsX(m_width) - frameWidth, smallest.width());
    const int height = std::max(toPixelsY(m_height) - frameHeight, smallest.height());
    if (fixedBorder(m_borderStyle))
        w->setFixedSize(width, height);
    else
        w->resize(width, height);
    // Left and Top place the frame, with the frame this program knows: the toolkit's own idea
    // of it may lag behind (X11 before the window manager reparents).
    const QPoint toolkitFrame = w->geometry().topLeft() - w->frameGeometry().topLeft();
    w->move(QPoint(toPixelsX(m_left) + m_frame.left(), toPixelsY(m_top) + m_frame.top()) - toolkitFrame);
    m_applying = false;
    // A height below the smallest the window can have reads back as the real height.
    const int realHeight = w->height() + frameHeight;
    if (realHeight > toPixelsY(m_height))
        m_height = fromPixelsY(realHeight);
}

// The window system told the frame (again). A size nobody has set keeps its client area, so
// the outer size grows by the frame; a size that was set stays the outer size. A window that
// has had a frame keeps it when a later report has none (X11 maps before it reparents).
void Form::frameKnown(QMargins frame)
{
    if (frame.isNull() || frame == m_frame)
        return;
    if (!m_widthSet)
        m_width += fromPixelsX(frame.left() + frame.right() - m_frame.left() - m_frame.right());
    if (!m_heightSet)
        m_height += fromPixelsY(frame.top() + frame.bottom() - m_frame.top() - m_frame.bottom());
    m_frame = frame;
    applyGeometry();
}

void Form::systemGeometryChanged()
{
    if (m_applying || !m_window->isVisible())
        return;
    const QMargins frame = reportedFrame(m_window);
    if (!frame.isNull() && frame != m_frame) {
        frameKnown(frame);
        return;
    }
    // A change the user or the window system made: take it over, unless it is only the
    // pixel rounding of the value last written. A fixed-border window keeps its size.
    const QRect outer = m_window->geometry().marginsAdded(m_frame);
    if (fixedBorder(m_borderStyle) && (toPixelsX(m_width) != outer.width() || toPixelsY(m_height) != outer.height())) {
        applyGeometry();
        return;
    }
    if (toPixelsX(m_width) != outer.width()) {
        m_width = fromPixelsX(outer.width());
        m_widthSet = true;
    }
    if (toPixelsY(m_height) != outer.height()) {
        m_height = fromPixelsY(outer.height());
        m_heightSet = true;
    }
    if (toPixelsX(m_left) != outer.x())
        m_left = fromPixelsX(outer.x());
    if (toPixelsY(m_top) != outer.y())
        m_top = fromPixelsY(outer.y());
}

std::int16_t Form::WindowState() const
{
    const Qt::WindowStates state = m_window->windowState();
    if (state & Qt::WindowMinimized)
        return 1;
    if (state & Qt::WindowMaximized)
        return 2;
    return 0;
}

bool Form::Visible() const { return m_window && m_window->isVisible(); }

// ---------------------------------------------------------------------------------------------
// Life cycle

void Form::Load()
{
    if (m_loaded)
        return;
    if (m_unloaded)
        throw Error(QStringLiteral("%1 was unloaded; a new one has to be made to open it again").arg(m_name));
    m_loaded = true;
    ++Forms::instance().m_loaded;
    // The native window made to ask for the frame is made at the window's own size and limits:
    // a window manager may keep the size a window was created with.
    applyGeometry();
    frameKnown(frameBeforeMapping(m_window));
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
    Control::flushPending();
    frameKnown(reportedFrame(m_window));
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
    Forms& forms = Forms::instance();
    if (--forms.m_loaded == 0)
        emit forms.lastFormUnloaded();
}

void Form::closeRequested() { Unload(); }

void Form::PopupMenu(Menu& menu) { dialogs().popupMenu(m_window, menu); }

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
