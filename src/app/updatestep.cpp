#include "app/updatestep.h"

#include "net/updaterules.h"
#include "platform/dialogs.h"
#include "platform/errorhandler.h"
#include "ui/common/weblinks.h"
#include "ui/monitor/monitorwindow.h"
#include "ui/update/updateofferwindow.h"

#include <QDir>

#include <stdexcept>

namespace {
const QString productName = QStringLiteral("Tarvo");

void showError(QWidget *parent, const QString &error)
{
    ErrorHandler::show(parent, std::runtime_error(error.toStdString()));
}
} // namespace

UpdateStep::UpdateStep(MonitorWindow &monitor, UpdateOfferWindow &offerWindow, ProgramEnvironment environment,
                       QString host)
    : check(environment.files.settingsFolder, std::move(host))
    , m_monitor(monitor)
    , m_offerWindow(offerWindow)
    , m_environment(std::move(environment))
{
    connect(&check, &UpdateCheck::finished, this, &UpdateStep::onChecked);
    // A server out of reach is common (no link yet, a proxy): the status line says so, no box.
    connect(&check, &UpdateCheck::failed, this,
            [this](const QString &error) { say(tr("Update check failed: %1").arg(error)); });

    connect(&m_offerWindow, &UpdateOfferWindow::downloadRequested, this, &UpdateStep::startDownload);
    connect(&m_offerWindow, &UpdateOfferWindow::remindLaterRequested, this, [this] {
        remind(reminderText(m_environment.now(), QLocale()));
    });
    connect(&m_offerWindow, &UpdateOfferWindow::neverRemindRequested, this, [this] { remind(QStringLiteral("-1")); });
    connect(&m_offerWindow, &UpdateOfferWindow::closed, &download, &InstallerDownload::abort);
    connect(&download, &InstallerDownload::progress, &m_offerWindow, &UpdateOfferWindow::showProgress);
    connect(&download, &InstallerDownload::finished, this, &UpdateStep::onDownloaded);
}

void UpdateStep::run()
{
    m_kept = m_monitor.statusText();
    check.start(productName, QStringLiteral(TARVO_VERSION), m_environment.now());
    if (check.asked())
        say(tr("Please wait... Checking for updates"));
}

void UpdateStep::say(const QString &text)
{
    if (m_kept.isEmpty()) {
        m_monitor.setStatusText(text);
        return;
    }
    m_monitor.setStatusText(m_kept);
    m_monitor.showNotice(text);
}

void UpdateStep::onChecked()
{
    if (!check.asked())
        return; // the reminder kept the check quiet: there is nothing to report
    if (!check.newVersionAvailable()) {
        say(tr("Update check complete: No new version found"));
        return;
    }
    say(tr("Update check complete: New version found"));
    offer();
}

void UpdateStep::offer()
{
    const QString page = check.whatsNew();
    const QString error = UpdateFiles::writeLines(UpdateFiles::pagePath(m_environment.files.downloadFolder), splitLines(page));
    if (!error.isEmpty()) {
        showError(&m_monitor, error);
        return;
    }
    m_offerWindow.showOffer(check.productName(), page);
}

void UpdateStep::startDownload()
{
    download.start(QUrl(check.downloadUrl()), UpdateFiles::installerPath(m_environment.files.downloadFolder), {},
                   check.installerSha256());
}

void UpdateStep::onDownloaded(const DownloadResult &result)
{
    // A refusal by the server's status leaves the window as it is, without a word.
    if (!result.error.isEmpty())
        showError(&m_offerWindow, result.error);
    if (!result.saved)
        return;
    const QString file = UpdateFiles::installerPath(m_environment.files.downloadFolder);
    if (!result.verified) {
        // Whoever sits on the road may have chosen this file: the user looks at it, no opener does.
        m_offerWindow.showUnverified(file);
        WebLinks::open(QUrl::fromLocalFile(m_environment.files.downloadFolder));
        return;
    }
    Dialogs::inform(&m_offerWindow, tr("%1 has finished downloading the update. %1 will now close, and "
                                                   "your desktop will open the downloaded file %2 with the program "
                                                   "it uses for such files.")
                                        .arg(check.productName(), QDir::toNativeSeparators(file)));
    // The desktop's handler decides what to do with the file and asks the user; the program
    // never runs it or marks it executable itself.
    WebLinks::open(QUrl::fromLocalFile(file));
    Q_EMIT quitRequested();
    m_offerWindow.close();
}

void UpdateStep::remind(const QString &line)
{
    const QString error = UpdateFiles::writeLines(UpdateFiles::reminderPath(m_environment.files.settingsFolder), {line});
    if (!error.isEmpty()) {
        showError(&m_offerWindow, error);
        return;
    }
    m_offerWindow.close();
}
