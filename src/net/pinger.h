#pragma once

#include "net/icmpecho.h"

#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QHostInfo;

// The ping component: owns one IcmpEcho, adds a name look-up that completes on the user-interface
// thread, and runs each echo on a worker thread so the wait never blocks that thread. The engine's
// callbacks come back as signals, in their order, on the thread the component lives in.
//
// While an echo runs the engine belongs to the worker: the properties written meanwhile reach it
// at the next ping, and the results read meanwhile are those of the last finished ping.
class Pinger : public QObject
{
    Q_OBJECT

public:
    // Creates the engine; raises IcmpEchoError when it cannot.
    explicit Pinger(EchoSocketKind kind = EchoSocketKind::Automatic, QObject *parent = nullptr);
    // A null engine gives a component whose reads are empty and whose writes and pings do nothing.
    explicit Pinger(std::unique_ptr<IcmpEcho> engine, QObject *parent = nullptr);
    // Cancels a pending look-up (dnsLookupDone with 10004), ends a wait in progress and joins the
    // worker; no echo starts and no echo signal comes from here on.
    ~Pinger() override;

    static constexpr quint16 lookupCancelled = 10004;
    static constexpr quint16 hostNotFound = 11001;
    static constexpr quint16 tryAgain = 11002;
    static constexpr quint16 noIpv4Address = 11004;

    // A dotted address completes before this returns, with the normalised dotted text; a name is
    // looked up in the background. A look-up still pending is dropped without a done signal.
    void dnsLookup(const QString &host);
    // Ends a pending look-up with dnsLookupDone(10004); nothing without one.
    void cancelDnsLookup();
    bool lookupPending() const { return m_lookupId >= 0; }
    // The dotted address of the last completed look-up; "" while pending and after a failure.
    const QString &lookupResult() const { return m_lookupResult; }

    QString address() const { return m_settings.address; }
    void setAddress(const QString &address) { write(&Settings::address, address); }
    int32_t size() const { return m_settings.size; }
    void setSize(int32_t size) { write(&Settings::size, size); }
    int32_t timeout() const { return m_settings.timeout; }
    void setTimeout(int32_t timeoutMs) { write(&Settings::timeout, timeoutMs); }
    int32_t ttl() const { return m_settings.ttl; }
    void setTtl(int32_t ttl) { write(&Settings::ttl, ttl); }
    int32_t flags() const { return m_settings.flags; }
    void setFlags(int32_t flags) { write(&Settings::flags, flags); }

    // Starts one echo on the worker; the signals follow. False, and nothing happens, without an
    // engine, while the previous echo still runs, or once the component is being destroyed.
    bool ping();
    bool busy() const { return m_worker.joinable(); }

    EchoReply reply() const;      // zeros without an engine
    int errorCode() const;        // -1 without an engine
    QString errorString() const;  // "" without an engine
    QString hostName() const;
    QString hostIp() const;

Q_SIGNALS:
    void dnsLookupDone(quint16 error); // 0: success
    void display(const QString &message);
    void echoRequest();
    void echoReply(int replies);
    // After every ping, also one that sent nothing; the results are read here.
    void pingFinished();

private:
    struct Settings
    {
        QString address;
        int32_t size = 0;
        int32_t timeout = 0;
        int32_t ttl = 0;
        int32_t flags = 0;
    };
    struct Results
    {
        EchoReply reply;
        uint32_t lastError = 0;
        QString hostName;
        QString hostIp;
    };

    // Without an engine a write is ignored.
    template<typename T>
    void write(T Settings::*field, const T &value)
    {
        if (m_engine)
            m_settings.*field = value;
    }
    void onLookupFinished(const QHostInfo &info);
    void finish(const Results &results, bool replied, int replies);
    // From the worker: `event` runs on this object's thread, after the ones posted before it.
    void post(std::function<void()> event);
    // One event per queued call, as posted: a receiver may delete this object between two.
    Q_INVOKABLE void deliverPosted();

    std::unique_ptr<IcmpEcho> m_engine;
    Settings m_settings;
    Results m_results;
    std::thread m_worker;
    // The worker's events wait here under a lock both threads take, so the hand-over is visible to
    // a race checker as well; the queued call that delivers them carries nothing of its own.
    std::mutex m_postedMutex;
    std::deque<std::function<void()>> m_posted;
    bool m_closing = false;
    int m_lookupId = -1;
    QString m_lookupResult;
};
