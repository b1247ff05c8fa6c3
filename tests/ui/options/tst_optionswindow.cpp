#include "settings/appsettings.h"
#include "settings/plans.h"
#include "support/controls.h"
#include "translations/languages.h"
#include "ui/options/lenientspinbox.h"
#include "ui/options/optionswindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QScreen>
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

using namespace Qt::StringLiterals;

namespace {

// What the controller puts into the window at a first start.
void showDefaults(OptionsWindow &window)
{
    window.showSettings(AppSettings{});
    window.showUsedBytes(0);
}

// One setting of one tab: how a row changes it and how the test reads it.
struct SettingRow
{
    const char *name;
    void (*change)(AppSettings &);
    QVariant (*value)(const AppSettings &);
};

// The time of day only: the day is the one of the settings taken into.
QVariant timeOf(double dateTime)
{
    return timeOfDay(dateTime);
}

const SettingRow settingRows[] = {
    {"Network settings: 192.168.*.* as LAN", [](AppSettings &s) { s.useAll192168 = false; },
     [](const AppSettings &s) { return QVariant(s.useAll192168.load()); }},
    {"Network settings: the adapter's IPv6 networks as LAN", [](AppSettings &s) { s.useAdapterIpv6 = false; },
     [](const AppSettings &s) { return QVariant(s.useAdapterIpv6.load()); }},
    {"Direcway settings: plan", [](AppSettings &s) { s.planIndex = 2; },
     [](const AppSettings &s) { return QVariant(s.planIndex); }},
    {"Direcway settings: recharge rate", [](AppSettings &s) { s.fap.rechargeRate = 8192; },
     [](const AppSettings &s) { return QVariant(s.fap.rechargeRate); }},
    {"Direcway settings: cut-off limit", [](AppSettings &s) { s.fap.cutOffLimit = 209715200; },
     [](const AppSettings &s) { return QVariant(s.fap.cutOffLimit); }},
    {"Direcway settings: throttle limit", [](AppSettings &s) { s.fap.throttleLimit = 52428800; },
     [](const AppSettings &s) { return QVariant(s.fap.throttleLimit); }},
    {"Direcway settings: off-peak", [](AppSettings &s) { s.fap.offPeakEnabled = true; },
     [](const AppSettings &s) { return QVariant(s.fap.offPeakEnabled); }},
    {"Direcway settings: off-peak cut-off limit", [](AppSettings &s) { s.fap.offPeakCutOffLimit = 315097088; },
     [](const AppSettings &s) { return QVariant(s.fap.offPeakCutOffLimit); }},
    {"Direcway settings: off-peak start", [](AppSettings &s) { s.fap.offPeakStart = 37894.25; },
     [](const AppSettings &s) { return timeOf(s.fap.offPeakStart); }},
    {"Direcway settings: off-peak end", [](AppSettings &s) { s.fap.offPeakEnd = 0.75; },
     [](const AppSettings &s) { return timeOf(s.fap.offPeakEnd); }},
    {"Cosmetic and others: ping host", [](AppSettings &s) { s.pingHost = u"localhost"_qs; },
     [](const AppSettings &s) { return QVariant(s.pingHost); }},
    {"Cosmetic and others: ping timeout", [](AppSettings &s) { s.pingTimeoutMs = 3000; },
     [](const AppSettings &s) { return QVariant(s.pingTimeoutMs); }},
    {"Cosmetic and others: ping TTL", [](AppSettings &s) { s.pingTtl = 128; },
     [](const AppSettings &s) { return QVariant(s.pingTtl); }},
    {"Cosmetic and others: ping packet size", [](AppSettings &s) { s.pingPacketSize = 1000; },
     [](const AppSettings &s) { return QVariant(s.pingPacketSize); }},
    {"Cosmetic and others: opacity", [](AppSettings &s) { s.windowOpacity = 200; },
     [](const AppSettings &s) { return QVariant(s.windowOpacity); }},
    {"Cosmetic and others: tray icon", [](AppSettings &s) { s.trayStyle = TrayStyle::Text; },
     [](const AppSettings &s) { return QVariant(int(s.trayStyle)); }},
    {"Cosmetic and others: chart history", [](AppSettings &s) { s.chartHistorySeconds = 90; },
     [](const AppSettings &s) { return QVariant(s.chartHistorySeconds); }},
    {"Cosmetic and others: chart auto scale", [](AppSettings &s) { s.chartAutoScale = true; },
     [](const AppSettings &s) { return QVariant(s.chartAutoScale); }},
    {"Cosmetic and others: auto start", [](AppSettings &s) { s.autoStart = true; },
     [](const AppSettings &s) { return QVariant(s.autoStart); }},
    {"Cosmetic and others: always on top", [](AppSettings &s) { s.alwaysOnTop = true; },
     [](const AppSettings &s) { return QVariant(s.alwaysOnTop); }},
    {"Cosmetic and others: start minimised", [](AppSettings &s) { s.startMinimized = true; },
     [](const AppSettings &s) { return QVariant(s.startMinimized); }},
    {"Alerts: notifications", [](AppSettings &s) { s.alerts.enabled = false; },
     [](const AppSettings &s) { return QVariant(s.alerts.enabled); }},
    {"Alerts: steps", [](AppSettings &s) { s.alerts.stepsPercent = {50}; },
     [](const AppSettings &s) { return QVariant::fromValue(s.alerts.stepsPercent); }},
    {"Alerts: warning minutes", [](AppSettings &s) { s.alerts.warnMinutes = 0; },
     [](const AppSettings &s) { return QVariant(s.alerts.warnMinutes); }},
    {"Alerts: metered switch", [](AppSettings &s) { s.alerts.markMetered = true; },
     [](const AppSettings &s) { return QVariant(s.alerts.markMetered); }},
    {"Alerts: metered step", [](AppSettings &s) { s.alerts.meteredPercent = 75; },
     [](const AppSettings &s) { return QVariant(s.alerts.meteredPercent); }},
    {"Alerts: command", [](AppSettings &s) { s.alerts.command = u"notify \"over the step\""_qs; },
     [](const AppSettings &s) { return QVariant(s.alerts.command); }},
    {"below the tabs: show at start", [](AppSettings &s) { s.showOptionsAtStart = false; },
     [](const AppSettings &s) { return QVariant(s.showOptionsAtStart); }},
};

} // namespace

