// Draws the exercise window into a PNG, for the README and for checking the layout by eye:
//   QT_QPA_PLATFORM=offscreen exercise_screenshot docs/exercice.png [indice|note|temps|vide]
// "indice" (the default) is a sentence in progress with the blue hint.
#include "exercise/frmsac2mot.h"
#include "exercise/wordtile.h"
#include "fakes/fakes.h"

#include "common/sentencefile.h"

#include <QApplication>
#include <QPixmap>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        qWarning("usage: exercise_screenshot fichier.png [indice|note|temps|vide]");
        return 2;
    }
    const QString scene = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("indice");
    TestEnv env;
    SentenceFile::write(env.programFolder + "/plumalin.txt",
                        {"Le petit chat dort près de la fenêtre."});
    env.settings.SaveSetting(Settings::DureeMot, "0");
    env.settings.SaveSetting(Settings::NbPhrases, "0");
    if (scene == QStringLiteral("vide"))
        env.settings.SaveSetting(Settings::Fichier, "cours-moyen-premiere-annee.txt");
    // Sentence 0, then the tiles' places: a loose scatter over the free part of the scene.
    env.random.values = {0.0,  0.55, 0.80, 0.05, 0.10, 0.30, 0.45, 0.62, 0.05,
                         0.20, 0.95, 0.02, 0.55, 0.80, 0.35, 0.42, 0.90, 0.97};
    frmSac2Mot window(env.services);
    window.Form_Load();
    window.Form_Activate();
    if (scene == QStringLiteral("indice")) {
        for (int i = 0; i < 3; ++i) {
            window.TexteResultat_DragDrop(i, 0, 0);
            window.Timer_Timer(0);
        }
        window.TexteResultat_DragDrop(4, 0, 0); // «de» too early: the teacher says so
        window.Timer_Timer(1);
        for (int i = 0; i <= 30; ++i)
            window.Timer_Timer(2); // and after a while shows the word expected next in blue
    } else if (scene == QStringLiteral("note")) {
        env.state.PhrasesRestantes = 1;
        env.state.TotalErreurs = 3;
        for (int i = 0; i < 8; ++i) {
            window.TexteResultat_DragDrop(i, 0, 0);
            window.Timer_Timer(0);
        }
    } else if (scene == QStringLiteral("temps")) {
        window.nTimerPhrase = 10000;
        window.Timer_Timer(3);
    }
    window.show();
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
