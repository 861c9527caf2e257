#include "sentencefile.h"

#include "cp1252.h"
#include "safefile.h"

#include <cstring>

namespace {
bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Position of the first c in data[from, to), or to when there is none.
qsizetype find(const char *data, char c, qsizetype from, qsizetype to)
{
    if (from >= to)
        return to;
    const void *hit = std::memchr(data + from, c, static_cast<std::size_t>(to - from));
    return hit ? static_cast<const char *>(hit) - data : to;
}

// Finds line ends front to back, remembering what it has seen so that a long line (or a file
// of lone CRs) is scanned once, not once per record.
class LineEnds
{
public:
    LineEnds(const char *data, qsizetype n)
        : m_data(data)
        , m_n(n)
    {
    }
    // Position of the first CR or LF at or after pos, or n.
    qsizetype from(qsizetype pos)
    {
        if (pos > m_lf || m_lf < 0)
            m_lf = find(m_data, '\n', pos, m_n);
        if (pos > m_end || m_end < 0)
            m_end = find(m_data, '\r', pos, m_lf);
        return m_end;
    }

private:
    const char *m_data;
    qsizetype m_n;
    qsizetype m_lf = -1;
    qsizetype m_end = -1;
};

// Consumes one line end (CR LF, a lone CR or a lone LF) at pos, if there is one.
qsizetype skipLineEnd(const QByteArray &b, qsizetype pos)
{
    if (pos < b.size() && b[pos] == '\r') {
        ++pos;
        if (pos < b.size() && b[pos] == '\n')
            ++pos;
    } else if (pos < b.size() && b[pos] == '\n') {
        ++pos;
    }
    return pos;
}

constexpr char Bom[] = "\xEF\xBB\xBF";
constexpr qsizetype BomSize = 3;

bool startsWithBom(const QByteArray &b)
{
    return b.startsWith(QByteArrayView(Bom, BomSize));
}

// Position of the first byte beyond ASCII, or size; eight bytes at a time.
qsizetype firstNonAscii(const char *data, qsizetype size)
{
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
    }
    while (i < size && static_cast<unsigned char>(data[i]) < 0x80)
        ++i;
    return i;
}

// Consumes the comma or line end that ends a record.
qsizetype skipSeparator(const QByteArray &b, qsizetype pos)
{
    if (pos < b.size() && b[pos] == ',')
        return pos + 1;
    return skipLineEnd(b, pos);
}
}

SentenceFile::Encoding SentenceFile::detect(const QByteArray &bytes)
{
    const qsizetype first = firstNonAscii(bytes.constData(), bytes.size());
    if (first == bytes.size())
        return Encoding::Cp1252;
    // Everything before `first` is ASCII, so a character starts there.
    return QByteArrayView(bytes).sliced(first).isValidUtf8() ? Encoding::Utf8 : Encoding::Cp1252;
}

QStringList SentenceFile::parse(const QByteArray &b, qsizetype maxRecords)
{
    QStringList sentences;
    const char *data = b.constData();
    const qsizetype n = b.size();
    const bool utf8 = detect(b) == Encoding::Utf8;
    // Quotes, commas, spaces and line ends are ASCII, which never occurs inside a UTF-8
    // sequence: records are found in the bytes alike for both encodings.
    const auto decode = [utf8](const char *text, qsizetype size) -> QString {
        if (!utf8)
            return Cp1252::decode(text, size);
        // QString::fromUtf8 drops one leading U+FEFF; a record that starts with one keeps it.
        if (QByteArrayView(text, size).startsWith(QByteArrayView(Bom, BomSize)))
            return QChar(0xFEFF) + QString::fromUtf8(text, size);
        return QString::fromUtf8(text, size);
    };
    qsizetype pos = utf8 && startsWithBom(b) ? BomSize : 0;
    LineEnds lineEnds(data, n);
    while (pos < n && (maxRecords < 0 || sentences.size() < maxRecords)) {
        while (pos < n && data[pos] == ' ')
            ++pos;
        const qsizetype lineEnd = lineEnds.from(pos);
        if (pos < n && data[pos] == '"') {
            const qsizetype start = ++pos;
            // A quote closes the record only when a comma, a line end or the end of the file
            // follows it (spaces skipped); any other quote belongs to the sentence. A quote
            // never closed ends at the line end, so one stray quote cannot swallow the file.
            qsizetype end = lineEnd;
            pos = skipLineEnd(b, lineEnd);
            for (qsizetype j = start; (j = find(data, '"', j, lineEnd)) < lineEnd; ++j) {
                qsizetype k = j + 1;
                while (k < n && data[k] == ' ')
                    ++k;
                if (k == n || data[k] == ',' || isLineEnd(data[k])) {
                    end = j;
                    pos = skipSeparator(b, k);
                    break;
                }
            }
            sentences.append(decode(data + start, end - start));
        } else {
            const qsizetype j = find(data, ',', pos, lineEnd);
            qsizetype end = j;
            while (end > pos && data[end - 1] == ' ')
                --end;
            sentences.append(decode(data + pos, end - pos));
            pos = skipSeparator(b, j);
        }
    }
    return sentences;
}

std::optional<QStringList> SentenceFile::read(const QString &path, qsizetype maxRecords,
                                              QString *error)
{
    const std::optional<QByteArray> bytes = SafeFile::read(path, SafeFile::DefaultMaxBytes, error);
    if (!bytes)
        return std::nullopt;
    return parse(*bytes, maxRecords);
}

QString SentenceFile::trimSpaces(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == QLatin1Char(' '))
        ++start;
    while (end > start && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

namespace {
QByteArray serializeUtf8(const QStringList &sentences)
{
    QByteArray bytes(Bom, BomSize);
    for (const QString &s : sentences) {
        bytes.append('"');
        bytes.append(SentenceFile::trimSpaces(s).toUtf8());
        bytes.append("\"\r\n", 3);
    }
    return bytes;
}
}

QByteArray SentenceFile::serialize(const QStringList &sentences, Encoding *used)
{
    QByteArray bytes;
    qsizetype total = 0;
    for (const QString &s : sentences)
        total += s.size() + 4;
    bytes.reserve(total);
    bool fits = true;
    for (const QString &s : sentences) {
        const std::optional<QByteArray> text = Cp1252::encodeExactly(trimSpaces(s));
        if (!text) {
            fits = false;
            break;
        }
        bytes.append('"');
        bytes.append(*text);
        bytes.append("\"\r\n", 3);
    }
    // A list such as « Ã© » gives code-page bytes that are valid UTF-8: they would read back as
    // « é ». Such a list is saved in UTF-8, like one the code page cannot hold.
    if (fits && detect(bytes) == Encoding::Cp1252) {
        if (used)
            *used = Encoding::Cp1252;
        return bytes;
    }
    if (used)
        *used = Encoding::Utf8;
    return serializeUtf8(sentences);
}

QString SentenceFile::firstBeyondCodePage(const QStringList &sentences)
{
    for (const QString &s : sentences) {
        if (Cp1252::encodeExactly(s))
            continue;
        for (qsizetype i = 0; i < s.size(); ++i) {
            const qsizetype length =
                s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate() ? 2 : 1;
            const QString character = s.mid(i, length);
            if (!Cp1252::encodeExactly(character))
                return character;
            i += length - 1;
        }
    }
    return {};
}

bool SentenceFile::write(const QString &path, const QStringList &sentences, QString *error,
                         Encoding *used)
{
    return SafeFile::write(path, serialize(sentences, used), error);
}
