#include "settings/appsettings.h"
#include "ui/options/lenientspinbox.h"
#include "ui/options/optionswindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
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
        QCOMPARE(ui.tabs->count(), 3);
        QCOMPARE(ui.tabs->tabText(0), u"Network settings"_qs);
        QCOMPARE(ui.tabs->tabText(1), u"Direcway settings"_qs);
        QCOMPARE(ui.tabs->tabText(2), u"Cosmetic and others"_qs);
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
    }

    void decimalsFollowTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        OptionsWindow window;
        showDefaults(window);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(window.ui.cutOffLimitEdit->text(), u"92,3999996185303"_qs);
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
