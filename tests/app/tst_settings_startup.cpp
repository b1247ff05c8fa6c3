#include "app/program.h"
#include "meter/oledate.h"
#include "platform/dialogs.h"
#include "settings/optionvalues.h"
#include "settings/profile.h"
#include "support/controls.h"
#include "support/filefixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
const QString lastUseTitle = u"Tarvo can not determine the last time it was used"_s;
const QString lastUseText =
    u"Tarvo can not determine the time it was last used, therefore it can not calculate your actual FAP level. "
    u"Please fill it in manually. If you haven't used the internet for more than 12 hours, click the max button next "
    u"to the edit. If this is the first time you use Tarvo, just ignore this message."_s;

constexpr double lastSave = 46366.25; // 10 December 2026, 06:00, exact in the file's 15 digits

// Half a second past the whole seconds, so the truncation of the span is not at the mercy of rounding.
double secondsLater(double from, double seconds)
{
    return from + (seconds + 0.5) / 86400.0;
}
} // namespace

class TestSettingsStartup : public QObject
{
    Q_OBJECT

private:
    struct Shown
    {
        Dialogs::Request request;
        bool windowVisible; // was any window of the program on screen when the box came?
    };
    QList<Shown> shown;
    std::unique_ptr<QTemporaryDir> dir;
    double now = 0;

    ProgramEnvironment environment(const QString &directory = {})
    {
        return ProgramEnvironment{directory.isEmpty() ? dir->path() + u'/' : directory, [this] { return oleDateToDateTime(now); }};
    }
    QString path(const QString &name) const { return dir->filePath(name); }

    // An adapter every Linux machine has, for the tests that confirm.
    static bool selectLoopback(OptionsWindow &options)
    {
        const auto rows = findControl<QListWidget>(options, "adapterList")->findItems(u"(lo)"_s, Qt::MatchEndsWith);
        if (rows.isEmpty())
            return false;
        findControl<QListWidget>(options, "adapterList")->setCurrentItem(rows.first());
        return true;
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        dir = std::make_unique<QTemporaryDir>();
        now = lastSave;
        shown.clear();
        Dialogs::setHandler([this](const Dialogs::Request &request) {
            const auto windows = QApplication::topLevelWidgets();
            const bool visible = std::any_of(windows.begin(), windows.end(), [](QWidget *w) { return w->isVisible(); });
            shown.append({request, visible});
            return QMessageBox::Ok;
        });
    }
    void cleanup() { Dialogs::setHandler({}); }

