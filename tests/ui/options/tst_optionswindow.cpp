#include "settings/appsettings.h"
#include "ui/options/lenientspinbox.h"
#include "ui/options/optionswindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>

namespace {

// What the controller puts into the window at a first start.
void showDefaults(OptionsWindow &window)
{
    window.showSettings(AppSettings{});
    window.showUsedBytes(0);
}

} // namespace

// The options window on its own: its controls, and what it reports. What the program does with
// a confirmation is tested in tests/app.
class TestOptionsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captionsAndDefaults()
    {
        OptionsWindow window;
        showDefaults(window);
        const OptionsControls &ui = window.ui;
        QCOMPARE(window.windowTitle(), u"Tarvo - Options"_qs);
        QCOMPARE(ui.tabs->count(), 4);
        QCOMPARE(ui.tabs->tabText(0), u"Network settings"_qs);
        QCOMPARE(ui.tabs->tabText(1), u"Direcway settings"_qs);
        QCOMPARE(ui.tabs->tabText(2), u"Cosmetic and others"_qs);
        QCOMPARE(ui.tabs->tabText(3), u"Alerts"_qs);
        QCOMPARE(ui.tabs->currentIndex(), 0);
        QCOMPARE(ui.addLanButton->text(), u"Ad new IP"_qs);
        QCOMPARE(ui.startMinimizedCheck->text(), u"Start minimizred"_qs);
        QCOMPARE(ui.planGroup->title(), u"Auto fill from plan ( please select plan from list bellow )"_qs);
        QCOMPARE(ui.ignoredGroup->title(), u"IP Adresses to exclude from count( eg. www.direcway.example - 203.0.113.10 )"_qs);
        QVERIFY(ui.offPeakGroup->title().isEmpty());
        // What a first start shows, with no settings file.
        QCOMPARE(ui.rechargeRateEdit->text(), u"4"_qs);
        QCOMPARE(ui.cutOffLimitEdit->text(), u"92.3999996185303"_qs);
        QCOMPARE(ui.throttleLimitEdit->text(), u"61.5999994277954"_qs);
        QCOMPARE(ui.offPeakCutOffLimitEdit->text(), u"255"_qs);
        QCOMPARE(ui.cumulativeDownloadEdit->text(), u"0"_qs);
        QCOMPARE(ui.offPeakStartPicker->time(), QTime(0, 0));
        QCOMPARE(ui.offPeakEndPicker->time(), QTime(0, 0));
        QCOMPARE(ui.pingHostEdit->text(), AppSettings::defaultPingHost);
        QCOMPARE(ui.pingTimeoutEdit->text(), u"10"_qs);
        QCOMPARE(ui.pingTtlEdit->text(), u"64"_qs);
        QCOMPARE(ui.pingPacketSizeEdit->text(), u"32"_qs);
        QCOMPARE(ui.opacitySlider->value(), 255);
        QVERIFY(ui.graphicTrayRadio->isChecked());
        QVERIFY(!ui.textTrayRadio->isChecked());
        QCOMPARE(ui.chartHistorySpin->text(), u"60"_qs);
        QVERIFY(ui.useAll192Check->isChecked());
        QVERIFY(ui.showAtStartCheck->isChecked());
        QVERIFY(!ui.offPeakCheck->isChecked());
        QVERIFY(!ui.offPeakGroup->isEnabled());
        for (const QLineEdit *box : ui.lanAddressBoxes)
            QCOMPARE(box->maxLength(), 3);
        QVERIFY(ui.alertsEnabledCheck->isChecked());
        QCOMPARE(ui.alertStepsEdit->text(), u"75,90"_qs);
        QCOMPARE(ui.alertWarnMinutesSpin->text(), u"10"_qs);
    }

    void decimalsFollowTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        OptionsWindow window;
        showDefaults(window);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(window.ui.cutOffLimitEdit->text(), u"92,3999996185303"_qs);
    }

    // Under a locale with digits of its own the boxes show ASCII digits and read both kinds: the
    // history of 60 s is not taken back as 0.
    void localeDigitsReadBack()
    {
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
        OptionsWindow window;
        showDefaults(window);
        AppSettings taken;
        taken.chartHistorySeconds = -1;
        window.takeSettings(taken);
        const QString shown = window.ui.chartHistorySpin->text();
        window.ui.chartHistorySpin->findChild<QLineEdit *>()->setText(u"\u0669\u0660"_qs); // typed: 90
        AppSettings typed;
        window.takeSettings(typed);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(shown, u"60"_qs);
        QCOMPARE(taken.chartHistorySeconds, 60);
        QCOMPARE(typed.chartHistorySeconds, 90);
    }

    // A row unselected with Ctrl+click stays the current row but is no choice.
    void deselectedAdapterIsNoChoice()
    {
        OptionsWindow window;
        window.setAdapters({u"No description available (eth0)"_qs, u"No description available (lo)"_qs});
        showDefaults(window);
        window.showMaximised();
        QListWidget *adapters = window.ui.adapterList;
        const QPoint second = adapters->visualItemRect(adapters->item(1)).center();
        QTest::mouseClick(adapters->viewport(), Qt::LeftButton, {}, second);
        QCOMPARE(window.selectedAdapter(), 1);
        QTest::mouseClick(adapters->viewport(), Qt::LeftButton, Qt::ControlModifier, second);
        QCOMPARE(adapters->currentRow(), 1);
        QCOMPARE(window.selectedAdapter(), -1);
    }

    // A plan list that cannot show the stored row (a damaged or missing "plans.ini") keeps it.
    void storedPlanSurvivesAnEmptyList()
    {
        OptionsWindow window;
        AppSettings settings;
        settings.planIndex = 3;
        window.setPlans({});
        window.showSettings(settings);
        window.takeSettings(settings);
        QCOMPARE(settings.planIndex, 3);
        window.setPlans({u"A"_qs, u"B"_qs});
        window.ui.planList->setCurrentIndex(1);
        window.takeSettings(settings);
        QCOMPARE(settings.planIndex, 1);
    }

    // What the user types on "Alerts" is taken as the settings file would read it.
    void alertsTab_data()
    {
        QTest::addColumn<QString>("typedSteps");
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<QString>("shownSteps");
        QTest::newRow("sorted, repeats dropped") << u"90, 50,90"_qs << QList<int>{50, 90} << u"50,90"_qs;
        QTest::newRow("none") << QString() << QList<int>{} << QString();
        QTest::newRow("a step out of range: the defaults") << u"0,50"_qs << QList<int>{75, 90} << u"75,90"_qs;
        QTest::newRow("an empty step: the defaults") << u"50,,60"_qs << QList<int>{75, 90} << u"75,90"_qs;
    }
    void alertsTab()
    {
        QFETCH(QString, typedSteps);
        QFETCH(QList<int>, steps);
        QFETCH(QString, shownSteps);
        OptionsWindow window;
        showDefaults(window);
        OptionsControls &ui = window.ui;
        window.showMaximised();
        ui.tabs->setCurrentIndex(3);
        ui.alertStepsEdit->clear();
        QTest::keyClicks(ui.alertStepsEdit, typedSteps + u"%x"_qs); // the box takes digits, commas and blanks
        ui.alertWarnMinutesSpin->setValue(0);
        QCOMPARE(ui.alertWarnMinutesSpin->text(), u"never"_qs);
        QTest::mouseClick(ui.alertsEnabledCheck, Qt::LeftButton, {}, QPoint(8, ui.alertsEnabledCheck->height() / 2));
        QVERIFY(!ui.alertsGroup->isEnabled());
        AppSettings taken;
        window.takeSettings(taken);
        QCOMPARE(taken.alerts.enabled, false);
        QCOMPARE(taken.alerts.stepsPercent, steps);
        QCOMPARE(taken.alerts.warnMinutes, 0);
        QCOMPARE(ui.alertStepsEdit->text(), shownSteps);
    }

    void offPeakGroupFollowsItsBox()
    {
        OptionsWindow window;
        showDefaults(window);
        OptionsControls &ui = window.ui;
        window.showMaximised();
        ui.tabs->setCurrentIndex(1);
        ui.offPeakCutOffLimitEdit->setText(u"300"_qs);
        QTest::mouseClick(ui.offPeakCheck, Qt::LeftButton);
        QVERIFY(ui.offPeakCheck->isChecked());
        QVERIFY(ui.offPeakGroup->isEnabled());
        QTest::keyClick(ui.offPeakCheck, Qt::Key_Space);
        QVERIFY(!ui.offPeakCheck->isChecked());
        QVERIFY(!ui.offPeakGroup->isEnabled());
        QVERIFY(ui.offPeakCheck->isEnabled());
        QTest::keyClick(ui.offPeakCheck, Qt::Key_Space);
        QVERIFY(ui.offPeakGroup->isEnabled());
        QCOMPARE(ui.offPeakCutOffLimitEdit->text(), u"300"_qs);
    }

    // Every control of every tab inside the top-left 536 x 466 pixels, none squeezed below the
    // size its text needs; the frame cannot be resized.
    void controlsFitTheClientArea()
    {
        OptionsWindow window;
        showDefaults(window);
        window.showMaximised();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        const QRect clientArea(0, 0, 536, 466);
        for (int tab = 0; tab < window.ui.tabs->count(); ++tab) {
            window.ui.tabs->setCurrentIndex(tab);
            for (QWidget *control : window.findChildren<QWidget *>()) {
                if (!control->isVisible() || control->objectName().startsWith(u"qt_"_qs))
                    continue;
                const QRect at(control->mapTo(&window, QPoint(0, 0)), control->size());
                const QString name =
                    QLatin1String(control->metaObject()->className()) + u" "_qs + control->objectName();
                QVERIFY2(clientArea.contains(at), qPrintable(name));
                const QSize needed = control->minimumSizeHint();
                // The tab control asks for a frame its pages do not have.
                if (control == window.ui.tabs || control == window.ui.tabs->parentWidget())
                    continue;
                QVERIFY2(control->width() >= needed.width() && control->height() >= needed.height(), qPrintable(name));
            }
        }
        // Only "Ok", "Cancel" and the glyph buttons use the small font.
        QCOMPARE(window.ui.maxButton->font().pixelSize(), 13);
        QCOMPARE(window.ui.showPublicAddressButton->font().pixelSize(), 13);
        QCOMPARE(window.ui.okButton->font().pixelSize(), 11);
        QCOMPARE(window.ui.addLanButton->font().pixelSize(), 11);
    }

    void reportsTheUsersActions()
    {
        OptionsWindow window;
        showDefaults(window);
        window.showMaximised();
        QSignalSpy confirmed(&window, &OptionsWindow::confirmRequested);
        QSignalSpy cancelled(&window, &OptionsWindow::cancelRequested);
        QSignalSpy closed(&window, &OptionsWindow::closed);
        QTest::mouseClick(window.ui.okButton, Qt::LeftButton);
        QTest::mouseClick(window.ui.cancelButton, Qt::LeftButton);
        QCOMPARE(confirmed.size(), 1);
        QCOMPARE(cancelled.size(), 1);
        QVERIFY(window.isVisible()); // the controller decides what either means
        QVERIFY(closed.isEmpty());
        window.close();
        QCOMPARE(closed.size(), 1);
    }
};

QTEST_MAIN(TestOptionsWindow)
#include "tst_optionswindow.moc"
