#include "platform/meteredconnection.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QVariantMap>

namespace {

// a{sa{sv}}: a connection's settings, setting by setting.
using ConnectionSettings = QMap<QString, QVariantMap>;

const QString service = QStringLiteral("org.freedesktop.NetworkManager");
const QString deviceInterface = QStringLiteral("org.freedesktop.NetworkManager.Device");

MeteredConnection::Outcome outcomeOf(const QDBusError &error)
{
    using Outcome = MeteredConnection::Outcome;
    const QString name = error.name();
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::NoServer:
    case QDBusError::Disconnected:
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return Outcome::Absent;
    case QDBusError::AccessDenied:
        return Outcome::Refused;
    default:
        break;
    }
    // NetworkManager's answers when polkit says no, and for adapters it does not run.
    if (name.endsWith(QLatin1String(".PermissionDenied")) || name.endsWith(QLatin1String(".NotAuthorized")))
        return Outcome::Refused;
    if (name == QLatin1String("org.freedesktop.NetworkManager.UnknownDevice")
        || name == QLatin1String("org.freedesktop.NetworkManager.Device.NotActive"))
        return Outcome::Unmanaged;
    return Outcome::Failed;
}

} // namespace

MeteredConnection::MeteredConnection(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    qDBusRegisterMetaType<ConnectionSettings>();
}

void MeteredConnection::change(const QString &interface, Decide decide)
{
    m_decide = std::move(decide);
    if (!m_bus.isConnected()) {
        end({Outcome::Absent, 0, m_bus.lastError().message()});
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/NetworkManager"),
                                                       service, QStringLiteral("GetDeviceByIpIface"));
    call << interface;
    send(call, [this](const QDBusMessage &reply) {
        m_device = reply.arguments().value(0).value<QDBusObjectPath>().path();
        QDBusMessage read = QDBusMessage::createMethodCall(service, m_device, deviceInterface,
                                                           QStringLiteral("GetAppliedConnection"));
        read << 0u;
        send(read, [this](const QDBusMessage &applied) { readApplied(applied); });
    });
}

void MeteredConnection::readApplied(const QDBusMessage &reply)
{
    const QList<QVariant> arguments = reply.arguments();
    if (arguments.size() != 2) {
        end({Outcome::Failed, 0, tr("NetworkManager answered GetAppliedConnection with %1").arg(reply.signature())});
        return;
    }
    ConnectionSettings settings = qdbus_cast<ConnectionSettings>(arguments[0]);
    const qulonglong versionId = arguments[1].toULongLong();
    // No value is NetworkManager's default, unknown.
    const int32_t found = settings.value(QStringLiteral("connection")).value(QStringLiteral("metered")).toInt();
    const std::optional<int32_t> written = m_decide(found);
    if (!written) {
        end({Outcome::Unchanged, found, {}});
        return;
    }
    // Everything else goes back as it came; the version makes NetworkManager refuse the change
    // when the connection has changed since it was read.
    settings[QStringLiteral("connection")][QStringLiteral("metered")] = QVariant::fromValue<int32_t>(*written);
    QDBusMessage reapply = QDBusMessage::createMethodCall(service, m_device, deviceInterface, QStringLiteral("Reapply"));
    reapply << QVariant::fromValue(settings) << QVariant::fromValue(versionId) << 0u;
    send(reapply, [this, found](const QDBusMessage &) { end({Outcome::Changed, found, {}}); });
}

void MeteredConnection::send(const QDBusMessage &call, Step next)
{
    m_step = std::move(next);
    if (m_blocking) {
        deliver(m_bus.call(call, QDBus::Block, m_replyTimeoutMs));
        return;
    }
    m_pending = new QDBusPendingCallWatcher(m_bus.asyncCall(call, m_replyTimeoutMs), this);
    connect(m_pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *watcher) {
        watcher->deleteLater();
        deliver(watcher->reply());
    });
}

void MeteredConnection::deliver(const QDBusMessage &reply)
{
    m_pending = nullptr;
    if (reply.type() == QDBusMessage::ErrorMessage) {
        const QDBusError error(reply);
        end({outcomeOf(error), 0, error.message()});
        return;
    }
    Step step = std::exchange(m_step, {});
    step(reply);
}

void MeteredConnection::finishBlocking()
{
    m_blocking = true;
    while (m_pending) {
        QDBusPendingCallWatcher *watcher = m_pending;
        watcher->disconnect(this);
        watcher->waitForFinished();
        watcher->deleteLater();
        deliver(watcher->reply());
    }
}

void MeteredConnection::end(const Result &result)
{
    m_step = {};
    m_decide = {};
    Q_EMIT finished(result);
}
