#pragma once

#include "core/mainunit.h"
#include "monitor/aboutunit.h"
#include "monitor/guiunit.h"
#include "net/autoupdate.h"

// The program's windows, created in this order and released in the reverse one: the options
// window first, so the settings are in memory before anything else is built.
struct Program
{
    explicit Program(ProgramEnvironment environment = {});

    // The message loop shows the options window first.
    void showFirstWindow();

    TfrmMain frmMain;
    TfrmGui frmGui;
    TfrmAutoUpdate frmAutoUpdate;
    TAboutBox AboutBox;
};
