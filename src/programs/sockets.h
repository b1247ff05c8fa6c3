#pragma once

#include "programs/flowtable.h"

#include <QHash>

#include <sys/types.h>

#include <optional>

// A socket of this computer as the kernel's socket diagnostics report it.
struct SocketOwner
{
    uint64_t inode = 0; // 0: no longer held by a process (TIME_WAIT, say)
    uid_t uid = 0;
};

// The TCP and UDP sockets of both families, read in one go through sock_diag netlink. A flow
// finds its socket by its whole key, or an unconnected UDP socket by its local port.
class SocketTable
{
public:
    // Reads the current sockets; false when the kernel would not tell.
    bool read();
    std::optional<SocketOwner> find(const FlowKey &key) const;

    // For tests and the reader: a socket's entry.
    void insert(const FlowKey &key, SocketOwner owner);
    void clear();

    static constexpr qsizetype most = 262144;

private:
    QHash<FlowKey, SocketOwner> m_sockets;
};
