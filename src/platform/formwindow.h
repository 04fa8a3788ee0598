#pragma once
// The top-level widget behind a Form: it hands closing, resizing, moving and the Return and
// Escape keys to its Form.
#include "platform/form.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMimeData>
#include <QPointer>

namespace glyvex::platform {

class FormWindow final : public QMainWindow {
public:
    explicit FormWindow(Form* form)
        : m_form(form)
    {
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        if (m_form)
            m_form->platform().runHandler([this] { m_form->closeRequested(); });
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QMainWindow::resizeEvent(event);
        if (m_form)
            m_form->systemGeometryChanged();
    }
    void moveEvent(QMoveEvent* event) override
    {
        QMainWindow::moveEvent(event);
        if (m_form)
            m_form->systemGeometryChanged();
    }
    // Files, from a file manager or a desktop, on a window that takes them.
    static QStringList files(const QMimeData* data)
    {
        QStringList paths;
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile())
                paths.append(url.toLocalFile());
        }
        return paths;
    }
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (!files(event->mimeData()).isEmpty())
            event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override
    {
        const QStringList paths = files(event->mimeData());
        if (paths.isEmpty() || !m_form)
            return;
        event->acceptProposedAction();
        emit m_form->OLEDragDrop(paths);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        const int key = event->key();
        if (m_form && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_form->pressButton(false))
                return;
            if (key == Qt::Key_Escape && m_form->pressButton(true))
                return;
        }
        QMainWindow::keyPressEvent(event);
    }

private:
    QPointer<Form> m_form;
};

} // namespace glyvex::platform
