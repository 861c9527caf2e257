#include "sysinfo.h"

#include "common/cp1252.h"
#include "platform/systemtools.h"

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

std::optional<QString> GetKeyValue(SystemTools &system, const QString &keyPath,
                                   const QString &valueName)
{
    const std::optional<SystemTools::RegistryValue> value = system.registryValue(keyPath, valueName);
    if (!value)
        return std::nullopt;
    return decodeRegistryValue(value->type, value->bytes);
}

bool StartSysInfo(SystemTools &system)
{
    QString tool;
    if (const auto path = GetKeyValue(system,
                                      QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                      QStringLiteral("PATH"))) {
        // Started as the registry gives it, without checking the file: a failed start says it.
        tool = *path;
    } else if (const auto folder = GetKeyValue(
                   system, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                   QStringLiteral("MSINFO"))) {
        const QString candidate = *folder + QStringLiteral("\\MSINFO32.EXE");
        if (!system.fileExists(candidate))
            return false;
        tool = candidate;
    } else {
        return false;
    }
    return system.start(tool);
}
}
