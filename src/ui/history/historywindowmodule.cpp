#include "ui/history/historywindowmodule.h"

#include "ui/history/historywindow.h"

extern "C" Q_DECL_EXPORT QWidget *tarvoCreateHistoryWindow(const UsageHistoryReader &reader, const QDateTime &now,
                                                           QWidget *parent)
{
    return new HistoryWindow(reader, now, parent);
}

extern "C" Q_DECL_EXPORT void tarvoFollowHistoryWindow(QWidget *window, const QDateTime &now)
{
    static_cast<HistoryWindow *>(window)->follow(now);
}

static_assert(std::is_same_v<decltype(&tarvoCreateHistoryWindow), HistoryWindowModule::Create>);
static_assert(std::is_same_v<decltype(&tarvoFollowHistoryWindow), HistoryWindowModule::Follow>);
