#pragma once
// A command button.
#include "platform/control.h"

class QPushButton;

namespace glyvex::platform {

class Button final : public Control {
    Q_OBJECT
public:
    Button(const ControlSpec& entry, const ControlHost& host, QWidget* parent);
    bool Default() const { return m_default; }
    void setDefault(bool value);
    bool Cancel() const { return m_cancel; }
    void SetFocus();

private:
    QPushButton* button() const;
    bool m_default = false;
    bool m_cancel = false;
};

} // namespace glyvex::platform
