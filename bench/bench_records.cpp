// The records on disk: what writing each journal line to the day's file adds to a line, and
// opening the summary window over a record of 100,000 lines.
#include "guibenchmain.h"
#include "common/programstate.h"
#include "journal/journal.h"
#include "platform/clock.h"
#include "platform/qtfilechooser.h"
#include "platform/qtmessageboxes.h"
#include "records/frmbilan.h"
#include "records/recordreader.h"
#include "records/recordwriter.h"
#include "records/summary.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
constexpr int Lines = 100000;

void reportTimePerLine(benchmark::State &state)
{
    state.counters["per_line"] = benchmark::Counter(double(state.iterations()) * Lines,
                                                    benchmark::Counter::kIsRate
                                                        | benchmark::Counter::kInvert);
}

QStringList lineTexts()
{
    QStringList texts;
    for (int i = 0; i < Lines; ++i)
        texts << QStringLiteral("Le petit chat dort sur le tapis %1").arg(i);
    return texts;
}

// The journal's own cost, on the real clock, with its window created (hidden); with and
// without the records behind it. The difference is what recording adds to a line.
void journalLines(benchmark::State &state, bool recorded)
{
    QTemporaryDir dir;
    SystemClock clock;
    ProgramState programState;
    QtFileChooser files;
    QtMessageBoxes messages;
    RecordWriter records(dir.filePath(QStringLiteral("Journaux")));
    records.setPupil(QStringLiteral("Léa"));
    Journal journal(clock, programState, files, messages);
    if (recorded)
        journal.setListener(&records);
    journal.ensureCreated();
    const QStringList texts = lineTexts();
    for (auto _ : state) {
        for (int i = 0; i < Lines; ++i)
            journal.AjoutProgress(texts.at(i), i % 7 != 0);
        state.PauseTiming();
        journal.Vider();
        state.ResumeTiming();
    }
    if (!records.failure().isEmpty())
        state.SkipWithError(qPrintable(records.failure()));
    reportTimePerLine(state);
}

void BM_AjoutProgressUnrecorded(benchmark::State &state)
{
    journalLines(state, false);
}
BENCHMARK(BM_AjoutProgressUnrecorded)->Unit(benchmark::kMillisecond);

void BM_AjoutProgressRecorded(benchmark::State &state)
{
    journalLines(state, true);
}
BENCHMARK(BM_AjoutProgressRecorded)->Unit(benchmark::kMillisecond);

// The record writer alone, as the journal calls it.
void BM_RecordLine(benchmark::State &state)
{
    QTemporaryDir dir;
    RecordWriter records(dir.path());
    records.setPupil(QStringLiteral("Léa"));
    const QStringList texts = lineTexts();
    const QString duration = QStringLiteral("00:00:03");
    for (auto _ : state) {
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        for (int i = 0; i < Lines; ++i)
            records.lineAdded(i + 2, now + i / 10, texts.at(i), duration, i % 7 == 0);
    }
    if (!records.failure().isEmpty())
        state.SkipWithError(qPrintable(records.failure()));
    reportTimePerLine(state);
}
BENCHMARK(BM_RecordLine)->Unit(benchmark::kMillisecond);

// A day's record of 100,000 lines: exercises of five sentences by 25 pupils, with wrong drops,
// hints and sentences out of time, written by the record writer itself.
struct BigRecord {
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("Journaux"));
    int lines = 0;

    BigRecord()
    {
        RecordWriter writer(folder);
        const qint64 day = QDateTime(QDate(2026, 12, 10), QTime(0, 0)).toSecsSinceEpoch();
        const QStringList sentence = {QStringLiteral("Le"), QStringLiteral("petit"), QStringLiteral("chat"),
                                      QStringLiteral("dort"), QStringLiteral("près"), QStringLiteral("du"),
                                      QStringLiteral("feu.")};
        const auto add = [&](const QString &text, bool red) {
            ++lines;
            writer.lineAdded(lines, day + lines * 4 / 5, text, QString(), red);
        };
        for (int exercise = 0; lines < Lines; ++exercise) {
            writer.setPupil(QStringLiteral("Élève %1").arg(exercise % 25));
            add(QStringLiteral("Debut de l'exercice."), false);
            for (int s = 0; s < 5 && lines < Lines; ++s) {
                QString answer;
                for (int w = 0; w < sentence.size(); ++w) {
                    if ((w + s + exercise) % 5 == 0)
                        add(answer + QLatin1Char(' ') + sentence.at((w + 2) % sentence.size()), true);
                    if ((w + exercise) % 11 == 0) {
                        add(QStringLiteral("La temporisation du mot bleu fixée à 30 secondes est dépassée."), true);
                        add(QStringLiteral("Le mot bleu est ' %1 '.").arg(sentence.at(w)), true);
                    }
                    answer = answer.isEmpty() ? sentence.at(w) : answer + QLatin1Char(' ') + sentence.at(w);
                    add(answer, false);
                }
                add(QStringLiteral("L'élève a fait une erreur."), false);
            }
            add(QStringLiteral("L'élève a une note de 17/20"), false);
            add(QStringLiteral("Fin de l'exercice avec le bouton 'QUITTER'"), false);
        }
    }
};

BigRecord &bigRecord()
{
    static BigRecord record;
    return record;
}

// Reading the record and working out the summary, without the window.
void BM_ReadSummary100k(benchmark::State &state)
{
    BigRecord &record = bigRecord();
    for (auto _ : state) {
        const RecordSet set = RecordReader::readFolder(record.folder);
        const auto exercises = Summary::exercises(set.lines);
        benchmark::DoNotOptimize(Summary::wrongWords(exercises));
        benchmark::DoNotOptimize(Summary::pupils(set.lines));
        if (set.lines.size() != std::size_t(record.lines) || !set.notes.isEmpty())
            state.SkipWithError("the record did not read back whole");
    }
    state.counters["lines"] = record.lines;
}
BENCHMARK(BM_ReadSummary100k)->Unit(benchmark::kMillisecond);

// Opening the "Bilan des élèves" window over that record: reading, summary, table, chart.
void BM_OpenSummaryWindow100k(benchmark::State &state)
{
    BigRecord &record = bigRecord();
    RecordWriter writer(record.folder);
    SystemClock clock;
    QtFileChooser files;
    QtMessageBoxes messages;
    for (auto _ : state) {
        frmBilan window(writer, clock, files, messages);
        window.show();
        QCoreApplication::processEvents();
    }
    state.counters["lines"] = record.lines;
}
BENCHMARK(BM_OpenSummaryWindow100k)->Unit(benchmark::kMillisecond);
}

int main(int argc, char **argv)
{
    return runGuiBenchmarks(argc, argv);
}
