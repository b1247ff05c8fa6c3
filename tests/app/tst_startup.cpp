#include "app/program.h"
#include "meter/oledate.h"
#include "platform/dialogs.h"
#include "support/adapterrows.h"
#include "support/controls.h"

#include <QCheckBox>
#include <QLabel>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

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
        return ProgramEnvironment{dir->path() + u'/', [] { return oleDateToDateTime(46366.25); }};
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
        QTimer *tickTimer = program.controller.findChild<QTimer *>(QStringLiteral("tickTimer"));
        QVERIFY(!program.optionsWindow.isVisible());
        QVERIFY(!program.monitorWindow.isVisible());
        QVERIFY(!program.updateOfferWindow.isVisible());
        QVERIFY(!program.aboutDialog.isVisible());
        // The settings are in memory before the later windows are built: defaults for now.
        QCOMPARE(findControl<QCheckBox>(program.optionsWindow, "useAll192Check")->isChecked(), true);
        QCOMPARE(findControl<QListWidget>(program.optionsWindow, "adapterList")->currentRow(), -1);
        QCOMPARE(program.controller.session().meter().activeLimit(), 96888422);
        QVERIFY(!tickTimer->isActive());

        program.showFirstWindow();
        QVERIFY(program.optionsWindow.isVisible());
        QVERIFY(!program.monitorWindow.isVisible());
    }

    void confirmationChecks()
    {
        Program program(environment());
        program.showFirstWindow();
        OptionsWindow &options = program.optionsWindow;
        Controller &controller = program.controller;

        QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QString());
        QCOMPARE(shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(shown[0].text, QStringLiteral("Please select a network adapter from the Network tab ( first tab )."));

        if (!selectFirstRow(findControl<QListWidget>(options, "adapterList")))
            QSKIP("no capture adapter on this machine");
        findControl<QCheckBox>(options, "useAll192Check")->setChecked(false);
        QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].title, QString());
        QCOMPARE(shown[1].text,
                 QStringLiteral("In order to continue you must add at least one LAN IP ( this computer's )."));

        // Neither check let anything start.
        QVERIFY(options.isVisible());
        QVERIFY(!controller.captureStarted());
        QVERIFY(findControl<QListWidget>(options, "adapterList")->isEnabled());
    }

    void cancelBeforeFirstConfirmationEndsTheProgram()
    {
        Program program(environment());
        program.showFirstWindow();
        QTest::mouseClick(findControl<QPushButton>(program.optionsWindow, "cancelButton"), Qt::LeftButton);
        QVERIFY(!program.optionsWindow.isVisible());
        QVERIFY(!program.monitorWindow.isVisible());
        QVERIFY(!program.controller.captureStarted());
    }

    void firstConfirmationStartsMonitoringOnce()
    {
        Program program(environment());
        program.showFirstWindow();
        OptionsWindow &options = program.optionsWindow;
        Controller &controller = program.controller;
        QTimer *pingTimer = controller.findChild<QTimer *>(QStringLiteral("pingTimer"));
        QTimer *tickTimer = controller.findChild<QTimer *>(QStringLiteral("tickTimer"));
        if (!selectLoopbackRow(findControl<QListWidget>(options, "adapterList")))
            QSKIP("no loopback capture adapter on this machine");
        const int loopback = findControl<QListWidget>(options, "adapterList")->currentRow();
        controller.session().counters().tickPackets = 5;

        QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
        QVERIFY(controller.captureStarted());
        QVERIFY(!findControl<QListWidget>(options, "adapterList")->isEnabled());
        QVERIFY(tickTimer->isActive());
        QCOMPARE(tickTimer->interval(), 1000);
        QVERIFY(pingTimer->isActive());
        // One tick ran at once, so the monitor window shows figures before it is shown.
        QCOMPARE(findControl<QLabel>(program.monitorWindow, u"packetsPerSecondValue"_s)->text(), QStringLiteral("5"));
        QVERIFY(!options.isVisible());
        QVERIFY(program.monitorWindow.isVisible());
        QCOMPARE(controller.session().settings().adapterIndex, loopback);

        // Cancel after the first confirmation returns to the monitor window.
        options.show();
        program.monitorWindow.hide();
        QTest::mouseClick(findControl<QPushButton>(options, "cancelButton"), Qt::LeftButton);
        QVERIFY(!options.isVisible());
        QVERIFY(program.monitorWindow.isVisible());

        // A later confirmation keeps the capture and the counters.
        const CaptureThread *thread = controller.captureThread();
        controller.session().counters().downloadedTotal = 12345;
        options.show();
        QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
        QCOMPARE(controller.captureThread(), thread);
        QCOMPARE(controller.session().counters().downloadedTotal.load(), 12345);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
