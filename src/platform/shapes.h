#pragma once
// Controls that only show something: frames, pictures and lines.
#include "platform/control.h"

namespace glyvex::platform {

class Frame final : public Control {
    Q_OBJECT
public:
    Frame(const ControlSpec& entry, QWidget* parent);
};

// Images (stretched to the control) and picture boxes (sized to their picture).
class Picture final : public Control {
    Q_OBJECT
public:
    Picture(const ControlSpec& entry, QWidget* parent);

private:
    void sync() override;
    QString m_picture; // a file still to be decoded
};

// A straight line from (Left, Top) to (Left + Width, Top + Height).
class Line final : public Control {
    Q_OBJECT
public:
    Line(const ControlSpec& entry, QWidget* parent);
};

} // namespace glyvex::platform
