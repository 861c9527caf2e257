// The word-bag exercise: a sentence start (reading a file of 129 sentences, cutting the chosen
// one into words, laying out its tiles; goal: one frame at 60 Hz, 16 ms) and one drop on the
// answer box with sound off (goal: 1 ms).
#include "guibenchmain.h"
#include "exercise/frmsac2mot.h"
#include "fakes/fakes.h"

#include "common/sentencefile.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {
QStringList classFile()
{
    const QStringList words{"Le", "petit", "chat", "dort", "près", "de", "la", "fenêtre",
                            "ouverte", "quand", "il", "fait", "beau", "et", "chaud."};
    QStringList sentences;
    for (int i = 0; i < 129; ++i)
        sentences << words.mid(0, 6 + i % 10).join(QLatin1Char(' '));
    return sentences;
}

void BM_SentenceStart(benchmark::State &state)
{
    TestEnv env;
    SentenceFile::write(env.programFolder + QStringLiteral("/plumalin.txt"), classFile());
    frmSac2Mot window(env.services);
    window.show();
    QApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        env.random.values.push_back((i++ % 129) / 129.0);
        window.Form_Load();
        benchmark::DoNotOptimize(env.state.NbMots);
    }
    if (window.phase() != frmSac2Mot::Phase::InPlay)
        state.SkipWithError("no sentence started");
}
BENCHMARK(BM_SentenceStart)->Unit(benchmark::kMillisecond);

// A wrong word and a right one in turn, so that every drop is judged and journaled; the
// sentence starts again, untimed, before its tiles run out.
void BM_DropOnAnswer(benchmark::State &state)
{
    TestEnv env;
    QStringList words;
    for (int i = 0; i < 120; ++i)
        words << QStringLiteral("mot%1").arg(i);
    SentenceFile::write(env.programFolder + QStringLiteral("/plumalin.txt"), {words.join(' ')});
    frmSac2Mot window(env.services);
    window.Form_Load();
    window.Form_Activate();
    int next = 0;
    bool wrong = true;
    for (auto _ : state) {
        if (next == 119) {
            state.PauseTiming();
            env.journal.Vider();
            window.Form_Load();
            next = 0;
            state.ResumeTiming();
        }
        if (wrong)
            window.TexteResultat_DragDrop(next + 1, 0, 0);
        else
            window.TexteResultat_DragDrop(next++, 0, 0);
        wrong = !wrong;
    }
    if (env.state.ErreursPhrase == 0)
        state.SkipWithError("no drop judged");
}
BENCHMARK(BM_DropOnAnswer)->Unit(benchmark::kMicrosecond);
}

int main(int argc, char **argv)
{
    return runGuiBenchmarks(argc, argv);
}
