#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString programFolder()
{
    return programFolderOf(QCoreApplication::applicationDirPath());
}

QString programFolderOf(const QString &executableFolder)
{
    // The data folder's place relative to the program's, decided when the build is configured,
    // so that an installation moved whole (another prefix) still finds its data.
    const QString installed = QDir::cleanPath(
        joinPath(executableFolder, QStringLiteral(PLUMALIN_DATA_FROM_PROGRAM)));
    return QFileInfo(installed).isDir() ? installed : executableFolder;
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
