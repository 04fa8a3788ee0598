#pragma once
// Controls that only show something: frames, pictures and lines.
#include "platform/control.h"

namespace glyvex::platform {

class Frame final : public Control {
    Q_OBJECT
public:
    Frame(const ControlSpec& entry, const ControlHost& host, QWidget* parent);
};

// A picture stretched to the control. The file is decoded with the window's other deferred
// changes, once the window has been handed to the window system (start-up shows the splash
// window sooner).
class Image final : public Control {
    Q_OBJECT
public:
    Image(const ControlSpec& entry, const ControlHost& host, QWidget* parent);

private:
    void sync() override;
    QString m_picture; // a file still to be decoded
};

// A picture box: the control takes its picture's size.
class PictureBox final : public Control {
    Q_OBJECT
public:
    PictureBox(const ControlSpec& entry, const ControlHost& host, QWidget* parent);
};

// A straight line from (Left, Top) to (Left + Width, Top + Height).
class Line final : public Control {
    Q_OBJECT
public:
    Line(const ControlSpec& entry, const ControlHost& host, QWidget* parent);
};

} // namespace glyvex::platform
