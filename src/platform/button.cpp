#include "platform/button.h"

#include "platform/errors.h"

#include <QPushButton>

namespace glyvex::platform {

Button::Button(const ControlSpec& entry, const ControlHost& host, QWidget* parent)
    : Control(entry, new QPushButton(entry.caption, parent), host.updates)
    , m_default(entry.isDefault)
    , m_cancel(entry.isCancel)
{
    QPushButton* b = button();
    b->setFocusPolicy(Qt::StrongFocus);
    b->setAutoDefault(false);
    b->setDefault(m_default);
    if (!entry.picture.isEmpty()) {
        b->setIcon(QIcon(entry.picture));
        b->setIconSize(QSize(32, 32));
        b->setFlat(true);
    }
    if (entry.backColor)
        paintBackground(b, *entry.backColor, QPalette::Button);
    connect(b, &QPushButton::clicked, this, &Control::Click);
}

QPushButton* Button::button() const { return static_cast<QPushButton*>(m_widget); }

void Button::setDefault(bool value)
{
    m_default = value;
    button()->setDefault(value);
}

void Button::SetFocus()
{
    if (!m_visible)
        throw Error(QStringLiteral("Invalid procedure call or argument: %1 is hidden and cannot take the focus")
                        .arg(objectName()));
    m_widget->setFocus(Qt::OtherFocusReason);
}

} // namespace glyvex::platform
