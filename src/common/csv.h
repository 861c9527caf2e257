#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <initializer_list>

// The program's CSV conventions, shared by every table it writes for a spreadsheet: UTF-8
// with a byte-order mark, ';' between fields, CR LF after each row, a field quoted (its quotes
// doubled) only when it holds ';', '"', CR or LF.
namespace Csv {
inline constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";

// Appends one field, quoted when needed.
void appendField(QString &out, QStringView field);
// Appends the fields as one row, CR LF included.
void appendRow(QString &out, std::initializer_list<QStringView> fields);
void appendRow(QString &out, const QStringList &fields);

// Reads rows back from UTF-8 text written with these conventions (a leading byte-order mark is
// skipped). Quoted fields may hold line breaks. Reading stops at the end of the text.
class Reader
{
public:
    explicit Reader(QByteArrayView text);
    // The next row's fields; false at the end. A row whose quote is never closed is given as
    // it stands, with `lastRowComplete()` false.
    bool next(QStringList &fields);
    bool lastRowComplete() const { return m_complete; }

private:
    QByteArrayView m_text;
    qsizetype m_pos = 0;
    bool m_complete = true;
};
}
