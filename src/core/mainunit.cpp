#include "core/mainunit.h"

#include "config/addressentry.h"
#include "config/optionvalues.h"
#include "config/plans.h"
#include "config/profile.h"
#include "config/settingsfile.h"
#include "core/sniffthread.h"
#include "monitor/guiunit.h"
#include "platform/dialogs.h"
#include "platform/errorhandler.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTimeEdit>
#include <QTimer>

namespace {
constexpr double bytesPerKB = 1024.0;
constexpr double bytesPerMB = 1048576.0;

// A box the confirmation got to: its value replaces the setting.
template<typename T>
void takeIf(T &setting, const std::optional<T> &value)
{
    if (value)
        setting = *value;
}
} // namespace

TfrmMain::TfrmMain(ProgramEnvironment environment, QWidget *parent)
    : QWidget(parent)
    , m_environment(std::move(environment))
{
    setObjectName(QStringLiteral("frmMain"));
    ui.setupUi(this);
    connect(ui.Button1, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { Button1Click(); }); });
    connect(ui.Button2, &QPushButton::clicked, this, &TfrmMain::Button2Click);
    connect(ui.Button3, &QPushButton::clicked, this, &TfrmMain::Button3Click);
    connect(ui.BitBtn1, &QPushButton::clicked, this, &TfrmMain::BitBtn1Click);
    connect(ui.BitBtn2, &QPushButton::clicked, this, &TfrmMain::BitBtn2Click);
    connect(ui.BitBtn3, &QPushButton::clicked, this, &TfrmMain::BitBtn3Click);
    connect(ui.BitBtn4, &QPushButton::clicked, this, &TfrmMain::BitBtn4Click);
    // Follows every change of the box, by mouse, by key or by the load, so the group is enabled
    // exactly while the box is checked.
    connect(ui.CheckBox6, &QCheckBox::toggled, this, &TfrmMain::CheckBox6Click);
    connect(ui.ComboBox1, &QComboBox::activated, this, &TfrmMain::ComboBox1Change);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, [this] { ErrorHandler::run(this, [this] { Timer1Timer(); }); });
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(10000);
    connect(Timer2, &QTimer::timeout, this, [this] {
        // While the box of a failed save is open, the next saves wait instead of piling up boxes.
        Timer2->stop();
        ErrorHandler::run(this, [this] { Timer2Timer(); });
        Timer2->start();
    });
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    stopCapture();
    FormDestroy();
}

void TfrmMain::FormCreate()
{
    firstActivationPending = true;
    firstConfirmPending = true;

    AdapterEnumeration adapters = enumerateAdapters();
    if (!adapters.error.isNull())
        Dialogs::inform(this, QStringLiteral("Error in pcap_findalldevs: \n") + adapters.error);
    m_devices = std::move(adapters.devices);
    ui.ListBox1->addItems(adapters.rows);

    counters.downloadedTotal.store(0);
    meter.setUsedBytes(0);

    loadSettingsFile();
    Timer2->start();
}

void TfrmMain::FormDestroy()
{
    ErrorHandler::run(this, [this] { save(); });
}

void TfrmMain::loadSettingsFile()
{
    ui.ComboBox1->clear();
    ui.ComboBox1->addItems(readPlanNames(plansPath(programDir())));

    const IniDocument ini = IniDocument::read(settingsPath(programDir()));
    loadSettings(ini, settings);
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
    showSettings();
}

