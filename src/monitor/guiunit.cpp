#include "monitor/guiunit.h"

#include "core/appsettings.h"
#include "core/metertick.h"
#include "core/trafficcounters.h"
#include "meter/fapmeter.h"
#include "meter/formats.h"
#include "meter/oledate.h"
#include "monitor/colours.h"
#include "monitor/fonts.h"
#include "monitor/pictures.h"
#include "monitor/shapes.h"
#include "monitor/trafficchart.h"
#include "monitor/trayimage.h"
#include "monitor/trayindicator.h"
#include "monitor/weblinks.h"
#include "platform/dialogs.h"

#include <QDateTime>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Client width of the window; the panels' heights are fixed, only the details panel comes and goes.
constexpr int clientWidth = 457;
constexpr int fapPanelHeight = 94;
constexpr int showMorePanelHeight = 35;
constexpr int detailsPanelHeight = 86;
constexpr int restrictionHeight = 16;
constexpr int statusHeight = 19;
constexpr int levelBarWidth = 233;

// What the values read before the first tick.
const QString zero = QStringLiteral("0");
const QString idle = QStringLiteral("0 bytes / s");
const QString noTime = QStringLiteral("00:00:00");

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

QWidget *panel(QWidget *parent, const QString &name, int height)
{
    auto *widget = new QWidget(parent);
    widget->setObjectName(name);
    widget->setFixedHeight(height);
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Colours::darkBlue);
    palette.setColor(QPalette::WindowText, Qt::white);
    widget->setPalette(palette);
    return widget;
}

QLabel *label(QWidget *parent, const QString &text, int left, int top, const QFont &font)
{
    auto *shown = new QLabel(text, parent);
    shown->setFont(font);
    shown->move(left, top);
    shown->adjustSize();
    return shown;
}

QFont bold(QFont font)
{
    font.setBold(true);
    return font;
}

void caption(QWidget *parent, const QString &text, int left, int top)
{
    label(parent, text, left, top, parent->font());
}

QLabel *value(QWidget *parent, const QString &name, int left, int top, const QString &initial)
{
    QLabel *shown = label(parent, initial, left, top, bold(parent->font()));
    shown->setObjectName(name);
    return shown;
}

// Texts change every second; the label grows or shrinks with its text.
void display(QLabel *label, const QString &text)
{
    label->setText(text);
    label->adjustSize();
}

QString speed(double bytesPerSecond)
{
    return formatCount(bytesPerSecond) + QStringLiteral(" bytes / s");
}

QColor lampColour(int32_t bytes)
{
    return bytes != 0 ? Colours::red : Colours::lime;
}

QColor restrictionColour(Restriction restriction)
{
    return Colours::level(restriction == Restriction::CutOff, restriction == Restriction::Throttled);
}

QLabel *trendSign(QWidget *parent, const QString &name, Pictures::Arrow arrow)
{
    auto *sign = new QLabel(parent);
    sign->setObjectName(name);
    sign->setPixmap(QPixmap::fromImage(Pictures::trendSign(arrow)));
    sign->setGeometry(248, 0, 32, 32);
    return sign;
}

QAction *item(QMenu *menu, const QString &name, const QString &text)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

} // namespace

