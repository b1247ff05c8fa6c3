#include "core/program.h"
#include "platform/dialogs.h"

#include <QAction>
#include <QApplication>
#include <QTest>

// How the program's windows answer the monitor's requests.
class TestMonitorWiring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        Dialogs::setHandler([](const Dialogs::Request &) { return QMessageBox::Ok; });
    }
    void cleanup() { Dialogs::setHandler({}); }

    void optionsHidesTheMonitorAndShowsTheOptions()
    {
        Program program;
        program.frmGui.show();
        program.frmGui.Options1->trigger();
        QVERIFY(!program.frmGui.isVisible());
        QVERIFY(program.frmMain.isVisible());
    }

    void closeClosesTheMainWindow()
    {
        Program program;
        program.frmMain.show();
        program.frmGui.show();
        program.frmGui.Close2->trigger();
        QVERIFY(!program.frmMain.isVisible());
    }

    void aboutIsTheProgramsOneAboutWindow()
    {
        Program program;
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
        Program program;
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
