#include "platform/trayannouncements.h"

#include <QDBusServiceWatcher>
#include <QGuiApplication>

namespace {
const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
} // namespace

TrayAnnouncements::TrayAnnouncements(QDBusConnection bus, QObject *parent)
    : QObject(parent)
{
    if (!bus.isConnected())
        return;
    auto *watcher = new QDBusServiceWatcher(watcherService, bus, QDBusServiceWatcher::WatchForRegistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &TrayAnnouncements::announced);
    // A watcher may be up before the panel that shows the icons.
    bus.connect(watcherService, QStringLiteral("/StatusNotifierWatcher"), watcherService,
                QStringLiteral("StatusNotifierHostRegistered"), this, SIGNAL(announced()));
}

bool TrayAnnouncements::mustLookNowAndThen()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}
