#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator()))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}
