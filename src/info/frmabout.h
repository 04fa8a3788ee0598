#pragma once
#include "platform/form.h"

namespace glyvex {

class frmAbout final : public platform::Form {
    Q_OBJECT
public:
    frmAbout();

private:

};

} // namespace glyvex
