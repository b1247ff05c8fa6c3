#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// A window's control found by its object name, as tests reach the controls a window keeps to
// itself. A missing one ends the run with its name, where a null pointer would only crash.
template<typename Control>
Control *findControl(const QObject &window, const QString &name)
{
    auto *found = window.findChild<Control *>(name);
    if (!found)
        qFatal("%s has no control named %s", qPrintable(window.objectName()), qPrintable(name));
    return found;
}

template<typename Control>
Control *findControl(const QObject &window, const char *name)
{
    return findControl<Control>(window, QLatin1String(name));
}
