#pragma once

#include <QString>

#include <array>
#include <optional>

// The four boxes of an address as the user typed them, first number first.
using AddressBoxes = std::array<QString, 4>;

// Converts each box to a whole number (leading blanks, an optional sign, decimal digits) and
// rewrites it in plain decimal form, so "010" becomes "10". Stops at the first box that holds
// no whole number from 0 to 255, leaving the boxes before it rewritten, and gives nothing; otherwise gives
// the four numbers joined with ".", which is how the classifier writes a frame's address.
std::optional<QString> addressFromBoxes(AddressBoxes &boxes);

// The longest text of an IPv6 network: 45 characters of address, "/" and three digits.
inline constexpr int longestIpv6Entry = 49;

// The IPv6 box's address or network ("2001:0DB8:1::/64", blanks around allowed) in the form the
// lists keep ("2001:db8:1::/64"); nothing when it is neither.
std::optional<QString> ipv6EntryFromBox(QStringView typed);
// What the options window says of a bad IPv6 entry.
QString badIpv6EntryMessage(const QString &typed);
// What it says of four boxes that hold no IPv4 address.
QString badAddressBoxesMessage(const AddressBoxes &boxes);
