// The word-bag exercise, with the scene drawn at scale 1 and at 2.3 (a maximised window on a
// 1920 x 1080 screen): a sentence start (reading a file of 129 sentences, cutting the chosen
// one into words, scattering its tiles without overlaps; goal: one frame at 60 Hz, 16 ms), one
// drop on the answer box with sound off (goal: 1 ms), and the exercise resized from a 640 x 480
// main window's inner area to a 1920 x 1080 one and drawn again (goal: 16 ms), and what one step
// of a dragged word repaints.
#include "guibenchmain.h"
#include "exercise/frmsac2mot.h"
#include "fakes/fakes.h"

#include "common/sentencefile.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

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

// The window at the scale given in hundredths.
void atScale(frmSac2Mot &window, const benchmark::State &state)
{
    window.resize((QSizeF(SceneScale::designSize()) * (state.range(0) / 100.0)).toSize());
    window.show();
    QApplication::processEvents();
}

void BM_SentenceStart(benchmark::State &state)
{
    TestEnv env;
    SentenceFile::write(env.programFolder + QStringLiteral("/plumalin.txt"), classFile());
    frmSac2Mot window(env.settings, env.clock, env.random, env.journal, env.sound,
                      env.programFolder);
    atScale(window, state);
    QRandomGenerator random(1);
    int i = 0;
    for (auto _ : state) {
        // The draws of this start: the sentence, then plenty for the tiles' places.
        state.PauseTiming();
        env.random.values.clear();
        env.random.values.push_back((i++ % 129) / 129.0);
        for (int draw = 0; draw < 4000; ++draw)
            env.random.values.push_back(random.generateDouble());
        state.ResumeTiming();
        window.Form_Load();
        benchmark::DoNotOptimize(window.session().deck().lastWord());
    }
    if (window.phase() != frmSac2Mot::Phase::InPlay)
        state.SkipWithError("no sentence started");
}
BENCHMARK(BM_SentenceStart)->Arg(100)->Arg(230)->Unit(benchmark::kMillisecond);

// A wrong word and a right one in turn, so that every drop is judged and journaled; the
// sentence starts again, untimed, before its tiles run out.
void BM_DropOnAnswer(benchmark::State &state)
{
    TestEnv env;
    QStringList words;
    for (int i = 0; i < 120; ++i)
        words << QStringLiteral("mot%1").arg(i);
    SentenceFile::write(env.programFolder + QStringLiteral("/plumalin.txt"), {words.join(' ')});
    frmSac2Mot window(env.settings, env.clock, env.random, env.journal, env.sound,
                      env.programFolder);
    atScale(window, state);
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
    if (window.session().sentenceErrors() == 0)
        state.SkipWithError("no drop judged");
}
BENCHMARK(BM_DropOnAnswer)->Arg(100)->Arg(230)->Unit(benchmark::kMicrosecond);

// From the inner area of a 640 x 480 main window to that of a maximised 1920 x 1080 one, then
// the whole window drawn (the scene's picture is drawn again at the new size).
void BM_ResizeAndDraw(benchmark::State &state)
{
    TestEnv env;
    SentenceFile::write(env.programFolder + QStringLiteral("/plumalin.txt"), classFile());
    frmSac2Mot window(env.settings, env.clock, env.random, env.journal, env.sound,
                      env.programFolder);
    window.resize(632, 415);
    window.show();
    window.Form_Load();
    QApplication::processEvents();
    QImage small(632, 415, QImage::Format_ARGB32_Premultiplied);
    QImage large(1920, 1010, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        state.PauseTiming();
        window.resize(632, 415);
        window.render(&small);
        state.ResumeTiming();
        window.resize(1920, 1010);
        window.render(&large);
    }
    if (window.sceneScale().factor() < 2.2)
        state.SkipWithError("not resized");
}
BENCHMARK(BM_ResizeAndDraw)->Unit(benchmark::kMillisecond);

// What one step of a dragged word repaints: a word's outline, left where it was and drawn
// where it goes, over the classroom (goal: well under a frame at 60 Hz).
void BM_DragStep(benchmark::State &state)
{
    TestEnv env;
    SentenceFile::write(env.programFolder + QStringLiteral("/plumalin.txt"), classFile());
    frmSac2Mot window(env.settings, env.clock, env.random, env.journal, env.sound,
                      env.programFolder);
    atScale(window, state);
    window.Form_Load();
    QApplication::processEvents();
    QImage screen(window.size(), QImage::Format_ARGB32_Premultiplied);
    const QSize word = (QSizeF(90, 26) * (state.range(0) / 100.0)).toSize();
    const int across = window.width() - word.width() - 12;
    int x = 0;
    for (auto _ : state) {
        const QRect was(QPoint(x % across, window.height() / 2), word);
        x += 6;
        const QRect now(QPoint(x % across, window.height() / 2 + 3), word);
        window.render(&screen, QPoint(), QRegion(was) + now);
    }
}
BENCHMARK(BM_DragStep)->Arg(100)->Arg(230)->Unit(benchmark::kMicrosecond);
}

int main(int argc, char **argv)
{
    return runGuiBenchmarks(argc, argv);
}
