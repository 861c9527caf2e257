#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <initializer_list>

// The program's CSV conventions, shared by every table it writes for a spreadsheet: UTF-8
// with a byte-order mark, ';' between fields, CR LF after each row, a field quoted (its quotes
// doubled) only when it holds ';', '"', CR or LF. A field that a spreadsheet would run as a
// formula (starting with '=', '+', '-' or '@') is written after an apostrophe, as is one that
// starts with an apostrophe itself, so that readCell() gives every text back unchanged.
namespace Csv {
inline constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";

// Appends one field, quoted when needed.
void appendField(QString &out, QStringView field);
// Appends the fields as one row, CR LF included.
void appendRow(QString &out, std::initializer_list<QStringView> fields);
void appendRow(QString &out, const QStringList &fields);

// Cuts one line (without its line end) into its raw cells, at most `max` of them. Returns the
// number of cells, max + 1 when the line has more, or -1 when a quote is not closed on it.
int splitLine(QByteArrayView line, QByteArrayView *cells, int max);
// The text of a raw cell: its quotes and the apostrophe before a formula taken away.
QString readCell(QByteArrayView cell);
}
