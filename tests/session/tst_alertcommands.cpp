#include "session/alertcommands.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// 10 % above a throttle limit of 1,000,000 bytes.
AlertReading throttledReading()
{
    AlertReading reading;
    reading.now = QDateTime::fromSecsSinceEpoch(1782907200);
    reading.restriction = Restriction::Throttled;
    reading.usedBytes = 1100000;
    reading.throttleLimit = 1000000;
    reading.bytesToCutOff = 400000.75;
    reading.secondsToThrottle = 25;
    reading.droppedFrames = 7;
    return reading;
}

const Alert throttled{Alert::Kind::Throttled, u"Throttled"_s, u"400,000 bytes to cut off."_s};

} // namespace

// The user's command at an alert: started without a shell, with the alert in its environment,
// and every way it can fail reported once.
class TestAlertCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir dir{QDir::tempPath() + u"/alert commands XXXXXX"_s}; // a space in every path: quotes needed

    QString script(const QByteArray &body)
    {
        const QString path = dir.filePath(u"alert script"_s);
        QFile file(path);
        file.remove();
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write("#!/bin/sh\n" + body + '\n');
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

private Q_SLOTS:
    void runs_data()
    {
        QTest::addColumn<QByteArray>("body");        // of the script; %1 in the line is its path
        QTest::addColumn<QString>("commandLine");    // %2: the file the script writes
        QTest::addColumn<QStringList>("written");    // lines the file must hold
        QTest::addColumn<QString>("failure");        // the message, as a pattern; empty for none

        QTest::newRow("environment") << QByteArray("env > \"$1\"") << u"\"%1\" \"%2\""_s
                                     << QStringList{u"TARVO_ALERT=throttled"_s, u"TARVO_SUMMARY=Throttled"_s,
                                                    u"TARVO_BODY=400,000 bytes to cut off."_s,
                                                    u"TARVO_TIME=2026-07-01T12:00:00Z"_s,
                                                    u"TARVO_RESTRICTION=throttled"_s, u"TARVO_PERCENT=110"_s,
                                                    u"TARVO_LEVEL_BYTES=1100000"_s,
                                                    u"TARVO_THROTTLE_LIMIT_BYTES=1000000"_s,
                                                    u"TARVO_TO_THROTTLE_BYTES=-100000"_s,
                                                    u"TARVO_TO_CUT_OFF_BYTES=400000"_s,
                                                    u"TARVO_SECONDS_TO_THROTTLE=25"_s,
                                                    u"TARVO_SECONDS_TO_CUT_OFF="_s,
                                                    u"TARVO_DROPPED_FRAMES=7"_s}
                                     << QString();
        QTest::newRow("quoted arguments with spaces")
            << QByteArray("out=\"$1\"; shift; for a in \"$@\"; do echo \"[$a]\"; done > \"$out\"")
            << u"\"%1\" \"%2\" \"two  words\" plain \"\"\"quoted\"\"\""_s
            << QStringList{u"[two  words]"_s, u"[plain]"_s, u"[\"quoted\"]"_s} << QString();
        QTest::newRow("exit status") << QByteArray("echo 'disk\nfull'; exit 3") << u"\"%1\""_s << QStringList()
                                     << u"^Alert command .*alert script ended with exit status 3\\. Output: disk full$"_s;
        QTest::newRow("silent failure") << QByteArray("exit 1") << u"\"%1\""_s << QStringList()
                                        << u"exit status 1\\. Output: \\(no output\\)$"_s;
        QTest::newRow("long output") << QByteArray("yes 0123456789 | head -c 100000; exit 2") << u"\"%1\""_s
                                     << QStringList() << u"Output: (0123456789 ){18}01$"_s;
        QTest::newRow("time limit") << QByteArray("echo started; exec sleep 60") << u"\"%1\""_s << QStringList()
                                    << u"was stopped after 0\\.5 s\\. Output: started$"_s;
        QTest::newRow("crash") << QByteArray("kill -SEGV $$") << u"\"%1\""_s << QStringList() << u"crashed\\."_s;
        QTest::newRow("not found") << QByteArray() << u"\"%1/no such command\" --now"_s << QStringList()
                                   << u"^Alert command .*/no such command could not start: "_s;
    }

    void runs()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, commandLine);
        QFETCH(QStringList, written);
        QFETCH(QString, failure);
        const QString path = body.isEmpty() ? dir.path() : script(body);
        QVERIFY(!path.isEmpty());
        const QString output = dir.filePath(u"written file"_s);
        QFile::remove(output);

        AlertConfig config;
        config.command = commandLine.arg(path, output);
        AlertCommands commands(std::chrono::milliseconds(500));
        QSignalSpy failed(&commands, &AlertCommands::failed);
        commands.run(config, throttled, throttledReading());
        QTRY_COMPARE_WITH_TIMEOUT(commands.running(), 0, 10000);

        if (failure.isEmpty()) {
            QCOMPARE(failed.size(), 0);
        } else {
            QCOMPARE(failed.size(), 1);
            const QString message = failed.first().first().toString();
            QVERIFY2(QRegularExpression(failure).match(message).hasMatch(), qPrintable(message));
        }
        QFile file(output);
        QCOMPARE(file.open(QIODevice::ReadOnly), !written.isEmpty());
        if (!file.isOpen())
            return;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        for (const QString &line : written)
            QVERIFY2(lines.contains(line), qPrintable(line));
    }

    // A kind's own command wins over the shared one; blanks are none.
    void commandOfEachKind_data()
    {
        QTest::addColumn<QString>("shared");
        QTest::addColumn<QString>("own");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << QString() << QString() << QString();
        QTest::newRow("shared") << u"notify all"_s << QString() << u"notify all"_s;
        QTest::newRow("own") << u"notify all"_s << u" pause-downloads "_s << u"pause-downloads"_s;
        QTest::newRow("blank own") << u"notify all"_s << u"  "_s << u"notify all"_s;
    }

    void commandOfEachKind()
    {
        QFETCH(QString, shared);
        QFETCH(QString, own);
        QFETCH(QString, expected);
        for (const AlertKindCommand &row : alertKindCommands) {
            AlertConfig config;
            config.command = shared;
            config.*row.command = own;
            QCOMPARE(alertCommandLine(config, row.kind), expected);
            // The others take the shared one.
            for (const AlertKindCommand &other : alertKindCommands) {
                if (other.kind != row.kind)
                    QCOMPARE(alertCommandLine(config, other.kind), shared.trimmed());
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestAlertCommands)
#include "tst_alertcommands.moc"