    void firstStartShowsDefaults()
    {
        Program program(environment());
        QCOMPARE(findControl<QLineEdit>(program.optionsWindow, "rechargeRateEdit")->text(), u"4"_s);
        QCOMPARE(findControl<QLineEdit>(program.optionsWindow, "cutOffLimitEdit")->text(), u"92.4"_s);
        QCOMPARE(findControl<QLineEdit>(program.optionsWindow, "throttleLimitEdit")->text(), u"61.6"_s);
        QCOMPARE(findControl<QLineEdit>(program.optionsWindow, "cumulativeDownloadEdit")->text(), u"0"_s);
        QVERIFY(findControl<QCheckBox>(program.optionsWindow, "useAll192Check")->isChecked());
        QCOMPARE(findControl<QListWidget>(program.optionsWindow, "adapterList")->currentRow(), -1);
        QCOMPARE(findControl<QComboBox>(program.optionsWindow, "planList")->count(), 0);
        QCOMPARE(program.controller.session().meter().activeLimit(), 96888422);
        QVERIFY(!program.controller.session().lastUseKnown());
        // No box on a first start: the options window says it beside the bucket's box.
        QVERIFY(shown.isEmpty());
        auto *note = findControl<QLabel>(program.optionsWindow, "bucketNote");
        QVERIFY(note->text().startsWith(u"First start: Tarvo does not know how full your bucket is."_s));
        QVERIFY(!note->isHidden());
        // A file without the time of the last use still asks with the box.
        writeBytes(path(u"tarvo.ini"_s), "[System]\nfapbytes=5\n");
        Program again(environment());
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].request.title, lastUseTitle);
        QVERIFY(findControl<QLabel>(again.optionsWindow, "bucketNote")->isHidden());
    }

    void catchUpAtStart_data()
    {
        QTest::addColumn<QByteArray>("fapbytes");
        QTest::addColumn<QByteArray>("lastshut"); // null: no key
        QTest::addColumn<double>("now");
        QTest::addColumn<int>("usedBytes");
        QTest::addColumn<QString>("cumulative");
        QTest::addColumn<bool>("lastUseKnown");

        QTest::newRow("one hour") << QByteArray("50000000") << QByteArray("46366.25") << secondsLater(lastSave, 3600)
                                  << 35254400 << u"33.621216"_s << true;
        QTest::newRow("thirteen hours") << QByteArray("90000000") << QByteArray("46366.25")
                                        << secondsLater(lastSave, 13 * 3600) << 0 << u"0"_s << true;
        QTest::newRow("seven days, more recharge than 2^31")
            << QByteArray("90000000") << QByteArray("46366.25") << secondsLater(lastSave, 7 * 86400) << 0 << u"0"_s << true;
        QTest::newRow("clock set back two hours") << QByteArray("50000000") << QByteArray("46366.25")
                                                  << lastSave - 7200.5 / 86400 << 20508800 << u"19.558716"_s << true;
        QTest::newRow("no lastshut") << QByteArray("13107200") << QByteArray() << lastSave << 13107200 << u"12.5"_s << false;
        QTest::newRow("fapbytes -1 and no lastshut") << QByteArray("-1") << QByteArray() << lastSave << 0 << u"0"_s << false;
        QTest::newRow("lastshut -1") << QByteArray("13107200") << QByteArray("-1") << lastSave << 13107200 << u"12.5"_s << false;
        QTest::newRow("lastshut not a number") << QByteArray("13107200") << QByteArray("yesterday") << lastSave << 13107200
                                               << u"12.5"_s << false;
        QTest::newRow("lastshut written with a decimal comma")
            << QByteArray("13107200") << QByteArray("46366,25") << lastSave << 13107200 << u"12.5"_s << false;
    }
    void catchUpAtStart()
    {
        QFETCH(QByteArray, fapbytes);
        QFETCH(QByteArray, lastshut);
        QFETCH(double, now);
        QFETCH(int, usedBytes);
        QFETCH(QString, cumulative);
        QFETCH(bool, lastUseKnown);
        this->now = now;
        QByteArray ini = "[System]\nfaprecharge=4096\nfapbytes=" + fapbytes + '\n';
        if (!lastshut.isNull())
            ini += "lastshut=" + lastshut + '\n';
        writeBytes(path(u"tarvo.ini"_s), ini);

        Program program(environment());
        QCOMPARE(program.controller.session().meter().usedBytes(), usedBytes);
        QCOMPARE(findControl<QLineEdit>(program.optionsWindow, "cumulativeDownloadEdit")->text(), cumulative);
        QCOMPARE(program.controller.session().lastUseKnown(), lastUseKnown);
        if (lastUseKnown) {
            QVERIFY(shown.isEmpty());
            return;
        }
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].request.title, lastUseTitle);
        QCOMPARE(shown[0].request.text, lastUseText);
        QCOMPARE(shown[0].request.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(shown[0].request.icon, QMessageBox::NoIcon);
        QVERIFY(!shown[0].windowVisible);
    }

    void plansAtStart()
    {
        writeBytes(path(u"plans.ini"_s), "[General]\nPlansCount=3\n[Plan0]\nName=Home\nRecharge=4\nMax=92.4\nThrottle=61.6\n"
                                         "[Plan2]\nName=Pro\nRecharge= 6 \nMax=\t150\nThrottle=100  \n");
        writeBytes(path(u"tarvo.ini"_s), "[System]\nPlan=2\nfaprecharge=8192\nlastshut=46366.25\n");
        Program program(environment());
        OptionsWindow &options = program.optionsWindow;
        Controller &controller = program.controller;
        QComboBox *plans = findControl<QComboBox>(options, "planList");
        QCOMPARE(plans->count(), 3);
        QCOMPARE(plans->itemText(1), u"error reading file"_s);
        QCOMPARE(plans->currentIndex(), 2);
        QVERIFY(!plans->isEditable());
        // Selecting the stored row does not fill the boxes: they show the settings file.
        QCOMPARE(findControl<QLineEdit>(options, "rechargeRateEdit")->text(), u"8"_s);

        // The plan file is read anew at the choice.
        writeBytes(path(u"plans.ini"_s), "[General]\nPlansCount=3\n[Plan0]\nName=Home\nRecharge=5\nMax=125\nThrottle=85\n");
        plans->setCurrentIndex(0);
        Q_EMIT plans->activated(0);
        QCOMPARE(findControl<QLineEdit>(options, "rechargeRateEdit")->text(), u"5"_s);
        QCOMPARE(findControl<QLineEdit>(options, "cutOffLimitEdit")->text(), u"125"_s);
        QCOMPARE(findControl<QLineEdit>(options, "throttleLimitEdit")->text(), u"85"_s);
        plans->setCurrentIndex(2);
        Q_EMIT plans->activated(2);
        QCOMPARE(findControl<QLineEdit>(options, "rechargeRateEdit")->text(), u"0"_s);
        QCOMPARE(findControl<QLineEdit>(options, "cutOffLimitEdit")->text(), u"0"_s);
        QCOMPARE(findControl<QLineEdit>(options, "throttleLimitEdit")->text(), u"0"_s);
        // Choosing a plan changes nothing else.
        QCOMPARE(controller.session().settings().fap.rechargeRate, 8192);
    }

    // The shipped plans write "."; under a comma locale the chosen plan still reads back at Ok.
    void shippedPlanReadsBackUnderACommaLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        writeBytes(path(u"plans.ini"_s), "[General]\nPlansCount=1\n[Plan0]\nName=Home\nRecharge=4\n"
                                         "Max=92.3999996185303\nThrottle=61.5999994277954\n");
        Program program(environment());
        QComboBox *plans = findControl<QComboBox>(program.optionsWindow, "planList");
        plans->setCurrentIndex(0);
        Q_EMIT plans->activated(0);
        AppSettings taken;
        const OptionsReadBack readBack = program.optionsWindow.readSettings(taken);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(readBack.stop, OptionsReadBack::Stop::None);
        QCOMPARE(readBack.values.cutOffLimit, 96888422);
        QCOMPARE(readBack.values.throttleLimit, 64592280);
    }

    void storedRowsThatDoNotExistSelectNothing()
    {
        writeBytes(path(u"plans.ini"_s), "[General]\nPlansCount=1\n[Plan0]\nName=Home\n");
        writeBytes(path(u"tarvo.ini"_s), "[System]\nPlan=7\nadapter=100000\n");
        Program program(environment());
        QCOMPARE(findControl<QComboBox>(program.optionsWindow, "planList")->currentIndex(), -1);
        QCOMPARE(findControl<QListWidget>(program.optionsWindow, "adapterList")->currentRow(), -1);
    }

    // Every 10 s and at exit the bucket is saved with the time. Before the first confirmation
    // starts the tick, each save drains it by the recharge of the time since the load, and the
    // box the confirmation reads follows until the user types in it.
    void waitingBucketDrainsAtEverySave()
    {
        const QString ini = path(u"tarvo.ini"_s);
        writeBytes(ini, "; mine\n[System]\nfapbytes=1000000\nlastshut=46366.25\n");
        const auto savedBytes = [&] { return IniDocument::fromBytes(fileBytes(ini)).integer(u"System", u"fapbytes", -1); };
        const auto savedTime = [&] { return IniDocument::fromBytes(fileBytes(ini)).floating(u"System", u"lastshut", -1); };
        {
            Program program(environment());
            Controller &controller = program.controller;
            QTimer *saveTimer = controller.findChild<QTimer *>(u"saveTimer"_s);
            QLineEdit *box = findControl<QLineEdit>(program.optionsWindow, "cumulativeDownloadEdit");
            QVERIFY(saveTimer->isActive());
            QCOMPARE(saveTimer->interval(), 10000);

            now = secondsLater(lastSave, 10);
            QVERIFY(QMetaObject::invokeMethod(saveTimer, "timeout"));
            QVERIFY(fileBytes(ini).startsWith("; mine\n[System]\nfapbytes="));
            QCOMPARE(savedBytes(), 1000000 - 10 * 4096);
            QVERIFY(qAbs(savedTime() - now) < 1e-9);
            QCOMPARE(box->text(), decimalFromBytes(1000000 - 10 * 4096, 1048576, Rounding::Truncate));

            box->setText(u"0.5"_s);
            now = secondsLater(lastSave, 20);
            QVERIFY(QMetaObject::invokeMethod(saveTimer, "timeout"));
            QCOMPARE(savedBytes(), 1000000 - 20 * 4096);
            QCOMPARE(box->text(), u"0.5"_s);
            now = secondsLater(lastSave, 30);
        }
        QCOMPARE(savedBytes(), 1000000 - 30 * 4096);
        QVERIFY(qAbs(savedTime() - secondsLater(lastSave, 30)) < 1e-9);
        QVERIFY(shown.isEmpty());
    }

    // An empty bucket is written once; later saves leave the file alone while it stays empty,
    // since the next start reads an empty bucket whatever the time beside it. The exit save
    // always writes.
    void emptyBucketIsWrittenOnce()
    {
        const QString ini = path(u"tarvo.ini"_s);
        writeBytes(ini, "[System]\nfapbytes=40960\nlastshut=46366.25\n");
        const auto savedTime = [&] { return IniDocument::fromBytes(fileBytes(ini)).floating(u"System", u"lastshut", -1); };
        {
            Program program(environment());
            Controller &controller = program.controller;
            QTimer *saveTimer = controller.findChild<QTimer *>(u"saveTimer"_s);
            now = secondsLater(lastSave, 10); // drains the 10 s of recharge the bucket held
            QVERIFY(QMetaObject::invokeMethod(saveTimer, "timeout"));
            QCOMPARE(IniDocument::fromBytes(fileBytes(ini)).integer(u"System", u"fapbytes", -1), 0);
            QVERIFY(qAbs(savedTime() - secondsLater(lastSave, 10)) < 1e-9);
            const QByteArray written = fileBytes(ini);
            now = secondsLater(lastSave, 20);
            QVERIFY(QMetaObject::invokeMethod(saveTimer, "timeout"));
            QCOMPARE(fileBytes(ini), written);

            controller.session().meter().setUsedBytes(1000000);
            now = secondsLater(lastSave, 30);
            QVERIFY(QMetaObject::invokeMethod(saveTimer, "timeout"));
            QCOMPARE(IniDocument::fromBytes(fileBytes(ini)).integer(u"System", u"fapbytes", -1), 1000000 - 10 * 4096);
            controller.session().meter().setUsedBytes(0);
            now = secondsLater(lastSave, 40);
            QVERIFY(QMetaObject::invokeMethod(saveTimer, "timeout"));
            QCOMPARE(IniDocument::fromBytes(fileBytes(ini)).integer(u"System", u"fapbytes", -1), 0);
            QVERIFY(qAbs(savedTime() - secondsLater(lastSave, 40)) < 1e-9);
            now = secondsLater(lastSave, 50);
        }
        QVERIFY(qAbs(savedTime() - secondsLater(lastSave, 50)) < 1e-9);
    }

    // A run killed between writing the new file and renaming it leaves its temporary file; the
    // next start removes it and nothing else.
    void startRemovesStaleTemporaryFiles()
    {
        writeBytes(path(u"tarvo.ini"_s), "[System]\nlastshut=46366.25\n");
        writeBytes(path(u"tarvo.ini.Ab3dE9"_s), "[System]\n");
        writeBytes(path(u"tarvo.ini.bak"_s), "mine");
        Program program(environment());
        QVERIFY(!QFile::exists(path(u"tarvo.ini.Ab3dE9"_s)));
        QVERIFY(QFile::exists(path(u"tarvo.ini.bak"_s)));
    }

    // The first confirmation takes the level of its moment; from then on each save writes the
    // live level the tick and the capture keep.
    void monitoringSavesTheLiveLevel()
    {
        const QString ini = path(u"tarvo.ini"_s);
        writeBytes(ini, "[System]\nfapbytes=1000000\nlastshut=46366.25\n");
        {
            Program program(environment());
            Controller &controller = program.controller;
            QTimer *saveTimer = controller.findChild<QTimer *>(u"saveTimer"_s);
            if (!selectLoopback(program.optionsWindow))
                QSKIP("no loopback capture adapter on this machine");
            now = secondsLater(lastSave, 60);
            program.showFirstWindow();
            QTest::mouseClick(findControl<QPushButton>(program.optionsWindow, "okButton"), Qt::LeftButton);
            QVERIFY(controller.captureStarted());
            // 60 s of waiting, then the tick the confirmation runs at once.
            QCOMPARE(controller.session().meter().usedBytes(), 1000000 - 61 * 4096);
            controller.stopCapture();
            controller.session().meter().setUsedBytes(777);
            now = secondsLater(lastSave, 90);
            QVERIFY(QMetaObject::invokeMethod(saveTimer, "timeout"));
            QCOMPARE(IniDocument::fromBytes(fileBytes(ini)).integer(u"System", u"fapbytes", -1), 777);
            controller.session().meter().setUsedBytes(555);
        }
        QCOMPARE(IniDocument::fromBytes(fileBytes(ini)).integer(u"System", u"fapbytes", -1), 555);
    }

    // A settings file that cannot be written: the first failure is shown once with its reason,
    // the confirmation still starts the counting, the saves retry quietly and the status line
    // says when saving works again; the exit save never opens a box, it writes to standard error.
    void failedSavesAreReportedOnce()
    {
        const QString blocker = path(u"blocker"_s);
        const QString file = path(u"blocker/tarvo.ini"_s);
        writeBytes(blocker, "not a directory");
        QTemporaryFile errors;
        QVERIFY(errors.open());
        int savedStderr = -1;
        {
            Program program(environment(path(u"blocker/"_s)));
            OptionsWindow &options = program.optionsWindow;
            Controller &controller = program.controller;
            QTimer *saveTimer = controller.findChild<QTimer *>(u"saveTimer"_s);
            shown.clear();
            QVERIFY(QMetaObject::invokeMethod(saveTimer, "timeout"));
            QTRY_COMPARE(shown.size(), 1);
            QCOMPARE(shown[0].request.title, u"Tarvo"_s);
            QCOMPARE(shown[0].request.text, u"Unable to write to "_s + file + u"\nNot a directory"_s);
            QVERIFY(QMetaObject::invokeMethod(saveTimer, "timeout"));
            QTest::qWait(0);
            QCOMPARE(shown.size(), 1);

            const bool confirmed = selectLoopback(options);
            if (confirmed) {
                program.showFirstWindow();
                QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
                QVERIFY(controller.captureStarted());
                QVERIFY(!options.isVisible());
            }

            // The folder comes back: the next save writes the settings and the bucket, and says so.
            QVERIFY(QFile::remove(blocker));
            QVERIFY(QDir().mkdir(blocker));
            QVERIFY(QMetaObject::invokeMethod(saveTimer, "timeout"));
            QCOMPARE(program.monitorWindow.statusText(), u"Saving to "_s + file + u" works again"_s);
            const IniDocument saved = IniDocument::fromBytes(fileBytes(file));
            QCOMPARE(saved.integer(u"System", u"adapter", -2), confirmed ? options.selectedAdapter() : -2);
            QVERIFY(saved.value(u"System", u"fapbytes"));

            // Blocked again for the exit save, whose message goes to standard error.
            QVERIFY(QDir(blocker).removeRecursively());
            writeBytes(blocker, "not a directory");
            shown.clear();
            std::fflush(stderr);
            savedStderr = dup(2);
            dup2(errors.handle(), 2);
        }
        std::fflush(stderr);
        dup2(savedStderr, 2);
        close(savedStderr);
        QVERIFY(shown.isEmpty());
        QCOMPARE(fileBytes(errors.fileName()),
                 (u"tarvo: Unable to write to "_s + file + u"\nNot a directory\n"_s).toUtf8());
        QCOMPARE(fileBytes(blocker), QByteArray("not a directory"));
    }

    // A confirmation writes every setting, the plan row under the key the file already has.
    void confirmationSavesTheSettings()
    {
        writeBytes(path(u"plans.ini"_s), "[General]\nPlansCount=3\n");
        writeBytes(path(u"tarvo.ini"_s),
                   "; mine\n[System]\nPlan=2\nlastshut=46366.25\nlanIPCount=5\n[LANIPS]\nIP0=10.0.0.1\nIP1=10.0.0.2\n"
                   "IP2=10.0.0.3\nIP3=10.0.0.4\nIP4=10.0.0.5\n");
        Program program(environment());
        OptionsWindow &options = program.optionsWindow;
        if (!selectLoopback(options))
            QSKIP("no loopback capture adapter on this machine");
        const int adapter = findControl<QListWidget>(options, "adapterList")->currentRow();
        findControl<QComboBox>(options, "planList")->setCurrentIndex(1);
        findControl<QListWidget>(options, "lanAddressList")->setCurrentRow(4);
        QTest::mouseClick(findControl<QPushButton>(options, "deleteLanButton"), Qt::LeftButton);
        findControl<QListWidget>(options, "lanAddressList")->setCurrentRow(3);
        QTest::mouseClick(findControl<QPushButton>(options, "deleteLanButton"), Qt::LeftButton);
        program.showFirstWindow();
        QTest::mouseClick(findControl<QPushButton>(options, "okButton"), Qt::LeftButton);
        QVERIFY(shown.isEmpty());

        const QByteArray file = fileBytes(path(u"tarvo.ini"_s));
        QVERIFY(file.startsWith("; mine\n[System]\nPlan=1\nlastshut=46366.25\nlanIPCount=3\n"));
        const IniDocument ini = IniDocument::fromBytes(file);
        QCOMPARE(ini.integer(u"System", u"adapter", -2), adapter);
        QCOMPARE(ini.string(u"LANIPS", u"IP4", {}), u"10.0.0.5"_s);
        AppSettings loaded;
        loadSettings(ini, loaded);
        QCOMPARE(loaded.lanAddresses.entries(), (QStringList{u"10.0.0.1"_s, u"10.0.0.2"_s, u"10.0.0.3"_s}));
        QCOMPARE(loaded.planIndex, 1);
    }
};

QTEST_MAIN(TestSettingsStartup)
#include "tst_settings_startup.moc"
