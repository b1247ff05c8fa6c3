#pragma once

#include <QDir>
#include <QString>

// Where the rendering tests put their PNG files for a person to look at: $TARVO_RENDER_DIR,
// or "renderings" in the working directory.
inline QString renderingPath(const QString &name)
{
    const QString directory = qEnvironmentVariable("TARVO_RENDER_DIR", QDir::currentPath() + QStringLiteral("/renderings"));
    QDir().mkpath(directory);
    return directory + QLatin1Char('/') + name;
}