void TfrmMain::showSettings()
{
    using ProfileValue::formatFloat;
    // A stored row the list does not have selects nothing.
    ui.ListBox1->setCurrentRow(settings.adapterIndex < ui.ListBox1->count() ? settings.adapterIndex : -1);
    ui.ListBox2->clear();
    ui.ListBox2->addItems(settings.lanAddresses.entries());
    ui.ListBox3->clear();
    ui.ListBox3->addItems(settings.ignoredAddresses.entries());
    ui.CheckBox5->setChecked(settings.useAll192168.load());

    const FapParameters &fap = settings.fap;
    ui.ComboBox1->setCurrentIndex(settings.planIndex < ui.ComboBox1->count() ? settings.planIndex : -1);
    ui.Edit5->setText(formatFloat(fap.rechargeRate / bytesPerKB));
    ui.Edit6->setText(formatFloat(fap.cutOffLimit / bytesPerMB));
    ui.Edit16->setText(formatFloat(fap.throttleLimit / bytesPerMB));
    showUsedBytes();
    ui.CheckBox6->setChecked(fap.offPeakEnabled);
    ui.GroupBox7->setEnabled(fap.offPeakEnabled);
    ui.Edit17->setText(formatFloat(fap.offPeakCutOffLimit / bytesPerMB));
    ui.DateTimePicker1->setTime(timeOfDay(fap.offPeakStart));
    ui.DateTimePicker2->setTime(timeOfDay(fap.offPeakEnd));

    ui.Edit12->setText(settings.pingHost);
    ui.Edit13->setText(QString::number(settings.pingTimeoutMs / 1000));
    ui.Edit14->setText(QString::number(settings.pingTtl));
    ui.Edit15->setText(QString::number(settings.pingPacketSize));
    ui.TrackBar1->setValue(settings.windowOpacity);
    ui.RadioButton1->setChecked(settings.trayStyle == TrayStyle::Graphic);
    ui.RadioButton2->setChecked(settings.trayStyle == TrayStyle::Text);
    ui.CSpinEdit1->setValue(settings.chartHistorySeconds);
    ui.CheckBox7->setChecked(settings.chartAutoScale);
    ui.CheckBox2->setChecked(settings.autoStart);
    ui.CheckBox3->setChecked(settings.alwaysOnTop);
    ui.CheckBox4->setChecked(settings.startMinimized);
    ui.CheckBox1->setChecked(settings.showOptionsAtStart);
}

void TfrmMain::showUsedBytes()
{
    ui.Edit11->setText(ProfileValue::formatFloat(meter.usedBytes() / bytesPerMB));
}

void TfrmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    QWidget::changeEvent(event);
}

void TfrmMain::FormActivate()
{
    if (!firstActivationPending)
        return;
    firstActivationPending = false;
    Timer1->start();
}

void TfrmMain::Timer1Timer()
{
    Timer1->stop();
    if (!ui.CheckBox1->isChecked() && lastUseKnown)
        Button1Click();
}

void TfrmMain::saveSettingsFile()
{
    saveSettings(settingsPath(programDir()), settings);
}

void TfrmMain::save()
{
    saveFapState(settingsPath(programDir()), m_environment.now(), meter.usedBytes());
}

void TfrmMain::Timer2Timer()
{
    save();
}

void TfrmMain::ComboBox1Change()
{
    const Plan plan = readPlan(plansPath(programDir()), ui.ComboBox1->currentIndex());
    ui.Edit5->setText(plan.recharge);
    ui.Edit6->setText(plan.max);
    ui.Edit16->setText(plan.throttle);
}

void TfrmMain::Button1Click()
{
    if (ui.ListBox1->currentRow() < 0) {
        Dialogs::inform(this, QStringLiteral("Please select a network adapter from the Network tab ( first tab )."));
        return;
    }
    if (ui.ListBox2->count() == 0 && !ui.CheckBox5->isChecked()) {
        Dialogs::inform(this, QStringLiteral("In order to continue you must add at least one LAN IP ( this computer's )."));
        return;
    }
    const OptionsReadBack readBack = readBackOptions(
        {ui.Edit5->text(), ui.Edit6->text(), ui.Edit11->text(), ui.Edit17->text(), ui.Edit16->text(),
         ui.Edit12->text(), ui.Edit13->text(), ui.Edit14->text(), ui.Edit15->text()});
    // A byte count that would not fit 32 bits is refused before anything is taken.
    if (readBack.stop == OptionsReadBack::Stop::OutOfRange) {
        Dialogs::inform(this, readBack.message);
        return;
    }
    settings.adapterIndex = ui.ListBox1->currentRow();
    takeNumbers(readBack.values);
    // A box that holds no number ends the confirmation silently; the boxes before it count.
    if (readBack.stop == OptionsReadBack::Stop::NotANumber)
        return;
    takeRemainingSettings();
    applyToMonitor();
    saveSettingsFile(); // a failed write ends the confirmation here: nothing starts

    if (firstConfirmPending) {
        startCapture();
        ui.ListBox1->setEnabled(false);
        m_monitor->startMonitoring();
    }
    writeStartAtLogon();

    hide();
    if (!settings.startMinimized)
        m_monitor->show();

    if (firstConfirmPending) {
        firstConfirmPending = false;
        checkForUpdates();
    }
}

void TfrmMain::takeNumbers(const OptionValues &values)
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

