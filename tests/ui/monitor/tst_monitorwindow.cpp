#include "platform/dialogs.h"
#include "ui/common/weblinks.h"
#include "ui/monitor/indicators.h"
#include "ui/monitor/trafficchart.h"
#include "ui/monitor/trayimage.h"
#include "ui/monitor/trayindicator.h"

#include "support/monitorfixture.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <QTimer>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// The title bar's close: a spontaneous close event, and the hiding that follows its acceptance.
void closeFromTitleBar(QWidget &window)
{
    QCloseEvent event;
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(&window, &event); // sendEvent would clear the spontaneous mark
    if (event.isAccepted())
        window.hide();
}

constexpr QColor lime{0, 255, 0};
constexpr QColor yellow{255, 255, 0};
constexpr QColor red{255, 0, 0};

QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

// Where a trend sign's dark blue arrow points: toward the half of the picture that holds its head,
// the wider part and so the most arrow pixels.
QString arrowDirection(const QImage &sign)
{
    int up = 0, down = 0, left = 0, right = 0;
    for (int y = 0; y < sign.height(); ++y) {
        for (int x = 0; x < sign.width(); ++x) {
            if (sign.pixelColor(x, y) != QColor(0, 0, 128))
                continue;
            (y < sign.height() / 2 ? up : down) += 1;
            (x < sign.width() / 2 ? left : right) += 1;
        }
    }
    const int most = std::max({up, down, left, right});
    return most == up ? u"up"_s : most == down ? u"down"_s : most == left ? u"left"_s : u"right"_s;
}

QStringList captions(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

} // namespace

class TestMonitorWindow : public QObject
{
    Q_OBJECT

private:
    QList<Dialogs::Request> asked;
    QMessageBox::StandardButton answer = QMessageBox::No;
    QList<QUrl> opened;

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init()
    {
        asked.clear();
        opened.clear();
        Dialogs::setHandler([this](const Dialogs::Request &request) {
            asked.append(request);
            return answer;
        });
        WebLinks::setOpener([this](const QUrl &url) { opened.append(url); });
    }

    void cleanup()
    {
        Dialogs::setHandler({});
        WebLinks::setOpener({});
        TrayIndicator::setAvailability({});
    }

