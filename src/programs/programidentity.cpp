#include "programs/programidentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>

namespace {

// systemd escapes a '-' of a unit name as "\x2d".
QString unescaped(QString name)
{
    return name.replace(QStringLiteral("\\x2d"), QStringLiteral("-"));
}

QString leafOf(const QString &cgroupText)
{
    const QStringList lines = cgroupText.split(u'\n', Qt::SkipEmptyParts);
    QString path;
    for (const QString &line : lines) {
        path = line.section(u':', 2);
        if (line.startsWith(QStringLiteral("0::")))
            break;
    }
    return path.section(u'/', -1);
}

} // namespace

CgroupApplication applicationOfCgroup(const QString &cgroupText)
{
    const QString leaf = leafOf(cgroupText);
    static const QRegularExpression snap(QStringLiteral("^snap\\.([^.]+)\\..+\\.(scope|service)$"));
    static const QRegularExpression app(QStringLiteral("^app-(.+)-[0-9a-fA-F]+\\.scope$"));
    if (const auto match = snap.match(leaf); match.hasMatch())
        return {CgroupApplication::Kind::Snap, match.captured(1), {}};
    const auto match = app.match(leaf);
    if (!match.hasMatch())
        return {};
    const QString rest = unescaped(match.captured(1));
    if (rest.startsWith(QStringLiteral("flatpak-")))
        return {CgroupApplication::Kind::Flatpak, rest.mid(8), {}};
    const qsizetype dash = rest.indexOf(u'-');
    return {CgroupApplication::Kind::Desktop, rest, dash > 0 ? rest.left(dash) : QString()};
}

DesktopEntries::DesktopEntries(const QStringList &dataFolders)
{
    for (const QString &folder : dataFolders) {
        const QDir applications(folder + QStringLiteral("/applications"));
        const QStringList files = applications.entryList({QStringLiteral("*.desktop")}, QDir::Files);
        for (const QString &file : files) {
            const QString id = file.chopped(8).toLower();
            if (m_byId.contains(id))
                continue;
            QFile entry(applications.filePath(file));
            if (!entry.open(QIODevice::ReadOnly))
                continue;
            ProgramInfo info;
            QString executable;
            if (!parse(QString::fromUtf8(entry.read(64 * 1024)), info, executable))
                continue;
            info.id = file.chopped(8);
            m_byId.insert(id, info);
            m_executableOfId.insert(id, executable);
            if (!executable.isEmpty() && !m_idOfExecutable.contains(executable))
                m_idOfExecutable.insert(executable, id);
        }
    }
}

QStringList DesktopEntries::systemDataFolders()
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString home = environment.value(QStringLiteral("XDG_DATA_HOME"));
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.local/share");
    QStringList folders{home};
    const QString dirs = environment.value(QStringLiteral("XDG_DATA_DIRS"), QStringLiteral("/usr/local/share:/usr/share"));
    folders += dirs.split(u':', Qt::SkipEmptyParts);
    for (const QString &exported : {QStringLiteral("/var/lib/flatpak/exports/share"),
                                    QStringLiteral("/var/lib/snapd/desktop")})
        if (!folders.contains(exported))
            folders.append(exported);
    return folders;
}

bool DesktopEntries::parse(const QString &text, ProgramInfo &info, QString &executable)
{
    bool inEntry = false;
    bool application = false;
    const QStringList lines = text.split(u'\n');
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        if (!inEntry)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed(), value = line.mid(equals + 1).trimmed();
        if (key == QStringLiteral("Name"))
            info.name = value;
        else if (key == QStringLiteral("Icon"))
            info.icon = value;
        else if (key == QStringLiteral("Type"))
            application = value == QStringLiteral("Application");
        else if (key == QStringLiteral("Exec")) {
            // The first word, less "env VAR=..." and quotes; its file name.
            const QStringList words = value.split(u' ', Qt::SkipEmptyParts);
            for (const QString &word : words) {
                if (word == QStringLiteral("env") || word.contains(u'='))
                    continue;
                executable = QFileInfo(word.chopped(word.endsWith(u'"') ? 1 : 0).mid(word.startsWith(u'"') ? 1 : 0)).fileName();
                break;
            }
        }
    }
    return application && !info.name.isEmpty();
}

const ProgramInfo *DesktopEntries::byId(const QString &id) const
{
    if (const auto found = m_byId.constFind(id.toLower()); found != m_byId.cend())
        return &*found;
    // A snap's entries are named "<snap>_<app>.desktop".
    const QString prefix = id.toLower() + u'_';
    for (auto it = m_byId.cbegin(); it != m_byId.cend(); ++it)
        if (it.key().startsWith(prefix))
            return &*it;
    return nullptr;
}

const ProgramInfo *DesktopEntries::byExecutable(const QString &name) const
{
    const auto found = m_idOfExecutable.constFind(name);
    return found == m_idOfExecutable.cend() ? nullptr : byId(*found);
}

ProgramInfo programOf(const ProcessFacts &process, const DesktopEntries &entries)
{
    const CgroupApplication application = applicationOfCgroup(process.cgroup);
    using Kind = CgroupApplication::Kind;
    if (application.kind == Kind::Flatpak || application.kind == Kind::Snap) {
        // The sandbox holds nothing but the application.
        if (const ProgramInfo *entry = entries.byId(application.id))
            return {application.id, entry->name, entry->icon};
        return {application.id, application.id, {}};
    }
    if (application.kind == Kind::Desktop) {
        // The id may or may not follow a launcher's name ("app-gnome-firefox-1.scope"). A program
        // started from the application (a terminal's shell, say) is itself, not the application.
        const QString withoutLauncher = application.launcher.isEmpty() ? QString()
                                                                       : application.id.mid(application.launcher.size() + 1);
        for (const QString &id : {application.id, withoutLauncher}) {
            const ProgramInfo *entry = id.isEmpty() ? nullptr : entries.byId(id);
            if (entry && entries.executableOf(id) == process.executable)
                return {entry->id, entry->name, entry->icon};
        }
    }
    if (const ProgramInfo *entry = entries.byExecutable(process.executable))
        return {entry->id, entry->name, entry->icon};
    return {process.executable, process.executable, {}};
}
