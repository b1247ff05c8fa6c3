#include "app/program.h"
#include "platform/instancesocket.h"
#include "platform/quitsignals.h"
#include "platform/singleinstanceguard.h"
#include "session/sessionstatus.h"
#include "translations/languages.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Answered before the windows' library wants a display, so it works in any terminal.
    if (argc > 1 && (qstrcmp(argv[1], "--help") == 0 || qstrcmp(argv[1], "-h") == 0)) {
        QCoreApplication core(argc, argv);
        Languages::install(core);
        std::fputs(QCoreApplication::translate(
                       "tarvo", "usage: tarvo [--help]\n\n"
                                "Watches the Fair Access Policy of a metered satellite link: the options window "
                                "comes first,\nthen a small window and a tray icon show the bucket second by "
                                "second.\n\n"
                                "  --help          this help\n\n"
                                "Where its files live: man tarvo. Without windows: tarvo-cli --help.\n")
                       .toLocal8Bit()
                       .constData(),
                   stdout);
        return 0;
    }
    QApplication app(argc, argv);
    Languages::install(app);
    const QuitOnSignals quitOnSignals;
    // Before anything is loaded: a second copy shows nothing, starts nothing and saves nothing,
    // since its exit save would put the bucket it read back over the running copy's.
    SingleInstanceGuard guard(SingleInstanceGuard::programName(), InstanceSocket::userRuntimeDirectory());
    if (!guard.isFirstCopy()) {
        guard.askFirstCopyForward();
        return 0;
    }
    // Hiding the options window must not end the program; closing it does (the controller quits on it).
    QApplication::setQuitOnLastWindowClosed(false);
    Program program;
    QObject::connect(&guard, &SingleInstanceGuard::comeForwardRequested, &program.optionsWindow,
                     [&program] { program.bringForward(); });
    // `tarvo-cli status`: the readouts of the last tick.
    guard.setStatusProvider(
        [&session = std::as_const(program.controller).session()] { return sessionStatusJson(session); });
    // `tarvo-cli set-bucket`: the provider's figure into the running bucket.
    guard.setSetBucketHandler(
        [&controller = program.controller](const QByteArray &argument) { return controller.answerSetBucket(argument); });
    program.showFirstWindow();
    const int result = quitOnSignals.quitRequested() ? 0 : QApplication::exec();
    program.controller.stopCapture();
    return result;
}
