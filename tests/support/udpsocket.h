#pragma once

#include <QByteArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

// A UDP socket bound to a loopback address; closed on scope exit.
struct UdpSocket
{
    explicit UdpSocket(const char *address, uint16_t port = 0)
    {
        fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(port);
        ::inet_pton(AF_INET, address, &local.sin_addr);
        bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) == 0;
        socklen_t size = sizeof local;
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&local), &size);
        this->port = ntohs(local.sin_port);
    }
    ~UdpSocket() { ::close(fd); }

    bool sendTo(const char *address, uint16_t toPort, const QByteArray &payload) const
    {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(toPort);
        ::inet_pton(AF_INET, address, &to.sin_addr);
        return ::sendto(fd, payload.constData(), size_t(payload.size()), 0, reinterpret_cast<sockaddr *>(&to), sizeof to)
               == payload.size();
    }

    int fd = -1;
    bool bound = false;
    uint16_t port = 0;
};

// Datagrams from one loopback address to a receiver bound at another, which stays bound while
// this lives, so no port-unreachable answer adds traffic of its own.
struct LoopbackDatagrams
{
    LoopbackDatagrams(const char *from, const char *to)
        : receiver(to)
        , sender(from)
        , to(to)
    {
    }

    // `count` datagrams of `payload` bytes each; false when one could not be sent.
    bool send(int count, int payload) const
    {
        bool sent = receiver.bound && sender.bound;
        for (int i = 0; sent && i < count; ++i)
            sent = sender.sendTo(to, receiver.port, QByteArray(payload, 'x'));
        return sent;
    }

    UdpSocket receiver;
    UdpSocket sender;
    const char *to;
};
