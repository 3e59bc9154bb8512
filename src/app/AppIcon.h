#pragma once

#include <QIcon>

namespace stolvar {

// The program's icon: a concrete test cube, drawn so that no image file is needed.
QIcon AppIcon();

} // namespace stolvar
