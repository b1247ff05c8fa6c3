#pragma once

#include "iprunner.h"

#include <QString>
#include <QStringList>

#include <unistd.h>

using namespace Qt::StringLiterals;

// Two namespaces of the test's own joined by a veth pair ("veth0" in each): `home`, the computer
// Tarvo runs on (198.18.1.2/24, 2001:db8:1::2/64), and `gateway`, its router to the provider
// (198.18.1.1, 2001:db8:1::1), which also holds an outside host's addresses on its loopback
// (203.0.113.7 and 2001:db8:99::7, routed, outside the LAN). Removed at the end. Needs root.
struct DualStackLink
{
    DualStackLink()
        : home(u"tarvo-ds-h%1"_s.arg(::getpid()))
        , gateway(u"tarvo-ds-g%1"_s.arg(::getpid()))
    {
        const auto ip = [](const QString &ns, const QString &command) {
            return runIp(QStringList{u"-n"_s, ns} + command.split(u' '));
        };
        ok = runIp({u"netns"_s, u"add"_s, home}) && runIp({u"netns"_s, u"add"_s, gateway})
             && ip(home, u"link add veth0 address 02:00:00:00:00:02 type veth peer name veth0 address "
                         "02:00:00:00:00:01 netns "_s + gateway)
             && ip(home, u"addr add 198.18.1.2/24 dev veth0"_s)
             && ip(home, u"addr add 2001:db8:1::2/64 dev veth0 nodad"_s) && ip(home, u"link set veth0 up"_s)
             && ip(home, u"link set lo up"_s) && ip(home, u"route add default via 198.18.1.1"_s)
             && ip(home, u"-6 route add default via 2001:db8:1::1"_s)
             && ip(gateway, u"addr add 198.18.1.1/24 dev veth0"_s)
             && ip(gateway, u"addr add 2001:db8:1::1/64 dev veth0 nodad"_s)
             && ip(gateway, u"addr add 203.0.113.7/32 dev lo"_s)
             && ip(gateway, u"addr add 2001:db8:99::7/128 dev lo nodad"_s) && ip(gateway, u"link set lo up"_s)
             && ip(gateway, u"link set veth0 up"_s)
             // Fixed neighbours: a link just brought up (and its offloads switched) may lose the
             // first questions of neighbour discovery.
             && ip(home, u"neigh replace 198.18.1.1 lladdr 02:00:00:00:00:01 dev veth0 nud permanent"_s)
             && ip(home, u"neigh replace 2001:db8:1::1 lladdr 02:00:00:00:00:01 dev veth0 nud permanent"_s)
             && ip(gateway, u"neigh replace 198.18.1.2 lladdr 02:00:00:00:00:02 dev veth0 nud permanent"_s)
             && ip(gateway, u"neigh replace 2001:db8:1::2 lladdr 02:00:00:00:00:02 dev veth0 nud permanent"_s);
    }
    ~DualStackLink()
    {
        runIp({u"netns"_s, u"del"_s, home}, true);
        runIp({u"netns"_s, u"del"_s, gateway}, true);
    }
    DualStackLink(const DualStackLink &) = delete;
    DualStackLink &operator=(const DualStackLink &) = delete;

    bool ethtool(const QString &ns, const QString &features) const
    {
        return runIp(QStringList{u"netns"_s, u"exec"_s, ns, u"ethtool"_s, u"-K"_s, u"veth0"_s} + features.split(u' '));
    }

    const QString home;
    const QString gateway;
    bool ok = false;
};
