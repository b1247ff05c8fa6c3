#include "programs/programattribution.h"

#include <QCoreApplication>

#include <ifaddrs.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace {

constexpr uid_t firstPersonUid = 1000;
constexpr auto addressInterval = std::chrono::seconds(3);

} // namespace

ProgramAttribution::ProgramAttribution()
    : ProgramAttribution(Options{})
{
}

ProgramAttribution::ProgramAttribution(Options options)
    : m_options(std::move(options))
    , m_processes(m_options.procRoot)
{
}

ProgramAttribution::~ProgramAttribution()
{
    stop();
}

ProgramInfo ProgramAttribution::notAttributed()
{
    return {QStringLiteral(":not-attributed"), QCoreApplication::translate("ProgramAttribution", "not attributed"), {}};
}

ProgramInfo ProgramAttribution::systemServices()
{
    return {QStringLiteral(":system"), QCoreApplication::translate("ProgramAttribution", "system services"), {}};
}

ProgramInfo ProgramAttribution::userOf(uid_t uid)
{
    if (uid < firstPersonUid)
        return systemServices();
    passwd entry{};
    passwd *found = nullptr;
    char buffer[1024];
    const QString name = ::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found
                             ? QString::fromLocal8Bit(found->pw_name)
                             : QString::number(uid);
    return {QStringLiteral(":user:") + name,
            QCoreApplication::translate("ProgramAttribution", "programs of %1").arg(name), {}};
}

std::vector<FlowAddress> ProgramAttribution::systemAddresses()
{
    std::vector<FlowAddress> addresses;
    ifaddrs *list = nullptr;
    if (::getifaddrs(&list) != 0)
        return addresses;
    for (const ifaddrs *at = list; at; at = at->ifa_next) {
        if (!at->ifa_addr)
            continue;
        if (at->ifa_addr->sa_family == AF_INET)
            addresses.push_back(FlowAddress::fromIpv4(
                ntohl(reinterpret_cast<const sockaddr_in *>(at->ifa_addr)->sin_addr.s_addr)));
        else if (at->ifa_addr->sa_family == AF_INET6)
            addresses.push_back(FlowAddress::fromBytes(
                reinterpret_cast<const sockaddr_in6 *>(at->ifa_addr)->sin6_addr.s6_addr));
    }
    ::freeifaddrs(list);
    std::sort(addresses.begin(), addresses.end(), [](const FlowAddress &a, const FlowAddress &b) {
        return a.high != b.high ? a.high < b.high : a.low < b.low;
    });
    addresses.erase(std::unique(addresses.begin(), addresses.end()), addresses.end());
    return addresses;
}

void ProgramAttribution::start()
{
    if (m_worker.joinable())
        return;
    m_local.assign(systemAddresses());
    m_lastAddresses = Clock::now();
    m_worker = std::thread([this] { run(); });
}

void ProgramAttribution::stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

QList<ProgramBytes> ProgramAttribution::take()
{
    const std::lock_guard lock(m_mutex);
    QList<ProgramBytes> taken = m_taken.values();
    m_taken.clear();
    return taken;
}

void ProgramAttribution::run()
{
    m_entries = DesktopEntries(m_options.dataFolders);
    m_notAttributed = indexOf(notAttributed());
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            if (m_wake.wait_for(lock, m_options.interval, [this] { return m_stopping; }))
                break;
        }
        round(Clock::now());
    }
    // What the capture handed over last still counts.
    round(Clock::now() + giveUp);
}

void ProgramAttribution::round(Clock::time_point now)
{
    if (now - m_lastAddresses >= addressInterval) {
        m_local.assign(systemAddresses());
        m_lastAddresses = now;
    }
    m_ring.drain([&](const FlowBytes &bytes) {
        auto flow = m_flows.find(bytes.key);
        if (flow == m_flows.end()) {
            makeRoom(now);
            flow = m_flows.insert(bytes.key, Flow{now, now, 0, 0, -1});
        } else if (now - flow->lastSeen >= forget) {
            // Quiet for long: the same ports may be another program's conversation by now.
            credit(m_notAttributed, flow->download, flow->upload);
            *flow = Flow{now, now, 0, 0, -1};
        }
        if (flow->program < 0 && bytes.key.protocol == 0)
            flow->program = m_notAttributed;
        flow->lastSeen = now;
        if (flow->program >= 0) {
            credit(flow->program, bytes.download, bytes.upload);
        } else {
            flow->download += bytes.download;
            flow->upload += bytes.upload;
        }
    });
    const FlowBytes lost = m_ring.takeLost();
    credit(m_notAttributed, lost.download, lost.upload);
    const bool unmatched = std::any_of(m_flows.cbegin(), m_flows.cend(), [](const Flow &flow) { return flow.program < 0; });
    if (unmatched)
        match(now);
    handOver();
}

