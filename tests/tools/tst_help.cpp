#include "support/stringlists.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

QSet<QString> matches(const QString &pattern, const QString &text, QRegularExpression::PatternOptions options = {})
{
    QSet<QString> found;
    for (auto it = QRegularExpression(pattern, options).globalMatch(text); it.hasNext();)
        found.insert(it.next().captured(1));
    return found;
}

// The options a command's reader compares its arguments with: every string literal that is an option.
QSet<QString> parsedOptions(const QStringList &sources)
{
    QSet<QString> found;
    for (const QString &source : sources) {
        QFile file(QStringLiteral(TARVO_TOOLS_SOURCE "/") + source);
        if (!file.open(QIODevice::ReadOnly))
            return {QStringLiteral("cannot read ") + source};
        found += matches(QStringLiteral("\"(--[a-z0-9-]+)\""), QString::fromUtf8(file.readAll()));
    }
    return found;
}

// The options a help lists, one to a line.
QSet<QString> listedOptions(const QByteArray &help)
{
    return matches(QStringLiteral("^  (--[a-z0-9-]+)"), QString::fromUtf8(help), QRegularExpression::MultilineOption);
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// What the completion script offers for `words`, the last being the word completed.
QStringList completions(const QStringList &words)
{
    const Run result = run(QStringLiteral("bash"),
                           QStringList{QStringLiteral("-c"),
                                       QStringLiteral("source \"$1\" && COMP_WORDS=(\"${@:3}\") && COMP_CWORD=$2 "
                                                      "&& _tarvo_cli && printf '%s\\n' \"${COMPREPLY[@]}\""),
                                       QStringLiteral("bash"), QStringLiteral(TARVO_COMPLETION),
                                       QString::number(words.size() - 1)}
                               + words);
    if (result.exitCode != 0)
        return {QStringLiteral("bash failed: ") + QString::fromUtf8(result.err)};
    return sorted(QString::fromUtf8(result.out).split(u'\n', Qt::SkipEmptyParts));
}

const QStringList allSources{QStringLiteral("replay.cpp"), QStringLiteral("watch.cpp"), QStringLiteral("watchreport.cpp"), QStringLiteral("history.cpp"),
                             QStringLiteral("plan.cpp"), QStringLiteral("status.cpp"), QStringLiteral("setbucket.cpp")};

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        for (const char *name : {"tarvo.ini", "capture.pcap"}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    // Help is no error: usage on standard output, exit status 0, and every option the command
    // reads is explained.
    void helpNamesEveryOption_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("usage");
        QTest::addColumn<QStringList>("sources");
        const QString cli = QStringLiteral(TARVO_CLI);
        QTest::newRow("tarvo-cli --help") << cli << strings({"--help"}) << u"usage: tarvo-cli replay"_s << allSources;
        QTest::newRow("tarvo-cli -h") << cli << strings({"-h"}) << u"usage: tarvo-cli replay"_s << allSources;
        QTest::newRow("replay") << cli << strings({"replay", "--help"}) << u"usage: tarvo-cli replay"_s
                                << strings({"replay.cpp"});
        QTest::newRow("watch") << cli << strings({"watch", "--help"}) << u"usage: tarvo-cli watch"_s
                               << strings({"watch.cpp", "watchreport.cpp"});
        QTest::newRow("history") << cli << strings({"history", "--help"}) << u"usage: tarvo-cli history"_s
                                 << strings({"history.cpp"});
        QTest::newRow("plan after its size") << cli << strings({"plan", "3GB", "--help"}) << u"usage: tarvo-cli plan"_s
                                             << strings({"plan.cpp"});
        QTest::newRow("status -h") << cli << strings({"status", "-h"}) << u"usage: tarvo-cli status"_s
                                   << strings({"status.cpp"});
        QTest::newRow("set-bucket") << cli << strings({"set-bucket", "50%", "--help"}) << u"usage: tarvo-cli set-bucket"_s
                                    << strings({"setbucket.cpp"});
        QTest::newRow("tarvo") << QStringLiteral(TARVO_GUI) << strings({"--help"}) << u"usage: tarvo"_s << QStringList{};
    }
    void helpNamesEveryOption()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, usage);
        QFETCH(QStringList, sources);
        const Run result = run(program, arguments);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QByteArray());
        QVERIFY2(result.out.startsWith(usage.toUtf8()), result.out.constData());
        QSet<QString> missing = parsedOptions(sources) - listedOptions(result.out);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.values().join(u' ')));
        QVERIFY(listedOptions(result.out).contains(QStringLiteral("--help")));
    }

    // The completion offers each command's options exactly as its help lists them.
    void completionOffersTheHelpsOptions_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *command : {"replay", "watch", "history", "plan", "status", "set-bucket"})
            QTest::newRow(command) << QString::fromLatin1(command);
    }
    void completionOffersTheHelpsOptions()
    {
        QFETCH(QString, command);
        const Run help = run(QStringLiteral(TARVO_CLI), {command, QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QCOMPARE(completions({QStringLiteral("tarvo-cli"), command, QStringLiteral("--")}),
                 sorted(listedOptions(help.out).values()));
    }

    void completionKnowsEveryCommand()
    {
        const Run help = run(QStringLiteral(TARVO_CLI), {QStringLiteral("--help")});
        QSet<QString> commands = matches(QStringLiteral("^(?:usage:|      ) tarvo-cli ([a-z-]+)"),
                                         QString::fromUtf8(help.out), QRegularExpression::MultilineOption);
        commands.insert(QStringLiteral("--help"));
        QCOMPARE(completions({QStringLiteral("tarvo-cli"), QString()}), sorted(commands.values()));
    }

    void completesValues_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("expected");
        const QString folder = dir.path() + u'/';
        const QStringList adapters =
            QDir(u"/sys/class/net"_s).entryList({u"l*"_s}, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        QTest::newRow("a command") << strings({"tarvo-cli", "wa"}) << strings({"watch"});
        QTest::newRow("watch: the adapters") << strings({"tarvo-cli", "watch", "l"}) << sorted(adapters);
        QTest::newRow("--ini: files") << strings({"tarvo-cli", "plan", "3GB", "--ini"}) + QStringList{folder + u't'}
                                      << QStringList{folder + u"tarvo.ini"_s};
        QTest::newRow("--history: files") << strings({"tarvo-cli", "watch", "lo", "--history"}) + QStringList{folder + u'c'}
                                          << QStringList{folder + u"capture.pcap"_s};
        QTest::newRow("replay: the capture file") << strings({"tarvo-cli", "replay"}) + QStringList{folder + u'c'}
                                                  << QStringList{folder + u"capture.pcap"_s};
        QTest::newRow("--by: the periods") << strings({"tarvo-cli", "history", "--by", ""})
                                           << strings({"day", "hour", "minute"});
        QTest::newRow("--seconds: nothing to offer") << strings({"tarvo-cli", "watch", "lo", "--seconds", ""})
                                                     << QStringList{};
        QTest::newRow("an option after a value") << strings({"tarvo-cli", "plan", "3GB", "--s"}) << strings({"--speed"});
    }
    void completesValues()
    {
        QFETCH(QStringList, words);
        QFETCH(QStringList, expected);
        QCOMPARE(completions(words), expected);
    }
};

QTEST_GUILESS_MAIN(TestHelp)
#include "tst_help.moc"
