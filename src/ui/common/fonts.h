#pragma once

#include <QFont>

// Arial where the desktop has it, its metric twin Liberation Sans otherwise, so texts keep the
// widths the windows were laid out for.
namespace Fonts {

QFont arialPoints(int points, bool bold = false);
QFont arialPixels(int pixels, bool bold = false);

} // namespace Fonts
