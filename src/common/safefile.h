#pragma once
#include <QByteArray>
#include <QString>

#include <optional>

// Reading and writing the program's own files so that a strange file cannot hang or exhaust
// the program and a failed save never costs the file that was there before. Every file the
// program writes goes through write(); every file it reads whole goes through read().
namespace SafeFile {

// The largest file read() accepts unless told otherwise.
inline constexpr qint64 DefaultMaxBytes = 64 * 1024 * 1024;

// Writes the bytes beside the file, checks that they reached the disk, then puts them in the
// file's place, so that on any failure the earlier file, if any, is left whole. When the
// folder refuses the file written beside it but the file itself may be written, the file is
// written in place (after checking that the disk has room for it). Returns false and a French
// sentence naming the file and the system's reason when it does not succeed.
bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// The bytes of a regular file (links followed) of at most maxBytes bytes. Anything else
// (a folder, a named pipe, a device, a larger file) is refused before it is opened, so the
// call never blocks. Nothing, and a French sentence, when the file is refused or unreadable.
std::optional<QByteArray> read(const QString &path, qint64 maxBytes = DefaultMaxBytes,
                               QString *error = nullptr);

// The system's reason for a failed file operation (an errno value), in French.
QString systemReason(int errnum);
}
