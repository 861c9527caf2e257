// Plays a week of exercises for three pupils through the real main window and exercise, then
// draws the "Bilan des élèves" window into a PNG, for the README and for checking by eye:
//   xvfb-run -a -s "-screen 0 1024x768x24" records_screenshot docs/bilan.png [largeur hauteur]
#include "exercise/frmsac2mot.h"
#include "exercise/sentencelist.h"
#include "fakes/fakes.h"
#include "records/frmbilan.h"
#include "shell/frmmain.h"

#include "common/sentencefile.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTest>

#include <cstdio>

namespace {
const QStringList Sentences{QStringLiteral("Le chat dort sur le lit."),
                            QStringLiteral("Ma sœur lit un livre."),
                            QStringLiteral("Nous allons à la plage.")};

// One exercise of five sentences; `wrongs` lists, sentence by sentence, the wrong drops made
// before the first word (each drops the tile one place too far). `hint` lets the blue word
// come on the third sentence.
void play(TestEnv &env, frmMain &main, const QList<int> &wrongs, bool hint)
{
    env.clock.advance(60);
    main.mnuSac2Mot_Click();
    auto *exercise = qobject_cast<frmSac2Mot *>(main.exerciseWindow()->widget());
    // Without a window manager the inner window may never become active: activate it by hand.
    if (!QTest::qWaitFor([exercise] { return exercise->session().countStarted(); }, 500))
        exercise->Form_Activate();
    for (int s = 0; s < 5; ++s) {
        if (s > 0) {
            env.random.values.push_back((s % 3 + 0.5) / 3);
            exercise->Nouveau_Click();
        }
        const int words = exercise->session().deck().lastWord();
        if (hint && s == 2) {
            for (int t = 0; t < 31; ++t) {
                env.clock.advance(1);
                exercise->Timer_Timer(2);
            }
        }
        for (int w = 0; w < wrongs.value(s); ++w) {
            env.clock.advance(5);
            exercise->TexteResultat_DragDrop((w % (words - 1)) + 1, 0, 0);
            exercise->Timer_Timer(1);
        }
        for (int w = 0; w < words; ++w) {
            env.clock.advance(4 + (w * 7 + s) % 5);
            exercise->TexteResultat_DragDrop(w, 0, 0);
            exercise->Timer_Timer(0);
        }
    }
    exercise->Quitter_Click();
    QTest::qWait(10);
}
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: records_screenshot fichier.png [largeur hauteur]\n");
        return 2;
    }
    const QSize size = argc > 3 ? QSize(atoi(argv[2]), atoi(argv[3])) : QSize(900, 620);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    TestEnv env;
    SentenceFile::write(env.programFolder + QStringLiteral("/plumalin.txt"), Sentences);
    env.settings.SaveSetting(Settings::NbPhrases, QStringLiteral("0"));
    env.settings.SaveSetting(Settings::DureeMot, QStringLiteral("0"));
    env.records.setSentenceFileSource([&env] { return sentenceFileName(env.settings); });
    env.random.fallback = 0.2;
    frmMain main(env.services);
    main.setEndProgram([] {});
    main.MDIForm_Load(QRect(0, 0, 1024, 768));
    main.show();

    const QStringList pupils{QStringLiteral("Léa"), QStringLiteral("Tom"), QStringLiteral("Inès")};
    const QList<QList<int>> errors{{1, 0, 2, 0, 1}, {2, 3, 1, 2, 0}, {0, 1, 0, 0, 0}};
    for (int day = 0; day < 4; ++day) {
        env.clock.current = QDateTime(QDate(2026, 12, 7 + day), QTime(9, 15));
        for (int p = 0; p < pupils.size(); ++p) {
            env.records.setPupil(pupils.at(p));
            QList<int> wrongs = errors.at(p);
            // Each pupil makes fewer mistakes as the week goes on.
            for (int &w : wrongs)
                w = std::max(0, w - day / 2);
            play(env, main, wrongs, p == 1 && day < 2);
            env.clock.advance(20 * 60);
        }
    }
    env.records.setPupil(QStringLiteral("Tom"));

    main.mnuBilan_Click();
    QWidget *summary = main.summaryWindow();
    summary->resize(size);
    if (!QTest::qWaitForWindowExposed(summary))
        std::fprintf(stderr, "summary window not exposed\n");
    auto *bilan = qobject_cast<frmBilan *>(summary);
    if (bilan && !QTest::qWaitFor([bilan] { return !bilan->isReading(); }, 20000))
        std::fprintf(stderr, "records not read\n");
    QTest::qWait(300);
    const QPixmap shot = summary->grab();
    if (!shot.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%d x %d\n", shot.width(), shot.height());
    main.close();
    return 0;
}
