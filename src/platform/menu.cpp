#include "platform/menu.h"

#include <QAction>
#include <QMenu>

namespace glyvex::platform {

MenuItem::MenuItem(const QString& name, QAction* action, QObject* parent)
    : QObject(parent)
    , m_name(name)
    , m_action(action)
{
    action->setObjectName(name);
    m_checked = action->isChecked();
    connect(action, &QAction::triggered, this, [this] {
        // A check mark changes only when a handler sets it, never by itself on a click.
        if (m_action->isCheckable() && m_action->isChecked() != m_checked)
            m_action->setChecked(m_checked);
        emit Click();
    });
}

QString MenuItem::Caption() const { return m_action->isSeparator() ? QStringLiteral("-") : m_action->text(); }
bool MenuItem::Checked() const { return m_checked; }

void MenuItem::setChecked(bool value)
{
    m_checked = value;
    m_action->setCheckable(true);
    m_action->setChecked(value);
}

QString MenuItem::Shortcut() const { return m_action->shortcut().toString(QKeySequence::PortableText); }
bool MenuItem::IsSeparator() const { return m_action->isSeparator(); }

Menu::Menu(const QString& name, QMenu* menu, QObject* parent)
    : MenuItem(name, menu->menuAction(), parent)
    , m_menu(menu)
{
    menu->setObjectName(name);
}

MenuItem* Menu::addItem(const QString& name, const QString& caption, const QString& shortcut, bool checked)
{
    QAction* action = caption == QLatin1String("-") ? m_menu->addSeparator() : m_menu->addAction(caption);
    if (!shortcut.isEmpty())
        action->setShortcut(QKeySequence(shortcut, QKeySequence::PortableText));
    auto* item = new MenuItem(name, action, this);
    if (checked)
        item->setChecked(true);
    m_items.append(item);
    return item;
}

MenuItem* Menu::item(const QString& name) const
{
    for (MenuItem* item : m_items) {
        if (item->Name() == name)
            return item;
    }
    return nullptr;
}

} // namespace glyvex::platform
