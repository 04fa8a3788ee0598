#include "platform/dialogs.h"

#include "platform/fontdialog.h"
#include "platform/menu.h"

#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
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
        return QFileDialog::getSaveFileName(owner, request.title, request.directory, request.nameFilter, nullptr,
                                            options);
    }

    std::optional<FontChoice> chooseFont(QWidget* owner, const FontRequest& request) override
    {
        FontDialog dialog(request, owner);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.choice();
    }

    QString inputBox(QWidget* owner, const QString& prompt, const QString& title) override
    {
        bool ok = false;
        const QString text = QInputDialog::getText(owner, title, prompt, QLineEdit::Normal, QString(), &ok);
        return ok ? text : QString();
    }

    void messageBox(QWidget* owner, const QString& prompt, MsgBoxStyle style, const QString& title) override
    {
        QMessageBox box(style == MsgBoxStyle::Critical ? QMessageBox::Critical : QMessageBox::Warning, title, prompt,
                        QMessageBox::Ok, owner);
        box.exec();
    }

    void popupMenu(QWidget*, Menu& menu) override { menu.menu()->exec(QCursor::pos()); }

    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

} // namespace

std::unique_ptr<Dialogs> qtDialogs() { return std::make_unique<QtDialogs>(); }

} // namespace glyvex::platform
