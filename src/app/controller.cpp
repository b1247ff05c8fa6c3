#include "app/controller.h"

#include "capture/capturethread.h"
#include "meter/metertick.h"
#include "net/endpoints.h"
#include "net/latencyprobe.h"
#include "net/publicaddresslookup.h"
#include "platform/desktopnotifier.h"
#include "platform/dialogs.h"
#include "platform/errorhandler.h"
#include "settings/optionvalues.h"
#include "settings/plans.h"
#include "settings/profile.h"
#include "ui/common/weblinks.h"
#include "ui/history/historywindow.h"
#include "ui/monitor/monitorwindow.h"
#include "ui/monitor/trayindicator.h"
#include "ui/options/optionswindow.h"
#include "ui/planner/plannerwindow.h"

#include <QCoreApplication>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

QTimer *timer(QObject *parent, const char *name, int intervalMs)
{
    auto *created = new QTimer(parent);
    created->setObjectName(QLatin1String(name));
    created->setInterval(intervalMs);
    return created;
}

} // namespace

Controller::Controller(OptionsWindow &options, ProgramEnvironment environment)
    : m_options(options)
    , m_environment(std::move(environment))
    , m_historyFile(m_environment.files.historyFile())
{
    autoConfirmTimer = timer(this, "autoConfirmTimer", 1);
    connect(autoConfirmTimer, &QTimer::timeout, this,
            [this] { ErrorHandler::run(&m_options, [this] { autoConfirm(); }); });
    saveTimer = timer(this, "saveTimer", 10000);
    connect(saveTimer, &QTimer::timeout, this, &Controller::periodicSave);
    tickTimer = timer(this, "tickTimer", 1000);
    connect(tickTimer, &QTimer::timeout, this, [this] { tickAt(m_environment.now()); });
    // The latency probe runs on it.
    pingTimer = timer(this, "pingTimer", 30000);

    connect(&m_options, &OptionsWindow::confirmRequested, this,
            [this] { ErrorHandler::run(&m_options, [this] { confirm(); }); });
    connect(&m_options, &OptionsWindow::cancelRequested, this, &Controller::cancel);
    connect(&m_options, &OptionsWindow::planChosen, this, &Controller::fillFromPlan);
    connect(&m_options, &OptionsWindow::activated, this, &Controller::onOptionsActivated);
    // The options window is the program's main window: closing it ends the program, even while
    // the monitor window is shown.
    connect(&m_options, &OptionsWindow::closed, this, &QCoreApplication::quit);
    // Each edit publishes a new snapshot of the list: the capture counts by it from the next frame.
    connect(&m_options, &OptionsWindow::lanAddressAdded, this,
            [this](const QString &address) { settings.lanAddresses.append(address); });
    connect(&m_options, &OptionsWindow::lanAddressRemoved, this,
            [this](int row) { settings.lanAddresses.removeAt(row); });
    connect(&m_options, &OptionsWindow::ignoredAddressAdded, this,
            [this](const QString &address) { settings.ignoredAddresses.append(address); });
    connect(&m_options, &OptionsWindow::ignoredAddressRemoved, this,
            [this](int row) { settings.ignoredAddresses.removeAt(row); });
    publicAddressLookup = new PublicAddressLookup(Endpoints::publicAddressHost(), this);
    connect(&m_options, &OptionsWindow::showPublicAddressRequested, this,
            [this] { WebLinks::open(publicAddressLookup->pageUrl()); });
    connect(&m_options, &OptionsWindow::addPublicAddressRequested, publicAddressLookup, &PublicAddressLookup::start);
    connect(publicAddressLookup, &PublicAddressLookup::finished, &m_options, &OptionsWindow::endPublicAddressLookup);
    notifier = new DesktopNotifier(QDBusConnection::sessionBus(), this);

    AdapterEnumeration adapters = enumerateAdapters();
    if (!adapters.error.isNull())
        Dialogs::inform(&m_options, QStringLiteral("Error in pcap_findalldevs: \n") + adapters.error);
    m_deviceNames = adapters.deviceNames;
    m_options.setAdapters(adapters.rows);

    counters.downloadedTotal.store(0);
    meter.setUsedBytes(0);

    load();
    saveTimer->start();
    m_history = std::make_unique<HistoryRecorder>(m_environment.files.historyFile());
    connect(m_history.get(), &HistoryRecorder::message, this, [this](const QString &message) {
        if (m_monitor)
            m_monitor->showNotice(message);
    });
}

