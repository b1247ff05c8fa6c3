#include "monitor/guiunit.h"

#include "core/appsettings.h"
#include "core/trafficcounters.h"
#include "meter/fapmeter.h"

#include <QFormLayout>
#include <QLabel>
#include <QTimer>

TfrmGui::TfrmGui(AppSettings &settings, TrafficCounters &counters, FapMeter &meter, QWidget *parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_counters(counters)
    , m_meter(meter)
{
    setObjectName(QStringLiteral("frmGui"));
    setWindowTitle(QStringLiteral("Tarvo"));
    auto *layout = new QFormLayout(this);
    auto addRow = [&](const QString &caption) {
        auto *value = new QLabel(QStringLiteral("0"));
        layout->addRow(caption, value);
        return value;
    };
    m_downloadedTotal = addRow(QStringLiteral("Total bytes downloaded so far:"));
    m_uploadedTotal = addRow(QStringLiteral("Upload bytes ( total ):"));
    m_packetsReceived = addRow(QStringLiteral("Packets received:"));
    m_packetsSent = addRow(QStringLiteral("Packets sent:"));

    SpeedsTimer = new QTimer(this);
    SpeedsTimer->setObjectName(QStringLiteral("SpeedsTimer"));
    SpeedsTimer->setInterval(1000);
    connect(SpeedsTimer, &QTimer::timeout, this, &TfrmGui::SpeedsTimerTimer);
}

void TfrmGui::startMonitoring()
{
    SpeedsTimer->start();
    SpeedsTimerTimer();
}

void TfrmGui::SpeedsTimerTimer()
{
    m_counters.takeTick();
    m_downloadedTotal->setText(QString::number(m_counters.downloadedTotal.load()));
    m_uploadedTotal->setText(QString::number(m_counters.uploadedTotal.load()));
    m_packetsReceived->setText(QString::number(m_counters.downloadPackets.load()));
    m_packetsSent->setText(QString::number(m_counters.uploadPackets.load()));
}
