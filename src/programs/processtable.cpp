#include "programs/processtable.h"

#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

struct DirectoryCloser
{
    void operator()(DIR *directory) const noexcept { ::closedir(directory); }
};
using Directory = std::unique_ptr<DIR, DirectoryCloser>;

QString firstLine(const QByteArray &path)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine(4096)).trimmed();
}

} // namespace

ProcessTable::ProcessTable(QByteArray root)
    : m_root(std::move(root))
{
}

void ProcessTable::scan()
{
    m_processOfInode.clear();
    m_hidingUsers.clear();
    const Directory processes(::opendir(m_root.constData()));
    if (!processes)
        return;
    static constexpr char prefix[] = "socket:[";
    while (const dirent *process = ::readdir(processes.get())) {
        char *end = nullptr;
        const long pid = std::strtol(process->d_name, &end, 10);
        if (pid <= 0 || *end != '\0')
            continue;
        const QByteArray folder = m_root + '/' + process->d_name + "/fd";
        const auto hiding = [&] {
            struct stat status{};
            if (::stat((m_root + '/' + process->d_name).constData(), &status) == 0)
                m_hidingUsers.insert(status.st_uid);
        };
        // Listing another user's folder takes CAP_DAC_READ_SEARCH, reading its links CAP_SYS_PTRACE.
        const Directory descriptors(::opendir(folder.constData()));
        if (!descriptors) {
            hiding();
            continue;
        }
        while (const dirent *descriptor = ::readdir(descriptors.get())) {
            if (descriptor->d_name[0] == '.')
                continue;
            char target[64];
            const QByteArray link = folder + '/' + descriptor->d_name;
            const ssize_t length = ::readlink(link.constData(), target, sizeof target - 1);
            if (length < 0 && (errno == EACCES || errno == EPERM)) {
                hiding();
                break;
            }
            if (length <= ssize_t(sizeof prefix - 1) || std::memcmp(target, prefix, sizeof prefix - 1) != 0)
                continue;
            target[length] = '\0';
            const uint64_t inode = std::strtoull(target + sizeof prefix - 1, nullptr, 10);
            if (m_processOfInode.size() < most)
                m_processOfInode.insert(inode, pid_t(pid));
        }
    }
}

std::optional<pid_t> ProcessTable::processOf(uint64_t inode) const
{
    const auto found = m_processOfInode.constFind(inode);
    return found == m_processOfInode.cend() ? std::nullopt : std::optional<pid_t>(*found);
}

ProcessFacts ProcessTable::factsOf(pid_t pid) const
{
    const QByteArray folder = m_root + '/' + QByteArray::number(pid);
    ProcessFacts facts;
    QFile cgroup(QString::fromLocal8Bit(folder + "/cgroup"));
    if (cgroup.open(QIODevice::ReadOnly))
        facts.cgroup = QString::fromUtf8(cgroup.read(16384));
    // The executable's own name; a deleted one (" (deleted)") or one not readable, its command name.
    const QString executable = QFile::symLinkTarget(QString::fromLocal8Bit(folder + "/exe"));
    facts.executable = executable.isEmpty() || executable.endsWith(QStringLiteral(" (deleted)"))
                           ? firstLine(folder + "/comm")
                           : QFileInfo(executable).fileName();
    return facts;
}
