// Opening and closing the exercise window from the main window's menu, many times over, as a
// class does all day: the memory a cycle keeps (resident memory after the allocator has given
// back what it can), with the journal's own lines counted apart.
#include "guibenchmain.h"
#include "fakes/fakes.h"
#include "shell/frmmain.h"

#include "common/sentencefile.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

namespace {
qint64 settledResidentBytes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    malloc_trim(0);
    return residentBytes();
}

void openAndClose(frmMain &main, QMdiArea *area)
{
    main.mnuSac2Mot_Click();
    QApplication::processEvents();
    if (QMdiSubWindow *inner = area->activeSubWindow())
        inner->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

void BM_ExerciseOpenClose(benchmark::State &state)
{
    // PLUMALIN_OPEN_CYCLES changes the count, so that two runs under a heap profiler can be
    // compared: what grows with the count is what a cycle keeps.
    const int Cycles = qEnvironmentVariableIsSet("PLUMALIN_OPEN_CYCLES")
                           ? qMax(1, qEnvironmentVariableIntValue("PLUMALIN_OPEN_CYCLES"))
                           : 1000;
    TestEnv env;
    SentenceFile::write(env.programFolder + QStringLiteral("/plumalin.txt"),
                        {QStringLiteral("Le chat dort."), QStringLiteral("Il pleut, il mouille.")});
    frmMain main(env.services);
    main.MDIForm_Load(QRect(0, 0, 1024, 768));
    main.show();
    auto *area = main.findChild<QMdiArea *>();
    if (!area) {
        state.SkipWithError("no inner area");
        return;
    }
    // Warm-up: caches of fonts, styles and pictures are filled by the first openings.
    for (int i = 0; i < 50; ++i)
        openAndClose(main, area);
    double perThousand = 0;
    double heapPerThousand = 0;
    double journalPerThousand = 0;
    for (auto _ : state) {
        const qint64 before = settledResidentBytes();
        const qint64 heapBefore = qint64(mallinfo2().uordblks);
        const int linesBefore = env.journal.Rows();
        for (int i = 0; i < Cycles; ++i) {
            openAndClose(main, area);
            // The test's list of every sound asked for is the test's own memory.
            env.heard.clear();
            if (env.soundOutput)
                env.soundOutput->started.clear();
        }
        const qint64 after = settledResidentBytes();
        perThousand = double(after - before) * 1000.0 / Cycles;
        heapPerThousand = double(qint64(mallinfo2().uordblks) - heapBefore) * 1000.0 / Cycles;
        // The journal keeps every line for the run by design: what as many lines again cost,
        // written the same way, is the journal's own share.
        state.PauseTiming();
        const int lines = env.journal.Rows() - linesBefore;
        const qint64 heapBeforeLines = qint64(mallinfo2().uordblks);
        for (int i = 0; i < lines; ++i)
            env.journal.AjoutProgress(QStringLiteral("Debut de l'exercice."), true);
        journalPerThousand =
            double(qint64(mallinfo2().uordblks) - heapBeforeLines) * 1000.0 / Cycles;
        state.ResumeTiming();
    }
    state.counters["resident_KB_per_1000_cycles"] = perThousand / 1024.0;
    state.counters["heap_in_use_KB_per_1000_cycles"] = heapPerThousand / 1024.0;
    state.counters["of_which_journal_KB"] = journalPerThousand / 1024.0;
}
BENCHMARK(BM_ExerciseOpenClose)->Iterations(1)->Unit(benchmark::kMillisecond);
}

int main(int argc, char **argv)
{
    return runGuiBenchmarks(argc, argv);
}
