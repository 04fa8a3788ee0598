#pragma once
#include "platform/form.h"

namespace glyvex {

class frmDocConvert final : public platform::Form {
    Q_OBJECT
public:
    frmDocConvert();

private:

};

} // namespace glyvex
