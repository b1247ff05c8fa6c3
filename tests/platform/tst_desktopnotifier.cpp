#include "platform/desktopnotifier.h"
#include "support/privatebus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString serviceName = u"org.freedesktop.Notifications"_s;

// A notification server of the test's own: records every Notify, answers it or, when told to,
// never does.
class FakeNotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Received
    {
        QString application;
        QString icon;
        QString summary;
        QString body;
        QVariantMap hints;
    };
    QList<Received> received;
    bool answer = true;

public Q_SLOTS:
    uint Notify(const QString &application, uint, const QString &icon, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &hints, int, const QDBusMessage &message)
    {
        received.append({application, icon, summary, body, hints});
        if (!answer)
            message.setDelayedReply(true); // and no reply ever comes
        return uint(received.size());
    }
};

} // namespace

class TestDesktopNotifier : public QObject
{
    Q_OBJECT

    PrivateSessionBus m_bus;
    std::optional<QDBusConnection> m_serverConnection;
    FakeNotificationServer m_server;

    void setService(bool registered)
    {
        if (registered)
            QVERIFY(m_serverConnection->registerService(serviceName));
        else
            m_serverConnection->unregisterService(serviceName);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!m_bus.start())
            QSKIP("dbus-daemon could not be started (scripts/deps installs the dbus package)");
        // The server has a connection of its own, so its calls really cross the bus.
        m_serverConnection = QDBusConnection::connectToBus(m_bus.address(), u"fake-server"_s);
        QVERIFY(m_serverConnection->isConnected());
        QVERIFY(m_serverConnection->registerObject(u"/org/freedesktop/Notifications"_s, &m_server,
                                                   QDBusConnection::ExportAllSlots));
        QVERIFY(QDBusConnection::sessionBus().isConnected());
    }

    void cleanupTestCase()
    {
        m_serverConnection.reset();
        QDBusConnection::disconnectFromBus(u"fake-server"_s);
    }

    void init()
    {
        m_server.received.clear();
        m_server.answer = true;
    }

    void theServiceShowsIt()
    {
        setService(true);
        DesktopNotifier notifier;
        bool fellBack = false;
        notifier.setTrayBalloon([&](const QString &, const QString &, bool) { return fellBack = true; });
        notifier.setStatusLine([&](const QString &) { fellBack = true; });
        QSignalSpy delivered(&notifier, &DesktopNotifier::delivered);

        notifier.notify(u"Cut off"_s, u"Cut off until about 13:00."_s, true);
        QVERIFY(delivered.wait());
        QCOMPARE(delivered.first().first().value<DesktopNotifier::Channel>(), DesktopNotifier::Channel::Desktop);
        QCOMPARE(m_server.received.size(), 1);
        const auto &got = m_server.received.first();
        QCOMPARE(got.application, u"Tarvo"_s);
        QCOMPARE(got.icon, u"tarvo"_s);
        QCOMPARE(got.summary, u"Cut off"_s);
        QCOMPARE(got.body, u"Cut off until about 13:00."_s);
        QCOMPARE(got.hints.value(u"urgency"_s).toInt(), 2);
        QVERIFY(!fellBack);
    }

    void fallbacks_data()
    {
        QTest::addColumn<bool>("service");
        QTest::addColumn<bool>("answers");
        QTest::addColumn<bool>("tray");
        QTest::addColumn<DesktopNotifier::Channel>("channel");
        QTest::newRow("no service: the tray's balloon") << false << true << true << DesktopNotifier::Channel::Tray;
        QTest::newRow("no service, no tray: the status line")
            << false << true << false << DesktopNotifier::Channel::StatusLine;
        QTest::newRow("a service that never answers: the tray's balloon")
            << true << false << true << DesktopNotifier::Channel::Tray;
        QTest::newRow("a service that never answers, no tray: the status line")
            << true << false << false << DesktopNotifier::Channel::StatusLine;
    }

    void fallbacks()
    {
        QFETCH(bool, service);
        QFETCH(bool, answers);
        QFETCH(bool, tray);
        QFETCH(DesktopNotifier::Channel, channel);
        setService(service);
        m_server.answer = answers;

        DesktopNotifier notifier;
        notifier.setReplyTimeout(300);
        QStringList balloons, statusLines;
        notifier.setTrayBalloon([&](const QString &summary, const QString &body, bool) {
            if (tray)
                balloons.append(summary + u'|' + body);
            return tray;
        });
        notifier.setStatusLine([&](const QString &text) { statusLines.append(text); });
        QSignalSpy delivered(&notifier, &DesktopNotifier::delivered);

        notifier.notify(u"Throttled"_s, u"20,000,000 bytes to cut off."_s);
        // The call is on its way; nothing has waited for the bus.
        QVERIFY(delivered.isEmpty());
        QVERIFY(delivered.wait());
        QCOMPARE(delivered.first().first().value<DesktopNotifier::Channel>(), channel);
        QCOMPARE(m_server.received.size(), service ? 1 : 0);
        QCOMPARE(balloons, tray ? QStringList{u"Throttled|20,000,000 bytes to cut off."_s} : QStringList{});
        QCOMPARE(statusLines,
                 tray ? QStringList{} : QStringList{u"Throttled: 20,000,000 bytes to cut off."_s});
        setService(false);
    }

    void noBusAtAll()
    {
        DesktopNotifier notifier(QDBusConnection(u"never connected"_s));
        QStringList statusLines;
        notifier.setStatusLine([&](const QString &text) { statusLines.append(text); });
        notifier.notify(u"Frames dropped"_s, u"Frames dropped by the capture: 3."_s);
        QCOMPARE(statusLines, QStringList{u"Frames dropped: Frames dropped by the capture: 3."_s});
    }
};

QTEST_MAIN(TestDesktopNotifier)
#include "tst_desktopnotifier.moc"
