#include "app/program.h"
#include "platform/dialogs.h"
#include "settings/profile.h"
#include "ui/history/historywindow.h"

#include "support/fakehistory.h"

#include <QAction>
#include <QBarSet>
#include <QDateEdit>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
constexpr double noon = 46000.5; // a fixed moment; the off-peak window is off
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
        return ProgramEnvironment{dir.path() + u'/', [] { return 46366.25; }};
    }
    QList<Dialogs::Request> asked;
    QMessageBox::StandardButton answer = QMessageBox::Ok;

private Q_SLOTS:
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
        program.controller.meter.setUsedBytes(13107200);
        program.monitorWindow.show();
        program.monitorWindow.optionsAction->trigger();
        QVERIFY(!program.monitorWindow.isVisible());
        QVERIFY(program.optionsWindow.isVisible());
        // The live bucket, so confirming does not roll the level back.
        QCOMPARE(program.optionsWindow.ui.cumulativeDownloadEdit->text(), QStringLiteral("12.5"));
    }

    void alwaysOnTopEntryAndBoxMoveTogether()
    {
        Program program(environment());
        QVERIFY(!program.optionsWindow.ui.alwaysOnTopCheck->isChecked());
        program.monitorWindow.alwaysOnTopAction->trigger();
        QVERIFY(program.optionsWindow.ui.alwaysOnTopCheck->isChecked());
        QVERIFY(program.controller.settings.alwaysOnTop);
        program.monitorWindow.alwaysOnTopAction->trigger();
        QVERIFY(!program.optionsWindow.ui.alwaysOnTopCheck->isChecked());
        QVERIFY(!program.controller.settings.alwaysOnTop);
    }

    void closeClosesTheMainWindow()
    {
        Program program(environment());
        program.optionsWindow.show();
        program.monitorWindow.show();
        program.monitorWindow.trayCloseAction->trigger();
        QVERIFY(!program.optionsWindow.isVisible());
    }

    // "Close" in the monitor's menu, with the options window hidden as after a confirmation, ends
    // the message loop; the end saves the bucket with the time.
    void closeEndsTheProgramAndSaves()
    {
        QTemporaryDir own;
        {
            Program program(ProgramEnvironment{own.path() + u'/', [] { return 46366.25; }});
            program.controller.meter.setUsedBytes(4242);
            program.monitorWindow.show();
            QTimer::singleShot(0, program.monitorWindow.closeAction, &QAction::trigger);
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

    // "History..." stays off until there is a history to read; then it opens one window on it,
    // which a second "History..." brings forward rather than doubling.
    void historyOpensOneWindowOnTheReader()
    {
        Program program(environment());
        QVERIFY(!program.monitorWindow.historyAction->isEnabled());
        FakeHistory history;
        const QDate today = oleDateToDateTime(46366.25).date();
        history.hours.push_back({.startUtc = today.startOfDay().toSecsSinceEpoch(), .downloadBytes = 5000});
        program.controller.setHistoryReader(&history);
        QVERIFY(program.monitorWindow.historyAction->isEnabled());
        program.monitorWindow.historyAction->trigger();
        HistoryWindow *shown = program.controller.historyWindow();
        QVERIFY(shown && shown->isVisible());
        QCOMPARE(shown->dayView.dateEdit->date(), today);
        QCOMPARE(shown->dayView.downloadSet->sum() * double(shown->dayView.unitBytes), 5000.0);
        program.monitorWindow.historyAction->trigger();
        QCOMPARE(program.controller.historyWindow(), shown);
        program.controller.setHistoryReader(nullptr);
        QVERIFY(!program.controller.historyWindow());
        QVERIFY(!program.monitorWindow.historyAction->isEnabled());
    }

    void aboutIsTheProgramsOneAboutWindow()
    {
        Program program(environment());
        program.monitorWindow.aboutAction->trigger();
        QVERIFY(program.aboutDialog.isVisible());
        program.aboutDialog.okButton->click();
        program.monitorWindow.aboutAction->trigger();
        QVERIFY(program.aboutDialog.isVisible());
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(), [](QWidget *w) { return qobject_cast<AboutDialog *>(w); }),
                 1); // no second about window was made
    }

    void keepInFrontWaitsForTheOptionsWindow()
    {
        Program program(environment());
        program.monitorWindow.alwaysOnTopAction->trigger();
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
        controller.meter.setUsedBytes(96004096);
        controller.tickAt(noon); // sets the cut-off latch
        controller.counters.tickDownloadBytes = 20000;
        controller.counters.tickUploadBytes = 500;
        controller.counters.tickPackets = 9;
        controller.tickAt(noon);
        controller.counters.downloadedTotal = 5000;
        controller.counters.uploadedTotal = 6000;
        controller.counters.downloadPackets = 7;
        QVERIFY(controller.meter.cutOff());
        const int32_t used = controller.meter.usedBytes();

        program.monitorWindow.resetFapLevelAction->trigger();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].title, QStringLiteral("Reset all counters?"));
        QCOMPARE(asked[0].text, QStringLiteral("This will reset all Tarvo counters, as well as set your FAP level to "
                                               "maximum. Are you sure you want to proceed?"));
        QCOMPARE(asked[0].buttons, QMessageBox::Yes | QMessageBox::No);

        QCOMPARE(controller.meter.usedBytes(), yes ? 0 : used);
        QCOMPARE(controller.meter.cutOff(), !yes);
        QCOMPARE(controller.counters.downloadedTotal.load(), yes ? 0 : 5000);
        QCOMPARE(controller.counters.downloadPackets.load(), yes ? 0 : 7);
        QCOMPARE(controller.counters.uploadedTotal.load(), 6000);
        QCOMPARE(controller.stats.averageDownload, yes ? 0.0f : 20000.0f);
        QCOMPARE(controller.stats.averageUpload, yes ? 0.0f : 5.0f);

        controller.tickAt(noon);
        QCOMPARE(program.monitorWindow.restrictionValue->text(), yes ? QStringLiteral("none") : QStringLiteral("CUT OFF"));
        QCOMPARE(program.monitorWindow.percentValue->text() == QStringLiteral("100%"), yes);
    }

    void resetInterfaceCountersKeepsTheBucket()
    {
        Program program(environment());
        Controller &controller = program.controller;
        asked.clear();
        controller.meter.setUsedBytes(96004096);
        controller.counters.tickDownloadBytes = 30000;
        controller.tickAt(noon);
        controller.counters.downloadedTotal = 5000;
        controller.counters.uploadedTotal = 6000;
        program.monitorWindow.resetCountersAction->trigger();
        QVERIFY(asked.isEmpty());
        QVERIFY(controller.meter.cutOff());
        QCOMPARE(controller.meter.usedBytes(), 96000000);
        QCOMPARE(controller.counters.downloadedTotal.load(), 0);
        QCOMPARE(controller.counters.uploadedTotal.load(), 6000);
        QCOMPARE(controller.stats.averageDownload, 0.0f);
        QCOMPARE(controller.meter.smoothedDownload(), 0);
    }
};

QTEST_MAIN(TestMonitorWiring)
#include "tst_monitorwiring.moc"
