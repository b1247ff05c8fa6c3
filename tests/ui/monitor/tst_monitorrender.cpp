#include "ui/about/aboutdialog.h"
#include "ui/monitor/indicators.h"
#include "ui/monitor/pictures.h"
#include "ui/monitor/trayimage.h"

#include "support/monitorfixture.h"
#include "support/renderings.h"
#include "translations/languages.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

// Renders the monitor window (idle, busy and with the largest values; full and compact), the tray
// pictures, the trend signs, the program icon and the about window to PNG files in
// $TARVO_RENDER_DIR, for a person to look at.
namespace {

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

// A picture of a widget, sampled at a point of the widget's own coordinates, whatever the DPI.
QColor colourAt(const QImage &image, QPoint at)
{
    return image.pixelColor((QPointF(at) * image.devicePixelRatio()).toPoint());
}

// Every pair of shown parts of a panel that overlap or touch side by side: a caption and its
// value, a value and the chart.
QStringList collisions(const QWidget *panel)
{
    QList<const QWidget *> parts;
    for (const QWidget *part : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (part->isVisibleTo(panel))
            parts << part;
    }
    auto name = [](const QWidget *part) {
        const auto *label = qobject_cast<const QLabel *>(part);
        return part->objectName().isEmpty() && label ? label->text() : part->objectName();
    };
    QStringList found;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        for (qsizetype j = i + 1; j < parts.size(); ++j) {
            if (parts[i]->geometry().adjusted(-1, 0, 1, 0).intersects(parts[j]->geometry()))
                found << name(parts[i]) + QStringLiteral(" / ") + name(parts[j]);
        }
    }
    return found;
}

// The next second's tick, as the controller gives one every second.
void tickASecond(Monitor &monitor)
{
    monitor.tick();
    monitor.now = monitor.now.addSecs(1);
}

// Both views to PNG files; every panel free of collisions in each.
void render(Monitor &monitor, const QString &name)
{
    MonitorWindow &gui = monitor.gui;
    gui.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gui));
    for (const bool full : {true, false}) {
        monitor.part<QPushButton>(full ? u"showMoreButton"_s : u"hideDetailsButton"_s)->click();
        const QImage image = gui.grab().toImage();
        QVERIFY(image.save(renderingPath(name + (full ? u"-full.png"_s : u"-compact.png"_s))));
        for (const QString &panelName : {u"fapPanel"_s, u"detailsPanel"_s, u"restrictionPanel"_s}) {
            const QWidget *panel = monitor.part<QWidget>(panelName);
            if (panel->isVisible())
                QVERIFY2(collisions(panel).isEmpty(), qPrintable(name + u": "_s + collisions(panel).join(u", "_s)));
        }
    }
    monitor.part<QPushButton>(u"showMoreButton"_s)->click();
}

} // namespace

class TestMonitorRender : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The words in the language of the locale the test runs in (English under C); the
        // numbers in English, as the assertions below read them.
        Languages::install(*QCoreApplication::instance());
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void idle()
    {
        Monitor monitor;
        render(monitor, u"monitor-idle"_s);
        tickASecond(monitor);
        render(monitor, u"monitor-idle-ticked"_s);
    }

    void busy()
    {
        Monitor monitor;
        monitor.gui.setPingText(u"612"_s);
        // A minute of browsing that ends above the throttle limit, on a link that has run a while.
        monitor.meter.setUsedBytes(70000000);
        monitor.counters.downloadPackets = 1234000;
        monitor.counters.uploadPackets = 402000;
        for (int i = 0; i < 60; ++i) {
            TrafficCounters &counters = monitor.counters;
            counters.tickDownloadBytes = (i % 7) * 30000;
            counters.tickUploadBytes = (i % 5) * 800;
            counters.tickPackets = 40 + i;
            counters.downloadedTotal += counters.tickDownloadBytes;
            counters.uploadedTotal += counters.tickUploadBytes;
            counters.downloadPackets += 30;
            counters.uploadPackets += 12;
            counters.meanPacketSize = 1031.0f;
            monitor.meter.addDownload(uint32_t(counters.tickDownloadBytes.load()));
            tickASecond(monitor);
        }
        render(monitor, u"monitor-busy"_s);

        MonitorWindow &gui = monitor.gui;
        QCOMPARE(monitor.part<QLabel>(u"packetsReceivedValue"_s)->text(), u"1,235,800"_s);
        QCOMPARE(monitor.part<QLabel>(u"averagePacketSizeValue"_s)->text(), u"1,031"_s);
        const QImage full = gui.grab().toImage();
        // The panel colour, the bar in the restriction colour (throttled: yellow).
        QCOMPARE(colourAt(full, monitor.part<QWidget>(u"fapPanel"_s)->mapTo(&gui, QPoint(200, 70))), QColor(0, 64, 128));
        QCOMPARE(colourAt(full, monitor.part<LevelBar>(u"levelBar"_s)->mapTo(&gui, QPoint(3, 8))), QColor(255, 255, 0));
        const int fullHeight = gui.height();
        monitor.part<QPushButton>(u"hideDetailsButton"_s)->click();
        QCOMPARE(fullHeight - gui.height(), 86 - 35);
    }

    // The largest texts the formats make: the values that do not fit are cut, never drawn over
    // their neighbours.
    void largestValues()
    {
        Monitor monitor;
        constexpr int32_t most = std::numeric_limits<int32_t>::max();
        monitor.gui.setPingText(u"Request timed out"_s);
        monitor.counters.downloadedTotal = most;
        monitor.counters.uploadedTotal = most;
        monitor.counters.downloadPackets = most;
        monitor.counters.uploadPackets = most;
        monitor.counters.meanPacketSize = 65535.0f;
        monitor.counters.tickDownloadBytes = most;
        monitor.counters.tickUploadBytes = most;
        monitor.counters.tickPackets = most;
        monitor.meter.setUsedBytes(most);
        tickASecond(monitor);
        render(monitor, u"monitor-largest"_s);
        QVERIFY(!monitor.part<QLabel>(u"packetsReceivedValue"_s)->toolTip().isEmpty()); // cut, and whole in the tool tip
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
        QCOMPARE(image.deviceIndependentSize().toSize(), QSize(353, 385));
        QCOMPARE(colourAt(image, QPoint(300, 10)), QColor(Qt::white));
        QCOMPARE(colourAt(image, QPoint(10, 380)), QColor(0, 64, 128));
    }
};

QTEST_MAIN(TestMonitorRender)
#include "tst_monitorrender.moc"
