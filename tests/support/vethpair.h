#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

// A veth pair whose far end sits in a network namespace of its own, both made by the test and
// removed at its end: frames sent on the near end reach nothing but that empty namespace.
class VethPair
{
public:
    VethPair()
        : near(QStringLiteral("tv%1a").arg(::getpid()))
        , far(QStringLiteral("tv%1b").arg(::getpid()))
        , m_namespace(QStringLiteral("tarvo-test-%1").arg(::getpid()))
    {
        m_made = ip({QStringLiteral("netns"), QStringLiteral("add"), m_namespace}) && create();
    }
    ~VethPair()
    {
        remove();
        ip({QStringLiteral("netns"), QStringLiteral("del"), m_namespace});
    }
    VethPair(const VethPair &) = delete;
    VethPair &operator=(const VethPair &) = delete;

    bool made() const { return m_made; }

    bool create()
    {
        return ip({QStringLiteral("link"), QStringLiteral("add"), near, QStringLiteral("type"), QStringLiteral("veth"),
                   QStringLiteral("peer"), QStringLiteral("name"), far, QStringLiteral("netns"), m_namespace})
               && ip({QStringLiteral("link"), QStringLiteral("set"), near, QStringLiteral("up")})
               && ip({QStringLiteral("-n"), m_namespace, QStringLiteral("link"), QStringLiteral("set"), far,
                      QStringLiteral("up")});
    }
    // Deleting the near end takes the far end with it.
    bool remove() { return ip({QStringLiteral("link"), QStringLiteral("del"), near}); }

    const QString near;
    const QString far;

private:
    // posix_spawn rather than fork: the test has threads running (ThreadSanitizer refuses a fork then).
    static bool ip(const QStringList &arguments)
    {
        QList<QByteArray> texts{QByteArrayLiteral("ip")};
        for (const QString &argument : arguments)
            texts.append(argument.toLocal8Bit());
        std::vector<char *> argv;
        for (QByteArray &text : texts)
            argv.push_back(text.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t child = 0;
        const int spawned = posix_spawnp(&child, "ip", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        return spawned == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    const QString m_namespace;
    bool m_made = false;
};
