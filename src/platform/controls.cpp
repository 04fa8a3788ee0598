#include "platform/controls.h"

#include "platform/errors.h"
#include "platform/twips.h"

#include <QAbstractListModel>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCollator>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

namespace glyvex::platform {

namespace {

QList<QPointer<Control>>& pendingControls()
{
    static QList<QPointer<Control>> pending;
    return pending;
}

bool g_flushPosted = false;

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int buttonsCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

class LineWidget final : public QWidget {
public:
    LineWidget(QWidget* parent, std::optional<QColor> color)
        : QWidget(parent)
        , m_color(color)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QPen(m_color.value_or(palette().color(QPalette::WindowText)), 1));
        if (width() >= height())
            painter.drawLine(0, height() / 2, width(), height() / 2);
        else
            painter.drawLine(width() / 2, 0, width() / 2, height());
    }

private:
    std::optional<QColor> m_color;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Control

Control::Control(const ControlSpec& entry, QWidget* widget)
    : QObject(widget)
    , m_name(entry.name)
    , m_widget(widget)
    , m_rect(entry.rect)
    , m_visible(entry.visible)
{
    widget->setObjectName(entry.name);
    if (!entry.toolTip.isEmpty())
        widget->setToolTip(entry.toolTip);
    // What a screen reader says: the caption a person sees, else the tooltip, else the control's
    // role read from its name; a tooltip is also the description. (Labels keep their name in
    // step with their caption.)
    m_spokenName = entry.toolTip.isEmpty() ? spokenName(entry.name) : entry.toolTip;
    widget->setAccessibleDescription(entry.toolTip);
    if (entry.kind != ControlKind::Label)
        widget->setAccessibleName(entry.caption.isEmpty() ? m_spokenName : Label::stripAccessKeys(entry.caption));
    if (entry.mousePointer != 0)
        setMousePointer(entry.mousePointer);
    applyGeometry();
    widget->setVisible(entry.visible);
}

Control::~Control() = default;

QString Control::spokenName(const QString& name)
{
    // "fraLetters" -> "Letters", "rtfReadMe" -> "Read Me", "Image2" -> "Image 2", "Line1(1)" -> "Line 1"
    QString base = name.section(u'(', 0, 0);
    qsizetype start = 0;
    while (start < base.size() && base[start].isLower())
        ++start;
    if (start == base.size() || !base[start].isUpper())
        start = 0; // no kind prefix: all of it is the role
    QString spoken;
    for (qsizetype i = start; i < base.size(); ++i) {
        const QChar c = base[i];
        if (!spoken.isEmpty() && i > start
            && ((c.isUpper() && base[i - 1].isLower()) || (c.isDigit() && !base[i - 1].isDigit())))
            spoken.append(u' ');
        spoken.append(c);
    }
    return spoken;
}

float Control::Width() const
{
    if (m_pending)
        const_cast<Control*>(this)->sync();
    return m_rect.width;
}

float Control::Height() const
{
    if (m_pending)
        const_cast<Control*>(this)->sync();
    return m_rect.height;
}

void Control::setLeft(float value)
{
    m_rect.left = value;
    applyGeometry();
}

void Control::setTop(float value)
{
    m_rect.top = value;
    applyGeometry();
}

void Control::setWidth(float value)
{
    m_rect.width = value;
    applyGeometry();
}

void Control::setHeight(float value)
{
    m_rect.height = value;
    applyGeometry();
}

void Control::setVisible(bool value)
{
    m_visible = value;
    m_widget->setVisible(value);
}

void Control::setToolTip(const QString& text)
{
    m_widget->setToolTip(text);
    m_widget->setAccessibleDescription(text);
}

void Control::setMousePointer(int code)
{
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (code) {
    case 0: break;
    case 1: shape = Qt::ArrowCursor; break;
    case 2: shape = Qt::CrossCursor; break;
    case 3: shape = Qt::IBeamCursor; break;
    case 10: shape = Qt::UpArrowCursor; break;
    case 11: shape = Qt::WaitCursor; break;
    case 13: shape = Qt::BusyCursor; break;
    default: throw Error(QStringLiteral("Invalid property value: mouse pointer %1").arg(code));
    }
    m_mousePointer = code;
    if (code == 0)
        m_widget->unsetCursor();
    else
        m_widget->setCursor(shape);
}

void Control::applyGeometry()
{
    const int left = toPixelsX(m_rect.left);
    const int top = toPixelsY(m_rect.top);
    const int right = toPixelsX(m_rect.left + m_rect.width);
    const int bottom = toPixelsY(m_rect.top + m_rect.height);
    m_widget->setGeometry(left, top, std::max(1, right - left), std::max(1, bottom - top));
}

void Control::schedule()
{
    if (m_pending)
        return;
    m_pending = true;
    pendingControls().append(this);
    if (!g_flushPosted) {
        g_flushPosted = true;
        QMetaObject::invokeMethod(qApp, [] { Control::flushPending(); }, Qt::QueuedConnection);
    }
}

void Control::flushPending()
{
    g_flushPosted = false;
    const QList<QPointer<Control>> pending = std::exchange(pendingControls(), {});
    for (const QPointer<Control>& control : pending) {
        if (control && control->m_pending)
            control->sync();
    }
}

void Control::relayMouse()
{
    m_widget->installEventFilter(this);
}

void Control::connectNotify(const QMetaMethod& signal)
{
    if (signal == QMetaMethod::fromSignal(&Control::MouseMove))
        m_widget->setMouseTracking(true);
    // A label that does something when clicked (a link) is also reached with Tab and pressed
    // with the space bar, so that no command needs the mouse.
    if (signal == QMetaMethod::fromSignal(&Control::Click) && qobject_cast<QLabel*>(m_widget))
        m_widget->setFocusPolicy(Qt::TabFocus);
}

bool Control::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_widget)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_pressed = mouse->button() == Qt::LeftButton;
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF at = mouse->position();
        const bool click = m_pressed && mouse->button() == Qt::LeftButton && m_widget->rect().contains(at.toPoint());
        m_pressed = false;
        emit MouseUp(buttonCode(mouse->button()), shiftCode(mouse->modifiers()),
                     static_cast<float>(at.x()) * twipsPerPixelX(), static_cast<float>(at.y()) * twipsPerPixelY());
        if (click)
            emit Click();
        return true;
    }
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && m_widget->focusPolicy() == Qt::TabFocus
            && qobject_cast<QLabel*>(m_widget)) {
            emit Click();
            return true;
        }
        return false;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            emit DblClick();
        return true;
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF at = mouse->position();
        emit MouseMove(buttonsCode(mouse->buttons()), shiftCode(mouse->modifiers()),
                       static_cast<float>(at.x()) * twipsPerPixelX(), static_cast<float>(at.y()) * twipsPerPixelY());
        return true;
    }
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Label

