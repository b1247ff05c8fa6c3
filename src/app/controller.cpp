#include "app/controller.h"

#include "capture/adapters.h"
#include "meter/formats.h"
#include "net/endpoints.h"
#include "net/latencyprobe.h"
#include "net/publicaddresslookup.h"
#include "platform/desktopnotifier.h"
#include "platform/dialogs.h"
#include "platform/errorhandler.h"
#include "platform/instancesocket.h"
#include "session/alertcommands.h"
#include "settings/optionvalues.h"
#include "settings/plans.h"
#include "settings/profile.h"
#include "settings/settingsfile.h"
#include "ui/common/weblinks.h"
#include "ui/monitor/monitorwindow.h"
#include "ui/monitor/providerbucketdialog.h"
#include "ui/options/optionswindow.h"
#include "ui/planner/plannerwindow.h"
#include "ui/programs/programswindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

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
    , m_meteredSwitch(MeteredSwitch::recordPath(m_environment.files.settingsFolder))
{
    m_autoConfirmTimer = timer(this, "autoConfirmTimer", 1);
    connect(m_autoConfirmTimer, &QTimer::timeout, this,
            [this] { ErrorHandler::run(&m_options, [this] { autoConfirm(); }); });
    m_saveTimer = timer(this, "saveTimer", 10000);
    connect(m_saveTimer, &QTimer::timeout, this, &Controller::periodicSave);
    m_tickTimer = timer(this, "tickTimer", 1000);
    connect(m_tickTimer, &QTimer::timeout, this, [this] { tickAt(m_environment.now()); });
    // The latency probe runs on it.
    m_pingTimer = timer(this, "pingTimer", 30000);
    connect(&m_session, &MonitoringSession::ticked, this, &Controller::showTick);

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
            [this](const QString &address) { m_session.settings().lanAddresses.append(address); });
    connect(&m_options, &OptionsWindow::lanAddressRemoved, this,
            [this](int row) { m_session.settings().lanAddresses.removeAt(row); });
    connect(&m_options, &OptionsWindow::ignoredAddressAdded, this,
            [this](const QString &address) { m_session.settings().ignoredAddresses.append(address); });
    connect(&m_options, &OptionsWindow::ignoredAddressRemoved, this,
            [this](int row) { m_session.settings().ignoredAddresses.removeAt(row); });
    m_publicAddressLookup = new PublicAddressLookup(Endpoints::publicAddressHost(), this);
    connect(&m_options, &OptionsWindow::showPublicAddressRequested, this,
            [this] { WebLinks::open(m_publicAddressLookup->pageUrl()); });
    connect(&m_options, &OptionsWindow::addPublicAddressRequested, m_publicAddressLookup, &PublicAddressLookup::start);
    connect(m_publicAddressLookup, &PublicAddressLookup::finished, &m_options, &OptionsWindow::endPublicAddressLookup);
    m_notifier = new DesktopNotifier(QDBusConnection::sessionBus(), this);
    m_alertCommands = new AlertCommands(AlertCommands::defaultTimeLimit, this);

    AdapterEnumeration adapters = enumerateAdapters();
    if (!adapters.error.isNull())
        Dialogs::inform(&m_options, tr("Error in pcap_findalldevs: \n%1").arg(adapters.error));
    m_deviceNames = adapters.deviceNames;
    m_options.setAdapters(adapters.rows);

    load();
    m_saveTimer->start();
    m_session.setHistorySink([this](FinishedMinute minute) { history().record(std::move(minute)); });
    // Stays until the user sees another state; it comes after the monitor window exists.
    connect(&m_meteredSwitch, &MeteredSwitch::statusLine, this, [this](const QString &text) {
        if (m_shuttingDown)
            std::fprintf(stderr, "tarvo: %s\n", qPrintable(text));
        else if (m_monitor)
            m_monitor->setStatusText(text);
    });
    m_meteredSwitch.resume();
}

Controller::~Controller()
{
    stopCapture();
    // The monitor window is gone by now, and a box that waits for a click would hold up a logout:
    // a failure from here on goes to standard error, which the desktop keeps in its log.
    m_shuttingDown = true;
    m_meteredSwitch.finish();
    // The minute under way is written too: a later run merges into it.
    m_session.finishHistory();
    m_history.reset();
    if (m_settingsUnsaved)
        writeFile([this] { saveSettings(settingsPath(m_environment.files.settingsFolder), m_session.settings()); });
    writeFile([this] { saveBucket(); });
}

