#pragma once

#include "programs/programidentity.h"

#include <QByteArray>
#include <QHash>
#include <QSet>

#include <sys/types.h>

#include <optional>

// The processes of a /proc tree and the sockets each holds (its fd folder's "socket:[inode]"
// links). A process whose fd folder may not be read tells only its user.
class ProcessTable
{
public:
    explicit ProcessTable(QByteArray root = QByteArrayLiteral("/proc"));

    // Reads every process's sockets again.
    void scan();
    std::optional<pid_t> processOf(uint64_t inode) const;
    // Some process of `uid` hid its sockets at the last scan.
    bool hidesSockets(uid_t uid) const { return m_hidingUsers.contains(uid); }
    // Its cgroup and executable; empty texts when it is gone.
    ProcessFacts factsOf(pid_t pid) const;

    static constexpr qsizetype most = 262144; // sockets remembered

private:
    QByteArray m_root;
    QHash<uint64_t, pid_t> m_processOfInode;
    QSet<uid_t> m_hidingUsers;
};
