#include "platform/form.h"

#include "platform/errors.h"
#include "platform/formwindow.h"
#include "platform/programicon.h"
#include "platform/richtextbox.h"
#include "platform/twips.h"

#include <QApplication>
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
    ClientArea(const ControlSpec& entry, QWidget* widget, UpdateQueue* updates, FontSource& fonts,
               std::optional<FontSpec> font)
        : Control(entry, widget, updates)
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
    if (design.borderStyle == BorderStyle::None)
        return Qt::Window | Qt::FramelessWindowHint;
    Qt::WindowFlags flags = (design.borderStyle == BorderStyle::FixedDialog ? Qt::Dialog : Qt::Window)
        | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (design.minButton)
        flags |= Qt::WindowMinimizeButtonHint;
    if (design.maxButton)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

} // namespace

Form::Form(Platform& platform, const QString& name, const FormDesign& design)
    : m_platform(platform)
    , m_window(new FormWindow(this))
    , m_borderStyle(design.borderStyle)
{
    setObjectName(name);
    QMainWindow* w = m_window;
    w->setObjectName(name);
    w->setWindowFlags(windowFlags(design));
    w->setWindowTitle(design.caption);
    auto* client = new QWidget(w);
    w->setCentralWidget(client);
    if (design.font) {
        m_font = *design.font;
    } else {
        const QFont standard = client->font();
        m_font = {standard.family(), static_cast<float>(standard.pointSizeF()), standard.weight(), false};
    }
    if (design.backColor)
        paintBackground(client, *design.backColor);
    m_background = new ClientArea(ControlSpec{.name = name}, client, &m_updates, platform.fonts(), design.font);
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

QWidget* Form::parentFor(Control* container) const
{
    return container ? container->widget() : m_window->centralWidget();
}

void Form::added(Control* control, int tabIndex)
{
    if (tabIndex >= 0)
        m_tabOrder.append({tabIndex, control});
    if (auto* button = qobject_cast<Button*>(control))
        m_buttons.append(button);
}

Menu* Form::addMenu(const char* name, const char* caption)
{
    QMenuBar* bar = m_window->menuBar();
    auto* menu = new Menu(QString::fromLatin1(name), bar->addMenu(QString::fromUtf8(caption)), this);
    if (!std::exchange(m_hasMenuBar, true))
        m_height += fromPixelsY(bar->sizeHint().height());
    return menu;
}

void Form::popupOnRightButton(Menu& menu, const QList<Control*>& over)
{
    for (Control* control : over) {
        connect(control, &Control::MouseUp, this, [this, &menu](MouseButton button) {
            if (button == MouseButton::Right)
                m_platform.runHandler([&] { PopupMenu(menu); });
        });
    }
}

void Form::trapErrors(const std::function<void()>& steps, const std::function<void(const QString&)>& branch)
{
    if (const auto message = caught(steps))
        branch(*message);
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
        throw Error(QStringLiteral("%1 was unloaded; a new one has to be made to open it again").arg(objectName()));
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
    // The program icon of every window, given once the first window is on its way to the window
    // system: turning it into the sizes the desktop asks for takes a few milliseconds.
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(programIcon());
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
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel)
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
