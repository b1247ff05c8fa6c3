#include "net/latencyprobe.h"

#include "net/pinger.h"

LatencyProbe::LatencyProbe(int32_t timeoutMs, int32_t ttl, int32_t size, EchoSocketKind kind, QObject *parent)
    : QObject(parent)
    , m_pinger(new Pinger(kind, this))
{
    m_pinger->setTimeout(timeoutMs);
    m_pinger->setTtl(ttl);
    m_pinger->setSize(size);
    connect(m_pinger, &Pinger::dnsLookupDone, this, &LatencyProbe::onLookupDone);
    connect(m_pinger, &Pinger::echoReply, this, &LatencyProbe::onEchoReply);
    connect(m_pinger, &Pinger::pingFinished, this, &LatencyProbe::onPingFinished);
}

LatencyProbe::~LatencyProbe()
{
    // The component's own shut-down reports a pending look-up as cancelled: nothing answers it here.
    m_pinger->disconnect(this);
    delete m_pinger;
}

void LatencyProbe::startProbe(const QString &host)
{
    if (m_pinger->busy())
        return;
    m_pinger->dnsLookup(host);
}

void LatencyProbe::onLookupDone()
{
    // A failed look-up leaves "" here; pinging it ends without a reply, which shows "-".
    m_pinger->setAddress(m_pinger->lookupResult());
    m_replied = false;
    m_pinger->ping();
}

void LatencyProbe::onEchoReply(int replies)
{
    m_replied = true;
    Q_EMIT resultReady(resultText(replies, m_pinger->reply()));
}

void LatencyProbe::onPingFinished()
{
    // Without an echo reply (an address that did not resolve) the last time would stay for ever.
    if (!m_replied)
        Q_EMIT resultReady(QStringLiteral("-"));
}

QString LatencyProbe::resultText(int replies, const EchoReply &reply)
{
    return replies != 0 ? QString::number(reply.roundTripTime) : QStringLiteral("-");
}
