#include "convert/frmdocconvert.h"

namespace glyvex {

using namespace platform;

frmDocConvert::frmDocConvert()
    : Form(QStringLiteral("frmDocConvert"), FormDesign{.caption = QStringLiteral("Glyvex Document Converter")})

{
}

} // namespace glyvex
