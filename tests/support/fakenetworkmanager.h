#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>

// A NetworkManager of the test's own on a bus of the test's own: the manager's
// GetDeviceByIpIface, devices with GetAppliedConnection and Reapply, one of them unmanaged,
// and a refusal of every change when told to. It answers on a thread of its own, so that a
// caller that blocks for a reply (at the end of a run) still gets one. Every call on the saved
// profiles (Settings, Settings.Connection) is recorded and refused.
class FakeNetworkManager : public QDBusVirtualObject
{
public:
    using ConnectionSettings = QMap<QString, QVariantMap>;
    static inline const QString managedInterface = QStringLiteral("tarvo0");
    static inline const QString unmanagedInterface = QStringLiteral("unmanaged0");
    static inline const QString root = QStringLiteral("/org/freedesktop/NetworkManager");
    static inline const QString managedDevice = root + QStringLiteral("/Devices/1");

    FakeNetworkManager()
    {
        qDBusRegisterMetaType<ConnectionSettings>();
        qDBusRegisterMetaType<QList<QVariantMap>>();
        setApplied(std::nullopt);
    }

    ~FakeNetworkManager() override { stop(); }

    // Serves on `address` as org.freedesktop.NetworkManager.
    bool start(const QString &address)
    {
        m_connection = QDBusConnection::connectToBus(address, QStringLiteral("fake-network-manager"));
        if (!m_connection->registerVirtualObject(root, this, QDBusConnection::SubPath))
            return false;
        m_thread.start();
        moveToThread(&m_thread);
        return setRunning(true);
    }
    void stop()
    {
        if (!m_connection)
            return;
        m_connection->unregisterObject(root);
        m_connection.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-network-manager"));
        m_thread.quit();
        m_thread.wait();
    }
    // Off: the name has no owner, as when NetworkManager does not run.
    bool setRunning(bool running)
    {
        const QString name = QStringLiteral("org.freedesktop.NetworkManager");
        return running ? m_connection->registerService(name) : m_connection->unregisterService(name);
    }

    // The managed device's applied connection, its metered value none (not set) or one given.
    void setApplied(std::optional<int32_t> metered)
    {
        QMutexLocker lock(&m_mutex);
        QVariantMap connection{{QStringLiteral("id"), QStringLiteral("Satellite")},
                               {QStringLiteral("uuid"), QStringLiteral("6a3e5c3a-5b1c-4f6e-9d8e-1f2a3b4c5d6e")}};
        if (metered)
            connection.insert(QStringLiteral("metered"), QVariant::fromValue(*metered));
        const QList<QVariantMap> addresses{{{QStringLiteral("address"), QStringLiteral("192.0.2.10")},
                                            {QStringLiteral("prefix"), QVariant::fromValue(24u)}}};
        m_applied = {{QStringLiteral("connection"), connection},
                     {QStringLiteral("ipv4"),
                      {{QStringLiteral("method"), QStringLiteral("manual")},
                       {QStringLiteral("address-data"), QVariant::fromValue(addresses)}}}};
        m_version = 7;
        m_reapplied.clear();
        m_calls = 0;
        m_profileCalls.clear();
    }
    void setRefusing(bool refusing)
    {
        QMutexLocker lock(&m_mutex);
        m_refusing = refusing;
    }

    // The metered values Reapply got, in order.
    QList<int32_t> reapplied() const
    {
        QMutexLocker lock(&m_mutex);
        return m_reapplied;
    }
    int calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }
    QStringList profileCalls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_profileCalls;
    }
    // The rest of the applied connection came back as it was.
    bool restUnchanged() const
    {
        QMutexLocker lock(&m_mutex);
        const QVariantMap ipv4 = m_applied.value(QStringLiteral("ipv4"));
        const QVariant data = ipv4.value(QStringLiteral("address-data"));
        const QList<QVariantMap> addresses = data.canConvert<QDBusArgument>()
                                                 ? qdbus_cast<QList<QVariantMap>>(data)
                                                 : data.value<QList<QVariantMap>>();
        return m_applied.value(QStringLiteral("connection")).value(QStringLiteral("id")) == QStringLiteral("Satellite")
               && ipv4.value(QStringLiteral("method")) == QStringLiteral("manual") && addresses.size() == 1
               && addresses[0].value(QStringLiteral("address")) == QStringLiteral("192.0.2.10")
               && addresses[0].value(QStringLiteral("prefix")).toUInt() == 24;
    }

    QString introspect(const QString &) const override { return {}; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        QMutexLocker lock(&m_mutex);
        ++m_calls;
        connection.send(answer(message));
        return true;
    }

private:
    QDBusMessage answer(const QDBusMessage &message)
    {
        const QString member = message.member();
        const QString path = message.path();
        if (path.startsWith(root + QStringLiteral("/Settings"))) {
            m_profileCalls.append(message.interface() + u'.' + member + u' ' + path);
            return message.createErrorReply(QStringLiteral("org.freedesktop.NetworkManager.PermissionDenied"),
                                            QStringLiteral("the saved profile is not Tarvo's"));
        }
        if (path == root && member == QLatin1String("GetDeviceByIpIface")) {
            const QString interface = message.arguments().value(0).toString();
            if (interface == managedInterface)
                return message.createReply(QVariant::fromValue(QDBusObjectPath(managedDevice)));
            if (interface == unmanagedInterface)
                return message.createReply(QVariant::fromValue(QDBusObjectPath(root + QStringLiteral("/Devices/2"))));
            return message.createErrorReply(QStringLiteral("org.freedesktop.NetworkManager.UnknownDevice"),
                                            QStringLiteral("No device found for the requested iface."));
        }
        if (path == root + QStringLiteral("/Devices/2"))
            return message.createErrorReply(QStringLiteral("org.freedesktop.NetworkManager.Device.NotActive"),
                                            QStringLiteral("Device is not activated"));
        if (path == managedDevice && member == QLatin1String("GetAppliedConnection"))
            return message.createReply({QVariant::fromValue(m_applied), QVariant::fromValue(m_version)});
        if (path == managedDevice && member == QLatin1String("Reapply")) {
            if (m_refusing)
                return message.createErrorReply(QStringLiteral("org.freedesktop.NetworkManager.PermissionDenied"),
                                                QStringLiteral("Not authorized to reapply the connection"));
            if (message.arguments().value(1).toULongLong() != m_version)
                return message.createErrorReply(QStringLiteral("org.freedesktop.NetworkManager.Device.VersionIdMismatch"),
                                                QStringLiteral("Version id mismatch"));
            m_applied = qdbus_cast<ConnectionSettings>(message.arguments().value(0));
            ++m_version;
            m_reapplied.append(m_applied.value(QStringLiteral("connection")).value(QStringLiteral("metered")).toInt());
            return message.createReply();
        }
        return message.createErrorReply(QDBusError::UnknownMethod, member);
    }

    mutable QMutex m_mutex;
    QThread m_thread;
    std::optional<QDBusConnection> m_connection;
    ConnectionSettings m_applied;
    qulonglong m_version = 0;
    bool m_refusing = false;
    QList<int32_t> m_reapplied;
    int m_calls = 0;
    QStringList m_profileCalls;
};
