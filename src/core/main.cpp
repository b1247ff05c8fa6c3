#include "core/program.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Hiding the options window must not end the program; closing it does (TfrmMain::closeEvent).
    QApplication::setQuitOnLastWindowClosed(false);
    Program program;
    program.showFirstWindow();
    const int result = QApplication::exec();
    program.frmMain.stopCapture();
    return result;
}
