#include "settings/addressentry.h"

#include "settings/addressset.h"
#include "settings/optionvalues.h"

#include <arpa/inet.h>

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

std::optional<QString> ipv6EntryFromBox(QStringView typed)
{
    const QStringView text = typed.trimmed();
    const auto prefix = parseIpv6Entry(text);
    if (!prefix)
        return std::nullopt;
    unsigned char bytes[16];
    for (int i = 0; i < 8; ++i) {
        bytes[i] = uint8_t(prefix->address.high >> (56 - 8 * i));
        bytes[8 + i] = uint8_t(prefix->address.low >> (56 - 8 * i));
    }
    char written[INET6_ADDRSTRLEN] = {};
    inet_ntop(AF_INET6, bytes, written, sizeof written);
    QString entry = QString::fromLatin1(written);
    if (text.contains(u'/'))
        entry += u'/' + QString::number(prefix->length);
    return entry;
}

QString badIpv6EntryMessage(const QString &typed)
{
    return QStringLiteral("\"%1\" is not an IPv6 address or network; write for example 2001:db8:1::7 or "
                          "2001:db8:1::/64")
        .arg(typed.trimmed());
}

QString badAddressBoxesMessage(const AddressBoxes &boxes)
{
    return QStringLiteral("\"%1.%2.%3.%4\" is not an IPv4 address: each box takes a whole number from 0 to 255")
        .arg(boxes[0].trimmed(), boxes[1].trimmed(), boxes[2].trimmed(), boxes[3].trimmed());
}
