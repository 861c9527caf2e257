#pragma once
#include <QString>
#include <QStringList>
#include <optional>

// Sentence files: one record per sentence, CR LF, each written as "sentence". Windows-1252 as
// the program always wrote them; UTF-8 with a byte-order mark for a list the code page cannot
// hold. Hand-written files are read leniently (records without quotes, commas between records,
// lone CR or LF line ends, UTF-8 from a desktop text editor).
namespace SentenceFile {

enum class Encoding { Cp1252, Utf8 };

// How a file's bytes are read: UTF-8 when they are valid UTF-8 (a byte-order mark allowed) and
// hold a byte beyond ASCII; Windows-1252 otherwise, since ASCII reads the same in both.
Encoding detect(const QByteArray &bytes);

// Parses the bytes of a sentence file; stops after maxRecords records when that is not -1.
QStringList parse(const QByteArray &bytes, qsizetype maxRecords = -1);

// Reads a whole file; nothing, and a French sentence saying why, when it is refused or cannot
// be read (missing, a folder, not a regular file, larger than 64 MB, unreadable).
std::optional<QStringList> read(const QString &path, qsizetype maxRecords = -1,
                                QString *error = nullptr);

// The bytes of a file holding these sentences, each trimmed of spaces: Windows-1252 when every
// character fits and the bytes read back as Windows-1252, else UTF-8 with a byte-order mark.
// `used` receives the encoding chosen.
QByteArray serialize(const QStringList &sentences, Encoding *used = nullptr);

// Writes the file atomically: on any failure the earlier file, if any, is left whole.
// Returns false and a French description of the failure when it does not succeed.
bool write(const QString &path, const QStringList &sentences, QString *error = nullptr,
           Encoding *used = nullptr);

// The first character of the list that Windows-1252 cannot hold (a whole code point), or an
// empty text.
QString firstBeyondCodePage(const QStringList &sentences);

// Leading and trailing spaces removed (spaces only: tabs belong to the sentence).
QString trimSpaces(const QString &text);
}
