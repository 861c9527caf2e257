#pragma once
#include <QString>

// The part of a path after its last folder separator (empty when the path ends with one), or
// the whole path when it holds none. '/' separates folders everywhere, '\' on Windows too.
QString ExtraitNomFichier(const QString &path);
