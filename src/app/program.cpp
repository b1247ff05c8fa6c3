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
    monitorWindow.setCompanionWindows(&optionsWindow, &aboutDialog);
}

void Program::showFirstWindow()
{
    optionsWindow.showMaximised();
}
