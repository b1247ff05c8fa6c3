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

void Program::bringForward()
{
    QWidget &window = optionsWindow.isVisible() ? static_cast<QWidget &>(optionsWindow) : monitorWindow;
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}