// The options window on its own: its controls, and what it reports. What the program does with
// a confirmation is tested in tests/app.
class TestOptionsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // In the language of the locale the test runs in (English under C).
    void initTestCase() { Languages::install(*QCoreApplication::instance()); }

    // Spelt right, and saying what happens on Linux.
    void captions_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("caption");
        auto row = [](const char *control, const char *caption) {
            QTest::newRow(control) << QString::fromLatin1(control) << QString::fromLatin1(caption);
        };
        row("addLanButton", "Add new IP");
        row("addIgnoredButton", "Add new IP");
        row("addPublicAddressButton", "Add my public IP");
        row("startMinimizedCheck", "Start minimized");
        row("autoStartCheck", "Start Tarvo when I log in");
        row("adapterGroup", "Please select the device corresponding to your Direcway connection from the list below");
        row("planGroup", "Auto fill from plan ( please select plan from list below )");
        row("ignoredGroup", "IP Addresses to exclude from count ( e.g. www.direcway.example - 203.0.113.10 )");
        row("opacityGroup", "Window transparency ( needs a desktop that composites its windows )");
    }
    void captions()
    {
        QFETCH(QString, control);
        QFETCH(QString, caption);
        OptionsWindow window;
        const QWidget *shown = findControl<QWidget>(window, qPrintable(control));
        if (const auto *group = qobject_cast<const QGroupBox *>(shown))
            QCOMPARE(group->title(), caption);
        else
            QCOMPARE(qobject_cast<const QAbstractButton *>(shown)->text(), caption);
    }

    void captionsAndDefaults()
    {
        OptionsWindow window;
        showDefaults(window);
        QCOMPARE(window.windowTitle(), u"Tarvo - Options"_qs);
        const auto *tabs = findControl<QTabWidget>(window, "tabs");
        QCOMPARE(tabs->count(), 4);
        QCOMPARE(tabs->tabText(0), u"Network settings"_qs);
        QCOMPARE(tabs->tabText(1), u"Direcway settings"_qs);
        QCOMPARE(tabs->tabText(2), u"Cosmetic and others"_qs);
        QCOMPARE(tabs->tabText(3), u"Alerts"_qs);
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(findControl<QGroupBox>(window, "offPeakGroup")->title().isEmpty());
        // What a first start shows, with no settings file.
        QCOMPARE(findControl<QLineEdit>(window, "rechargeRateEdit")->text(), u"4"_qs);
        // The fewest digits that read back to the same bytes, not the float's noise.
        QCOMPARE(findControl<QLineEdit>(window, "cutOffLimitEdit")->text(), u"92.4"_qs);
        QCOMPARE(findControl<QLineEdit>(window, "throttleLimitEdit")->text(), u"61.6"_qs);
        QCOMPARE(findControl<QLineEdit>(window, "offPeakCutOffLimitEdit")->text(), u"255"_qs);
        QCOMPARE(findControl<QLineEdit>(window, "cumulativeDownloadEdit")->text(), u"0"_qs);
        QCOMPARE(findControl<QTimeEdit>(window, "offPeakStartPicker")->time(), QTime(0, 0));
        QCOMPARE(findControl<QTimeEdit>(window, "offPeakEndPicker")->time(), QTime(0, 0));
        QCOMPARE(findControl<QLineEdit>(window, "pingHostEdit")->text(), AppSettings::defaultPingHost);
        QCOMPARE(findControl<QLineEdit>(window, "pingTimeoutEdit")->text(), u"10"_qs);
        QCOMPARE(findControl<QLineEdit>(window, "pingTtlEdit")->text(), u"64"_qs);
        QCOMPARE(findControl<QLineEdit>(window, "pingPacketSizeEdit")->text(), u"32"_qs);
        QCOMPARE(findControl<QSlider>(window, "opacitySlider")->value(), 255);
        QVERIFY(findControl<QRadioButton>(window, "graphicTrayRadio")->isChecked());
        QVERIFY(!findControl<QRadioButton>(window, "textTrayRadio")->isChecked());
        QCOMPARE(findControl<LenientSpinBox>(window, "chartHistorySpin")->text(), u"60"_qs);
        QVERIFY(findControl<QCheckBox>(window, "useAll192Check")->isChecked());
        QVERIFY(findControl<QCheckBox>(window, "showAtStartCheck")->isChecked());
        QVERIFY(!findControl<QCheckBox>(window, "offPeakCheck")->isChecked());
        QVERIFY(!findControl<QGroupBox>(window, "offPeakGroup")->isEnabled());
        for (const char *box : {"lanAddressBox1", "lanAddressBox2", "lanAddressBox3", "lanAddressBox4"})
            QCOMPARE(findControl<QLineEdit>(window, box)->maxLength(), 3);
        QVERIFY(findControl<QCheckBox>(window, "alertsEnabledCheck")->isChecked());
        QCOMPARE(findControl<QLineEdit>(window, "alertStepsEdit")->text(), u"75,90"_qs);
        QCOMPARE(findControl<QSpinBox>(window, "alertWarnMinutesSpin")->text(), u"10"_qs);
    }

    void decimalsFollowTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        OptionsWindow window;
        showDefaults(window);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(findControl<QLineEdit>(window, "cutOffLimitEdit")->text(), u"92,4"_qs);
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
        QCOMPARE(window.readSettings(taken).stop, OptionsReadBack::Stop::None);
        auto *history = findControl<LenientSpinBox>(window, "chartHistorySpin");
        const QString shown = history->text();
        history->findChild<QLineEdit *>()->setText(u"\u0669\u0660"_qs); // typed: 90
        AppSettings typed;
        QCOMPARE(window.readSettings(typed).stop, OptionsReadBack::Stop::None);
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
        window.present();
        QListWidget *adapters = findControl<QListWidget>(window, "adapterList");
        const QPoint second = adapters->visualItemRect(adapters->item(1)).center();
        QTest::mouseClick(adapters->viewport(), Qt::LeftButton, {}, second);
        QCOMPARE(window.selectedAdapter(), 1);
        QTest::mouseClick(adapters->viewport(), Qt::LeftButton, Qt::ControlModifier, second);
        QCOMPARE(adapters->currentRow(), 1);
        QCOMPARE(window.selectedAdapter(), -1);
    }

    // Typing over a plan's values leaves the plan list naming none, and the choice goes with it;
    // the bucket's box is no plan value.
    void typingOverAPlanNamesNone_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("planIndex");
        QTest::newRow("recharge") << u"rechargeRateEdit"_qs << -1;
        QTest::newRow("cut-off limit") << u"cutOffLimitEdit"_qs << -1;
        QTest::newRow("throttle limit") << u"throttleLimitEdit"_qs << -1;
        QTest::newRow("bucket") << u"cumulativeDownloadEdit"_qs << 1;
    }
    void typingOverAPlanNamesNone()
    {
        QFETCH(QString, box);
        QFETCH(int, planIndex);
        OptionsWindow window;
        window.setPlans({u"A"_qs, u"B"_qs});
        AppSettings settings;
        settings.planIndex = 1;
        window.showSettings(settings);
        window.showUsedBytes(0);
        window.showPlan(Plan{1, u"B"_qs, u"4"_qs, u"90"_qs, u"60"_qs}); // filled by a program, not typed
        QCOMPARE(findControl<QComboBox>(window, "planList")->currentIndex(), 1);
        window.findChild<QLineEdit *>(box)->selectAll();
        QTest::keyClicks(window.findChild<QLineEdit *>(box), u"70"_qs);
        QCOMPARE(findControl<QComboBox>(window, "planList")->currentIndex(), planIndex);
        QCOMPARE(window.readSettings(settings).stop, OptionsReadBack::Stop::None);
        QCOMPARE(settings.planIndex, planIndex);
    }

    // A plan list that cannot show the stored row (a damaged or missing "plans.ini") keeps it.
    void storedPlanSurvivesAnEmptyList()
    {
        OptionsWindow window;
        AppSettings settings;
        settings.planIndex = 3;
        window.setPlans({});
        window.showSettings(settings);
        window.showUsedBytes(0);
        QCOMPARE(window.readSettings(settings).stop, OptionsReadBack::Stop::None);
        QCOMPARE(settings.planIndex, 3);
        window.setPlans({u"A"_qs, u"B"_qs});
        findControl<QComboBox>(window, "planList")->setCurrentIndex(1);
        QCOMPARE(window.readSettings(settings).stop, OptionsReadBack::Stop::None);
        QCOMPARE(settings.planIndex, 1);
    }

    // The one road of every setting: what showSettings puts into a tab, readSettings takes back
    // into the same setting. Each row changes one setting away from its default.
    void everySettingRoundTrips_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(settingRows)); ++row)
            QTest::newRow(settingRows[row].name) << row;
    }
    void everySettingRoundTrips()
    {
        QFETCH(int, row);
        const SettingRow &setting = settingRows[row];
        OptionsWindow window;
        window.setPlans({u"A"_qs, u"B"_qs, u"C"_qs});
        AppSettings shown;
        setting.change(shown);
        QVERIFY(setting.value(shown) != setting.value(AppSettings{})); // the row changes something
        window.showSettings(shown);
        window.showUsedBytes(0);
        AppSettings taken;
        QCOMPARE(window.readSettings(taken).stop, OptionsReadBack::Stop::None);
        QCOMPARE(setting.value(taken), setting.value(shown));
    }

    // What the user types on "Alerts" is taken as the settings file would read it.
    void alertsTab_data()
    {
        QTest::addColumn<QString>("typedSteps");
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<QString>("shownSteps");
        QTest::addColumn<bool>("refused");
        QTest::newRow("sorted, repeats dropped") << u"90, 50,90"_qs << QList<int>{50, 90} << u"50,90"_qs << false;
        QTest::newRow("none") << QString() << QList<int>{} << QString() << false;
        // Refused, not replaced: no setting changes, the box keeps what was typed.
        QTest::newRow("a step out of range: refused") << u"0,50"_qs << QList<int>{75, 90} << u"0,50"_qs << true;
        QTest::newRow("an empty step: refused") << u"50,,60"_qs << QList<int>{75, 90} << u"50,,60"_qs << true;
    }
    void alertsTab()
    {
        QFETCH(QString, typedSteps);
        QFETCH(QList<int>, steps);
        QFETCH(QString, shownSteps);
        QFETCH(bool, refused);
        OptionsWindow window;
        showDefaults(window);
        window.present();
        auto *stepsBox = findControl<QLineEdit>(window, "alertStepsEdit");
        auto *warnMinutes = findControl<QSpinBox>(window, "alertWarnMinutesSpin");
        auto *enabled = findControl<QCheckBox>(window, "alertsEnabledCheck");
        findControl<QTabWidget>(window, "tabs")->setCurrentIndex(3);
        stepsBox->clear();
        QTest::keyClicks(stepsBox, typedSteps + u"%x"_qs); // the box takes digits, commas and blanks
        warnMinutes->setValue(0);
        QCOMPARE(warnMinutes->text(), u"never"_qs);
        QTest::mouseClick(enabled, Qt::LeftButton, {}, QPoint(8, enabled->height() / 2));
        QVERIFY(!findControl<QGroupBox>(window, "alertsGroup")->isEnabled());
        AppSettings taken;
        const OptionsReadBack readBack = window.readSettings(taken);
        QCOMPARE(readBack.stop, refused ? OptionsReadBack::Stop::NotANumber : OptionsReadBack::Stop::None);
        QCOMPARE(readBack.box, refused ? OptionBox::AlertSteps : OptionBox::None);
        QCOMPARE(taken.alerts.enabled, refused);
        QCOMPARE(taken.alerts.stepsPercent, steps);
        QCOMPARE(taken.alerts.warnMinutes, refused ? AppSettings().alerts.warnMinutes : 0);
        QCOMPARE(stepsBox->text(), shownSteps);
    }

    void offPeakGroupFollowsItsBox()
    {
        OptionsWindow window;
        showDefaults(window);
        window.present();
        auto *check = findControl<QCheckBox>(window, "offPeakCheck");
        auto *group = findControl<QGroupBox>(window, "offPeakGroup");
        auto *cutOffLimit = findControl<QLineEdit>(window, "offPeakCutOffLimitEdit");
        findControl<QTabWidget>(window, "tabs")->setCurrentIndex(1);
        cutOffLimit->setText(u"300"_qs);
        QTest::mouseClick(check, Qt::LeftButton);
        QVERIFY(check->isChecked());
        QVERIFY(group->isEnabled());
        QTest::keyClick(check, Qt::Key_Space);
        QVERIFY(!check->isChecked());
        QVERIFY(!group->isEnabled());
        QVERIFY(check->isEnabled());
        QTest::keyClick(check, Qt::Key_Space);
        QVERIFY(group->isEnabled());
        QCOMPARE(cutOffLimit->text(), u"300"_qs);
    }

    // Every control of every tab inside the top-left 536 x 466 pixels, none squeezed below the
    // size its text needs; the frame cannot be resized.
    void controlsFitTheClientArea()
    {
        OptionsWindow window;
        showDefaults(window);
        window.present();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        const QRect clientArea(0, 0, 536, 466);
        auto *tabs = findControl<QTabWidget>(window, "tabs");
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            for (QWidget *widget : window.findChildren<QWidget *>()) {
                if (!widget->isVisible() || widget->objectName().startsWith(u"qt_"_qs))
                    continue;
                const QRect at(widget->mapTo(&window, QPoint(0, 0)), widget->size());
                const QString name =
                    QLatin1String(widget->metaObject()->className()) + u" "_qs + widget->objectName();
                QVERIFY2(clientArea.contains(at), qPrintable(name));
                const QSize needed = widget->minimumSizeHint();
                // The tab control asks for a frame its pages do not have.
                if (widget == tabs || widget == tabs->parentWidget())
                    continue;
                QVERIFY2(widget->width() >= needed.width() && widget->height() >= needed.height(), qPrintable(name));
            }
        }
        // Only "Ok", "Cancel" and the glyph buttons use the small font.
        QCOMPARE(findControl<QPushButton>(window, "maxButton")->font().pixelSize(), 13);
        QCOMPARE(findControl<QPushButton>(window, "showPublicAddressButton")->font().pixelSize(), 13);
        QCOMPARE(findControl<QPushButton>(window, "okButton")->font().pixelSize(), 11);
        QCOMPARE(findControl<QPushButton>(window, "addLanButton")->font().pixelSize(), 11);
    }

    // As a dialog: Enter is "Ok" wherever the focus is, unless it is on a button, which Enter
    // presses; Escape is "Cancel".
    void enterAndEscape_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("confirms");
        QTest::addColumn<int>("cancels");
        QTest::addColumn<int>("lanAdds"); // "Add new IP" pressed instead
        QTest::newRow("Return in a box") << 1 << u"rechargeRateEdit"_s << int(Qt::Key_Return) << 1 << 0 << 0;
        QTest::newRow("Enter in a box") << 1 << u"cutOffLimitEdit"_s << int(Qt::Key_Enter) << 1 << 0 << 0;
        QTest::newRow("Return in the adapter list") << 0 << u"adapterList"_s << int(Qt::Key_Return) << 1 << 0 << 0;
        QTest::newRow("Return on a check box") << 2 << u"alwaysOnTopCheck"_s << int(Qt::Key_Return) << 1 << 0 << 0;
        QTest::newRow("Return in a spin box") << 2 << u"chartHistorySpin"_s << int(Qt::Key_Return) << 1 << 0 << 0;
        QTest::newRow("Return on Add new IP") << 0 << u"addLanButton"_s << int(Qt::Key_Return) << 0 << 0 << 1;
        QTest::newRow("Escape in a box") << 1 << u"throttleLimitEdit"_s << int(Qt::Key_Escape) << 0 << 1 << 0;
        QTest::newRow("Escape in the adapter list") << 0 << u"adapterList"_s << int(Qt::Key_Escape) << 0 << 1 << 0;
        QTest::newRow("Escape on a button") << 0 << u"addLanButton"_s << int(Qt::Key_Escape) << 0 << 1 << 0;
    }
    void enterAndEscape()
    {
        QFETCH(int, tab);
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(int, confirms);
        QFETCH(int, cancels);
        QFETCH(int, lanAdds);
        OptionsWindow window;
        window.setAdapters({u"Loopback (lo)"_s});
        showDefaults(window);
        window.present();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        findControl<QTabWidget>(window, "tabs")->setCurrentIndex(tab);
        for (int i = 0; i < 4; ++i)
            findControl<QLineEdit>(window, qPrintable(u"lanAddressBox%1"_s.arg(i + 1)))->setText(u"127"_s);
        QSignalSpy confirmed(&window, &OptionsWindow::confirmRequested);
        QSignalSpy cancelled(&window, &OptionsWindow::cancelRequested);
        QSignalSpy added(&window, &OptionsWindow::lanAddressAdded);
        QWidget *focused = findControl<QWidget>(window, qPrintable(focus));
        focused->setFocus();
        QCOMPARE(QApplication::focusWidget(), focused);
        QTest::keyClick(focused, Qt::Key(key));
        QCOMPARE(confirmed.size(), confirms);
        QCOMPARE(cancelled.size(), cancels);
        QCOMPARE(added.size(), lanAdds);
    }

    // Its own size, not the screen's, and on the screen frame and all, at any resolution.
    void sizeAndPlace()
    {
        OptionsWindow window;
        showDefaults(window);
        window.present();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.isMaximized());
        QCOMPARE(window.size(), QSize(536, 466));
        const QRect workArea = window.screen()->availableGeometry();
        QVERIFY(workArea.size() != window.size());
        QVERIFY2(workArea.contains(window.frameGeometry()), qPrintable(u"%1,%2"_s.arg(window.x()).arg(window.y())));
        // Shown again, it stays where the user put it.
        window.hide();
        window.move(workArea.topLeft() + QPoint(10, 20));
        window.present();
        QCOMPARE(window.pos(), workArea.topLeft() + QPoint(10, 20));
    }

    void reportsTheUsersActions()
    {
        OptionsWindow window;
        showDefaults(window);
        window.present();
        QSignalSpy confirmed(&window, &OptionsWindow::confirmRequested);
        QSignalSpy cancelled(&window, &OptionsWindow::cancelRequested);
        QSignalSpy closed(&window, &OptionsWindow::closed);
        QTest::mouseClick(findControl<QPushButton>(window, "okButton"), Qt::LeftButton);
        QTest::mouseClick(findControl<QPushButton>(window, "cancelButton"), Qt::LeftButton);
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
