#pragma once
// Test fixtures for the file faults a teacher's computer can show: a small disk that fills up,
// and a folder that refuses the program although the test runs as root.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

// A small tmpfs mounted for the test; mounting needs root (CI), elsewhere mounted() is false
// and why() says so.
class SmallDisk
{
public:
    explicit SmallDisk(qint64 bytes)
    {
        if (!m_dir.isValid()) {
            m_why = QStringLiteral("no temporary folder");
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs",
                            MS_NOSUID | MS_NODEV, options.constData())
                    == 0;
        if (!m_mounted)
            m_why = QStringLiteral("mounting a small tmpfs is not allowed here (%1)")
                        .arg(QString::fromLocal8Bit(std::strerror(errno)));
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return m_mounted; }
    QString why() const { return m_why; }
    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }

    qint64 freeBytes() const
    {
        struct statvfs disk;
        if (::statvfs(QFile::encodeName(m_dir.path()).constData(), &disk) != 0)
            return -1;
        return qint64(disk.f_bavail) * qint64(disk.f_frsize);
    }
    // Fills the disk with one file until no more than `left` bytes stay free.
    bool fill(qint64 left)
    {
        QFile filler(path(QStringLiteral("remplissage")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(4096, 'x');
        while (freeBytes() > left) {
            if (filler.write(block.constData(), std::min<qint64>(block.size(), freeBytes() - left)) <= 0)
                break;
        }
        return freeBytes() <= left;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};

// While it lives, file permissions in this thread are checked as for the user "nobody", so a
// read-only folder refuses the test as it refuses a teacher. Run without root, the test is an
// ordinary user already and nothing changes.
class AsOrdinaryUser
{
public:
    static constexpr unsigned Nobody = 65534;
    AsOrdinaryUser()
    {
        if (::geteuid() == 0) {
            ::setfsgid(Nobody);
            ::setfsuid(Nobody);
            m_switched = true;
        }
    }
    ~AsOrdinaryUser()
    {
        if (m_switched) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    AsOrdinaryUser(const AsOrdinaryUser &) = delete;
    AsOrdinaryUser &operator=(const AsOrdinaryUser &) = delete;

private:
    bool m_switched = false;
};
