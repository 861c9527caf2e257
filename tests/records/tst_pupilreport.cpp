// The one-pupil report printed from "Bilan des élèves": what it says, read back from the PDF,
// and that it stays on its pages.
#include "classrecords.h"

#include "fakes/fakes.h"
#include "records/frmbilan.h"
#include "records/pupilreport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

namespace {
const QDate From(2026, 11, 2);
const QDate To(2026, 12, 10);

// The text of the PDF's pages, each as pdftotext lays it out.
QStringList pageTexts(const QString &pdf, int pages)
{
    QStringList texts;
    for (int page = 1; page <= pages; ++page) {
        QProcess extract;
        extract.start(QStringLiteral("pdftotext"),
                      {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                       QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                       QString::number(page), pdf, QStringLiteral("-")});
        extract.waitForFinished(60000);
        texts << QString::fromUtf8(extract.readAllStandardOutput());
    }
    return texts;
}

// Words of the PDF found outside the page less its 10 mm margins, as "word (x, y)".
QStringList wordsOutside(const QString &pdf)
{
    QProcess extract;
    extract.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    extract.waitForFinished(60000);
    const QString html = QString::fromUtf8(extract.readAllStandardOutput());
    static const QRegularExpression pageSize(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\""));
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)<"));
    const auto size = pageSize.match(html);
    if (!size.hasMatch())
        return {QStringLiteral("no page")};
    const qreal margin = 10 / 25.4 * 72 - 1; // points, less a point for the glyphs' own edges
    const QRectF inside(margin, margin, size.captured(1).toDouble() - 2 * margin,
                        size.captured(2).toDouble() - 2 * margin);
    QStringList outside;
    int words = 0;
    for (auto it = word.globalMatch(html); it.hasNext(); ++words) {
        const auto m = it.next();
        const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
        if (!inside.contains(box))
            outside << QStringLiteral("%1 (%2, %3)").arg(m.captured(5)).arg(box.x()).arg(box.y());
    }
    if (words == 0)
        outside << QStringLiteral("no word");
    return outside;
}
}

class TestPupilReport : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }
    void printedFromTheSummary();
    void longTableGoesOnOverPages();
};

