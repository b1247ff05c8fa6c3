#include "app/program.h"
#include "history/historystore.h"
#include "meter/oledate.h"
#include "platform/dialogs.h"
#include "platform/instancesocket.h"
#include "settings/profile.h"

#include "support/adapterrows.h"
#include "support/controls.h"
#include "support/fakehistory.h"
#include "support/filefixtures.h"
#include "support/historypages.h"

#include <QAction>
#include <QApplication>
#include <QBarSet>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
const QDateTime noon = oleDateToDateTime(46000.5); // a fixed moment; the off-peak window is off
} // namespace

// How the controller answers the monitor's requests.
class TestMonitorWiring : public QObject
{
    Q_OBJECT

private:
    // Each program keeps its settings file in a folder of the test's own.
    QTemporaryDir dir;
    ProgramEnvironment environment() const
    {
        return ProgramEnvironment{dir.path() + u'/', [] { return oleDateToDateTime(46366.25); }};
    }
    QList<Dialogs::Request> asked;
    QMessageBox::StandardButton answer = QMessageBox::Ok;

private Q_SLOTS:
    // No alert of these tests may reach the desktop of whoever runs them.
    void initTestCase() { qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test-bus"); }

    void init()
    {
        answer = QMessageBox::Ok;
        Dialogs::setHandler([this](const Dialogs::Request &request) {
            asked.append(request);
            return answer;
        });
    }
    void cleanup() { Dialogs::setHandler({}); }

    void optionsHidesTheMonitorAndShowsTheOptions()
    {
        Program program(environment());
        program.controller.session().meter().setUsedBytes(13107200);
        program.monitorWindow.show();
        findControl<QAction>(program.monitorWindow, u"optionsAction"_s)->trigger();
        QVERIFY(!program.monitorWindow.isVisible());
        QVERIFY(program.optionsWindow.isVisible());
        // The live bucket, so confirming does not roll the level back.
        QCOMPARE(findControl<QLineEdit>(program.optionsWindow, "cumulativeDownloadEdit")->text(), QStringLiteral("12.5"));
    }

    void alwaysOnTopEntryAndBoxMoveTogether()
    {
        Program program(environment());
        QVERIFY(!findControl<QCheckBox>(program.optionsWindow, "alwaysOnTopCheck")->isChecked());
        findControl<QAction>(program.monitorWindow, u"alwaysOnTopAction"_s)->trigger();
        QVERIFY(findControl<QCheckBox>(program.optionsWindow, "alwaysOnTopCheck")->isChecked());
        QVERIFY(program.controller.session().settings().alwaysOnTop);
        findControl<QAction>(program.monitorWindow, u"alwaysOnTopAction"_s)->trigger();
        QVERIFY(!findControl<QCheckBox>(program.optionsWindow, "alwaysOnTopCheck")->isChecked());
        QVERIFY(!program.controller.session().settings().alwaysOnTop);
    }

    void closeClosesTheMainWindow()
    {
        Program program(environment());
        program.optionsWindow.show();
        program.monitorWindow.show();
        findControl<QAction>(program.monitorWindow, u"trayCloseAction"_s)->trigger();
        QVERIFY(!program.optionsWindow.isVisible());
    }

    // "Close" in the monitor's menu, with the options window hidden as after a confirmation, ends
    // the message loop; the end saves the bucket with the time.
    void closeEndsTheProgramAndSaves()
    {
        QTemporaryDir own;
        {
            Program program(ProgramEnvironment{own.path() + u'/', [] { return oleDateToDateTime(46366.25); }});
            program.controller.session().meter().setUsedBytes(4242);
            program.monitorWindow.show();
            QTimer::singleShot(0, findControl<QAction>(program.monitorWindow, u"closeAction"_s), &QAction::trigger);
            QTimer hang; // fails the test instead of blocking it when the loop does not end
            hang.setSingleShot(true);
            connect(&hang, &QTimer::timeout, [] { QApplication::exit(1); });
            hang.start(60000);
            QCOMPARE(QApplication::exec(), 0);
            program.controller.stopCapture();
        }
        const IniDocument saved = IniDocument::read(own.filePath(QStringLiteral("tarvo.ini")));
        QCOMPARE(saved.integer(u"System", u"fapbytes", -1), 4242);
        QCOMPARE(saved.floating(u"System", u"lastshut", -1), 46366.25);
    }

    // Each finished minute goes into the usage history beside "tarvo.ini", with the download of
    // each LAN host; at the end the minute under way follows it. The next run's "History..."
    // shows them.
    void ticksAreRecordedInTheUsageHistory()
    {
        QTemporaryDir own;
        const QDateTime minuteStart = QDateTime::fromSecsSinceEpoch(1782907200);
        ProgramEnvironment recording{own.path() + u'/', [] { return oleDateToDateTime(46366.25); }};
        {
            Program program(recording);
            Controller &controller = program.controller;
            controller.session().hostCounters().add(HostCounters::slotOf(0xC0A80105u, -1), HostAddress::fromIpv4(0xC0A80105u), 700);
            controller.session().counters().tickDownloadBytes = 1000;
            controller.tickAt(minuteStart);
            controller.session().counters().tickDownloadBytes = 500;
            controller.tickAt(minuteStart.addSecs(60));
            controller.session().counters().tickDownloadBytes = 20;
            controller.tickAt(minuteStart.addSecs(61));
        }
        const HistoryStore store(own.filePath(QStringLiteral("tarvo-history.sqlite")), HistoryStore::Mode::Read);
        const auto minutes = store.periods(HistoryGranularity::Minute, INT64_MIN, INT64_MAX);
        QCOMPARE(minutes.size(), size_t(2));
        QCOMPARE(minutes[0].startUtc, 1782907200);
        QCOMPARE(minutes[0].downloadBytes, 1000);
        QCOMPARE(minutes[1].downloadBytes, 520);
        const auto hosts = store.hosts(INT64_MIN, INT64_MAX);
        QCOMPARE(hosts.size(), size_t(1));
        QCOMPARE(hosts[0].address, HostAddress::fromIpv4(0xC0A80105u));
        QCOMPARE(hosts[0].downloadBytes, 700);

        Program next(recording);
        findControl<QAction>(next.monitorWindow, u"historyAction"_s)->trigger();
        const UsagePage dayPage(*next.controller.historyWindow(), u"dayPage"_s);
        dayPage.dateEdit->setDate(QDateTime::fromSecsSinceEpoch(1782907200).date());
        QCOMPARE(dayPage.downloadSet->sum() * double(dayPage.unitBytes()), 1520.0);
        QCOMPARE(dayPage.hostTable->rowCount(), 1);
    }

    // "History..." opens one window on the reader, a window of the monitor's (kept above it when
    // "Always on top" pulls), which a second "History..." brings forward rather than doubling;
    // without a reader the item is off.
    void historyOpensOneWindowOnTheReader()
    {
        Program program(environment());
        QVERIFY(findControl<QAction>(program.monitorWindow, u"historyAction"_s)->isEnabled());
        FakeHistory history;
        const QDate today = oleDateToDateTime(46366.25).date();
        history.hours.push_back({.startUtc = today.startOfDay().toSecsSinceEpoch(), .downloadBytes = 5000});
        program.controller.setHistoryReader(&history);
        QVERIFY(findControl<QAction>(program.monitorWindow, u"historyAction"_s)->isEnabled());
        findControl<QAction>(program.monitorWindow, u"historyAction"_s)->trigger();
        QWidget *shown = program.controller.historyWindow();
        QVERIFY(shown && shown->isVisible());
        QCOMPARE(shown->parentWidget(), &program.monitorWindow);
        // Only a dialog-type window is marked as the monitor's for the window manager, which then
        // keeps it above the monitor's "Always on top"; the about window and the update offer too.
        QCOMPARE(shown->windowType(), Qt::Dialog);
        QCOMPARE(program.aboutDialog.windowType(), Qt::Dialog);
        QCOMPARE(program.aboutDialog.parentWidget(), &program.monitorWindow);
        QCOMPARE(program.updateOfferWindow.windowType(), Qt::Dialog);
        QCOMPARE(program.updateOfferWindow.parentWidget(), &program.monitorWindow);
        const UsagePage dayPage(*shown, u"dayPage"_s);
        QCOMPARE(dayPage.dateEdit->date(), today);
        QCOMPARE(dayPage.downloadSet->sum() * double(dayPage.unitBytes()), 5000.0);
        // While it is open, the ticks carry it on to the minutes the recorder writes.
        history.hours.push_back({.startUtc = today.startOfDay().toSecsSinceEpoch() + 3600, .downloadBytes = 700});
        program.controller.tickAt(oleDateToDateTime(46366.25).addSecs(60));
        QCOMPARE(dayPage.downloadSet->sum() * double(dayPage.unitBytes()), 5700.0);
        findControl<QAction>(program.monitorWindow, u"historyAction"_s)->trigger();
        QCOMPARE(program.controller.historyWindow(), shown);
        program.controller.setHistoryReader(nullptr);
        QVERIFY(!program.controller.historyWindow());
        QVERIFY(!findControl<QAction>(program.monitorWindow, u"historyAction"_s)->isEnabled());
    }

    // "Programs..." shows the programs window, a window of the monitor's.
    void programsOpensItsWindow()
    {
        Program program(environment());
        QVERIFY(!program.programsWindow.isVisible());
        findControl<QAction>(program.monitorWindow, u"programsAction"_s)->trigger();
        QVERIFY(program.programsWindow.isVisible());
        QCOMPARE(program.programsWindow.parentWidget(), &program.monitorWindow);
        QCOMPARE(program.programsWindow.windowType(), Qt::Dialog);
        program.controller.tickAt(oleDateToDateTime(46366.25));
        QVERIFY(findControl<QTreeWidget>(program.programsWindow, u"programTable"_s));
    }

    void aboutIsTheProgramsOneAboutWindow()
    {
        Program program(environment());
        findControl<QAction>(program.monitorWindow, u"aboutAction"_s)->trigger();
        QVERIFY(program.aboutDialog.isVisible());
        findControl<QPushButton>(program.aboutDialog, u"okButton"_s)->click();
        findControl<QAction>(program.monitorWindow, u"aboutAction"_s)->trigger();
        QVERIFY(program.aboutDialog.isVisible());
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(), [](QWidget *w) { return qobject_cast<AboutDialog *>(w); }),
                 1); // no second about window was made
    }

    void keepInFrontWaitsForTheOptionsWindow()
    {
        Program program(environment());
        findControl<QAction>(program.monitorWindow, u"alwaysOnTopAction"_s)->trigger();
        program.monitorWindow.show();
        program.optionsWindow.show();
        program.monitorWindow.setWindowState(Qt::WindowMinimized);
        program.monitorWindow.pullToFront();
        QVERIFY(program.monitorWindow.isMinimized());
        program.optionsWindow.hide();
        program.monitorWindow.pullToFront();
        QVERIFY(!program.monitorWindow.isMinimized());
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
        const bool yes = answer == QMessageBox::Yes;
        Program program(environment());
        Controller &controller = program.controller;
        asked.clear();
        this->answer = QMessageBox::StandardButton(answer);
        controller.session().meter().setUsedBytes(96004096);
        controller.tickAt(noon); // sets the cut-off latch
        controller.session().counters().tickDownloadBytes = 20000;
        controller.session().counters().tickUploadBytes = 500;
        controller.session().counters().tickPackets = 9;
        controller.tickAt(noon);
        controller.session().counters().downloadedTotal = 5000;
        controller.session().counters().uploadedTotal = 6000;
        controller.session().counters().downloadPackets = 7;
        QVERIFY(controller.session().meter().cutOff());
        const int32_t used = controller.session().meter().usedBytes();

        findControl<QAction>(program.monitorWindow, u"resetFapLevelAction"_s)->trigger();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].title, QStringLiteral("Reset all counters?"));
        QCOMPARE(asked[0].text, QStringLiteral("This will reset all Tarvo counters, as well as set your FAP level to "
                                               "maximum. Are you sure you want to proceed?"));
        QCOMPARE(asked[0].buttons, QMessageBox::Yes | QMessageBox::No);

        QCOMPARE(controller.session().meter().usedBytes(), yes ? 0 : used);
        QCOMPARE(controller.session().meter().cutOff(), !yes);
        QCOMPARE(controller.session().counters().downloadedTotal.load(), yes ? 0 : 5000);
        QCOMPARE(controller.session().counters().downloadPackets.load(), yes ? 0 : 7);
        QCOMPARE(controller.session().counters().uploadedTotal.load(), 6000);
        QCOMPARE(controller.session().stats().averageDownload, yes ? 0.0f : 20000.0f);
        QCOMPARE(controller.session().stats().averageUpload, yes ? 0.0f : 5.0f);

        controller.tickAt(noon);
        QCOMPARE(findControl<QLabel>(program.monitorWindow, u"restrictionValue"_s)->text(), yes ? QStringLiteral("none") : QStringLiteral("CUT OFF"));
        QCOMPARE(findControl<QLabel>(program.monitorWindow, u"percentValue"_s)->text() == QStringLiteral("100%"), yes);
    }

    // "Will it fit?..." opens the planner on the live bucket with the recent average speed, and
    // each tick hands it the newer bucket while it is open.
    void plannerStartsFromTheBucket()
    {
        Program program(environment());
        Controller &controller = program.controller;
        controller.session().meter().setUsedBytes(60004096);
        controller.session().counters().tickDownloadBytes = 250000;
        controller.tickAt(noon);
        program.monitorWindow.show();
        findControl<QAction>(program.monitorWindow, u"plannerAction"_s)->trigger();
        PlannerWindow &planner = program.plannerWindow;
        QVERIFY(planner.isVisible());
        const QLineEdit *speedEdit = findControl<QLineEdit>(planner, u"speedEdit"_s);
        const QLabel *bucketLabel = findControl<QLabel>(planner, u"bucketLabel"_s);
        QCOMPARE(speedEdit->text(), QStringLiteral("250000"));
        QCOMPARE(bucketLabel->text(),
                 QStringLiteral("In the bucket now: 60,000,000 of 96,888,422 bytes; throttled above 64,592,281."));
        controller.tickAt(noon);
        QCOMPARE(bucketLabel->text(),
                 QStringLiteral("In the bucket now: 59,995,904 of 96,888,422 bytes; throttled above 64,592,281."));
        QCOMPARE(speedEdit->text(), QStringLiteral("250000"));
    }

    // With neither a notification service nor a tray, the tick's alert passes on the status line;
    // switched off in "tarvo.ini", it does not.
    void alertsReachTheStatusLine_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }
    void alertsReachTheStatusLine()
    {
        QFETCH(bool, enabled);
        QTemporaryDir own;
        writeBytes(own.filePath(QStringLiteral("tarvo.ini")), enabled ? "[System]\n" : "[Alerts]\nEnabled=0\n");
        Program program(ProgramEnvironment{own.path() + u'/', [] { return oleDateToDateTime(46366.25); }});
        const QString before = program.monitorWindow.statusText();
        program.controller.session().meter().setUsedBytes(70000000);
        program.controller.tickAt(noon);
        QCOMPARE(program.monitorWindow.statusText(),
                 enabled ? QStringLiteral("Throttled: 26,892,518 bytes to cut off; below the throttle limit again at "
                                          "about 12:21.")
                         : before);
    }

    // The alert's command runs beside the tick; its failure is told on the status line.
    void failedAlertCommandReachesTheStatusLine()
    {
        QTemporaryDir own;
        writeBytes(own.filePath(QStringLiteral("tarvo.ini")), "[Alerts]\nThrottledCommand=sh -c \"echo broken; exit 3\"\n");
        Program program(ProgramEnvironment{own.path() + u'/', [] { return oleDateToDateTime(46366.25); }});
        program.controller.session().meter().setUsedBytes(70000000);
        program.controller.tickAt(noon);
        QTRY_COMPARE(program.monitorWindow.statusText(),
                     QStringLiteral("Alert command sh ended with exit status 3. Output: broken"));
    }

    // The provider's figure sets the running bucket at once, is recorded in the usage history and
    // told on the status line; before the first Ok the options' level box still decides.
    void setBucketFromProvider_data()
    {
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int32_t>("level"); // from 60,000,000 under the cut-off limit of 96,888,422
        QTest::newRow("before the first Ok") << false << QByteArray("percent 50") << InstanceSocket::setBucketWaiting
                                             << 60000000;
        QTest::newRow("remaining") << true << QByteArray("remaining 16888422") << QByteArray("set 60000000 80000000\n")
                                   << 80000000;
        QTest::newRow("100 % left") << true << QByteArray("percent 100") << QByteArray("set 60000000 0\n") << 0;
        QTest::newRow("level") << true << QByteArray("level 1234.9") << QByteArray("set 60000000 1234\n") << 1234;
        QTest::newRow("beyond 100 %") << true << QByteArray("percent 101") << InstanceSocket::setBucketRefused
                                      << 60000000;
        QTest::newRow("garbled") << true << QByteArray("halfway") << InstanceSocket::setBucketRefused << 60000000;
    }
    void setBucketFromProvider()
    {
        QFETCH(bool, confirmed);
        QFETCH(QByteArray, argument);
        QFETCH(QByteArray, answer);
        QFETCH(int32_t, level);
        QTemporaryDir own;
        {
            Program program(ProgramEnvironment{own.path() + u'/', [] { return oleDateToDateTime(46366.25); }});
            if (confirmed) {
                program.showFirstWindow();
                if (!selectFirstRow(findControl<QListWidget>(program.optionsWindow, "adapterList")))
                    QSKIP("no capture adapter on this machine");
                findControl<QPushButton>(program.optionsWindow, "okButton")->click();
            }
            program.controller.session().meter().setUsedBytes(60000000);
            const QString before = program.monitorWindow.statusText();
            QCOMPARE(program.controller.answerSetBucket(argument), answer);
            QCOMPARE(program.controller.session().meter().usedBytes(), level);
            QCOMPARE(program.monitorWindow.statusText(),
                     answer.startsWith("set ")
                         ? u"Bucket set from the provider's figure: %1 bytes (Tarvo had counted 60,000,000)."_s.arg(
                               QLocale().toString(level))
                         : before);
            program.controller.stopCapture();
        }
        const HistoryStore history(own.filePath(u"tarvo-history.sqlite"_s), HistoryStore::Mode::Read);
        const auto recorded = history.corrections();
        QCOMPARE(recorded.size(), size_t(answer.startsWith("set ") ? 1 : 0));
        if (!recorded.empty()) {
            QCOMPARE(recorded[0].tarvoLevel, 60000000);
            QCOMPARE(recorded[0].providerLevel, level);
        }
    }

    // File > "Set bucket from provider..." asks for the figure in a dialog of its own.
    void setBucketFromTheMenu()
    {
        Program program(environment());
        program.showFirstWindow();
        if (!selectFirstRow(findControl<QListWidget>(program.optionsWindow, "adapterList")))
            QSKIP("no capture adapter on this machine");
        findControl<QPushButton>(program.optionsWindow, "okButton")->click();
        program.controller.session().meter().setUsedBytes(86406758); // 10 MB left after the tick drained 4,096 bytes
        program.controller.tickAt(oleDateToDateTime(46366.25).addSecs(1));
        findControl<QAction>(program.monitorWindow, u"setBucketAction"_s)->trigger();
        auto *dialog = program.monitorWindow.findChild<QDialog *>(u"providerBucketDialog"_s);
        QVERIFY(dialog && dialog->isVisible());
        auto *figure = findControl<QDoubleSpinBox>(*dialog, u"providerFigureSpin"_s);
        QCOMPARE(figure->value(), 10.0); // what Tarvo counts as left, in MB
        auto *kind = findControl<QComboBox>(*dialog, u"providerFigureKindCombo"_s);
        QCOMPARE(kind->count(), 3);
        kind->setCurrentIndex(1); // remaining in %
        QCOMPARE(figure->maximum(), 100.0);
        figure->setValue(25);
        findControl<QDialogButtonBox>(*dialog, u"providerBucketButtons"_s)->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(program.controller.session().meter().usedBytes(), 72666316); // 75 % of 96,888,422
        program.controller.stopCapture();
    }

    void resetInterfaceCountersKeepsTheBucket()
    {
        Program program(environment());
        Controller &controller = program.controller;
        asked.clear();
        controller.session().meter().setUsedBytes(96004096);
        controller.session().counters().tickDownloadBytes = 30000;
        controller.tickAt(noon);
        controller.session().counters().downloadedTotal = 5000;
        controller.session().counters().uploadedTotal = 6000;
        findControl<QAction>(program.monitorWindow, u"resetCountersAction"_s)->trigger();
        QVERIFY(asked.isEmpty());
        QVERIFY(controller.session().meter().cutOff());
        QCOMPARE(controller.session().meter().usedBytes(), 96000000);
        QCOMPARE(controller.session().counters().downloadedTotal.load(), 0);
        QCOMPARE(controller.session().counters().uploadedTotal.load(), 6000);
        QCOMPARE(controller.session().stats().averageDownload, 0.0f);
        QCOMPARE(controller.session().meter().smoothedDownload(), 0);
    }
};

QTEST_MAIN(TestMonitorWiring)
#include "tst_monitorwiring.moc"
