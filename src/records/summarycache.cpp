#include "summarycache.h"

#include "recordreader.h"

#include "common/safefile.h"

#include <QDir>
#include <QFileInfo>

SummaryCache::Result SummaryCache::read(const QString &folder)
{
    if (folder != m_folder) {
        m_files.clear();
        m_folder = folder;
    }
    m_filesRead = 0;
    Result result;
    if (folder.isEmpty())
        return result;
    const QFileInfoList infos = QDir(folder).entryInfoList({QStringLiteral("*.csv")},
                                                           QDir::Files | QDir::System, QDir::Name);
    std::map<QString, File> kept;
    for (const QFileInfo &info : infos) {
        const QString name = info.fileName();
        const qint64 size = info.size();
        const qint64 modified = info.lastModified().toMSecsSinceEpoch();
        auto found = m_files.find(name);
        if (found != m_files.end() && found->second.size == size && found->second.modified == modified) {
            kept.emplace(name, std::move(found->second));
            continue;
        }
        File file;
        file.size = size;
        file.modified = modified;
        QString error;
        const std::optional<QByteArray> bytes =
            SafeFile::read(info.filePath(), RecordReader::MaxFileSize, &error);
        ++m_filesRead;
        if (bytes) {
            RecordReader::OldFormIds old;
            old.prefix = name;
            file.note = RecordReader::readBytes(
                *bytes, name, [&file](const RecordLine &line) { file.builder.add(line); }, old, true);
            file.builder.finishFile();
        } else {
            file.note = QStringLiteral("« %1 » : fichier ignoré. %2").arg(name, error);
        }
        kept.emplace(name, std::move(file));
    }
    m_files = std::move(kept);

    SummaryBuilder all;
    for (const auto &[name, file] : m_files) {
        all.merge(file.builder);
        if (!file.note.isEmpty())
            result.notes.append(file.note);
    }
    result.exercises = all.exercises();
    result.pupils = all.pupils();
    return result;
}
