#pragma once

#include "net/echosocket.h"

#include <QObject>
#include <QString>

class Pinger;

// The latency probe: one look-up and one echo per startProbe, and the text the monitor shows
// beside "Ping ( ms ):": the round-trip time in milliseconds, or "-" when no reply came.
class LatencyProbe : public QObject
{
    Q_OBJECT

public:
    // The echo's time-out, TTL and size are taken here only. Raises IcmpEchoError when the
    // socket cannot be opened.
    LatencyProbe(int32_t timeoutMs, int32_t ttl, int32_t size, EchoSocketKind kind = EchoSocketKind::Automatic,
                 QObject *parent = nullptr);
    // No echo is made during the shut-down, and no result is reported after it.
    ~LatencyProbe() override;

    // One probe of `host` (a name or a dotted address). A probe due while the last echo still
    // waits is skipped.
    void startProbe(const QString &host);

    // The text for the end of a probe: the round-trip time when a reply came, "-" otherwise.
    static QString resultText(int replies, const EchoReply &reply);

    Pinger &pinger() { return *m_pinger; }

Q_SIGNALS:
    void resultReady(const QString &text);

private:
    void onLookupDone();
    void onEchoReply(int replies);
    void onPingFinished();

    Pinger *m_pinger = nullptr; // a child, so it lives as long as the probe
    bool m_replied = false;     // the running ping raised its echo reply
};
