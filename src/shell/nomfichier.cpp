#include "nomfichier.h"

#include <QFileInfo>

QString ExtraitNomFichier(const QString &path)
{
    // Only the text is looked at, never the disk: "/a/b/" gives "", a bare name itself.
    return QFileInfo(path).fileName();
}
