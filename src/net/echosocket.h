#pragma once

#include <QString>

#include <cstdint>
#include <span>
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

// The status codes of an echo, as the echo service of other platforms reports them.
namespace EchoStatus {
constexpr uint32_t success = 0;
constexpr uint32_t destinationNetUnreachable = 11002;
constexpr uint32_t destinationHostUnreachable = 11003;
constexpr uint32_t destinationProtocolUnreachable = 11004;
constexpr uint32_t destinationPortUnreachable = 11005;
constexpr uint32_t packetTooBig = 11009;
constexpr uint32_t requestTimedOut = 11010;
constexpr uint32_t badRequest = 11011;
constexpr uint32_t badRoute = 11012;
constexpr uint32_t ttlExpiredTransit = 11013;
constexpr uint32_t ttlExpiredReassembly = 11014;
constexpr uint32_t parameterProblem = 11015;
constexpr uint32_t sourceQuench = 11016;
constexpr uint32_t badDestination = 11018;
constexpr uint32_t generalFailure = 11050;
} // namespace EchoStatus

// The record of the last reply, laid out as the 32-bit ICMP_ECHO_REPLY of the platform the
// program comes from (28 bytes), so its fields keep their meaning and order.
struct EchoReply
{
    uint32_t address = 0;       // who answered (or reported the error), network byte order
    uint32_t status = 0;        // EchoStatus
    uint32_t roundTripTime = 0; // whole milliseconds, cut down
    uint16_t dataSize = 0;      // bytes of echo data in the reply
    uint16_t reserved = 0;
    uint32_t data = 0;          // a pointer there; always 0 here
    uint8_t ttl = 0;            // the reply's time to live
    uint8_t tos = 0;
    uint8_t flags = 0;
    uint8_t optionsSize = 0;
    uint32_t optionsData = 0;   // a pointer there; always 0 here

    bool operator==(const EchoReply &) const = default;
};
static_assert(sizeof(EchoReply) == 28);

// One echo to send. The caller has checked the values (see IcmpEcho::ping).
struct EchoRequest
{
    uint32_t address = 0; // network byte order
    std::span<const char> data;
    uint8_t ttl = 64;
    uint8_t flags = 0; // 0x02: do not fragment
    int timeoutMs = 4000;
};

struct EchoOutcome
{
    int replies = 0;        // 1 or 0
    uint32_t error = 0;     // EchoStatus; 0 with a reply
    EchoReply reply;        // zeros when nothing came back
};

// The Linux stand-in for the platform's ICMP echo service: one socket, one echo at a time,
// the reply matched by identifier and sequence, ICMP errors mapped to EchoStatus codes.
class EchoSocket
{
public:
    // Raises IcmpEchoError when no socket of the kind can be opened.
    explicit EchoSocket(EchoSocketKind kind);

    EchoSocketKind kind() const { return m_kind; }

    // Sends one echo and waits up to its time-out; blocks the calling thread.
    EchoOutcome send(const EchoRequest &request);

    // From any thread: ends the wait in progress and every later one at once (for shut-down).
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
    // A reply or an error for the echo with `sequence` from `to`; nothing for anything else.
    bool readPacket(uint32_t to, uint16_t sequence, EchoOutcome &outcome);
    bool readError(uint16_t sequence, EchoOutcome &outcome);

    EchoSocketKind m_kind = EchoSocketKind::Raw;
    Descriptor m_socket;
    Descriptor m_wake;
    uint16_t m_identifier = 0; // on a datagram socket the kernel chooses it
    uint16_t m_sequence = 0;
};
