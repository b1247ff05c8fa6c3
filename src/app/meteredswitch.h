#pragma once

#include "meter/meteredrule.h"
#include "platform/meteredconnection.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// Marks the captured adapter's running connection as metered while the bucket is high, as
// MeteredRule decides, and puts the earlier value back. Until it is back, that value is recorded
// in a file beside the settings, so that a run that ended without putting it back (a crash, a
// kill) has it put back by the next start.
class MeteredSwitch : public QObject
{
    Q_OBJECT

public:
    // The bus is asked for only when there is something to change, so a switch that is off
    // never reaches NetworkManager.
    using Bus = std::function<QDBusConnection()>;

    explicit MeteredSwitch(QString recordFile, Bus bus = [] { return QDBusConnection::systemBus(); },
                           QObject *parent = nullptr);
    // Puts back what is owed, waiting for NetworkManager's replies.
    ~MeteredSwitch() override;

    // "MarkMetered" and "MeteredPercent".
    void setConfig(const AlertConfig &config);
    // At the start: the value a run before recorded goes back.
    void resume();
    // The tick of the bucket, on the connection of `interface` (the captured adapter).
    void tick(const AlertReading &reading, const QString &interface);
    // Puts back what is owed and waits until it is back; nothing changes after it.
    void finish();
    // A change is on its way to NetworkManager.
    bool busy() const { return m_under != MeteredRule::Action::None; }

    // "tarvo-metered.ini" beside the settings.
    static QString recordPath(const QString &settingsFolder);

Q_SIGNALS:
    // Why the switch does nothing more this run, for the status line; once.
    void statusLine(const QString &text);

private:
    MeteredConnection &connection();
    void start(MeteredRule::Action action);
    void finished(const MeteredConnection::Result &result);
    void record(MeteredValue earlier);
    void removeRecord();

    QString m_recordFile;
    Bus m_bus;
    std::unique_ptr<MeteredConnection> m_connection;
    MeteredRule m_rule;
    MeteredRule::Action m_under = MeteredRule::Action::None; // the change under way
    QString m_interface; // of the change under way or of the mark
    QString m_recordError;
    bool m_finished = false;
};