void ProgramAttribution::match(Clock::time_point now)
{
    const bool socketsRead = m_sockets.read();
    for (auto flow = m_flows.begin(); flow != m_flows.end(); ++flow) {
        if (flow->program >= 0)
            continue;
        const std::optional<SocketOwner> owner = socketsRead ? m_sockets.find(flow.key()) : std::nullopt;
        std::optional<int> program;
        if (owner && owner->inode == 0)
            program = m_notAttributed; // closed: its process is not known any more
        else if (owner)
            program = programOfSocket(*owner, now);
        if (!program && now - flow->firstSeen >= giveUp)
            program = m_notAttributed;
        if (!program)
            continue;
        flow->program = *program;
        credit(*program, flow->download, flow->upload);
        flow->download = flow->upload = 0;
    }
}

std::optional<int> ProgramAttribution::programOfSocket(const SocketOwner &owner, Clock::time_point now)
{
    std::optional<pid_t> pid = m_processes.processOf(owner.inode);
    if (!pid && now - m_lastScan >= rescanInterval) {
        m_processes.scan();
        m_programOfProcess.clear();
        m_lastScan = now;
        pid = m_processes.processOf(owner.inode);
    }
    if (pid) {
        if (const auto known = m_programOfProcess.constFind(*pid); known != m_programOfProcess.cend())
            return *known;
        const ProcessFacts facts = m_processes.factsOf(*pid);
        if (facts.executable.isEmpty())
            return std::nullopt; // gone meanwhile
        const int program = indexOf(programOf(facts, m_entries));
        m_programOfProcess.insert(*pid, program);
        return program;
    }
    if (m_processes.hidesSockets(owner.uid))
        return indexOf(userOf(owner.uid));
    return std::nullopt;
}

int ProgramAttribution::indexOf(const ProgramInfo &program)
{
    if (const auto found = m_programIndex.constFind(program.id); found != m_programIndex.cend())
        return *found;
    if (m_programs.size() >= mostPrograms)
        return m_notAttributed;
    m_programs.append(program);
    m_roundBytes.append({0, 0});
    m_programIndex.insert(program.id, int(m_programs.size() - 1));
    return int(m_programs.size() - 1);
}

void ProgramAttribution::credit(int program, uint64_t download, uint64_t upload)
{
    m_roundBytes[program].first += download;
    m_roundBytes[program].second += upload;
}

void ProgramAttribution::makeRoom(Clock::time_point now)
{
    if (m_flows.size() < mostFlows)
        return;
    // Flows without frames for long go; if that frees too little, the older half.
    std::vector<Clock::time_point> seen;
    seen.reserve(size_t(m_flows.size()));
    for (const Flow &flow : std::as_const(m_flows))
        seen.push_back(flow.lastSeen);
    auto middle = seen.begin() + qsizetype(seen.size() / 2);
    std::nth_element(seen.begin(), middle, seen.end());
    const Clock::time_point before = std::max(*middle, now - forget);
    for (auto flow = m_flows.begin(); flow != m_flows.end();) {
        if (flow->lastSeen <= before) {
            if (flow->program < 0)
                credit(m_notAttributed, flow->download, flow->upload);
            flow = m_flows.erase(flow);
        } else {
            ++flow;
        }
    }
}

void ProgramAttribution::handOver()
{
    const std::lock_guard lock(m_mutex);
    for (qsizetype program = 0; program < m_programs.size(); ++program) {
        auto &[download, upload] = m_roundBytes[program];
        if (download == 0 && upload == 0)
            continue;
        ProgramBytes &taken = m_taken[m_programs[program].id];
        taken.program = m_programs[program];
        taken.download += download;
        taken.upload += upload;
        download = upload = 0;
    }
}
