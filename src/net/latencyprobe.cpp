#include "net/latencyprobe.h"

#include <arpa/inet.h>

#include <QHostAddress>
#include <QHostInfo>

#include <algorithm>

std::optional<uint32_t> parseDottedAddress(const QString &text)
{
    in_addr address{};
    if (::inet_aton(text.toLatin1().constData(), &address) == 0 || address.s_addr == INADDR_NONE)
        return std::nullopt;
    return address.s_addr;
}

QString dottedAddress(uint32_t address)
{
    char text[INET_ADDRSTRLEN] = {};
    in_addr value{};
    value.s_addr = address;
    ::inet_ntop(AF_INET, &value, text, sizeof text);
    return QString::fromLatin1(text);
}

HostLookup::~HostLookup()
{
    if (m_id >= 0)
        QHostInfo::abortHostLookup(m_id);
}

void HostLookup::start(const QString &host)
{
    if (m_id >= 0) {
        QHostInfo::abortHostLookup(m_id);
        m_id = -1;
    }
    if (const std::optional<uint32_t> dotted = parseDottedAddress(host)) {
        Q_EMIT finished(LookupOutcome::Found, *dotted);
        return;
    }
    m_id = QHostInfo::lookupHost(host, this, [this](const QHostInfo &info) { onHostInfo(info); });
}

void HostLookup::onHostInfo(const QHostInfo &info)
{
    // A dropped look-up that still answers.
    if (info.lookupId() != m_id)
        return;
    m_id = -1;
    if (info.error() != QHostInfo::NoError) {
        Q_EMIT finished(info.error() == QHostInfo::HostNotFound ? LookupOutcome::HostNotFound
                                                                : LookupOutcome::TryAgain,
                        0);
        return;
    }
    // The resolver may put an IPv6 address (::1 for localhost) first; the echo needs IPv4.
    const QList<QHostAddress> addresses = info.addresses();
    const auto v4 = std::find_if(addresses.begin(), addresses.end(), [](const QHostAddress &address) {
        return address.protocol() == QAbstractSocket::IPv4Protocol;
    });
    if (v4 == addresses.end())
        Q_EMIT finished(LookupOutcome::NoIpv4Address, 0);
    else
        Q_EMIT finished(LookupOutcome::Found, htonl(v4->toIPv4Address()));
}

LatencyProbe::LatencyProbe(int32_t timeoutMs, int32_t ttl, int32_t size, EchoSocketKind kind, QObject *parent)
    : QObject(parent)
    , m_parameters{size, timeoutMs, ttl}
    , m_echo(kind)
{
    connect(&m_lookup, &HostLookup::finished, this, &LatencyProbe::onLookupFinished);
}

LatencyProbe::~LatencyProbe()
{
    if (m_worker.joinable()) {
        m_echo.interrupt();
        m_worker.join();
    }
}

void LatencyProbe::startProbe(const QString &host)
{
    if (waiting())
        return;
    m_lookup.start(host);
}

void LatencyProbe::onLookupFinished(LookupOutcome outcome, quint32 address)
{
    // Nothing to ping: the last time must not stay.
    if (outcome != LookupOutcome::Found) {
        Q_EMIT resultReady(QStringLiteral("-"));
        return;
    }
    m_worker = std::thread([this, address] {
        const EchoOutcome echo = m_echo.ping(address, m_parameters);
        m_echoEnded.post([this, echo] { finishEcho(echo); });
    });
}

void LatencyProbe::finishEcho(const EchoOutcome &outcome)
{
    m_worker.join();
    Q_EMIT resultReady(outcome.status == EchoStatus::Reply ? QString::number(outcome.roundTripMs)
                                                           : QStringLiteral("-"));
}
