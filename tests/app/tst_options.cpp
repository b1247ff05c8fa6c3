#include "app/program.h"
#include "capture/adapters.h"
#include "meter/oledate.h"
#include "net/publicaddresslookup.h"
#include "platform/dialogs.h"
#include "settings/profile.h"
#include "support/adapterrows.h"
#include "support/controls.h"
#include "support/filefixtures.h"
#include "support/localhttpserver.h"
#include "translations/languages.h"
#include "ui/common/weblinks.h"
#include "ui/monitor/trayindicator.h"
#include "ui/options/lenientspinbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include <array>
#include <tuple>

namespace {

enum class Which { Lan, Excluded };

// One address list of the "Network settings" tab with its four boxes and its two buttons.
struct AddressEditor
{
    QListWidget *list = nullptr;
    std::array<QLineEdit *, 4> boxes{};
    QPushButton *add = nullptr;
    QPushButton *remove = nullptr;
};

AddressEditor editorOf(const OptionsWindow &options, Which which)
{
    const bool lan = which == Which::Lan;
    AddressEditor editor{findControl<QListWidget>(options, lan ? "lanAddressList" : "ignoredAddressList"), {},
                         findControl<QPushButton>(options, lan ? "addLanButton" : "addIgnoredButton"),
                         findControl<QPushButton>(options, lan ? "deleteLanButton" : "deleteIgnoredButton")};
    const QString boxName = lan ? u"lanAddressBox%1"_qs : u"ignoredAddressBox%1"_qs;
    for (size_t i = 0; i < editor.boxes.size(); ++i)
        editor.boxes[i] = findControl<QLineEdit>(options, boxName.arg(i + 1));
    return editor;
}

LiveAddressList &listOf(Controller &controller, Which which)
{
    AppSettings &settings = controller.session().settings();
    return which == Which::Lan ? settings.lanAddresses : settings.ignoredAddresses;
}

QStringList rows(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

QStringList boxTexts(const AddressEditor &editor)
{
    QStringList texts;
    for (const QLineEdit *box : editor.boxes)
        texts.append(box->text());
    return texts;
}

void typeInto(QLineEdit *box, const QString &text)
{
    box->clear();
    QTest::keyClicks(box, text);
}

// "127.0.0.1:port" where nothing listens any more: a connection there is refused.
QString closedPortHost()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return u"127.0.0.1:%1"_qs.arg(probe.serverPort());
}

// Counts the paint events a widget receives.
struct PaintCounter : QObject
{
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::Paint;
        return false;
    }
    int count = 0;
};

} // namespace

Q_DECLARE_METATYPE(Which)

class TestOptions : public QObject
{
    Q_OBJECT

private:
    QList<Dialogs::Request> shown;
    std::unique_ptr<QTemporaryDir> dir;

    QString iniPath() const { return dir->filePath(u"tarvo.ini"_qs); }

    // A folder of the test's own whose settings file holds `ini`; by default only a last-use
    // time, so the start shows no message.
    ProgramEnvironment environment(const QByteArray &ini = "[System]\nlastshut=46366.25\n")
    {
        writeBytes(iniPath(), ini);
        return ProgramEnvironment{dir->path() + u'/', [] { return oleDateToDateTime(46366.25); }};
    }