TfrmGui::TfrmGui(AppSettings &settings, TrafficCounters &counters, FapMeter &meter, QWidget *parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_counters(counters)
    , m_meter(meter)
{
    setObjectName(QStringLiteral("frmGui"));
    setWindowTitle(QStringLiteral("Tarvo"));
    setWindowIcon(Pictures::programIcon());
    // A frame with the close box only, and always above other windows.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFont(Fonts::arialPoints(8));

    createMenus();
    FapPanel = panel(this, QStringLiteral("FapPanel"), fapPanelHeight);
    createFapPanel();
    ShowMorePanel = panel(this, QStringLiteral("ShowMorePanel"), showMorePanelHeight);
    ShowMoreButton = new QPushButton(QStringLiteral("Show more"), ShowMorePanel);
    ShowMoreButton->setObjectName(QStringLiteral("ShowMoreButton"));
    ShowMoreButton->setFlat(true);
    ShowMoreButton->setGeometry(8, 6, 75, 23);
    setTextColour(ShowMoreButton, Qt::white);
    DetailsPanel = panel(this, QStringLiteral("DetailsPanel"), detailsPanelHeight);
    createDetailsPanel();
    RestrictionPanel = panel(this, QStringLiteral("RestrictionPanel"), restrictionHeight);
    createRestrictionPanel();
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(statusHeight);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setAutoFillBackground(true);
    // Room left over when the frame is dragged between the two views shows the panels' colour.
    QWidget *filler = panel(this, QStringLiteral("FillerPanel"), 0);
    filler->setMaximumHeight(QWIDGETSIZE_MAX);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    for (QWidget *part : {FapPanel, ShowMorePanel, DetailsPanel, RestrictionPanel})
        layout->addWidget(part);
    layout->addWidget(filler, 1);
    layout->addWidget(StatusBar1);

    // Only the height changes, between the compact and the full view; the window opens full.
    setMinimumSize(clientWidth, viewHeight(false));
    setMaximumSize(clientWidth, viewHeight(true));
    ShowMoreButtonClick();

    SpeedsTimer = new QTimer(this);
    SpeedsTimer->setObjectName(QStringLiteral("SpeedsTimer"));
    SpeedsTimer->setInterval(1000);
    connect(SpeedsTimer, &QTimer::timeout, this, &TfrmGui::SpeedsTimerTimer);
    PingTimer = new QTimer(this);
    PingTimer->setObjectName(QStringLiteral("PingTimer"));
    PingTimer->setInterval(30000);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TfrmGui::Timer1Timer);
    Timer1->start();

    connect(ShowMoreButton, &QPushButton::clicked, this, &TfrmGui::ShowMoreButtonClick);
    connect(HideDetailsButton, &QPushButton::clicked, this, &TfrmGui::HideDetailsButtonClick);

    TrayIcon = new TTrayIndicator(PopupMenu1, this);
    if (!TrayIcon->available())
        setStatusText(QStringLiteral("No system tray: Tarvo runs without its tray icon."));

    applySettings();
}

