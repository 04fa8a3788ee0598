#pragma once
#include "platform/form.h"

namespace glyvex {

class frmSentence final : public platform::Form {
    Q_OBJECT
public:
    explicit frmSentence(platform::Form& preview);

private:
    platform::Form& m_preview;
};

} // namespace glyvex