    QByteArray iniBytes() const { return fileBytes(iniPath()); }

private Q_SLOTS:
    // In the language of the locale the test runs in: English under C, German for
    // LC_ALL=de_DE.UTF-8 scripts/render-options.
    void initTestCase() { Languages::install(*QCoreApplication::instance()); }

    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        shown.clear();
        Dialogs::setHandler([this](const Dialogs::Request &request) {
            shown.append(request);
            return QMessageBox::Ok;
        });
    }
    void cleanup()
    {
        Dialogs::setHandler({});
        qunsetenv("TARVO_PUBLIC_ADDRESS_HOST");
    }

    void addAddress_data()
    {
        QTest::addColumn<Which>("which");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("boxesAfter");
        // The IPv6 box beside the four: taken before them, kept in the lists' form, a bad entry
        // named at the box and kept there to be mended.
        QTest::addColumn<QString>("typed6");
        QTest::addColumn<QString>("box6After");
        QTest::addColumn<QString>("message");
        // Four boxes that hold no address: named at the first box, kept to be mended.
        QTest::addColumn<QString>("message4");
        const QString bad = u"\"2001:db8::/129\" is not an IPv6 address or network; write for example 2001:db8:1::7 "
                            u"or 2001:db8:1::/64"_qs;
        const QStringList sevens{u"7"_qs, u"7"_qs, u"7"_qs, u"7"_qs};
        const QStringList empty{QString(), QString(), QString(), QString()};
        for (const Which which : {Which::Lan, Which::Excluded}) {
            const char *list = which == Which::Lan ? "LAN" : "excluded";
            QTest::addRow("%s: added, boxes emptied", list)
                << which << QStringList{u"10.0.0.1"_qs} << QStringList{u"192"_qs, u"168"_qs, u"0"_qs, u"7"_qs}
                << QStringList{u"10.0.0.1"_qs, u"192.168.0.7"_qs} << empty << QString() << QString() << QString() << QString();
            QTest::addRow("%s: the same again adds nothing", list)
                << which << QStringList{u"192.168.0.7"_qs} << QStringList{u"192"_qs, u"168"_qs, u"0"_qs, u"7"_qs}
                << QStringList{u"192.168.0.7"_qs} << QStringList{u"192"_qs, u"168"_qs, u"0"_qs, u"7"_qs} << QString()
                << QString() << QString() << QString();
            QTest::addRow("%s: leading zero", list)
                << which << QStringList() << QStringList{u"010"_qs, u"1"_qs, u"1"_qs, u"1"_qs}
                << QStringList{u"10.1.1.1"_qs} << empty << QString() << QString() << QString() << QString();
            QTest::addRow("%s: leading zero of a listed address is rewritten", list)
                << which << QStringList{u"10.1.1.1"_qs} << QStringList{u"010"_qs, u"1"_qs, u"1"_qs, u"1"_qs}
                << QStringList{u"10.1.1.1"_qs} << QStringList{u"10"_qs, u"1"_qs, u"1"_qs, u"1"_qs} << QString()
                << QString() << QString() << QString();
            QTest::addRow("%s: empty box", list)
                << which << QStringList() << QStringList{u"010"_qs, u"02"_qs, QString(), u"004"_qs} << QStringList()
                << QStringList{u"10"_qs, u"2"_qs, QString(), u"004"_qs} << QString() << QString() << QString()
                << u"\"10.2..004\" is not an IPv4 address: each box takes a whole number from 0 to 255"_qs;
            QTest::addRow("%s: letter", list)
                << which << QStringList() << QStringList{u"1"_qs, u"01"_qs, u"x"_qs, u"4"_qs} << QStringList()
                << QStringList{u"1"_qs, u"1"_qs, u"x"_qs, u"4"_qs} << QString() << QString() << QString()
                << u"\"1.1.x.4\" is not an IPv4 address: each box takes a whole number from 0 to 255"_qs;
            const QStringList nines{u"999"_qs, u"999"_qs, u"999"_qs, u"999"_qs};
            QTest::addRow("%s: above 255", list) << which << QStringList() << nines << QStringList() << nines
                                                  << QString() << QString() << QString() << u"\"999.999.999.999\" is not an IPv4 address: each box takes a whole number from 0 to 255"_qs;
            const QStringList negative{u"-5"_qs, u"1"_qs, u"2"_qs, u"3"_qs};
            QTest::addRow("%s: negative", list) << which << QStringList() << negative << QStringList() << negative
                                                 << QString() << QString() << QString() << u"\"-5.1.2.3\" is not an IPv4 address: each box takes a whole number from 0 to 255"_qs;
            QTest::addRow("%s: IPv6 network", list)
                << which << QStringList{u"10.0.0.1"_qs} << sevens << QStringList{u"10.0.0.1"_qs, u"2001:db8:1::/64"_qs}
                << sevens << u" 2001:DB8:1:0::/64 "_qs << QString() << QString() << QString();
            QTest::addRow("%s: IPv6 address", list) << which << QStringList() << sevens
                                                    << QStringList{u"2001:db8::7"_qs} << sevens << u"2001:db8::0:7"_qs
                                                    << QString() << QString() << QString();
            QTest::addRow("%s: IPv6 listed already", list)
                << which << QStringList{u"2001:db8::7"_qs} << sevens << QStringList{u"2001:db8::7"_qs} << sevens
                << u"2001:db8::7"_qs << u"2001:db8::7"_qs << QString() << QString();
            QTest::addRow("%s: IPv6 prefix too long", list) << which << QStringList() << sevens << QStringList()
                                                            << sevens << u"2001:db8::/129"_qs << u"2001:db8::/129"_qs
                                                            << bad << QString();
            QTest::addRow("%s: IPv4 in the IPv6 box", list)
                << which << QStringList() << sevens << QStringList() << sevens << u"10.0.0.1"_qs << u"10.0.0.1"_qs
                << u"\"10.0.0.1\" is not an IPv6 address or network; write for example 2001:db8:1::7 or "
                   u"2001:db8:1::/64"_qs << QString();
        }
    }
    void addAddress()
    {
        QFETCH(Which, which);
        QFETCH(QStringList, before);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, after);
        QFETCH(QStringList, boxesAfter);
        QFETCH(QString, typed6);
        QFETCH(QString, box6After);
        QFETCH(QString, message);
        QFETCH(QString, message4);
        Program program(environment());
        OptionsWindow &options = program.optionsWindow;
        Controller &controller = program.controller;
        const AddressEditor editor = editorOf(options, which);
        auto *box6 = findControl<QLineEdit>(options, which == Which::Lan ? "lanAddressBox6" : "ignoredAddressBox6");
        for (const QString &address : before) {
            editor.list->addItem(address);
            listOf(controller, which).append(address);
        }
        for (int i = 0; i < 4; ++i)
            typeInto(editor.boxes[i], typed[i]);
        typeInto(box6, typed6);
        QTest::mouseClick(editor.add, Qt::LeftButton);
        QCOMPARE(rows(editor.list), after);
        QCOMPARE(listOf(controller, which).entries(), after);
        QCOMPARE(boxTexts(editor), boxesAfter);
        QCOMPARE(box6->text(), box6After);
        QCOMPARE(box6->toolTip(), message);
        QCOMPARE(editor.boxes[0]->toolTip(), message4);
        QVERIFY(shown.isEmpty());
        // The other list is not looked at.
        QCOMPARE(listOf(controller, which == Which::Lan ? Which::Excluded : Which::Lan).entries(), QStringList());
    }

    void deleteAddress_data()
    {
        QTest::addColumn<Which>("which");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("after");
        const QStringList all{u"10.0.0.1"_qs, u"10.0.0.2"_qs, u"10.0.0.3"_qs, u"10.0.0.4"_qs};
        for (const Which which : {Which::Lan, Which::Excluded}) {
            const char *list = which == Which::Lan ? "LAN" : "excluded";
            QTest::addRow("%s: no selection", list) << which << -1 << all;
            QTest::addRow("%s: third row", list)
                << which << 2 << QStringList{u"10.0.0.1"_qs, u"10.0.0.2"_qs, u"10.0.0.4"_qs};
        }
    }
    void deleteAddress()
    {
        QFETCH(Which, which);
        QFETCH(int, selected);
        QFETCH(QStringList, after);
        Program program(environment());
        OptionsWindow &options = program.optionsWindow;
        Controller &controller = program.controller;
        const AddressEditor editor = editorOf(options, which);
        const QStringList all{u"10.0.0.1"_qs, u"10.0.0.2"_qs, u"10.0.0.3"_qs, u"10.0.0.4"_qs};
        editor.list->addItems(all);
        listOf(controller, which).assign(all);
        editor.list->setCurrentRow(selected);
        QTest::mouseClick(editor.remove, Qt::LeftButton);
        QCOMPARE(rows(editor.list), after);
        QCOMPARE(listOf(controller, which).entries(), after);
    }

    void maxPutsZeroIntoTheBox()
    {
        Program program(environment());
        OptionsWindow &options = program.optionsWindow;
        Controller &controller = program.controller;
        controller.session().meter().setUsedBytes(13107200);
        findControl<QLineEdit>(options, "cumulativeDownloadEdit")->setText(u"12.5"_qs);
        QTest::mouseClick(findControl<QPushButton>(options, "maxButton"), Qt::LeftButton);
        QCOMPARE(findControl<QLineEdit>(options, "cumulativeDownloadEdit")->text(), u"0"_qs);
        QCOMPARE(controller.session().meter().usedBytes(), 13107200); // taken only at Ok
    }

    // A box that cannot be taken refuses the whole Ok: a message names it, the focus goes to it,
    // and nothing changes, not even the boxes read before it or the bucket.
    void badBoxStopsWithAMessage_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("offPeak"); // the off-peak box is typed into only while enabled
        QTest::addColumn<QString>("message");
        const auto must = [](const char *caption, const char *allowed) {
            return QStringLiteral("The value of \"%1\" must be %2.").arg(QLatin1String(caption), QLatin1String(allowed));
        };
        QTest::newRow("cut-off 2048 MB") << u"cutOffLimitEdit"_qs << u"2048"_qs << true
                                         << must("Cut off limit in MB", "0 or more and less than 2048");
        QTest::newRow("throttle negative") << u"throttleLimitEdit"_qs << u"-1"_qs << true
                                           << must("Throttle limit in MB", "0 or more and less than 2048");
        QTest::newRow("off-peak 4096 MB") << u"offPeakCutOffLimitEdit"_qs << u"4096"_qs << true
                                          << must("Off peak cut off limit in MB", "0 or more and less than 2048");
        QTest::newRow("recharge 2097152 KB/s") << u"rechargeRateEdit"_qs << u"2097152"_qs << true
                                               << must("FAP recharge rate in KB/s", "0 or more and less than 2097152");
        QTest::newRow("timeout in milliseconds beyond 32 bits")
            << u"pingTimeoutEdit"_qs << u"3000000"_qs << true << must("Timeout ( sec )", "from 1 to 2147483");
        QTest::newRow("letters in the bucket box") << u"cumulativeDownloadEdit"_qs << u"twelve"_qs << true
                                                   << must("Cumulative download in MB", "a number");
        QTest::newRow("empty recharge") << u"rechargeRateEdit"_qs << QString() << true
                                        << must("FAP recharge rate in KB/s", "a number");
        QTest::newRow("recharge with a comma") << u"rechargeRateEdit"_qs << u"4,5"_qs << true
                                               << must("FAP recharge rate in KB/s", "a number");
        QTest::newRow("greyed off-peak box") << u"offPeakCutOffLimitEdit"_qs << u"lots"_qs << false
                                             << must("Off peak cut off limit in MB", "a number");
        QTest::newRow("timeout 2.5 after the bucket boxes") << u"pingTimeoutEdit"_qs << u"2.5"_qs << true
                                                             << must("Timeout ( sec )", "a whole number");
        QTest::newRow("timeout -5") << u"pingTimeoutEdit"_qs << u"-5"_qs << true
                                    << must("Timeout ( sec )", "from 1 to 2147483");
        QTest::newRow("TTL letters") << u"pingTtlEdit"_qs << u"ttl"_qs << true
                                     << must("TTL ( ping packet time to live )", "a whole number");
        QTest::newRow("TTL 999") << u"pingTtlEdit"_qs << u"999"_qs << true
                                 << must("TTL ( ping packet time to live )", "from 1 to 255");
        QTest::newRow("packet size 100000") << u"pingPacketSizeEdit"_qs << u"100000"_qs << true
                                            << must("Packet size", "from 0 to 65507");
        QTest::newRow("chart length -5") << u"chartHistorySpin"_qs << u"-5"_qs << true
                                         << must("History length ( sec )", "from 1 to 86400");
        QTest::newRow("alert step 0") << u"alertStepsEdit"_qs << u"0,50"_qs << true
                                      << u"The value of \"At these parts of the way to the throttle limit ( % )\" must be "
                                         "whole percentages from 1 to 99, separated by commas (such as 75,90), or nothing."_qs;
        QTest::newRow("cut-off below the throttle")
            << u"cutOffLimitEdit"_qs << u"40"_qs << true
            << u"The value of \"Cut off limit in MB\" must not be below the \"Throttle limit in MB\"."_qs;
    }
    void badBoxStopsWithAMessage()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(bool, offPeak);
        QFETCH(QString, message);
        Program program(environment());
        OptionsWindow &options = program.optionsWindow;
        Controller &controller = program.controller;
        program.showFirstWindow();
        if (!selectFirstRow(findControl<QListWidget>(options, "adapterList")))
            QSKIP("no capture adapter on this machine");
        controller.session().meter().setUsedBytes(5);
        controller.session().meter().setActiveLimit(1);
        findControl<QCheckBox>(options, "offPeakCheck")->setChecked(true);
        typeInto(findControl<QLineEdit>(options, "rechargeRateEdit"), u"8"_qs);
        QWidget *control = options.findChild<QWidget *>(box);
        QVERIFY(control);
        auto *edit = qobject_cast<QLineEdit *>(control);
        typeInto(edit ? edit : control->findChild<QLineEdit *>(), text);
        findControl<QCheckBox>(options, "offPeakCheck")->setChecked(offPeak);
        const QByteArray fileBefore = iniBytes();
        QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
        QCOMPARE(iniBytes(), fileBefore);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, message);
        QCOMPARE(shown[0].title, QString());
        QCOMPARE(shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        // The box is in front, with the focus unless it is greyed.
        auto *tabs = findControl<QTabWidget>(options, "tabs");
        QVERIFY(tabs->currentWidget()->isAncestorOf(control));
        if (control->isEnabled())
            QVERIFY(options.focusWidget() == control || control->isAncestorOf(options.focusWidget()));
        // Nothing is taken, not even the boxes before the one refused.
        const AppSettings defaults;
        QCOMPARE(controller.session().settings().adapterIndex, -1);
        QCOMPARE(controller.session().settings().fap.rechargeRate, defaults.fap.rechargeRate);
        QCOMPARE(controller.session().settings().fap.offPeakEnabled, defaults.fap.offPeakEnabled);
        QCOMPARE(controller.session().settings().pingTimeoutMs, defaults.pingTimeoutMs);
        QCOMPARE(controller.session().meter().usedBytes(), 5);
        QCOMPARE(controller.session().meter().activeLimit(), 1);
        QVERIFY(options.isVisible());
        QVERIFY(!controller.captureStarted());
        QVERIFY(findControl<QListWidget>(options, "adapterList")->isEnabled());
    }

    void firstOkTakesEveryControl()
    {
        Program program(environment());
        OptionsWindow &options = program.optionsWindow;
        Controller &controller = program.controller;
        program.showFirstWindow();
        if (!selectLoopbackRow(findControl<QListWidget>(options, "adapterList")))
            QSKIP("no loopback capture adapter on this machine");
        controller.session().settings().fap.offPeakStart = 37894.25;
        typeInto(findControl<QLineEdit>(options, "rechargeRateEdit"), u"4.5"_qs);
        typeInto(findControl<QLineEdit>(options, "cutOffLimitEdit"), u"200"_qs);
        QTest::mouseClick(findControl<QPushButton>(options, "maxButton"), Qt::LeftButton);
        findControl<QCheckBox>(options, "offPeakCheck")->setChecked(true);
        typeInto(findControl<QLineEdit>(options, "offPeakCutOffLimitEdit"), u"300.5"_qs);
        typeInto(findControl<QLineEdit>(options, "throttleLimitEdit"), u"150"_qs);
        // Chosen after the values were typed: typing over a plan's values names no plan.
        findControl<QComboBox>(options, "planList")->addItems({u"Plan A"_qs, u"Plan B"_qs});
        findControl<QComboBox>(options, "planList")->setCurrentIndex(1);
        typeInto(findControl<QLineEdit>(options, "pingHostEdit"), u"localhost"_qs);
        typeInto(findControl<QLineEdit>(options, "pingTimeoutEdit"), u"3"_qs);
        typeInto(findControl<QLineEdit>(options, "pingTtlEdit"), u"128"_qs);
        typeInto(findControl<QLineEdit>(options, "pingPacketSizeEdit"), u"64"_qs);
        findControl<QTimeEdit>(options, "offPeakStartPicker")->setTime(QTime(22, 0));
        findControl<QTimeEdit>(options, "offPeakEndPicker")->setTime(QTime(6, 30));
        findControl<QSlider>(options, "opacitySlider")->setValue(200);
        findControl<QRadioButton>(options, "textTrayRadio")->setChecked(true);
        typeInto(findControl<LenientSpinBox>(options, "chartHistorySpin")->findChild<QLineEdit *>(), u"090"_qs);
        findControl<QCheckBox>(options, "chartAutoScaleCheck")->setChecked(true);
        findControl<QCheckBox>(options, "autoStartCheck")->setChecked(true);
        findControl<QCheckBox>(options, "alwaysOnTopCheck")->setChecked(true);
        findControl<QCheckBox>(options, "useAll192Check")->setChecked(false);
        findControl<QCheckBox>(options, "useAdapterIpv6Check")->setChecked(false);
        findControl<QListWidget>(options, "lanAddressList")->addItem(u"127.0.0.1"_qs);
        controller.session().settings().lanAddresses.append(u"127.0.0.1"_qs);
        findControl<QCheckBox>(options, "showAtStartCheck")->setChecked(false);
        controller.session().meter().setUsedBytes(5000000);

        QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
        QVERIFY(shown.isEmpty());
        const AppSettings &s = controller.session().settings();
        QCOMPARE(s.fap.rechargeRate, 4608);
        QCOMPARE(s.fap.cutOffLimit, 209715200);
        QCOMPARE(controller.session().meter().usedBytes(), 0);
        QCOMPARE(s.fap.offPeakCutOffLimit, 315097088);
        // The first tick has already chosen the limit in force by the time of day; the bucket
        // holds the plan that was taken.
        QCOMPARE(controller.session().meter().parameters().cutOffLimit, 209715200);
        QCOMPARE(controller.session().meter().parameters().offPeakCutOffLimit, 315097088);
        QCOMPARE(s.fap.throttleLimit, 157286400);
        QCOMPARE(s.pingHost, u"localhost"_qs);
        QCOMPARE(s.pingTimeoutMs, 3000);
        QCOMPARE(s.pingTtl, 128);
        QCOMPARE(s.pingPacketSize, 64);
        QCOMPARE(s.chartHistorySeconds, 90);
        QCOMPARE(findControl<LenientSpinBox>(options, "chartHistorySpin")->text(), u"90"_qs);
        QVERIFY(s.chartAutoScale);
        QVERIFY(s.alwaysOnTop);
        QVERIFY(s.autoStart);
        QVERIFY(s.fap.offPeakEnabled);
        QCOMPARE(s.windowOpacity, 200);
        QVERIFY(!s.startMinimized);
        QVERIFY(!s.useAll192168.load());
        QVERIFY(!s.useAdapterIpv6.load());
        QVERIFY(!s.showOptionsAtStart);
        QCOMPARE(s.planIndex, 1);
        QCOMPARE(s.trayStyle, TrayStyle::Text);
        QCOMPARE(s.fap.offPeakStart, 37894 + 22 / 24.0); // the day stays, the time is the picker's
        QCOMPARE(s.fap.offPeakEnd, 6.5 / 24.0);
        QCOMPARE(controller.session().meter().parameters().throttleLimit, 157286400);
        QVERIFY(controller.session().meter().parameters().offPeakEnabled);

        QVERIFY(controller.captureStarted());
        QVERIFY(!findControl<QListWidget>(options, "adapterList")->isEnabled());
        QVERIFY(!options.isVisible());
        QVERIFY(program.monitorWindow.isVisible());

        // Every key a confirmation writes, as the file now holds it.
        const IniDocument ini = IniDocument::read(iniPath());
        const auto value = [&ini](const char *section, const char *key) {
            return ini.value(QString::fromLatin1(section), QString::fromLatin1(key)).value_or(u"(missing)"_qs);
        };
        const QList<std::tuple<const char *, const char *, QString>> expected{
            {"System", "autoaxis", u"1"_qs},
            {"System", "histlenght", u"90"_qs},
            {"System", "AutoStart", u"1"_qs},
            {"System", "sm", u"0"_qs},
            {"System", "OnTop", u"1"_qs},
            {"System", "plan", u"1"_qs},
            {"System", "ShowOptions", u"0"_qs},
            {"System", "use192", u"0"_qs},
            {"System", "use6", u"0"_qs},
            {"System", "useop", u"1"_qs},
            {"System", "opst", ProfileValue::formatFloat(37894 + 22 / 24.0)},
            {"System", "opet", ProfileValue::formatFloat(6.5 / 24.0)},
            {"System", "faprecharge", u"4608"_qs},
            {"System", "fapmaxonp", u"209715200"_qs},
            {"System", "fapmaxoffp", u"315097088"_qs},
            {"System", "tsht", u"157286400"_qs},
            {"System", "adapter", QString::number(findControl<QListWidget>(options, "adapterList")->currentRow())},
            {"System", "lanIPCount", u"1"_qs},
            {"System", "ignIPCount", u"0"_qs},
            {"Ping", "url", u"localhost"_qs},
            {"Ping", "timeout", u"3000"_qs},
            {"Ping", "ttl", u"128"_qs},
            {"Ping", "size", u"64"_qs},
            {"Alpha", "alpha", u"200"_qs},
            {"Tray", "type", u"0"_qs},
            {"LANIPS", "IP0", u"127.0.0.1"_qs},
        };
        for (const auto &[section, key, text] : expected)
            QCOMPARE(value(section, key), text);
        // The bucket is written by its own save, not by the confirmation.
        QCOMPARE(value("System", "fapbytes"), u"(missing)"_qs);
    }

    void startMinimizedShowsNoMonitorButCancelDoes()
    {
        // With a tray to bring it back (without one the monitor shows minimised: tst_monitorwindow).
        TrayIndicator::setAvailability([] { return true; });
        const auto withoutTray = qScopeGuard([] { TrayIndicator::setAvailability({}); });
        Program program(environment());
        OptionsWindow &options = program.optionsWindow;
        Controller &controller = program.controller;
        program.showFirstWindow();
        if (!selectLoopbackRow(findControl<QListWidget>(options, "adapterList")))
            QSKIP("no loopback capture adapter on this machine");
        findControl<QCheckBox>(options, "startMinimizedCheck")->setChecked(true);
        QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
        QVERIFY(controller.captureStarted());
        QVERIFY(!options.isVisible());
        QVERIFY(!program.monitorWindow.isVisible());

        // "Options..." from the monitor window, then Cancel: back to the monitor window.
        controller.showOptions();
        QVERIFY(options.isVisible());
        QVERIFY(!options.isMaximized());
        QCOMPARE(options.size(), QSize(536, 466));
        QTest::mouseClick(findControl<QPushButton>(options, "cancelButton"), Qt::LeftButton);
        QVERIFY(!options.isVisible());
        QVERIFY(program.monitorWindow.isVisible());
    }

    void optionsFromTheMonitorShowsTheLiveLevel()
    {
        Program program(environment());
        OptionsWindow &options = program.optionsWindow;
        Controller &controller = program.controller;
        program.showFirstWindow();
        if (!selectLoopbackRow(findControl<QListWidget>(options, "adapterList")))
            QSKIP("no loopback capture adapter on this machine");
        QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
        QVERIFY(program.monitorWindow.isVisible());
        controller.session().counters().downloadedTotal = 777;

        controller.session().meter().setUsedBytes(13107200);
        controller.showOptions();
        QVERIFY(!program.monitorWindow.isVisible());
        QCOMPARE(findControl<QLineEdit>(options, "cumulativeDownloadEdit")->text(), u"12.5"_qs);

        // "max", then Cancel: the level stays, and the next opening shows it again.
        QTest::mouseClick(findControl<QPushButton>(options, "maxButton"), Qt::LeftButton);
        QTest::mouseClick(findControl<QPushButton>(options, "cancelButton"), Qt::LeftButton);
        QCOMPARE(controller.session().meter().usedBytes(), 13107200);
        controller.showOptions();
        QCOMPARE(findControl<QLineEdit>(options, "cumulativeDownloadEdit")->text(), u"12.5"_qs);

        // "max", then Ok: the bucket is empty; capture and counters go on.
        const CaptureThread *thread = controller.captureThread();
        QTest::mouseClick(findControl<QPushButton>(options, "maxButton"), Qt::LeftButton);
        QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
        QCOMPARE(controller.session().meter().usedBytes(), 0);
        QCOMPARE(controller.captureThread(), thread);
        QCOMPARE(controller.session().counters().downloadedTotal.load(), 777);
        QVERIFY(!options.isVisible());
        QVERIFY(program.monitorWindow.isVisible());

        // The bucket moves while the options are open (the capture goes on); Ok without a typed
        // level keeps the live level instead of rolling it back to the one shown at the opening.
        controller.showOptions();
        controller.session().meter().setUsedBytes(26214400);
        QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
        QCOMPARE(controller.session().meter().usedBytes(), 26214400);
    }

    void alwaysOnTopFromTheMonitorTicksTheBox()
    {
        Program program(environment());
        Q_EMIT program.monitorWindow.alwaysOnTopToggled(true);
        QVERIFY(findControl<QCheckBox>(program.optionsWindow, "alwaysOnTopCheck")->isChecked());
        Q_EMIT program.monitorWindow.alwaysOnTopToggled(false);
        QVERIFY(!findControl<QCheckBox>(program.optionsWindow, "alwaysOnTopCheck")->isChecked());
    }

    void automaticConfirmation_data()
    {
        QTest::addColumn<QByteArray>("system"); // the [System] lines besides the adapter row
        QTest::addColumn<bool>("adapterVanished");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QStringList>("messages");
        const QString adapterMessage = u"Please select a network adapter from the Network tab ( first tab )."_qs;
        const QString lastUseTitle = u"Tarvo can not determine the last time it was used"_qs;
        QTest::newRow("ShowOptions 0, valid adapter")
            << QByteArray("ShowOptions=0\nlastshut=46366.25\n") << false << true << QStringList();
        QTest::newRow("ShowOptions 1") << QByteArray("ShowOptions=1\nlastshut=46366.25\n") << false << false
                                       << QStringList();
        QTest::newRow("adapter row vanished") << QByteArray("ShowOptions=0\nlastshut=46366.25\n") << true << false
                                              << QStringList{adapterMessage};
        QTest::newRow("no last-use time") << QByteArray("ShowOptions=0\n") << false << false
                                          << QStringList{lastUseTitle};
        // The stored device name decides over the stored row.
        QTest::newRow("device now at another row") << QByteArray("ShowOptions=0\nlastshut=46366.25\nadaptername=lo\n")
                                                   << true << true << QStringList();
        QTest::newRow("device gone, its row taken by another")
            << QByteArray("ShowOptions=0\nlastshut=46366.25\nadaptername=tarvo-gone0\n") << false << false
            << QStringList{adapterMessage};
    }
    void automaticConfirmation()
    {
        QFETCH(QByteArray, system);
        QFETCH(bool, adapterVanished);
        QFETCH(bool, confirmed);
        QFETCH(QStringList, messages);
        const QStringList adapters = enumerateAdapters().rows;
        const int loopback = adapters.indexOf(QRegularExpression(u".*\\(lo\\)$"_qs));
        if (loopback < 0)
            QSKIP("no loopback capture adapter on this machine");
        const int row = adapterVanished ? int(adapters.size()) : loopback;
        Program program(environment("[System]\n" + system + "adapter=" + QByteArray::number(row) + "\n"));
        OptionsWindow &options = program.optionsWindow;
        Controller &controller = program.controller;
        QTimer *autoConfirmTimer = controller.findChild<QTimer *>(QStringLiteral("autoConfirmTimer"));

        program.showFirstWindow();
        QVERIFY(QTest::qWaitForWindowActive(&options));
        QVERIFY(!controller.firstActivationPending());
        QTRY_VERIFY(!autoConfirmTimer->isActive());
        QCOMPARE(controller.captureStarted(), confirmed);
        QCOMPARE(options.isVisible(), !confirmed);
        QCOMPARE(program.monitorWindow.isVisible(), confirmed);
        QStringList seen;
        for (const Dialogs::Request &request : shown)
            seen.append(request.title.isEmpty() ? request.text : request.title);
        QCOMPARE(seen, messages);

        // Later activations start nothing.
        options.show();
        options.activateWindow();
        QVERIFY(!autoConfirmTimer->isActive());
    }

    void cancelBeforeTheFirstOkEndsTheProgram()
    {
        Program program(environment());
        OptionsWindow &options = program.optionsWindow;
        Controller &controller = program.controller;
        program.showFirstWindow();
        bool quitAsked = false;
        QTimer::singleShot(0, &options, [&] { QTest::mouseClick(findControl<QPushButton>(options, "cancelButton"), Qt::LeftButton); });
        QTimer::singleShot(5000, qApp, [&] { qApp->exit(1); }); // only if Cancel did not end the loop
        quitAsked = QCoreApplication::exec() == 0;
        QVERIFY(quitAsked);
        QVERIFY(!options.isVisible());
        QVERIFY(!controller.captureStarted());
    }

    // "Add my public IP" against a site of the test's own: only an address in the classifier's
    // form joins the LAN list, once; the button comes back in every case.
    void addPublicAddress_data()
    {
        QTest::addColumn<int>("status"); // 0: the connection is refused; -1: the site never answers
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("after");
        const QStringList listed{u"10.0.0.1"_qs};
        const QStringList added{u"10.0.0.1"_qs, u"203.0.113.7"_qs};
        QTest::newRow("bare address") << 200 << QByteArray("203.0.113.7") << added;
        QTest::newRow("line end trimmed") << 200 << QByteArray("203.0.113.7\n") << added;
        QTest::newRow("already listed") << 200 << QByteArray("10.0.0.1\n") << listed;
        QTest::newRow("not an address") << 200 << QByteArray("<html>your address</html>") << listed;
        QTest::newRow("500 page") << 500 << QByteArray("203.0.113.7") << listed;
        QTest::newRow("refused") << 0 << QByteArray() << listed;
        QTest::newRow("never answers") << -1 << QByteArray() << listed;
    }
    void addPublicAddress()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QStringList, after);
        LocalHttpServer site;
        if (status > 0)
            site.answer("/myipsimple.php", status, body);
        else if (status < 0)
            site.neverAnswer("/myipsimple.php");
        qputenv("TARVO_PUBLIC_ADDRESS_HOST", (status == 0 ? closedPortHost() : site.host()).toUtf8());
        Program program(environment());
        OptionsWindow &options = program.optionsWindow;
        Controller &controller = program.controller;
        controller.findChild<PublicAddressLookup *>()->limits.deadline = std::chrono::milliseconds(500);
        findControl<QListWidget>(options, "lanAddressList")->addItem(u"10.0.0.1"_qs);
        controller.session().settings().lanAddresses.append(u"10.0.0.1"_qs);
        program.showFirstWindow();

        QPushButton *button = findControl<QPushButton>(options, "addPublicAddressButton");
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!button->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(button->isEnabled(), 10000);
        QCOMPARE(rows(findControl<QListWidget>(options, "lanAddressList")), after);
        QCOMPARE(controller.session().settings().lanAddresses.entries(), after);
        QVERIFY(shown.isEmpty());
        if (status != 0)
            QCOMPARE(site.requests(), QList<QByteArray>{"/myipsimple.php"});
    }

    // The wait for the site runs on the event loop: the window keeps painting meanwhile.
    void windowRepaintsWhileTheSiteIsAsked()
    {
        LocalHttpServer site;
        site.neverAnswer("/myipsimple.php");
        qputenv("TARVO_PUBLIC_ADDRESS_HOST", site.host().toUtf8());
        Program program(environment());
        OptionsWindow &options = program.optionsWindow;
        program.showFirstWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&options));
        PaintCounter painted(findControl<QListWidget>(options, "lanAddressList")->viewport());

        QTest::mouseClick(findControl<QPushButton>(options, "addPublicAddressButton"), Qt::LeftButton);
        QTRY_COMPARE(site.requests().size(), 1);
        findControl<QListWidget>(options, "lanAddressList")->viewport()->update();
        QTRY_VERIFY(painted.count > 0);
        QVERIFY(!findControl<QPushButton>(options, "addPublicAddressButton")->isEnabled()); // still waiting
    }

    void seeMyPublicAddressOpensTheSitePage()
    {
        qputenv("TARVO_PUBLIC_ADDRESS_HOST", "site.test:8080");
        QList<QUrl> opened;
        const WebLinks::Opener previous = WebLinks::setOpener([&opened](const QUrl &url) { opened.append(url); });
        Program program(environment());
        QTest::mouseClick(findControl<QPushButton>(program.optionsWindow, "showPublicAddressButton"), Qt::LeftButton);
        WebLinks::setOpener(previous);
        QCOMPARE(opened, QList<QUrl>{QUrl(u"http://site.test:8080/myip.php"_qs)});
    }

    // Every Ok writes the start-at-logon entry for the executable that runs, with the option on
    // or off; where it cannot be written, the Ok goes on without a word.
    void okWritesTheStartAtLogonEntry_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("folderBlocked"); // a regular file where the autostart folder belongs
        QTest::newRow("on") << true << false;
        QTest::newRow("off") << false << false;
        QTest::newRow("folder cannot be made") << true << true;
    }
    void okWritesTheStartAtLogonEntry()
    {
        QFETCH(bool, on);
        QFETCH(bool, folderBlocked);
        ProgramEnvironment withEntry = environment();
        withEntry.autostartEntry = dir->filePath(u"autostart/tarvo.desktop"_qs);
        if (folderBlocked)
            writeBytes(dir->filePath(u"autostart"_qs), "not a folder");
        Program program(withEntry);
        OptionsWindow &options = program.optionsWindow;
        program.showFirstWindow();
        if (!selectLoopbackRow(findControl<QListWidget>(options, "adapterList")))
            QSKIP("no loopback capture adapter on this machine");
        const QByteArray exec = "\nExec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\"\n";
        const auto checkEntry = [&](bool enabled) {
            const QByteArray entry = fileBytes(withEntry.autostartEntry);
            if (folderBlocked)
                QCOMPARE(entry, QByteArray());
            else
                QVERIFY2(entry.contains(exec) && entry.endsWith(enabled ? "\nHidden=false\n" : "\nHidden=true\n"),
                         entry.constData());
        };

        findControl<QCheckBox>(options, "autoStartCheck")->setChecked(on);
        QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
        QVERIFY(shown.isEmpty());
        QVERIFY(program.controller.captureStarted());
        QVERIFY(program.monitorWindow.isVisible());
        QCOMPARE(IniDocument::read(iniPath()).value(u"System"_qs, u"AutoStart"_qs).value_or(QString()), on ? u"1"_qs : u"0"_qs);
        checkEntry(on);

        // A later Ok rewrites it.
        program.controller.showOptions();
        findControl<QCheckBox>(options, "autoStartCheck")->setChecked(!on);
        QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
        QVERIFY(shown.isEmpty());
        QVERIFY(!options.isVisible());
        checkEntry(!on);
    }

    // Writes the four tabs as options-<n>.png into $TARVO_RENDER_DIR (scripts/render-options),
    // or into a temporary folder, so anyone can look at the window again.
    void renderTabs()
    {
        // The shipped plans, when the build put them beside the test.
        QFile::copy(QCoreApplication::applicationDirPath() + u"/plans.ini"_qs, dir->filePath(u"plans.ini"_qs));
        Program program(environment("[System]\nlastshut=46366.25\nPlan=0\nlanIPCount=2\nignIPCount=1\n"
                                    "[LANIPS]\nIP0=192.168.0.7\nIP1=10.1.1.1\n[IGNIPS]\nIP0=203.0.113.10\n"));
        OptionsWindow &options = program.optionsWindow;
        program.showFirstWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&options));
        const QString folder = qEnvironmentVariable("TARVO_RENDER_DIR", QDir::tempPath());
        QVERIFY(QDir().mkpath(folder));
        for (int tab = 0; tab < findControl<QTabWidget>(options, "tabs")->count(); ++tab) {
            findControl<QTabWidget>(options, "tabs")->setCurrentIndex(tab);
            const QImage image = options.grab().toImage();
            QVERIFY(!image.isNull());
            QVERIFY(image.save(QDir(folder).filePath(u"options-%1.png"_qs.arg(tab + 1))));
        }
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
