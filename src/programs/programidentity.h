#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// A program as the user sees it: `id` tells programs apart ("firefox", "org.gnome.Epiphany",
// "user:ann"), `name` is shown ("Firefox Web Browser"), `icon` is a theme name or a file.
struct ProgramInfo
{
    QString id;
    QString name;
    QString icon;

    friend bool operator==(const ProgramInfo &, const ProgramInfo &) = default;
};

// Where a cgroup path says the process belongs: a desktop launch's application id
// ("app-gnome-org.gnome.Epiphany-4711.scope"), a Flatpak application id
// ("app-flatpak-org.mozilla.firefox-1234.scope") or a snap's name ("snap.firefox.firefox-<uuid>.scope").
struct CgroupApplication
{
    enum class Kind { None, Desktop, Flatpak, Snap };
    Kind kind = Kind::None;
    QString id;
    QString launcher; // the part between "app-" and the id that may be a launcher's name ("gnome")
};
// From the text of /proc/PID/cgroup (the unified hierarchy's line "0::/...", else the last line).
CgroupApplication applicationOfCgroup(const QString &cgroupText);

// The desktop entries (*.desktop) of some folders, looked up by file name and by the program
// their Exec line starts; the first folder wins, as XDG_DATA_DIRS says.
class DesktopEntries
{
public:
    DesktopEntries() = default;
    // Reads the "applications" folders of `dataFolders` ($XDG_DATA_HOME, then $XDG_DATA_DIRS).
    explicit DesktopEntries(const QStringList &dataFolders);
    // The folders of the environment, with the Flatpak and snap exports.
    static QStringList systemDataFolders();

    // By application id ("org.gnome.Epiphany", case-insensitive), or a snap's entries "<name>_*".
    const ProgramInfo *byId(const QString &id) const;
    // By the file name of the executable ("firefox").
    const ProgramInfo *byExecutable(const QString &name) const;
    // The executable an entry's Exec starts, by its id.
    QString executableOf(const QString &id) const { return m_executableOfId.value(id.toLower()); }

    // Reads one entry's text; false when it is not an application to show.
    static bool parse(const QString &text, ProgramInfo &info, QString &executable);

private:
    QHash<QString, ProgramInfo> m_byId;
    QHash<QString, QString> m_idOfExecutable;
    QHash<QString, QString> m_executableOfId;
};

// What is known of a process for naming its program.
struct ProcessFacts
{
    QString cgroup;     // the text of /proc/PID/cgroup
    QString executable; // the file name of /proc/PID/exe, else of its command name
};

// The program a process belongs to: the application of its cgroup where its entry (or its
// sandbox) says so, else its executable, named and drawn by a desktop entry where one matches.
ProgramInfo programOf(const ProcessFacts &process, const DesktopEntries &entries);
