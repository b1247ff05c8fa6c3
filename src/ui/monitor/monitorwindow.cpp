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
#include <QWindow>

#include <algorithm>

namespace {

QString noTrayNotice()
{
    return QCoreApplication::translate("MonitorWindow",
                                       "No system tray: closing this window minimises it; File > Close ends Tarvo.");
}

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
QLabel *field(QWidget *parent, const QString &caption, QPoint captionAt, const char *name, int valueLeft,
              const QString &initial)
{
    const QLabel *shown = label(parent, caption, captionAt.x(), captionAt.y(), parent->font());
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

QString perSecond(const QString &bytes)
{
    return QCoreApplication::translate("MonitorWindow", "%1 bytes / s").arg(bytes);
}

QString speed(double bytesPerSecond)
{
    return perSecond(formatCount(bytesPerSecond));
}

QColor lampColour(int32_t bytes)
{
    return bytes != 0 ? Colours::red : Colours::lime;
}

QColor restrictionColour(Restriction restriction)
{
    return Colours::level(restriction == Restriction::CutOff, restriction == Restriction::Throttled);
}

QString shownRestriction(Restriction restriction)
{
    return QCoreApplication::translate("Restriction", restrictionText(restriction).toLatin1().constData());
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
    // A frame with the close box only; above other windows only with "Always on top".
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFont(Fonts::arialPoints(8));

    createMenus();
    m_fapPanel = panel(this, QStringLiteral("fapPanel"), fapPanelHeight);
    createFapPanel();
    m_showMorePanel = panel(this, QStringLiteral("showMorePanel"), showMorePanelHeight);
    auto *showMoreButton = new QPushButton(tr("Show more"), m_showMorePanel);
    showMoreButton->setObjectName(QStringLiteral("showMoreButton"));
    showMoreButton->setFlat(true);
    showMoreButton->setGeometry(8, 6, 75, 23);
    setTextColour(showMoreButton, Qt::white);
    m_detailsPanel = panel(this, QStringLiteral("detailsPanel"), detailsPanelHeight);
    createDetailsPanel();
    m_restrictionPanel = panel(this, QStringLiteral("restrictionPanel"), restrictionHeight);
    createRestrictionPanel();
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("statusBar"));
    m_statusBar->setFixedHeight(statusHeight);
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setAutoFillBackground(true);
    // Room left over when the frame is dragged between the two views shows the panels' colour.
    QWidget *filler = panel(this, QStringLiteral("fillerPanel"), 0);
    filler->setMaximumHeight(QWIDGETSIZE_MAX);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menuBar);
    for (QWidget *part : {m_fapPanel, m_showMorePanel, m_detailsPanel, m_restrictionPanel})
        layout->addWidget(part);
    layout->addWidget(filler, 1);
    layout->addWidget(m_statusBar);

