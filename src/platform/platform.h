#pragma once
// What the windows run on: the dialogs, the installed fonts, the screen, the program's folder,
// the mouse pointer and the window system's frames. main() makes one for the desktop and hands
// it to the first window; every window reaches it through its Form. Tests make one with
// scripted dialogs and a fixed list of fonts, so nothing global is left to reset between them.
#include "platform/control.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"

#include <QMargins>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace glyvex::platform {

class Platform;

// The screen: its size in twips, the installed font names and the pointer over every window.
class ScreenObject {
public:
    float Width() const;
    float Height() const;
    // Number and names of the installed screen fonts (32-bit: no limit of 32,767), with those
    // opened for this run.
    std::int32_t FontCount() const;
    QString Fonts(std::int32_t index) const;
    // The pointer over every window of the program.
    void setMousePointer(MousePointer pointer);

private:
    friend class Platform;
    friend class Form;
    explicit ScreenObject(Platform& platform)
        : m_platform(platform)
    {
    }
    Platform& m_platform;
    // Puts the pointer asked for on screen.
    void applyPointer();
    MousePointer m_pointer = MousePointer::Default;
    MousePointer m_applied = MousePointer::Default; // the pointer on screen
};

// The application: the folder of the executable, without a trailing separator.
class AppObject {
public:
    QString Path() const { return m_path; }

private:
    friend class Platform;
    QString m_path;
};

class Platform : public QObject {
    Q_OBJECT
public:
    // appPath: the folder App.Path answers; empty: the executable's folder, links resolved.
    Platform(std::unique_ptr<Dialogs> dialogs, std::unique_ptr<FontSource> fonts, QString appPath = {});
    ~Platform() override;

    Dialogs& dialogs() const { return *m_dialogs; }
    FontSource& fonts() const { return *m_fonts; }
    ScreenObject& Screen() { return m_screen; }
    const AppObject& App() const { return m_app; }

    // The frame the window system will put around a window not shown yet, where it can tell
    // (an X11 window manager answering _NET_REQUEST_FRAME_EXTENTS), and the frame of a shown
    // one as reported now (null while not known).
    QMargins frameBeforeMapping(QWidget* window);
    QMargins reportedFrame(const QWidget* window);

    // Runs a handler; an error escaping it is shown in a message box over the active window,
    // and the program goes on.
    void runHandler(const std::function<void()>& handler);

signals:
    // The last loaded window was unloaded: the program ends.
    void lastFormUnloaded();

private:
    friend class Form;
    void formLoaded() { ++m_loadedForms; }
    void formUnloaded();

    std::unique_ptr<Dialogs> m_dialogs;
    std::unique_ptr<FontSource> m_fonts;
    ScreenObject m_screen{*this};
    AppObject m_app;
    int m_loadedForms = 0;
};

// The desktop's: Qt's dialogs, the fonts fontconfig lists, the executable's folder.
std::unique_ptr<Platform> desktopPlatform();

} // namespace glyvex::platform
