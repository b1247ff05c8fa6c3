#pragma once

#include <QIcon>
#include <QImage>

// The program's own pictures, drawn at start instead of shipped as files.
namespace Pictures {

enum class Arrow { Up, Down, Left };

// The 32 x 32 trend sign: a yellow diamond road sign with a green border and a dark blue arrow,
// transparent around the diamond, drawn in colours of the 16-colour palette only.
QImage trendSign(Arrow arrow);

// The program's icon (window and tray before the first tick).
QIcon programIcon();

} // namespace Pictures
