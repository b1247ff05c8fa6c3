#pragma once

#include "iprunner.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A small ext4 file system of the test's own, mounted from an image on a loop device, whose power
// can be cut: cut() keeps exactly what the file system has handed to its disk (what fsync and the
// journal's commits pushed there) and loses everything that still waited in memory, then mounts
// that state in the same place. The journal commits only every 10 minutes on its own, so nothing
// unsynced reaches the disk by chance during a test. Needs root (mount) and e2fsprogs; a kernel
// without device-mapper does, since the copy of the image is the disk as the power left it.
class PowerCutDisk
{
public:
    PowerCutDisk()
    {
        QFile image(imagePath());
        ok = m_dir.isValid() && QDir().mkdir(mountPoint()) && image.open(QIODevice::WriteOnly)
             && image.resize(32 << 20);
        image.close();
        ok = ok && run("mkfs.ext4", {QStringLiteral("-q"), QStringLiteral("-F"), imagePath()})
             && run("mount", {QStringLiteral("-o"), QStringLiteral("loop,commit=600"), imagePath(), mountPoint()});
        m_mounted = ok;
    }
    ~PowerCutDisk()
    {
        if (m_mounted)
            runCommand("umount", {QStringLiteral("-l"), mountPoint()}, true);
    }
    PowerCutDisk(const PowerCutDisk &) = delete;
    PowerCutDisk &operator=(const PowerCutDisk &) = delete;

    QString filePath(const QString &name) const { return mountPoint() + u'/' + name; }

    // The power goes and comes back. Files still open stay on the old file system, cut off.
    bool cut()
    {
        const QString disk = m_dir.filePath(QStringLiteral("after-the-cut.img"));
        m_mounted = QFile::copy(imagePath(), disk) && run("umount", {QStringLiteral("-l"), mountPoint()});
        return m_mounted && run("mount", {QStringLiteral("-o"), QStringLiteral("loop"), disk, mountPoint()});
    }

    bool ok = false;
    QString error; // the command that failed

private:
    QString imagePath() const { return m_dir.filePath(QStringLiteral("disk.img")); }
    QString mountPoint() const { return m_dir.filePath(QStringLiteral("mnt")); }
    bool run(const QByteArray &program, const QStringList &arguments)
    {
        const bool done = runCommand(program, arguments);
        if (!done)
            error = QString::fromLocal8Bit(program) + u' ' + arguments.join(u' ') + QStringLiteral(" failed");
        return done;
    }

    QTemporaryDir m_dir;
    bool m_mounted = false;
};
