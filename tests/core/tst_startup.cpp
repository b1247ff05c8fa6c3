#include "adapterrows.h"
#include "core/program.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestStartup : public QObject
{
    Q_OBJECT

private:
    QList<Dialogs::Request> shown;
    std::unique_ptr<QTemporaryDir> dir;

    // A directory of the test's own, with a last-use time so that no message comes at start.
    ProgramEnvironment environment()
    {
        QFile ini(dir->filePath(QStringLiteral("tarvo.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[System]\nlastshut=46366.25\n");
        return ProgramEnvironment{dir->path() + u'/', [] { return 46366.25; }};
    }

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        shown.clear();
        Dialogs::setHandler([this](const Dialogs::Request &request) {
            shown.append(request);
            return QMessageBox::Ok;
        });
    }
    void cleanup() { Dialogs::setHandler({}); }

    void windowsAreCreatedHiddenAndOptionsComeFirst()
    {
        Program program(environment());
        QVERIFY(!program.frmMain.isVisible());
        QVERIFY(!program.frmGui.isVisible());
        QVERIFY(!program.frmAutoUpdate.isVisible());
        QVERIFY(!program.AboutBox.isVisible());
        // The settings are in memory before the later windows are built: defaults for now.
        QCOMPARE(program.frmMain.ui.CheckBox5->isChecked(), true);
        QCOMPARE(program.frmMain.ui.ListBox1->currentRow(), -1);
        QCOMPARE(program.frmMain.meter.activeLimit(), 96888422);
        QVERIFY(!program.frmGui.SpeedsTimer->isActive());

        program.showFirstWindow();
        QVERIFY(program.frmMain.isVisible());
        QVERIFY(!program.frmGui.isVisible());
    }

    void confirmationChecks()
    {
        Program program(environment());
        program.showFirstWindow();
        TfrmMain &main = program.frmMain;

        QTest::mouseClick(main.ui.Button1, Qt::LeftButton);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QString());
        QCOMPARE(shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(shown[0].text, QStringLiteral("Please select a network adapter from the Network tab ( first tab )."));

        if (!selectFirstRow(main.ui.ListBox1))
            QSKIP("no capture adapter on this machine");
        main.ui.CheckBox5->setChecked(false);
        QTest::mouseClick(main.ui.Button1, Qt::LeftButton);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].title, QString());
        QCOMPARE(shown[1].text,
                 QStringLiteral("In order to continue you must add at least one LAN IP ( this computer's )."));

        // Neither check let anything start.
        QVERIFY(main.isVisible());
        QVERIFY(!main.captureStarted());
        QVERIFY(main.ui.ListBox1->isEnabled());
    }

    void cancelBeforeFirstConfirmationEndsTheProgram()
    {
        Program program(environment());
        program.showFirstWindow();
        QTest::mouseClick(program.frmMain.ui.Button2, Qt::LeftButton);
        QVERIFY(!program.frmMain.isVisible());
        QVERIFY(!program.frmGui.isVisible());
        QVERIFY(!program.frmMain.captureStarted());
    }

    void firstConfirmationStartsMonitoringOnce()
    {
        Program program(environment());
        program.showFirstWindow();
        TfrmMain &main = program.frmMain;
        if (!selectLoopbackRow(main.ui.ListBox1))
            QSKIP("no loopback capture adapter on this machine");
        const int loopback = main.ui.ListBox1->currentRow();

        QTest::mouseClick(main.ui.Button1, Qt::LeftButton);
        QVERIFY(main.captureStarted());
        QVERIFY(!main.ui.ListBox1->isEnabled());
        QVERIFY(program.frmGui.SpeedsTimer->isActive());
        QVERIFY(program.frmGui.PingTimer->isActive());
        QVERIFY(!main.isVisible());
        QVERIFY(program.frmGui.isVisible());
        QCOMPARE(main.settings.adapterIndex, loopback);

        // Cancel after the first confirmation returns to the monitor window.
        main.show();
        program.frmGui.hide();
        QTest::mouseClick(main.ui.Button2, Qt::LeftButton);
        QVERIFY(!main.isVisible());
        QVERIFY(program.frmGui.isVisible());

        // A later confirmation keeps the capture and the counters.
        const TSniffThread *thread = main.sniffThread();
        main.counters.downloadedTotal = 12345;
        main.show();
        QTest::mouseClick(main.ui.Button1, Qt::LeftButton);
        QCOMPARE(main.sniffThread(), thread);
        QCOMPARE(main.counters.downloadedTotal.load(), 12345);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
