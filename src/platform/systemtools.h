#pragma once
#include <QByteArray>
#include <QString>

#include <optional>

// What the About box needs of the operating system to find and start its system information
// tool: the registry where there is one, a file test and a program start. Tests answer them.
class SystemTools
{
public:
    struct RegistryValue {
        quint32 type = 0;  // the registry's value type (1 a text, 4 a 32-bit number, ...)
        QByteArray bytes;  // the value as stored, as many bytes as the registry reports
    };
    virtual ~SystemTools() = default;
    // A value under HKEY_LOCAL_MACHINE; nothing when it is absent, unreadable, or when the
    // system has no registry.
    virtual std::optional<RegistryValue> registryValue(const QString &keyPath,
                                                       const QString &valueName) = 0;
    virtual bool fileExists(const QString &path) = 0;
    // Starts the program in a normal window; false when it could not be started.
    virtual bool start(const QString &path) = 0;
};

// The system's own registry (on Windows), files and process start.
class QtSystemTools : public SystemTools
{
public:
    std::optional<RegistryValue> registryValue(const QString &keyPath,
                                               const QString &valueName) override;
    bool fileExists(const QString &path) override;
    bool start(const QString &path) override;
};