    void captionsSitWhereTheLayoutSays_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("at");
        const QString fap = QStringLiteral("fapPanel");
        const QString details = QStringLiteral("detailsPanel");
        const QString restriction = QStringLiteral("restrictionPanel");
        auto row = [](const QString &panel, const char *caption, QPoint at) {
            QTest::newRow(caption) << panel << QString::fromLatin1(caption) << at;
        };
        row(fap, "Total bytes downloaded so far:", {8, 0});
        row(fap, "FAP level:", {8, 16});
        row(fap, "Download speed ( average )", {288, 0});
        row(fap, "Download speed ( instant )", {288, 40});
        row(fap, "Full recovery time:", {8, 64});
        row(fap, "Bytes to throttle:", {8, 80});
        row(fap, "Bytes to cut off:", {208, 80});
        row(details, "Time to throttle:", {16, 8});
        row(details, "Time to cut off:", {16, 24});
        row(details, "Upload speed ( average )", {16, 40});
        row(details, "Upload speed ( instant )", {16, 56});
        row(details, "Upload bytes ( total ):", {16, 72});
        row(details, "Ping ( ms ):", {240, 8});
        row(details, "Packets / s:", {240, 24});
        row(details, "Average packet size:", {240, 40});
        row(details, "Packets received:", {240, 56});
        row(details, "Packets sent:", {240, 72});
        row(restriction, "Restrictions:", {8, 0});
    }

    void captionsSitWhereTheLayoutSays()
    {
        QFETCH(QString, panel);
        QFETCH(QString, caption);
        QFETCH(QPoint, at);
        Monitor monitor;
        auto *parent = monitor.gui.findChild<QWidget *>(panel);
        QVERIFY(parent);
        const QList<QLabel *> labels = parent->findChildren<QLabel *>();
        const auto found = std::find_if(labels.begin(), labels.end(), [&](QLabel *l) { return l->text() == caption; });
        QVERIFY2(found != labels.end(), qPrintable(caption));
        QCOMPARE((*found)->pos(), at);
        QCOMPARE(textColour(*found), QColor(Qt::white));
    }

    void valuesBeforeTheFirstTick_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("text");
        auto row = [](const char *name, QPoint at, const char *text) {
            QTest::newRow(name) << QString::fromLatin1(name) << at << QString::fromLatin1(text);
        };
        row("totalDownloadedValue", {160, 0}, "0");
        row("fapLevelValue", {64, 16}, "0");
        row("percentValue", {248, 40}, "100%");
        row("downloadAverageValue", {288, 16}, "0 bytes / s");
        row("downloadInstantValue", {288, 56}, "0 bytes / s");
        row("fullRecoveryValue", {104, 64}, "00:00:00");
        row("bytesToThrottleValue", {104, 80}, "0");
        row("bytesToCutOffValue", {296, 80}, "0");
        row("timeToThrottleValue", {96, 8}, "00:00:00");
        row("timeToCutOffValue", {96, 24}, "00:00:00");
        row("uploadAverageValue", {144, 40}, "0 bytes / s");
        row("uploadInstantValue", {144, 56}, "0 bytes / s");
        row("uploadTotalValue", {120, 72}, "0");
        row("pingValue", {304, 8}, "0");
        row("packetsPerSecondValue", {304, 24}, "0");
        row("averagePacketSizeValue", {352, 40}, "0");
        row("packetsReceivedValue", {336, 56}, "0");
        row("packetsSentValue", {312, 72}, "0");
        row("restrictionValue", {88, 0}, "none");
    }

    void valuesBeforeTheFirstTick()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, at);
        QFETCH(QString, text);
        Monitor monitor;
        auto *label = monitor.gui.findChild<QLabel *>(name);
        QVERIFY(label);
        // At its place, or a little further right where its caption came out wider than planned.
        QCOMPARE(label->y(), at.y());
        QVERIFY2(label->x() >= at.x() && label->x() <= at.x() + 8, qPrintable(QString::number(label->x())));
        QCOMPARE(label->text(), text);
        QVERIFY(label->font().bold());
    }

    void windowBeforeTheFirstTick()
    {
        Monitor monitor;
        MonitorWindow &gui = monitor.gui;
        const QWidget *fapPanel = monitor.part<QWidget>(u"fapPanel"_s);
        QCOMPARE(gui.windowTitle(), QStringLiteral("Tarvo"));
        QVERIFY(!(gui.windowFlags() & Qt::WindowStaysOnTopHint)); // "Always on top" is off by default
        QVERIFY(!(gui.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(gui.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(textColour(monitor.part<QLabel>(u"restrictionValue"_s)), lime);
        QCOMPARE(textColour(monitor.part<QLabel>(u"percentValue"_s)), lime);
        QVERIFY(monitor.part<QLabel>(u"trendSteady"_s)->isVisibleTo(fapPanel));
        // A rising level points up, a falling one down, a steady one left.
        QCOMPARE(arrowDirection(monitor.part<QLabel>(u"trendRising"_s)->pixmap().toImage()), u"up"_s);
        QCOMPARE(arrowDirection(monitor.part<QLabel>(u"trendFalling"_s)->pixmap().toImage()), u"down"_s);
        QCOMPARE(arrowDirection(monitor.part<QLabel>(u"trendSteady"_s)->pixmap().toImage()), u"left"_s);
        QVERIFY(!monitor.part<QLabel>(u"trendRising"_s)->isVisibleTo(fapPanel));
        QVERIFY(!monitor.part<QLabel>(u"trendFalling"_s)->isVisibleTo(fapPanel));
        QCOMPARE(monitor.part<LevelBar>(u"levelBar"_s)->pos(), QPoint(8, 40));
        QCOMPARE(monitor.part<LevelBar>(u"levelBar"_s)->size(), QSize(233, 17));
        QCOMPARE(monitor.part<Lamp>(u"downloadLamp"_s)->geometry(), QRect(272, 56, 14, 14));
        QCOMPARE(monitor.part<Lamp>(u"uploadLamp"_s)->geometry(), QRect(0, 56, 14, 14));
        QCOMPARE(monitor.part<TrafficChart>(u"trafficChart"_s)->geometry(), QRect(392, 24, 65, 58));
        QCOMPARE(monitor.part<QPushButton>(u"hideDetailsButton"_s)->geometry(), QRect(432, 0, 23, 22));
        QCOMPARE(monitor.part<QWidget>(u"fapPanel"_s)->height(), 94);
        QCOMPARE(monitor.part<QWidget>(u"showMorePanel"_s)->height(), 35);
        QCOMPARE(monitor.part<QWidget>(u"detailsPanel"_s)->height(), 86);
        QCOMPARE(monitor.part<QWidget>(u"restrictionPanel"_s)->height(), 16);
        for (const QString &panel : {u"fapPanel"_s, u"showMorePanel"_s, u"detailsPanel"_s, u"restrictionPanel"_s})
            QCOMPARE(monitor.part<QWidget>(panel)->palette().color(QPalette::Window), QColor(0, 64, 128));
        QCOMPARE(monitor.part<QTimer>(u"frontTimer"_s)->interval(), 100);
    }

    // An idle window wakes at most once a second: the pull to the front runs only for
    // "Always on top", the tray only redraws a new picture.
    void noWakeUpsWithoutWork()
    {
        Monitor monitor;
        MonitorWindow &gui = monitor.gui;
        auto fastTimers = [&gui] {
            QStringList fast;
            for (const QTimer *timer : gui.findChildren<QTimer *>()) {
                if (timer->isActive() && timer->interval() < 1000)
                    fast << timer->objectName();
            }
            return fast;
        };
        QCOMPARE(fastTimers(), QStringList());
        monitor.tick(1000, 0, 1);
        QTRY_COMPARE(fastTimers(), QStringList());

        monitor.settings.alwaysOnTop = true;
        gui.applySettings(monitor.settings);
        QCOMPARE(fastTimers(), QStringList{u"frontTimer"_s});
        monitor.part<QAction>(u"alwaysOnTopAction"_s)->trigger();
        QCOMPARE(fastTimers(), QStringList());
        monitor.part<QAction>(u"alwaysOnTopAction"_s)->trigger();
        QCOMPARE(fastTimers(), QStringList{u"frontTimer"_s});
    }

    void tickShowsTheFigures_data()
    {
        QTest::addColumn<int>("warmUsed"); // bucket before a first tick that sets the trend and latch; -1: none
        QTest::addColumn<int>("used");     // bucket before the tick shown, one second's recharge included
        QTest::addColumn<int>("download");
        QTest::addColumn<int>("upload");
        QTest::addColumn<int>("packets");
        QTest::addColumn<QStringList>("texts"); // FAP level, throttle, cut off, restriction, percent,
                                                // recovery, time to throttle, time to cut off,
                                                // download average, download instant, upload average,
                                                // upload instant, packets / s
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("bar");
        QTest::addColumn<QString>("trend");
        QTest::addColumn<QColor>("downloadLamp");
        QTest::addColumn<QColor>("uploadLamp");

        QTest::newRow("idle, empty bucket")
            << -1 << 0 << 0 << 0 << 0
            << QStringList{u"96,888,422 / 96,888,422"_s, u"64,592,281"_s, u"96,888,422"_s, u"none"_s, u"100%"_s, u"00:00:00"_s, u"-"_s, u"-"_s,
                           u" bytes / s"_s, u" bytes / s"_s, u" bytes / s"_s, u" bytes / s"_s, u""_s}
            << lime << 233 << u"trendSteady"_s << lime << lime;
        QTest::newRow("throttled, draining")
            << -1 << 70004096 << 0 << 0 << 0
            << QStringList{u"26,888,422 / 96,888,422"_s, u"-5,407,719"_s, u"26,888,422"_s, u"THROTTLED"_s, u"27%"_s, u"04:44:49"_s,
                           u"00:22:00"_s, u"-"_s, u" bytes / s"_s, u" bytes / s"_s, u" bytes / s"_s, u" bytes / s"_s, u""_s}
            << yellow << 64 << u"trendFalling"_s << lime << lime;
        QTest::newRow("filling fast")
            << 60004096 << 60004096 << 1040960 << 0 << 700
            << QStringList{u"36,888,422 / 96,888,422"_s, u"4,592,281"_s, u"36,888,422"_s, u"none"_s, u"38%"_s, u"04:04:08"_s, u"00:00:46"_s,
                           u"00:06:09"_s, u"1,040,960 bytes / s"_s, u"104,096 bytes / s"_s, u" bytes / s"_s, u" bytes / s"_s, u"700"_s}
            << lime << 88 << u"trendSteady"_s << red << lime;
        QTest::newRow("cut off over throttled")
            << 96004096 << 90004096 << 0 << 0 << 0
            << QStringList{u"6,888,422 / 96,888,422"_s, u"-25,407,719"_s, u"-17,333,684"_s, u"CUT OFF"_s, u"7%"_s, u"06:06:12"_s,
                           u"01:43:23"_s, u"01:10:32"_s, u" bytes / s"_s, u" bytes / s"_s, u" bytes / s"_s, u" bytes / s"_s, u""_s}
            << red << 16 << u"trendRising"_s << lime << lime;
        QTest::newRow("upload only")
            << -1 << 0 << 0 << 1000 << 3
            << QStringList{u"96,888,422 / 96,888,422"_s, u"64,592,281"_s, u"96,888,422"_s, u"none"_s, u"100%"_s, u"00:00:00"_s, u"-"_s, u"-"_s,
                           u" bytes / s"_s, u" bytes / s"_s, u"10 bytes / s"_s, u"109 bytes / s"_s, u"3"_s}
            << lime << 233 << u"trendSteady"_s << lime << red;
    }

    void tickShowsTheFigures()
    {
        QFETCH(int, warmUsed);
        QFETCH(int, used);
        QFETCH(int, download);
        QFETCH(int, upload);
        QFETCH(int, packets);
        QFETCH(QStringList, texts);
        QFETCH(QColor, colour);
        QFETCH(int, bar);
        QFETCH(QString, trend);
        QFETCH(QColor, downloadLamp);
        QFETCH(QColor, uploadLamp);

        Monitor monitor;
        if (warmUsed >= 0) {
            monitor.meter.setUsedBytes(warmUsed);
            monitor.tick(0, 0, 0);
        }
        monitor.meter.setUsedBytes(used);
        monitor.tick(download, upload, packets);

        const QStringList shown{u"fapLevelValue"_s,        u"bytesToThrottleValue"_s, u"bytesToCutOffValue"_s,
                                u"restrictionValue"_s,     u"percentValue"_s,         u"fullRecoveryValue"_s,
                                u"timeToThrottleValue"_s,  u"timeToCutOffValue"_s,    u"downloadAverageValue"_s,
                                u"downloadInstantValue"_s, u"uploadAverageValue"_s,   u"uploadInstantValue"_s,
                                u"packetsPerSecondValue"_s};
        QCOMPARE(shown.size(), texts.size());
        for (int i = 0; i < shown.size(); ++i)
            QCOMPARE(monitor.part<QLabel>(shown[i])->text(), texts[i]);
        QCOMPARE(textColour(monitor.part<QLabel>(u"restrictionValue"_s)), colour);
        QCOMPARE(textColour(monitor.part<QLabel>(u"percentValue"_s)), colour);
        QCOMPARE(monitor.part<LevelBar>(u"levelBar"_s)->fillColour(), colour);
        QCOMPARE(monitor.part<LevelBar>(u"levelBar"_s)->fillWidth(), bar);
        for (const QString &sign : {u"trendRising"_s, u"trendFalling"_s, u"trendSteady"_s})
            QCOMPARE(monitor.part<QLabel>(sign)->isVisibleTo(monitor.part<QWidget>(u"fapPanel"_s)), sign == trend);
        QCOMPARE(monitor.part<Lamp>(u"downloadLamp"_s)->colour(), downloadLamp);
        QCOMPARE(monitor.part<Lamp>(u"uploadLamp"_s)->colour(), uploadLamp);
        // The tick took the per-tick counters.
        QCOMPARE(monitor.counters.tickDownloadBytes.load(), 0);
        QCOMPARE(monitor.counters.tickUploadBytes.load(), 0);
        QCOMPARE(monitor.counters.tickPackets.load(), 0);
    }

    void countsAndIdleSeconds()
    {
        Monitor monitor;
        monitor.counters.downloadedTotal = 0;
        monitor.counters.uploadedTotal = 1234567;
        monitor.counters.downloadPackets = 4321;
        monitor.counters.uploadPackets = 0;
        monitor.counters.meanPacketSize = 612.5f;
        monitor.tick(10000, 0, 0);
        QCOMPARE(monitor.part<QLabel>(u"totalDownloadedValue"_s)->text(), QString()); // a zero count shows nothing
        QCOMPARE(monitor.part<QLabel>(u"uploadTotalValue"_s)->text(), QStringLiteral("1,234,567"));
        QCOMPARE(monitor.part<QLabel>(u"packetsReceivedValue"_s)->text(), QStringLiteral("4,321"));
        QCOMPARE(monitor.part<QLabel>(u"packetsSentValue"_s)->text(), QString());
        QCOMPARE(monitor.part<QLabel>(u"averagePacketSizeValue"_s)->text(), QStringLiteral("613"));
        QCOMPARE(monitor.part<QLabel>(u"downloadInstantValue"_s)->text(), QStringLiteral("1,000 bytes / s"));

        // A second without traffic: both lamps lime, the speeds hold, no packets per second.
        monitor.tick(0, 0, 0);
        QCOMPARE(monitor.part<Lamp>(u"downloadLamp"_s)->colour(), lime);
        QCOMPARE(monitor.part<Lamp>(u"uploadLamp"_s)->colour(), lime);
        QCOMPARE(monitor.part<QLabel>(u"downloadAverageValue"_s)->text(), QStringLiteral("10,000 bytes / s"));
        QCOMPARE(monitor.part<QLabel>(u"downloadInstantValue"_s)->text(), QStringLiteral("1,000 bytes / s"));
        QCOMPARE(monitor.part<QLabel>(u"packetsPerSecondValue"_s)->text(), QString());
    }

    void tickFeedsTheChartAndTray()
    {
        Monitor monitor;
        monitor.settings.chartHistorySeconds = 2;
        for (int i = 0; i < 3; ++i)
            monitor.tick(1000 * (i + 1), 7, 0);
        const TrafficChartData &data = monitor.part<TrafficChart>(u"trafficChart"_s)->data();
        QCOMPARE(data.download().size(), size_t(2));
        QCOMPARE(data.download().back().y, 3000.0);
        QCOMPARE(data.upload().back().y, 70.0);
        QCOMPARE(data.download().back().x, double(Monitor::noon().toMSecsSinceEpoch()) / 1000.0);
        QVERIFY(!monitor.part<TrayIndicator>(u"trayIcon"_s)->image().isNull());
        QCOMPARE(monitor.part<TrayIndicator>(u"trayIcon"_s)->image().size(), QSize(16, 16));
    }

    void noLimitShowsAnEmptyGauge()
    {
        Monitor monitor;
        monitor.settings.fap.cutOffLimit = 0;
        monitor.meter.setParameters(monitor.settings.fap);
        monitor.tick(0, 0, 0);
        QCOMPARE(monitor.part<QLabel>(u"percentValue"_s)->text(), QStringLiteral("0%"));
        QCOMPARE(monitor.part<LevelBar>(u"levelBar"_s)->fillWidth(), 0);
        QCOMPARE(monitor.part<TrayIndicator>(u"trayIcon"_s)->image().pixel(7, 7), QColor(0, 128, 0).rgb());
        QCOMPARE(monitor.part<TrayIndicator>(u"trayIcon"_s)->image().pixel(1, 7), QColor(0, 128, 0).rgb());

        // The style is read at each tick: the options window changes it only at a confirmation.
        monitor.settings.trayStyle = TrayStyle::Text;
        monitor.tick(0, 0, 0);
        QCOMPARE(monitor.part<TrayIndicator>(u"trayIcon"_s)->image(), drawTrayImage(TrayGauge{.style = TrayStyle::Text, .levelPercent = 0}));
    }

    void trayShowsTheLatch()
    {
        Monitor monitor;
        monitor.meter.setUsedBytes(96004096);
        monitor.tick(0, 0, 0);
        monitor.meter.setUsedBytes(90004096);
        monitor.tick(0, 0, 0);
        // Cut off and over the throttle limit: red up to column 1, the green body after it.
        const QImage image = monitor.part<TrayIndicator>(u"trayIcon"_s)->image();
        QCOMPARE(image.pixel(1, 7), QColor(255, 0, 0).rgb());
        QCOMPARE(image.pixel(2, 7), QColor(0, 128, 0).rgb());
    }

    // The tray's tool tip says the level and the restriction of the last tick, also to a tray
    // that shows up later.
    void trayToolTipFollowsTheTick_data()
    {
        QTest::addColumn<int>("used");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("empty bucket") << 0 << u"Tarvo\nFAP level: 100%\nRestrictions: none"_s;
        QTest::newRow("throttled") << 80000000 << u"Tarvo\nFAP level: 17%\nRestrictions: THROTTLED"_s;
        QTest::newRow("cut off") << 96004096 << u"Tarvo\nFAP level: 0%\nRestrictions: CUT OFF"_s;
    }
    void trayToolTipFollowsTheTick()
    {
        QFETCH(int, used);
        QFETCH(QString, toolTip);
        TrayIndicator::setAvailability([] { return true; });
        Monitor monitor;
        monitor.meter.setUsedBytes(used);
        monitor.tick(0, 0, 0);
        const TrayIndicator *tray = monitor.part<TrayIndicator>(u"trayIcon"_s);
        QCOMPARE(tray->toolTip(), toolTip);
        QCOMPARE(tray->icon()->toolTip(), toolTip);
    }

    // A left click at the tray icon shows a window out of sight and puts one in sight away; a
    // double click always ends with it shown. While the options window is open it comes forward
    // instead, and the monitor stays hidden.
    void trayClicks_data()
    {
        QTest::addColumn<QString>("before"); // "hidden", "minimised", "shown", "options"
        QTest::addColumn<QList<int>>("reasons");
        QTest::addColumn<bool>("shownAfter");
        const int click = QSystemTrayIcon::Trigger;
        const int twice = QSystemTrayIcon::DoubleClick;
        QTest::newRow("hidden, click") << u"hidden"_s << QList<int>{click} << true;
        QTest::newRow("minimised, click") << u"minimised"_s << QList<int>{click} << true;
        QTest::newRow("shown, click") << u"shown"_s << QList<int>{click} << false;
        QTest::newRow("hidden, double click") << u"hidden"_s << QList<int>{click, twice} << true;
        QTest::newRow("shown, double click") << u"shown"_s << QList<int>{click, twice} << true;
        QTest::newRow("shown, middle click") << u"shown"_s << QList<int>{int(QSystemTrayIcon::MiddleClick)} << true;
        QTest::newRow("options open, click") << u"options"_s << QList<int>{click} << false;
        QTest::newRow("options open, double click") << u"options"_s << QList<int>{click, twice} << false;
    }
    void trayClicks()
    {
        QFETCH(QString, before);
        QFETCH(QList<int>, reasons);
        QFETCH(bool, shownAfter);
        TrayIndicator::setAvailability([] { return true; });
        Monitor monitor;
        MonitorWindow &gui = monitor.gui;
        QWidget options;
        gui.setCompanionWindows(&options, nullptr);
        gui.setVisible(before == u"shown"_s || before == u"minimised"_s);
        if (before == u"minimised"_s)
            gui.setWindowState(Qt::WindowMinimized);
        options.setVisible(before == u"options"_s);
        QSystemTrayIcon *icon = const_cast<QSystemTrayIcon *>(monitor.part<TrayIndicator>(u"trayIcon"_s)->icon());
        for (const int reason : reasons)
            Q_EMIT icon->activated(QSystemTrayIcon::ActivationReason(reason));
        QCOMPARE(gui.isVisible() && !gui.isMinimized(), shownAfter);
        QCOMPARE(options.isVisible(), before == u"options"_s);
    }

    void twoViews()
    {
        Monitor monitor;
        MonitorWindow &gui = monitor.gui;
        gui.show();
        const int full = gui.height();
        QVERIFY(!monitor.part<QWidget>(u"detailsPanel"_s)->isHidden());
        QVERIFY(monitor.part<QWidget>(u"showMorePanel"_s)->isHidden());
        QCOMPARE(gui.width(), 457);

        QTest::mouseClick(monitor.part<QPushButton>(u"hideDetailsButton"_s), Qt::LeftButton);
        QVERIFY(monitor.part<QWidget>(u"detailsPanel"_s)->isHidden());
        QVERIFY(!monitor.part<QWidget>(u"showMorePanel"_s)->isHidden());
        QCOMPARE(full - gui.height(), 86 - 35);
        QCOMPARE(gui.width(), 457);

        // The details keep updating while hidden.
        monitor.meter.setUsedBytes(70004096);
        monitor.tick(0, 0, 0);
        QCOMPARE(monitor.part<QLabel>(u"timeToThrottleValue"_s)->text(), QStringLiteral("00:22:00"));

        QTest::mouseClick(monitor.part<QPushButton>(u"showMoreButton"_s), Qt::LeftButton);
        QVERIFY(!monitor.part<QWidget>(u"detailsPanel"_s)->isHidden());
        QVERIFY(monitor.part<QWidget>(u"showMorePanel"_s)->isHidden());
        QCOMPARE(gui.height(), full);
        // The full view keeps its height; the compact one may be drawn out up to it.
        QCOMPARE(gui.minimumHeight(), full);
        QCOMPARE(gui.maximumHeight(), full);
        QTest::mouseClick(monitor.part<QPushButton>(u"hideDetailsButton"_s), Qt::LeftButton);
        QCOMPARE(gui.minimumHeight(), full - 51);
        QCOMPARE(gui.maximumHeight(), full);
    }

    void keepInFrontRule_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("alwaysOnTop");
        QTest::addColumn<bool>("optionsVisible");
        QTest::addColumn<bool>("aboutVisible");
        QTest::addColumn<bool>("pulled");
        QTest::newRow("shown, on top, nothing open") << true << true << false << false << true;
        QTest::newRow("hidden") << false << true << false << false << false;
        QTest::newRow("not on top") << true << false << false << false << false;
        QTest::newRow("options open") << true << true << true << false << false;
        QTest::newRow("about open") << true << true << false << true << false;
    }

    void keepInFrontRule()
    {
        QFETCH(bool, visible);
        QFETCH(bool, alwaysOnTop);
        QFETCH(bool, optionsVisible);
        QFETCH(bool, aboutVisible);
        QFETCH(bool, pulled);
        QCOMPARE(MonitorWindow::keepInFront(visible, alwaysOnTop, optionsVisible, aboutVisible), pulled);

        // The timer acts on the real windows: a minimised monitor comes back only when pulled.
        Monitor monitor;
        QWidget options;
        QWidget about;
        monitor.gui.setCompanionWindows(&options, &about);
        monitor.settings.alwaysOnTop = alwaysOnTop;
        monitor.gui.applySettings(monitor.settings);
        options.setVisible(optionsVisible);
        about.setVisible(aboutVisible);
        monitor.gui.setVisible(visible);
        monitor.gui.setWindowState(Qt::WindowMinimized);
        monitor.gui.pullToFront();
        QCOMPARE(monitor.gui.isMinimized(), !pulled);
        QCOMPARE(monitor.gui.isVisible(), visible);
    }

    // Switched either way, at a confirmation or from the menu, on a shown window or a hidden one:
    // the stay-on-top flag and the pull to the front follow, and a shown window stays shown.
    void alwaysOnTopFlagFollowsTheSetting_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("first");  // the setting applied at a confirmation
        QTest::addColumn<bool>("fromMenu"); // then switched over from the menu, or confirmed again
        QTest::addColumn<bool>("second");
        for (const bool shown : {false, true}) {
            const char *where = shown ? "shown" : "hidden";
            QTest::addRow("%s: off, confirmed on", where) << shown << false << false << true;
            QTest::addRow("%s: on, confirmed off", where) << shown << true << false << false;
            QTest::addRow("%s: off, menu on", where) << shown << false << true << true;
            QTest::addRow("%s: on, menu off", where) << shown << true << true << false;
            QTest::addRow("%s: on, confirmed on", where) << shown << true << false << true;
        }
    }

    void alwaysOnTopFlagFollowsTheSetting()
    {
        QFETCH(bool, shown);
        QFETCH(bool, first);
        QFETCH(bool, fromMenu);
        QFETCH(bool, second);
        Monitor monitor;
        MonitorWindow &gui = monitor.gui;
        const auto *frontTimer = monitor.part<QTimer>(u"frontTimer"_s);
        gui.setVisible(shown);
        const QWindow *window = gui.windowHandle();
        monitor.settings.alwaysOnTop = first;
        gui.applySettings(monitor.settings);
        QCOMPARE(bool(gui.windowFlags() & Qt::WindowStaysOnTopHint), first);
        QCOMPARE(frontTimer->isActive(), first);
        QCOMPARE(gui.isVisible(), shown);

        if (fromMenu) {
            monitor.part<QAction>(u"alwaysOnTopAction"_s)->trigger();
        } else {
            monitor.settings.alwaysOnTop = second;
            gui.applySettings(monitor.settings);
        }
        QCOMPARE(bool(gui.windowFlags() & Qt::WindowStaysOnTopHint), second);
        QCOMPARE(frontTimer->isActive(), second);
        QCOMPARE(monitor.part<QAction>(u"alwaysOnTopAction"_s)->isChecked(), second);
        QCOMPARE(gui.isVisible(), shown);
        // The same window, told in place: its own windows keep it.
        QCOMPARE(gui.windowHandle(), window);
        if (shown)
            QCOMPARE(bool(window->flags() & Qt::WindowStaysOnTopHint), second);
    }

    // A window that should stay above the monitor holds the pull while it is open: a modal one
    // waiting for an answer (a message box), or one of the monitor's own (history, planner,
    // the update offer).
    void keepInFrontWaitsForAWindowAboveIt_data()
    {
        QTest::addColumn<bool>("own");
        QTest::newRow("a modal window") << false;
        QTest::newRow("a window of its own") << true;
    }
    void keepInFrontWaitsForAWindowAboveIt()
    {
        QFETCH(bool, own);
        Monitor monitor;
        monitor.settings.alwaysOnTop = true;
        monitor.gui.applySettings(monitor.settings);
        monitor.gui.show();
        QDialog above(own ? &monitor.gui : nullptr);
        above.setModal(!own);
        above.show();
        monitor.gui.setWindowState(Qt::WindowMinimized);
        monitor.gui.pullToFront();
        QVERIFY(monitor.gui.isMinimized());
        above.hide();
        monitor.gui.pullToFront();
        QVERIFY(!monitor.gui.isMinimized());
    }

    // Closing the window, by its close box or by "Minimize", never loses it: with a tray it hides
    // there, without one it waits minimised in the task bar, where "Always on top" leaves it.
    void closeKeepsTheWindowReachable_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("tray, close box") << true << false;
        QTest::newRow("tray, Minimize") << true << true;
        QTest::newRow("no tray, close box") << false << false;
        QTest::newRow("no tray, Minimize") << false << true;
    }

    void closeKeepsTheWindowReachable()
    {
        QFETCH(bool, tray);
        QFETCH(bool, byMenu);
        TrayIndicator::setAvailability([tray] { return tray; });
        Monitor monitor;
        MonitorWindow &gui = monitor.gui;
        QCOMPARE(monitor.part<TrayIndicator>(u"trayIcon"_s)->available(), tray);
        QCOMPARE(gui.statusText().isEmpty(), tray);
        if (!tray)
            QVERIFY(gui.statusText().contains(u"File > Close ends Tarvo"_s));
        monitor.settings.alwaysOnTop = true;
        gui.applySettings(monitor.settings);
        gui.show();
        QVERIFY(QTest::qWaitForWindowExposed(&gui));

        if (byMenu)
            monitor.part<QAction>(u"minimizeAction"_s)->trigger();
        else
            closeFromTitleBar(gui);
        QCOMPARE(gui.isVisible(), !tray);
        QCOMPARE(gui.isMinimized(), !tray);
        gui.pullToFront();
        QCOMPARE(gui.isVisible(), !tray);
        QCOMPARE(gui.isMinimized(), !tray);

        monitor.part<QAction>(u"showAction"_s)->trigger();
        QVERIFY(gui.isVisible());
        QVERIFY(!gui.isMinimized());
        // The program's own close (and the one quitting sends) always goes through.
        QVERIFY(gui.close());
        QVERIFY(!gui.isVisible());
    }

    // A minimise from the window manager leaves only the tray icon; without a tray the task bar
    // keeps the window.
    void windowManagerMinimise_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::newRow("tray") << true;
        QTest::newRow("no tray") << false;
    }

    void windowManagerMinimise()
    {
        QFETCH(bool, tray);
        TrayIndicator::setAvailability([tray] { return tray; });
        Monitor monitor;
        MonitorWindow &gui = monitor.gui;
        gui.show();
        QVERIFY(QTest::qWaitForWindowExposed(&gui));
        gui.setWindowState(Qt::WindowMinimized);
        if (tray)
            QTRY_VERIFY(!gui.isVisible());
        else
            QTest::qWait(20);
        QCOMPARE(gui.isVisible(), !tray);
        monitor.part<QAction>(u"showAction"_s)->trigger();
        QVERIFY(gui.isVisible());
        QVERIFY(!gui.isMinimized());
    }

    // "Start minimized" shows no window when the tray icon can bring it up, and a minimised one
    // when nothing else could.
    void showAfterConfirmation_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("startMinimized");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("minimized");
        QTest::newRow("tray") << true << false << true << false;
        QTest::newRow("tray, start minimised") << true << true << false << false;
        QTest::newRow("no tray") << false << false << true << false;
        QTest::newRow("no tray, start minimised") << false << true << true << true;
    }

    void showAfterConfirmation()
    {
        QFETCH(bool, tray);
        QFETCH(bool, startMinimized);
        QFETCH(bool, visible);
        QFETCH(bool, minimized);
        TrayIndicator::setAvailability([tray] { return tray; });
        Monitor monitor;
        monitor.gui.showAfterConfirmation(startMinimized);
        QCOMPARE(monitor.gui.isVisible(), visible);
        QCOMPARE(monitor.gui.isMinimized(), minimized);
    }

    void minimizeHidesUntilShow()
    {
        TrayIndicator::setAvailability([] { return true; });
        Monitor monitor;
        MonitorWindow &gui = monitor.gui;
        monitor.settings.alwaysOnTop = true;
        gui.applySettings(monitor.settings);
        gui.show();
        monitor.part<QAction>(u"minimizeAction"_s)->trigger();
        QVERIFY(!gui.isVisible());
        gui.pullToFront();
        QVERIFY(!gui.isVisible());
        gui.setWindowState(Qt::WindowMinimized);
        monitor.part<QAction>(u"showAction"_s)->trigger();
        QVERIFY(gui.isVisible());
        QVERIFY(!gui.isMinimized());
    }

    void resetCommandsAreReported_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("No") << int(QMessageBox::No);
        QTest::newRow("Yes") << int(QMessageBox::Yes);
    }

    // What a reset does to the counters and the bucket is the controller's (tst_monitorwiring).
    void resetCommandsAreReported()
    {
        QFETCH(int, answer);
        this->answer = QMessageBox::StandardButton(answer);
        Monitor monitor;
        QSignalSpy levelReset(&monitor.gui, &MonitorWindow::resetFapLevelRequested);
        QSignalSpy countersReset(&monitor.gui, &MonitorWindow::resetCountersRequested);
        monitor.part<QAction>(u"resetFapLevelAction"_s)->trigger();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(levelReset.size(), answer == QMessageBox::Yes ? 1 : 0);
        monitor.part<QAction>(u"resetCountersAction"_s)->trigger();
        QCOMPARE(asked.size(), 1); // no question for the interface counters
        QCOMPARE(countersReset.size(), 1);
    }

    void menus()
    {
        Monitor monitor;
        QStringList bar;
        for (const QAction *action : monitor.part<QMenuBar>(u"menuBar"_s)->actions())
            bar << action->text();
        QCOMPARE(bar, (QStringList{u"File"_s, u"Tools"_s, u"Help"_s}));
        QCOMPARE(captions(monitor.part<QMenu>(u"fileMenu"_s)), (QStringList{u"Set bucket from provider..."_s, u"Close"_s}));
        QCOMPARE(captions(monitor.part<QMenu>(u"toolsMenu"_s)), (QStringList{u"Options..."_s, u"Will it fit?..."_s, u"History..."_s, u"Programs..."_s}));
        QCOMPARE(captions(monitor.part<QMenu>(u"helpMenu"_s)), (QStringList{u"Internet and other satellite services from KELMIRA"_s,
                                                   u"Kelmira Software"_s, u"Tarvo on the web"_s, u"-"_s, u"About"_s}));
        QCOMPARE(captions(monitor.part<QMenu>(u"trayMenu"_s)),
                 (QStringList{u"Show"_s, u"Minimize"_s, u"-"_s, u"Always on top"_s, u"-"_s,
                              u"Reset interface counters ( does not affect FAP calculations )"_s, u"Reset FAP level"_s,
                              u"Set bucket from provider..."_s, u"-"_s, u"Close"_s}));
    }

    void menuRequestsAndPages()
    {
        Monitor monitor;
        MonitorWindow &gui = monitor.gui;
        QSignalSpy closing(&gui, &MonitorWindow::closeRequested);
        QSignalSpy options(&gui, &MonitorWindow::optionsRequested);
        QSignalSpy planner(&gui, &MonitorWindow::plannerRequested);
        QSignalSpy history(&gui, &MonitorWindow::historyRequested);
        QSignalSpy programs(&gui, &MonitorWindow::programsRequested);
        QSignalSpy setBucket(&gui, &MonitorWindow::setBucketRequested);
        monitor.part<QAction>(u"setBucketAction"_s)->trigger();
        monitor.part<QAction>(u"traySetBucketAction"_s)->trigger();
        QCOMPARE(setBucket.size(), 2);
        monitor.part<QAction>(u"closeAction"_s)->trigger();
        monitor.part<QAction>(u"trayCloseAction"_s)->trigger();
        monitor.part<QAction>(u"optionsAction"_s)->trigger();
        monitor.part<QAction>(u"plannerAction"_s)->trigger();
        QCOMPARE(closing.size(), 2);
        QCOMPARE(options.size(), 1);
        QCOMPARE(planner.size(), 1);
        QCOMPARE(history.size(), 0);
        monitor.part<QAction>(u"historyAction"_s)->trigger();
        QCOMPARE(history.size(), 1);
        QCOMPARE(options.size(), 1);
        QCOMPARE(programs.size(), 0);
        monitor.part<QAction>(u"programsAction"_s)->trigger();
        QCOMPARE(programs.size(), 1);

        monitor.part<QAction>(u"makerSiteAction"_s)->trigger();
        monitor.part<QAction>(u"softwareSiteAction"_s)->trigger();
        monitor.part<QAction>(u"productSiteAction"_s)->trigger();
        QCOMPARE(opened, (QList<QUrl>{WebLinks::makerSite(), WebLinks::softwareSite(), WebLinks::productSite()}));
        for (const QUrl &url : opened) {
            QCOMPARE(url.scheme(), QStringLiteral("http"));
            QVERIFY(url.host().endsWith(QStringLiteral(".example")));
        }
        QCOMPARE(WebLinks::productSite().path(), QStringLiteral("/"));
    }

    void aboutShowsTheOneWindow()
    {
        Monitor monitor;
        QWidget about;
        monitor.gui.setCompanionWindows(nullptr, &about);
        monitor.part<QAction>(u"aboutAction"_s)->trigger();
        QVERIFY(about.isVisible());
        about.hide();
        monitor.part<QAction>(u"aboutAction"_s)->trigger();
        QVERIFY(about.isVisible());
    }

    void alwaysOnTopAndSettings()
    {
        Monitor monitor;
        MonitorWindow &gui = monitor.gui;
        QSignalSpy toggled(&gui, &MonitorWindow::alwaysOnTopToggled);
        QVERIFY(!monitor.part<QAction>(u"alwaysOnTopAction"_s)->isChecked());
        monitor.part<QAction>(u"alwaysOnTopAction"_s)->trigger();
        QVERIFY(monitor.part<QAction>(u"alwaysOnTopAction"_s)->isChecked());
        monitor.part<QAction>(u"alwaysOnTopAction"_s)->trigger();
        QVERIFY(!monitor.part<QAction>(u"alwaysOnTopAction"_s)->isChecked());
        QCOMPARE(toggled.size(), 2);
        QCOMPARE(toggled[0][0].toBool(), true);
        QCOMPARE(toggled[1][0].toBool(), false);

        monitor.settings.alwaysOnTop = true;
        monitor.settings.windowOpacity = 51;
        monitor.settings.chartAutoScale = true;
        gui.applySettings(monitor.settings);
        QVERIFY(monitor.part<QAction>(u"alwaysOnTopAction"_s)->isChecked());
        QCOMPARE(gui.windowOpacity(), 0.2);
        QVERIFY(monitor.part<TrafficChart>(u"trafficChart"_s)->autoScale());
        QCOMPARE(toggled.size(), 2); // the confirmation is not echoed back
    }

    void statusAndPing()
    {
        Monitor monitor;
        // Offscreen there is no system tray: the program runs without one and says so.
        QVERIFY(!monitor.part<TrayIndicator>(u"trayIcon"_s)->available());
        QCOMPARE(monitor.gui.statusText(),
                 QStringLiteral("No system tray: closing this window minimises it; File > Close ends Tarvo."));
        monitor.gui.setStatusText(QStringLiteral("Please wait... Checking for updates"));
        QCOMPARE(monitor.gui.statusText(), QStringLiteral("Please wait... Checking for updates"));
        monitor.gui.setPingText(QStringLiteral("612"));
        QCOMPARE(monitor.part<QLabel>(u"pingValue"_s)->text(), QStringLiteral("612"));
    }

    // A notice passes and gives the status text back; a new status text does not wait for it.
    void noticePasses()
    {
        Monitor monitor;
        const QString updates = QStringLiteral("Please wait... Checking for updates");
        monitor.gui.setStatusText(updates);
        monitor.gui.showNotice(QStringLiteral("Frames dropped by the capture: 12"));
        QCOMPARE(monitor.gui.statusText(), QStringLiteral("Frames dropped by the capture: 12"));
        QVERIFY(monitor.part<QTimer>(u"noticeTimer"_s)->isActive());
        monitor.part<QTimer>(u"noticeTimer"_s)->setInterval(1); // the notice's time, shortened
        monitor.part<QTimer>(u"noticeTimer"_s)->start();
        QTRY_COMPARE(monitor.gui.statusText(), updates);

        monitor.gui.showNotice(QStringLiteral("Frames dropped by the capture: 40"));
        monitor.gui.setStatusText(QStringLiteral("Capture stopped: ppp0 is gone"));
        QCOMPARE(monitor.gui.statusText(), QStringLiteral("Capture stopped: ppp0 is gone"));
        QVERIFY(!monitor.part<QTimer>(u"noticeTimer"_s)->isActive());
    }
};

QTEST_MAIN(TestMonitorWindow)
#include "tst_monitorwindow.moc"
