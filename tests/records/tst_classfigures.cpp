// The class's figures worked out from the records: each pupil's row and trend, the hardest
// sentences and who struggled with them, listens, and one exercise's lines read back.
#include "classfixture.h"

#include "records/classfigures.h"
#include "records/exercisereplay.h"
#include "records/recordreader.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
std::vector<ExerciseSummary> exercisesIn(const QString &folder)
{
    return Summary::exercises(RecordReader::readFolder(folder).lines);
}

QStringList names(const std::vector<PlayFigures> &figures)
{
    QStringList out;
    for (const PlayFigures &f : figures)
        out << f.name;
    return out;
}
}

class TestClassFigures : public QObject
{
    Q_OBJECT
private slots:
    void trend_data();
    void trend();
    void pupilsOfAClass();
    void hardestSentencesFirst();
    void replayedExercise();
};

void TestClassFigures::trend_data()
{
    QTest::addColumn<QList<int>>("marks");
    QTest::addColumn<Trend>("expected");
    QTest::newRow("none") << QList<int>{} << Trend::Unknown;
    QTest::newRow("two marks tell no trend") << QList<int>{8, 18} << Trend::Unknown;
    QTest::newRow("rising") << QList<int>{8, 10, 12, 14} << Trend::Up;
    QTest::newRow("falling") << QList<int>{18, 15, 12} << Trend::Down;
    QTest::newRow("two points up over the period") << QList<int>{10, 11, 12} << Trend::Up;
    QTest::newRow("swinging within two points") << QList<int>{12, 13, 12, 13, 12, 13} << Trend::Steady;
    QTest::newRow("one bad day in the middle") << QList<int>{15, 15, 4, 15, 15} << Trend::Steady;
    QTest::newRow("a bad end") << QList<int>{16, 16, 16, 16, 6} << Trend::Down;
    QTest::newRow("flat") << QList<int>{20, 20, 20} << Trend::Steady;
}

void TestClassFigures::trend()
{
    QFETCH(QList<int>, marks);
    QFETCH(Trend, expected);
    QCOMPARE(ClassFigures::trend(std::vector<int>(marks.begin(), marks.end())), expected);
}

void TestClassFigures::pupilsOfAClass()
{
    QTemporaryDir dir;
    ClassFixture c(dir.path());
    c.marks(QStringLiteral("Tom"), {9, 12, 15});
    c.marks(QStringLiteral("Léa"), {18, 17});
    // Léa leaves an exercise unfinished, after two sentences: counted, without a mark.
    c.exercise(QStringLiteral("Léa"), {{QStringLiteral("A.")}, {QStringLiteral("B.")}}, std::nullopt);
    c.marks(QString(), {10});
    c.marks(QStringLiteral("Zoé"), {14, 10, 6});

    const std::vector<PupilFigures> pupils = ClassFigures::pupils(exercisesIn(dir.path()));
    QStringList rows;
    for (const PupilFigures &p : pupils) {
        rows << QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
                    .arg(p.pupil)
                    .arg(p.exercises)
                    .arg(p.sentences)
                    .arg(p.average ? ClassFigures::mark(*p.average) : QStringLiteral("-"))
                    .arg(p.lastMark ? QString::number(*p.lastMark) : QStringLiteral("-"))
                    .arg(int(p.trend))
                    .arg(p.timeSpent)
                    .arg(p.lastDay.toString(Qt::ISODate));
    }
    // Alphabetical, the lines without a name last. Each exercise line is 5 s apart.
    QCOMPARE(rows, (QStringList{
                       "Léa|3|4|17,5|17|0|55|2026-12-12",
                       "Tom|3|3|12,0|15|3|45|2026-12-09",
                       "Zoé|3|3|10,0|6|1|45|2026-12-15",
                       "|1|1|10,0|10|0|15|2026-12-12",
                   }));
}

