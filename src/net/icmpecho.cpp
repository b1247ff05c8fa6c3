#include "net/icmpecho.h"

#include <arpa/inet.h>
#include <linux/errqueue.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint8_t echoReplyType = 0;
constexpr uint8_t destinationUnreachableType = 3;
constexpr uint8_t sourceQuenchType = 4;
constexpr uint8_t echoRequestType = 8;
constexpr uint8_t timeExceededType = 11;
constexpr uint8_t parameterProblemType = 12;
constexpr size_t icmpHeaderSize = 8;

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

uint16_t readBig16(const unsigned char *bytes)
{
    return uint16_t(bytes[0] << 8 | bytes[1]);
}

uint16_t checksum(const std::vector<unsigned char> &packet)
{
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < packet.size(); i += 2)
        sum += readBig16(&packet[i]);
    if (packet.size() % 2)
        sum += uint32_t(packet.back()) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return uint16_t(~sum);
}

// The status an ICMP error message stands for.
EchoStatus statusOfIcmp(uint8_t type, uint8_t code)
{
    switch (type) {
    case destinationUnreachableType:
        switch (code) {
        case 0: case 6: case 11: return EchoStatus::NetUnreachable;
        case 2: return EchoStatus::ProtocolUnreachable;
        case 3: return EchoStatus::PortUnreachable;
        case 4: return EchoStatus::PacketTooBig;
        case 5: return EchoStatus::BadRoute;
        default: return EchoStatus::HostUnreachable;
        }
    case timeExceededType:
        return code == 0 ? EchoStatus::TtlExpiredInTransit : EchoStatus::TtlExpiredInReassembly;
    case parameterProblemType:
        return EchoStatus::ParameterProblem;
    case sourceQuenchType:
        return EchoStatus::SourceQuench;
    default:
        return EchoStatus::GeneralFailure;
    }
}

// The status a failed send or a local error stands for.
EchoStatus statusOfErrno(int error)
{
    switch (error) {
    case ENETUNREACH: return EchoStatus::NetUnreachable;
    case EHOSTUNREACH: return EchoStatus::HostUnreachable;
    case EMSGSIZE: return EchoStatus::PacketTooBig;
    default: return EchoStatus::GeneralFailure;
    }
}

int openIcmpSocket(int type)
{
    return ::socket(AF_INET, type | SOCK_CLOEXEC, IPPROTO_ICMP);
}

bool refused(int error)
{
    return error == EACCES || error == EPERM;
}

void setOption(int fd, int level, int name, int value)
{
    ::setsockopt(fd, level, name, &value, sizeof value);
}

} // namespace

IcmpEcho::Descriptor::~Descriptor()
{
    reset(-1);
}

void IcmpEcho::Descriptor::reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