void TfrmGui::createMenus()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    File1 = MainMenu1->addMenu(QStringLiteral("File"));
    File1->setObjectName(QStringLiteral("File1"));
    Close1 = item(File1, QStringLiteral("Close1"), QStringLiteral("Close"));
    Toola1 = MainMenu1->addMenu(QStringLiteral("Tools"));
    Toola1->setObjectName(QStringLiteral("Toola1"));
    Options1 = item(Toola1, QStringLiteral("Options1"), QStringLiteral("Options..."));
    Help1 = MainMenu1->addMenu(QStringLiteral("Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    InternetandothersatelliteservicesfromKELMIRA1 =
        item(Help1, QStringLiteral("InternetandothersatelliteservicesfromKELMIRA1"),
             QStringLiteral("Internet and other satellite services from KELMIRA"));
    KelmiraSoftware1 = item(Help1, QStringLiteral("KelmiraSoftware1"), QStringLiteral("Kelmira Software"));
    Tarvoontheweb1 = item(Help1, QStringLiteral("Tarvoontheweb1"), QStringLiteral("Tarvo on the web"));
    Help1->addSeparator()->setObjectName(QStringLiteral("N3"));
    About1 = item(Help1, QStringLiteral("About1"), QStringLiteral("About"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Show1 = item(PopupMenu1, QStringLiteral("Show1"), QStringLiteral("Show"));
    Minimize1 = item(PopupMenu1, QStringLiteral("Minimize1"), QStringLiteral("Minimize"));
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N1"));
    Alwaysontop1 = item(PopupMenu1, QStringLiteral("Alwaysontop1"), QStringLiteral("Always on top"));
    Alwaysontop1->setCheckable(true);
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N2"));
    Resetdownloadedsofar1 = item(PopupMenu1, QStringLiteral("Resetdownloadedsofar1"),
                                 QStringLiteral("Reset interface counters ( does not affect FAP calculations )"));
    Resetallcounters1 = item(PopupMenu1, QStringLiteral("Resetallcounters1"), QStringLiteral("Reset FAP level"));
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N4"));
    Close2 = item(PopupMenu1, QStringLiteral("Close2"), QStringLiteral("Close"));

    connect(Close1, &QAction::triggered, this, &TfrmGui::Close1Click);
    connect(Options1, &QAction::triggered, this, &TfrmGui::Options1Click);
    connect(InternetandothersatelliteservicesfromKELMIRA1, &QAction::triggered, this,
            &TfrmGui::InternetandothersatelliteservicesfromKELMIRA1Click);
    connect(KelmiraSoftware1, &QAction::triggered, this, &TfrmGui::KelmiraSoftware1Click);
    connect(Tarvoontheweb1, &QAction::triggered, this, &TfrmGui::Tarvoontheweb1Click);
    connect(About1, &QAction::triggered, this, &TfrmGui::About1Click);
    connect(Show1, &QAction::triggered, this, &TfrmGui::Show1Click);
    connect(Minimize1, &QAction::triggered, this, &TfrmGui::Minimize1Click);
    connect(Alwaysontop1, &QAction::triggered, this, &TfrmGui::Alwaysontop1Click);
    connect(Resetdownloadedsofar1, &QAction::triggered, this, &TfrmGui::Resetdownloadedsofar1Click);
    connect(Resetallcounters1, &QAction::triggered, this, &TfrmGui::Resetallcounters1Click);
    connect(Close2, &QAction::triggered, this, &TfrmGui::Close1Click);
}

void TfrmGui::createFapPanel()
{
    QWidget *p = FapPanel;
    caption(p, QStringLiteral("Total bytes downloaded so far:"), 8, 0);
    TotalDownloadedValue = value(p, QStringLiteral("TotalDownloadedValue"), 160, 0, zero);
    caption(p, QStringLiteral("FAP level:"), 8, 16);
    FapLevelValue = value(p, QStringLiteral("FapLevelValue"), 64, 16, zero);
    LevelBar = new TLevelBar(p);
    LevelBar->setObjectName(QStringLiteral("LevelBar"));
    LevelBar->move(8, 40);
    LevelBar->setFill(levelBarWidth, Colours::lime);
    PercentValue = value(p, QStringLiteral("PercentValue"), 248, 40, QStringLiteral("100%"));
    setTextColour(PercentValue, Colours::lime);
    TrendRising = trendSign(p, QStringLiteral("TrendRising"), Pictures::Arrow::Up);
    TrendFalling = trendSign(p, QStringLiteral("TrendFalling"), Pictures::Arrow::Down);
    TrendSteady = trendSign(p, QStringLiteral("TrendSteady"), Pictures::Arrow::Left);
    TrendRising->hide();
    TrendFalling->hide();
    caption(p, QStringLiteral("Download speed ( average )"), 288, 0);
    DownloadAverageValue = value(p, QStringLiteral("DownloadAverageValue"), 288, 16, idle);
    caption(p, QStringLiteral("Download speed ( instant )"), 288, 40);
    DownloadInstantValue = value(p, QStringLiteral("DownloadInstantValue"), 288, 56, idle);
    DownloadLamp = new TLamp(p);
    DownloadLamp->setObjectName(QStringLiteral("DownloadLamp"));
    DownloadLamp->move(272, 56);
    DownloadLamp->setColour(Colours::lime);
    caption(p, QStringLiteral("Full recovery time:"), 8, 64);
    FullRecoveryValue = value(p, QStringLiteral("FullRecoveryValue"), 104, 64, noTime);
    caption(p, QStringLiteral("Bytes to throttle:"), 8, 80);
    BytesToThrottleValue = value(p, QStringLiteral("BytesToThrottleValue"), 104, 80, zero);
    caption(p, QStringLiteral("Bytes to cut off:"), 208, 80);
    BytesToCutOffValue = value(p, QStringLiteral("BytesToCutOffValue"), 296, 80, zero);
}

void TfrmGui::createDetailsPanel()
{
    QWidget *p = DetailsPanel;
    caption(p, QStringLiteral("Time to throttle:"), 16, 8);
    TimeToThrottleValue = value(p, QStringLiteral("TimeToThrottleValue"), 96, 8, noTime);
    caption(p, QStringLiteral("Time to cut off:"), 16, 24);
    TimeToCutOffValue = value(p, QStringLiteral("TimeToCutOffValue"), 96, 24, noTime);
    caption(p, QStringLiteral("Upload speed ( average )"), 16, 40);
    UploadAverageValue = value(p, QStringLiteral("UploadAverageValue"), 144, 40, idle);
    caption(p, QStringLiteral("Upload speed ( instant )"), 16, 56);
    UploadInstantValue = value(p, QStringLiteral("UploadInstantValue"), 144, 56, idle);
    UploadLamp = new TLamp(p);
    UploadLamp->setObjectName(QStringLiteral("UploadLamp"));
    UploadLamp->move(0, 56);
    UploadLamp->setColour(Colours::lime);
    caption(p, QStringLiteral("Upload bytes ( total ):"), 16, 72);
    UploadTotalValue = value(p, QStringLiteral("UploadTotalValue"), 120, 72, zero);
    caption(p, QStringLiteral("Ping ( ms ):"), 248, 8);
    PingValue = value(p, QStringLiteral("PingValue"), 312, 8, zero);
    caption(p, QStringLiteral("Packets / s:"), 248, 24);
    PacketsPerSecondValue = value(p, QStringLiteral("PacketsPerSecondValue"), 312, 24, zero);
    caption(p, QStringLiteral("Average packet size:"), 248, 40);
    AveragePacketSizeValue = value(p, QStringLiteral("AveragePacketSizeValue"), 360, 40, zero);
    caption(p, QStringLiteral("Packets received:"), 248, 56);
    PacketsReceivedValue = value(p, QStringLiteral("PacketsReceivedValue"), 344, 56, zero);
    caption(p, QStringLiteral("Packets sent:"), 248, 72);
    PacketsSentValue = value(p, QStringLiteral("PacketsSentValue"), 320, 72, zero);
    TrafficChart = new TTrafficChart(p);
    TrafficChart->setObjectName(QStringLiteral("TrafficChart"));
    TrafficChart->move(384, 24);

    HideDetailsButton = new QPushButton(QStringLiteral("X"), p);
    HideDetailsButton->setObjectName(QStringLiteral("HideDetailsButton"));
    HideDetailsButton->setFlat(true);
    HideDetailsButton->setGeometry(432, 0, 23, 22);
    HideDetailsButton->setFont(bold(HideDetailsButton->font()));
    setTextColour(HideDetailsButton, Qt::white);
}

void TfrmGui::createRestrictionPanel()
{
    const QFont large = Fonts::arialPoints(10, true);
    label(RestrictionPanel, QStringLiteral("Restrictions:"), 8, 0, large);
    RestrictionValue = label(RestrictionPanel, restrictionText(Restriction::None), 88, 0, large);
    RestrictionValue->setObjectName(QStringLiteral("RestrictionValue"));
    setTextColour(RestrictionValue, Colours::lime);
}

int TfrmGui::viewHeight(bool full) const
{
    return MainMenu1->sizeHint().height() + fapPanelHeight + (full ? detailsPanelHeight : showMorePanelHeight)
           + restrictionHeight + statusHeight;
}

void TfrmGui::setCompanionWindows(QWidget *optionsWindow, QWidget *aboutBox)
{
    m_optionsWindow = optionsWindow;
    m_aboutBox = aboutBox;
}

void TfrmGui::startMonitoring()
{
    SpeedsTimer->start();
    PingTimer->start();
    SpeedsTimerTimer();
}

void TfrmGui::applySettings()
{
    setWindowOpacity(std::clamp(m_settings.windowOpacity, 0, 255) / 255.0);
    Alwaysontop1->setChecked(m_settings.alwaysOnTop);
    TrafficChart->setAutoScale(m_settings.chartAutoScale);
}

void TfrmGui::setStatusText(const QString &text)
{
    StatusBar1->showMessage(text);
}

QString TfrmGui::statusText() const
{
    return StatusBar1->currentMessage();
}

void TfrmGui::setPingText(const QString &text)
{
    display(PingValue, text);
}

void TfrmGui::SpeedsTimerTimer()
{
    tickAt(oleDate(QDateTime::currentDateTime()));
}

void TfrmGui::tickAt(double now)
{
    const TrafficCounters::Tick taken = runMeterTick(now, m_counters, m_meter, m_stats);

    display(DownloadAverageValue, speed(m_stats.averageDownload));
    DownloadLamp->setColour(lampColour(taken.downloadBytes));
    display(DownloadInstantValue, speed(m_stats.instantDownload));
    display(TotalDownloadedValue, formatCount(double(m_counters.downloadedTotal.load())));
    display(FapLevelValue, formatCount(double(m_meter.remaining())) + QStringLiteral(" / ")
                            + formatCount(double(m_meter.activeLimit())));
    display(BytesToThrottleValue, formatCount(double(m_meter.bytesToThrottle())));
    display(BytesToCutOffValue, formatCount(m_meter.bytesToCutOff()));
    const Restriction restriction = m_meter.restriction();
    const QColor levelColour = restrictionColour(restriction);
    display(RestrictionValue, restrictionText(restriction));
    setTextColour(RestrictionValue, levelColour);
    setTextColour(PercentValue, levelColour);
    display(PercentValue, QString::number(m_meter.levelPercent()) + QLatin1Char('%'));
    LevelBar->setFill(m_meter.barFill(levelBarWidth), levelColour);
    TrendRising->hide();
    TrendFalling->hide();
    TrendSteady->hide();
    switch (m_meter.trend()) {
    case LevelTrend::Rising:
        TrendRising->show();
        break;
    case LevelTrend::Falling:
        TrendFalling->show();
        break;
    case LevelTrend::Steady:
        TrendSteady->show();
        break;
    }
    display(FullRecoveryValue, formatDuration(m_meter.fullRecoverySeconds()));
    display(TimeToThrottleValue, formatDuration(m_meter.secondsToThrottle()));
    display(TimeToCutOffValue, formatDuration(m_meter.secondsToCutOff()));
    display(UploadTotalValue, formatCount(double(m_counters.uploadedTotal.load())));
    UploadLamp->setColour(lampColour(taken.uploadBytes));
    display(UploadInstantValue, speed(m_stats.instantUpload));
    display(UploadAverageValue, speed(m_stats.averageUpload));
    display(AveragePacketSizeValue, formatCount(m_counters.meanPacketSize.load()));
    display(PacketsPerSecondValue, formatCount(taken.packets));
    display(PacketsSentValue, formatCount(double(m_counters.uploadPackets.load())));
    display(PacketsReceivedValue, formatCount(double(m_counters.downloadPackets.load())));

    TrayIcon->setImage(drawTrayImage(TrayGauge{
        .style = m_settings.trayStyle,
        .activeLimit = m_meter.activeLimit(),
        .usedBytes = m_meter.usedBytes(),
        .throttleLimit = m_meter.parameters().throttleLimit,
        .cutOff = m_meter.cutOff(),
        .levelPercent = m_meter.levelPercent(),
    }));

    TrafficChart->add(now, taken.downloadBytes, taken.uploadBytes, m_settings.chartHistorySeconds);
}

bool TfrmGui::keepInFront(bool visible, bool alwaysOnTop, bool optionsVisible, bool aboutVisible)
{
    return visible && alwaysOnTop && !optionsVisible && !aboutVisible;
}

void TfrmGui::Timer1Timer()
{
    const bool optionsVisible = m_optionsWindow && m_optionsWindow->isVisible();
    const bool aboutVisible = m_aboutBox && m_aboutBox->isVisible();
    if (!keepInFront(isVisible(), m_settings.alwaysOnTop, optionsVisible, aboutVisible))
        return;
    // Raised, not activated: taking the keyboard ten times a second would make every other
    // window unusable.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
}

void TfrmGui::Close1Click()
{
    Q_EMIT closeRequested();
}

void TfrmGui::Options1Click()
{
    Q_EMIT optionsRequested();
}

void TfrmGui::InternetandothersatelliteservicesfromKELMIRA1Click()
{
    WebLinks::open(WebLinks::makerSite());
}

void TfrmGui::KelmiraSoftware1Click()
{
    WebLinks::open(WebLinks::softwareSite());
}

void TfrmGui::Tarvoontheweb1Click()
{
    WebLinks::open(WebLinks::productSite());
}

void TfrmGui::About1Click()
{
    if (!m_aboutBox)
        return;
    m_aboutBox->show();
    m_aboutBox->raise();
    m_aboutBox->activateWindow();
}

void TfrmGui::Show1Click()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TfrmGui::Minimize1Click()
{
    close();
}

void TfrmGui::Alwaysontop1Click()
{
    m_settings.alwaysOnTop = !m_settings.alwaysOnTop;
    Alwaysontop1->setChecked(m_settings.alwaysOnTop);
    Q_EMIT alwaysOnTopToggled(m_settings.alwaysOnTop);
}

void TfrmGui::Resetdownloadedsofar1Click()
{
    resetInterfaceCounters(m_counters, m_stats, m_meter);
}

void TfrmGui::Resetallcounters1Click()
{
    const QMessageBox::StandardButton answer = Dialogs::ask(
        this, Dialogs::Request{
                  QStringLiteral("Reset all counters?"),
                  QStringLiteral("This will reset all Tarvo counters, as well as set your FAP level to maximum. Are you "
                                 "sure you want to proceed?"),
                  QMessageBox::Yes | QMessageBox::No,
                  QMessageBox::NoIcon,
              });
    if (answer == QMessageBox::Yes)
        resetFapLevel(m_counters, m_stats, m_meter);
}

void TfrmGui::ShowMoreButtonClick()
{
    DetailsPanel->show();
    ShowMorePanel->hide();
    resize(clientWidth, viewHeight(true));
}

void TfrmGui::HideDetailsButtonClick()
{
    DetailsPanel->hide();
    ShowMorePanel->show();
    resize(clientWidth, viewHeight(false));
}