void TestClassFigures::hardestSentencesFirst()
{
    QTemporaryDir dir;
    ClassFixture c(dir.path());
    const QString easy = QStringLiteral("Le chat dort.");
    const QString slow = QStringLiteral("Le train part à midi.");
    const QString hard = QStringLiteral("Les enfants jouent dans la cour.");
    const QString heard = QStringLiteral("Il pleut.");
    c.exercise(QStringLiteral("Tom"), {{hard, 3}, {easy}, {slow, 1, 0, 0, true}}, 12);
    c.exercise(QStringLiteral("Léa"), {{hard, 1, 1, 2}, {easy, 0, 0, 1}, {slow, 1, 2}}, 16);
    // Listening again once the sentence is done still counts for it.
    c.writer.setPupil(QStringLiteral("Inès"));
    c.line(JournalEvent::of(EventKind::ExerciseStart));
    c.line(JournalEvent::of(EventKind::Listened), heard);
    c.line(JournalEvent::rightDrop(QStringLiteral("Il"), QStringLiteral("Il")), heard);
    c.line(JournalEvent::sentenceEnd(0), heard);
    c.line(JournalEvent::of(EventKind::Listened), heard);
    c.line(JournalEvent::mark(QStringLiteral("20")));
    // Left halfway: not a play of that sentence.
    c.exercise(QStringLiteral("Inès"), {{easy}}, std::nullopt);
    c.writer.setPupil(QStringLiteral("Inès"));
    c.line(JournalEvent::of(EventKind::ExerciseStart));
    c.line(JournalEvent::wrongDrop(QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("Le")), easy);
    c.line(JournalEvent::wrongDrop(QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("Le")), easy);
    c.line(JournalEvent::of(EventKind::ExerciseQuit));

    const std::vector<ExerciseSummary> exercises = exercisesIn(dir.path());
    QCOMPARE(exercises.size(), std::size_t(5));
    // Listens, per exercise.
    QCOMPARE(exercises[0].listens, 0);
    QCOMPARE(exercises[1].listens, 3);
    QCOMPARE(exercises[2].listens, 2);

    // Two wrong drops a time for the hard one, one for the slow one; the heard one and the easy
    // one make none, and listens set them apart.
    const std::vector<PlayFigures> sentences = ClassFigures::hardSentences(exercises);
    QCOMPARE(names(sentences), (QStringList{hard, slow, heard, easy}));
    const PlayFigures &h = sentences[0];
    QCOMPARE(h.played, 2);
    QCOMPARE(h.wrongDrops, 4);
    QCOMPARE(h.hints, 1);
    QCOMPARE(h.listens, 2);
    QCOMPARE(sentences[1].timedOut, 1);
    QCOMPARE(sentences[1].hints, 2);
    QCOMPARE(sentences[2].listens, 2);
    QCOMPARE(sentences[3].played, 3);
    QCOMPARE(sentences[3].wrongDrops, 0);

    const std::vector<PlayFigures> who = ClassFigures::struggled(exercises, hard);
    QCOMPARE(names(who), (QStringList{QStringLiteral("Tom"), QStringLiteral("Léa")}));
    QCOMPARE(who[0].wrongDrops, 3);
    QVERIFY(ClassFigures::struggled(exercises, QStringLiteral("Inconnue.")).empty());
}

void TestClassFigures::replayedExercise()
{
    QTemporaryDir dir;
    // Two computers write in one folder at the same time; the first exercise's lines cross a
    // day's end.
    ClassFixture one(dir.path(), QStringLiteral("salle1"));
    ClassFixture two(dir.path(), QStringLiteral("salle2"));
    one.clock.current = two.clock.current = QDateTime(QDate(2026, 12, 7), QTime(23, 59, 50));
    one.writer.setPupil(QStringLiteral("Tom"));
    two.writer.setPupil(QStringLiteral("Léa"));
    const QString sentence = QStringLiteral("Le chat dort.");
    one.line(JournalEvent::of(EventKind::ExerciseStart));
    two.line(JournalEvent::of(EventKind::ExerciseStart));
    one.line(JournalEvent::wrongDrop(QStringLiteral("chat"), QStringLiteral("chat"), QStringLiteral("Le")), sentence);
    two.line(JournalEvent::rightDrop(QStringLiteral("Le"), QStringLiteral("Le")), sentence);
    one.line(JournalEvent::rightDrop(QStringLiteral("Le"), QStringLiteral("Le")), sentence);
    one.line(JournalEvent::sentenceEnd(1), sentence);
    one.line(JournalEvent::mark(QStringLiteral("16")));
    // After the mark, still numbered with the exercise, but not of it.
    one.line(JournalEvent::of(EventKind::ConsultSummary));

    const std::vector<ExerciseSummary> exercises = exercisesIn(dir.path());
    const auto tom = std::find_if(exercises.begin(), exercises.end(),
                                  [](const ExerciseSummary &e) { return e.pupil == QStringLiteral("Tom"); });
    QVERIFY(tom != exercises.end());
    const std::vector<ReplayLine> lines = ExerciseReplay::lines(dir.path(), *tom);
    QStringList texts;
    QList<bool> red;
    for (const ReplayLine &l : lines) {
        texts << l.text;
        red << l.red;
    }
    QCOMPARE(texts, (QStringList{QStringLiteral("Debut de l'exercice."), QStringLiteral("chat"), QStringLiteral("Le"),
                                 QStringLiteral("L'élève a fait une erreur."),
                                 QStringLiteral("L'élève a une note de 16/20")}));
    QCOMPARE(red, (QList<bool>{false, true, false, false, false}));
    QVERIFY(std::is_sorted(lines.begin(), lines.end(),
                           [](const ReplayLine &a, const ReplayLine &b) { return a.when < b.when; }));
    QCOMPARE(lines[1].duration, QStringLiteral("00:00:05"));
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*salle1*")}).size(), 2);
}

QTEST_GUILESS_MAIN(TestClassFigures)
#include "tst_classfigures.moc"
