#include "platform/commondialog.h"

#include "platform/form.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace glyvex::platform {

CommonDialog::CommonDialog(Form& owner, QString designTitle)
    : DialogTitle(std::move(designTitle))
    , m_owner(owner)
{
}

QString CommonDialog::toQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : pattern.trimmed();
        QString description = parts[i];
        description.replace(QLatin1String("(*.*)"), QLatin1String("(*)"));
        const QString list = patterns.join(u' ');
        entries.append(description.contains(u'(') ? description : QStringLiteral("%1 (%2)").arg(description, list));
    }
    return entries.join(QLatin1String(";;"));
}

QString CommonDialog::startDirectory(const QString& initDir)
{
    QString dir = initDir;
    if (dir.contains(u'\\'))
        dir.clear(); // a Windows path names nothing here
    if (!dir.isEmpty() && QFileInfo(dir).isDir())
        return dir;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void CommonDialog::showFile(bool save)
{
    FileRequest request;
    request.kind = save ? FileRequest::Kind::Save : FileRequest::Kind::Open;
    request.title = DialogTitle;
    request.directory = startDirectory(InitDir);
    request.nameFilter = toQtFilter(Filter);
    request.confirmOverwrite = save && Flags.testFlag(DialogFlag::OverwritePrompt);
    const QString chosen = m_owner.platform().dialogs().chooseFile(m_owner.window(), request);
    if (!chosen.isEmpty())
        FileName = chosen;
}

void CommonDialog::ShowOpen() { showFile(false); }
void CommonDialog::ShowSave() { showFile(true); }

bool CommonDialog::faceChosen() const { return !FontName.isEmpty() && FontName != QLatin1String(" "); }

void CommonDialog::ShowFont()
{
    const FontRequest request{DialogTitle, FontName, FontSize, m_owner.platform().fonts().families()};
    if (const auto choice = m_owner.platform().dialogs().chooseFont(m_owner.window(), request)) {
        FontName = choice->face;
        FontSize = choice->size;
    }
}

} // namespace glyvex::platform
