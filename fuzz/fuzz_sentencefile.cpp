// Feeds arbitrary bytes to the sentence file reader: it must never crash, hang or lose bytes,
// in memory and through a real file written and read back.
#include "common/cp1252.h"
#include "common/safefile.h"
#include "common/sentencefile.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QString filePath()
{
    // In memory where the system offers it: every save syncs its file, which a disk makes slow.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/plumalin-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/plumalin-fuzz-XXXXXX"));
    if (!dir.isValid())
        std::abort();
    static const QString path = dir.filePath(QStringLiteral("phrases.txt"));
    return path;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList sentences = SentenceFile::parse(bytes);

    // Every record consumes at least one byte, and no sentence is longer than the input.
    if (sentences.size() > bytes.size())
        std::abort();
    for (const QString &s : sentences) {
        if (s.size() > bytes.size())
            std::abort();
    }
    // A limited read gives the first records of the full read.
    if (SentenceFile::parse(bytes, 2) != sentences.mid(0, 2))
        std::abort();
    // Every byte decodes to one character and encodes back to itself.
    if (Cp1252::encode(Cp1252::decode(bytes)) != bytes)
        std::abort();
    // What the writer makes of the sentences reads back as the same list, once each sentence
    // holds no quote or line end (those cannot be written unescaped) and is trimmed.
    QStringList clean;
    for (QString s : sentences) {
        s.remove(QLatin1Char('"')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        clean.append(SentenceFile::trimSpaces(s));
    }
    if (SentenceFile::parse(SentenceFile::serialize(clean)) != clean)
        std::abort();

    // The same through the disk: the bytes saved as a file read back as the same sentences,
    // and the cleaned list saved by the writer reads back unchanged.
    const QString path = filePath();
    if (!SafeFile::write(path, bytes) || SafeFile::read(path) != bytes)
        std::abort();
    if (SentenceFile::read(path) != sentences)
        std::abort();
    if (!SentenceFile::write(path, clean) || SentenceFile::read(path) != clean)
        std::abort();
    return 0;
}
