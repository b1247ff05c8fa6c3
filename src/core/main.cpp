#include "core/program.h"
#include "platform/quitsignals.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Hiding the options window must not end the program; closing it does (TfrmMain::closeEvent).
    QApplication::setQuitOnLastWindowClosed(false);
    const QuitOnSignals quitOnSignals;
    Program program;
    program.showFirstWindow();
    const int result = quitOnSignals.quitRequested() ? 0 : QApplication::exec();
    program.frmMain.stopCapture();
    return result;
}
