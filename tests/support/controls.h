#pragma once

#include <QObject>
#include <QString>

// A window's control by its object name, as tests reach the controls a window keeps to itself.
// A name no control of that type has ends the test program at once.
template<typename T>
T *control(const QObject &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        qFatal("no control named %s", qPrintable(name));
    return found;
}

template<typename T>
T *control(const QObject &window, const char *name)
{
    return control<T>(window, QLatin1String(name));
}