Controller::~Controller()
{
    stopCapture();
    // The minute under way is written too: a later run merges into it.
    if (auto minute = m_historyFeed.finish())
        m_history->record(std::move(*minute));
    m_history.reset();
    // The monitor window is gone by now, and a box that waits for a click would hold up a logout:
    // a failure of this last save goes to standard error, which the desktop keeps in its log.
    m_shuttingDown = true;
    if (m_settingsUnsaved)
        writeFile([this] { saveSettings(settingsPath(m_environment.files.settingsFolder), settings); });
    writeFile([this] { saveBucket(); });
}

void Controller::load()
{
    // Left behind by a run killed between writing a new file and renaming it over the old one.
    IniDocument::removeStaleTemporaries(settingsPath(m_environment.files.settingsFolder));
    m_options.setPlans(readPlanNames(m_environment.files.plansFile));

    const IniDocument ini = IniDocument::read(settingsPath(m_environment.files.settingsFolder));
    loadSettings(ini, settings);
    settings.adapterIndex = adapterRowFor(m_deviceNames, settings.adapterName, settings.adapterIndex);
    const FapState fap = loadFapState(ini);
    meter.applySettings(settings.fap, fap.usedBytes);
    lastUseKnown = fap.lastShut != noLastUse;
    m_drainedUntil = m_environment.now();
    if (lastUseKnown) {
        meter.catchUp(fap.lastShut, m_drainedUntil);
    } else {
        Dialogs::ask(nullptr, Dialogs::Request{
            QStringLiteral("Tarvo can not determine the last time it was used"),
            QStringLiteral("Tarvo can not determine the time it was last used, therefore it can not calculate your "
                           "actual FAP level. Please fill it in manually. If you haven't used the internet for more "
                           "than 12 hours, click the max button next to the edit. If this is the first time your use "
                           "Tarvo, just ignore this message."),
            QMessageBox::Ok, QMessageBox::NoIcon});
    }
    m_alertRules.setConfig(settings.alerts);
    m_options.showSettings(settings);
    showUsedBytes();
}

void Controller::setMonitor(MonitorWindow *monitor)
{
    m_monitor = monitor;
    m_monitor->applySettings(settings);
    connect(m_monitor, &MonitorWindow::closeRequested, &m_options, &QWidget::close);
    connect(m_monitor, &MonitorWindow::optionsRequested, this, &Controller::showOptions);
    connect(m_monitor, &MonitorWindow::historyRequested, this, &Controller::showHistory);
    m_monitor->setHistoryAvailable(m_historyReader != nullptr);
    connect(m_monitor, &MonitorWindow::alwaysOnTopToggled, this, &Controller::setAlwaysOnTop);
    connect(m_monitor, &MonitorWindow::resetCountersRequested, this,
            [this] { resetInterfaceCounters(counters, stats, meter); });
    connect(m_monitor, &MonitorWindow::resetFapLevelRequested, this, [this] { resetFapLevel(counters, stats, meter); });
    notifier->setTrayBalloon([this](const QString &summary, const QString &body, bool urgent) {
        return m_monitor->showTrayMessage(summary, body, urgent);
    });
    notifier->setStatusLine([this](const QString &text) { m_monitor->showNotice(text); });
    createLatencyProbe();
}

void Controller::setPlanner(PlannerWindow *planner)
{
    m_planner = planner;
    connect(m_monitor, &MonitorWindow::plannerRequested, this, [this] {
        m_planner->start(plannerInputs(m_environment.now()));
        m_planner->show();
        m_planner->raise();
        m_planner->activateWindow();
    });
}

PlannerInputs Controller::plannerInputs(double now) const
{
    return {settings.fap, meter.usedBytes(), meter.cutOff(), oleDateToDateTime(now), stats.averageDownload};
}

void Controller::setHistoryReader(const UsageHistoryReader *reader)
{
    delete m_historyWindow; // it reads the reader it was opened on
    m_historyReader = reader;
    if (m_monitor)
        m_monitor->setHistoryAvailable(reader != nullptr);
}

HistoryWindow *Controller::historyWindow() const
{
    return m_historyWindow;
}

