#include "core/appsettings.h"
#include "core/trafficcounters.h"
#include "meter/fapmeter.h"
#include "monitor/guiunit.h"
#include "monitor/shapes.h"
#include "monitor/trafficchart.h"
#include "monitor/trayimage.h"
#include "monitor/trayindicator.h"
#include "monitor/weblinks.h"
#include "platform/dialogs.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

constexpr double noon = 46000.5; // a fixed moment; the off-peak window is off
constexpr QColor lime{0, 255, 0};
constexpr QColor yellow{255, 255, 0};
constexpr QColor red{255, 0, 0};

QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

QStringList captions(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

// One monitor window with its own settings, counters and bucket on the default plan.
struct Monitor
{
    AppSettings settings;
    TrafficCounters counters;
    FapMeter meter;
    TfrmGui gui{settings, counters, meter};

    Monitor() { meter.setParameters(settings.fap); }

    void tick(int32_t download, int32_t upload, int32_t packets)
    {
        counters.tickDownloadBytes = download;
        counters.tickUploadBytes = upload;
        counters.tickPackets = packets;
        gui.tickAt(noon);
    }
};

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
    }

    void captionsSitWhereTheLayoutSays_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("at");
        const QString fap = QStringLiteral("FapPanel");
        const QString details = QStringLiteral("DetailsPanel");
        const QString restriction = QStringLiteral("RestrictionPanel");
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
        row(details, "Ping ( ms ):", {248, 8});
        row(details, "Packets / s:", {248, 24});
        row(details, "Average packet size:", {248, 40});
        row(details, "Packets received:", {248, 56});
        row(details, "Packets sent:", {248, 72});
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
        row("TotalDownloadedValue", {160, 0}, "0");
        row("FapLevelValue", {64, 16}, "0");
        row("PercentValue", {248, 40}, "100%");
        row("DownloadAverageValue", {288, 16}, "0 bytes / s");
        row("DownloadInstantValue", {288, 56}, "0 bytes / s");
        row("FullRecoveryValue", {104, 64}, "00:00:00");
        row("BytesToThrottleValue", {104, 80}, "0");
        row("BytesToCutOffValue", {296, 80}, "0");
        row("TimeToThrottleValue", {96, 8}, "00:00:00");
        row("TimeToCutOffValue", {96, 24}, "00:00:00");
        row("UploadAverageValue", {144, 40}, "0 bytes / s");
        row("UploadInstantValue", {144, 56}, "0 bytes / s");
        row("UploadTotalValue", {120, 72}, "0");
        row("PingValue", {312, 8}, "0");
        row("PacketsPerSecondValue", {312, 24}, "0");
        row("AveragePacketSizeValue", {360, 40}, "0");
        row("PacketsReceivedValue", {344, 56}, "0");
        row("PacketsSentValue", {320, 72}, "0");
        row("RestrictionValue", {88, 0}, "none");
    }

    void valuesBeforeTheFirstTick()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, at);
        QFETCH(QString, text);
        Monitor monitor;
        auto *label = monitor.gui.findChild<QLabel *>(name);
        QVERIFY(label);
        QCOMPARE(label->pos(), at);
        QCOMPARE(label->text(), text);
        QVERIFY(label->font().bold());
    }

    void windowBeforeTheFirstTick()
    {
        Monitor monitor;
        TfrmGui &gui = monitor.gui;
        QCOMPARE(gui.windowTitle(), QStringLiteral("Tarvo"));
        QVERIFY(gui.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(gui.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(gui.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(textColour(gui.RestrictionValue), lime);
        QCOMPARE(textColour(gui.PercentValue), lime);
        QVERIFY(gui.TrendSteady->isVisibleTo(gui.FapPanel));
        QVERIFY(!gui.TrendRising->isVisibleTo(gui.FapPanel));
        QVERIFY(!gui.TrendFalling->isVisibleTo(gui.FapPanel));
        QCOMPARE(gui.LevelBar->pos(), QPoint(8, 40));
        QCOMPARE(gui.LevelBar->size(), QSize(233, 17));
        QCOMPARE(gui.DownloadLamp->geometry(), QRect(272, 56, 14, 14));
        QCOMPARE(gui.UploadLamp->geometry(), QRect(0, 56, 14, 14));
        QCOMPARE(gui.TrafficChart->geometry(), QRect(384, 24, 73, 58));
        QCOMPARE(gui.HideDetailsButton->geometry(), QRect(432, 0, 23, 22));
        QCOMPARE(gui.FapPanel->height(), 94);
        QCOMPARE(gui.ShowMorePanel->height(), 35);
        QCOMPARE(gui.DetailsPanel->height(), 86);
        QCOMPARE(gui.RestrictionPanel->height(), 16);
        for (QWidget *panel : {gui.FapPanel, gui.ShowMorePanel, gui.DetailsPanel, gui.RestrictionPanel})
            QCOMPARE(panel->palette().color(QPalette::Window), QColor(0, 64, 128));
        QVERIFY(!gui.SpeedsTimer->isActive());
        QVERIFY(gui.Timer1->isActive());
        QCOMPARE(gui.Timer1->interval(), 100);
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
            << lime << 233 << u"TrendSteady"_s << lime << lime;
        QTest::newRow("throttled, draining")
            << -1 << 70004096 << 0 << 0 << 0
            << QStringList{u"26,888,422 / 96,888,422"_s, u"-5,407,719"_s, u"26,888,422"_s, u"THROTTLED"_s, u"27%"_s, u"04:44:49"_s,
                           u"00:22:00"_s, u"-"_s, u" bytes / s"_s, u" bytes / s"_s, u" bytes / s"_s, u" bytes / s"_s, u""_s}
            << yellow << 64 << u"TrendFalling"_s << lime << lime;
        QTest::newRow("filling fast")
            << 60004096 << 60004096 << 1040960 << 0 << 700
            << QStringList{u"36,888,422 / 96,888,422"_s, u"4,592,281"_s, u"36,888,422"_s, u"none"_s, u"38%"_s, u"04:04:08"_s, u"00:00:46"_s,
                           u"00:06:09"_s, u"1,040,960 bytes / s"_s, u"104,096 bytes / s"_s, u" bytes / s"_s, u" bytes / s"_s, u"700"_s}
            << lime << 88 << u"TrendSteady"_s << red << lime;
        QTest::newRow("cut off over throttled")
            << 96004096 << 90004096 << 0 << 0 << 0
            << QStringList{u"6,888,422 / 96,888,422"_s, u"-25,407,719"_s, u"-17,333,684"_s, u"CUT OFF"_s, u"7%"_s, u"06:06:12"_s,
                           u"01:43:23"_s, u"01:10:32"_s, u" bytes / s"_s, u" bytes / s"_s, u" bytes / s"_s, u" bytes / s"_s, u""_s}
            << red << 16 << u"TrendRising"_s << lime << lime;
        QTest::newRow("upload only")
            << -1 << 0 << 0 << 1000 << 3
            << QStringList{u"96,888,422 / 96,888,422"_s, u"64,592,281"_s, u"96,888,422"_s, u"none"_s, u"100%"_s, u"00:00:00"_s, u"-"_s, u"-"_s,
                           u" bytes / s"_s, u" bytes / s"_s, u"10 bytes / s"_s, u"109 bytes / s"_s, u"3"_s}
            << lime << 233 << u"TrendSteady"_s << lime << red;
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

        const TfrmGui &gui = monitor.gui;
        const QList<QLabel *> shown{gui.FapLevelValue,        gui.BytesToThrottleValue, gui.BytesToCutOffValue,
                                    gui.RestrictionValue,     gui.PercentValue,         gui.FullRecoveryValue,
                                    gui.TimeToThrottleValue,  gui.TimeToCutOffValue,    gui.DownloadAverageValue,
                                    gui.DownloadInstantValue, gui.UploadAverageValue,   gui.UploadInstantValue,
                                    gui.PacketsPerSecondValue};
        QCOMPARE(shown.size(), texts.size());
        for (int i = 0; i < shown.size(); ++i)
            QCOMPARE(shown[i]->text(), texts[i]);
        QCOMPARE(textColour(gui.RestrictionValue), colour);
        QCOMPARE(textColour(gui.PercentValue), colour);
        QCOMPARE(gui.LevelBar->fillColour(), colour);
        QCOMPARE(gui.LevelBar->fillWidth(), bar);
        for (QLabel *sign : {gui.TrendRising, gui.TrendFalling, gui.TrendSteady})
            QCOMPARE(sign->isVisibleTo(gui.FapPanel), sign->objectName() == trend);
        QCOMPARE(gui.DownloadLamp->colour(), downloadLamp);
        QCOMPARE(gui.UploadLamp->colour(), uploadLamp);
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
        const TfrmGui &gui = monitor.gui;
        QCOMPARE(gui.TotalDownloadedValue->text(), QString()); // a zero count shows nothing
        QCOMPARE(gui.UploadTotalValue->text(), QStringLiteral("1,234,567"));
        QCOMPARE(gui.PacketsReceivedValue->text(), QStringLiteral("4,321"));
        QCOMPARE(gui.PacketsSentValue->text(), QString());
        QCOMPARE(gui.AveragePacketSizeValue->text(), QStringLiteral("613"));
        QCOMPARE(gui.DownloadInstantValue->text(), QStringLiteral("1,000 bytes / s"));

        // A second without traffic: both lamps lime, the speeds hold, no packets per second.
        monitor.tick(0, 0, 0);
        QCOMPARE(gui.DownloadLamp->colour(), lime);
        QCOMPARE(gui.UploadLamp->colour(), lime);
        QCOMPARE(gui.DownloadAverageValue->text(), QStringLiteral("10,000 bytes / s"));
        QCOMPARE(gui.DownloadInstantValue->text(), QStringLiteral("1,000 bytes / s"));
        QCOMPARE(gui.PacketsPerSecondValue->text(), QString());
    }

    void tickFeedsTheChartAndTray()
    {
        Monitor monitor;
        monitor.settings.chartHistorySeconds = 2;
        for (int i = 0; i < 3; ++i)
            monitor.tick(1000 * (i + 1), 7, 0);
        const TrafficChartData &data = monitor.gui.TrafficChart->data();
        QCOMPARE(data.download().size(), size_t(2));
        QCOMPARE(data.download().back().y, 3000.0);
        QCOMPARE(data.upload().back().y, 70.0);
        QCOMPARE(data.download().back().x, noon);
        QVERIFY(!monitor.gui.TrayIcon->image().isNull());
        QCOMPARE(monitor.gui.TrayIcon->image().size(), QSize(16, 16));
    }

    void noLimitShowsAnEmptyGauge()
    {
        Monitor monitor;
        monitor.settings.fap.cutOffLimit = 0;
        monitor.meter.setParameters(monitor.settings.fap);
        monitor.tick(0, 0, 0);
        TfrmGui &gui = monitor.gui;
        QCOMPARE(gui.PercentValue->text(), QStringLiteral("0%"));
        QCOMPARE(gui.LevelBar->fillWidth(), 0);
        QCOMPARE(gui.TrayIcon->image().pixel(7, 7), QColor(0, 128, 0).rgb());
        QCOMPARE(gui.TrayIcon->image().pixel(1, 7), QColor(0, 128, 0).rgb());

        // The style is read at each tick: the options window changes it only at a confirmation.
        monitor.settings.trayStyle = TrayStyle::Text;
        monitor.tick(0, 0, 0);
        QCOMPARE(gui.TrayIcon->image(), drawTrayImage(TrayGauge{.style = TrayStyle::Text, .levelPercent = 0}));
    }

    void trayShowsTheLatch()
    {
        Monitor monitor;
        monitor.meter.setUsedBytes(96004096);
        monitor.tick(0, 0, 0);
        monitor.meter.setUsedBytes(90004096);
        monitor.tick(0, 0, 0);
        // Cut off and over the throttle limit: red up to column 1, the green body after it.
        const QImage image = monitor.gui.TrayIcon->image();
        QCOMPARE(image.pixel(1, 7), QColor(255, 0, 0).rgb());
        QCOMPARE(image.pixel(2, 7), QColor(0, 128, 0).rgb());
    }

    void startMonitoringTicksAtOnce()
    {
        Monitor monitor;
        monitor.counters.tickPackets = 5;
        monitor.gui.startMonitoring();
        QVERIFY(monitor.gui.SpeedsTimer->isActive());
        QCOMPARE(monitor.gui.SpeedsTimer->interval(), 1000);
        QCOMPARE(monitor.gui.PacketsPerSecondValue->text(), QStringLiteral("5"));
    }

    void twoViews()
    {
        Monitor monitor;
        TfrmGui &gui = monitor.gui;
        gui.show();
        const int full = gui.height();
        QVERIFY(!gui.DetailsPanel->isHidden());
        QVERIFY(gui.ShowMorePanel->isHidden());
        QCOMPARE(gui.width(), 457);

        QTest::mouseClick(gui.HideDetailsButton, Qt::LeftButton);
        QVERIFY(gui.DetailsPanel->isHidden());
        QVERIFY(!gui.ShowMorePanel->isHidden());
        QCOMPARE(full - gui.height(), 86 - 35);
        QCOMPARE(gui.width(), 457);

        // The details keep updating while hidden.
        monitor.meter.setUsedBytes(70004096);
        monitor.tick(0, 0, 0);
        QCOMPARE(gui.TimeToThrottleValue->text(), QStringLiteral("00:22:00"));

        QTest::mouseClick(gui.ShowMoreButton, Qt::LeftButton);
        QVERIFY(!gui.DetailsPanel->isHidden());
        QVERIFY(gui.ShowMorePanel->isHidden());
        QCOMPARE(gui.height(), full);
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
        QCOMPARE(TfrmGui::keepInFront(visible, alwaysOnTop, optionsVisible, aboutVisible), pulled);

        // The timer acts on the real windows: a minimised monitor comes back only when pulled.
        Monitor monitor;
        QWidget options;
        QWidget about;
        monitor.gui.setCompanionWindows(&options, &about);
        monitor.settings.alwaysOnTop = alwaysOnTop;
        options.setVisible(optionsVisible);
        about.setVisible(aboutVisible);
        monitor.gui.setVisible(visible);
        monitor.gui.setWindowState(Qt::WindowMinimized);
        monitor.gui.Timer1Timer();
        QCOMPARE(monitor.gui.isMinimized(), !pulled);
        QCOMPARE(monitor.gui.isVisible(), visible);
    }

    void minimizeHidesUntilShow()
    {
        Monitor monitor;
        TfrmGui &gui = monitor.gui;
        monitor.settings.alwaysOnTop = true;
        gui.show();
        gui.Minimize1->trigger();
        QVERIFY(!gui.isVisible());
        gui.Timer1Timer();
        QVERIFY(!gui.isVisible());
        gui.setWindowState(Qt::WindowMinimized);
        gui.Show1->trigger();
        QVERIFY(gui.isVisible());
        QVERIFY(!gui.isMinimized());
    }

    void resetFapLevelAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("No") << int(QMessageBox::No);
        QTest::newRow("Yes") << int(QMessageBox::Yes);
    }

    void resetFapLevelAsksFirst()
    {
        QFETCH(int, answer);
        this->answer = QMessageBox::StandardButton(answer);
        const bool yes = answer == QMessageBox::Yes;
        Monitor monitor;
        monitor.meter.setUsedBytes(96004096);
        monitor.tick(0, 0, 0); // sets the cut-off latch
        monitor.tick(20000, 500, 9);
        monitor.counters.downloadedTotal = 5000;
        monitor.counters.uploadedTotal = 6000;
        monitor.counters.downloadPackets = 7;
        QVERIFY(monitor.meter.cutOff());
        const int32_t used = monitor.meter.usedBytes();

        monitor.gui.Resetallcounters1->trigger();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].title, QStringLiteral("Reset all counters?"));
        QCOMPARE(asked[0].text, QStringLiteral("This will reset all Tarvo counters, as well as set your FAP level to "
                                               "maximum. Are you sure you want to proceed?"));
        QCOMPARE(asked[0].buttons, QMessageBox::Yes | QMessageBox::No);

        QCOMPARE(monitor.meter.usedBytes(), yes ? 0 : used);
        QCOMPARE(monitor.meter.cutOff(), !yes);
        QCOMPARE(monitor.counters.downloadedTotal.load(), yes ? 0 : 5000);
        QCOMPARE(monitor.counters.downloadPackets.load(), yes ? 0 : 7);
        QCOMPARE(monitor.counters.uploadedTotal.load(), 6000);
        QCOMPARE(monitor.gui.stats().averageDownload, yes ? 0.0f : 20000.0f);
        QCOMPARE(monitor.gui.stats().averageUpload, yes ? 0.0f : 5.0f);

        monitor.tick(0, 0, 0);
        QCOMPARE(monitor.gui.RestrictionValue->text(), yes ? QStringLiteral("none") : QStringLiteral("CUT OFF"));
        QCOMPARE(monitor.gui.PercentValue->text() == QStringLiteral("100%"), yes);
    }

    void resetInterfaceCountersKeepsTheBucket()
    {
        Monitor monitor;
        monitor.meter.setUsedBytes(96004096);
        monitor.tick(30000, 0, 0);
        monitor.counters.downloadedTotal = 5000;
        monitor.counters.uploadedTotal = 6000;
        monitor.gui.Resetdownloadedsofar1->trigger();
        QVERIFY(asked.isEmpty());
        QVERIFY(monitor.meter.cutOff());
        QCOMPARE(monitor.meter.usedBytes(), 96000000);
        QCOMPARE(monitor.counters.downloadedTotal.load(), 0);
        QCOMPARE(monitor.counters.uploadedTotal.load(), 6000);
        QCOMPARE(monitor.gui.stats().averageDownload, 0.0f);
        QCOMPARE(monitor.meter.smoothedDownload(), 0);
    }

    void menus()
    {
        Monitor monitor;
        TfrmGui &gui = monitor.gui;
        QStringList bar;
        for (const QAction *action : gui.MainMenu1->actions())
            bar << action->text();
        QCOMPARE(bar, (QStringList{u"File"_s, u"Tools"_s, u"Help"_s}));
        QCOMPARE(captions(gui.File1), QStringList{u"Close"_s});
        QCOMPARE(captions(gui.Toola1), QStringList{u"Options..."_s});
        QCOMPARE(captions(gui.Help1), (QStringList{u"Internet and other satellite services from KELMIRA"_s,
                                                   u"Kelmira Software"_s, u"Tarvo on the web"_s, u"-"_s, u"About"_s}));
        QCOMPARE(captions(gui.PopupMenu1),
                 (QStringList{u"Show"_s, u"Minimize"_s, u"-"_s, u"Always on top"_s, u"-"_s,
                              u"Reset interface counters ( does not affect FAP calculations )"_s, u"Reset FAP level"_s, u"-"_s,
                              u"Close"_s}));
    }

    void menuRequestsAndPages()
    {
        Monitor monitor;
        TfrmGui &gui = monitor.gui;
        QSignalSpy closing(&gui, &TfrmGui::closeRequested);
        QSignalSpy options(&gui, &TfrmGui::optionsRequested);
        gui.Close1->trigger();
        gui.Close2->trigger();
        gui.Options1->trigger();
        QCOMPARE(closing.size(), 2);
        QCOMPARE(options.size(), 1);

        gui.InternetandothersatelliteservicesfromKELMIRA1->trigger();
        gui.KelmiraSoftware1->trigger();
        gui.Tarvoontheweb1->trigger();
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
        monitor.gui.About1->trigger();
        QVERIFY(about.isVisible());
        about.hide();
        monitor.gui.About1->trigger();
        QVERIFY(about.isVisible());
    }

    void alwaysOnTopAndSettings()
    {
        Monitor monitor;
        TfrmGui &gui = monitor.gui;
        QSignalSpy toggled(&gui, &TfrmGui::alwaysOnTopToggled);
        QVERIFY(!gui.Alwaysontop1->isChecked());
        gui.Alwaysontop1->trigger();
        QVERIFY(monitor.settings.alwaysOnTop);
        QVERIFY(gui.Alwaysontop1->isChecked());
        gui.Alwaysontop1->trigger();
        QVERIFY(!monitor.settings.alwaysOnTop);
        QVERIFY(!gui.Alwaysontop1->isChecked());
        QCOMPARE(toggled.size(), 2);
        QCOMPARE(toggled[0][0].toBool(), true);
        QCOMPARE(toggled[1][0].toBool(), false);

        monitor.settings.alwaysOnTop = true;
        monitor.settings.windowOpacity = 51;
        monitor.settings.chartAutoScale = true;
        gui.applySettings();
        QVERIFY(gui.Alwaysontop1->isChecked());
        QCOMPARE(gui.windowOpacity(), 0.2);
        QVERIFY(gui.TrafficChart->autoScale());
        QCOMPARE(toggled.size(), 2); // the confirmation is not echoed back
    }

    void statusAndPing()
    {
        Monitor monitor;
        // Offscreen there is no system tray: the program runs without one and says so.
        QVERIFY(!monitor.gui.TrayIcon->available());
        QCOMPARE(monitor.gui.statusText(), QStringLiteral("No system tray: Tarvo runs without its tray icon."));
        monitor.gui.setStatusText(QStringLiteral("Please wait... Checking for updates"));
        QCOMPARE(monitor.gui.statusText(), QStringLiteral("Please wait... Checking for updates"));
        monitor.gui.setPingText(QStringLiteral("612"));
        QCOMPARE(monitor.gui.PingValue->text(), QStringLiteral("612"));
    }
};

QTEST_MAIN(TestMonitorWindow)
#include "tst_monitorwindow.moc"
