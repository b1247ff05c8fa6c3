#pragma once

#include <QDBusConnection>
#include <QObject>

// The desktop's word that a tray may have come, so that nobody has to look for one on a timer:
// the StatusNotifierWatcher taking its name on the session bus, or a tray host registering with
// it. X11's own trays (XEmbed) take an X selection the toolkit does not report; there alone a
// tray must still be looked for now and then.
class TrayAnnouncements : public QObject
{
    Q_OBJECT

public:
    explicit TrayAnnouncements(QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    // Whether a tray can come without any announcement this class hears.
    static bool mustLookNowAndThen();

Q_SIGNALS:
    void announced();
};
