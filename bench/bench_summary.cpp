// The "Bilan des élèves" window over a school year of a class (28 pupils, 160 days, 3
// exercises a day each, with hard sentences, listens and marks that drift): switching the
// window from "Tous les élèves" to one pupil and back, tables, chart and all, as the teacher
// does it; and reading back one exercise's lines to replay it.
#include "guibenchmain.h"
#include "records/classyear.h"

#include "common/settingsstore.h"
#include "platform/clock.h"
#include "platform/qtfilechooser.h"
#include "platform/qtmessageboxes.h"
#include "platform/printingmodule.h"
#include "records/exercisereplay.h"
#include "records/frmbilan.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
struct Year {
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("Journaux"));
    ClassYear year;

    Year() { year.write(folder); }
};

Year &schoolYear()
{
    static Year year;
    return year;
}

struct OpenWindow {
    RecordWriter writer{schoolYear().folder, QStringLiteral("classe-1")};
    SystemClock clock;
    QtFileChooser files;
    QtMessageBoxes messages;
    ModulePrintDialog printing;
    QTemporaryDir settingsDir;
    SettingsStore settings{settingsDir.path()};
    frmBilan window{writer, settings, clock, files, messages, printing};
    QComboBox *filter = window.findChild<QComboBox *>(QStringLiteral("filtreEleve"));

    OpenWindow()
    {
        window.resize(1024, 740);
        window.show();
        // The records are read away from the window.
        waitUntil([this] { return !window.isReading(); });
    }

    void choose(int index)
    {
        filter->setCurrentIndex(index);
        // Until the window is drawn again.
        QCoreApplication::processEvents();
    }
};

// One direction timed, the other one made untimed between iterations.
void switchPupil(benchmark::State &state, bool toPupil)
{
    OpenWindow open;
    if (open.filter->count() < 2) {
        state.SkipWithError("no pupil in the records");
        return;
    }
    int pupil = 1;
    for (auto _ : state) {
        state.PauseTiming();
        pupil = pupil % (open.filter->count() - 1) + 1;
        if (!toPupil)
            open.choose(pupil);
        state.ResumeTiming();
        open.choose(toPupil ? pupil : 0);
        state.PauseTiming();
        if (toPupil)
            open.choose(0);
        state.ResumeTiming();
    }
    state.counters["lines"] = double(schoolYear().year.lines);
}

void BM_SwitchToOnePupil(benchmark::State &state)
{
    switchPupil(state, true);
}
BENCHMARK(BM_SwitchToOnePupil)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SwitchBackToTheClass(benchmark::State &state)
{
    switchPupil(state, false);
}
BENCHMARK(BM_SwitchBackToTheClass)->Unit(benchmark::kMillisecond)->Iterations(10);

// Double-click on an exercise of the year's middle: its lines read back from the folder.
void BM_ReplayOneExercise(benchmark::State &state)
{
    Year &year = schoolYear();
    RecordWriter writer(year.folder, QStringLiteral("classe-1"));
    const SummaryCache::Result read = writer.summaryCache().read(year.folder);
    const ExerciseSummary &e = read.exercises[read.exercises.size() / 2];
    for (auto _ : state) {
        const std::vector<ReplayLine> lines = ExerciseReplay::lines(year.folder, e);
        if (lines.empty())
            state.SkipWithError("no lines read back");
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(BM_ReplayOneExercise)->Unit(benchmark::kMillisecond);
}

int main(int argc, char **argv)
{
    return runGuiBenchmarks(argc, argv);
}
