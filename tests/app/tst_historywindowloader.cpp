#include "app/historywindowloader.h"

#include "support/fakehistory.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// Whether a library whose file name holds `name` is mapped into this process.
bool mapped(const QByteArray &name)
{
    QFile maps(u"/proc/self/maps"_s);
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name);
}

} // namespace

// The history window comes from its module, found beside the program, and with it Qt Charts: a
// start that never opens the window never loads them.
class TestHistoryWindowLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chartsComeWithTheFirstWindow()
    {
        QVERIFY(!mapped("libQt6Charts"));
        QVERIFY(!mapped("libQt6OpenGLWidgets"));
        HistoryWindowLoader loader;
        FakeHistory history;
        QWidget parent;
        QPointer<QWidget> window = loader.create(history, QDateTime(QDate(2026, 12, 11), QTime(12, 0)), &parent);
        QVERIFY2(window, qPrintable(loader.error()));
        QCOMPARE(window->parentWidget(), &parent);
        QVERIFY(mapped("libQt6Charts"));
        loader.follow(window, QDateTime(QDate(2026, 12, 11), QTime(12, 1, 10)));
        // A second window comes from the module already loaded.
        QVERIFY(loader.create(history, QDateTime(QDate(2026, 12, 11), QTime(12, 0)), &parent));
    }

    // Neither beside the program nor in the library folder: no window, and the reason.
    void missingModuleIsTold()
    {
        QTemporaryDir empty;
        HistoryWindowLoader loader({empty.path(), empty.path() + u"/lib"_s});
        FakeHistory history;
        QVERIFY(!loader.create(history, QDateTime(QDate(2026, 12, 11), QTime(12, 0)), nullptr));
        QVERIFY2(loader.error().contains(empty.path() + u"/tarvo-historywindow.so"_s), qPrintable(loader.error()));
    }
};

QTEST_MAIN(TestHistoryWindowLoader)
#include "tst_historywindowloader.moc"
