#pragma once

#include "history/usagehistory.h"

class QDateTime;
class QWidget;

// The history window is a module of its own, loaded when "History..." is first chosen: Qt Charts
// and the OpenGL libraries it pulls in then cost a start nothing. The module offers two functions
// by these names; the program finds it beside itself or in its library folder.
namespace HistoryWindowModule {

inline constexpr char fileName[] = "tarvo-historywindow.so";

// A new history window on `reader`; `now` fixes "today" (HistoryWindow's constructor).
using Create = QWidget *(*)(const UsageHistoryReader &reader, const QDateTime &now, QWidget *parent);
inline constexpr char createName[] = "tarvoCreateHistoryWindow";
// The program's clock into a window Create made (HistoryWindow::follow).
using Follow = void (*)(QWidget *window, const QDateTime &now);
inline constexpr char followName[] = "tarvoFollowHistoryWindow";

} // namespace HistoryWindowModule
