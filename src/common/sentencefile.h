#pragma once
#include <QString>
#include <QStringList>
#include <optional>

// Sentence files: one record per sentence, Windows-1252, CR LF, each written as "sentence".
// Hand-written files are read leniently (records without quotes, commas between records,
// lone CR or LF line ends).
namespace SentenceFile {

// Parses the bytes of a sentence file; stops after maxRecords records when that is not -1.
QStringList parse(const QByteArray &bytes, qsizetype maxRecords = -1);

// Reads a whole file; nothing, and a French sentence saying why, when it is refused or cannot
// be read (missing, a folder, not a regular file, larger than 64 MB, unreadable).
std::optional<QStringList> read(const QString &path, qsizetype maxRecords = -1,
                                QString *error = nullptr);

// The bytes of a file holding these sentences, each trimmed of spaces.
QByteArray serialize(const QStringList &sentences);

// Writes the file atomically: on any failure the earlier file, if any, is left whole.
// Returns false and a French description of the failure when it does not succeed.
bool write(const QString &path, const QStringList &sentences, QString *error = nullptr);

// Leading and trailing spaces removed (spaces only: tabs belong to the sentence).
QString trimSpaces(const QString &text);
}
