#include "sentence/frmsentence.h"

namespace glyvex {

using namespace platform;

frmSentence::frmSentence(platform::Form& preview)
    : Form(QStringLiteral("frmSentence"), FormDesign{.caption = QStringLiteral("Glyvex Sentence Viewer")})
    , m_preview(preview)
{
}

} // namespace glyvex
