#pragma once
// The program icon of every window, drawn at each size the desktop asks for (title bars,
// task switchers, dense screens), so that it stays sharp when scaled.
#include <QIcon>

namespace glyvex::platform {

QIcon programIcon();

} // namespace glyvex::platform
