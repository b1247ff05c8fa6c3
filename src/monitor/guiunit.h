#pragma once

#include <QWidget>

class FapMeter;
class QLabel;
class QTimer;
struct AppSettings;
struct TrafficCounters;

// The monitor window: refreshed by its one-second tick once monitoring has started.
class TfrmGui : public QWidget
{
    Q_OBJECT

public:
    TfrmGui(AppSettings &settings, TrafficCounters &counters, FapMeter &meter, QWidget *parent = nullptr);

    // The first confirmation: starts the one-second tick and runs one tick at once, so the window
    // shows figures before it is shown.
    void startMonitoring();

    QTimer *SpeedsTimer = nullptr;

public Q_SLOTS:
    void SpeedsTimerTimer();

private:
    AppSettings &m_settings;
    TrafficCounters &m_counters;
    FapMeter &m_meter;

    QLabel *m_downloadedTotal = nullptr;
    QLabel *m_uploadedTotal = nullptr;
    QLabel *m_packetsReceived = nullptr;
    QLabel *m_packetsSent = nullptr;
};
