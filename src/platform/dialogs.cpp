#include "platform/dialogs.h"

#include "platform/fonts.h"
#include "platform/menu.h"

#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>

namespace glyvex::platform {

namespace {

class QtDialogs final : public Dialogs {
public:
    QString chooseFile(QWidget* owner, const FileRequest& request) override
    {
        if (request.kind == FileRequest::Kind::Open) {
            // Qt's open dialog accepts only existing files in any case.
            return QFileDialog::getOpenFileName(owner, request.title, request.directory, request.nameFilter);
        }
        QFileDialog::Options options;
        if (!request.confirmOverwrite)
            options |= QFileDialog::DontConfirmOverwrite;
        return QFileDialog::getSaveFileName(owner, request.title, request.directory, request.nameFilter, nullptr, options);
    }

    std::optional<FontChoice> chooseFont(QWidget* owner, const FontRequest& request) override
    {
        QFont initial;
        if (!request.initialFace.isEmpty())
            initial.setFamily(installedFamilyFor(request.initialFace));
        if (request.initialSize > 0)
            initial.setPointSizeF(request.initialSize);
        bool ok = false;
        const QFont chosen = request.title.isEmpty() ? QFontDialog::getFont(&ok, initial, owner)
                                                     : QFontDialog::getFont(&ok, initial, owner, request.title);
        if (!ok)
            return std::nullopt;
        return FontChoice{chosen.family(), static_cast<float>(chosen.pointSizeF())};
    }

    QString inputBox(QWidget* owner, const QString& prompt, const QString& title) override
    {
        bool ok = false;
        const QString text = QInputDialog::getText(owner, title, prompt, QLineEdit::Normal, QString(), &ok);
        return ok ? text : QString();
    }

    void messageBox(QWidget* owner, const QString& prompt, int style, const QString& title) override
    {
        QMessageBox box(style & 16 ? QMessageBox::Critical : QMessageBox::Information, title, prompt, QMessageBox::Ok, owner);
        box.exec();
    }

    void popupMenu(QWidget*, Menu& menu) override { menu.menu()->exec(QCursor::pos()); }

    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

std::unique_ptr<Dialogs>& slot()
{
    static std::unique_ptr<Dialogs> current = std::make_unique<QtDialogs>();
    return current;
}

} // namespace

Dialogs& dialogs() { return *slot(); }

std::unique_ptr<Dialogs> setDialogs(std::unique_ptr<Dialogs> replacement)
{
    auto previous = std::move(slot());
    slot() = replacement ? std::move(replacement) : std::make_unique<QtDialogs>();
    return previous;
}

} // namespace glyvex::platform
