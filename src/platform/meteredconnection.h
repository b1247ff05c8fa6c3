#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QDBusPendingCallWatcher;

// The metered state (connection.metered) of the connection running on a network adapter, through
// NetworkManager on the system bus: read from the device's applied connection and changed with
// Device.Reapply, so that the saved profile never changes and the change ends when the device
// connects again. Calls are asynchronous, one change at a time, except after finishBlocking().
class MeteredConnection : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { Changed, Unchanged, Absent, Refused, Unmanaged, Failed };
    struct Result
    {
        Outcome outcome = Outcome::Failed;
        int32_t found = 0; // the value before, when it was read
        QString message;   // the bus's own words, for Failed
    };
    // From the value found, the value to write; none leaves the connection as it is.
    using Decide = std::function<std::optional<int32_t>(int32_t found)>;

    static constexpr int defaultReplyTimeoutMs = 5000;

    explicit MeteredConnection(QDBusConnection bus, QObject *parent = nullptr);

    void setReplyTimeout(int milliseconds) { m_replyTimeoutMs = milliseconds; }

    // Looks up the device of `interface`, reads its value and writes what `decide` says;
    // `finished` tells how it ended. Only while nothing is under way.
    void change(const QString &interface, Decide decide);
    bool busy() const { return bool(m_step); }
    // From here on every call waits for its reply; the change under way ends before it returns.
    void finishBlocking();

Q_SIGNALS:
    void finished(const MeteredConnection::Result &result);

private:
    using Step = std::function<void(const QDBusMessage &reply)>;
    void send(const QDBusMessage &call, Step next);
    void deliver(const QDBusMessage &reply);
    void readApplied(const QDBusMessage &reply);
    void end(const Result &result);

    QDBusConnection m_bus;
    int m_replyTimeoutMs = defaultReplyTimeoutMs;
    bool m_blocking = false;
    Step m_step; // what the awaited reply goes to
    QPointer<QDBusPendingCallWatcher> m_pending;
    QString m_device; // the device's object path, during a change
    Decide m_decide;
};
