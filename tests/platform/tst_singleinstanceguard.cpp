#include "platform/singleinstanceguard.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Where no lock can be made, the guard must not keep the program from running.
class TestSingleInstanceGuard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void noLockRunsUnguarded_data()
    {
        QTest::addColumn<QString>("folder"); // below a temporary folder holding a regular file "file"
        QTest::newRow("no folder") << QString();
        QTest::newRow("missing folder") << QStringLiteral("missing");
        QTest::newRow("a file, not a folder") << QStringLiteral("file");
    }
    void noLockRunsUnguarded()
    {
        QFETCH(QString, folder);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString directory = folder.isEmpty() ? QString() : dir.filePath(folder);
        const SingleInstanceGuard first(QStringLiteral("tarvo"), directory);
        const SingleInstanceGuard second(QStringLiteral("tarvo"), directory);
        QVERIFY(first.isFirstCopy());
        QVERIFY(second.isFirstCopy());
        QVERIFY(!second.askFirstCopyForward(std::chrono::milliseconds(100)));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstanceGuard)
#include "tst_singleinstanceguard.moc"