Label::Label(const ControlSpec& entry, const FontSpec& font, QWidget* parent)
    : Control(entry, new QLabel(parent))
    , m_font(entry.font.value_or(font))
    , m_caption(entry.caption)
    , m_foreColor(entry.foreColor)
    , m_borderStyle(entry.borderStyle)
    , m_autoSize(entry.autoSize)
    , m_transparent(entry.transparent)
    , m_spokenWithFace(entry.spokenWithFace)
{
    QLabel* l = label();
    l->setTextFormat(Qt::PlainText);
    // Qt would indent the text of a bordered label by half an "x", beyond its measured size.
    l->setIndent(0);
    l->setWordWrap(entry.wordWrap);
    l->setAlignment((entry.alignment == Align::Center ? Qt::AlignHCenter
                         : entry.alignment == Align::Right ? Qt::AlignRight
                                                          : Qt::AlignLeft)
                    | Qt::AlignTop);
    l->setAutoFillBackground(!m_transparent);
    // Only the colours the window names are fixed; the others stay the palette's, so that the
    // label follows the desktop's theme (light text on a dark window, and so on).
    if (m_foreColor)
        setForeColor(*m_foreColor);
    if (entry.backColor) {
        QPalette palette = l->palette();
        palette.setColor(QPalette::Window, *entry.backColor);
        l->setPalette(palette);
    }
    relayMouse();
    sync();
}

QLabel* Label::label() const { return static_cast<QLabel*>(m_widget); }

QString Label::stripAccessKeys(const QString& caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i; // "&x" shows x, "&&" shows "&"
        shown.append(caption[i]);
    }
    return shown;
}

QString Label::literal(const QString& text)
{
    QString caption = text;
    return caption.replace(u'&', QLatin1String("&&"));
}

QString Label::shownText() const { return stripAccessKeys(m_caption); }

QFont Label::shownFont()
{
    if (m_pending)
        sync();
    return label()->font();
}

void Label::setCaption(const QString& caption)
{
    m_caption = caption;
    schedule();
}

void Label::setFontName(const QString& name)
{
    m_font.name = name;
    schedule();
}

void Label::setFontSize(float points)
{
    m_font.size = points;
    schedule();
}

QColor Label::ForeColor() const { return m_foreColor.value_or(label()->palette().color(QPalette::WindowText)); }

void Label::setForeColor(const QColor& color)
{
    m_foreColor = color;
    QPalette palette = label()->palette();
    palette.setColor(QPalette::WindowText, color);
    label()->setPalette(palette);
}

void Label::setBorderStyle(int style)
{
    m_borderStyle = style;
    schedule();
}

