#pragma once
// Common ground of the window tests: each test function gets a platform of its own, with
// scripted dialogs (checked when the function ends) and the fonts and program folder it asks for.
#include "platform/form.h"
#include "support/scripteddialogs.h"

#include <QObject>
#include <QStringList>
#include <QWidget>
#include <optional>

namespace glyvex::testing {

class TestPlatform final : public platform::Platform {
public:
    // fonts: the installed fonts the program sees (none given: the machine's).
    explicit TestPlatform(std::optional<QStringList> fonts = {}, const QString& appPath = {});
    ScriptedDialogs& scripted() const { return static_cast<ScriptedDialogs&>(dialogs()); }
};

class GuiTest : public QObject {
    Q_OBJECT
protected:
    TestPlatform& platform() { return *m_platform; }
    ScriptedDialogs& dialogs() { return m_platform->scripted(); }
    // Starts the test over (before any window is made) with these fonts and this program folder.
    TestPlatform& usePlatform(const QStringList& fonts, const QString& appPath = {});

protected slots:
    void init() { m_platform = std::make_unique<TestPlatform>(); }
    void cleanup();

private:
    std::unique_ptr<TestPlatform> m_platform;
};

// Two installed families that render differently, for face-change checks.
QStringList twoInstalledFaces();

// Whether a window is on screen.
inline bool visible(const platform::Form& form) { return form.window() && form.window()->isVisible(); }

// Chooses a menu item of a window, by its name, as a click on it does.
void choose(const platform::Form& form, const char* item);

} // namespace glyvex::testing
