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

// Consumes the comma or line end that ends a record.
qsizetype skipSeparator(const QByteArray &b, qsizetype pos)
{
    if (pos < b.size() && b[pos] == ',')
        return pos + 1;
    return skipLineEnd(b, pos);
}
}

QStringList SentenceFile::parse(const QByteArray &b, qsizetype maxRecords)
{
    QStringList sentences;
    const char *data = b.constData();
    const qsizetype n = b.size();
    qsizetype pos = 0;
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
            sentences.append(Cp1252::decode(data + start, end - start));
        } else {
            const qsizetype j = find(data, ',', pos, lineEnd);
            qsizetype end = j;
            while (end > pos && data[end - 1] == ' ')
                --end;
            sentences.append(Cp1252::decode(data + pos, end - pos));
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

QByteArray SentenceFile::serialize(const QStringList &sentences)
{
    QByteArray bytes;
    qsizetype total = 0;
    for (const QString &s : sentences)
        total += s.size() + 4;
    bytes.reserve(total);
    for (const QString &s : sentences) {
        bytes.append('"');
        bytes.append(Cp1252::encode(trimSpaces(s)));
        bytes.append("\"\r\n", 3);
    }
    return bytes;
}

bool SentenceFile::write(const QString &path, const QStringList &sentences, QString *error)
{
    return SafeFile::write(path, serialize(sentences), error);
}