void Label::sync()
{
    m_pending = false;
    QLabel* l = label();
    const QFont font = toQFont(m_font);
    l->setFont(font);
    l->setFrameShape(m_borderStyle == 1 ? QFrame::Box : QFrame::NoFrame);
    const QString text = shownText();
    l->setText(text);
    // A character shown in two faces side by side is told apart by its face: "A in Arial".
    l->setAccessibleName(text.isEmpty() ? m_spokenName
                             : m_spokenWithFace ? QStringLiteral("%1 in %2").arg(text, m_font.name)
                                                : text);
    if (m_autoSize && l->wordWrap()) {
        // A label that wraps keeps its width and takes the height of its lines.
        m_rect.height = fromPixelsY(std::max(l->heightForWidth(l->width()), 2 * l->frameWidth()));
        applyGeometry();
    } else if (m_autoSize) {
        const QFontMetricsF metrics(font);
        const int frame = 2 * l->frameWidth();
        const int width = text.isEmpty() ? frame : static_cast<int>(std::ceil(metrics.horizontalAdvance(text))) + frame;
        const int height = static_cast<int>(std::ceil(metrics.height())) + frame;
        m_rect.width = fromPixelsX(width);
        m_rect.height = fromPixelsY(height);
        applyGeometry();
    }
}

// ---------------------------------------------------------------------------------------------
// Frame

Frame::Frame(const ControlSpec& entry, QWidget* parent)
    : Control(entry, new QFrame(parent))
{
    static_cast<QFrame*>(m_widget)->setFrameShape(entry.borderStyle == 1 ? QFrame::Box : QFrame::NoFrame);
    relayMouse();
}

// ---------------------------------------------------------------------------------------------
// ComboBox: the entries live in a model of our own, so that thousands of additions cost no
// widget work; the widget is brought up to date once, before it is next shown or used.

namespace {
// The user's locale; the C locale (no locale set) would order by code point, putting every
// capital before every small letter, so English rules stand in for it.
QLocale collationLocale()
{
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale;
}
} // namespace

class FontListModel final : public QAbstractListModel {
public:
    explicit FontListModel(QObject* parent)
        : QAbstractListModel(parent)
        , m_collator(collationLocale())
    {
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
        m_collator.setNumericMode(true);
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_shown);
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= static_cast<int>(m_shown))
            return {};
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return m_items.at(index.row());
        return {};
    }

    // Puts the entry in its sorted place and returns that row.
    qsizetype add(const QString& item)
    {
        sort();
        QCollatorSortKey key = m_collator.sortKey(item);
        const auto at = std::upper_bound(m_keys.begin(), m_keys.end(), key, less);
        const qsizetype row = at - m_keys.begin();
        m_keys.insert(row, std::move(key));
        m_items.insert(row, item);
        return row;
    }

    // Adds the entry, to be sorted in when the list is next read: thousands of additions in a
    // row cost one sort, not a shift of the whole list each. The order is that of add().
    void append(const QString& item)
    {
        m_unsorted.append({m_collator.sortKey(item), item});
    }

    qsizetype count() const { return m_items.size() + m_unsorted.size(); }
    const QString& at(qsizetype row)
    {
        sort();
        return m_items.at(row);
    }
    bool stale() const { return m_shown != count(); }

    void publish()
    {
        sort();
        beginResetModel();
        m_shown = m_items.size();
        endResetModel();
    }

private:
    static bool less(const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b) < 0; }

    void sort()
    {
        if (m_unsorted.isEmpty())
            return;
        // Equal entries keep the order they were added in, after those already listed.
        std::stable_sort(m_unsorted.begin(), m_unsorted.end(),
                         [](const Entry& a, const Entry& b) { return less(a.key, b.key); });
        QList<QCollatorSortKey> keys;
        QStringList items;
        keys.reserve(count());
        items.reserve(count());
        qsizetype old = 0;
        for (Entry& entry : m_unsorted) {
            while (old < m_keys.size() && !less(entry.key, m_keys[old])) {
                keys.append(std::move(m_keys[old]));
                items.append(std::move(m_items[old]));
                ++old;
            }
            keys.append(std::move(entry.key));
            items.append(std::move(entry.item));
        }
        for (; old < m_keys.size(); ++old) {
            keys.append(std::move(m_keys[old]));
            items.append(std::move(m_items[old]));
        }
        m_keys = std::move(keys);
        m_items = std::move(items);
        m_unsorted.clear();
    }

    struct Entry {
        QCollatorSortKey key;
        QString item;
    };
private:
    QCollator m_collator;
    QStringList m_items;
    QList<QCollatorSortKey> m_keys;
    QList<Entry> m_unsorted;
    qsizetype m_shown = 0;
};

