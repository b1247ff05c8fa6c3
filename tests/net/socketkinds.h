#pragma once

#include "net/icmpecho.h"

#include <QMetaType>

#include <utility>

Q_DECLARE_METATYPE(EchoSocketKind)

// The two sockets an echo can go through, with the names the test rows carry.
inline constexpr std::pair<EchoSocketKind, const char *> socketKinds[] = {
    {EchoSocketKind::Raw, "raw"},
    {EchoSocketKind::Datagram, "datagram"},
};
