#include "app/program.h"
#include "meter/statusfigures.h"
#include "platform/instancesocket.h"
#include "platform/quitsignals.h"
#include "platform/singleinstanceguard.h"
#include "translations/languages.h"

#include <QApplication>

int main(int argc, char *argv[])
{
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
    guard.setStatusProvider([&session = std::as_const(program.controller).session()] {
        return statusJson(statusFigures(session.meter(), session.stats(), session.ticking()));
    });
    program.showFirstWindow();
    const int result = quitOnSignals.quitRequested() ? 0 : QApplication::exec();
    program.controller.stopCapture();
    return result;
}