IcmpEcho::IcmpEcho(EchoSocketKind kind)
{
    int error = 0;
    if (kind != EchoSocketKind::Raw) {
        m_socket.reset(openIcmpSocket(SOCK_DGRAM));
        m_kind = EchoSocketKind::Datagram;
        error = errno;
    }
    if (m_socket.get() < 0 && kind == EchoSocketKind::Datagram)
        throw IcmpEchoError(QCoreApplication::translate("IcmpEcho", "Unable to open an ICMP datagram socket (%1): allow ICMP sockets with "
                                           "net.ipv4.ping_group_range")
                                .arg(systemError(error))
                                .toStdString());
    if (m_socket.get() < 0 && (kind == EchoSocketKind::Raw || refused(error))) {
        m_socket.reset(openIcmpSocket(SOCK_RAW));
        m_kind = EchoSocketKind::Raw;
        error = errno;
    }
    if (m_socket.get() < 0 && refused(error))
        throw IcmpEchoError(QCoreApplication::translate("IcmpEcho", "Unable to open an ICMP socket (%1): the latency probe needs CAP_NET_RAW: "
                                           "run scripts/run, or allow ICMP sockets with net.ipv4.ping_group_range")
                                .arg(systemError(error))
                                .toStdString());
    if (m_socket.get() < 0)
        throw IcmpEchoError(QCoreApplication::translate("IcmpEcho", "Unable to open an ICMP socket: %1").arg(systemError(error)).toStdString());

    m_wake.reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (m_wake.get() < 0)
        throw IcmpEchoError(QCoreApplication::translate("IcmpEcho", "Unable to create the wake-up event of the ICMP socket: %1")
                                .arg(systemError(errno))
                                .toStdString());

    // A program that guesses the identifier and the sequence could answer for a host that never
    // does: both start where nobody can foresee.
    std::random_device random;
    m_sequence = uint16_t(random());
    if (datagram()) {
        // The kernel puts the socket's port into every echo as its identifier; it would choose
        // them in turn, so the engine draws one itself and lets the kernel choose only when
        // every draw is taken.
        sockaddr_in local{};
        local.sin_family = AF_INET;
        socklen_t size = sizeof local;
        bool bound = false;
        for (int draw = 0; draw < 8 && !bound; ++draw) {
            local.sin_port = htons(uint16_t(1 + random() % 0xFFFF));
            bound = ::bind(m_socket.get(), reinterpret_cast<sockaddr *>(&local), sizeof local) == 0;
        }
        local.sin_port = 0;
        if ((!bound && ::bind(m_socket.get(), reinterpret_cast<sockaddr *>(&local), sizeof local) != 0)
            || ::getsockname(m_socket.get(), reinterpret_cast<sockaddr *>(&local), &size) != 0) {
            throw IcmpEchoError(
                QCoreApplication::translate("IcmpEcho", "Unable to bind the ICMP datagram socket: %1").arg(systemError(errno)).toStdString());
        }
        m_identifier = ntohs(local.sin_port);
        // Without it, unreachable and time-exceeded answers look like time-outs.
        setOption(m_socket.get(), IPPROTO_IP, IP_RECVERR, 1);
    } else {
        m_identifier = uint16_t(random());
    }
}

void IcmpEcho::interrupt()
{
    const uint64_t one = 1;
    (void)!::write(m_wake.get(), &one, sizeof one);
}

