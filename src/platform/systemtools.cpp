#include "systemtools.h"

#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

std::optional<SystemTools::RegistryValue> QtSystemTools::registryValue(const QString &keyPath,
                                                                      const QString &valueName)
{
#ifdef Q_OS_WIN
    HKEY key = nullptr;
    const QByteArray path = keyPath.toLocal8Bit();
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.constData(), 0, 0x2003F, &key) != ERROR_SUCCESS) {
        // Pupils and teachers rarely have write access to this root: reading is all we need.
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.constData(), 0, KEY_READ, &key)
            != ERROR_SUCCESS)
            return std::nullopt;
    }
    QByteArray buffer(1024, '\0');
    DWORD type = 0;
    DWORD size = DWORD(buffer.size());
    const QByteArray name = valueName.toLocal8Bit();
    const LONG status = RegQueryValueExA(key, name.constData(), nullptr, &type,
                                         reinterpret_cast<LPBYTE>(buffer.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    buffer.truncate(qsizetype(size));
    return RegistryValue{quint32(type), buffer};
#else
    Q_UNUSED(keyPath)
    Q_UNUSED(valueName)
    return std::nullopt;
#endif
}

bool QtSystemTools::fileExists(const QString &path)
{
    return QFileInfo(path).isFile();
}

bool QtSystemTools::start(const QString &path)
{
    return QProcess::startDetached(path, {});
}
