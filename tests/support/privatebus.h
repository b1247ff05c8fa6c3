#pragma once

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// A bus of the test's own: a dbus-daemon the test starts and stops, whose address the process
// takes as its session bus (or its system bus). Its configuration names no service folders, so a
// service installed on the machine is never started by a call that finds none.
class PrivateBus
{
public:
    enum class Kind { Session, System };
    explicit PrivateBus(Kind kind = Kind::Session)
        : m_kind(kind)
    {
    }
    ~PrivateBus()
    {
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            m_daemon.waitForFinished(5000);
        }
    }

    // Call before the first use of the bus; false when no daemon could be started.
    bool start()
    {
        const QString configPath = m_folder.filePath(QStringLiteral("session.conf"));
        QFile config(configPath);
        if (!m_folder.isValid() || !config.open(QIODevice::WriteOnly))
            return false;
        config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                     " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig>\n  <type>" + QByteArray(m_kind == Kind::System ? "system" : "session")
                     + "</type>\n  <listen>unix:dir=" + m_folder.path().toUtf8()
                     + "</listen>\n  <auth>EXTERNAL</auth>\n"
                       "  <policy context=\"default\">\n    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                       "    <allow eavesdrop=\"true\"/>\n    <allow own=\"*\"/>\n  </policy>\n</busconfig>\n");
        config.close();
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file=") + configPath, QStringLiteral("--nofork"),
                        QStringLiteral("--print-address")});
        if (!m_daemon.waitForStarted())
            return false;
        while (!m_daemon.canReadLine()) {
            if (!m_daemon.waitForReadyRead(10000))
                return false;
        }
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        qputenv(m_kind == Kind::System ? "DBUS_SYSTEM_BUS_ADDRESS" : "DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
        return !m_address.isEmpty();
    }

    const QString &address() const { return m_address; }

private:
    Kind m_kind;
    QTemporaryDir m_folder;
    QProcess m_daemon;
    QString m_address;
};

using PrivateSessionBus = PrivateBus;
