#include "platform/programmodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QLibrary>

QString programModuleFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
                           + QStringLiteral(PLUMALIN_MODULE_DIR));
}

QFunctionPointer programModuleFunction(const QString &module, const char *symbol, QString *why)
{
    struct Found
    {
        QFunctionPointer function = nullptr;
        QString why;
    };
    static QHash<QString, Found> found;
    const QString key = module + QLatin1Char('/') + QLatin1String(symbol);
    auto entry = found.constFind(key);
    if (entry == found.constEnd()) {
        Found result;
        // An absolute file name: the loader searches no folder for it.
        QLibrary library(programModuleFolder() + QStringLiteral("/lib") + module
                         + QStringLiteral(".so"));
        if (!library.load()) {
            result.why = QStringLiteral("Le module « %1 » du programme ne se charge pas : %2")
                             .arg(module, library.errorString());
        } else if (!(result.function = library.resolve(symbol))) {
            result.why = QStringLiteral("Le module « %1 » du programme est incomplet : %2")
                             .arg(module, library.errorString());
        }
        entry = found.insert(key, result);
    }
    if (why)
        *why = entry->why;
    return entry->function;
}
