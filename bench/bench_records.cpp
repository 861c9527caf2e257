// The records on disk: what writing each journal line to the day's file adds to a line, and
// opening the summary window over a school year of records (28 pupils, 160 days, 3 exercises a
// day each), with the memory it takes at its peak and keeps after it is closed.
#include "guibenchmain.h"
#include "schoolyear.h"
#include "common/settingsstore.h"
#include "journal/journal.h"
#include "platform/clock.h"
#include "platform/qtfilechooser.h"
#include "platform/qtmessageboxes.h"
#include "platform/printingmodule.h"
#include "records/frmbilan.h"
#include "records/recordreader.h"
#include "records/recordwriter.h"
#include "records/summary.h"
#include "records/summarycache.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
constexpr int Lines = 100000;

void reportTimePerLine(benchmark::State &state, int lines = Lines)
{
    state.counters["per_line"] = benchmark::Counter(double(state.iterations()) * lines,
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

// Peak resident memory of the process since the last reset, in bytes.
qint64 peakBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return 0;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// Lines come far faster here than from a pupil: the disk is waited for after each batch, out of
// the time measured, since its work is done on the writer's thread and is not the window's
// cost, and so that the lines handed over never reach the limit kept for a silent server.
constexpr int Batch = 10000;

void waitForTheDisk(benchmark::State &state, RecordWriter &records)
{
    state.PauseTiming();
    records.flush(60000);
    state.ResumeTiming();
}

// The journal's own cost, on the real clock; with and without the records behind it. The
// difference is what recording adds to a line.
void journalLines(benchmark::State &state, bool recorded)
{
    QTemporaryDir dir;
    SystemClock clock;
    RecordWriter records(dir.filePath(QStringLiteral("Journaux")), QStringLiteral("salle1"));
    records.setPupil(QStringLiteral("Léa"));
    Journal journal(clock);
    if (recorded)
        journal.setListener(&records);
    journal.ensureCreated();
    const QStringList texts = lineTexts();
    for (auto _ : state) {
        for (int i = 0; i < Lines; ++i) {
            journal.record(i % 7 != 0 ? JournalEvent::rightDrop(texts.at(i), QStringLiteral("tapis"))
                                      : JournalEvent::wrongDrop(texts.at(i), QStringLiteral("tapis"),
                                                                QStringLiteral("sur")));
            if (recorded && (i + 1) % Batch == 0)
                waitForTheDisk(state, records);
        }
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

// The record writer alone, as the journal calls it: the row, handed to the writer's thread
// (which checks the file and appends it meanwhile).
void BM_RecordLine(benchmark::State &state)
{
    QTemporaryDir dir;
    RecordWriter records(dir.path(), QStringLiteral("salle1"));
    records.setPupil(QStringLiteral("Léa"));
    const QStringList texts = lineTexts();
    JournalEntry entry;
    entry.duration = QStringLiteral("00:00:03");
    entry.runId = QStringLiteral("k3j5h2");
    entry.exercise = 3;
    for (auto _ : state) {
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        for (int i = 0; i < Lines; ++i) {
            entry.number = i + 2;
            entry.stampSecs = now + i / 10;
            entry.runMs = i * 100;
            entry.event = JournalEvent::rightDrop(texts.at(i), QStringLiteral("tapis"));
            entry.event.sentence = QStringLiteral("Le petit chat dort sur le tapis.");
            records.lineAdded(entry);
            if ((i + 1) % Batch == 0)
                waitForTheDisk(state, records);
        }
    }
    if (!records.failure().isEmpty())
        state.SkipWithError(qPrintable(records.failure()));
    reportTimePerLine(state);
}
BENCHMARK(BM_RecordLine)->Unit(benchmark::kMillisecond);

SchoolYear &schoolYear()
{
    static SchoolYear year;
    return year;
}

// Reading the records and working out the summary, without the window.
void BM_ReadSummaryYear(benchmark::State &state)
{
    SchoolYear &year = schoolYear();
    for (auto _ : state) {
        SummaryBuilder builder;
        const QStringList notes = RecordReader::readFolder(year.folder, [&builder](const RecordLine &l) { builder.add(l); }, true);
        const auto exercises = builder.exercises();
        benchmark::DoNotOptimize(Summary::wrongWords(exercises));
        if (exercises.size() != 28 * 160 * 3 || !notes.isEmpty())
            state.SkipWithError("the records did not read back whole");
    }
    state.counters["lines"] = double(year.lines);
    state.counters["MB"] = double(year.bytes) / 1e6;
}
BENCHMARK(BM_ReadSummaryYear)->Unit(benchmark::kMillisecond);

// What the window reads of that year at its first opening, the window aside: every file read
// (on every core) into its exercises, then merged.
void BM_SummaryCacheYear(benchmark::State &state)
{
    SchoolYear &year = schoolYear();
    const qint64 before = residentBytes();
    resetPeak();
    qint64 peak = 0;
    for (auto _ : state) {
        SummaryCache cache;
        const SummaryCache::Result result = cache.read(year.folder);
        if (result.exercises.size() != 28 * 160 * 3 || !result.notes.isEmpty())
            state.SkipWithError("the records did not read back whole");
        state.PauseTiming();
        peak = std::max(peak, peakBytes());
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = double(peak - before) / 1e6;
}
BENCHMARK(BM_SummaryCacheYear)->Unit(benchmark::kMillisecond)->Iterations(1);

// Opening the "Bilan des élèves" window over that year, from the menu to the filled table:
// reading, summary, table, chart; then closing it. The first opening reads every file; the
// next ones only the files that changed.
void openSummaryWindow(benchmark::State &state, bool again)
{
    SchoolYear &year = schoolYear();
    // The writer keeps the summary's cache for the next opening.
    auto records = std::make_unique<RecordWriter>(year.folder, QStringLiteral("classe-1"));
    RecordWriter &writer = *records;
    SystemClock clock;
    QtFileChooser files;
    QtMessageBoxes messages;
    ModulePrintDialog printing;
    QTemporaryDir settingsDir;
    SettingsStore settings(settingsDir.path());
    if (again) {
        frmBilan window(writer, settings, clock, files, messages, printing);
        window.show();
        waitUntil([&window] { return !window.isReading(); });
    }
    const qint64 before = residentBytes();
    resetPeak();
    qint64 peak = 0;
    for (auto _ : state) {
        auto window = std::make_unique<frmBilan>(writer, settings, clock, files, messages, printing);
        window->show();
        // The records are read away from the window; the table is filled and drawn once they are.
        if (!waitUntil([&window] { return !window->isReading(); }))
            state.SkipWithError("the records were not read");
        state.PauseTiming();
        peak = std::max(peak, peakBytes());
        window.reset();
        QCoreApplication::processEvents();
        releaseFreedMemory(); // as the main window does when the summary closes
        state.ResumeTiming();
    }
    state.counters["lines"] = double(year.lines);
    state.counters["peak_MB"] = double(peak - before) / 1e6;
    state.counters["kept_MB"] = double(residentBytes() - before) / 1e6;
    // What stays once the cache goes too: what the first opening set up for good.
    records.reset();
    releaseFreedMemory();
    state.counters["kept_without_cache_MB"] = double(residentBytes() - before) / 1e6;
}

void BM_OpenSummaryWindowYear(benchmark::State &state)
{
    openSummaryWindow(state, false);
}
BENCHMARK(BM_OpenSummaryWindowYear)->Unit(benchmark::kMillisecond)->Iterations(1);

// Opened again, nothing changed on the disk: no file is read.
void BM_ReopenSummaryWindowYear(benchmark::State &state)
{
    openSummaryWindow(state, true);
}
BENCHMARK(BM_ReopenSummaryWindowYear)->Unit(benchmark::kMillisecond)->Iterations(3);
}

int main(int argc, char **argv)
{
    return runGuiBenchmarks(argc, argv);
}
