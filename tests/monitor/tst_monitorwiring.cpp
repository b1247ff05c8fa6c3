#include "core/program.h"
#include "platform/dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

// How the program's windows answer the monitor's requests.
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

private Q_SLOTS:
    void init()
    {
        Dialogs::setHandler([](const Dialogs::Request &) { return QMessageBox::Ok; });
    }
    void cleanup() { Dialogs::setHandler({}); }

    void optionsHidesTheMonitorAndShowsTheOptions()
    {
        Program program(environment());
        program.frmMain.meter.setUsedBytes(13107200);
        program.frmGui.show();
        program.frmGui.Options1->trigger();
        QVERIFY(!program.frmGui.isVisible());
        QVERIFY(program.frmMain.isVisible());
        // The live bucket, so confirming does not roll the level back.
        QCOMPARE(program.frmMain.ui.Edit11->text(), QStringLiteral("12.5"));
    }

    void alwaysOnTopEntryAndBoxMoveTogether()
    {
        Program program(environment());
        QVERIFY(!program.frmMain.ui.CheckBox3->isChecked());
        program.frmGui.Alwaysontop1->trigger();
        QVERIFY(program.frmMain.ui.CheckBox3->isChecked());
        program.frmGui.Alwaysontop1->trigger();
        QVERIFY(!program.frmMain.ui.CheckBox3->isChecked());
    }

    void closeClosesTheMainWindow()
    {
        Program program(environment());
        program.frmMain.show();
        program.frmGui.show();
        program.frmGui.Close2->trigger();
        QVERIFY(!program.frmMain.isVisible());
    }

    void aboutIsTheProgramsOneAboutWindow()
    {
        Program program(environment());
        program.frmGui.About1->trigger();
        QVERIFY(program.AboutBox.isVisible());
        program.AboutBox.OKButtonClick();
        program.frmGui.About1->trigger();
        QVERIFY(program.AboutBox.isVisible());
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(), [](QWidget *w) { return qobject_cast<TAboutBox *>(w); }),
                 1); // no second about window was made
    }

    void keepInFrontWaitsForTheOptionsWindow()
    {
        Program program(environment());
        program.frmMain.settings.alwaysOnTop = true;
        program.frmGui.show();
        program.frmMain.show();
        program.frmGui.setWindowState(Qt::WindowMinimized);
        program.frmGui.Timer1Timer();
        QVERIFY(program.frmGui.isMinimized());
        program.frmMain.hide();
        program.frmGui.Timer1Timer();
        QVERIFY(!program.frmGui.isMinimized());
    }
};

QTEST_MAIN(TestMonitorWiring)
#include "tst_monitorwiring.moc"
