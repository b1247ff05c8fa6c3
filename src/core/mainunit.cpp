#include "core/mainunit.h"

#include "config/addressentry.h"
#include "core/sniffthread.h"
#include "monitor/guiunit.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

TfrmMain::TfrmMain(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    ui.setupUi(this);
    connect(ui.Button1, &QPushButton::clicked, this, &TfrmMain::Button1Click);
    connect(ui.Button2, &QPushButton::clicked, this, &TfrmMain::Button2Click);
    connect(ui.BitBtn1, &QPushButton::clicked, this, &TfrmMain::BitBtn1Click);
    connect(ui.BitBtn2, &QPushButton::clicked, this, &TfrmMain::BitBtn2Click);
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    stopCapture();
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

    // Until the settings file is read, every setting keeps its default.
    ui.ListBox1->setCurrentRow(settings.adapterIndex);
    ui.ListBox2->addItems(settings.lanAddresses.entries());
    ui.CheckBox5->setChecked(settings.useAll192168.load());
    meter.setActiveLimit(settings.fap.cutOffLimit);
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
