#include "settings/filelocations.h"

#include <QTest>

class FileLocationsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rule_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("configHome");
        QTest::addColumn<QString>("cacheHome");
        QTest::addColumn<bool>("ownPlans");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("downloads");
        QTest::addColumn<QString>("plans");

        const QString program = QStringLiteral("/opt/tarvo/");
        const QString usr = QStringLiteral("/usr");
        QTest::newRow("own folder, writable: everything beside the program")
            << program << usr << true << QStringLiteral("/x/config") << QStringLiteral("/x/cache") << true
            << program << program << QStringLiteral("/opt/tarvo/plans.ini");
        QTest::newRow("installed, XDG set, user's own plans")
            << program << usr << false << QStringLiteral("/x/config") << QStringLiteral("/x/cache/") << true
            << QStringLiteral("/x/config/tarvo/") << QStringLiteral("/x/cache/tarvo/")
            << QStringLiteral("/x/config/tarvo/plans.ini");
        QTest::newRow("installed, XDG set, shipped plans")
            << program << usr << false << QStringLiteral("/x/config") << QStringLiteral("/x/cache") << false
            << QStringLiteral("/x/config/tarvo/") << QStringLiteral("/x/cache/tarvo/")
            << QStringLiteral("/opt/share/tarvo/plans.ini");
        QTest::newRow("installed, XDG unset")
            << program << usr << false << QString() << QString() << false
            << QStringLiteral("/home/u/.config/tarvo/") << QStringLiteral("/home/u/.cache/tarvo/")
            << QStringLiteral("/opt/share/tarvo/plans.ini");
        // Relative paths in the variables are invalid and must be ignored.
        QTest::newRow("installed, XDG relative")
            << program << usr << false << QStringLiteral("config") << QStringLiteral("./cache") << false
            << QStringLiteral("/home/u/.config/tarvo/") << QStringLiteral("/home/u/.cache/tarvo/")
            << QStringLiteral("/opt/share/tarvo/plans.ini");
        // Installed: the user's folders, even when whoever runs it may write the program's folder.
        const QString xdgSettings = QStringLiteral("/x/config/tarvo/");
        const QString xdgDownloads = QStringLiteral("/x/cache/tarvo/");
        QTest::newRow("/usr/bin, run by root")
            << QStringLiteral("/usr/bin/") << usr << true << QStringLiteral("/x/config") << QStringLiteral("/x/cache")
            << false << xdgSettings << xdgDownloads << QStringLiteral("/usr/share/tarvo/plans.ini");
        QTest::newRow("prefix given with a slash")
            << QStringLiteral("/usr/bin/") << QStringLiteral("/usr/") << true << QStringLiteral("/x/config")
            << QStringLiteral("/x/cache") << false << xdgSettings << xdgDownloads
            << QStringLiteral("/usr/share/tarvo/plans.ini");
        QTest::newRow("a prefix of its own, writable")
            << QStringLiteral("/opt/tarvo-1.11/bin/") << QStringLiteral("/opt/tarvo-1.11") << true
            << QStringLiteral("/x/config") << QStringLiteral("/x/cache") << false << xdgSettings << xdgDownloads
            << QStringLiteral("/opt/tarvo-1.11/share/tarvo/plans.ini");
        // Not installed: beside the program when it can write there.
        QTest::newRow("a folder whose name begins with the prefix's")
            << QStringLiteral("/usr2/bin/") << usr << true << QStringLiteral("/x/config") << QStringLiteral("/x/cache")
            << false << QStringLiteral("/usr2/bin/") << QStringLiteral("/usr2/bin/") << QStringLiteral("/usr2/bin/plans.ini");
        QTest::newRow("build folder beside the default prefix")
            << QStringLiteral("/home/u/tarvo/build/release/bin/") << QStringLiteral("/usr/local") << true
            << QString() << QString() << false << QStringLiteral("/home/u/tarvo/build/release/bin/")
            << QStringLiteral("/home/u/tarvo/build/release/bin/")
            << QStringLiteral("/home/u/tarvo/build/release/bin/plans.ini");
    }
    void rule()
    {
        QFETCH(QString, program);
        QFETCH(QString, prefix);
        QFETCH(bool, writable);
        QFETCH(QString, configHome);
        QFETCH(QString, cacheHome);
        QFETCH(bool, ownPlans);

        const FileLocations found = locateFiles({
            program, prefix, writable, QStringLiteral("/home/u"), configHome, cacheHome,
            [&](const QString &path) { return ownPlans && path == QStringLiteral("/x/config/tarvo/plans.ini"); },
        });
        QTEST(found.settingsFolder, "settings");
        QTEST(found.downloadFolder, "downloads");
        QTEST(found.plansFile, "plans");
    }

    // Tests and a program in its own folder give one folder for everything.
    void oneFolder()
    {
        const FileLocations files(QStringLiteral("/tmp/t/"));
        QCOMPARE(files.settingsFolder, QStringLiteral("/tmp/t/"));
        QCOMPARE(files.downloadFolder, QStringLiteral("/tmp/t/"));
        QCOMPARE(files.plansFile, QStringLiteral("/tmp/t/plans.ini"));
    }
};

QTEST_GUILESS_MAIN(FileLocationsTest)
#include "tst_filelocations.moc"
