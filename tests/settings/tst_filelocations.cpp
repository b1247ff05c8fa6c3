#include "settings/filelocations.h"

#include <QTest>

class FileLocationsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rule_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("configHome");
        QTest::addColumn<QString>("cacheHome");
        QTest::addColumn<bool>("ownPlans");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("downloads");
        QTest::addColumn<QString>("plans");

        const QString program = QStringLiteral("/opt/tarvo/");
        QTest::newRow("own folder, writable: everything beside the program")
            << true << QStringLiteral("/x/config") << QStringLiteral("/x/cache") << true
            << program << program << QStringLiteral("/opt/tarvo/plans.ini");
        QTest::newRow("installed, XDG set, user's own plans")
            << false << QStringLiteral("/x/config") << QStringLiteral("/x/cache/") << true
            << QStringLiteral("/x/config/tarvo/") << QStringLiteral("/x/cache/tarvo/")
            << QStringLiteral("/x/config/tarvo/plans.ini");
        QTest::newRow("installed, XDG set, shipped plans")
            << false << QStringLiteral("/x/config") << QStringLiteral("/x/cache") << false
            << QStringLiteral("/x/config/tarvo/") << QStringLiteral("/x/cache/tarvo/")
            << QStringLiteral("/opt/share/tarvo/plans.ini");
        QTest::newRow("installed, XDG unset")
            << false << QString() << QString() << false
            << QStringLiteral("/home/u/.config/tarvo/") << QStringLiteral("/home/u/.cache/tarvo/")
            << QStringLiteral("/opt/share/tarvo/plans.ini");
        // Relative paths in the variables are invalid and must be ignored.
        QTest::newRow("installed, XDG relative")
            << false << QStringLiteral("config") << QStringLiteral("./cache") << false
            << QStringLiteral("/home/u/.config/tarvo/") << QStringLiteral("/home/u/.cache/tarvo/")
            << QStringLiteral("/opt/share/tarvo/plans.ini");
    }
    void rule()
    {
        QFETCH(bool, writable);
        QFETCH(QString, configHome);
        QFETCH(QString, cacheHome);
        QFETCH(bool, ownPlans);

        const FileLocations found = locateFiles({
            QStringLiteral("/opt/tarvo/"), writable, QStringLiteral("/home/u"), configHome, cacheHome,
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
