#pragma once

#include "app/controller.h"
#include "net/installerdownload.h"
#include "net/updatecheck.h"

#include <QObject>

class MonitorWindow;
class UpdateOfferWindow;

// After the first confirmation: asks for a newer version, reports in the monitor's status line,
// and offers what the server offers: its page, the download of the installer, and the two
// reminders. Nothing here waits: the meter and the probe go on while the server is asked.
class UpdateStep : public QObject
{
    Q_OBJECT

public:
    // `host` is the update server, optionally with ":port".
    UpdateStep(MonitorWindow &monitor, UpdateOfferWindow &offerWindow, ProgramEnvironment environment,
               QString host);

    void run();

    UpdateCheck check;
    InstallerDownload download;

Q_SIGNALS:
    // The installer is opened: the program ends with its normal shut-down.
    void quitRequested();

private:
    // The check's texts go to the status line; a text already there (the no-tray hint) stays
    // and they pass over it as notices.
    void say(const QString &text);
    void onChecked();
    void offer();
    void startDownload();
    void onDownloaded(const DownloadResult &result);
    // Writes the reminder file, then closes the offer.
    void remind(const QString &line);

    MonitorWindow &m_monitor;
    UpdateOfferWindow &m_offerWindow;
    ProgramEnvironment m_environment;
    QString m_kept; // the status line's text before the check
};
