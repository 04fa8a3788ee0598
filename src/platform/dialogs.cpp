#include "platform/dialogs.h"

#include "platform/fonts.h"
#include "platform/menu.h"

#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QLocale>
#include <QValidator>
#include <QMenu>
#include <QMessageBox>

namespace glyvex::platform {

namespace {

// Qt's font dialog takes whole point sizes only (typing "10.8" gives 108): its size field is
// given a validator that takes one decimal, and the size is read from the field.
QLineEdit* acceptFractionalSizes(QFontDialog& dialog)
{
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
        if (!qobject_cast<const QIntValidator*>(edit->validator()))
            continue;
        auto* sizes = new QDoubleValidator(1.0, 1638.0, 1, edit);
        sizes->setNotation(QDoubleValidator::StandardNotation);
        edit->setValidator(sizes);
        edit->setObjectName(QStringLiteral("fontSize"));
        return edit;
    }
    return nullptr;
}

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
        QFont initial;
        if (!request.initialFace.isEmpty())
            initial.setFamily(installedFamilyFor(request.initialFace));
        if (request.initialSize > 0)
            initial.setPointSizeF(request.initialSize);
        QFontDialog dialog(initial, owner);
        if (!request.title.isEmpty())
            dialog.setWindowTitle(request.title);
        QLineEdit* size = acceptFractionalSizes(dialog);
        if (size && request.initialSize > 0)
            size->setText(QLocale().toString(request.initialSize, 'g', 6));
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const QFont chosen = dialog.selectedFont();
        float points = static_cast<float>(chosen.pointSizeF());
        if (size) {
            bool ok = false;
            const double typed = QLocale().toDouble(size->text(), &ok);
            if (ok && typed > 0)
                points = static_cast<float>(typed);
        }
        return FontChoice{chosen.family(), points};
    }

    QString inputBox(QWidget* owner, const QString& prompt, const QString& title) override
    {
        bool ok = false;
        const QString text = QInputDialog::getText(owner, title, prompt, QLineEdit::Normal, QString(), &ok);
        return ok ? text : QString();
    }

    void messageBox(QWidget* owner, const QString& prompt, int style, const QString& title) override
    {
        QMessageBox box(style & vbCritical ? QMessageBox::Critical : QMessageBox::Information, title, prompt,
                        QMessageBox::Ok, owner);
        box.exec();
    }

    void popupMenu(QWidget*, Menu& menu) override { menu.menu()->exec(QCursor::pos()); }

    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

} // namespace

std::unique_ptr<Dialogs> qtDialogs() { return std::make_unique<QtDialogs>(); }

} // namespace glyvex::platform
