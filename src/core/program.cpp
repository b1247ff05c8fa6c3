#include "core/program.h"

Program::Program()
    : frmGui(frmMain.settings, frmMain.counters, frmMain.meter)
{
    frmMain.setMonitor(&frmGui);
}

void Program::showFirstWindow()
{
    frmMain.showMaximized();
}
