#include "app/program.h"
#include "meter/oledate.h"
#include "platform/dialogs.h"
#include "platform/singleinstanceguard.h"
#include "support/filefixtures.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <unistd.h>
#include <vector>

namespace {
// How long a copy of a sanitized build may take to start or to end; never reached when it works.
constexpr int patience = 30000;
const QByteArray lastUse = "[System]\nlastshut=46366.25\n";
} // namespace

// One copy per user and executable file name: copies of the built program run as processes of
// their own, each from its own folder, with a runtime and a configuration folder of the test's.
class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> programs; // beside the built program, so copies can be hard links
    std::unique_ptr<QTemporaryDir> home;     // runtime and configuration folders
    std::vector<std::unique_ptr<QProcess>> processes;

    QString runtimeDir() const { return home->filePath(QStringLiteral("runtime")); }

    // The program as `fileName` in a folder of its own, beside a settings file holding `ini`.
    QString copyOfProgram(const QString &folder, const QString &fileName, const QByteArray &ini = lastUse)
    {
        const QString dir = programs->filePath(folder);
        const QString path = dir + u'/' + fileName;
        [&] {
            QVERIFY(QDir().mkpath(dir));
            writeBytes(dir + QStringLiteral("/tarvo.ini"), ini);
            if (::link(TARVO_PROGRAM, QFile::encodeName(path).constData()) != 0)
                QVERIFY(QFile::copy(QStringLiteral(TARVO_PROGRAM), path));
        }();
        return path;
    }

    QProcess &start(const QString &program)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home->filePath(QStringLiteral("config")));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(program, {});
        processes.push_back(std::move(process));
        return *processes.back();
    }

    // The process that holds the lock of `name`, 0 for none.
    qint64 lockHolder(const QString &name) const
    {
        qint64 pid = 0;
        QString host, application;
        QLockFile lock(runtimeDir() + u'/' + name + QStringLiteral(".lock"));
        return lock.getLockInfo(&pid, &host, &application) ? pid : 0;
    }

    // Waits until `copy` holds the lock of `name`: it runs as the first copy.
    bool becomesFirst(const QProcess &copy, const QString &name) const
    {
        return QTest::qWaitFor([&] { return lockHolder(name) == copy.processId() || copy.state() == QProcess::NotRunning; },
                               patience)
            && lockHolder(name) == copy.processId();
    }

    // tarvo-cli status, pointed at the test's runtime folder: its exit status and standard output.
    std::pair<int, QByteArray> askStatus(const QStringList &arguments) const
    {
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
        cli.setProcessEnvironment(environment);
        cli.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        cli.start(QStringLiteral(TARVO_CLI), QStringList{QStringLiteral("status")} + arguments);
        if (!cli.waitForFinished(patience) || cli.exitStatus() != QProcess::NormalExit)
            return {-1, {}};
        return {cli.exitCode(), cli.readAllStandardOutput()};
    }

    static bool endsCleanly(QProcess &copy)
    {
        return copy.waitForFinished(patience) && copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0;
    }

