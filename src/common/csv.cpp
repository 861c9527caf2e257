#include "csv.h"

#include <QSysInfo>

#include <cstring>

namespace Csv {
namespace {
// Where the next ';' is from `pos` on, or `n`: eight bytes at a time, as records are read by the
// hundred thousand lines.
qsizetype nextSemicolon(const char *data, qsizetype pos, qsizetype n)
{
    constexpr quint64 Ones = 0x0101010101010101ULL;
    constexpr quint64 Highs = 0x8080808080808080ULL;
    constexpr quint64 Semicolons = Ones * ';';
    while (pos + 8 <= n) {
        quint64 word;
        std::memcpy(&word, data + pos, 8);
        if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
            const quint64 x = word ^ Semicolons;
            // The lowest byte flagged is the first ';' (a flag above it may be a false one).
            const quint64 found = (x - Ones) & ~x & Highs;
            if (found)
                return pos + qsizetype(qCountTrailingZeroBits(found) / 8);
        } else {
            break;
        }
        pos += 8;
    }
    while (pos < n && data[pos] != ';')
        ++pos;
    return pos;
}

bool runsAsFormula(QStringView field)
{
    if (field.isEmpty())
        return false;
    const QChar c = field.front();
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\'';
}
}

void appendField(QString &out, QStringView field)
{
    const QString guarded = runsAsFormula(field) ? QLatin1Char('\'') + field.toString() : QString();
    if (!guarded.isNull())
        field = guarded;
    bool quote = false;
    for (const QChar c : field) {
        if (c == u';' || c == u'"' || c == u'\r' || c == u'\n') {
            quote = true;
            break;
        }
    }
    if (!quote) {
        out += field;
        return;
    }
    out += u'"';
    for (const QChar c : field) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
}

void appendRow(QString &out, std::initializer_list<QStringView> fields)
{
    bool first = true;
    for (const QStringView field : fields) {
        if (!first)
            out += u';';
        first = false;
        appendField(out, field);
    }
    out += QLatin1String("\r\n");
}

void appendRow(QString &out, const QStringList &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += u';';
        appendField(out, fields.at(i));
    }
    out += QLatin1String("\r\n");
}

int splitLine(QByteArrayView line, QByteArrayView *cells, int max)
{
    const qsizetype n = line.size();
    const char *data = line.data();
    qsizetype pos = 0;
    int count = 0;
    while (true) {
        const qsizetype start = pos;
        if (pos < n && data[pos] == '"') {
            ++pos;
            bool closed = false;
            while (pos < n) {
                if (data[pos] == '\r' || data[pos] == '\n')
                    return -1;
                if (data[pos] == '"') {
                    if (pos + 1 < n && data[pos + 1] == '"') {
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    closed = true;
                    break;
                }
                ++pos;
            }
            if (!closed)
                return -1;
        }
        pos = nextSemicolon(data, pos, n);
        if (count == max)
            return max + 1;
        cells[count++] = line.sliced(start, pos - start);
        if (pos >= n)
            return count;
        ++pos; // the ';'
    }
}

QString readCell(QByteArrayView cell)
{
    QString text;
    if (cell.startsWith('"')) {
        QByteArray inside;
        qsizetype pos = 1;
        while (pos < cell.size()) {
            if (cell[pos] == '"') {
                if (pos + 1 < cell.size() && cell[pos + 1] == '"') {
                    inside += '"';
                    pos += 2;
                    continue;
                }
                ++pos;
                break;
            }
            inside += cell[pos++];
        }
        // Anything after the closing quote is kept, as a spreadsheet does.
        inside += cell.sliced(pos);
        text = QString::fromUtf8(inside);
    } else {
        text = QString::fromUtf8(cell);
    }
    if (text.startsWith(QLatin1Char('\'')) && text.size() > 1 && runsAsFormula(QStringView(text).sliced(1)))
        text.remove(0, 1);
    return text;
}
}
