#include "cp1252.h"

#include <array>

namespace {
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t toUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return HighControls[byte - 0x80];
    return byte;
}

int toByte(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == unit)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}
}

QString Cp1252::decode(const char *data, qsizetype size)
{
    // Latin-1 agrees with the code page everywhere but 0x80..0x9F: convert fast, then mend those.
    QString text = QString::fromLatin1(data, size);
    const auto *bytes = reinterpret_cast<const unsigned char *>(data);
    unsigned char special = 0; // written branch-free so that the compiler vectorises it
    for (qsizetype i = 0; i < size; ++i)
        special |= static_cast<unsigned char>((bytes[i] & 0xE0) == 0x80);
    if (!special)
        return text;
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (byte >= 0x80 && byte < 0xA0) [[unlikely]]
            text[i] = QChar(toUnicode(byte));
    }
    return text;
}

namespace {
bool isPlainLatin1(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80 && (c.unicode() < 0xA0 || c.unicode() > 0xFF))
            return false;
    }
    return true;
}
}

std::optional<QByteArray> Cp1252::encodeExactly(const QString &text)
{
    if (isPlainLatin1(text))
        return text.toLatin1();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const int byte = toByte(c.unicode());
        if (byte < 0)
            return std::nullopt;
        bytes.append(static_cast<char>(byte));
    }
    return bytes;
}

QByteArray Cp1252::encode(const QString &text)
{
    if (isPlainLatin1(text))
        return text.toLatin1();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            bytes.append('?');
            ++i;
            continue;
        }
        const int byte = toByte(c.unicode());
        bytes.append(byte < 0 ? '?' : static_cast<char>(byte));
    }
    return bytes;
}