// Léa's page: her name, the period, her marks and her misplaced words, the class average; none
// of Tom's exercises. With every pupil shown there is no report to print.
void TestPupilReport::printedFromTheSummary()
{
    TestEnv env;
    env.clock.current = QDateTime(To, QTime(16, 0));
    ClassRecords records{env.records};
    records.exercise(QStringLiteral("Léa"), QDateTime(From.addDays(-3), QTime(9, 0)), 3); // before the period
    records.exercise(QStringLiteral("Léa"), QDateTime(From, QTime(9, 0)), 11, 3);
    records.exercise(QStringLiteral("Tom"), QDateTime(From, QTime(10, 0)), 19, 1, QStringLiteral("lapin"));
    records.exercise(QStringLiteral("Léa"), QDateTime(From.addDays(7), QTime(9, 0)), 17, 1,
                     QStringLiteral("court"), QStringLiteral("dort"));
    records.exercise(QStringLiteral("Léa"), QDateTime(To, QTime(9, 0)), std::nullopt);

    frmBilan window(env.records, env.settings, env.clock, env.files, env.messages, env.printing);
    window.show();
    QVERIFY(QTest::qWaitFor([&window] { return !window.isReading(); }, 10000));
    auto *print = window.findChild<QPushButton *>(QStringLiteral("Imprimer"));
    auto *pupil = window.findChild<QComboBox *>(QStringLiteral("filtreEleve"));
    QVERIFY(print && pupil);
    QCOMPARE(pupil->currentText(), QStringLiteral("Tous les élèves"));
    QVERIFY(!print->isEnabled());
    QCOMPARE(print->toolTip(), QStringLiteral("Choisissez un élève dans « Afficher » pour imprimer son bilan."));

    pupil->setCurrentIndex(pupil->findData(QStringLiteral("Léa")));
    window.findChild<QDateEdit *>(QStringLiteral("du"))->setDate(From);
    window.findChild<QDateEdit *>(QStringLiteral("au"))->setDate(To);
    QVERIFY(print->isEnabled());
    QTemporaryDir dir;
    env.printing.pdfPath = dir.filePath(QStringLiteral("bilan.pdf"));
    QTest::mouseClick(print, Qt::LeftButton);
    QCOMPARE(env.printing.titles, QStringList{QStringLiteral("Imprimer le bilan de Léa")});
    QCOMPARE(env.printing.documentNames, QStringList{QStringLiteral("Bilan Léa 2026-11-02 au 2026-12-10")});
    QVERIFY(env.messages.shown.isEmpty());

    const QString text = pageTexts(env.printing.pdfPath, 1).first();
    const QString simple = text.simplified();
    for (const QString &expected :
         {QStringLiteral("Bilan de Léa"), QStringLiteral("Exercices du 02/11/2026 au 10/12/2026"),
          QStringLiteral("3 exercices, 3 phrases jouées"), QStringLiteral("moyenne 14 sur 20"),
          QStringLiteral("Notes de Léa"), QStringLiteral("Moyenne de la classe"),
          QStringLiteral("« chien » au lieu de « chat » : 3 fois"),
          QStringLiteral("« court » au lieu de « dort » : 1 fois"),
          QStringLiteral("02/11/2026 09:00"), QStringLiteral("09/11/2026 09:00"),
          QStringLiteral("10/12/2026 09:00"), QStringLiteral("non terminé"), QStringLiteral("Page 1 sur 1")})
        QVERIFY2(simple.contains(expected), qPrintable(expected + QStringLiteral(" not in:\n") + text));
    // The table's rows: date, sentences, mark, time, wrong drops, hints.
    QVERIFY2(simple.contains(QRegularExpression(QStringLiteral("02/11/2026 09:00 1 11 00:00:\\d\\d 3 0"))), qPrintable(text));
    QVERIFY2(simple.contains(QRegularExpression(QStringLiteral("09/11/2026 09:00 1 17 00:00:\\d\\d 1 0"))), qPrintable(text));
    for (const QString &absent : {QStringLiteral("Tom"), QStringLiteral("lapin"), QStringLiteral("30/10/2026")})
        QVERIFY2(!text.contains(absent), qPrintable(absent));
    QCOMPARE(wordsOutside(env.printing.pdfPath), QStringList());
}

// A year of exercises: the table goes on over the next pages, each with the pupil's name and
// its number, and nothing drawn leaves the page.
void TestPupilReport::longTableGoesOnOverPages()
{
    TestEnv env;
    ClassRecords records{env.records};
    const QString name = QStringLiteral("Marie-Amélie de La Tour d'Auvergne");
    for (int day = 0; day < 120; ++day) {
        records.exercise(name, QDateTime(From.addDays(day), QTime(9, 0)), day % 21, day % 4);
        records.exercise(QStringLiteral("Tom"), QDateTime(From.addDays(day), QTime(10, 0)), 20 - day % 21);
    }
    const std::vector<ExerciseSummary> all = env.records.summaryCache().read(env.records.folder()).exercises;
    PupilReport report(all, name, From, From.addDays(119));
    QCOMPARE(report.exerciseCount(), 120);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("annee.pdf"));
    {
        QPdfWriter pdf(path);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        pdf.setResolution(300);
        QVERIFY(report.paint(pdf));
        QVERIFY(QRectF(0, 0, pdf.width(), pdf.height()).contains(report.paintedBounds()));
    }
    const int pages = report.pageCount();
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    const QStringList texts = pageTexts(path, pages);
    int rows = 0;
    for (int page = 1; page <= pages; ++page) {
        const QString text = texts.at(page - 1).simplified();
        QVERIFY2(text.contains(QStringLiteral("Bilan de %1, exercices du 02/11/2026 au 01/03/2027").arg(name)),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Page %1 sur %2").arg(page).arg(pages)), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Note sur 20")));
        rows += int(text.count(QRegularExpression(QStringLiteral("\\d\\d/\\d\\d/20\\d\\d 09:00"))));
    }
    QCOMPARE(rows, 120);
    QCOMPARE(wordsOutside(path), QStringList());
}

QTEST_MAIN(TestPupilReport)
#include "tst_pupilreport.moc"
