#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

// Windows-1252, byte for character. The five bytes the code page leaves undefined map to the
// control characters of the same number, so every byte reads and writes back unchanged.
namespace Cp1252 {
QString decode(const char *data, qsizetype size);
inline QString decode(const QByteArray &bytes) { return decode(bytes.constData(), bytes.size()); }
// Characters the code page cannot hold become '?'.
QByteArray encode(const QString &text);
// Nothing when a character does not fit the code page.
std::optional<QByteArray> encodeExactly(const QString &text);
}
