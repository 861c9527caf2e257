// The sentence editor with the longest list it was ever meant to hold (32,767 sentences):
// loading a file into its table, saving the table, and the file reader alone for comparison;
// and the table's repaint with one very long sentence.
#include "guibenchmain.h"
#include "common/sentencefile.h"
#include "editor/frmphrases.h"
#include "editor/sentencetablemodel.h"
#include "fakes/fakes.h"

#include <QApplication>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {
constexpr int Records = 32767;

// A file as a teacher's list would look, with accents and commas, in a folder of its own.
struct BigList {
    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/grande liste.txt");
    QString savePath = dir.path() + QStringLiteral("/copie.txt");

    BigList()
    {
        QStringList sentences;
        sentences.reserve(Records);
        for (int i = 0; i < Records; ++i)
            sentences << QStringLiteral("Phrase %1 : l'élève range ses cahiers, puis il sort "
                                        "jouer dans la cour de l'école.")
                             .arg(i + 1);
        SentenceFile::write(path, sentences);
    }
};

BigList &bigList()
{
    static BigList list;
    return list;
}

// An editor window on screen, as the teacher has it open.
struct OpenEditor {
    TestEnv env;
    std::unique_ptr<frmPhrases> window;

    OpenEditor()
    {
        window = std::make_unique<frmPhrases>(env.journal, env.files, env.messages, env.printing);
        window->show();
        QCoreApplication::processEvents();
    }
};

void BM_SentenceFileRead(benchmark::State &state)
{
    const QString path = bigList().path;
    for (auto _ : state) {
        auto sentences = SentenceFile::read(path);
        benchmark::DoNotOptimize(sentences);
    }
    state.counters["records"] = Records;
}
BENCHMARK(BM_SentenceFileRead)->Unit(benchmark::kMillisecond);

// ChargeGrille, then the events it leaves (the table's layout and painting) processed.
void BM_EditorLoad(benchmark::State &state)
{
    OpenEditor editor;
    const QString path = bigList().path;
    for (auto _ : state) {
        state.PauseTiming();
        editor.window->model().setSentences({});
        QCoreApplication::processEvents();
        state.ResumeTiming();
        editor.window->ChargeGrille(path);
        QCoreApplication::processEvents();
    }
    if (editor.window->model().rowCount() != Records)
        state.SkipWithError("the list was not loaded whole");
}
BENCHMARK(BM_EditorLoad)->Unit(benchmark::kMillisecond);

void BM_EditorSave(benchmark::State &state)
{
    OpenEditor editor;
    editor.window->ChargeGrille(bigList().path);
    QCoreApplication::processEvents();
    const QString path = bigList().savePath;
    for (auto _ : state) {
        if (!editor.window->SauveGrille(path))
            state.SkipWithError("the save failed");
    }
}
BENCHMARK(BM_EditorSave)->Unit(benchmark::kMillisecond);

// One repaint of the table while it shows a sentence of 20 MB between two short ones
// (goal: under 50 ms).
void BM_RepaintWithLongRecord(benchmark::State &state)
{
    OpenEditor editor;
    const QString record = QStringLiteral("Le chat dort. ").repeated(1'500'000);
    editor.window->model().setSentences({QStringLiteral("Court."), record, QStringLiteral("Court.")});
    auto *grid = editor.window->findChild<QTableView *>();
    QCoreApplication::processEvents();
    for (auto _ : state)
        grid->viewport()->repaint();
    state.counters["record_MB"] = double(record.size()) / 1e6;
}
BENCHMARK(BM_RepaintWithLongRecord)->Unit(benchmark::kMillisecond);
}

int main(int argc, char **argv)
{
    return runGuiBenchmarks(argc, argv);
}
