#pragma once

#include <cstdint>
#include <stdexcept>

// The engine could not be set up; the message says what to do.
class IcmpEchoError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum class EchoSocketKind {
    Automatic, // a datagram socket where net.ipv4.ping_group_range allows it, a raw one otherwise
    Datagram,  // socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP)
    Raw,       // socket(AF_INET, SOCK_RAW, IPPROTO_ICMP): root or CAP_NET_RAW
};

// How one echo ended: with the reply, or why none came.
enum class EchoStatus {
    Reply,
    TimedOut, // nothing came in time, or the wait was interrupted
    NetUnreachable,
    HostUnreachable,
    ProtocolUnreachable,
    PortUnreachable,
    PacketTooBig,
    BadRoute,
    TtlExpiredInTransit,
    TtlExpiredInReassembly,
    ParameterProblem,
    SourceQuench,
    BadRequest,     // a size, TTL or time-out that cannot be sent; nothing was
    BadDestination, // 255.255.255.255, which is no host; nothing was sent
    GeneralFailure, // any other complaint of the socket
};

// What one echo carries and how long it waits.
struct EchoParameters
{
    int32_t size = 56;        // bytes of echo data, 0 to IcmpEcho::largestSize
    int32_t timeoutMs = 4000; // 0 or more; no wait lasts longer than IcmpEcho::longestWaitMs
    int32_t ttl = 64;         // only the low 8 bits reach the wire, and they must not be 0
};

struct EchoOutcome
{
    EchoStatus status = EchoStatus::TimedOut;
    uint32_t from = 0;        // who answered or reported the error, network byte order; 0: nobody
    uint32_t roundTripMs = 0; // whole milliseconds, cut down, until the answer or the error
    uint16_t dataSize = 0;    // bytes of echo data in the reply
};

// The ICMP echo: one socket, one echo at a time, blocking the calling thread until the reply,
// an ICMP error about the echo, the time-out or interrupt(). Replies are matched by identifier,
// sequence and sender; the identifier and the first sequence number are random, so another
// program cannot answer in the host's place by guessing them. One thread at a time may ping; interrupt() may come from any.
class IcmpEcho
{
public:
    // The most echo data one IPv4 datagram carries.
    static constexpr int32_t largestSize = 65507;
    // However long the time-out, no wait lasts longer.
    static constexpr int32_t longestWaitMs = 60000;
    // The fixed text the echo data starts with; spaces follow.
    static constexpr char payloadText[] = "Tarvo latency probe: how far away is the host";
    static_assert(sizeof payloadText - 1 == 45);

    // Opens the socket at once, so a missing right shows here; raises IcmpEchoError.
    explicit IcmpEcho(EchoSocketKind kind = EchoSocketKind::Automatic);

    EchoSocketKind kind() const { return m_kind; }

    // One echo to `address` (network byte order).
    EchoOutcome ping(uint32_t address, const EchoParameters &parameters);

    // Ends the wait in progress and every later one at once (for shut-down).
    void interrupt();

private:
    // A file descriptor, closed with its owner, also when the constructor gives up half-way.
    class Descriptor
    {
    public:
        Descriptor() = default;
        ~Descriptor();
        Descriptor(const Descriptor &) = delete;
        Descriptor &operator=(const Descriptor &) = delete;
        void reset(int fd);
        int get() const { return m_fd; }

    private:
        int m_fd = -1;
    };

    bool datagram() const { return m_kind == EchoSocketKind::Datagram; }
    // A reply or an error for the echo with `sequence` to `to`; false for anything else.
    bool readPacket(uint32_t to, uint16_t sequence, EchoOutcome &outcome);
    bool readError(uint16_t sequence, EchoOutcome &outcome);

    EchoSocketKind m_kind = EchoSocketKind::Raw;
    Descriptor m_socket;
    Descriptor m_wake;
    uint16_t m_identifier = 0; // on a datagram socket, the port it is bound to
    uint16_t m_sequence = 0;   // of the last echo
};
