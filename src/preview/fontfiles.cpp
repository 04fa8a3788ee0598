// Font files opened for this run: given on the command line or dropped on the Preview window.
#include "preview/frmmain.h"

#include "platform/dialogs.h"
#include "platform/errors.h"

#include <cstdio>

namespace glyvex {

using namespace platform;

namespace {
// The entry of the list that is `name`, or -1.
std::int32_t entryOf(const ComboBox& list, const QString& name)
{
    for (std::int32_t i = 0; i <= list.ListCount() - 1; ++i) {
        if (list.List(i) == name)
            return i;
    }
    return -1;
}
} // namespace

void frmMain::Form_OLEDragDrop(const QStringList& files) { openFontFiles(files); }

void frmMain::openFontFiles(const QStringList& paths)
{
    QString shown;
    QStringList problems;
    for (const QString& path : paths) {
        const auto problem = caught([&] {
            for (const QString& family : platform().fonts().addFile(path)) {
                if (shown.isEmpty())
                    shown = family;
                if (entryOf(*cboFonts, family) < 0)
                    cboFonts->AddItem(family);
            }
        });
        if (problem) {
            // A person who opened the files from a file manager sees no terminal: the message box
            // after the loop tells them too.
            std::fprintf(stderr, "glyvex: %s\n", qPrintable(*problem));
            problems.append(*problem);
        }
    }
    if (!shown.isEmpty())
        cboFonts->setListIndex(entryOf(*cboFonts, shown));
    if (!problems.isEmpty())
        platform().dialogs().messageBox(window(),
                                        QStringLiteral("Glyvex could not open these files:\n\n") + problems.join(u'\n'),
                                        MsgBoxStyle::Exclamation, QStringLiteral("Glyvex"));
}

} // namespace glyvex
