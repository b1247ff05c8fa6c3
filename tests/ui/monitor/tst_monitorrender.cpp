#include "meter/fapmeter.h"
#include "meter/metertick.h"
#include "meter/trafficcounters.h"
#include "meter/trafficstats.h"
#include "settings/appsettings.h"
#include "ui/about/aboutdialog.h"
#include "ui/monitor/indicators.h"
#include "ui/monitor/monitorwindow.h"
#include "ui/monitor/pictures.h"
#include "ui/monitor/trayimage.h"

#include "support/renderings.h"

#include <QPainter>
#include <QPushButton>
#include <QTest>

// Renders the monitor window (full and compact), the tray pictures, the trend signs, the program
// icon and the about window to PNG files in $TARVO_RENDER_DIR, for a person to look at.
namespace {

constexpr double startOfRun = 46000.5;
constexpr double second = 1.0 / 86400.0;

// Pictures side by side, magnified with hard pixel edges, on a mid grey sheet.
QImage sheet(const QList<QImage> &pictures, int scale)
{
    int width = 8;
    int height = 0;
    for (const QImage &picture : pictures) {
        width += picture.width() * scale + 8;
        height = std::max(height, picture.height() * scale);
    }
    QImage image(width, height + 16, QImage::Format_RGB32);
    image.fill(QColor(160, 160, 160));
    QPainter painter(&image);
    int x = 8;
    for (const QImage &picture : pictures) {
        painter.drawImage(QPoint(x, 8), picture.scaled(picture.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        x += picture.width() * scale + 8;
    }
    return image;
}

} // namespace

class TestMonitorRender : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void monitorWindow()
    {
        AppSettings settings;
        TrafficCounters counters;
        FapMeter meter;
        TrafficStats stats;
        meter.setParameters(settings.fap);
        meter.setActiveLimit(settings.fap.cutOffLimit);
        MonitorWindow gui;
        gui.setPingText(QStringLiteral("612"));
        // A minute of browsing that ends above the throttle limit.
        meter.setUsedBytes(70000000);
        for (int i = 0; i < 60; ++i) {
            counters.tickDownloadBytes = (i % 7) * 30000;
            counters.tickUploadBytes = (i % 5) * 800;
            counters.tickPackets = 40 + i;
            counters.downloadedTotal += counters.tickDownloadBytes;
            counters.uploadedTotal += counters.tickUploadBytes;
            counters.downloadPackets += 30;
            counters.uploadPackets += 12;
            counters.meanPacketSize = 812.0f;
            meter.addDownload(uint32_t(counters.tickDownloadBytes.load()));
            const double now = startOfRun + i * second;
            const TrafficCounters::Tick taken = runMeterTick(now, counters, meter, stats);
            gui.showTick({now, taken, meter, counters, stats, settings.trayStyle, settings.chartHistorySeconds});
        }
        gui.show();
        QVERIFY(QTest::qWaitForWindowExposed(&gui));

        const QImage full = gui.grab().toImage();
        QVERIFY(full.save(renderingPath(QStringLiteral("monitor-full.png"))));
        // The panel colour, the bar in the restriction colour (throttled: yellow).
        const QPoint fap = gui.fapPanel->mapTo(&gui, QPoint(200, 70));
        QCOMPARE(full.pixelColor(fap), QColor(0, 64, 128));
        const QPoint bar = gui.levelBar->mapTo(&gui, QPoint(3, 8));
        QCOMPARE(full.pixelColor(bar), QColor(255, 255, 0));

        gui.hideDetailsButton->click();
        const QImage compact = gui.grab().toImage();
        QVERIFY(compact.save(renderingPath(QStringLiteral("monitor-compact.png"))));
        QCOMPARE(full.height() - compact.height(), 86 - 35);
    }

    void trayPictures()
    {
        const int32_t limit = 96888422;
        const int32_t throttle = 64592281;
        QList<QImage> graphic;
        for (const auto &[used, cutOff] : {std::pair{0, false}, std::pair{limit / 2, false}, std::pair{70000000, false},
                                            std::pair{90000000, true}, std::pair{limit, false}})
            graphic << drawTrayImage(TrayGauge{.style = TrayStyle::Graphic,
                                               .activeLimit = limit,
                                               .usedBytes = used,
                                               .throttleLimit = throttle,
                                               .cutOff = cutOff,
                                               .levelPercent = 0});
        QList<QImage> text;
        for (const int percent : {100, 57, 5, 0, -12})
            text << drawTrayImage(TrayGauge{.style = TrayStyle::Text, .levelPercent = percent});
        QVERIFY(sheet(graphic, 8).save(renderingPath(QStringLiteral("tray-graphic.png"))));
        QVERIFY(sheet(text, 8).save(renderingPath(QStringLiteral("tray-text.png"))));
    }

    void signsAndIcon()
    {
        const QList<QImage> signs{Pictures::trendSign(Pictures::Arrow::Up), Pictures::trendSign(Pictures::Arrow::Down),
                                  Pictures::trendSign(Pictures::Arrow::Left)};
        QVERIFY(sheet(signs, 4).save(renderingPath(QStringLiteral("trend-signs.png"))));
        for (const QImage &sign : signs) {
            QCOMPARE(sign.size(), QSize(32, 32));
            QCOMPARE(sign.pixelColor(0, 0).alpha(), 0);   // transparent around the diamond
            QCOMPARE(sign.pixelColor(16, 1), QColor(0, 128, 0)); // the green border
            QCOMPARE(sign.pixelColor(6, 16).rgb(), QColor(255, 255, 0).rgb());
        }
        // The arrow: up, down and left each point somewhere else.
        QVERIFY(signs[0] != signs[1] && signs[1] != signs[2] && signs[0] != signs[2]);
        const QImage icon = Pictures::programIcon().pixmap(32, 32).toImage();
        QVERIFY(sheet({icon, Pictures::programIcon().pixmap(16, 16).toImage()}, 4)
                    .save(renderingPath(QStringLiteral("program-icon.png"))));
    }

    void aboutWindow()
    {
        AboutDialog about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QImage image = about.grab().toImage();
        QVERIFY(image.save(renderingPath(QStringLiteral("about.png"))));
        QCOMPARE(image.size(), QSize(353, 385));
        QCOMPARE(image.pixelColor(300, 10), QColor(Qt::white));
        QCOMPARE(image.pixelColor(10, 380), QColor(0, 64, 128));
    }
};

QTEST_MAIN(TestMonitorRender)
#include "tst_monitorrender.moc"
