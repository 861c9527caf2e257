// Not a test: a class of 28 over a term, then one pupil's printed report as a PDF and the
// "Élèves" dialog as a PNG, for the README and for checking by eye:
//   classlist_screenshot rapport.pdf eleves.png [largeur hauteur]
//   pdftoppm -png -r 80 -singlefile rapport.pdf docs/bilan-rapport
#include "classrecords.h"

#include "fakes/fakes.h"
#include "records/frmbilan.h"
#include "records/frmeleves.h"
#include "records/pupilreport.h"

#include <QApplication>
#include <QPdfWriter>
#include <QPixmap>
#include <QTableView>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "classlist_screenshot rapport.pdf eleves.png [largeur hauteur]\n");
        return 2;
    }
    const QStringList names{
        QStringLiteral("Adam"),    QStringLiteral("Alice"),   QStringLiteral("Ambre"),  QStringLiteral("Arthur"),
        QStringLiteral("Chloé"),   QStringLiteral("Élise"),   QStringLiteral("Emma"),   QStringLiteral("Gabriel"),
        QStringLiteral("Hugo"),    QStringLiteral("Inès"),    QStringLiteral("Jade"),   QStringLiteral("Jules"),
        QStringLiteral("Léa"),     QStringLiteral("Lea"),     QStringLiteral("Léo"),    QStringLiteral("Louise"),
        QStringLiteral("Lucas"),   QStringLiteral("Maël"),    QStringLiteral("Manon"),  QStringLiteral("Nathan"),
        QStringLiteral("Noah"),    QStringLiteral("Nour"),    QStringLiteral("Paul"),   QStringLiteral("Raphaël"),
        QStringLiteral("Rose"),    QStringLiteral("Sacha"),   QStringLiteral("Tom"),    QStringLiteral("Zoé")};
    const QStringList dropped{QStringLiteral("chien"), QStringLiteral("court"), QStringLiteral("les"),
                              QStringLiteral("mange")};
    const QStringList wanted{QStringLiteral("chat"), QStringLiteral("dort"), QStringLiteral("la"),
                             QStringLiteral("boit")};
    TestEnv env;
    ClassRecords records{env.records};
    const QDate first(2026, 9, 1);
    for (int day = 0, school = 0; school < 60; ++day) {
        const QDate date = first.addDays(day);
        if (date.dayOfWeek() == 3 || date.dayOfWeek() > 5)
            continue;
        ++school;
        for (int p = 0; p < names.size(); ++p) {
            // "Lea" is "Léa" typed without the accent, on a few days.
            if ((p == 13) != (school % 9 == 4))
                continue;
            const int pupil = p == 13 ? 12 : p;
            for (int e = 0; e < 2; ++e) {
                const int base = 8 + pupil % 9 + school / 12;
                const int mark = std::clamp(base + (school * 7 + e * 3 + pupil) % 7 - 3, 0, 20);
                const int w = (school + e + pupil) % 4;
                records.exercise(names.at(p), QDateTime(date, QTime(9 + e, pupil * 2)),
                                 (school + pupil) % 17 == 5 ? std::nullopt : std::optional<int>(mark),
                                 (20 - mark) / 4, dropped.at(w), wanted.at(w));
            }
        }
    }
    const std::vector<ExerciseSummary> all = env.records.summaryCache().read(env.records.folder()).exercises;
    PupilReport report(all, QStringLiteral("Léa"), first, QDate(2026, 11, 27));
    {
        QPdfWriter pdf(QString::fromLocal8Bit(argv[1]));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        pdf.setResolution(300);
        if (!report.paint(pdf))
            return 1;
    }
    std::printf("%d pages\n", report.pageCount());

    frmEleves dialog(env.records, env.messages);
    const int width = argc > 4 ? std::atoi(argv[3]) : 640;
    const int height = argc > 4 ? std::atoi(argv[4]) : 480;
    dialog.resize(width, height);
    dialog.show();
    dialog.choosePupil(QStringLiteral("Lea"));
    QApplication::processEvents();
    return dialog.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
