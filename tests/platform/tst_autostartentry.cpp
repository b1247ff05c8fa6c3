#include "platform/autostartentry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The start at logon is an XDG autostart entry; the desktop must read back exactly the path of
// the program, whatever characters it holds.
class TestAutostartEntry : public QObject
{
    Q_OBJECT

private:
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

private Q_SLOTS:
    // The Exec value: quoted, quoting escapes first, then "%%", then the string escapes (so a
    // backslash in the path takes four), and never a second line.
    void execLine_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << QStringLiteral("/opt/tarvo/tarvo") << QStringLiteral(R"("/opt/tarvo/tarvo")");
        QTest::newRow("spaces") << QStringLiteral("/home/me/My Programs/tarvo")
                                << QStringLiteral(R"("/home/me/My Programs/tarvo")");
        QTest::newRow("double quote") << QStringLiteral(R"(/a/b"c/tarvo)") << QStringLiteral(R"("/a/b\\"c/tarvo")");
        QTest::newRow("backslash") << QStringLiteral(R"(/a\b/tarvo)") << QStringLiteral(R"("/a\\\\b/tarvo")");
        QTest::newRow("dollar and backtick") << QStringLiteral("/a$HOME/`x`/tarvo")
                                             << QStringLiteral(R"("/a\\$HOME/\\`x\\`/tarvo")");
        QTest::newRow("percent") << QStringLiteral("/a/100%/tarvo") << QStringLiteral(R"("/a/100%%/tarvo")");
        QTest::newRow("line break") << QStringLiteral("/a\nHidden=false/tarvo")
                                    << QStringLiteral(R"("/a\nHidden=false/tarvo")");
        QTest::newRow("tab and return") << QStringLiteral("/a\tb\r/tarvo") << QStringLiteral(R"("/a\tb\r/tarvo")");
        QTest::newRow("not ASCII") << QStringLiteral("/home/jürgen/tarvo") << QStringLiteral(R"("/home/jürgen/tarvo")");
    }
    void execLine()
    {
        QFETCH(QString, executable);
        QFETCH(QString, exec);
        const QStringList lines = AutostartEntry::text(executable, true).split(u'\n');
        QCOMPARE(lines, QStringList({QStringLiteral("[Desktop Entry]"), QStringLiteral("Type=Application"),
                                     QStringLiteral("Name=Tarvo"), QStringLiteral("Exec=") + exec,
                                     QStringLiteral("Hidden=false"), QString()}));
    }

    void offHidesTheEntry()
    {
        QVERIFY(AutostartEntry::text(QStringLiteral("/opt/tarvo/tarvo"), false).endsWith(u"\nHidden=true\n"));
    }

    // The folder is made when missing and the file replaced whole, also under a path with spaces.
    void writeMakesTheFolderAndReplacesTheFile()
    {
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("my config/autostart/tarvo.desktop"));
        QVERIFY(AutostartEntry::write(path, QStringLiteral("/opt/my tarvo/tarvo"), true));
        QCOMPARE(read(path), AutostartEntry::text(QStringLiteral("/opt/my tarvo/tarvo"), true).toUtf8());
        QVERIFY(AutostartEntry::write(path, QStringLiteral("/opt/t/tarvo"), false));
        QCOMPARE(read(path), AutostartEntry::text(QStringLiteral("/opt/t/tarvo"), false).toUtf8());
    }

    // A regular file where the autostart folder should be: as root no permission stops a write,
    // but this does. Nothing is written and nothing is raised.
    void unwritableFolderFailsQuietly()
    {
        QTemporaryDir home;
        QFile blocker(home.filePath(QStringLiteral("autostart")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(!AutostartEntry::write(home.filePath(QStringLiteral("autostart/tarvo.desktop")),
                                       QStringLiteral("/opt/tarvo/tarvo"), true));
        QVERIFY(!AutostartEntry::write(QString(), QStringLiteral("/opt/tarvo/tarvo"), true));
    }
};

QTEST_GUILESS_MAIN(TestAutostartEntry)
#include "tst_autostartentry.moc"
