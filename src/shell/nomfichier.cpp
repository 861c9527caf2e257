#include "nomfichier.h"

QString ExtraitNomFichier(const QString &path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path.at(i);
#ifdef Q_OS_WIN
        const bool separator = c == QLatin1Char('/') || c == QLatin1Char('\\');
#else
        const bool separator = c == QLatin1Char('/');
#endif
        if (separator)
            return path.mid(i + 1);
    }
    return path;
}
