// The two pictures of the main window, drawn at run time: the modification's
// logo and the authors' logo, and the window icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace cvarsmith {

QPixmap modificationLogo();
QPixmap authorsLogo();
QIcon programIcon();

}  // namespace cvarsmith
