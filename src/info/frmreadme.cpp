#include "info/frmreadme.h"

namespace glyvex {

using namespace platform;

frmReadMe::frmReadMe()
    : Form(QStringLiteral("frmReadMe"), FormDesign{.caption = QStringLiteral("Glyvex README.txt")})

{
}

} // namespace glyvex
