// Draws the exercise window into a PNG, for checking the layout by eye:
//   QT_QPA_PLATFORM=offscreen exercise_screenshot exercice.png [scene [WIDTHxHEIGHT]]
// The scene is one of the moments below; "indice" (the default) is a sentence in progress with
// the blue hint. Every text the teacher says has its scene, so that each can be seen inside the
// speech bubble; the extent of the bubble's text is printed, in pixels of the window.
#include "exercise/frmsac2mot.h"
#include "exercise/wordtile.h"
#include "fakes/fakes.h"

#include "common/sentencefile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>

#include <cstdio>

namespace {
const QStringList Scenes{"bonjour", "bravo",      "incorrect",  "encore",  "continue",
                         "indice",  "sans-erreur", "une-erreur", "erreurs", "note",
                         "zero",    "temps",      "vide",      "long",       "relecture"};

// Drops the words of the sentence from `from` on, each followed by its word check.
void placeFrom(frmSac2Mot &window, int from)
{
    for (int i = from; i < 8; ++i) {
        window.TexteResultat_DragDrop(i, 0, 0);
        window.Timer_Timer(0);
    }
}
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString scene = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("indice");
    if (argc < 2 || !Scenes.contains(scene)) {
        std::fprintf(stderr, "usage: exercise_screenshot fichier.png [%s]\n",
                     qPrintable(Scenes.join('|')));
        return 2;
    }
    TestEnv env;
    SentenceFile::write(env.programFolder + "/plumalin.txt",
                        {"Le petit chat dort près de la fenêtre."});
    env.settings.SaveSetting(Settings::DureeMot, "0");
    // A word of 45 letters drawn at the far right of the scatter: it stays wholly on the scene.
    if (scene == QStringLiteral("long"))
        SentenceFile::write(env.programFolder + "/plumalin.txt",
                            {"Un intergouvernementalisationsanticonstitutionnels mot."});
    // 5 sentences; for the mark, an exercise of one sentence
    const bool mark = scene == QStringLiteral("note") || scene == QStringLiteral("zero");
    env.settings.SaveSetting(Settings::NbPhrases, mark ? "-1" : "0");
    // The sentence read back, its fourth word being heard (the test's voice: 100 ms a word).
    if (scene == QStringLiteral("relecture"))
        env.settings.SaveSetting(Settings::LectureVoixHaute, "1");
    if (scene == QStringLiteral("vide"))
        env.settings.SaveSetting(Settings::Fichier, "cours-moyen-premiere-annee.txt");
    // Sentence 0, then the tiles' places: a loose scatter over the free part of the scene.
    env.random.values = {0.0,  0.55, 0.80, 0.05, 0.10, 0.30, 0.45, 0.62, 0.05,
                         0.20, 0.95, 0.02, 0.55, 0.80, 0.35, 0.42, 0.90, 0.97};
    if (scene == QStringLiteral("long"))
        env.random.values = {0.0, 0.1, 0.1, 0.99, 0.99, 0.5, 0.5, 0.3, 0.8};
    frmSac2Mot window(env.settings, env.clock, env.random, env.journal, env.sound,
                      env.programFolder);
    window.Form_Load();
    window.Form_Activate();
    const int wrong = 4; // «près» before its turn
    if (scene == QStringLiteral("bravo")) {
        window.TexteResultat_DragDrop(0, 0, 0);
    } else if (scene == QStringLiteral("incorrect")) {
        window.TexteResultat_DragDrop(wrong, 0, 0);
    } else if (scene == QStringLiteral("encore")) {
        window.TexteResultat_DragDrop(wrong, 0, 0);
        window.Timer_Timer(1);
    } else if (scene == QStringLiteral("continue")) {
        window.TexteResultat_DragDrop(0, 0, 0);
        window.Timer_Timer(0);
    } else if (scene == QStringLiteral("indice")) {
        for (int i = 0; i < 3; ++i) {
            window.TexteResultat_DragDrop(i, 0, 0);
            window.Timer_Timer(0);
        }
        window.TexteResultat_DragDrop(wrong, 0, 0); // «de» too early: the teacher says so
        window.Timer_Timer(1);
        for (int i = 0; i <= 30; ++i)
            window.Timer_Timer(2); // and after a while shows the word expected next in blue
    } else if (scene == QStringLiteral("sans-erreur")) {
        placeFrom(window, 0);
    } else if (scene == QStringLiteral("une-erreur") || scene == QStringLiteral("erreurs")) {
        for (int e = scene == QStringLiteral("erreurs") ? 12 : 1; e > 0; --e)
            window.TexteResultat_DragDrop(wrong, 0, 0);
        placeFrom(window, 0);
    } else if (scene == QStringLiteral("note") || scene == QStringLiteral("zero")) {
        // A one-sentence exercise: 2 errors give 18, 7 give 20 - 24, below zero.
        for (int e = scene == QStringLiteral("note") ? 2 : 7; e > 0; --e)
            window.TexteResultat_DragDrop(wrong, 0, 0);
        placeFrom(window, 0);
    } else if (scene == QStringLiteral("relecture")) {
        placeFrom(window, 0);
        auto *box = window.findChild<QLabel *>(QStringLiteral("TexteResultat"));
        QElapsedTimer waited;
        waited.start();
        while (!box->text().contains(QStringLiteral(">dort</span>")) && waited.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    } else if (scene == QStringLiteral("temps")) {
        // Ticks of the sentence's clock until its time is up.
        for (int s = 0; window.phase() == frmSac2Mot::Phase::InPlay && s < 100000; ++s)
            window.Timer_Timer(frmSac2Mot::SentenceClock);
    }
    if (argc > 3) {
        const QStringList size = QString::fromLocal8Bit(argv[3]).split(QLatin1Char('x'));
        if (size.size() == 2)
            window.resize(size[0].toInt(), size[1].toInt());
    }
    window.show();
    QApplication::processEvents();
    const QRect bubble = window.findChild<QLabel *>(QStringLiteral("Message"))->geometry();
    std::printf("%s: texte de la bulle x %d..%d, y %d..%d\n", qPrintable(scene), bubble.left(),
                bubble.right(), bubble.top(), bubble.bottom());
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
