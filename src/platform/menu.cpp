#include "platform/menu.h"

#include <QAction>
#include <QMenu>

namespace glyvex::platform {

MenuItem::MenuItem(const QString& name, QAction* action, QObject* parent)
    : QObject(parent)
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

void MenuItem::setChecked(bool value)
{
    m_checked = value;
    m_action->setCheckable(true);
    m_action->setChecked(value);
}

Menu::Menu(const QString& name, QMenu* menu, QObject* parent)
    : MenuItem(name, menu->menuAction(), parent)
    , m_menu(menu)
{
    menu->setObjectName(name);
}

MenuItem* Menu::addItem(const char* name, const char* caption, const char* shortcut, bool checked)
{
    const QString text = QString::fromUtf8(caption);
    QAction* action = text == QLatin1String("-") ? m_menu->addSeparator() : m_menu->addAction(text);
    if (*shortcut)
        action->setShortcut(QKeySequence(QString::fromLatin1(shortcut), QKeySequence::PortableText));
    auto* item = new MenuItem(QString::fromLatin1(name), action, this);
    if (checked)
        item->setChecked(true);
    return item;
}

} // namespace glyvex::platform
