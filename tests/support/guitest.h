#pragma once
// Common ground of the window tests: scripted dialogs and a chosen font list in place of the
// machine's, checked and reset around every test function.
#include "platform/fonts.h"
#include "support/scripteddialogs.h"

#include <QObject>
#include <QStringList>

namespace glyvex::testing {

class FixedFontSource final : public platform::FontSource {
public:
    explicit FixedFontSource(QStringList names)
        : m_names(std::move(names))
    {
    }
    QStringList families() override { return m_names; }

private:
    QStringList m_names;
};

// Replaces the installed fonts the program sees.
void useFonts(const QStringList& names);

class GuiTest : public QObject {
    Q_OBJECT
protected:
    ScriptedDialogs& dialogs() { return *m_dialogs; }

protected slots:
    void init();
    void cleanup();

private:
    ScriptedDialogs* m_dialogs = nullptr;
};

// Whether a font family is installed here (some checks need a real second face).
bool installed(const QString& family);
// Two installed families that render differently, for face-change checks.
QStringList twoInstalledFaces();

} // namespace glyvex::testing
