#pragma once

#include "iprunner.h"

#include <QDir>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Two network namespaces of the test's own joined by a veth pair, so that echo tests reach real
// hosts without touching this machine's network: the prober (`prober`, 198.18.0.1/29, ICMP
// datagram sockets allowed for every group) and a host that never answers an echo (`silent`,
// 198.18.0.2). 198.18.0.3 is on the link but nobody has it. The destructor removes both
// namespaces, also after a failure half-way. Needs root.
class TestNetwork
{
public:
    static constexpr const char *proberAddress = "198.18.0.1";
    static constexpr const char *silentAddress = "198.18.0.2";
    static constexpr const char *absentAddress = "198.18.0.3";

    explicit TestNetwork(const QString &tag)
        : prober(u"tarvo-%1-p%2"_s.arg(tag).arg(::getpid()))
        , silent(u"tarvo-%1-s%2"_s.arg(tag).arg(::getpid()))
    {
        removeLeftovers(tag);
        const QString sysctl = u"sysctl"_s;
        ok = run({u"netns"_s, u"add"_s, prober})
             && run({u"netns"_s, u"add"_s, silent})
             && run({u"-n"_s, prober, u"link"_s, u"add"_s, u"veth0"_s,
                     u"type"_s, u"veth"_s, u"peer"_s, u"name"_s,
                     u"veth0"_s, u"netns"_s, silent})
             && setUp(prober, QString::fromLatin1(proberAddress)) && setUp(silent, QString::fromLatin1(silentAddress))
             && inside(prober, {sysctl, u"-qw"_s, u"net.ipv4.ping_group_range=0 2147483647"_s})
             // An address nobody has is given up after one unanswered question, not three seconds.
             && inside(prober, {sysctl, u"-qw"_s, u"net.ipv4.neigh.veth0.mcast_solicit=1"_s})
             && inside(prober, {sysctl, u"-qw"_s, u"net.ipv4.neigh.veth0.retrans_time_ms=100"_s})
             && inside(silent, {sysctl, u"-qw"_s, u"net.ipv4.icmp_echo_ignore_all=1"_s});
    }
    ~TestNetwork() { removeNamespaces(); }
    TestNetwork(const TestNetwork &) = delete;
    TestNetwork &operator=(const TestNetwork &) = delete;

    const QString prober;
    const QString silent;
    bool ok = false;
    QString error; // the failed command's complaint

private:
    bool run(const QStringList &arguments, bool quiet = false)
    {
        const bool done = runIp(arguments, quiet);
        if (!done && !quiet)
            error = u"ip "_s + arguments.join(u' ') + u" failed (its message is above)"_s;
        return done;
    }
    bool inside(const QString &ns, const QStringList &command)
    {
        return run(QStringList{u"netns"_s, u"exec"_s, ns} + command);
    }
    bool setUp(const QString &ns, const QString &address)
    {
        const QString link = u"link"_s;
        return run({u"-n"_s, ns, u"addr"_s, u"add"_s, address + u"/29"_s,
                    u"dev"_s, u"veth0"_s})
               && run({u"-n"_s, ns, link, u"set"_s, u"veth0"_s, u"up"_s})
               && run({u"-n"_s, ns, link, u"set"_s, u"lo"_s, u"up"_s});
    }
    // Namespaces of this test whose process died without removing them (a crash skips destructors).
    void removeLeftovers(const QString &tag)
    {
        const QRegularExpression ours(u"^tarvo-%1-[ps](\\d+)$"_s.arg(QRegularExpression::escape(tag)));
        const QStringList names = QDir(u"/run/netns"_s).entryList(QDir::Files | QDir::System);
        for (const QString &name : names) {
            const QRegularExpressionMatch match = ours.match(name);
            const bool gone = match.hasMatch()
                              && (match.captured(1).toInt() == ::getpid() || !QDir(u"/proc/"_s + match.captured(1)).exists());
            if (gone)
                run({u"netns"_s, u"del"_s, name}, true);
        }
    }
    void removeNamespaces()
    {
        run({u"netns"_s, u"del"_s, prober}, true);
        run({u"netns"_s, u"del"_s, silent}, true);
    }
};

// Moves the calling thread into a namespace until the end of the scope; sockets made meanwhile
// stay in it for good.
class InsideNamespace
{
public:
    explicit InsideNamespace(const QString &name)
        : m_original(::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC))
    {
        const int target = ::open(qPrintable(u"/run/netns/"_s + name), O_RDONLY | O_CLOEXEC);
        entered = m_original >= 0 && target >= 0 && ::setns(target, CLONE_NEWNET) == 0;
        if (target >= 0)
            ::close(target);
    }
    ~InsideNamespace()
    {
        if (entered)
            ::setns(m_original, CLONE_NEWNET);
        if (m_original >= 0)
            ::close(m_original);
    }
    InsideNamespace(const InsideNamespace &) = delete;
    InsideNamespace &operator=(const InsideNamespace &) = delete;

    bool entered = false;

private:
    int m_original;
};
