#include "app/program.h"

Program::Program(ProgramEnvironment environment)
    : controller(optionsWindow, std::move(environment))
{
    controller.setMonitor(&monitorWindow);
    monitorWindow.setCompanionWindows(&optionsWindow, &aboutDialog);
}

void Program::showFirstWindow()
{
    optionsWindow.showMaximised();
}
