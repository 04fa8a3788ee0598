#pragma once
// Menus of a window's menu bar. A top-level menu also serves as the window's pop-up menu:
// the same items, raising the same Click.
#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QMenu;

namespace glyvex::platform {

class MenuItem : public QObject {
    Q_OBJECT
public:
    MenuItem(const QString& name, QAction* action, QObject* parent);
    const QString& Name() const { return m_name; }
    QString Caption() const;
    bool Checked() const;
    void setChecked(bool value);
    QString Shortcut() const;
    bool IsSeparator() const;
    QAction* action() const { return m_action; }

signals:
    void Click();

private:
    QString m_name;
    QAction* m_action;
    bool m_checked = false;
};

class Menu final : public MenuItem {
    Q_OBJECT
public:
    Menu(const QString& name, QMenu* menu, QObject* parent);
    // "-" as caption makes a separator.
    MenuItem* addItem(const QString& name, const QString& caption, const QString& shortcut = {}, bool checked = false);
    const QList<MenuItem*>& items() const { return m_items; }
    MenuItem* item(const QString& name) const;
    QMenu* menu() const { return m_menu; }

private:
    QMenu* m_menu;
    QList<MenuItem*> m_items;
};

// One row of a window's menu table: a top-level menu (empty parent) or an item of one.
struct MenuSpec {
    const char* parent;
    const char* name;
    const char* caption;
    const char* shortcut = "";
    bool checked = false;
};

} // namespace glyvex::platform
