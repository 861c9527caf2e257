#include "sysinfo.h"

#include "common/cp1252.h"

#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace SysInfo {

QString decodeRegistryValue(quint32 type, QByteArray bytes)
{
    if (!bytes.isEmpty() && bytes.back() == '\0')
        bytes.chop(1);
    switch (type) {
    case RegSz: {
        // Some writers store more than one terminating zero: the text ends at the first.
        const qsizetype end = bytes.indexOf('\0');
        if (end >= 0)
            bytes.truncate(end);
        return Cp1252::decode(bytes);
    }
    case RegDword: {
        // The dropped trailing zero byte was the number's most significant byte: missing bytes
        // count as zero.
        quint32 value = 0;
        for (qsizetype i = 0; i < qMin<qsizetype>(bytes.size(), 4); ++i)
            value |= quint32(quint8(bytes.at(i))) << (8 * i);
        return QString::number(value);
    }
    default:
        return QString();
    }
}

#ifdef Q_OS_WIN
namespace {
std::optional<QString> getKeyValue(const QString &keyPath, const QString &valueName)
{
    HKEY key = nullptr;
    const QByteArray path = Cp1252::encode(keyPath);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.constData(), 0, 0x2003F, &key)
        != ERROR_SUCCESS) {
        // Pupils and teachers rarely have write access to this root: reading is all we need.
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.constData(), 0, KEY_READ, &key)
            != ERROR_SUCCESS)
            return std::nullopt;
    }
    QByteArray buffer(1024, '\0');
    DWORD type = 0;
    DWORD size = DWORD(buffer.size());
    const QByteArray name = Cp1252::encode(valueName);
    const LONG status = RegQueryValueExA(key, name.constData(), nullptr, &type,
                                         reinterpret_cast<LPBYTE>(buffer.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    buffer.truncate(qsizetype(size));
    return decodeRegistryValue(quint32(type), buffer);
}
}
#endif

Access systemAccess()
{
    Access access;
#ifdef Q_OS_WIN
    access.getKeyValue = getKeyValue;
#else
    access.getKeyValue = [](const QString &, const QString &) -> std::optional<QString> {
        return std::nullopt;
    };
#endif
    access.fileExists = [](const QString &path) { return QFileInfo(path).isFile(); };
    access.start = [](const QString &path) { return QProcess::startDetached(path, {}); };
    return access;
}

bool StartSysInfo(const Access &access)
{
    QString tool;
    if (const auto path = access.getKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                             QStringLiteral("PATH"))) {
        // Started as the registry gives it, without checking the file: a failed start says it.
        tool = *path;
    } else if (const auto folder = access.getKeyValue(
                   QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                   QStringLiteral("MSINFO"))) {
        const QString candidate = *folder + QStringLiteral("\\MSINFO32.EXE");
        if (!access.fileExists(candidate))
            return false;
        tool = candidate;
    } else {
        return false;
    }
    return access.start(tool);
}
}
