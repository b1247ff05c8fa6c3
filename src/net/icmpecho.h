#pragma once

#include "net/echosocket.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// The echo engine: resolves a host name or dotted address, sends one ICMP echo and waits for the
// answer, blocking the calling thread. It reports through three callbacks, each simply not called
// when empty. One thread at a time may use it; only interrupt() may come from another.
class IcmpEcho
{
public:
    static constexpr uint32_t unresolved = 0xFFFFFFFF; // INADDR_NONE
    // The most echo data one IPv4 datagram carries.
    static constexpr int32_t largestSize = 65507;
    // However long the time-out, no wait lasts longer.
    static constexpr int32_t longestWaitMs = 60000;

    // Opens the socket at once, so a missing right shows here; raises IcmpEchoError.
    explicit IcmpEcho(EchoSocketKind kind = EchoSocketKind::Automatic);

    const QString &address() const { return m_address; }
    // A different text (compared exactly) is resolved again at the next ping; the same text keeps
    // the earlier resolution.
    void setAddress(const QString &address);
    // Dotted text at once, otherwise the blocking resolver (first IPv4 address). On failure:
    // lastError set, "Unable to resolve " + the address on the display callback, still unresolved.
    void resolveAddress();

    // One echo; returns the number of replies (1 or 0). An address that does not resolve sends
    // nothing, raises neither echo callback and leaves lastError 11018. A size outside 0..65507, a
    // TTL whose low 8 bits are 0 or a negative time-out is a failed send: 0 replies, lastError 11011.
    int ping();

    // The text of lastError; "ICMP error #" and the code for a code outside the table.
    QString errorString() const { return errorString(m_lastError); }
    static QString errorString(uint32_t code);

    // Ends the wait in progress and every later one at once; safe from any thread.
    void interrupt() { m_socket.interrupt(); }

    EchoSocketKind socketKind() const { return m_socket.kind(); }
    const EchoReply &reply() const { return m_reply; }
    uint32_t lastError() const { return m_lastError; }
    const QString &hostName() const { return m_hostName; }
    const QString &hostIp() const { return m_hostIp; }
    uint32_t ipAddress() const { return m_ipAddress; } // network byte order
    bool addressResolved() const { return m_addressResolved; }

    int32_t size = 56;      // bytes of echo data
    int32_t timeout = 4000; // milliseconds
    int32_t ttl = 64;       // only the low 8 bits reach the wire
    int32_t flags = 0;      // IP header flags; 0x02 is "do not fragment"

    std::function<void(const QString &message)> onDisplay;
    std::function<void()> onEchoRequest; // just before an echo is sent
    std::function<void(int replies)> onEchoReply; // after every send

    // The fixed text the echo data starts with.
    static constexpr char payloadText[] = "Tarvo latency probe: how far away is the host";
    static_assert(sizeof payloadText - 1 == 45);

private:
    void display(const QString &message) const;

    EchoSocket m_socket;
    EchoReply m_reply;
    QString m_address;
    QString m_hostName;
    QString m_hostIp;
    uint32_t m_ipAddress = unresolved;
    uint32_t m_lastError = 0;
    bool m_addressResolved = false;
};

// Dotted IPv4 text to the address in network byte order, as the classic inet_addr reads it;
// nothing for any other text.
std::optional<uint32_t> parseDottedAddress(const QString &text);
// The address in network byte order as dotted text without leading zeros.
QString dottedAddress(uint32_t address);
