#include "ui/common/fonts.h"

#include <QStringList>

namespace Fonts {
namespace {
QFont arial(bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setBold(bold);
    return font;
}
} // namespace

QFont arialPoints(int points, bool bold)
{
    QFont font = arial(bold);
    font.setPointSize(points);
    return font;
}

QFont arialPixels(int pixels, bool bold)
{
    QFont font = arial(bold);
    font.setPixelSize(pixels);
    return font;
}

} // namespace Fonts
