// Reading and writing a large sentence file, against reading its bytes alone; word splitting.
#include "common/sentencefile.h"
#include "exercise/sentencedeck.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
QStringList bigList()
{
    // 32,767 records of about 45 characters: about 1.5 MB on disk.
    QStringList list;
    list.reserve(32767);
    for (int i = 0; i < 32767; ++i)
        list.append(QStringLiteral("Phrase %1 : le petit chat gris dort près du feu, été.").arg(i));
    return list;
}

struct BigFile {
    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/grand.txt");
    QStringList list = bigList();
    BigFile() { SentenceFile::write(path, list); }
};

BigFile &bigFile()
{
    static BigFile file;
    return file;
}

// The same records in UTF-8 with a byte-order mark, as the editor saves a list that does not fit
// the code page.
struct BigUtf8File {
    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/grand-utf8.txt");
    QStringList list = bigList();
    BigUtf8File()
    {
        QFile file(path);
        QByteArray bytes("\xEF\xBB\xBF");
        for (const QString &sentence : list)
            bytes += '"' + sentence.toUtf8() + "\"\r\n";
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
};

BigUtf8File &bigUtf8File()
{
    static BigUtf8File file;
    return file;
}
}

static void BM_ReadBytesOnly(benchmark::State &state)
{
    for (auto _ : state) {
        QFile file(bigFile().path);
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll());
    }
    state.SetBytesProcessed(state.iterations() * QFile(bigFile().path).size());
}
BENCHMARK(BM_ReadBytesOnly)->Unit(benchmark::kMillisecond);

static void BM_ReadSentenceFile(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(SentenceFile::read(bigFile().path));
    state.SetBytesProcessed(state.iterations() * QFile(bigFile().path).size());
}
BENCHMARK(BM_ReadSentenceFile)->Unit(benchmark::kMillisecond);

static void BM_ReadUtf8SentenceFile(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(SentenceFile::read(bigUtf8File().path));
    state.SetBytesProcessed(state.iterations() * QFile(bigUtf8File().path).size());
}
BENCHMARK(BM_ReadUtf8SentenceFile)->Unit(benchmark::kMillisecond);

static void BM_WriteSentenceFile(benchmark::State &state)
{
    const QString path = bigFile().dir.path() + QStringLiteral("/copie.txt");
    for (auto _ : state)
        benchmark::DoNotOptimize(SentenceFile::write(path, bigFile().list));
    state.SetBytesProcessed(state.iterations() * QFile(bigFile().path).size());
}
BENCHMARK(BM_WriteSentenceFile)->Unit(benchmark::kMillisecond);

static void BM_ExpandWord127(benchmark::State &state)
{
    QStringList words;
    for (int i = 0; i < 127; ++i)
        words.append(QStringLiteral("mot%1").arg(i));
    const QString sentence = words.join(QLatin1Char(' '));
    SentenceDeck deck;
    for (auto _ : state)
        benchmark::DoNotOptimize(deck.ExpandWord(sentence));
}
BENCHMARK(BM_ExpandWord127)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
