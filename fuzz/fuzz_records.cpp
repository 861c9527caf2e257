// Feeds arbitrary bytes to the record reader, as the contents of a file in the records folder:
// it must never crash, hang or take memory out of proportion with the file, and what it reads
// must make a summary.
#include "records/recordformat.h"
#include "records/recordreader.h"
#include "records/summary.h"

#include "common/safefile.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QString folderPath()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/plumalin-fuzz-records-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/plumalin-fuzz-records-XXXXXX"));
    if (!dir.isValid())
        std::abort();
    return dir.path();
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Half the inputs start with a record header of either form, so that the lines are read.
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (size > 0 && data[0] % 3 == 0)
        bytes = RecordFormat::headerBytes() + bytes.mid(1);
    else if (size > 0 && data[0] % 3 == 1)
        bytes = QByteArray("\xEF\xBB\xBFN°;Date;Progression de l'exercice;Durée;Rouge;Élève;Fichier de phrases\r\n")
                + bytes.mid(1);

    // In memory: one line read at most per line of the input, each no longer than the input.
    qsizetype lines = 0;
    qsizetype text = 0;
    RecordReader::OldFormIds old;
    SummaryBuilder builder;
    RecordReader::readBytes(bytes, QStringLiteral("journal.csv"), [&](const RecordLine &line) {
        ++lines;
        text += line.value.size() + line.word.size() + line.expected.size() + line.pupil.size();
        builder.add(line);
    }, old);
    if (lines > bytes.count('\n') + 1 || text > 4 * bytes.size())
        std::abort();
    const std::vector<ExerciseSummary> exercises = builder.exercises();
    for (const ExerciseSummary &e : exercises) {
        if (e.timeSpent() < 0 || e.wrongDrops != int(e.drops.size()))
            std::abort();
    }

    // Through a real file: the same lines as in memory.
    const QString folder = folderPath();
    const QString path = QDir(folder).filePath(QStringLiteral("journal-2026-12-10-salle1.csv"));
    if (!SafeFile::write(path, bytes))
        std::abort();
    const RecordSet set = RecordReader::readFolder(folder);
    if (qsizetype(set.lines.size()) != lines)
        std::abort();
    return 0;
}
