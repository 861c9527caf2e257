#pragma once
#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// Finding and starting the operating system's system information tool, which the About box
// offers. Windows says in its registry where the tool is; elsewhere nothing is found.
namespace SysInfo {

inline constexpr quint32 RegSz = 1;    // a text value
inline constexpr quint32 RegDword = 4; // a 32-bit number, least significant byte first

// The text of a registry value read as raw bytes: one trailing zero byte is dropped, a text
// stops at its first zero byte, a number gives its decimal digits; other types give "".
QString decodeRegistryValue(quint32 type, QByteArray bytes);

// What the search needs of the system; tests supply their own.
struct Access {
    // GetKeyValue under HKEY_LOCAL_MACHINE: the value's text, or nothing when it is not there.
    std::function<std::optional<QString>(const QString &keyPath, const QString &valueName)>
        getKeyValue;
    std::function<bool(const QString &path)> fileExists;
    // Starts the program in a normal window; false when it could not be started.
    std::function<bool(const QString &path)> start;
};

// The real registry (on Windows), file system and process start.
Access systemAccess();

// Looks the tool up and starts it; false when it is not found or does not start.
bool StartSysInfo(const Access &access);
}