    for (QWidget *part : {m_fapPanel, m_detailsPanel, m_restrictionPanel}) {
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

    m_frontTimer = new QTimer(this);
    m_frontTimer->setObjectName(QStringLiteral("frontTimer"));
    m_frontTimer->setInterval(100);
    connect(m_frontTimer, &QTimer::timeout, this, &MonitorWindow::pullToFront);
    m_noticeTimer = new QTimer(this);
    m_noticeTimer->setObjectName(QStringLiteral("noticeTimer"));
    m_noticeTimer->setSingleShot(true);
    m_noticeTimer->setInterval(noticeMs);
    connect(m_noticeTimer, &QTimer::timeout, this, [this] { m_statusBar->showMessage(m_statusText); });

    connect(showMoreButton, &QPushButton::clicked, this, &MonitorWindow::showDetails);

    // The tray's menu also on the window itself, where a desktop without a tray can reach it.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_trayMenu->popup(mapToGlobal(at)); });

    m_trayIcon = new TrayIndicator(m_trayMenu, this);
    m_trayIcon->setObjectName(QStringLiteral("trayIcon"));
    connect(m_trayIcon, &TrayIndicator::clicked, this, &MonitorWindow::trayClicked);
    connect(m_trayIcon, &TrayIndicator::appeared, this, [this] {
        if (statusText() == noTrayNotice())
            setStatusText(QString());
    });
    if (!m_trayIcon->available())
        setStatusText(noTrayNotice());
}

void MonitorWindow::createMenus()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    QMenu *fileMenu = m_menuBar->addMenu(tr("File"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    QAction *setBucketAction =
        item(fileMenu, QStringLiteral("setBucketAction"), tr("Set bucket from provider..."));
    QAction *closeAction = item(fileMenu, QStringLiteral("closeAction"), tr("Close"));
    QMenu *toolsMenu = m_menuBar->addMenu(tr("Tools"));
    toolsMenu->setObjectName(QStringLiteral("toolsMenu"));
    QAction *optionsAction = item(toolsMenu, QStringLiteral("optionsAction"), tr("Options..."));
    QAction *plannerAction = item(toolsMenu, QStringLiteral("plannerAction"), tr("Will it fit?..."));
    m_historyAction = item(toolsMenu, QStringLiteral("historyAction"), tr("History..."));
    QAction *programsAction = item(toolsMenu, QStringLiteral("programsAction"), tr("Programs..."));
    QMenu *helpMenu = m_menuBar->addMenu(tr("Help"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    QAction *makerSiteAction = item(helpMenu, QStringLiteral("makerSiteAction"),
                                    tr("Internet and other satellite services from KELMIRA"));
    QAction *softwareSiteAction = item(helpMenu, QStringLiteral("softwareSiteAction"), tr("Kelmira Software"));
    QAction *productSiteAction = item(helpMenu, QStringLiteral("productSiteAction"), tr("Tarvo on the web"));
    helpMenu->addSeparator();
    QAction *aboutAction = item(helpMenu, QStringLiteral("aboutAction"), tr("About"));

    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("trayMenu"));
    QAction *showAction = item(m_trayMenu, QStringLiteral("showAction"), tr("Show"));
    QAction *minimizeAction = item(m_trayMenu, QStringLiteral("minimizeAction"), tr("Minimize"));
    m_trayMenu->addSeparator();
    m_alwaysOnTopAction = item(m_trayMenu, QStringLiteral("alwaysOnTopAction"), tr("Always on top"));
    m_alwaysOnTopAction->setCheckable(true);
    m_trayMenu->addSeparator();
    QAction *resetCountersAction = item(m_trayMenu, QStringLiteral("resetCountersAction"),
                                        tr("Reset interface counters ( does not affect FAP calculations )"));
    QAction *resetFapLevelAction =
        item(m_trayMenu, QStringLiteral("resetFapLevelAction"), tr("Reset FAP level"));
    QAction *traySetBucketAction =
        item(m_trayMenu, QStringLiteral("traySetBucketAction"), tr("Set bucket from provider..."));
    m_trayMenu->addSeparator();
    QAction *trayCloseAction = item(m_trayMenu, QStringLiteral("trayCloseAction"), tr("Close"));

    connect(closeAction, &QAction::triggered, this, &MonitorWindow::closeRequested);
    connect(setBucketAction, &QAction::triggered, this, &MonitorWindow::setBucketRequested);
    connect(traySetBucketAction, &QAction::triggered, this, &MonitorWindow::setBucketRequested);
    connect(trayCloseAction, &QAction::triggered, this, &MonitorWindow::closeRequested);
    connect(optionsAction, &QAction::triggered, this, &MonitorWindow::optionsRequested);
    connect(plannerAction, &QAction::triggered, this, &MonitorWindow::plannerRequested);
    connect(m_historyAction, &QAction::triggered, this, &MonitorWindow::historyRequested);
    connect(programsAction, &QAction::triggered, this, &MonitorWindow::programsRequested);
    connect(makerSiteAction, &QAction::triggered, this, [] { WebLinks::open(WebLinks::makerSite()); });
    connect(softwareSiteAction, &QAction::triggered, this, [] { WebLinks::open(WebLinks::softwareSite()); });
    connect(productSiteAction, &QAction::triggered, this, [] { WebLinks::open(WebLinks::productSite()); });
    connect(aboutAction, &QAction::triggered, this, &MonitorWindow::showAbout);
    connect(showAction, &QAction::triggered, this, &MonitorWindow::restore);
    connect(minimizeAction, &QAction::triggered, this, &MonitorWindow::putAway);
    connect(m_alwaysOnTopAction, &QAction::triggered, this, &MonitorWindow::toggleAlwaysOnTop);
    connect(resetCountersAction, &QAction::triggered, this, &MonitorWindow::resetCountersRequested);
    connect(resetFapLevelAction, &QAction::triggered, this, &MonitorWindow::askResetFapLevel);
}

void MonitorWindow::createFapPanel()
{
    QWidget *p = m_fapPanel;
    m_totalDownloadedValue = field(p, tr("Total bytes downloaded so far:"), {8, 0}, "totalDownloadedValue", 160, zero);
    m_fapLevelValue = field(p, tr("FAP level:"), {8, 16}, "fapLevelValue", 64, zero);
    m_levelBar = new LevelBar(p);
    m_levelBar->setObjectName(QStringLiteral("levelBar"));
    m_levelBar->move(8, 40);
    m_levelBar->setFill(levelBarWidth, Colours::lime);
    m_percentValue = value(p, QStringLiteral("percentValue"), 248, 40, QStringLiteral("100%"));
    setTextColour(m_percentValue, Colours::lime);
    m_trendRising = trendSign(p, QStringLiteral("trendRising"), Pictures::Arrow::Up);
    m_trendFalling = trendSign(p, QStringLiteral("trendFalling"), Pictures::Arrow::Down);
    m_trendSteady = trendSign(p, QStringLiteral("trendSteady"), Pictures::Arrow::Left);
    m_trendRising->hide();
    m_trendFalling->hide();
    caption(p, tr("Download speed ( average )"), 288, 0);
    m_downloadAverageValue = value(p, QStringLiteral("downloadAverageValue"), 288, 16, perSecond(zero));
    caption(p, tr("Download speed ( instant )"), 288, 40);
    m_downloadInstantValue = value(p, QStringLiteral("downloadInstantValue"), 288, 56, perSecond(zero));
    m_downloadLamp = new Lamp(p);
    m_downloadLamp->setObjectName(QStringLiteral("downloadLamp"));
    m_downloadLamp->move(272, 56);
    m_downloadLamp->setColour(Colours::lime);
    m_fullRecoveryValue = field(p, tr("Full recovery time:"), {8, 64}, "fullRecoveryValue", 104, noTime);
    m_bytesToThrottleValue = field(p, tr("Bytes to throttle:"), {8, 80}, "bytesToThrottleValue", 104, zero);
    m_bytesToCutOffValue = field(p, tr("Bytes to cut off:"), {208, 80}, "bytesToCutOffValue", 296, zero);
}

void MonitorWindow::createDetailsPanel()
{
    QWidget *p = m_detailsPanel;
    // The right-hand column starts a little left of the classic layout, and the chart is a little
    // narrower, so that packet counts in the millions fit between caption and chart.
    constexpr int rightColumn = 240;
    m_timeToThrottleValue = field(p, tr("Time to throttle:"), {16, 8}, "timeToThrottleValue", 96, noTime);
    m_timeToCutOffValue = field(p, tr("Time to cut off:"), {16, 24}, "timeToCutOffValue", 96, noTime);
    m_uploadAverageValue = field(p, tr("Upload speed ( average )"), {16, 40}, "uploadAverageValue", 144, perSecond(zero));
    m_uploadInstantValue = field(p, tr("Upload speed ( instant )"), {16, 56}, "uploadInstantValue", 144, perSecond(zero));
    m_uploadLamp = new Lamp(p);
    m_uploadLamp->setObjectName(QStringLiteral("uploadLamp"));
    m_uploadLamp->move(0, 56);
    m_uploadLamp->setColour(Colours::lime);
    m_uploadTotalValue = field(p, tr("Upload bytes ( total ):"), {16, 72}, "uploadTotalValue", 120, zero);
    m_pingValue = field(p, tr("Ping ( ms ):"), {rightColumn, 8}, "pingValue", 304, zero);
    m_packetsPerSecondValue = field(p, tr("Packets / s:"), {rightColumn, 24}, "packetsPerSecondValue", 304, zero);
    m_averagePacketSizeValue = field(p, tr("Average packet size:"), {rightColumn, 40}, "averagePacketSizeValue", 352, zero);
    m_packetsReceivedValue = field(p, tr("Packets received:"), {rightColumn, 56}, "packetsReceivedValue", 336, zero);
    m_packetsSentValue = field(p, tr("Packets sent:"), {rightColumn, 72}, "packetsSentValue", 312, zero);
    m_trafficChart = new TrafficChart(p);
    m_trafficChart->setObjectName(QStringLiteral("trafficChart"));
    m_trafficChart->move(392, 24);

    auto *hideDetailsButton = new QPushButton(QStringLiteral("X"), p);
    hideDetailsButton->setObjectName(QStringLiteral("hideDetailsButton"));
    hideDetailsButton->setFlat(true);
    hideDetailsButton->setGeometry(432, 0, 23, 22);
    hideDetailsButton->setFont(bold(hideDetailsButton->font()));
    setTextColour(hideDetailsButton, Qt::white);
    connect(hideDetailsButton, &QPushButton::clicked, this, &MonitorWindow::hideDetails);
}

void MonitorWindow::createRestrictionPanel()
{
    const QFont large = Fonts::arialPoints(10, true);
    const QLabel *caption = label(m_restrictionPanel, tr("Restrictions:"), 8, 0, large);
    m_restrictionValue = label(m_restrictionPanel, shownRestriction(Restriction::None),
                             std::max(88, caption->x() + caption->width() + gap), 0, large);
    m_restrictionValue->setObjectName(QStringLiteral("restrictionValue"));
    setTextColour(m_restrictionValue, Colours::lime);
}

int MonitorWindow::viewHeight(bool full) const
{
    return m_menuBar->sizeHint().height() + fapPanelHeight + (full ? detailsPanelHeight : showMorePanelHeight)
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
    m_trafficChart->setAutoScale(settings.chartAutoScale);
}

void MonitorWindow::setHistoryAvailable(bool available)
{
    m_historyAction->setEnabled(available);
}

bool MonitorWindow::showTrayMessage(const QString &summary, const QString &body, bool urgent)
{
    return m_trayIcon->showMessage(summary, body, urgent);
}

void MonitorWindow::setStatusText(const QString &text)
{
    m_statusText = text;
    m_noticeTimer->stop();
    m_statusBar->showMessage(text);
}

void MonitorWindow::showNotice(const QString &text)
{
    m_statusBar->showMessage(text);
    m_noticeTimer->start();
}

QString MonitorWindow::statusText() const
{
    return m_statusBar->currentMessage();
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
    display(m_pingValue, text);
}

void MonitorWindow::showTick(const TickDisplay &tick)
{
    const FapMeter &meter = tick.meter;
    const TrafficCounters &counters = tick.counters;
    const TrafficStats &stats = tick.stats;

    display(m_downloadAverageValue, speed(stats.averageDownload));
    m_downloadLamp->setColour(lampColour(tick.taken.downloadBytes));
    display(m_downloadInstantValue, speed(stats.instantDownload));
    display(m_totalDownloadedValue, formatCount(double(counters.downloadedTotal.load())));
    display(m_fapLevelValue,
            formatCount(double(meter.remaining())) + QStringLiteral(" / ") + formatCount(double(meter.activeLimit())));
    display(m_bytesToThrottleValue, formatCount(double(meter.bytesToThrottle())));
    display(m_bytesToCutOffValue, formatCount(meter.bytesToCutOff()));
    const Restriction restriction = meter.restriction();
    const QColor levelColour = restrictionColour(restriction);
    display(m_restrictionValue, shownRestriction(restriction));
    setTextColour(m_restrictionValue, levelColour);
    setTextColour(m_percentValue, levelColour);
    display(m_percentValue, QString::number(meter.levelPercent()) + QLatin1Char('%'));
    m_levelBar->setFill(meter.barFill(levelBarWidth), levelColour);
    m_trayIcon->setToolTip(tr("Tarvo\nFAP level: %1%\nRestrictions: %2")
                               .arg(meter.levelPercent())
                               .arg(shownRestriction(restriction)));
    m_trendRising->setVisible(meter.trend() == LevelTrend::Rising);
    m_trendFalling->setVisible(meter.trend() == LevelTrend::Falling);
    m_trendSteady->setVisible(meter.trend() == LevelTrend::Steady);
    display(m_fullRecoveryValue, formatDuration(meter.fullRecoverySeconds()));
    display(m_timeToThrottleValue, formatDuration(meter.secondsToThrottle()));
    display(m_timeToCutOffValue, formatDuration(meter.secondsToCutOff()));
    display(m_uploadTotalValue, formatCount(double(counters.uploadedTotal.load())));
    m_uploadLamp->setColour(lampColour(tick.taken.uploadBytes));
    display(m_uploadInstantValue, speed(stats.instantUpload));
    display(m_uploadAverageValue, speed(stats.averageUpload));
    display(m_averagePacketSizeValue, formatCount(counters.meanPacketSize.load()));
    display(m_packetsPerSecondValue, formatCount(tick.taken.packets));
    display(m_packetsSentValue, formatCount(double(counters.uploadPackets.load())));
    display(m_packetsReceivedValue, formatCount(double(counters.downloadPackets.load())));

    m_trayIcon->setImage(drawTrayImage(TrayGauge{
        .style = tick.trayStyle,
        .activeLimit = meter.activeLimit(),
        .usedBytes = meter.usedBytes(),
        .throttleLimit = meter.parameters().throttleLimit,
        .cutOff = meter.cutOff(),
        .levelPercent = meter.levelPercent(),
    }));

    m_trafficChart->add(tick.now, tick.taken.downloadBytes, tick.taken.uploadBytes, tick.chartHistorySeconds);
}

bool MonitorWindow::keepInFront(bool visible, bool alwaysOnTop, bool optionsVisible, bool ownWindowOpen)
{
    return visible && alwaysOnTop && !optionsVisible && !ownWindowOpen;
}

bool MonitorWindow::ownWindowOpen() const
{
    if (m_aboutWindow && m_aboutWindow->isVisible())
        return true;
    const QList<QWidget *> children = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    return std::any_of(children.begin(), children.end(),
                       [](const QWidget *child) { return child->isWindow() && child->isVisible(); });
}

void MonitorWindow::pullToFront()
{
    const bool optionsVisible = m_optionsWindow && m_optionsWindow->isVisible();
    // A modal window (the update offer, a message box) waits for the user: lifting this window
    // over it would hide the one window that can be answered.
    if (m_inTaskBar || QApplication::activeModalWidget()
        || !keepInFront(isVisible(), m_alwaysOnTop, optionsVisible, ownWindowOpen()))
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
    else if (!m_trayIcon->available())
        minimiseToTaskBar();
}

void MonitorWindow::minimiseToTaskBar()
{
    m_inTaskBar = true;
    showMinimized();
}

void MonitorWindow::putAway()
{
    if (m_trayIcon->available())
        hide();
    else
        minimiseToTaskBar();
}

void MonitorWindow::closeEvent(QCloseEvent *event)
{
    // Only the user's close (the title bar's, a spontaneous event) keeps the window: the program's
    // own closes, and the one Qt sends every window when the program quits, must go through, or
    // "Close" and SIGTERM would never end a program without a tray.
    if (m_trayIcon->available() || !event->spontaneous())
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
    if (m_trayIcon->available() && !m_inTaskBar && !m_alwaysOnTop)
        QTimer::singleShot(0, this, [this] {
            if (isMinimized())
                hide();
        });
}

void MonitorWindow::trayClicked(bool twice)
{
    // While the options window replaces the monitor, it is the one brought forward.
    if (m_optionsWindow && m_optionsWindow->isVisible()) {
        m_optionsWindow->raise();
        m_optionsWindow->activateWindow();
        return;
    }
    // A click puts a window in sight away; the second click of a double click always ends shown.
    if (!twice && isVisible() && !isMinimized())
        putAway();
    else
        restore();
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
    m_alwaysOnTopAction->setChecked(alwaysOnTop);
    // Told to the window in place: setWindowFlags would make a new one, off the screen, and
    // the windows that belong to this one would lose it.
    const Qt::WindowFlags flags = alwaysOnTop ? windowFlags() | Qt::WindowStaysOnTopHint
                                              : windowFlags() & ~Qt::WindowStaysOnTopHint;
    overrideWindowFlags(flags);
    if (QWindow *window = windowHandle())
        window->setFlags(flags);
    // Without the setting there is nothing to pull: no wake-ups for nothing.
    if (alwaysOnTop)
        m_frontTimer->start();
    else
        m_frontTimer->stop();
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
                  tr("Reset all counters?"),
                  tr("This will reset all Tarvo counters, as well as set your FAP level to maximum. "
                     "Are you sure you want to proceed?"),
                  QMessageBox::Yes | QMessageBox::No,
                  QMessageBox::NoIcon,
              });
    if (answer == QMessageBox::Yes)
        Q_EMIT resetFapLevelRequested();
}

void MonitorWindow::showDetails()
{
    m_detailsPanel->show();
    m_showMorePanel->hide();
    // Made shorter, the full view would squeeze its fixed panels over each other.
    setMinimumHeight(viewHeight(true));
    resize(clientWidth, viewHeight(true));
}

void MonitorWindow::hideDetails()
{
    m_detailsPanel->hide();
    m_showMorePanel->show();
    setMinimumHeight(viewHeight(false));
    resize(clientWidth, viewHeight(false));
}
