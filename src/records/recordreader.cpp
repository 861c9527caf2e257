#include "recordreader.h"

#include "recordformat.h"

#include "common/csv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace RecordReader {

QString readBytes(QByteArrayView bytes, const QString &fileName, std::vector<RecordLine> &lines)
{
    Csv::Reader reader(bytes);
    QStringList fields;
    if (!reader.next(fields) || fields != RecordFormat::headers())
        return QStringLiteral("« %1 » n'est pas un journal de Plumalin : fichier ignoré.").arg(fileName);

    int damaged = 0;
    while (reader.next(fields)) {
        RecordLine line;
        const bool complete = reader.lastRowComplete() && fields.size() == RecordFormat::ColumnCount;
        const QString *red = complete ? &fields.at(RecordFormat::RedColumn) : nullptr;
        if (!complete || !RecordFormat::parseStamp(fields.at(RecordFormat::DateColumn), line.when)
            || (*red != RecordFormat::Yes && *red != RecordFormat::No)) {
            // A blank line (a file touched by hand) is nothing worth a note.
            if (!(fields.size() == 1 && fields.first().isEmpty()))
                ++damaged;
            continue;
        }
        line.red = *red == RecordFormat::Yes;
        line.text = fields.at(RecordFormat::TextColumn);
        line.pupil = fields.at(RecordFormat::PupilColumn);
        line.sentenceFile = fields.at(RecordFormat::SentenceFileColumn);
        lines.push_back(std::move(line));
    }
    if (damaged == 1)
        return QStringLiteral("« %1 » : une ligne illisible ignorée.").arg(fileName);
    if (damaged > 1)
        return QStringLiteral("« %1 » : %2 lignes illisibles ignorées.").arg(fileName).arg(damaged);
    return {};
}

RecordSet readFolder(const QString &folder)
{
    RecordSet set;
    if (folder.isEmpty())
        return set;
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
    for (const QFileInfo &info : files) {
        const QString name = info.fileName();
        QString note;
        if (!info.isFile()) {
            note = QStringLiteral("« %1 » n'est pas un fichier : ignoré.").arg(name);
        } else if (info.size() > MaxFileSize) {
            note = QStringLiteral("« %1 » est trop gros pour un journal : fichier ignoré.").arg(name);
        } else {
            QFile file(info.filePath());
            if (!file.open(QIODevice::ReadOnly))
                note = QStringLiteral("« %1 » ne peut pas être lu : fichier ignoré.").arg(name);
            else
                note = readBytes(file.readAll(), name, set.lines);
        }
        if (!note.isEmpty())
            set.notes.append(note);
    }
    return set;
}
}
