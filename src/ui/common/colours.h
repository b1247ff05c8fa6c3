#pragma once

#include <QColor>

// The colours the monitor's figures are drawn in.
namespace Colours {

constexpr QColor darkBlue{0, 64, 128}; // the program's panels
constexpr QColor lime{0, 255, 0};
constexpr QColor yellow{255, 255, 0};
constexpr QColor red{255, 0, 0};
constexpr QColor green{0, 128, 0};
constexpr QColor grey{128, 128, 128};
constexpr QColor silver{192, 192, 192};
constexpr QColor blue{0, 0, 255};

// The level's colour: cut off wins over throttled.
constexpr QColor level(bool cutOff, bool throttled)
{
    return cutOff ? red : throttled ? yellow : lime;
}

} // namespace Colours
