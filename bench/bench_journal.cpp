// The journal over a long class session: appending, clearing and the memory a line costs,
// with its window created (hidden), as the exercise leaves it.
#include "guibenchmain.h"
#include "journal/journal.h"
#include "journal/journalmodel.h"
#include "platform/clock.h"
#include "platform/qtfilechooser.h"
#include "platform/qtmessageboxes.h"

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <ctime>
#include <malloc.h>
#include <unistd.h>

namespace {
constexpr int Lines = 100000;

QString lineText(int i)
{
    return QStringLiteral("Le petit chat dort sur le tapis %1").arg(i);
}

// A journal as the program has it, on the real clock; its dialogs are never opened here.
struct Session {
    SystemClock clock;
    Journal journal{clock};
};

void reportTimePerLine(benchmark::State &state)
{
    state.counters["per_line"] = benchmark::Counter(double(state.iterations()) * Lines,
                                                    benchmark::Counter::kIsRate
                                                        | benchmark::Counter::kInvert);
}

// Run first, in a process that has not yet held a long journal, so that freed memory kept by
// the allocator does not hide the cost.
void BM_MemoryPerLine(benchmark::State &state)
{
    Session session;
    Journal &journal = session.journal;
    journal.ensureCreated();
    double perLine = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const qint64 before = residentBytes();
        for (int i = 0; i < Lines; ++i)
            journal.AjoutProgress(lineText(i), i % 7 != 0);
        const qint64 after = residentBytes();
        perLine = double(after - before) / Lines;
        state.PauseTiming();
        journal.Vider();
        state.ResumeTiming();
    }
    state.counters["bytes_per_line"] = perLine;
}
BENCHMARK(BM_MemoryPerLine)->Iterations(1)->Unit(benchmark::kMillisecond);

// The usual desktop sets no time zone variable (the system's zone file counts); some sessions
// set TZ. Both must stay fast.
void BM_AjoutProgress(benchmark::State &state, const char *timeZone)
{
    const char *outer = std::getenv("TZ");
    const QByteArray saved = outer ? QByteArray(outer) : QByteArray();
    auto setZone = [](const char *zone) {
        if (zone)
            ::setenv("TZ", zone, 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    };
    setZone(timeZone);
    Session session;
    Journal &journal = session.journal;
    journal.ensureCreated();
    QStringList texts;
    for (int i = 0; i < Lines; ++i)
        texts << lineText(i);
    for (auto _ : state) {
        for (int i = 0; i < Lines; ++i)
            journal.AjoutProgress(texts.at(i), i % 7 != 0);
        state.PauseTiming();
        journal.Vider();
        state.ResumeTiming();
    }
    reportTimePerLine(state);
    setZone(outer ? saved.constData() : nullptr);
}
BENCHMARK_CAPTURE(BM_AjoutProgress, no_time_zone_variable, nullptr)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AjoutProgress, TZ_Europe_Paris, "Europe/Paris")->Unit(benchmark::kMillisecond);

void BM_SetProgress(benchmark::State &state)
{
    Session session;
    Journal &journal = session.journal;
    journal.ensureCreated();
    const QString text = QStringLiteral("La temporisation du mot bleu fixée à 10 secondes est dépassée.");
    for (auto _ : state) {
        for (int i = 0; i < Lines; ++i)
            journal.SetProgress(text, QString(), false);
        state.PauseTiming();
        journal.Vider();
        state.ResumeTiming();
    }
    reportTimePerLine(state);
}
BENCHMARK(BM_SetProgress)->Unit(benchmark::kMillisecond);

void BM_Vider(benchmark::State &state)
{
    Session session;
    Journal &journal = session.journal;
    journal.ensureCreated();
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < Lines; ++i)
            journal.AjoutProgress(lineText(i), true);
        state.ResumeTiming();
        journal.Vider();
    }
}
BENCHMARK(BM_Vider)->Unit(benchmark::kMillisecond)->Iterations(10);

// The export of a long journal, from the model to the bytes of the file.
void BM_Csv(benchmark::State &state)
{
    Session session;
    Journal &journal = session.journal;
    for (int i = 0; i < Lines; ++i)
        journal.AjoutProgress(lineText(i), true);
    for (auto _ : state)
        benchmark::DoNotOptimize(journal.model().toCsv());
}
BENCHMARK(BM_Csv)->Unit(benchmark::kMillisecond)->Iterations(3);
}

int main(int argc, char **argv)
{
    return runGuiBenchmarks(argc, argv);
}
