#pragma once

#include "programs/flowtable.h"
#include "programs/processtable.h"
#include "programs/programidentity.h"
#include "programs/sockets.h"

#include <QList>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

// What a program downloaded and uploaded.
struct ProgramBytes
{
    ProgramInfo program;
    uint64_t download = 0;
    uint64_t upload = 0;
};

// Which program on this computer each flow of the capture belongs to. A worker thread of its
// own takes the flows the capture hands over, finds their sockets through the kernel's socket
// diagnostics, the sockets' processes in /proc and the processes' programs; the bytes of a flow
// count for its program from then on. A socket of a user whose processes may not be read counts
// under that user ("system services" below uid 1000); a flow gone before it was matched counts
// as "not attributed". Every table has a fixed upper size; the oldest flows go first.
class ProgramAttribution
{
public:
    struct Options
    {
        QByteArray procRoot = QByteArrayLiteral("/proc");
        QStringList dataFolders = DesktopEntries::systemDataFolders();
        std::chrono::milliseconds interval{200}; // between rounds of the worker
    };

    static constexpr qsizetype mostFlows = 16384;
    static constexpr qsizetype mostPrograms = 4096;
    static constexpr std::chrono::milliseconds rescanInterval{250}; // of /proc on a miss, at most
    static constexpr std::chrono::milliseconds giveUp{1500};        // a flow without a socket
    static constexpr std::chrono::seconds forget{10}; // a flow without frames is matched again

    ProgramAttribution();
    explicit ProgramAttribution(Options options);
    // Stops the worker.
    ~ProgramAttribution();
    ProgramAttribution(const ProgramAttribution &) = delete;
    ProgramAttribution &operator=(const ProgramAttribution &) = delete;

    // What the capture counts into, for its context; the capture thread alone uses it.
    std::unique_ptr<PendingFlows> makePendingFlows() { return std::make_unique<PendingFlows>(m_ring, m_local); }
    // Starts the worker in the calling thread's network namespace; it reads this computer's
    // addresses at once and every few seconds.
    void start();
    void stop();

    // Any thread: the bytes of each program since the last take, and takes them.
    QList<ProgramBytes> take();

    // The places where bytes go that belong to no program.
    static ProgramInfo notAttributed();
    static ProgramInfo systemServices();
    static ProgramInfo userOf(uid_t uid);
    // This computer's addresses, both families, of every adapter.
    static std::vector<FlowAddress> systemAddresses();

private:
    using Clock = std::chrono::steady_clock;
    struct Flow
    {
        Clock::time_point firstSeen;
        Clock::time_point lastSeen;
        uint64_t download = 0; // while not matched
        uint64_t upload = 0;
        int program = -1; // -1: not matched yet
    };

    void run();
    void round(Clock::time_point now);
    void match(Clock::time_point now);
    std::optional<int> programOfSocket(const SocketOwner &owner, Clock::time_point now);
    int indexOf(const ProgramInfo &program);
    void credit(int program, uint64_t download, uint64_t upload);
    void makeRoom(Clock::time_point now);
    void handOver();

    Options m_options;
    FlowRing m_ring;
    LocalAddresses m_local;
    // The worker's own.
    QHash<FlowKey, Flow> m_flows;
    SocketTable m_sockets;
    ProcessTable m_processes;
    DesktopEntries m_entries;
    QHash<pid_t, int> m_programOfProcess; // since the last scan of /proc
    Clock::time_point m_lastScan;
    Clock::time_point m_lastAddresses;
    QList<ProgramInfo> m_programs;
    QHash<QString, int> m_programIndex;
    QList<std::pair<uint64_t, uint64_t>> m_roundBytes; // by program, this round
    int m_notAttributed = 0;

    std::mutex m_mutex; // guards what follows
    std::condition_variable m_wake;
    bool m_stopping = false;
    QHash<QString, ProgramBytes> m_taken;
    std::thread m_worker;
};
