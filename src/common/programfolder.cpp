#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString userPlumalinFolder()
{
    return joinPath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                    QStringLiteral("Plumalin"));
}

bool ensureFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    QDir().mkpath(path);
    return QFileInfo(path).isDir();
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator()))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}