namespace {

class ListWidget final : public QComboBox {
public:
    using QComboBox::QComboBox;
};

// What a screen reader hears of a list: its name says what the list is for (its tooltip, "Select
// Font"), its value is the entry shown. (Qt on Linux would speak the entry as the name as well.)
class ListAccessible final : public QAccessibleWidget {
public:
    explicit ListAccessible(QComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox)
    {
    }
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() == list()->view() ? 0 : -1;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? list()->currentText() : QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return QStringList{showMenuAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override
    {
        if (action != showMenuAction())
            QAccessibleWidget::doAction(action);
        else if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }
};

QAccessibleInterface* listAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("QComboBox"))
        if (auto* list = dynamic_cast<ListWidget*>(object))
            return new ListAccessible(list);
    return nullptr;
}

} // namespace

ComboBox::ComboBox(const ControlSpec& entry, QWidget* parent)
    : Control(entry, new ListWidget(parent))
    , m_model(new FontListModel(this))
{
    static const bool spoken = (QAccessible::installFactory(&listAccessible), true);
    Q_UNUSED(spoken);
    QComboBox* c = combo();
    c->setModel(m_model);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(1);
    if (auto* view = qobject_cast<QListView*>(c->view()))
        view->setUniformItemSizes(true);
    c->setFocusPolicy(Qt::StrongFocus);
    // Every pick by the user raises Click, also of the entry already shown.
    connect(c, &QComboBox::activated, this, &ComboBox::picked);
}

QComboBox* ComboBox::combo() const { return static_cast<QComboBox*>(m_widget); }

void ComboBox::AddItem(const QString& item)
{
    if (m_listIndex < 0) {
        m_model->append(item);
    } else if (m_model->add(item) <= m_listIndex) {
        ++m_listIndex; // the selected entry stays selected
    }
    schedule();
}

std::int32_t ComboBox::ListCount() const { return static_cast<std::int32_t>(m_model->count()); }

QString ComboBox::Text() const
{
    return m_listIndex >= 0 && m_listIndex < m_model->count() ? m_model->at(m_listIndex) : QString();
}

QString ComboBox::List(std::int32_t index) const
{
    return index >= 0 && index < m_model->count() ? m_model->at(index) : QString();
}

void ComboBox::setListIndex(std::int32_t index)
{
    if (index < -1 || index >= m_model->count())
        throw Error(QStringLiteral("Invalid property value: list index %1").arg(index));
    m_listIndex = index;
    schedule();
    emit Click();
}

void ComboBox::sync()
{
    m_pending = false;
    const QSignalBlocker blocker(combo());
    if (m_model->stale())
        m_model->publish();
    combo()->setCurrentIndex(m_listIndex);
}

void ComboBox::picked(int index)
{
    if (index < 0)
        return;
    m_listIndex = index;
    emit Click();
}

// ---------------------------------------------------------------------------------------------
// Button

Button::Button(const ControlSpec& entry, QWidget* parent)
    : Control(entry, new QPushButton(entry.caption, parent))
    , m_default(entry.isDefault)
    , m_cancel(entry.isCancel)
{
    QPushButton* b = button();
    b->setFocusPolicy(Qt::StrongFocus);
    b->setAutoDefault(false);
    b->setDefault(m_default);
    if (!entry.picture.isEmpty()) {
        b->setIcon(QIcon(entry.picture));
        b->setIconSize(QSize(32, 32));
        b->setFlat(true);
    }
    if (entry.backColor) {
        QPalette palette = b->palette();
        palette.setColor(QPalette::Button, *entry.backColor);
        b->setPalette(palette);
        b->setAutoFillBackground(true);
    }
    connect(b, &QPushButton::clicked, this, &Control::Click);
}

QPushButton* Button::button() const { return static_cast<QPushButton*>(m_widget); }

QString Button::Caption() const { return button()->text(); }

void Button::setDefault(bool value)
{
    m_default = value;
    button()->setDefault(value);
}

void Button::SetFocus()
{
    if (!m_visible)
        throw Error(QStringLiteral("Invalid procedure call or argument: %1 is hidden and cannot take the focus").arg(m_name));
    m_widget->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------------------------
// Picture and Line

Picture::Picture(const ControlSpec& entry, QWidget* parent)
    : Control(entry, new QLabel(parent))
{
    auto* l = static_cast<QLabel*>(m_widget);
    const QPixmap pixmap(entry.picture);
    l->setPixmap(pixmap);
    if (entry.kind == ControlKind::Image) {
        l->setScaledContents(true);
    } else {
        m_rect.width = fromPixelsX(pixmap.width());
        m_rect.height = fromPixelsY(pixmap.height());
        applyGeometry();
    }
    if (entry.backColor) {
        QPalette palette = l->palette();
        palette.setColor(QPalette::Window, *entry.backColor);
        l->setPalette(palette);
        l->setAutoFillBackground(true);
    }
    relayMouse();
}

Line::Line(const ControlSpec& entry, QWidget* parent)
    : Control(entry, new LineWidget(parent, entry.foreColor))
{
}

} // namespace glyvex::platform
