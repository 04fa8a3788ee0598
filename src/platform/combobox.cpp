#include "platform/combobox.h"

#include "platform/collation.h"
#include "platform/errors.h"

#include <QAbstractListModel>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCollator>
#include <QComboBox>
#include <QListView>
#include <QSignalBlocker>
#include <algorithm>

namespace glyvex::platform {

// The entries live in a model of our own, so that thousands of additions cost no
// widget work; the widget is brought up to date once, before it is next shown or used.

class SortedListModel final : public QAbstractListModel {
public:
    explicit SortedListModel(QObject* parent)
        : QAbstractListModel(parent)
        , m_collator(peopleOrder())
    {
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
        sortPending();
        QCollatorSortKey key = m_collator.sortKey(item);
        const auto at = std::upper_bound(m_keys.begin(), m_keys.end(), key, less);
        const qsizetype row = at - m_keys.begin();
        m_keys.insert(row, std::move(key));
        m_items.insert(row, item);
        return row;
    }

    // Adds the entry, to be sorted in when the list is next read: thousands of additions in a
    // row cost one sort, not a shift of the whole list each. The order is that of add().
    void append(const QString& item) { m_unsorted.append({m_collator.sortKey(item), item}); }

    qsizetype count() const { return m_items.size() + m_unsorted.size(); }
    const QString& at(qsizetype row)
    {
        sortPending();
        return m_items.at(row);
    }
    bool stale() const { return m_shown != count(); }

    void publish()
    {
        sortPending();
        beginResetModel();
        m_shown = m_items.size();
        endResetModel();
    }

private:
    static bool less(const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b) < 0; }

    void sortPending()
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
    QStringList actionNames() const override
    {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
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

// A new list, with what screen readers hear of it in place first: an interface Qt makes for the
// widget while it is being built would be kept for good.
ListWidget* newList(QWidget* parent)
{
    static const bool spoken = (QAccessible::installFactory(&listAccessible), true);
    Q_UNUSED(spoken);
    return new ListWidget(parent);
}

} // namespace

ComboBox::ComboBox(const ControlSpec& entry, const ControlHost& host, QWidget* parent)
    : Control(entry, newList(parent), host.updates)
    , m_model(new SortedListModel(this))
{
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

} // namespace glyvex::platform