void TfrmMain::takeRemainingSettings()
{
    settings.chartHistorySeconds = ui.CSpinEdit1->takeValue();
    settings.chartAutoScale = ui.CheckBox7->isChecked();
    settings.alwaysOnTop = ui.CheckBox3->isChecked();
    settings.autoStart = ui.CheckBox2->isChecked();
    settings.fap.offPeakEnabled = ui.CheckBox6->isChecked();
    settings.windowOpacity = ui.TrackBar1->value();
    settings.startMinimized = ui.CheckBox4->isChecked();
    settings.useAll192168.store(ui.CheckBox5->isChecked());
    settings.showOptionsAtStart = ui.CheckBox1->isChecked();
    settings.planIndex = ui.ComboBox1->currentIndex();
    settings.trayStyle = ui.RadioButton1->isChecked() ? TrayStyle::Graphic : TrayStyle::Text;
    settings.fap.offPeakStart = withTimeOfDay(settings.fap.offPeakStart, ui.DateTimePicker1->time());
    settings.fap.offPeakEnd = withTimeOfDay(settings.fap.offPeakEnd, ui.DateTimePicker2->time());
    // The bucket keeps its own copy of the plan: the throttle limit and the off-peak window.
    meter.setParameters(settings.fap);
}

void TfrmMain::applyToMonitor()
{
    m_monitor->applySettings();
}

void TfrmMain::writeStartAtLogon()
{
    // Left empty until the program can register itself to start at logon.
}

void TfrmMain::checkForUpdates()
{
    // Left empty until the program can ask for a newer version.
}

void TfrmMain::Button2Click()
{
    if (firstConfirmPending) {
        close();
        return;
    }
    hide();
    m_monitor->show();
}

void TfrmMain::Button3Click()
{
    // An empty bucket: the full allowance, as after a long pause; taken at the next Ok.
    ui.Edit11->setText(QStringLiteral("0"));
}

void TfrmMain::CheckBox6Click()
{
    ui.GroupBox7->setEnabled(ui.CheckBox6->isChecked());
}

void TfrmMain::showMaximisedWindow()
{
    // The geometry as well as the state, so it fills the screen without a window manager too.
    setGeometry(screen()->availableGeometry());
    showMaximized();
    // Without a window manager nothing else activates it, and the first activation starts the
    // automatic confirmation.
    activateWindow();
}

void TfrmMain::showFromMonitor()
{
    showUsedBytes();
    m_monitor->hide();
    showMaximisedWindow();
    raise();
}

void TfrmMain::alwaysOnTopToggled(bool on)
{
    ui.CheckBox3->setChecked(on);
}

void TfrmMain::addAddress(const AddressEditor &editor, LiveAddressList &list)
{
    AddressBoxes boxes;
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = editor.boxes[i]->text();
    const auto address = addressFromBoxes(boxes);
    for (size_t i = 0; i < boxes.size(); ++i)
        editor.boxes[i]->setText(boxes[i]);
    if (!address || list.entries().contains(*address))
        return;
    editor.list->addItem(*address);
    list.append(*address); // one new snapshot: the capture counts it from the next frame
    for (QLineEdit *box : editor.boxes)
        box->clear();
}

void TfrmMain::deleteAddress(const AddressEditor &editor, LiveAddressList &list)
{
    const int row = editor.list->currentRow();
    if (row < 0)
        return;
    delete editor.list->takeItem(row);
    list.removeAt(row);
}

void TfrmMain::BitBtn1Click()
{
    addAddress(ui.lanEditor(), settings.lanAddresses);
}

void TfrmMain::BitBtn2Click()
{
    deleteAddress(ui.lanEditor(), settings.lanAddresses);
}

void TfrmMain::BitBtn3Click()
{
    addAddress(ui.ignoredEditor(), settings.ignoredAddresses);
}

void TfrmMain::BitBtn4Click()
{
    deleteAddress(ui.ignoredEditor(), settings.ignoredAddresses);
}

void TfrmMain::startCapture()
{
    m_sniffThread = std::make_unique<TSniffThread>(CaptureContext{settings, counters, meter}, std::move(m_devices),
                                                   settings.adapterIndex);
    // The thread may not touch a widget: its message is shown here, on the user-interface thread.
    connect(m_sniffThread.get(), &TSniffThread::openFailed, this,
            [this](const QString &message) { Dialogs::inform(this, message); }, Qt::QueuedConnection);
    m_sniffThread->start();
}

void TfrmMain::stopCapture()
{
    if (m_sniffThread)
        m_sniffThread->stop();
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    // The main window: closing it ends the program even while the monitor window is shown.
    event->accept();
    QCoreApplication::quit();
}
