#include "app/program.h"

#include "net/endpoints.h"

#include <QCoreApplication>

Program::Program(ProgramEnvironment environment)
    : controller(optionsWindow, environment)
    , updateStep(monitorWindow, updateOfferWindow, std::move(environment), Endpoints::updateHost())
{
    QObject::connect(&controller, &Controller::updateCheckDue, &updateStep, &UpdateStep::run);
    QObject::connect(&updateStep, &UpdateStep::quitRequested, &controller, &QCoreApplication::quit);
    controller.setMonitor(&monitorWindow);
    controller.setPlanner(&plannerWindow);
    controller.setProgramsWindow(&programsWindow);
    monitorWindow.setCompanionWindows(&optionsWindow, &aboutDialog);
}

void Program::showFirstWindow()
{
    optionsWindow.present();
}

void Program::bringForward()
{
    QWidget &window = optionsWindow.isVisible() ? static_cast<QWidget &>(optionsWindow) : monitorWindow;
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}
