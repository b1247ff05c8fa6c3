#include "net/pinger.h"

#include <QHostAddress>
#include <QHostInfo>

Pinger::Pinger(EchoSocketKind kind, QObject *parent)
    : Pinger(std::make_unique<IcmpEcho>(kind), parent)
{
}

Pinger::Pinger(std::unique_ptr<IcmpEcho> engine, QObject *parent)
    : QObject(parent)
    , m_engine(std::move(engine))
{
    if (!m_engine)
        return;
    m_settings = {m_engine->address(), m_engine->size, m_engine->timeout, m_engine->ttl, m_engine->flags};
    // Called on the worker: each becomes a signal on this object's thread, in the order raised.
    m_engine->onDisplay = [this](const QString &message) { post([this, message] { Q_EMIT display(message); }); };
    m_engine->onEchoRequest = [this] { post([this] { Q_EMIT echoRequest(); }); };
}

Pinger::~Pinger()
{
    m_closing = true;
    cancelDnsLookup();
    if (m_worker.joinable()) {
        m_engine->interrupt();
        m_worker.join();
    }
}

void Pinger::dnsLookup(const QString &host)
{
    if (m_lookupId >= 0) {
        QHostInfo::abortHostLookup(m_lookupId);
        m_lookupId = -1;
    }
    m_lookupResult.clear();
    if (const std::optional<uint32_t> dotted = parseDottedAddress(host)) {
        m_lookupResult = dottedAddress(*dotted);
        Q_EMIT dnsLookupDone(0);
        return;
    }
    m_lookupId = QHostInfo::lookupHost(host, this, [this](const QHostInfo &info) { onLookupFinished(info); });
}

void Pinger::onLookupFinished(const QHostInfo &info)
{
    // A cancelled or replaced look-up that still answers.
    if (info.lookupId() != m_lookupId)
        return;
    m_lookupId = -1;
    quint16 error = 0;
    if (info.error() != QHostInfo::NoError) {
        error = info.error() == QHostInfo::HostNotFound ? hostNotFound : tryAgain;
    } else {
        // The resolver may put an IPv6 address (::1 for localhost) first; the echo needs IPv4.
        const QList<QHostAddress> addresses = info.addresses();
        const auto v4 = std::find_if(addresses.begin(), addresses.end(), [](const QHostAddress &address) {
            return address.protocol() == QAbstractSocket::IPv4Protocol;
        });
        if (v4 == addresses.end())
            error = noIpv4Address;
        else
            m_lookupResult = v4->toString();
    }
    Q_EMIT dnsLookupDone(error);
}

void Pinger::cancelDnsLookup()
{
    if (m_lookupId < 0)
        return;
    QHostInfo::abortHostLookup(m_lookupId);
    m_lookupId = -1;
    Q_EMIT dnsLookupDone(lookupCancelled);
}

bool Pinger::ping()
{
    if (!m_engine || m_closing || busy())
        return false;
    IcmpEcho &engine = *m_engine;
    engine.setAddress(m_settings.address);
    engine.size = m_settings.size;
    engine.timeout = m_settings.timeout;
    engine.ttl = m_settings.ttl;
    engine.flags = m_settings.flags;
    m_worker = std::thread([this, &engine] {
        bool replied = false;
        engine.onEchoReply = [&replied](int) { replied = true; };
        const int replies = engine.ping();
        const Results results{engine.reply(), engine.lastError(), engine.hostName(), engine.hostIp()};
        post([this, results, replied, replies] { finish(results, replied, replies); });
    });
    return true;
}

void Pinger::post(std::function<void()> event)
{
    // Posted under the lock: Qt's event queue locks with futexes the race checker cannot see, so
    // this lock, taken again in deliverPosted, is what orders Qt's event allocation before its
    // deletion on this object's thread.
    const std::lock_guard lock(m_postedMutex);
    m_posted.push_back(std::move(event));
    QMetaObject::invokeMethod(this, "deliverPosted", Qt::QueuedConnection);
}

void Pinger::deliverPosted()
{
    std::function<void()> event;
    {
        const std::lock_guard lock(m_postedMutex);
        if (m_posted.empty())
            return;
        event = std::move(m_posted.front());
        m_posted.pop_front();
    }
    event();
}

void Pinger::finish(const Results &results, bool replied, int replies)
{
    m_worker.join();
    m_results = results;
    if (replied)
        Q_EMIT echoReply(replies);
    Q_EMIT pingFinished();
}

EchoReply Pinger::reply() const
{
    return m_results.reply;
}

int Pinger::errorCode() const
{
    return m_engine ? int(m_results.lastError) : -1;
}

QString Pinger::errorString() const
{
    return m_engine ? IcmpEcho::errorString(m_results.lastError) : QString();
}

QString Pinger::hostName() const
{
    return m_results.hostName;
}

QString Pinger::hostIp() const
{
    return m_results.hostIp;
}