private Q_SLOTS:
    void init()
    {
        programs = std::make_unique<QTemporaryDir>(QCoreApplication::applicationDirPath()
                                                   + QStringLiteral("/singleinstance-XXXXXX"));
        home = std::make_unique<QTemporaryDir>();
        QVERIFY(programs->isValid() && home->isValid());
        QVERIFY(QDir().mkpath(runtimeDir()));
        QVERIFY(QFile::setPermissions(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    // No copy outlives its test.
    void cleanup()
    {
        for (const auto &process : processes) {
            if (process->state() == QProcess::NotRunning)
                continue;
            process->terminate();
            if (!process->waitForFinished(patience)) {
                process->kill();
                process->waitForFinished();
            }
        }
        processes.clear();
    }

    // A second copy of the same file name, from another folder, ends by itself without loading,
    // confirming or saving: its settings would have confirmed at once and started the capture.
    void secondCopyEndsWithoutStartingAnything()
    {
        QProcess &first = start(copyOfProgram(QStringLiteral("first"), QStringLiteral("tarvo")));
        QVERIFY(becomesFirst(first, QStringLiteral("tarvo")));

        const QByteArray confirmsAtOnce = lastUse + "ShowOptions=0\nadapter=0\nuse192=1\n";
        QProcess &second = start(copyOfProgram(QStringLiteral("second"), QStringLiteral("tarvo"), confirmsAtOnce));
        QVERIFY(endsCleanly(second));
        QCOMPARE(fileBytes(programs->filePath(QStringLiteral("second/tarvo.ini"))), confirmsAtOnce);
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(lockHolder(QStringLiteral("tarvo")), first.processId());
    }

    // What the second copy sends reaches the first: here the test stands in for the first copy.
    void firstCopyIsAskedToComeForward()
    {
        SingleInstanceGuard standIn(QStringLiteral("tarvo"), runtimeDir());
        QVERIFY(standIn.isFirstCopy());
        QSignalSpy asked(&standIn, &SingleInstanceGuard::comeForwardRequested);
        QProcess &second = start(copyOfProgram(QStringLiteral("second"), QStringLiteral("tarvo")));
        QVERIFY(asked.wait(patience));
        QVERIFY(endsCleanly(second));
        QCOMPARE(asked.count(), 1);
    }

    // tarvo-cli status reads the running copy's figures: "not counting" until the options are
    // confirmed, then the bucket's (emptied by the hours since the last use).
    void statusComesFromTheRunningCopy()
    {
        // The only LAN address is one for documentation: nothing the adapter sees can count.
        const QByteArray confirmsAtOnce =
            lastUse + "ShowOptions=0\nadapter=0\nuse192=0\nlanIPCount=1\n[LANIPS]\nIP0=192.0.2.1\n";
        const QString program = copyOfProgram(QStringLiteral("first"), QStringLiteral("tarvo"), confirmsAtOnce);
        QProcess &running = start(program);
        QVERIFY(becomesFirst(running, QStringLiteral("tarvo")));
        QJsonObject figures;
        const bool counting = QTest::qWaitFor(
            [&] {
                const auto [exitCode, out] = askStatus({QStringLiteral("--json")});
                // 3: it listens a moment after it took the lock; 4: it answers once its event
                // loop runs, after its windows are built.
                if (exitCode != 0 && exitCode != 3 && exitCode != 4)
                    return true;
                figures = QJsonDocument::fromJson(out).object();
                return figures.value(QStringLiteral("monitoring")).toBool();
            },
            patience);
        QVERIFY(counting);
        QCOMPARE(figures.value(QStringLiteral("version")).toInt(), 1);
        QCOMPARE(figures.value(QStringLiteral("restriction")).toString(), QStringLiteral("none"));
        QCOMPARE(figures.value(QStringLiteral("percent_left")).toInt(), 100);
        const auto [exitCode, line] = askStatus({});
        QCOMPARE(exitCode, 0);
        // Nothing the adapter sees counts: the line says the link is idle rather than holding speeds.
        QVERIFY2(line.startsWith("none 100% | left ") && line.endsWith(" | idle\n") && line.count('\n') == 1,
                 line.constData());
        QCOMPARE(figures.value(QStringLiteral("idle")).toBool(), true);
        QCOMPARE(running.state(), QProcess::Running);
    }

    // Copies of other file names do not see each other; each is guarded under its own name.
    void copyUnderAnotherNameRunsBeside()
    {
        QProcess &first = start(copyOfProgram(QStringLiteral("first"), QStringLiteral("tarvo")));
        QVERIFY(becomesFirst(first, QStringLiteral("tarvo")));
        QProcess &beside = start(copyOfProgram(QStringLiteral("beside"), QStringLiteral("tarvo-beside")));
        QVERIFY(becomesFirst(beside, QStringLiteral("tarvo-beside")));
        QProcess &again = start(copyOfProgram(QStringLiteral("again"), QStringLiteral("tarvo-beside")));
        QVERIFY(endsCleanly(again));
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(beside.state(), QProcess::Running);
    }

    // After the first copy ended, the next start runs, whether the first ended as it should or was
    // killed and left its lock and its socket behind; the new copy answers on the socket.
    void laterStartRunsNormally_data()
    {
        QTest::addColumn<bool>("killed");
        QTest::newRow("ended") << false;
        QTest::newRow("killed") << true;
    }
    void laterStartRunsNormally()
    {
        QFETCH(bool, killed);
        const QString program = copyOfProgram(QStringLiteral("first"), QStringLiteral("tarvo"));
        QProcess &first = start(program);
        QVERIFY(becomesFirst(first, QStringLiteral("tarvo")));
        const qint64 firstPid = first.processId();
        if (killed) {
            first.kill();
            QVERIFY(first.waitForFinished(patience));
            QCOMPARE(lockHolder(QStringLiteral("tarvo")), firstPid); // stale
        } else {
            first.terminate();
            QVERIFY(endsCleanly(first));
            QCOMPARE(lockHolder(QStringLiteral("tarvo")), 0);
        }

        QProcess &next = start(program);
        QVERIFY(becomesFirst(next, QStringLiteral("tarvo")));
        const SingleInstanceGuard later(QStringLiteral("tarvo"), runtimeDir());
        QVERIFY(!later.isFirstCopy());
        // It listens a moment after it took the lock.
        QVERIFY(QTest::qWaitFor([&later] { return later.askFirstCopyForward(); }, patience));
        QCOMPARE(next.state(), QProcess::Running);
    }

    // The running copy's reaction: the options window while it is shown, else the monitor window,
    // back from the task bar and to the front.
    void bringForwardShowsTheVisibleWindow()
    {
        const Dialogs::Handler previous = Dialogs::setHandler([](const Dialogs::Request &) { return QMessageBox::Ok; });
        writeBytes(home->filePath(QStringLiteral("tarvo.ini")), lastUse);
        Program program(ProgramEnvironment{home->path() + u'/', [] { return oleDateToDateTime(46366.25); }});
        program.showFirstWindow();
        program.optionsWindow.showMinimized();
        program.bringForward();
        QVERIFY(!program.optionsWindow.isMinimized());
        QVERIFY(program.optionsWindow.isVisible());
        QVERIFY(!program.monitorWindow.isVisible());

        // Only the tray icon left: the monitor window comes back.
        program.optionsWindow.hide();
        program.bringForward();
        QVERIFY(program.monitorWindow.isVisible());
        QVERIFY(QTest::qWaitForWindowActive(&program.monitorWindow));
        program.monitorWindow.showMinimized();
        program.bringForward();
        QVERIFY(!program.monitorWindow.isMinimized());
        Dialogs::setHandler(previous);
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
