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
// The folder is the prefix or lies below it, compared a whole path component at a time.
bool isBelow(const QString &folder, const QString &prefix)
{
    const QString root = QDir::cleanPath(prefix);
    const QString path = QDir::cleanPath(folder);
    return !root.isEmpty() && (path == root || path.startsWith(root.endsWith(u'/') ? root : root + u'/'));
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
    // Root can write /usr/bin: only a folder outside the install keeps the files beside the program.
    if (inputs.programFolderWritable && !isBelow(inputs.programFolder, inputs.installPrefix))
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
            QStringLiteral(TARVO_INSTALL_PREFIX),
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
