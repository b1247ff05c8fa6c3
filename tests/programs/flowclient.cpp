// A downloader for the attribution tests: connects to ADDRESS PORT, reads until the far end
// closes and exits 0. The tests copy it under several names, one per program to tell apart.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    sockaddr_storage address{};
    socklen_t size;
    auto &in4 = reinterpret_cast<sockaddr_in &>(address);
    auto &in6 = reinterpret_cast<sockaddr_in6 &>(address);
    const auto port = htons(uint16_t(std::atoi(argv[2])));
    if (::inet_pton(AF_INET, argv[1], &in4.sin_addr) == 1) {
        in4.sin_family = AF_INET;
        in4.sin_port = port;
        size = sizeof in4;
    } else if (::inet_pton(AF_INET6, argv[1], &in6.sin6_addr) == 1) {
        in6.sin6_family = AF_INET6;
        in6.sin6_port = port;
        size = sizeof in6;
    } else {
        return 2;
    }
    const int fd = ::socket(address.ss_family, SOCK_STREAM, 0);
    const timeval patience{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr *>(&address), size) != 0)
        return 1;
    static char buffer[65536];
    ssize_t received;
    while ((received = ::recv(fd, buffer, sizeof buffer, 0)) > 0) {
    }
    ::close(fd);
    return received == 0 ? 0 : 1;
}
