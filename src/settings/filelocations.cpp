#include "settings/filelocations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {
const QString plansName = QStringLiteral("plans.ini");

// An XDG base folder: the variable when it holds an absolute path, else the default under home.
QString baseFolder(const QString &variable, const QString &home, const QString &fallback)
{
    const QString base = QDir::isAbsolutePath(variable) ? variable : home + fallback;
    return QDir::cleanPath(base) + QStringLiteral("/tarvo/");
}
} // namespace

FileLocations::FileLocations(const QString &folder)
    : FileLocations(folder, folder, folder + plansName)
{
}

FileLocations::FileLocations(QString settings, QString downloads, QString plans)
    : settingsFolder(std::move(settings))
    , downloadFolder(std::move(downloads))
    , plansFile(std::move(plans))
{
}

FileLocations locateFiles(const LocationInputs &inputs)
{
    if (inputs.programFolderWritable)
        return FileLocations(inputs.programFolder);

    const QString settings = baseFolder(inputs.configHome, inputs.home, QStringLiteral("/.config"));
    const QString downloads = baseFolder(inputs.cacheHome, inputs.home, QStringLiteral("/.cache"));
    const QString ownPlans = settings + plansName;
    const QString shippedPlans = QDir::cleanPath(inputs.programFolder + QStringLiteral("../share/tarvo/")) + u'/' + plansName;
    return FileLocations(settings, downloads, inputs.fileExists(ownPlans) ? ownPlans : shippedPlans);
}

const FileLocations &FileLocations::forThisProgram()
{
    static const FileLocations locations = [] {
        const QString folder = QCoreApplication::applicationDirPath() + u'/';
        FileLocations found = locateFiles({
            folder,
            QFileInfo(folder).isWritable(),
            QDir::homePath(),
            qEnvironmentVariable("XDG_CONFIG_HOME"),
            qEnvironmentVariable("XDG_CACHE_HOME"),
            [](const QString &path) { return QFileInfo::exists(path); },
        });
        // The user's folders may not exist yet on a first start.
        QDir().mkpath(found.settingsFolder);
        QDir().mkpath(found.downloadFolder);
        return found;
    }();
    return locations;
}