void Controller::load()
{
    // Left behind by a run killed between writing a new file and renaming it over the old one.
    IniDocument::removeStaleTemporaries(settingsPath(m_environment.files.settingsFolder));
    m_options.setPlans(readPlanNames(m_environment.files.plansFile));

    const QString file = settingsPath(m_environment.files.settingsFolder);
    // No file at all is a first start: the bucket is unknown, but that is no news worth a box.
    const bool firstStart = !QFileInfo::exists(file);
    const IniDocument ini = IniDocument::read(file);
    AppSettings &settings = m_session.settings();
    loadSettings(ini, settings);
    settings.adapterIndex = adapterRowFor(m_deviceNames, settings.adapterName, settings.adapterIndex);
    m_session.resume(loadFapState(ini), m_environment.now());
    if (firstStart) {
        m_options.showBucketNote(tr(
            "First start: Tarvo does not know how full your bucket is. Type it above, or press \"max\" if you "
            "have not used the internet for more than 12 hours."));
    } else if (!m_session.lastUseKnown()) {
        Dialogs::ask(nullptr, Dialogs::Request{
            tr("Tarvo can not determine the last time it was used"),
            tr("Tarvo can not determine the time it was last used, therefore it can not calculate your "
                           "actual FAP level. Please fill it in manually. If you haven't used the internet for more "
                           "than 12 hours, click the max button next to the edit. If this is the first time you use "
                           "Tarvo, just ignore this message."),
            QMessageBox::Ok, QMessageBox::NoIcon});
    }
    m_alertRules.setConfig(settings.alerts);
    m_meteredSwitch.setConfig(settings.alerts);
    m_options.showSettings(settings);
    showUsedBytes();
}

HistoryRecorder &Controller::history()
{
    // Opened with the first record, a minute into the monitoring at most: a start does not wait
    // for the database.
    if (!m_history) {
        m_history = std::make_unique<HistoryRecorder>(m_environment.files.historyFile());
        connect(m_history.get(), &HistoryRecorder::message, this, [this](const QString &message) {
            if (m_monitor)
                m_monitor->showNotice(message);
        });
    }
    return *m_history;
}

void Controller::setMonitor(MonitorWindow *monitor)
{
    m_monitor = monitor;
    m_monitor->applySettings(m_session.settings());
    connect(m_monitor, &MonitorWindow::closeRequested, &m_options, &QWidget::close);
    connect(m_monitor, &MonitorWindow::optionsRequested, this, &Controller::showOptions);
    connect(m_monitor, &MonitorWindow::historyRequested, this, &Controller::showHistory);
    m_monitor->setHistoryAvailable(m_historyReader != nullptr);
    connect(m_monitor, &MonitorWindow::alwaysOnTopToggled, this, &Controller::setAlwaysOnTop);
    connect(m_monitor, &MonitorWindow::resetCountersRequested, &m_session, &MonitoringSession::resetInterfaceCounters);
    connect(m_monitor, &MonitorWindow::resetFapLevelRequested, &m_session, &MonitoringSession::resetFapLevel);
    connect(m_monitor, &MonitorWindow::setBucketRequested, this, &Controller::askBucketFromProvider);
    m_notifier->setTrayBalloon([this](const QString &summary, const QString &body, bool urgent) {
        return m_monitor->showTrayMessage(summary, body, urgent);
    });
    m_notifier->setStatusLine([this](const QString &text) { m_monitor->showNotice(text); });
    connect(m_alertCommands, &AlertCommands::failed, m_monitor, &MonitorWindow::showNotice);
    createLatencyProbe();
}

