#include "csv.h"

namespace Csv {
namespace {
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
        while (pos < n && data[pos] != ';')
            ++pos;
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