void Controller::showHistory()
{
    if (!m_historyReader)
        return;
    if (!m_historyWindow) {
        m_historyWindow = new HistoryWindow(*m_historyReader, oleDateToDateTime(m_environment.now()), m_monitor);
        m_historyWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
}

void Controller::createLatencyProbe()
{
    // The echo's time-out, TTL and size are taken once; the host is read at every probe.
    try {
        m_latencyProbe = std::make_unique<LatencyProbe>(settings.pingTimeoutMs, settings.pingTtl,
                                                        settings.pingPacketSize);
    } catch (const IcmpEchoError &error) {
        Dialogs::inform(nullptr, QString::fromStdString(error.what()));
        return;
    }
    connect(m_latencyProbe.get(), &LatencyProbe::resultReady, m_monitor, &MonitorWindow::setPingText);
    connect(pingTimer, &QTimer::timeout, m_latencyProbe.get(),
            [this] { m_latencyProbe->startProbe(settings.pingHost); });
}

void Controller::onOptionsActivated()
{
    if (!firstActivationPending)
        return;
    firstActivationPending = false;
    autoConfirmTimer->start();
}

void Controller::autoConfirm()
{
    autoConfirmTimer->stop();
    if (!m_options.showAtStartChecked() && lastUseKnown)
        confirm();
}

void Controller::saveBucket()
{
    const double now = m_environment.now();
    drainWhileWaiting(now);
    saveFapState(settingsPath(m_environment.files.settingsFolder), now, meter.usedBytes());
}

void Controller::drainWhileWaiting(double now)
{
    if (!firstConfirmPending)
        return; // the tick drains the bucket from the first confirmation on
    // Whole seconds only; the fraction left over counts at the next drain.
    const double milliseconds = std::round((now - m_drainedUntil) * 86400000.0);
    if (!(milliseconds >= 1000.0)) {
        if (!(milliseconds >= 0.0))
            m_drainedUntil = now; // a clock set back: drain from the new time on
        return;
    }
    const double drainedUntil = m_drainedUntil + std::floor(milliseconds / 1000.0) / 86400.0;
    const QString shown = m_options.usedBytesText();
    meter.catchUp(m_drainedUntil, drainedUntil);
    m_drainedUntil = drainedUntil;
    // The box the confirmation takes the level from follows, unless the user has typed in it.
    if (shown == m_shownUsedBytes)
        showUsedBytes();
}

void Controller::showUsedBytes()
{
    m_options.showUsedBytes(meter.usedBytes());
    m_shownUsedBytes = m_options.usedBytesText();
}

void Controller::periodicSave()
{
    if (m_settingsUnsaved)
        m_settingsUnsaved = !writeFile([this] { saveSettings(settingsPath(m_environment.files.settingsFolder), settings); });
    writeFile([this] { saveBucket(); });
}

bool Controller::writeFile(const std::function<void()> &write)
{
    try {
        write();
    } catch (const std::exception &error) {
        if (m_shuttingDown) {
            std::fprintf(stderr, "tarvo: %s\n", error.what());
        } else if (!m_saveFailing) {
            // Once; the saves go on retrying quietly until one works again. The box comes after
            // the handler has finished, so a confirmation starts the counting before it waits.
            m_saveFailing = true;
            QMetaObject::invokeMethod(
                this, [this, failure = std::runtime_error(error.what())] { ErrorHandler::show(&m_options, failure); },
                Qt::QueuedConnection);
        }
        return false;
    }
    if (m_saveFailing && !m_shuttingDown) {
        m_saveFailing = false;
        if (m_monitor)
            m_monitor->setStatusText(
                QStringLiteral("Saving to %1 works again").arg(settingsPath(m_environment.files.settingsFolder)));
    }
    return true;
}

void Controller::fillFromPlan(int row)
{
    m_options.showPlan(readPlan(m_environment.files.plansFile, row));
}

void Controller::confirm()
{
    // The box the level is taken from shows the level of now, unless the user has typed in it:
    // before the first confirmation the waiting bucket has drained, after it the capture and the
    // tick have moved the bucket while the options were open.
    drainWhileWaiting(m_environment.now());
    if (!firstConfirmPending && m_options.usedBytesText() == m_shownUsedBytes)
        showUsedBytes();
    if (m_options.selectedAdapter() < 0) {
        Dialogs::inform(&m_options,
                        QStringLiteral("Please select a network adapter from the Network tab ( first tab )."));
        return;
    }
    if (!m_options.hasLanRule()) {
        Dialogs::inform(&m_options,
                        QStringLiteral("In order to continue you must add at least one LAN IP ( this computer's )."));
        return;
    }
    const OptionsReadBack readBack = m_options.readSettings(settings);
    // A byte count that would not fit 32 bits is refused before anything is taken.
    if (readBack.stop == OptionsReadBack::Stop::OutOfRange) {
        Dialogs::inform(&m_options, readBack.message);
        return;
    }
    settings.adapterIndex = m_options.selectedAdapter();
    settings.adapterName = m_deviceNames.value(settings.adapterIndex);
    takeBucket(readBack.values);
    // A box that holds no number ends the confirmation silently; the boxes before it count.
    if (readBack.stop == OptionsReadBack::Stop::NotANumber)
        return;
    m_alertRules.setConfig(settings.alerts);
    // The bucket keeps its own copy of the plan: the throttle limit and the off-peak window.
    meter.setParameters(settings.fap);
    m_monitor->applySettings(settings);
    // A file that cannot be written must not stop the counting: the failure is shown once and
    // the 10-second save retries it.
    m_settingsUnsaved = !writeFile([this] { saveSettings(settingsPath(m_environment.files.settingsFolder), settings); });

    if (firstConfirmPending) {
        startCapture();
        m_options.lockAdapter();
        startMonitoring();
    }
    writeStartAtLogon();

    m_options.hide();
    m_monitor->showAfterConfirmation(settings.startMinimized);

    if (firstConfirmPending) {
        firstConfirmPending = false;
        checkForUpdates();
    }
}

void Controller::takeBucket(const OptionValues &values)
{
    // The bucket keeps its own copy of what was taken. Once the four bucket boxes are read, the
    // limit in force goes back to the cut-off limit.
    if (values.bucketRead()) {
        meter.applySettings(settings.fap, *values.usedBytes);
    } else {
        if (values.usedBytes)
            meter.setUsedBytes(*values.usedBytes);
        meter.setParameters(settings.fap);
    }
    if (values.usedBytes)
        m_shownUsedBytes = m_options.usedBytesText();
}

void Controller::writeStartAtLogon()
{
    // Written on and off alike, so a moved program is found again; a failure stops nothing.
    AutostartEntry::write(m_environment.autostartEntry, QCoreApplication::applicationFilePath(), settings.autoStart);
}

void Controller::checkForUpdates()
{
    Q_EMIT updateCheckDue();
}

void Controller::cancel()
{
    if (firstConfirmPending) {
        m_options.close();
        return;
    }
    m_options.hide();
    m_monitor->show();
}

void Controller::showOptions()
{
    showUsedBytes();
    m_monitor->hide();
    m_options.showMaximised();
    m_options.raise();
}

void Controller::setAlwaysOnTop(bool alwaysOnTop)
{
    settings.alwaysOnTop = alwaysOnTop;
    m_options.setAlwaysOnTopChecked(alwaysOnTop);
}

void Controller::startMonitoring()
{
    tickTimer->start();
    pingTimer->start();
    // At once, so the monitor window shows figures before it is shown.
    tickAt(m_environment.now());
}

void Controller::tickAt(double now)
{
    const TrafficCounters::Tick taken = runMeterTick(now, counters, meter, stats);
    m_monitor->showTick({now, taken, meter, counters, stats, settings.trayStyle, settings.chartHistorySeconds});
    if (m_planner && m_planner->isVisible())
        m_planner->setInputs(plannerInputs(now));
    showCaptureStatistics();
    const uint64_t dropped = m_captureThread ? m_captureThread->statistics().dropped : 0;
    announceAlerts(now, dropped);
    if (auto minute = m_historyFeed.tick(m_environment.utcNow(), taken, counters, meter, hostCounters, dropped))
        m_history->record(std::move(*minute));
}

void Controller::announceAlerts(double now, uint64_t droppedFrames)
{
    AlertReading reading = alertReading(now, meter);
    reading.captureStopped = !m_captureStopMessage.isEmpty();
    reading.captureMessage = m_captureStopMessage;
    reading.droppedFrames = droppedFrames;
    for (const Alert &alert : m_alertRules.tick(reading))
        notifier->notify(alert.summary, alert.body, alert.urgent);
}

void Controller::showCaptureStatistics()
{
    if (!m_captureThread)
        return;
    const uint64_t dropped = m_captureThread->statistics().dropped;
    if (dropped > m_droppedShown) {
        m_droppedShown = dropped;
        m_monitor->showNotice(QStringLiteral("Frames dropped by the capture: %1").arg(dropped));
    }
}

void Controller::startCapture()
{
    m_captureThread = std::make_unique<CaptureThread>(CaptureContext{settings, counters, meter, hostCounters},
                                                      settings.adapterName.toLocal8Bit());
    // The thread may not touch a widget: its messages are shown here, on the user-interface thread.
    connect(m_captureThread.get(), &CaptureThread::openFailed, this,
            [this](const QString &message) { Dialogs::inform(&m_options, message); }, Qt::QueuedConnection);
    // The state of the capture stays in the status line until it changes again; the alert rules
    // read the stop's message while it lasts.
    connect(m_captureThread.get(), &CaptureThread::captureStopped, this, [this](const QString &message) {
        m_captureStopMessage = message;
        m_monitor->setStatusText(message);
    }, Qt::QueuedConnection);
    connect(m_captureThread.get(), &CaptureThread::captureResumed, this, [this](const QString &message) {
        m_captureStopMessage.clear();
        m_monitor->setStatusText(message);
    }, Qt::QueuedConnection);
    m_captureThread->start();
}

void Controller::stopCapture()
{
    if (m_captureThread)
        m_captureThread->stop();
}