void Controller::setProgramsWindow(ProgramsWindow *programs)
{
    m_programs = programs;
    connect(m_monitor, &MonitorWindow::programsRequested, this, [this] {
        m_programs->follow(m_session.programUsage());
        m_programs->show();
        m_programs->raise();
        m_programs->activateWindow();
    });
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

PlannerInputs Controller::plannerInputs(const QDateTime &now) const
{
    const FapMeter &meter = m_session.meter();
    return {m_session.settings().fap, meter.usedBytes(), meter.cutOff(), now, m_session.stats().averageDownload};
}

void Controller::setHistoryReader(const UsageHistoryReader *reader)
{
    delete m_historyWindow; // it reads the reader it was opened on
    m_historyReader = reader;
    if (m_monitor)
        m_monitor->setHistoryAvailable(reader != nullptr);
}

QWidget *Controller::historyWindow() const
{
    return m_historyWindow;
}

void Controller::showHistory()
{
    if (!m_historyReader)
        return;
    if (!m_historyWindow) {
        m_historyWindow = m_historyWindowLoader.create(*m_historyReader, m_environment.now(), m_monitor);
        if (!m_historyWindow) {
            m_monitor->showNotice(tr("The history window could not be loaded: %1").arg(m_historyWindowLoader.error()));
            return;
        }
        m_historyWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
}

void Controller::createLatencyProbe()
{
    // The echo's time-out, TTL and size are taken once; the host is read at every probe.
    const AppSettings &settings = m_session.settings();
    try {
        m_latencyProbe = std::make_unique<LatencyProbe>(settings.pingTimeoutMs, settings.pingTtl,
                                                        settings.pingPacketSize);
    } catch (const IcmpEchoError &error) {
        Dialogs::inform(nullptr, QString::fromStdString(error.what()));
        return;
    }
    connect(m_latencyProbe.get(), &LatencyProbe::resultReady, m_monitor, &MonitorWindow::setPingText);
    connect(m_pingTimer, &QTimer::timeout, m_latencyProbe.get(),
            [this] { m_latencyProbe->startProbe(m_session.settings().pingHost); });
}

void Controller::onOptionsActivated()
{
    if (!m_firstActivationPending)
        return;
    m_firstActivationPending = false;
    m_autoConfirmTimer->start();
}

void Controller::autoConfirm()
{
    m_autoConfirmTimer->stop();
    if (!m_options.showAtStartChecked() && m_session.lastUseKnown())
        confirm();
}

void Controller::saveBucket()
{
    const QDateTime now = m_environment.now();
    drainWhileWaiting(now);
    const int32_t usedBytes = m_session.meter().usedBytes();
    m_emptyBucketSaved = false; // until the write has worked
    saveFapState(settingsPath(m_environment.files.settingsFolder), now, usedBytes);
    m_emptyBucketSaved = usedBytes == 0;
}

void Controller::drainWhileWaiting(const QDateTime &now)
{
    // The box the confirmation takes the level from follows, unless the user has typed in it.
    if (m_session.drainWhileWaiting(now) && m_options.usedBytesText() == m_shownUsedBytes)
        showUsedBytes();
}

void Controller::showUsedBytes()
{
    m_options.showUsedBytes(m_session.meter().usedBytes());
    m_shownUsedBytes = m_options.usedBytesText();
}

void Controller::periodicSave()
{
    if (m_settingsUnsaved)
        m_settingsUnsaved = !writeFile(
            [this] { saveSettings(settingsPath(m_environment.files.settingsFolder), m_session.settings()); });
    // An empty bucket stays empty whatever time the next start drains it for: writing it again
    // would only wake the disk every 10 s of an idle day.
    drainWhileWaiting(m_environment.now());
    if (m_emptyBucketSaved && m_session.meter().usedBytes() == 0)
        return;
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
                tr("Saving to %1 works again").arg(settingsPath(m_environment.files.settingsFolder)));
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
    if (!m_firstConfirmPending && m_options.usedBytesText() == m_shownUsedBytes)
        showUsedBytes();
    if (m_options.selectedAdapter() < 0) {
        Dialogs::inform(&m_options,
                        tr("Please select a network adapter from the Network tab ( first tab )."));
        return;
    }
    if (!m_options.hasLanRule()) {
        Dialogs::inform(&m_options,
                        tr("In order to continue you must add at least one LAN IP ( this computer's )."));
        return;
    }
    AppSettings &settings = m_session.settings();
    const OptionsReadBack readBack = m_options.readSettings(settings);
    // A box that cannot be taken refuses the whole confirmation: nothing changes, and the user
    // is told which box and what it may hold.
    if (readBack.stop != OptionsReadBack::Stop::None) {
        Dialogs::inform(&m_options, readBack.message);
        m_options.focusBox(readBack.box);
        return;
    }
    settings.adapterIndex = m_options.selectedAdapter();
    settings.adapterName = m_deviceNames.value(settings.adapterIndex);
    takeBucket(readBack.values);
    m_options.showBucketNote({}); // the level is the user's now
    m_alertRules.setConfig(settings.alerts);
    m_meteredSwitch.setConfig(settings.alerts);
    m_monitor->applySettings(settings);
    // A file that cannot be written must not stop the counting: the failure is shown once and
    // the 10-second save retries it.
    m_settingsUnsaved = !writeFile(
        [this] { saveSettings(settingsPath(m_environment.files.settingsFolder), m_session.settings()); });

    if (m_firstConfirmPending) {
        startCapture();
        m_options.lockAdapter();
        startMonitoring();
    }
    writeStartAtLogon();

    m_options.hide();
    m_monitor->showAfterConfirmation(settings.startMinimized);

    if (m_firstConfirmPending) {
        m_firstConfirmPending = false;
        checkForUpdates();
    }
}

void Controller::takeBucket(const OptionValues &values)
{
    // The bucket keeps its own copy of what was taken. Once the four bucket boxes are read, the
    // limit in force goes back to the cut-off limit.
    m_session.takeBucket(values.usedBytes, values.bucketRead());
    if (values.usedBytes)
        m_shownUsedBytes = m_options.usedBytesText();
}

void Controller::writeStartAtLogon()
{
    // Written on and off alike, so a moved program is found again; a failure stops nothing.
    AutostartEntry::write(m_environment.autostartEntry, QCoreApplication::applicationFilePath(),
                          m_session.settings().autoStart);
}

void Controller::checkForUpdates()
{
    Q_EMIT updateCheckDue();
}

void Controller::cancel()
{
    if (m_firstConfirmPending) {
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
    m_options.present();
}

void Controller::setAlwaysOnTop(bool alwaysOnTop)
{
    m_session.settings().alwaysOnTop = alwaysOnTop;
    m_options.setAlwaysOnTopChecked(alwaysOnTop);
}

void Controller::startMonitoring()
{
    m_tickTimer->start();
    m_pingTimer->start();
    // At once, so the monitor window shows figures before it is shown.
    tickAt(m_environment.now());
}

std::optional<BucketCorrection> Controller::setBucketFromProvider(const ProviderFigure &figure)
{
    if (m_firstConfirmPending)
        return std::nullopt;
    const auto correction = m_session.setLevelFromProvider(figure, m_environment.now());
    if (!correction)
        return std::nullopt;
    history().recordCorrection(*correction);
    m_monitor->showNotice(tr("Bucket set from the provider's figure: %1 bytes (Tarvo had counted %2).")
                              .arg(formatCountOrZero(double(correction->providerLevel)),
                                   formatCountOrZero(double(correction->tarvoLevel))));
    return correction;
}

QByteArray Controller::answerSetBucket(const QByteArray &argument)
{
    if (m_firstConfirmPending)
        return InstanceSocket::setBucketWaiting;
    const auto figure = figureFromSetBucketArgument(argument);
    const auto correction = figure ? setBucketFromProvider(*figure) : std::nullopt;
    if (!correction)
        return InstanceSocket::setBucketRefused;
    return InstanceSocket::setBucketDone + QByteArray::number(correction->tarvoLevel) + ' '
           + QByteArray::number(correction->providerLevel) + '\n';
}

void Controller::askBucketFromProvider()
{
    auto *dialog = new ProviderBucketDialog(m_session.meter().remaining(), m_monitor);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &ProviderBucketDialog::figureChosen, this, [this](const ProviderFigure &figure) {
        if (m_firstConfirmPending)
            m_monitor->showNotice(tr("The bucket is set at the first Ok of the options."));
        else if (!setBucketFromProvider(figure))
            m_monitor->showNotice(tr("The provider's figure is beyond what the bucket holds."));
    });
    dialog->open();
}

void Controller::tickAt(const QDateTime &now)
{
    m_session.tick(now);
}

void Controller::showTick(const SessionTick &tick)
{
    const AppSettings &settings = m_session.settings();
    m_monitor->showTick({tick.now, tick.taken, tick.meter, tick.counters, tick.stats, settings.trayStyle,
                         settings.chartHistorySeconds});
    if (m_planner && m_planner->isVisible())
        m_planner->setInputs(plannerInputs(tick.now));
    if (m_historyWindow)
        m_historyWindowLoader.follow(m_historyWindow, tick.now);
    if (m_programs && m_programs->isVisible())
        m_programs->follow(tick.programs);
    showCaptureStatistics(tick);
    announceAlerts(tick);
}

void Controller::announceAlerts(const SessionTick &tick)
{
    const AlertReading reading = alertReading(tick);
    for (const Alert &alert : m_alertRules.tick(reading)) {
        m_notifier->notify(alert.summary, alert.body, alert.urgent);
        m_alertCommands->run(m_session.settings().alerts, alert, reading);
    }
    m_meteredSwitch.tick(reading, m_session.settings().adapterName);
}

void Controller::showCaptureStatistics(const SessionTick &tick)
{
    const uint64_t dropped = tick.capture.dropped;
    if (dropped > m_droppedShown) {
        m_droppedShown = dropped;
        m_monitor->showNotice(tr("Frames dropped by the capture: %1").arg(dropped));
    }
}

void Controller::startCapture()
{
    // The session's messages come on the capture thread, which may not touch a widget: they are
    // shown here, on the user-interface thread.
    connect(&m_session, &MonitoringSession::captureOpenFailed, this,
            [this](const QString &message) { Dialogs::inform(&m_options, message); }, Qt::QueuedConnection);
    // The state of the capture stays in the status line until it changes again.
    connect(&m_session, &MonitoringSession::captureStopped, m_monitor, &MonitorWindow::setStatusText,
            Qt::QueuedConnection);
    connect(&m_session, &MonitoringSession::captureResumed, m_monitor, &MonitorWindow::setStatusText,
            Qt::QueuedConnection);
    m_session.setProgramAttribution(std::make_unique<ProgramAttribution>());
    m_session.startCapture(m_session.settings().adapterName.toLocal8Bit());
}
