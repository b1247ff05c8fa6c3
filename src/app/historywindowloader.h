#pragma once

#include "ui/history/historywindowmodule.h"

#include <QLibrary>
#include <QStringList>

// Loads the history window's module the first time a window is wanted, and keeps it loaded: the
// windows it made run its code until they close.
class HistoryWindowLoader
{
public:
    // Beside the program first (a build, a copy of its folder), then where the package installs it.
    static QStringList defaultFolders();

    explicit HistoryWindowLoader(QStringList folders = defaultFolders());

    // A new window; null when the module cannot be loaded, and error() says why.
    QWidget *create(const UsageHistoryReader &reader, const QDateTime &now, QWidget *parent);
    // Only for a window create() made.
    void follow(QWidget *window, const QDateTime &now) const;
    QString error() const { return m_error; }

private:
    bool load();

    QStringList m_folders;
    QLibrary m_library;
    QString m_error;
    HistoryWindowModule::Create m_create = nullptr;
    HistoryWindowModule::Follow m_follow = nullptr;
};
