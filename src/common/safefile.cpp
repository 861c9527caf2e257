#include "safefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {
bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

QString shown(const QString &path)
{
    return QStringLiteral("« %1 »").arg(path);
}

// Writes through the file's descriptor: Qt's own buffer would only be flushed by commit(),
// which does not report a failure of that last flush and renames the short file into place.
bool writeAll(int fd, const char *data, qint64 size, int *errnum)
{
    while (size > 0) {
        const ssize_t written =
            ::write(fd, data, static_cast<size_t>(std::min<qint64>(size, qint64(1) << 30)));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            *errnum = errno;
            return false;
        }
        data += written;
        size -= written;
    }
    // Some file systems report a full disk or a failing device only when the data is synced.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) {
        *errnum = errno;
        return false;
    }
    return true;
}

// Room left for `bytes` when they replace the file in place (its own blocks are given back).
bool roomForInPlace(const QString &path, qint64 bytes)
{
    struct statvfs disk;
    if (::statvfs(QFile::encodeName(path).constData(), &disk) != 0)
        return true; // unknown: the write itself will tell
    const qint64 free = qint64(disk.f_bavail) * qint64(disk.f_frsize);
    return free + QFileInfo(path).size() >= bytes;
}
}

QString SafeFile::systemReason(int errnum)
{
    switch (errnum) {
    case ENOSPC:
        return QStringLiteral("Plus de place sur le disque");
    case EDQUOT:
        return QStringLiteral("Quota d'espace disque dépassé");
    case EACCES:
    case EPERM:
        return QStringLiteral("Permission refusée");
    case EROFS:
        return QStringLiteral("Le disque est en lecture seule");
    case ENOENT:
        return QStringLiteral("Fichier ou dossier introuvable");
    case ENOTDIR:
        return QStringLiteral("Un élément du chemin n'est pas un dossier");
    case EISDIR:
        return QStringLiteral("C'est un dossier");
    case ENAMETOOLONG:
        return QStringLiteral("Nom de fichier trop long");
    case EFBIG:
        return QStringLiteral("Fichier trop grand");
    case EIO:
        return QStringLiteral("Erreur d'entrée-sortie sur le disque");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Trop de fichiers ouverts");
    case ENOMEM:
        return QStringLiteral("Mémoire insuffisante");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Fichier occupé");
    case ELOOP:
        return QStringLiteral("Trop de liens symboliques");
    }
    return QStringLiteral("Erreur du système n° %1").arg(errnum);
}

bool SafeFile::write(const QString &path, const QByteArray &bytes, QString *error)
{
    if (path.isEmpty())
        return fail(error, QStringLiteral("Aucun nom de fichier n'a été donné."));
    if (QFileInfo(path).isDir())
        return fail(error, QStringLiteral("%1 est un dossier, pas un fichier.").arg(shown(path)));

    QSaveFile file(path);
    errno = 0;
    bool opened = file.open(QIODevice::WriteOnly);
    int errnum = errno;
    // The folder refuses the file written beside it: write the file itself, if it may be.
    if (!opened && errnum == EACCES && QFileInfo(path).isFile()) {
        if (!roomForInPlace(path, bytes.size()))
            return fail(error, QStringLiteral("Le fichier %1 ne peut pas être remplacé : %2")
                                   .arg(shown(path), systemReason(ENOSPC)));
        file.setDirectWriteFallback(true);
        errno = 0;
        opened = file.open(QIODevice::WriteOnly);
        errnum = errno;
    }
    if (!opened)
        return fail(error, QStringLiteral("Le fichier %1 ne peut pas être créé : %2")
                               .arg(shown(path), errnum ? systemReason(errnum) : file.errorString()));

    if (!writeAll(file.handle(), bytes.constData(), bytes.size(), &errnum)) {
        file.cancelWriting();
        return fail(error, QStringLiteral("L'écriture du fichier %1 a échoué : %2")
                               .arg(shown(path), systemReason(errnum)));
    }
    errno = 0;
    if (!file.commit()) {
        errnum = errno;
        return fail(error, QStringLiteral("L'enregistrement du fichier %1 a échoué : %2")
                               .arg(shown(path), errnum ? systemReason(errnum) : file.errorString()));
    }
    return true;
}

std::optional<QByteArray> SafeFile::read(const QString &path, qint64 maxBytes, QString *error)
{
    auto refuse = [&](const QString &why) -> std::optional<QByteArray> {
        fail(error, why);
        return std::nullopt;
    };
    auto unreadable = [&](int errnum) {
        return refuse(QStringLiteral("Le fichier %1 ne peut pas être lu : %2")
                          .arg(shown(path), systemReason(errnum)));
    };
    // Only a regular file of a bounded size is opened: a named pipe would block the open, a
    // device such as /dev/zero would never end.
    auto refusal = [&](const struct stat &st) -> std::optional<QString> {
        if (S_ISDIR(st.st_mode))
            return QStringLiteral("%1 est un dossier, pas un fichier.").arg(shown(path));
        if (!S_ISREG(st.st_mode))
            return QStringLiteral("%1 n'est pas un fichier ordinaire : il n'est pas lu.")
                .arg(shown(path));
        if (st.st_size > maxBytes)
            return QStringLiteral("Le fichier %1 est trop grand pour être lu (plus de %2 Mo).")
                .arg(shown(path))
                .arg(maxBytes / (1024 * 1024));
        return std::nullopt;
    };

    if (path.isEmpty())
        return refuse(QStringLiteral("Aucun nom de fichier n'a été donné."));
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0) {
        if (errno == ENOENT)
            return refuse(QStringLiteral("Le fichier %1 est introuvable.").arg(shown(path)));
        return unreadable(errno);
    }
    if (const auto why = refusal(st))
        return refuse(*why);

    // Non-blocking, should the file have been swapped for a pipe since it was looked at.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return unreadable(errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0)
        return unreadable(errno);
    if (const auto why = refusal(st))
        return refuse(*why);

    // One byte more than allowed may be read, to notice a file that grows while it is read.
    const qint64 limit = maxBytes + 1;
    QByteArray bytes;
    bytes.resize(static_cast<qsizetype>(std::min<qint64>(limit, st.st_size + 1)));
    qint64 got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got >= limit)
                break;
            bytes.resize(static_cast<qsizetype>(std::min<qint64>(limit, got * 2 + 4096)));
        }
        const ssize_t n = ::read(fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return unreadable(errno);
        }
        if (n == 0)
            break;
        got += n;
    }
    if (got > maxBytes) {
        st.st_size = got;
        return refuse(*refusal(st));
    }
    bytes.resize(static_cast<qsizetype>(got));
    return bytes;
}
