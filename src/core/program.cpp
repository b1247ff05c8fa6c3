#include "core/program.h"

Program::Program(ProgramEnvironment environment)
    : frmMain(std::move(environment))
    , frmGui(frmMain.settings, frmMain.counters, frmMain.meter)
{
    frmMain.setMonitor(&frmGui);
}

void Program::showFirstWindow()
{
    frmMain.showMaximisedWindow();
}
