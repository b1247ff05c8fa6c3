#pragma once

#include "iprunner.h"

#include <QString>
#include <QStringList>

#include <unistd.h>

// A veth pair whose far end sits in a network namespace of its own, both made by the test and
// removed at its end: frames sent on the near end reach nothing but that empty namespace.
class VethPair
{
public:
    VethPair()
        : near(QStringLiteral("tv%1a").arg(::getpid()))
        , far(QStringLiteral("tv%1b").arg(::getpid()))
        , m_namespace(QStringLiteral("tarvo-test-%1").arg(::getpid()))
    {
        m_made = ip({QStringLiteral("netns"), QStringLiteral("add"), m_namespace}) && create();
    }
    ~VethPair()
    {
        remove();
        ip({QStringLiteral("netns"), QStringLiteral("del"), m_namespace});
    }
    VethPair(const VethPair &) = delete;
    VethPair &operator=(const VethPair &) = delete;

    bool made() const { return m_made; }

    bool create()
    {
        return ip({QStringLiteral("link"), QStringLiteral("add"), near, QStringLiteral("type"), QStringLiteral("veth"),
                   QStringLiteral("peer"), QStringLiteral("name"), far, QStringLiteral("netns"), m_namespace})
               && ip({QStringLiteral("link"), QStringLiteral("set"), near, QStringLiteral("up")})
               && ip({QStringLiteral("-n"), m_namespace, QStringLiteral("link"), QStringLiteral("set"), far,
                      QStringLiteral("up")});
    }
    // Deleting the near end takes the far end with it.
    bool remove() { return ip({QStringLiteral("link"), QStringLiteral("del"), near}); }

    const QString near;
    const QString far;

private:
    static bool ip(const QStringList &arguments) { return runIp(arguments, true); }

    const QString m_namespace;
    bool m_made = false;
};
