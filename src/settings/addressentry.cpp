#include "settings/addressentry.h"

#include "settings/optionvalues.h"

std::optional<QString> addressFromBoxes(AddressBoxes &boxes)
{
    for (QString &box : boxes) {
        const auto value = parseWholeNumber(box);
        if (!value || *value < 0 || *value > 255)
            return std::nullopt;
        box = QString::number(*value);
    }
    return boxes[0] + u'.' + boxes[1] + u'.' + boxes[2] + u'.' + boxes[3];
}
