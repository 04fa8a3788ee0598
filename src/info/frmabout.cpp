#include "info/frmabout.h"

namespace glyvex {

using namespace platform;

frmAbout::frmAbout()
    : Form(QStringLiteral("frmAbout"), FormDesign{.caption = QStringLiteral("About GLYVEX...")})

{
}

} // namespace glyvex
