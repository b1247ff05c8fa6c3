#include "app/controller.h"

#include "capture/capturethread.h"
#include "meter/metertick.h"
#include "platform/dialogs.h"
#include "platform/errorhandler.h"
#include "settings/optionvalues.h"
#include "settings/plans.h"
#include "settings/profile.h"
#include "ui/monitor/monitorwindow.h"
#include "ui/options/optionswindow.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

// A box the confirmation got to: its value replaces the setting.
template<typename T>
void takeIf(T &setting, const std::optional<T> &value)
{
    if (value)
        setting = *value;
}

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
{
    autoConfirmTimer = timer(this, "autoConfirmTimer", 1);
    connect(autoConfirmTimer, &QTimer::timeout, this,
            [this] { ErrorHandler::run(&m_options, [this] { autoConfirm(); }); });
    saveTimer = timer(this, "saveTimer", 10000);
    connect(saveTimer, &QTimer::timeout, this, [this] {
        // While the box of a failed save is open, the next saves wait instead of piling up boxes.
        saveTimer->stop();
        ErrorHandler::run(&m_options, [this] { saveBucket(); });
        saveTimer->start();
    });
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

    AdapterEnumeration adapters = enumerateAdapters();
    if (!adapters.error.isNull())
        Dialogs::inform(&m_options, QStringLiteral("Error in pcap_findalldevs: \n") + adapters.error);
    m_deviceNames = adapters.deviceNames;
    m_options.setAdapters(adapters.rows);

    counters.downloadedTotal.store(0);
    meter.setUsedBytes(0);

    load();
    saveTimer->start();
}

Controller::~Controller()
{
    stopCapture();
    ErrorHandler::run(&m_options, [this] { saveBucket(); });
}

void Controller::load()
{
    m_options.setPlans(readPlanNames(plansPath(m_environment.directory)));

    const IniDocument ini = IniDocument::read(settingsPath(m_environment.directory));
    loadSettings(ini, settings);
    settings.adapterIndex = adapterRowFor(m_deviceNames, settings.adapterName, settings.adapterIndex);
    const FapState fap = loadFapState(ini);
    meter.applySettings(settings.fap, fap.usedBytes);
    lastUseKnown = fap.lastShut != noLastUse;
    if (lastUseKnown) {
        meter.catchUp(fap.lastShut, m_environment.now());
    } else {
        Dialogs::ask(nullptr, Dialogs::Request{
            QStringLiteral("Tarvo can not determine the last time it was used"),
            QStringLiteral("Tarvo can not determine the time it was last used, therefore it can not calculate your "
                           "actual FAP level. Please fill it in manually. If you haven't used the internet for more "
                           "than 12 hours, click the max button next to the edit. If this is the first time your use "
                           "Tarvo, just ignore this message."),
            QMessageBox::Ok, QMessageBox::NoIcon});
    }
    m_options.showSettings(settings);
    m_options.showUsedBytes(meter.usedBytes());
}

void Controller::setMonitor(MonitorWindow *monitor)
{
    m_monitor = monitor;
    m_monitor->applySettings(settings);
    connect(m_monitor, &MonitorWindow::closeRequested, &m_options, &QWidget::close);
    connect(m_monitor, &MonitorWindow::optionsRequested, this, &Controller::showOptions);
    connect(m_monitor, &MonitorWindow::alwaysOnTopToggled, this, &Controller::setAlwaysOnTop);
    connect(m_monitor, &MonitorWindow::resetCountersRequested, this,
            [this] { resetInterfaceCounters(counters, stats, meter); });
    connect(m_monitor, &MonitorWindow::resetFapLevelRequested, this, [this] { resetFapLevel(counters, stats, meter); });
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
    saveFapState(settingsPath(m_environment.directory), m_environment.now(), meter.usedBytes());
}

void Controller::fillFromPlan(int row)
{
    m_options.showPlan(readPlan(plansPath(m_environment.directory), row));
}

void Controller::confirm()
{
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
    const OptionsReadBack readBack = readBackOptions(m_options.numberTexts());
    // A byte count that would not fit 32 bits is refused before anything is taken.
    if (readBack.stop == OptionsReadBack::Stop::OutOfRange) {
        Dialogs::inform(&m_options, readBack.message);
        return;
    }
    settings.adapterIndex = m_options.selectedAdapter();
    settings.adapterName = m_deviceNames.value(settings.adapterIndex);
    takeNumbers(readBack.values);
    // A box that holds no number ends the confirmation silently; the boxes before it count.
    if (readBack.stop == OptionsReadBack::Stop::NotANumber)
        return;
    m_options.takeSettings(settings);
    // The bucket keeps its own copy of the plan: the throttle limit and the off-peak window.
    meter.setParameters(settings.fap);
    m_monitor->applySettings(settings);
    saveSettings(settingsPath(m_environment.directory), settings); // a failed write ends here: nothing starts

    if (firstConfirmPending) {
        startCapture();
        m_options.lockAdapter();
        startMonitoring();
    }
    writeStartAtLogon();

    m_options.hide();
    if (!settings.startMinimized)
        m_monitor->show();

    if (firstConfirmPending) {
        firstConfirmPending = false;
        checkForUpdates();
    }
}

void Controller::takeNumbers(const OptionValues &values)
{
    FapParameters &fap = settings.fap;
    takeIf(fap.rechargeRate, values.rechargeRate);
    takeIf(fap.cutOffLimit, values.cutOffLimit);
    takeIf(fap.offPeakCutOffLimit, values.offPeakCutOffLimit);
    takeIf(fap.throttleLimit, values.throttleLimit);
    // The bucket keeps its own copy of what was taken. Once the four bucket boxes are read, the
    // limit in force goes back to the cut-off limit.
    if (values.offPeakCutOffLimit) {
        meter.applySettings(fap, *values.usedBytes);
    } else {
        if (values.usedBytes)
            meter.setUsedBytes(*values.usedBytes);
        meter.setParameters(fap);
    }
    takeIf(settings.pingHost, values.pingHost);
    takeIf(settings.pingTimeoutMs, values.pingTimeoutMs);
    takeIf(settings.pingTtl, values.pingTtl);
    takeIf(settings.pingPacketSize, values.pingPacketSize);
}

void Controller::writeStartAtLogon()
{
    // Left empty until the program can register itself to start at logon.
}

void Controller::checkForUpdates()
{
    // Left empty until the program can ask for a newer version.
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
    m_options.showUsedBytes(meter.usedBytes());
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
    showCaptureStatistics();
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
    m_captureThread = std::make_unique<CaptureThread>(CaptureContext{settings, counters, meter},
                                                      settings.adapterName.toLocal8Bit());
    // The thread may not touch a widget: its messages are shown here, on the user-interface thread.
    connect(m_captureThread.get(), &CaptureThread::openFailed, this,
            [this](const QString &message) { Dialogs::inform(&m_options, message); }, Qt::QueuedConnection);
    // The state of the capture stays in the status line until it changes again.
    const auto showState = [this](const QString &message) { m_monitor->setStatusText(message); };
    connect(m_captureThread.get(), &CaptureThread::captureStopped, this, showState, Qt::QueuedConnection);
    connect(m_captureThread.get(), &CaptureThread::captureResumed, this, showState, Qt::QueuedConnection);
    m_captureThread->start();
}

void Controller::stopCapture()
{
    if (m_captureThread)
        m_captureThread->stop();
}
