#include "ui/monitor/trayimage.h"
#include "ui/monitor/trayindicator.h"

#include "support/privatebus.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include <QMenu>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QSet>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

constexpr int32_t limit = 96888422;
constexpr int32_t throttle = 64592281;
constexpr QRgb white = 0xffffffff;
constexpr QRgb green = 0xff008000;
constexpr QRgb lime = 0xff00ff00;
constexpr QRgb yellow = 0xffffff00;
constexpr QRgb red = 0xffff0000;
constexpr QRgb grey = 0xff808080;
constexpr QRgb silver = 0xffc0c0c0;
constexpr QRgb blue = 0xff0000ff;

// The columns that hold blue (text) pixels.
std::pair<int, int> inkColumns(const QImage &image)
{
    int first = 16;
    int last = -1;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (image.pixel(x, y) == white)
                continue;
            first = std::min(first, x);
            last = std::max(last, x);
        }
    }
    return {first, last};
}

} // namespace

class TestTrayImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gauge_data()
    {
        QTest::addColumn<int>("activeLimit");
        QTest::addColumn<int>("used");
        QTest::addColumn<bool>("cutOff");
        QTest::addColumn<int>("column"); // X: the last coloured column; the inside is columns 1..14
        QTest::addColumn<uint>("colour");

        QTest::newRow("empty bucket, all lime") << limit << 0 << false << 15 << uint(lime);
        QTest::newRow("half full") << limit << limit / 2 << false << 7 << uint(lime);
        QTest::newRow("throttled") << limit << 70000000 << false << 4 << uint(yellow);
        QTest::newRow("at the throttle limit, not throttled") << limit << throttle << false << 5 << uint(lime);
        QTest::newRow("cut off over throttled") << limit << 90000000 << true << 1 << uint(red);
        QTest::newRow("full bucket, all green") << limit << limit << false << 0 << uint(yellow);
        QTest::newRow("over the limit") << limit << limit + 5000000 << false << -1 << uint(yellow);
        QTest::newRow("no limit") << 0 << 0 << false << 0 << uint(lime);
    }

    void gauge()
    {
        QFETCH(int, activeLimit);
        QFETCH(int, used);
        QFETCH(bool, cutOff);
        QFETCH(int, column);
        QFETCH(uint, colour);
        QCOMPARE(trayGaugeColumn(activeLimit, used), column);

        const QImage image = drawTrayImage(TrayGauge{.style = TrayStyle::Graphic,
                                                     .activeLimit = activeLimit,
                                                     .usedBytes = used,
                                                     .throttleLimit = throttle,
                                                     .cutOff = cutOff,
                                                     .levelPercent = 0});
        QCOMPARE(image.size(), QSize(16, 16));
        // The frame: four lines without end points, grey top and left, silver right and bottom.
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(image.pixel(i, 0), grey);
            QCOMPARE(image.pixel(0, i + 1), grey);
            QCOMPARE(image.pixel(15, i), silver);
            QCOMPARE(image.pixel(i + 1, 15), silver);
        }
        // Inside: the colour up to X, the green body after it.
        for (int y = 1; y < 15; ++y) {
            for (int x = 1; x < 15; ++x)
                QCOMPARE(image.pixel(x, y), x <= column ? QRgb(colour) : green);
        }
    }

    void percentage_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<bool>("clipped");
        QTest::addColumn<int>("characters"); // groups of ink columns with blank columns between
        QTest::newRow("100 %: whole, three digits") << 100 << false << 3;
        QTest::newRow("57 %") << 57 << false << 2;
        QTest::newRow("5 %") << 5 << false << 1;
        QTest::newRow("no limit: 0") << 0 << false << 1;
        QTest::newRow("negative") << -5 << false << 2;
        QTest::newRow("wider than the picture: cut") << -400 << true << 0;
    }

    void percentage()
    {
        QFETCH(int, percent);
        QFETCH(bool, clipped);
        QFETCH(int, characters);
        const QImage image = drawTrayImage(TrayGauge{.style = TrayStyle::Text,
                                                     .activeLimit = limit,
                                                     .usedBytes = 0,
                                                     .throttleLimit = throttle,
                                                     .cutOff = false,
                                                     .levelPercent = percent});
        QCOMPARE(image.size(), QSize(16, 16));
        int ink = 0;
        int groups = 0;
        bool previousInked = false;
        for (int x = 0; x < 16; ++x) {
            bool inked = false;
            for (int y = 0; y < 16; ++y) {
                const QRgb pixel = image.pixel(x, y);
                QVERIFY2(pixel == white || pixel == blue, qPrintable(QString::number(pixel, 16)));
                ink += pixel == blue;
                inked = inked || pixel == blue;
            }
            groups += inked && !previousInked;
            previousInked = inked;
        }
        QVERIFY(ink > 0);
        const auto [first, last] = inkColumns(image);
        if (clipped) {
            // Wider than the picture: centred, so cut on both sides.
            QCOMPARE(first, 0);
            QCOMPARE(last, 15);
        } else {
            QVERIFY(first > 0 && last < 15);
            QVERIFY2(std::abs(first + last - 15) <= 2, qPrintable(QStringLiteral("%1..%2").arg(first).arg(last)));
            QCOMPARE(groups, characters);
        }
    }

    // Each digit has its own picture: a "0" that lost its right column would read as "(".
    void digitsDiffer()
    {
        QSet<QByteArray> seen;
        for (int digit = 0; digit <= 9; ++digit) {
            const QImage image = drawTrayImage(TrayGauge{.style = TrayStyle::Text, .levelPercent = digit});
            seen.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()), int(image.sizeInBytes())));
        }
        QCOMPARE(seen.size(), 10);
        // The last "0" of "100" is the whole "0": its right column is inked like its left one.
        const QImage hundred = drawTrayImage(TrayGauge{.style = TrayStyle::Text, .levelPercent = 100});
        const auto [first, last] = inkColumns(hundred);
        int left = 0, right = 0;
        for (int y = 0; y < 16; ++y) {
            left += hundred.pixel(last - 3, y) == blue;
            right += hundred.pixel(last, y) == blue;
        }
        QVERIFY(first > 0);
        QCOMPARE(right, left);
    }

    // Before the first use of the session bus, which every tray watches for announcements.
    void initTestCase() { m_busStarted = m_bus.start(); }

    void cleanup() { TrayIndicator::setAvailability({}); }

    // Blue digits alone would not read on a dark panel: the tray gets the white cell too.
    void textCellStaysWhiteInTheTray()
    {
        TrayIndicator::setAvailability([] { return true; });
        QMenu menu;
        TrayIndicator tray(&menu);
        QVERIFY(tray.available());
        const QImage picture = drawTrayImage(TrayGauge{.style = TrayStyle::Text, .levelPercent = 5});
        tray.setImage(picture);
        // At once: the tick's picture needs no wake-up of its own.
        const QImage shown = tray.icon()->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x)
                QCOMPARE(shown.pixel(x, y), picture.pixel(x, y));
        }
    }

    void failedDrawingKeepsThePreviousPicture()
    {
        QMenu menu;
        TrayIndicator tray(&menu);
        QVERIFY(tray.image().isNull()); // the program's own icon until the first tick
        const QImage first = drawTrayImage(TrayGauge{.style = TrayStyle::Graphic, .activeLimit = limit});
        tray.setImage(first);
        QCOMPARE(tray.image(), first);
        tray.setImage(QImage());
        QCOMPARE(tray.image(), first);
        tray.refresh(); // without a system tray, nothing to show it on
    }

    // A desktop that starts its tray after the program still gets the icon, with the newest
    // picture, when it announces the tray on the session bus: by the watcher taking its name, or
    // by a host registering with a watcher that was there first. Nothing looks on a timer.
    void trayThatAppearsLater_data()
    {
        QTest::addColumn<bool>("watcherFirst");
        QTest::newRow("the watcher starts") << false;
        QTest::newRow("a host registers") << true;
    }

    void trayThatAppearsLater()
    {
        QFETCH(bool, watcherFirst);
        if (!m_busStarted)
            QSKIP("dbus-daemon could not be started (scripts/deps installs the dbus package)");
        bool shown = false;
        TrayIndicator::setAvailability([&shown] { return shown; });
        QMenu menu;
        TrayIndicator tray(&menu);
        QSignalSpy appeared(&tray, &TrayIndicator::appeared);
        QVERIFY(!tray.available());
        QVERIFY(!tray.icon());
        QVERIFY(!tray.watchTimer->isActive()); // the desktop says when a tray comes
        QVERIFY(tray.watchTimer->interval() >= 1000); // where it cannot: at most once a second
        const QImage picture = drawTrayImage(TrayGauge{.style = TrayStyle::Text, .levelPercent = 57});
        tray.setImage(picture);

        const QString watcher = u"org.kde.StatusNotifierWatcher"_s;
        QDBusConnection desktop = QDBusConnection::connectToBus(m_bus.address(), u"desktop"_s);
        const auto leave = qScopeGuard([&] {
            desktop.unregisterService(watcher);
            QDBusConnection::disconnectFromBus(u"desktop"_s);
        });
        if (watcherFirst) {
            QVERIFY(desktop.registerService(watcher));
            QTest::qWait(100); // heard while there is no tray yet
            QVERIFY(!tray.available());
        }
        shown = true;
        if (watcherFirst) {
            QVERIFY(desktop.send(QDBusMessage::createSignal(u"/StatusNotifierWatcher"_s, watcher,
                                                            u"StatusNotifierHostRegistered"_s)));
        } else {
            QVERIFY(desktop.registerService(watcher));
        }
        QTRY_VERIFY(tray.available());
        QCOMPARE(appeared.size(), 1);
        QVERIFY(!tray.watchTimer->isActive());
        QCOMPARE(tray.icon()->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_RGB32), picture);
        // A tray that goes away again: nothing could bring a hidden window back.
        shown = false;
        QVERIFY(!tray.available());
    }

private:
    PrivateBus m_bus;
    bool m_busStarted = false;
};

QTEST_MAIN(TestTrayImage)
#include "tst_trayimage.moc"
