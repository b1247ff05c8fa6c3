#pragma once

#include "app/controller.h"
#include "app/updatestep.h"
#include "ui/about/aboutdialog.h"
#include "ui/monitor/monitorwindow.h"
#include "ui/options/optionswindow.h"
#include "ui/planner/plannerwindow.h"
#include "ui/programs/programswindow.h"
#include "ui/update/updateofferwindow.h"

// The program's windows and its controller, created in this order and released in the reverse
// one: the options window and the controller's load first, so the settings are in memory before
// anything else is built; the controller's exit save comes after the later windows are gone.
struct Program
{
    explicit Program(ProgramEnvironment environment = {});

    // The message loop shows the options window first.
    void showFirstWindow();
    // Another copy was started: the options window while it is shown, else the monitor window,
    // comes back on screen and to the front.
    void bringForward();

    OptionsWindow optionsWindow;
    Controller controller;
    MonitorWindow monitorWindow;
    // Windows of the monitor's, so that "Always on top" keeps them above it.
    UpdateOfferWindow updateOfferWindow{&monitorWindow};
    AboutDialog aboutDialog{&monitorWindow};
    PlannerWindow plannerWindow{&monitorWindow};
    ProgramsWindow programsWindow{&monitorWindow};
    UpdateStep updateStep; // first to go: a question or download still out ends silently
};
