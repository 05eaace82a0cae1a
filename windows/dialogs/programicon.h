#pragma once

#include <QIcon>

namespace korvel {

// The program's icon: three balls in the colours of the object kinds, joined
// as a small tree. Drawn, so it needs no file.
QIcon programIcon();

} // namespace korvel
