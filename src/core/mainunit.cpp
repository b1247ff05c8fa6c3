#include "core/mainunit.h"

#include "config/addressentry.h"
#include "config/plans.h"
#include "core/sniffthread.h"
#include "monitor/guiunit.h"
#include "platform/dialogs.h"
#include "platform/errorhandler.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

TfrmMain::TfrmMain(ProgramEnvironment environment, QWidget *parent)
    : QWidget(parent)
    , m_environment(std::move(environment))
{
    setObjectName(QStringLiteral("frmMain"));
    ui.setupUi(this);
    connect(ui.Button1, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { Button1Click(); }); });
    connect(ui.Button2, &QPushButton::clicked, this, &TfrmMain::Button2Click);
    connect(ui.BitBtn1, &QPushButton::clicked, this, &TfrmMain::BitBtn1Click);
    connect(ui.BitBtn2, &QPushButton::clicked, this, &TfrmMain::BitBtn2Click);
    connect(ui.ComboBox1, &QComboBox::activated, this, &TfrmMain::ComboBox1Change);
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
    // A stored row the list does not have selects nothing.
    ui.ListBox1->setCurrentRow(settings.adapterIndex < ui.ListBox1->count() ? settings.adapterIndex : -1);
    ui.ListBox2->clear();
    ui.ListBox2->addItems(settings.lanAddresses.entries());
    ui.CheckBox5->setChecked(settings.useAll192168.load());
    ui.ComboBox1->setCurrentIndex(settings.planIndex < ui.ComboBox1->count() ? settings.planIndex : -1);
    ui.Edit5->setText(ProfileValue::formatFloat(settings.fap.rechargeRate / 1024.0));
    ui.Edit6->setText(ProfileValue::formatFloat(settings.fap.cutOffLimit / 1048576.0));
    ui.Edit16->setText(ProfileValue::formatFloat(settings.fap.throttleLimit / 1048576.0));
    ui.Edit11->setText(ProfileValue::formatFloat(meter.usedBytes() / 1048576.0));
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
    settings.adapterIndex = ui.ListBox1->currentRow();
    settings.useAll192168.store(ui.CheckBox5->isChecked());
    settings.planIndex = ui.ComboBox1->currentIndex();
    saveSettingsFile(); // a failed write ends the confirmation here: nothing starts

    if (firstConfirmPending) {
        startCapture();
        ui.ListBox1->setEnabled(false);
        m_monitor->startMonitoring();
    }

    hide();
    if (!settings.startMinimized)
        m_monitor->show();

    firstConfirmPending = false;
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

void TfrmMain::BitBtn1Click()
{
    AddressBoxes boxes;
    for (int i = 0; i < 4; ++i)
        boxes[i] = ui.lanBoxes[i]->text();
    const auto address = addressFromBoxes(boxes);
    for (int i = 0; i < 4; ++i)
        ui.lanBoxes[i]->setText(boxes[i]);
    if (!address || settings.lanAddresses.entries().contains(*address))
        return;
    ui.ListBox2->addItem(*address);
    settings.lanAddresses.append(*address);
    for (QLineEdit *box : ui.lanBoxes)
        box->clear();
}

void TfrmMain::BitBtn2Click()
{
    const int row = ui.ListBox2->currentRow();
    if (row < 0)
        return;
    delete ui.ListBox2->takeItem(row);
    settings.lanAddresses.removeAt(row);
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
