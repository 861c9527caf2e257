#include "csv.h"

namespace Csv {

void appendField(QString &out, QStringView field)
{
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

Reader::Reader(QByteArrayView text)
    : m_text(text)
{
    if (m_text.startsWith(QByteArrayView(ByteOrderMark)))
        m_pos = 3;
}

bool Reader::next(QStringList &fields)
{
    fields.clear();
    m_complete = true;
    const qsizetype n = m_text.size();
    if (m_pos >= n)
        return false;
    const char *data = m_text.data();
    QByteArray quoted;
    while (true) {
        // One field: quoted, or running to the next ';' or line end.
        if (m_pos < n && data[m_pos] == '"') {
            quoted.clear();
            ++m_pos;
            bool closed = false;
            while (m_pos < n) {
                const qsizetype start = m_pos;
                while (m_pos < n && data[m_pos] != '"')
                    ++m_pos;
                quoted.append(data + start, m_pos - start);
                if (m_pos >= n)
                    break;
                if (m_pos + 1 < n && data[m_pos + 1] == '"') {
                    quoted.append('"');
                    m_pos += 2;
                    continue;
                }
                ++m_pos;
                closed = true;
                break;
            }
            fields.append(QString::fromUtf8(quoted));
            if (!closed) {
                m_complete = false;
                return true;
            }
            // Anything between the closing quote and the separator is kept, as a spreadsheet does.
            const qsizetype start = m_pos;
            while (m_pos < n && data[m_pos] != ';' && data[m_pos] != '\r' && data[m_pos] != '\n')
                ++m_pos;
            if (m_pos > start)
                fields.last() += QString::fromUtf8(data + start, m_pos - start);
        } else {
            const qsizetype start = m_pos;
            while (m_pos < n && data[m_pos] != ';' && data[m_pos] != '\r' && data[m_pos] != '\n')
                ++m_pos;
            fields.append(QString::fromUtf8(data + start, m_pos - start));
        }
        if (m_pos >= n)
            return true;
        const char c = data[m_pos++];
        if (c == ';')
            continue;
        // A row ends at CR LF, and also at a lone LF or CR (a file touched by another editor).
        if (c == '\r' && m_pos < n && data[m_pos] == '\n')
            ++m_pos;
        return true;
    }
}
}
