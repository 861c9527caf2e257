// Draws the "Bilan des élèves" window over a term of a class of 28 into a PNG, for the README
// and for checking by eye:
//   xvfb-run -a -s "-screen 0 1024x768x24" class_screenshot docs/bilan-640x480.png 640 480 [onglet] [élève]
// `onglet` is the tab's number (0 the pupils, 1 the exercises, …); `élève` is chosen in the
// pupils' table (the chart then draws that pupil over the class's average). With `rejeu` or
// `difficile` in place of the tab, Entrée on the first exercise or the hardest sentence draws
// the window that opens.
#include "classyear.h"
#include "fakes/fakes.h"
#include "records/frmbilan.h"

#include <QApplication>
#include <QComboBox>
#include <QPixmap>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: class_screenshot fichier.png largeur hauteur [onglet] [élève]\n");
        return 2;
    }
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    TestEnv env;
    env.clock.current = QDateTime(QDate(2026, 12, 10), QTime(16, 30));
    ClassYear year;
    year.days = 72;
    year.perDay = 1;
    year.write(env.records.folder());
    env.records.setPupil(QStringLiteral("Léa"));

    frmBilan window(env.records, env.settings, env.clock, env.files, env.messages, env.printing);
    window.show();
    window.resize(atoi(argv[2]), atoi(argv[3]));
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "window not exposed\n");
    if (!QTest::qWaitFor([&window] { return !window.isReading(); }, 20000))
        std::fprintf(stderr, "records not read\n");
    const QString mode = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("onglets"));
    if (mode == QStringLiteral("rejeu") || mode == QStringLiteral("difficile")) {
        const bool replay = mode == QStringLiteral("rejeu");
        auto *table = window.findChild<QTableView *>(replay ? QStringLiteral("exercices") : QStringLiteral("phrasesDifficiles"));
        tabs->setCurrentWidget(table);
        table->setFocus();
        table->setCurrentIndex(table->model()->index(0, 0));
        QTest::keyClick(table, Qt::Key_Return);
        QWidget *dialog = window.findChild<QWidget *>(replay ? QStringLiteral("revoirExercice") : QStringLiteral("quiAEuDuMal"));
        QTest::qWait(300);
        const QPixmap shot = dialog->grab();
        shot.save(QString::fromLocal8Bit(argv[1]));
        std::printf("%d x %d\n", shot.width(), shot.height());
        return 0;
    }
    if (!mode.isEmpty())
        tabs->setCurrentIndex(mode.toInt());
    if (argc > 5) {
        auto *pupils = window.findChild<QTableView *>(QStringLiteral("eleves"));
        const QString wanted = QString::fromLocal8Bit(argv[5]);
        for (int r = 0; r < pupils->model()->rowCount(); ++r) {
            if (pupils->model()->index(r, 0).data().toString() == wanted)
                pupils->setCurrentIndex(pupils->model()->index(r, 0));
        }
    }
    QTest::qWait(300);
    const QPixmap shot = window.grab();
    if (!shot.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%d x %d\n", shot.width(), shot.height());
    return 0;
}
