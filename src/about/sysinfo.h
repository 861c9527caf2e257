#pragma once
#include <QByteArray>
#include <QString>

#include <optional>

class SystemTools;

// Finding and starting the operating system's system information tool, which the About box
// offers. Windows says in its registry where the tool is; elsewhere nothing is found.
namespace SysInfo {

inline constexpr quint32 RegSz = 1;    // a text value
inline constexpr quint32 RegDword = 4; // a 32-bit number, least significant byte first

// The text of a registry value read as raw bytes: one trailing zero byte is dropped, a text
// stops at its first zero byte, a number gives its decimal digits; other types give "".
QString decodeRegistryValue(quint32 type, QByteArray bytes);

// A value under HKEY_LOCAL_MACHINE as text; nothing when it is not there.
std::optional<QString> GetKeyValue(SystemTools &system, const QString &keyPath,
                                   const QString &valueName);

// Looks the tool up and starts it; false when it is not found or does not start.
bool StartSysInfo(SystemTools &system);
}
