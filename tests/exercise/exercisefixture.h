#pragma once
// A word-bag exercise over the fakes: the test chooses the sentences, which one is played and
// where its tiles land, ticks the clocks itself and drags tiles with real mouse events.
#include "exercise/exerciserules.h"
#include "exercise/frmsac2mot.h"
#include "exercise/sentencelist.h"
#include "exercise/svgpicture.h"
#include "exercise/wordtile.h"
#include "fakes/fakes.h"
#include "fakes/windowchecks.h"

#include "common/sentencefile.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

// The exercise window over the test's services.
inline frmSac2Mot *newExercise(TestEnv &env)
{
    return new frmSac2Mot(env.settings, env.clock, env.random, env.journal, env.sound,
                          env.programFolder);
}

// Tile Mot(i) of the window, found by its name.
inline WordTile *tileAt(frmSac2Mot &window, int i)
{
    return control<WordTile>(&window, qPrintable(QStringLiteral("Mot%1").arg(i)));
}

inline QLabel *label(frmSac2Mot &window, const char *name)
{
    return control<QLabel>(&window, name);
}
inline QPushButton *button(frmSac2Mot &window, const char *name)
{
    return control<QPushButton>(&window, name);
}

struct ExerciseFixture {
    TestEnv env;
    QStringList sentences;
    std::unique_ptr<frmSac2Mot> window;

    explicit ExerciseFixture(const QStringList &file)
        : sentences(file)
    {
        SentenceFile::write(env.programFolder + QStringLiteral("/plumalin.txt"), file);
    }

    // The draws of the next sentence start: sentence `index` of the file, then its tiles on a
    // grid of four columns 100 pixels apart and rows 40 pixels apart, tile 0 at the top left
    // (room for every tile of a short sentence: none is drawn again).
    void queueStart(int index)
    {
        env.random.values.push_back((index + 0.5) / sentences.size());
        const int tiles = int(splitWords(sentences[index]).size());
        for (int i = 0; i < tiles; ++i) {
            env.random.values.push_back((i % 4) * 0.25);
            env.random.values.push_back((i / 4) / 3.0);
        }
    }

    // Creates the window on sentence `index`. Shown: through the toolkit (first showing loads
    // it, activation greets). Not shown: through the handlers.
    frmSac2Mot &open(int index = 0, bool show = false)
    {
        queueStart(index);
        window.reset(newExercise(env));
        if (show) {
            window->show();
            if (!QTest::qWaitForWindowExposed(window.get()))
                qWarning("exercise window not exposed");
            if (!QTest::qWaitFor([this] { return window->session().sentencesPerExercise() > 0; }, 5000))
                qWarning("exercise window not activated");
        } else {
            window->Form_Load();
            window->Form_Activate();
        }
        return *window;
    }

    frmSac2Mot &w() { return *window; }
    WordTile *tile(int i) { return tileAt(*window, i); }
    template <typename T = QWidget> T *named(const char *name) { return control<T>(window, name); }
    ExerciseSession &session() { return window->session(); }

    // The index of the visible tile carrying `word` (the first one), -1 if none.
    int tileOf(const QString &word)
    {
        for (int i = 0; i <= window->session().deck().lastWord(); ++i) {
            if (!tile(i)->isHidden() && tile(i)->word() == word)
                return i;
        }
        return -1;
    }

    // A tick of a running clock, as the toolkit would deliver it; false when it is stopped.
    bool tick(int index)
    {
        if (!window->session().isRunning(index))
            return false;
        window->Timer_Timer(index);
        return true;
    }

    bool timerOn(int index) { return window->session().isRunning(index); }

    QString answer() { return named<QLabel>("TexteResultat")->text(); }

    const std::vector<JournalLine> &lines() { return env.journal.model().lines(); }
    QString lastLine() { return lines().back().text; }
    bool lastLineRed() { return lines().back().red; }
    int lineCount() { return int(lines().size()); }

    // Real mouse events through the window: press on the tile at `grab` (tile coordinates,
    // its centre by default), move in steps over `via` points, release at `to` (window
    // coordinates).
    void drag(int index, QPoint to, QPoint grab = QPoint(-1, -1), const QList<QPoint> &via = {})
    {
        QWindow *handle = window->windowHandle();
        WordTile *t = tile(index);
        const QPoint from = t->mapTo(window.get(), grab.x() < 0 ? t->rect().center() : grab);
        QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, from);
        QPoint last = from;
        for (const QPoint &point : via + QList<QPoint>{to}) {
            for (int step = 1; step <= 3; ++step)
                QTest::mouseMove(handle, last + (point - last) * step / 3);
            last = point;
        }
        QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, to);
    }

    QPoint answerBox() { return named("TexteResultat")->geometry().center(); }

    // Ticks the running clock `index` (the hint's or the sentence's) until its seconds pass
    // their limit, from wherever they stand, or it stops; false when it was not running.
    bool runOut(int index)
    {
        const double limit = index == frmSac2Mot::HintClock
                                 ? ExerciseRules::wordLimitSeconds(env.settings)
                                 : ExerciseRules::sentenceLimitSeconds(env.settings);
        if (!timerOn(index))
            return false;
        for (int s = 0; s <= int(limit) && tick(index); ++s) {
        }
        return true;
    }

    void dragToAnswer(int index) { drag(index, answerBox()); }

    void click(QWidget *button)
    {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          button->mapTo(window.get(), button->rect().center()));
    }

    // Drops, with the mouse or through the handler, each word of the sentence in order, ticking
    // the word check after each one.
    void placeAll(bool mouse)
    {
        const QStringList words =
            ExerciseRules::playedSentence(window->session().deck().currentSentence())
                .split(QLatin1Char(' '));
        for (const QString &word : words) {
            const int i = tileOf(word);
            QVERIFY2(i >= 0, qPrintable(word));
            if (mouse)
                dragToAnswer(i);
            else
                window->TexteResultat_DragDrop(i, 0, 0);
            QVERIFY(tick(0));
        }
    }

    // A wrong word: a visible tile whose word is not the one expected next.
    int wrongTile()
    {
        const QString expected = ExerciseRules::expectedNextWord(
            answer(), window->session().deck().currentSentence());
        for (int i = 0; i <= window->session().deck().lastWord(); ++i) {
            if (!tile(i)->isHidden() && !tile(i)->word().isEmpty() && tile(i)->word() != expected)
                return i;
        }
        return -1;
    }
};
