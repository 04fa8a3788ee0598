#include "platform/richtextbox.h"

#include "formats/rtfwriter.h"
#include "formats/textdecode.h"
#include "platform/errors.h"
#include "platform/filereading.h"
#include "platform/toolkit.h"
#include "platform/textview.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace glyvex::platform {

namespace {

[[noreturn]] void saveFailed(const QString& path, const QString& reason)
{
    throw Error(QStringLiteral("Cannot save %1: %2.").arg(displayName(path), reason));
}

// Why a document cannot be written at a path, read from the file and its folder: the error of the
// new file the document is first written to, beside the old one, names neither ("No such file
// or directory" for a folder that takes no new file). `otherwise` when none of them tells.
QString whyNotSaved(const QString& path, const QString& otherwise)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QByteArray folderName = QFile::encodeName(folder), fileName = QFile::encodeName(path);
    const QString inFolder = displayName(folder);
    struct stat status { };
    if (::stat(folderName.constData(), &status) != 0)
        return errno == EACCES ? QStringLiteral("permission denied: the folder %1 cannot be opened").arg(inFolder)
                               : QStringLiteral("the folder %1 does not exist").arg(inFolder);
    if (!S_ISDIR(status.st_mode))
        return QStringLiteral("%1 is not a folder").arg(inFolder);
    struct statvfs disk { };
    const bool known = ::statvfs(folderName.constData(), &disk) == 0;
    const bool exists = QFileInfo::exists(path);
    if (known && (disk.f_flag & ST_RDONLY))
        return QStringLiteral("the folder %1 is on a read-only file system").arg(inFolder);
    if (known && disk.f_blocks == 0) // /proc, /sys: what is there, the system makes
        return exists
            ? QStringLiteral("it is not a regular file: the system makes it, and it cannot be replaced")
            : QStringLiteral("the folder %1 takes no new files: the system makes what is in it").arg(inFolder);
    if (::access(folderName.constData(), W_OK | X_OK) != 0)
        return QStringLiteral("permission denied: no new file can be made in the folder %1").arg(inFolder);
    if (exists && ::access(fileName.constData(), W_OK) != 0)
        return QStringLiteral("permission denied: the file is protected against changes");
    if (known && (::geteuid() == 0 ? disk.f_bfree : disk.f_bavail) == 0)
        return QStringLiteral("no space left on the disk");
    return otherwise;
}

} // namespace

RichTextBox::RichTextBox(const ControlSpec& entry, const ControlHost& host, QWidget* parent)
    : Control(entry, new TextView(parent), host.updates)
    , m_fonts(host.fonts)
    , m_font(entry.font.value_or(FontSpec{QStringLiteral("Arial"), 10.0f, 400}))
{
    paintBackground(view()->viewport(), entry.backColor.value_or(systemColor(SystemColor::WindowBackground)),
                    QPalette::Base);
    applyFont();
}

TextView* RichTextBox::view() const { return static_cast<TextView*>(m_widget); }

void RichTextBox::LoadFile(const QString& path)
{
    QString text
        = formats::decodeText(readWholeFile(path, MaxFileBytes)); // the bytes are gone before the text is shown
    setText(text);
}

void RichTextBox::SaveFile(const QString& path)
{
    if (path.isEmpty())
        saveFailed(path, QStringLiteral("no file name was given"));
    const QFileInfo target(path); // a link is judged by what it points to
    if (target.isDir())
        saveFailed(path, QStringLiteral("it is a folder"));
    // Only a file is ever replaced: a device or a pipe in its place would be swapped for a
    // regular file by the rename below.
    if (target.exists() && !target.isFile())
        saveFailed(path, QStringLiteral("it is not a regular file, and only files are replaced"));
    // The document goes to a new file that replaces the old one only when complete. Writes
    // are unbuffered, so that one the system cuts short (a full disk) shows as a short count
    // here: a buffered file would lose that in a flush that commit() does not check, and then
    // put a truncated document in the original's place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        saveFailed(path, whyNotSaved(path, file.errorString()));
    if (!formats::writeRtf(&file, Text(), m_font.name, m_font.size)) {
        const QString reason = file.error() != QFileDevice::NoError
            ? file.errorString()
            : QStringLiteral("not all of the document could be written (the disk may be full)");
        file.cancelWriting();
        saveFailed(path, reason);
    }
    if (!file.commit())
        saveFailed(path, whyNotSaved(path, file.errorString()));
}

const QString& RichTextBox::Text() const { return view()->text(); }

void RichTextBox::setText(const QString& text) { view()->setText(text); }

void RichTextBox::setFontName(const QString& name)
{
    m_font.name = name;
    applyFont();
}

void RichTextBox::setFontSize(float points)
{
    m_font.size = points;
    applyFont();
}

void RichTextBox::applyFont()
{
    FontSpec shown = m_font;
    if (!(shown.size >= 1.0f))
        shown.size = 1.0f; // NaN and sizes below a point show at one point
    shown.size = std::min(shown.size, 1638.0f);
    view()->setTextFont(m_fonts.font(shown));
}

} // namespace glyvex::platform
