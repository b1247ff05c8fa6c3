#include "ui/monitor/monitorwindow.h"

#include "meter/fapmeter.h"
#include "meter/formats.h"
#include "meter/trafficstats.h"
#include "platform/dialogs.h"
#include "ui/common/colours.h"
#include "ui/common/fonts.h"
#include "ui/common/weblinks.h"
#include "ui/monitor/indicators.h"
#include "ui/monitor/pictures.h"
#include "ui/monitor/trafficchart.h"
#include "ui/monitor/trayimage.h"
#include "ui/monitor/trayindicator.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString noTrayNotice =
    QStringLiteral("No system tray: closing this window minimises it; File > Close ends Tarvo.");

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

// Room left between neighbours on one line.
constexpr int gap = 4;

// A value on its caption's line: at its own place, or further right where the caption came out
// wider (another font, another DPI), so the two never touch.
QLabel *field(QWidget *parent, const char *caption, QPoint captionAt, const char *name, int valueLeft,
              const QString &initial)
{
    const QLabel *shown = label(parent, QString::fromLatin1(caption), captionAt.x(), captionAt.y(), parent->font());
    return value(parent, QString::fromLatin1(name), std::max(valueLeft, shown->x() + shown->width() + gap),
                 captionAt.y(), initial);
}

// Where a value must end: before the first thing to its right that shares its line (a caption,
// the chart, a sign, a button), or at the panel's edge.
int rightLimit(const QLabel *value)
{
    int limit = clientWidth;
    for (const QWidget *other : value->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const bool sameLine = other->y() < value->y() + value->height() && value->y() < other->y() + other->height();
        if (other != value && sameLine && other->x() > value->x())
            limit = std::min(limit, other->x() - gap);
    }
    return limit;
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

MonitorWindow::MonitorWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("monitorWindow"));
    setWindowTitle(QStringLiteral("Tarvo"));
    setWindowIcon(Pictures::programIcon());
    // A frame with the close box only, and always above other windows.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFont(Fonts::arialPoints(8));

    createMenus();
    fapPanel = panel(this, QStringLiteral("fapPanel"), fapPanelHeight);
    createFapPanel();
    showMorePanel = panel(this, QStringLiteral("showMorePanel"), showMorePanelHeight);
    showMoreButton = new QPushButton(QStringLiteral("Show more"), showMorePanel);
    showMoreButton->setObjectName(QStringLiteral("showMoreButton"));
    showMoreButton->setFlat(true);
    showMoreButton->setGeometry(8, 6, 75, 23);
    setTextColour(showMoreButton, Qt::white);
    detailsPanel = panel(this, QStringLiteral("detailsPanel"), detailsPanelHeight);
    createDetailsPanel();
    restrictionPanel = panel(this, QStringLiteral("restrictionPanel"), restrictionHeight);
    createRestrictionPanel();
    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    statusBar->setFixedHeight(statusHeight);
    statusBar->setSizeGripEnabled(false);
    statusBar->setAutoFillBackground(true);
    // Room left over when the frame is dragged between the two views shows the panels' colour.
    QWidget *filler = panel(this, QStringLiteral("fillerPanel"), 0);
    filler->setMaximumHeight(QWIDGETSIZE_MAX);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    for (QWidget *part : {fapPanel, showMorePanel, detailsPanel, restrictionPanel})
        layout->addWidget(part);
    layout->addWidget(filler, 1);
    layout->addWidget(statusBar);

    for (QWidget *part : {fapPanel, detailsPanel, restrictionPanel}) {
        for (QLabel *shown : part->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
            if (shown->objectName().endsWith(QStringLiteral("Value")))
                m_valueLimits.insert(shown, rightLimit(shown));
        }
    }

    // Only the height changes: the compact view may be drawn out to the full one's height; the
    // window opens full.
    setMinimumSize(clientWidth, viewHeight(false));
    setMaximumSize(clientWidth, viewHeight(true));
    showDetails();

    frontTimer = new QTimer(this);
    frontTimer->setObjectName(QStringLiteral("frontTimer"));
    frontTimer->setInterval(100);
    connect(frontTimer, &QTimer::timeout, this, &MonitorWindow::pullToFront);
    noticeTimer = new QTimer(this);
    noticeTimer->setObjectName(QStringLiteral("noticeTimer"));
    noticeTimer->setSingleShot(true);
    noticeTimer->setInterval(noticeMs);
    connect(noticeTimer, &QTimer::timeout, this, [this] { statusBar->showMessage(m_statusText); });

    connect(showMoreButton, &QPushButton::clicked, this, &MonitorWindow::showDetails);
    connect(hideDetailsButton, &QPushButton::clicked, this, &MonitorWindow::hideDetails);

    // The tray's menu also on the window itself, where a desktop without a tray can reach it.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { trayMenu->popup(mapToGlobal(at)); });

    trayIcon = new TrayIndicator(trayMenu, this);
    connect(trayIcon, &TrayIndicator::appeared, this, [this] {
        if (statusText() == noTrayNotice)
            setStatusText(QString());
    });
    if (!trayIcon->available())
        setStatusText(noTrayNotice);
}

