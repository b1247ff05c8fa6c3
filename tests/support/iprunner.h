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

// Starts `program` (found on the PATH unless it is a path) with `arguments` in the calling thread's
// network namespace; its process id, or -1. `quiet` sends its complaints to /dev/null (for
// clean-ups of what may not exist). posix_spawn rather than QProcess or fork: the tests have
// threads running, and ThreadSanitizer refuses to start threads after a fork; posix_spawn runs no
// fork handlers.
inline pid_t startCommand(const QByteArray &program, const QStringList &arguments, bool quiet = false)
{
    QList<QByteArray> texts{program};
    for (const QString &argument : arguments)
        texts.append(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet)
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const bool started = posix_spawnp(&child, program.constData(), &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return started ? child : -1;
}

// Waits for a started command; true when it exited with 0.
inline bool exitedWell(pid_t child)
{
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs `program` with `arguments`, as startCommand does, and waits for it; true when it exited with 0.
inline bool runCommand(const QByteArray &program, const QStringList &arguments, bool quiet = false)
{
    return exitedWell(startCommand(program, arguments, quiet));
}

// Runs `ip` with `arguments`, as runCommand does.
inline bool runIp(const QStringList &arguments, bool quiet = false)
{
    return runCommand(QByteArrayLiteral("ip"), arguments, quiet);
}
