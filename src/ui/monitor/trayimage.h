#pragma once

#include "settings/appsettings.h"

#include <QImage>
#include <QString>

#include <cstdint>

// What one tray picture shows: the bucket against its limits, or the level in digits.
struct TrayGauge
{
    TrayStyle style = TrayStyle::Graphic;
    int32_t activeLimit = 0;
    int32_t usedBytes = 0;
    int32_t throttleLimit = 0;
    bool cutOff = false;
    int64_t levelPercent = 0;
};

// The rightmost column of the gauge's coloured part: floor(15 x (L - U) / L); an empty limit has
// no level to show, so the gauge is all green.
int trayGaugeColumn(int32_t activeLimit, int32_t usedBytes);

// A fresh 16 x 16 picture on white. Graphic: a green gauge whose coloured part (lime, yellow while
// throttled, red while cut off) runs from the left over columns 0..X, in a grey/silver frame.
// Text: the percentage without "%", bold blue, centred, clipped on both sides when too wide; the
// white cell stays in the tray, where blue digits alone would not read on a dark panel.
QImage drawTrayImage(const TrayGauge &gauge);

