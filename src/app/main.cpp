#include "app/program.h"
#include "platform/quitsignals.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Hiding the options window must not end the program; closing it does (the controller quits on it).
    QApplication::setQuitOnLastWindowClosed(false);
    const QuitOnSignals quitOnSignals;
    Program program;
    program.showFirstWindow();
    const int result = quitOnSignals.quitRequested() ? 0 : QApplication::exec();
    program.controller.stopCapture();
    return result;
}