void MonitorWindow::createMenus()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    fileMenu = menuBar->addMenu(QStringLiteral("File"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    closeAction = item(fileMenu, QStringLiteral("closeAction"), QStringLiteral("Close"));
    toolsMenu = menuBar->addMenu(QStringLiteral("Tools"));
    toolsMenu->setObjectName(QStringLiteral("toolsMenu"));
    optionsAction = item(toolsMenu, QStringLiteral("optionsAction"), QStringLiteral("Options..."));
    plannerAction = item(toolsMenu, QStringLiteral("plannerAction"), QStringLiteral("Will it fit?..."));
    historyAction = item(toolsMenu, QStringLiteral("historyAction"), QStringLiteral("History..."));
    helpMenu = menuBar->addMenu(QStringLiteral("Help"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    makerSiteAction =
        item(helpMenu, QStringLiteral("makerSiteAction"),
             QStringLiteral("Internet and other satellite services from KELMIRA"));
    softwareSiteAction = item(helpMenu, QStringLiteral("softwareSiteAction"), QStringLiteral("Kelmira Software"));
    productSiteAction = item(helpMenu, QStringLiteral("productSiteAction"), QStringLiteral("Tarvo on the web"));
    helpMenu->addSeparator();
    aboutAction = item(helpMenu, QStringLiteral("aboutAction"), QStringLiteral("About"));

    trayMenu = new QMenu(this);
    trayMenu->setObjectName(QStringLiteral("trayMenu"));
    showAction = item(trayMenu, QStringLiteral("showAction"), QStringLiteral("Show"));
    minimizeAction = item(trayMenu, QStringLiteral("minimizeAction"), QStringLiteral("Minimize"));
    trayMenu->addSeparator();
    alwaysOnTopAction = item(trayMenu, QStringLiteral("alwaysOnTopAction"), QStringLiteral("Always on top"));
    alwaysOnTopAction->setCheckable(true);
    trayMenu->addSeparator();
    resetCountersAction = item(trayMenu, QStringLiteral("resetCountersAction"),
                                 QStringLiteral("Reset interface counters ( does not affect FAP calculations )"));
    resetFapLevelAction = item(trayMenu, QStringLiteral("resetFapLevelAction"), QStringLiteral("Reset FAP level"));
    trayMenu->addSeparator();
    trayCloseAction = item(trayMenu, QStringLiteral("trayCloseAction"), QStringLiteral("Close"));

    connect(closeAction, &QAction::triggered, this, &MonitorWindow::closeRequested);
    connect(trayCloseAction, &QAction::triggered, this, &MonitorWindow::closeRequested);
    connect(optionsAction, &QAction::triggered, this, &MonitorWindow::optionsRequested);
    connect(plannerAction, &QAction::triggered, this, &MonitorWindow::plannerRequested);
    connect(historyAction, &QAction::triggered, this, &MonitorWindow::historyRequested);
    connect(makerSiteAction, &QAction::triggered, this, [] { WebLinks::open(WebLinks::makerSite()); });
    connect(softwareSiteAction, &QAction::triggered, this, [] { WebLinks::open(WebLinks::softwareSite()); });
    connect(productSiteAction, &QAction::triggered, this, [] { WebLinks::open(WebLinks::productSite()); });
    connect(aboutAction, &QAction::triggered, this, &MonitorWindow::showAbout);
    connect(showAction, &QAction::triggered, this, &MonitorWindow::restore);
    connect(minimizeAction, &QAction::triggered, this, &MonitorWindow::putAway);
    connect(alwaysOnTopAction, &QAction::triggered, this, &MonitorWindow::toggleAlwaysOnTop);
    connect(resetCountersAction, &QAction::triggered, this, &MonitorWindow::resetCountersRequested);
    connect(resetFapLevelAction, &QAction::triggered, this, &MonitorWindow::askResetFapLevel);
}

void MonitorWindow::createFapPanel()
{
    QWidget *p = fapPanel;
    totalDownloadedValue = field(p, "Total bytes downloaded so far:", {8, 0}, "totalDownloadedValue", 160, zero);
    fapLevelValue = field(p, "FAP level:", {8, 16}, "fapLevelValue", 64, zero);
    levelBar = new LevelBar(p);
    levelBar->setObjectName(QStringLiteral("levelBar"));
    levelBar->move(8, 40);
    levelBar->setFill(levelBarWidth, Colours::lime);
    percentValue = value(p, QStringLiteral("percentValue"), 248, 40, QStringLiteral("100%"));
    setTextColour(percentValue, Colours::lime);
    trendRising = trendSign(p, QStringLiteral("trendRising"), Pictures::Arrow::Up);
    trendFalling = trendSign(p, QStringLiteral("trendFalling"), Pictures::Arrow::Down);
    trendSteady = trendSign(p, QStringLiteral("trendSteady"), Pictures::Arrow::Left);
    trendRising->hide();
    trendFalling->hide();
    caption(p, QStringLiteral("Download speed ( average )"), 288, 0);
    downloadAverageValue = value(p, QStringLiteral("downloadAverageValue"), 288, 16, idle);
    caption(p, QStringLiteral("Download speed ( instant )"), 288, 40);
    downloadInstantValue = value(p, QStringLiteral("downloadInstantValue"), 288, 56, idle);
    downloadLamp = new Lamp(p);
    downloadLamp->setObjectName(QStringLiteral("downloadLamp"));
    downloadLamp->move(272, 56);
    downloadLamp->setColour(Colours::lime);
    fullRecoveryValue = field(p, "Full recovery time:", {8, 64}, "fullRecoveryValue", 104, noTime);
    bytesToThrottleValue = field(p, "Bytes to throttle:", {8, 80}, "bytesToThrottleValue", 104, zero);
    bytesToCutOffValue = field(p, "Bytes to cut off:", {208, 80}, "bytesToCutOffValue", 296, zero);
}

void MonitorWindow::createDetailsPanel()
{
    QWidget *p = detailsPanel;
    // The right-hand column starts a little left of the classic layout, and the chart is a little
    // narrower, so that packet counts in the millions fit between caption and chart.
    constexpr int rightColumn = 240;
    timeToThrottleValue = field(p, "Time to throttle:", {16, 8}, "timeToThrottleValue", 96, noTime);
    timeToCutOffValue = field(p, "Time to cut off:", {16, 24}, "timeToCutOffValue", 96, noTime);
    uploadAverageValue = field(p, "Upload speed ( average )", {16, 40}, "uploadAverageValue", 144, idle);
    uploadInstantValue = field(p, "Upload speed ( instant )", {16, 56}, "uploadInstantValue", 144, idle);
    uploadLamp = new Lamp(p);
    uploadLamp->setObjectName(QStringLiteral("uploadLamp"));
    uploadLamp->move(0, 56);
    uploadLamp->setColour(Colours::lime);
    uploadTotalValue = field(p, "Upload bytes ( total ):", {16, 72}, "uploadTotalValue", 120, zero);
    pingValue = field(p, "Ping ( ms ):", {rightColumn, 8}, "pingValue", 304, zero);
    packetsPerSecondValue = field(p, "Packets / s:", {rightColumn, 24}, "packetsPerSecondValue", 304, zero);
    averagePacketSizeValue = field(p, "Average packet size:", {rightColumn, 40}, "averagePacketSizeValue", 352, zero);
    packetsReceivedValue = field(p, "Packets received:", {rightColumn, 56}, "packetsReceivedValue", 336, zero);
    packetsSentValue = field(p, "Packets sent:", {rightColumn, 72}, "packetsSentValue", 312, zero);
    trafficChart = new TrafficChart(p);
    trafficChart->setObjectName(QStringLiteral("trafficChart"));
    trafficChart->move(392, 24);

    hideDetailsButton = new QPushButton(QStringLiteral("X"), p);
    hideDetailsButton->setObjectName(QStringLiteral("hideDetailsButton"));
    hideDetailsButton->setFlat(true);
    hideDetailsButton->setGeometry(432, 0, 23, 22);
    hideDetailsButton->setFont(bold(hideDetailsButton->font()));
    setTextColour(hideDetailsButton, Qt::white);
}

void MonitorWindow::createRestrictionPanel()
{
    const QFont large = Fonts::arialPoints(10, true);
    const QLabel *caption = label(restrictionPanel, QStringLiteral("Restrictions:"), 8, 0, large);
    restrictionValue = label(restrictionPanel, restrictionText(Restriction::None),
                             std::max(88, caption->x() + caption->width() + gap), 0, large);
    restrictionValue->setObjectName(QStringLiteral("restrictionValue"));
    setTextColour(restrictionValue, Colours::lime);
}

int MonitorWindow::viewHeight(bool full) const
{
    return menuBar->sizeHint().height() + fapPanelHeight + (full ? detailsPanelHeight : showMorePanelHeight)
           + restrictionHeight + statusHeight;
}

void MonitorWindow::setCompanionWindows(QWidget *optionsWindow, QWidget *aboutWindow)
{
    m_optionsWindow = optionsWindow;
    m_aboutWindow = aboutWindow;
}

void MonitorWindow::applySettings(const AppSettings &settings)
{
    setWindowOpacity(std::clamp(settings.windowOpacity, 0, 255) / 255.0);
    setAlwaysOnTop(settings.alwaysOnTop);
    trafficChart->setAutoScale(settings.chartAutoScale);
}

void MonitorWindow::setStatusText(const QString &text)
{
    m_statusText = text;
    noticeTimer->stop();
    statusBar->showMessage(text);
}

void MonitorWindow::showNotice(const QString &text)
{
    statusBar->showMessage(text);
    noticeTimer->start();
}

QString MonitorWindow::statusText() const
{
    return statusBar->currentMessage();
}

void MonitorWindow::display(QLabel *label, const QString &text)
{
    // Texts change every second; the label grows or shrinks with its text, and a text too long
    // for its room is cut, whole in the tool tip, rather than drawn under its neighbour.
    const int room = m_valueLimits.value(label, QWIDGETSIZE_MAX) - label->x();
    const QFontMetrics metrics(label->font());
    const bool fits = metrics.horizontalAdvance(text) <= room;
    label->setText(fits ? text : metrics.elidedText(text, Qt::ElideRight, room));
    label->setToolTip(fits ? QString() : text);
    label->adjustSize();
}

void MonitorWindow::setPingText(const QString &text)
{
    display(pingValue, text);
}

void MonitorWindow::showTick(const TickDisplay &tick)
{
    const FapMeter &meter = tick.meter;
    const TrafficCounters &counters = tick.counters;
    const TrafficStats &stats = tick.stats;

    display(downloadAverageValue, speed(stats.averageDownload));
    downloadLamp->setColour(lampColour(tick.taken.downloadBytes));
    display(downloadInstantValue, speed(stats.instantDownload));
    display(totalDownloadedValue, formatCount(double(counters.downloadedTotal.load())));
    display(fapLevelValue,
            formatCount(double(meter.remaining())) + QStringLiteral(" / ") + formatCount(double(meter.activeLimit())));
    display(bytesToThrottleValue, formatCount(double(meter.bytesToThrottle())));
    display(bytesToCutOffValue, formatCount(meter.bytesToCutOff()));
    const Restriction restriction = meter.restriction();
    const QColor levelColour = restrictionColour(restriction);
    display(restrictionValue, restrictionText(restriction));
    setTextColour(restrictionValue, levelColour);
    setTextColour(percentValue, levelColour);
    display(percentValue, QString::number(meter.levelPercent()) + QLatin1Char('%'));
    levelBar->setFill(meter.barFill(levelBarWidth), levelColour);
    trendRising->setVisible(meter.trend() == LevelTrend::Rising);
    trendFalling->setVisible(meter.trend() == LevelTrend::Falling);
    trendSteady->setVisible(meter.trend() == LevelTrend::Steady);
    display(fullRecoveryValue, formatDuration(meter.fullRecoverySeconds()));
    display(timeToThrottleValue, formatDuration(meter.secondsToThrottle()));
    display(timeToCutOffValue, formatDuration(meter.secondsToCutOff()));
    display(uploadTotalValue, formatCount(double(counters.uploadedTotal.load())));
    uploadLamp->setColour(lampColour(tick.taken.uploadBytes));
    display(uploadInstantValue, speed(stats.instantUpload));
    display(uploadAverageValue, speed(stats.averageUpload));
    display(averagePacketSizeValue, formatCount(counters.meanPacketSize.load()));
    display(packetsPerSecondValue, formatCount(tick.taken.packets));
    display(packetsSentValue, formatCount(double(counters.uploadPackets.load())));
    display(packetsReceivedValue, formatCount(double(counters.downloadPackets.load())));

    trayIcon->setImage(drawTrayImage(TrayGauge{
        .style = tick.trayStyle,
        .activeLimit = meter.activeLimit(),
        .usedBytes = meter.usedBytes(),
        .throttleLimit = meter.parameters().throttleLimit,
        .cutOff = meter.cutOff(),
        .levelPercent = meter.levelPercent(),
    }));

    trafficChart->add(tick.now, tick.taken.downloadBytes, tick.taken.uploadBytes, tick.chartHistorySeconds);
}

bool MonitorWindow::keepInFront(bool visible, bool alwaysOnTop, bool optionsVisible, bool aboutVisible)
{
    return visible && alwaysOnTop && !optionsVisible && !aboutVisible;
}

void MonitorWindow::pullToFront()
{
    const bool optionsVisible = m_optionsWindow && m_optionsWindow->isVisible();
    const bool aboutVisible = m_aboutWindow && m_aboutWindow->isVisible();
    // A modal window (the update offer, a message box) waits for the user: lifting this window
    // over it would hide the one window that can be answered.
    if (m_inTaskBar || QApplication::activeModalWidget()
        || !keepInFront(isVisible(), m_alwaysOnTop, optionsVisible, aboutVisible))
        return;
    // Raised, not activated: taking the keyboard ten times a second would make every other
    // window unusable.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
}

void MonitorWindow::showAbout()
{
    if (!m_aboutWindow)
        return;
    m_aboutWindow->show();
    m_aboutWindow->raise();
    m_aboutWindow->activateWindow();
}

void MonitorWindow::showAfterConfirmation(bool startMinimized)
{
    if (!startMinimized)
        show();
    else if (!trayIcon->available())
        minimiseToTaskBar();
}

void MonitorWindow::minimiseToTaskBar()
{
    m_inTaskBar = true;
    showMinimized();
}

void MonitorWindow::putAway()
{
    if (trayIcon->available())
        hide();
    else
        minimiseToTaskBar();
}

void MonitorWindow::closeEvent(QCloseEvent *event)
{
    // Only the user's close (the title bar's, a spontaneous event) keeps the window: the program's
    // own closes, and the one Qt sends every window when the program quits, must go through, or
    // "Close" and SIGTERM would never end a program without a tray.
    if (trayIcon->available() || !event->spontaneous())
        return QWidget::closeEvent(event);
    event->ignore();
    minimiseToTaskBar();
}

void MonitorWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (!isMinimized()) {
        m_inTaskBar = false;
        return;
    }
    // Hidden after the state change has run its course; a window the pull restores stays.
    if (trayIcon->available() && !m_inTaskBar && !m_alwaysOnTop)
        QTimer::singleShot(0, this, [this] {
            if (isMinimized())
                hide();
        });
}

void MonitorWindow::restore()
{
    m_inTaskBar = false;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MonitorWindow::setAlwaysOnTop(bool alwaysOnTop)
{
    m_alwaysOnTop = alwaysOnTop;
    alwaysOnTopAction->setChecked(alwaysOnTop);
    // Without the setting there is nothing to pull: no wake-ups for nothing.
    if (alwaysOnTop)
        frontTimer->start();
    else
        frontTimer->stop();
}

void MonitorWindow::toggleAlwaysOnTop()
{
    setAlwaysOnTop(!m_alwaysOnTop);
    Q_EMIT alwaysOnTopToggled(m_alwaysOnTop);
}

void MonitorWindow::askResetFapLevel()
{
    const QMessageBox::StandardButton answer = Dialogs::ask(
        this, Dialogs::Request{
                  QStringLiteral("Reset all counters?"),
                  QStringLiteral("This will reset all Tarvo counters, as well as set your FAP level to maximum. "
                                 "Are you sure you want to proceed?"),
                  QMessageBox::Yes | QMessageBox::No,
                  QMessageBox::NoIcon,
              });
    if (answer == QMessageBox::Yes)
        Q_EMIT resetFapLevelRequested();
}

void MonitorWindow::showDetails()
{
    detailsPanel->show();
    showMorePanel->hide();
    // Made shorter, the full view would squeeze its fixed panels over each other.
    setMinimumHeight(viewHeight(true));
    resize(clientWidth, viewHeight(true));
}

void MonitorWindow::hideDetails()
{
    detailsPanel->hide();
    showMorePanel->show();
    setMinimumHeight(viewHeight(false));
    resize(clientWidth, viewHeight(false));
}
