#include "core/program.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

class TestOptions : public QObject
{
    Q_OBJECT

private:
    QList<Dialogs::Request> shown;

private Q_SLOTS:
    void init()
    {
        shown.clear();
        Dialogs::setHandler([this](const Dialogs::Request &request) {
            shown.append(request);
            return QMessageBox::Ok;
        });
    }
    void cleanup() { Dialogs::setHandler({}); }

    // Writes the three tabs as options-<n>.png into $TARVO_RENDER_DIR (scripts/render-options),
    // or into a temporary folder, so anyone can look at the window again.
    void renderTabs()
    {
        Program program;
        TfrmMain &main = program.frmMain;
        main.ui.ListBox2->addItems({QStringLiteral("192.168.0.7"), QStringLiteral("10.1.1.1")});
        program.showFirstWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const QString folder = qEnvironmentVariable("TARVO_RENDER_DIR", QDir::tempPath());
        QVERIFY(QDir().mkpath(folder));
        for (int tab = 0; tab < main.ui.PageControl1->count(); ++tab) {
            main.ui.PageControl1->setCurrentIndex(tab);
            const QImage image = main.grab().toImage();
            QVERIFY(!image.isNull());
            QVERIFY(image.save(QDir(folder).filePath(QStringLiteral("options-%1.png").arg(tab + 1))));
        }
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
