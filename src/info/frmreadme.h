#pragma once
// The README window: README.txt from the program's directory as plain text, or, when it
// cannot be read, a message box and a red note saying whom to ask for a copy.
#include "platform/form.h"

namespace glyvex {

namespace platform {
class RichTextBox;
}

class frmReadMe final : public platform::Form {
    Q_OBJECT
public:
    explicit frmReadMe(platform::Platform& platform);

    platform::RichTextBox* rtfReadMe;
    platform::Button* cmdOK;
    platform::Label* lblNotFound;

    void Form_Load() override;
    void cmdOK_Click();

private:
    void showNotFound();
};

} // namespace glyvex