EchoOutcome IcmpEcho::ping(uint32_t address, const EchoParameters &parameters)
{
    EchoOutcome outcome;
    if (address == INADDR_NONE) {
        outcome.status = EchoStatus::BadDestination;
        return outcome;
    }
    if (parameters.size < 0 || parameters.size > largestSize || (parameters.ttl & 0xFF) == 0
        || parameters.timeoutMs < 0) {
        outcome.status = EchoStatus::BadRequest;
        return outcome;
    }
    const uint16_t sequence = ++m_sequence;

    // The echo data: spaces, with the payload text over the beginning.
    std::vector<unsigned char> packet(icmpHeaderSize + size_t(parameters.size));
    std::fill(packet.begin() + icmpHeaderSize, packet.end(), ' ');
    std::memcpy(packet.data() + icmpHeaderSize, payloadText,
                std::min(size_t(parameters.size), sizeof payloadText - 1));
    packet[0] = echoRequestType;
    packet[4] = uint8_t(m_identifier >> 8);
    packet[5] = uint8_t(m_identifier);
    packet[6] = uint8_t(sequence >> 8);
    packet[7] = uint8_t(sequence);
    const uint16_t sum = checksum(packet);
    packet[2] = uint8_t(sum >> 8);
    packet[3] = uint8_t(sum);

    setOption(m_socket.get(), IPPROTO_IP, IP_TTL, parameters.ttl & 0xFF);
    setOption(m_socket.get(), IPPROTO_IP, IP_MTU_DISCOVER, IP_PMTUDISC_DONT);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    const Clock::time_point start = Clock::now();
    if (::sendto(m_socket.get(), packet.data(), packet.size(), 0, reinterpret_cast<sockaddr *>(&to), sizeof to) < 0) {
        outcome.status = statusOfErrno(errno);
        return outcome;
    }

    const Clock::time_point deadline = start + std::chrono::milliseconds(std::min(parameters.timeoutMs, longestWaitMs));
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd waits[2] = {{m_socket.get(), POLLIN, 0}, {m_wake.get(), POLLIN, 0}};
        const int ready = ::poll(waits, 2, int(std::max<decltype(left)>(left, 0)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || waits[1].revents) {
            outcome.status = EchoStatus::TimedOut;
            return outcome;
        }
        const bool ours = (waits[0].revents & POLLERR) ? readError(sequence, outcome)
                                                       : readPacket(address, sequence, outcome);
        if (ours) {
            outcome.roundTripMs = uint32_t(
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
            return outcome;
        }
    }
}

bool IcmpEcho::readPacket(uint32_t to, uint16_t sequence, EchoOutcome &outcome)
{
    unsigned char buffer[65536];
    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    const ssize_t received = ::recvfrom(m_socket.get(), buffer, sizeof buffer, MSG_DONTWAIT,
                                        reinterpret_cast<sockaddr *>(&from), &fromSize);
    if (received <= 0)
        return false;

    const unsigned char *icmp = buffer;
    size_t length = size_t(received);
    if (!datagram()) {
        // A raw socket hands over the IP header too.
        const size_t headerSize = size_t(buffer[0] & 0x0F) * 4;
        if (length < headerSize + icmpHeaderSize)
            return false;
        icmp += headerSize;
        length -= headerSize;
    }
    if (length < icmpHeaderSize)
        return false;

    const uint8_t type = icmp[0];
    // On a raw socket our own request, seen on the loopback device, is never the answer.
    if (type == echoReplyType) {
        if (readBig16(icmp + 4) != m_identifier || readBig16(icmp + 6) != sequence || from.sin_addr.s_addr != to)
            return false;
        outcome.status = EchoStatus::Reply;
        outcome.dataSize = uint16_t(length - icmpHeaderSize);
    } else {
        // A raw socket sees ICMP errors as packets: they quote the IP header and the start of our echo.
        if (datagram() || (type != destinationUnreachableType && type != timeExceededType
                           && type != parameterProblemType && type != sourceQuenchType))
            return false;
        const unsigned char *quoted = icmp + icmpHeaderSize;
        const size_t quotedLength = length - icmpHeaderSize;
        if (quotedLength < 20)
            return false;
        const size_t quotedHeaderSize = size_t(quoted[0] & 0x0F) * 4;
        if (quotedLength < quotedHeaderSize + icmpHeaderSize || quoted[9] != IPPROTO_ICMP)
            return false;
        uint32_t quotedDestination;
        std::memcpy(&quotedDestination, quoted + 16, sizeof quotedDestination);
        const unsigned char *echo = quoted + quotedHeaderSize;
        if (quotedDestination != to || echo[0] != echoRequestType || readBig16(echo + 4) != m_identifier
            || readBig16(echo + 6) != sequence)
            return false;
        outcome.status = statusOfIcmp(type, icmp[1]);
    }
    outcome.from = from.sin_addr.s_addr;
    return true;
}

bool IcmpEcho::readError(uint16_t sequence, EchoOutcome &outcome)
{
    unsigned char quoted[icmpHeaderSize];
    alignas(cmsghdr) char control[512];
    iovec io{quoted, sizeof quoted};
    msghdr message{};
    message.msg_iov = &io;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t received = ::recvmsg(m_socket.get(), &message, MSG_ERRQUEUE | MSG_DONTWAIT);
    if (received < ssize_t(icmpHeaderSize) || readBig16(quoted + 6) != sequence)
        return false;
    for (cmsghdr *c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_RECVERR)
            continue;
        sock_extended_err error;
        std::memcpy(&error, CMSG_DATA(c), sizeof error);
        outcome.status = error.ee_origin == SO_EE_ORIGIN_ICMP ? statusOfIcmp(error.ee_type, error.ee_code)
                                                             : statusOfErrno(int(error.ee_errno));
        sockaddr_in offender;
        std::memcpy(&offender, SO_EE_OFFENDER(reinterpret_cast<sock_extended_err *>(CMSG_DATA(c))), sizeof offender);
        outcome.from = offender.sin_family == AF_INET ? offender.sin_addr.s_addr : 0;
        return true;
    }
    return false;
}
