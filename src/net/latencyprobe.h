#pragma once

#include "meter/ownerthreadqueue.h"
#include "net/icmpecho.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <thread>

class QHostInfo;

// How a look-up of the host to probe ended.
enum class LookupOutcome {
    Found,
    HostNotFound,  // no such name
    TryAgain,      // the resolver failed this time (no server answered, ...)
    NoIpv4Address, // the name has addresses, but none the echo can reach
};

// The probe's look-up of a host: dotted text at once, a name through QHostInfo, finishing on
// this object's thread. One at a time: a new look-up drops the one pending, and so does the
// destructor, neither with a signal. A class apart from the probe so that its outcomes can be
// tested without a socket or a network namespace.
class HostLookup : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~HostLookup() override;

    // A dotted address finishes before this returns.
    void start(const QString &host);

Q_SIGNALS:
    // `address` in network byte order: the first IPv4 address found, 0 unless found.
    void finished(LookupOutcome outcome, quint32 address);

private:
    void onHostInfo(const QHostInfo &info);

    int m_id = -1; // the pending QHostInfo look-up
};

// The latency probe: one look-up and one echo per startProbe, and the text the monitor shows
// beside "Ping ( ms ):": the round-trip time in milliseconds, or "-" when no reply came.
//
// The echo waits on a worker thread of the probe's own, so this thread's tick keeps coming; the
// engine belongs to the worker until the echo ends, and the outcome comes back through the
// owner-thread queue.
class LatencyProbe : public QObject
{
    Q_OBJECT

public:
    // The echo's time-out, TTL and size are taken here only. Raises IcmpEchoError when the
    // socket cannot be opened.
    LatencyProbe(int32_t timeoutMs, int32_t ttl, int32_t size, EchoSocketKind kind = EchoSocketKind::Automatic,
                 QObject *parent = nullptr);
    // Drops a pending look-up, ends the echo's wait and joins the worker: no echo starts and no
    // result is reported from here on.
    ~LatencyProbe() override;

    // One probe of `host` (a name or a dotted address). A probe due while the last echo still
    // waits is skipped.
    void startProbe(const QString &host);

    bool waiting() const { return m_worker.joinable(); }
    const EchoParameters &parameters() const { return m_parameters; }

Q_SIGNALS:
    void resultReady(const QString &text);

private:
    void onLookupFinished(LookupOutcome outcome, quint32 address);
    void finishEcho(const EchoOutcome &outcome);

    const EchoParameters m_parameters;
    IcmpEcho m_echo;
    HostLookup m_lookup;
    std::thread m_worker;
    OwnerThreadQueue m_echoEnded{this};
};

// Dotted IPv4 text to the address in network byte order, as the classic inet_aton reads it
// (127.1, 0x7f.0.0.1, 010.0.0.1); nothing for any other text and for 255.255.255.255.
std::optional<uint32_t> parseDottedAddress(const QString &text);
// The address in network byte order as dotted text without leading zeros.
QString dottedAddress(uint32_t address);
