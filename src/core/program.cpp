#include "core/program.h"

Program::Program(ProgramEnvironment environment)
    : frmMain(std::move(environment))
    , frmGui(frmMain.settings, frmMain.counters, frmMain.meter)
{
    frmMain.setMonitor(&frmGui);
    frmGui.setCompanionWindows(&frmMain, &AboutBox);
    // Closing the main window ends the program, with its exit save.
    QObject::connect(&frmGui, &TfrmGui::closeRequested, &frmMain, &QWidget::close);
    QObject::connect(&frmGui, &TfrmGui::optionsRequested, &frmMain, &TfrmMain::showFromMonitor);
    QObject::connect(&frmGui, &TfrmGui::alwaysOnTopToggled, &frmMain, &TfrmMain::alwaysOnTopToggled);
}

void Program::showFirstWindow()
{
    frmMain.showMaximisedWindow();
}
