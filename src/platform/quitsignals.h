#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a logout, a kill, Ctrl+C) into an ordinary end of the message
// loop, so the program still stops its capture and writes its exit save.
class QuitOnSignals : public QObject
{
    Q_OBJECT

public:
    explicit QuitOnSignals(QObject *parent = nullptr);
    ~QuitOnSignals() override;

    // A signal came: also while a message box ran its own loop before the program's loop began,
    // in which case that loop must not start at all.
    bool quitRequested() const { return m_quitRequested; }

private:
    bool m_quitRequested = false;
    QSocketNotifier *m_notifier = nullptr;
};
