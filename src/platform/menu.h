#pragma once
// Menus of a window's menu bar. A top-level menu also serves as the window's pop-up menu:
// the same items, raising the same Click.
#include <QObject>
#include <QString>

class QAction;
class QMenu;

namespace glyvex::platform {

class MenuItem : public QObject {
    Q_OBJECT
public:
    MenuItem(const QString& name, QAction* action, QObject* parent);
    bool Checked() const { return m_checked; }
    void setChecked(bool value);

signals:
    void Click();

private:
    QAction* m_action;
    bool m_checked = false;
};

class Menu final : public MenuItem {
    Q_OBJECT
public:
    Menu(const QString& name, QMenu* menu, QObject* parent);
    // An item of the menu; "-" as caption makes a separator. The shortcut in portable text ("Ctrl+F").
    MenuItem* addItem(const char* name, const char* caption, const char* shortcut = "", bool checked = false);
    QMenu* menu() const { return m_menu; }

private:
    QMenu* m_menu;
};

} // namespace glyvex::platform
