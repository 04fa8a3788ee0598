#pragma once
#include "platform/form.h"

namespace glyvex {

class frmReadMe final : public platform::Form {
    Q_OBJECT
public:
    frmReadMe();

private:

};

} // namespace glyvex
