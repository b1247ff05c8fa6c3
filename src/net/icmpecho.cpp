#include "net/icmpecho.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>

#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace {

// The resolver's failures, as the socket library of the program's first platform numbers them.
uint32_t resolverError(int error)
{
    switch (error) {
    case EAI_AGAIN: return 11002;  // try again
    case EAI_FAIL: return 11003;   // no recovery
    case EAI_NODATA: return 11004; // no address of the family
    default: return 11001;         // host not found
    }
}

} // namespace

std::optional<uint32_t> parseDottedAddress(const QString &text)
{
    in_addr address{};
    if (::inet_aton(text.toLatin1().constData(), &address) == 0 || address.s_addr == IcmpEcho::unresolved)
        return std::nullopt;
    return address.s_addr;
}

QString dottedAddress(uint32_t address)
{
    char text[INET_ADDRSTRLEN] = {};
    in_addr value{};
    value.s_addr = address;
    ::inet_ntop(AF_INET, &value, text, sizeof text);
    return QString::fromLatin1(text);
}

IcmpEcho::IcmpEcho(EchoSocketKind kind)
    : m_socket(kind)
{
}

void IcmpEcho::setAddress(const QString &address)
{
    if (address == m_address)
        return;
    m_address = address;
    m_addressResolved = false;
}

void IcmpEcho::display(const QString &message) const
{
    if (onDisplay)
        onDisplay(message);
}

void IcmpEcho::resolveAddress()
{
    if (const std::optional<uint32_t> dotted = parseDottedAddress(m_address)) {
        m_ipAddress = *dotted;
        m_hostName = m_address;
    } else {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_flags = AI_CANONNAME;
        addrinfo *found = nullptr;
        const int error = ::getaddrinfo(m_address.toUtf8().constData(), nullptr, &hints, &found);
        if (error != 0 || !found) {
            m_lastError = resolverError(error);
            m_ipAddress = unresolved;
            display(QStringLiteral("Unable to resolve ") + m_address);
            return;
        }
        m_ipAddress = reinterpret_cast<const sockaddr_in *>(found->ai_addr)->sin_addr.s_addr;
        m_hostName = found->ai_canonname ? QString::fromUtf8(found->ai_canonname) : m_address;
        ::freeaddrinfo(found);
    }
    m_hostIp = dottedAddress(m_ipAddress);
    m_addressResolved = true;
}

int IcmpEcho::ping()
{
    m_lastError = 0;
    if (!m_addressResolved)
        resolveAddress();
    if (m_ipAddress == unresolved) {
        m_lastError = EchoStatus::badDestination;
        display(QStringLiteral("Invalid host address"));
        return 0;
    }

    const bool sendable = size >= 0 && size <= largestSize && (ttl & 0xFF) != 0 && timeout >= 0;
    // Spaces, with the payload text over the beginning; owned here, so a callback that throws
    // leaks nothing.
    QByteArray data(sendable ? size : 0, ' ');
    std::memcpy(data.data(), payloadText, size_t(std::min<qsizetype>(data.size(), sizeof payloadText - 1)));

    if (onEchoRequest)
        onEchoRequest();

    EchoOutcome outcome;
    if (sendable) {
        outcome = m_socket.send(EchoRequest{m_ipAddress, std::span<const char>(data.constData(), size_t(data.size())),
                                            uint8_t(ttl & 0xFF), uint8_t(flags & 0xFF),
                                            std::min(timeout, longestWaitMs)});
    } else {
        outcome.error = EchoStatus::badRequest;
    }
    m_lastError = outcome.error;
    m_reply = outcome.reply;

    if (onEchoReply)
        onEchoReply(outcome.replies);
    return outcome.replies;
}

QString IcmpEcho::errorString(uint32_t code)
{
    static const struct
    {
        uint32_t code;
        const char *text;
    } texts[] = {
        {0, "No error"},
        {11001, "Buffer too small"},
        {11002, "Destination network unreachable"},
        {11003, "Destination host unreachable"},
        {11004, "Destination protocol unreachable"},
        {11005, "Destination port unreachable"},
        {11006, "No resources"},
        {11007, "Bad option"},
        {11008, "Hardware error"},
        {11009, "Packet too big"},
        {11010, "Request timed out"},
        {11011, "Bad request"},
        {11012, "Bad route"},
        {11013, "TTL expired in transit"},
        {11014, "TTL expired in reassembly"},
        {11015, "Parameter problem"},
        {11016, "Source quench"},
        {11017, "Option too big"},
        {11018, "Bad Destination"},
        {11019, "Address deleted"},
        {11020, "Specific MTU change"},
        {11021, "MTU change"},
        {11050, "General failure"},
        {11255, "Pending"},
    };
    for (const auto &entry : texts) {
        if (entry.code == code)
            return QString::fromLatin1(entry.text);
    }
    return QStringLiteral("ICMP error #") + QString::number(code);
}
