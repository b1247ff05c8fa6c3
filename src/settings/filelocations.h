#pragma once

#include <QString>

#include <functional>

// Where the program keeps its files. A program started from a folder of its own (the build
// folder, an unpacked copy) keeps everything beside the executable when it can write there; an
// installed one (its executable under the install prefix) keeps the user's files in the user's
// XDG folders whoever starts it, root included, and reads the shipped plans from share/tarvo.
struct FileLocations
{
    // Everything in one folder (with its trailing separator), as beside the executable.
    FileLocations(const QString &folder = {});
    FileLocations(QString settings, QString downloads, QString plans);

    QString settingsFolder;  // "tarvo.ini", "remindin.dat"; with its trailing separator
    QString downloadFolder;  // the update's downloads; with its trailing separator
    QString plansFile;       // "plans.ini", the user's own copy or the shipped one

    // "tarvo-history.sqlite", the usage history, beside "tarvo.ini".
    QString historyFile() const { return settingsFolder + QStringLiteral("tarvo-history.sqlite"); }

    // Decided once, at the first call, for the running executable and the real environment.
    static const FileLocations &forThisProgram();
};

// What the rule looks at, so that it can be tried without an installed program.
struct LocationInputs
{
    QString programFolder;          // with its trailing separator
    QString installPrefix;          // CMAKE_INSTALL_PREFIX of the build
    bool programFolderWritable = true;
    QString home;                   // $HOME
    QString configHome;             // $XDG_CONFIG_HOME, may be empty or unset
    QString cacheHome;              // $XDG_CACHE_HOME, may be empty or unset
    std::function<bool(const QString &path)> fileExists;
};

FileLocations locateFiles(const LocationInputs &inputs);
