// The records without any window: writing journal lines to the day's file, reading record
// files back, and the summary of the exercises they hold.
#include "recordfixtures.h"

#include "records/recordreader.h"
#include "records/recordwriter.h"
#include "records/summary.h"
#include "records/summarymodels.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
qint64 at(int day, int hour, int minute, int second)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, second)).toSecsSinceEpoch();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Each exercise of the table as "date|pupil|file|played|wrong|hints|timed out|mark|time".
QStringList tableRows(const std::vector<ExerciseSummary> &exercises)
{
    ExerciseTableModel model;
    model.setExercises(exercises);
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < ExerciseTableModel::ColumnCount; ++c)
            cells.append(model.cellText(r, c));
        rows.append(cells.join(QLatin1Char('|')));
    }
    return rows;
}

// "dropped>expected×count", the most frequent first.
QStringList wordRows(const std::vector<ExerciseSummary> &exercises)
{
    QStringList rows;
    for (const WrongWordCount &w : Summary::wrongWords(exercises))
        rows.append(QStringLiteral("%1>%2×%3").arg(w.dropped, w.expected).arg(w.count));
    return rows;
}
}

class TestRecords : public QObject
{
    Q_OBJECT
private slots:
    void linesReachTheFileInOrder();
    void eachDayHasItsFile();
    void fileOfAnotherFormIsLeftAlone();
    void lineCutShortStaysAlone();
    void failureIsToldOnce_data();
    void failureIsToldOnce();
    void abruptEndLosesNoWholeLine();

    void summaryOfFixtures_data();
    void summaryOfFixtures();
    void oldFormReadsAsBefore();
    void filterByPupilAndPeriod();
    void tableExportsAsCsv();
};

void TestRecords::linesReachTheFileInOrder()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Plumalin/Journaux"));
    {
        RecordWriter writer(folder);
        QString told;
        writer.setSentenceFileSource([] { return QStringLiteral("animaux.txt"); });
        writer.lineAdded(1, at(10, 9, 0, 0), QStringLiteral("Lancement du programme"), QString(), false);
        writer.setPupil(QStringLiteral("  Léa\nMartin "));
        writer.lineAdded(2, at(10, 9, 0, 5), QStringLiteral("Debut de l'exercice."), QStringLiteral("00:00:05"), false);
        writer.lineAdded(3, at(10, 9, 0, 59), QStringLiteral("Le; \"chat\"\r\ndort"), QString(), true);
        QVERIFY(writer.failure().isEmpty());
    }
    // A second run the same day adds to the same file.
    RecordWriter again(folder);
    again.lineAdded(1, at(10, 9, 1, 0), QStringLiteral("Lancement du programme"), QString(), false);

    const QStringList files = QDir(folder).entryList(QDir::Files);
    QCOMPARE(files, QStringList{QStringLiteral("journal-2026-12-10.csv")});
    const QByteArray bytes = fileBytes(QDir(folder).filePath(files.first()));
    QVERIFY(bytes.startsWith(RecordFormat::headerBytes()));
    QCOMPARE(bytes.count(RecordFormat::headerBytes()), 1);
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(bytes.contains("2;2026-12-10 09:00:05;Debut de l'exercice.;00:00:05;non;Léa Martin;animaux.txt\r\n"));

    const RecordSet set = RecordReader::readFolder(folder);
    QVERIFY2(set.notes.isEmpty(), qPrintable(set.notes.join(QLatin1Char('\n'))));
    QCOMPARE(set.lines.size(), std::size_t(4));
    QStringList texts;
    for (const RecordLine &line : set.lines)
        texts.append(line.text);
    QCOMPARE(texts, (QStringList{QStringLiteral("Lancement du programme"), QStringLiteral("Debut de l'exercice."),
                                 QStringLiteral("Le; \"chat\"\r\ndort"), QStringLiteral("Lancement du programme")}));
    QCOMPARE(set.lines[0].pupil, QString());
    QCOMPARE(set.lines[2].pupil, QStringLiteral("Léa Martin"));
    QVERIFY(set.lines[2].red && !set.lines[1].red);
    QCOMPARE(set.lines[1].sentenceFile, QStringLiteral("animaux.txt"));
    QCOMPARE(set.lines[2].sentenceFile, QString());
    QCOMPARE(RecordFormat::toDateTime(set.lines[2].when), QDateTime(QDate(2026, 12, 10), QTime(9, 0, 59)));
}

void TestRecords::eachDayHasItsFile()
{
    QTemporaryDir dir;
    RecordWriter writer(dir.path());
    writer.lineAdded(2, at(10, 23, 59, 59), QStringLiteral("Le"), QString(), false);
    writer.lineAdded(3, at(11, 0, 0, 1), QStringLiteral("Le chat"), QString(), false);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             (QStringList{QStringLiteral("journal-2026-12-10.csv"), QStringLiteral("journal-2026-12-11.csv")}));
    const RecordSet set = RecordReader::readFolder(dir.path());
    QCOMPARE(set.lines.size(), std::size_t(2));
    QCOMPARE(set.lines[1].text, QStringLiteral("Le chat"));
}

void TestRecords::fileOfAnotherFormIsLeftAlone()
{
    QTemporaryDir dir;
    const QString foreign = dir.filePath(QStringLiteral("journal-2026-12-10.csv"));
    const QByteArray teacherNotes = "Notes de la maîtresse\r\nLéa lit bien.\r\n";
    writeFile(foreign, teacherNotes);
    RecordWriter writer(dir.path());
    writer.lineAdded(2, at(10, 9, 0, 0), QStringLiteral("Le"), QString(), false);
    QVERIFY(writer.failure().isEmpty());
    QCOMPARE(fileBytes(foreign), teacherNotes);
    QCOMPARE(writer.currentFile(), dir.filePath(QStringLiteral("journal-2026-12-10-2.csv")));

    const RecordSet set = RecordReader::readFolder(dir.path());
    QCOMPARE(set.lines.size(), std::size_t(1));
    QCOMPARE(set.notes, QStringList{QStringLiteral("« journal-2026-12-10.csv » n'est pas un journal de "
                                                   "Plumalin : fichier ignoré.")});
}

void TestRecords::lineCutShortStaysAlone()
{
    // A disk that filled up in the middle of a line left half of it.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal-2026-12-10.csv"));
    writeFile(path, recordBytes({{QStringLiteral("2026-12-10 09:00:00"), QStringLiteral("Le"), false, {}, {}}}) + "3;2026-12-10 09:0");
    RecordWriter writer(dir.path());
    writer.lineAdded(4, at(10, 9, 1, 0), QStringLiteral("Le chat"), QString(), false);
    const RecordSet set = RecordReader::readFolder(dir.path());
    QCOMPARE(set.lines.size(), std::size_t(2));
    QCOMPARE(set.lines[1].text, QStringLiteral("Le chat"));
    QCOMPARE(set.notes, QStringList{QStringLiteral("« journal-2026-12-10.csv » : une ligne illisible ignorée.")});
}

void TestRecords::failureIsToldOnce_data()
{
    QTest::addColumn<QString>("folder");
    // A file stands where the folder should be; no folder at all.
    QTest::newRow("file in the way") << QStringLiteral("occupé/Journaux");
    QTest::newRow("no folder") << QString();
}

void TestRecords::failureIsToldOnce()
{
    QFETCH(QString, folder);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("occupé")), "x");
    RecordWriter writer(folder.isEmpty() ? folder : dir.filePath(folder));
    QStringList told;
    writer.setFailureHandler([&told](const QString &text) { told.append(text); });
    for (int n = 1; n <= 3; ++n)
        writer.lineAdded(n, at(10, 9, 0, n), QStringLiteral("Le"), QString(), false);
    QCOMPARE(told.size(), 1);
    QCOMPARE(writer.failure(), told.first());
    QVERIFY(told.first().startsWith(QStringLiteral("Le journal n'a pas pu être enregistré")));
}

void TestRecords::abruptEndLosesNoWholeLine()
{
    QTemporaryDir dir;
    QProcess child;
    child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/records_child"), {dir.path()});
    QVERIFY(child.waitForStarted());
    QVERIFY(child.waitForReadyRead(10000));
    QTest::qWait(50);
    child.kill();
    QVERIFY(child.waitForFinished());

    const RecordSet set = RecordReader::readFolder(dir.path());
    // Everything written reads back; at most the line being written is missing.
    QVERIFY2(set.notes.isEmpty(), qPrintable(set.notes.join(QLatin1Char('\n'))));
    QVERIFY(set.lines.size() >= 100);
    for (std::size_t i = 0; i < set.lines.size(); ++i) {
        QCOMPARE(set.lines[i].text, QStringLiteral("Le chat; \"dort\" %1").arg(i + 1));
        QCOMPARE(set.lines[i].red, (i + 1) % 3 == 0);
    }
}

void TestRecords::summaryOfFixtures_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("notes");

    const auto line = [](const QString &time, const QString &text, bool red = false,
                         const QString &pupil = QStringLiteral("Léa"), const QString &file = {}) {
        return FixtureLine{QStringLiteral("2026-12-10 ") + time, text, red, pupil, file};
    };
    const QString start = QStringLiteral("Debut de l'exercice.");
    const QString phrases = QStringLiteral("phrases.txt");

    QTest::newRow("one exercise")
        << recordBytes({line("08:59:00", "Lancement du programme", false, {}),
                        line("09:00:00", start, false, "Léa", phrases),
                        line("09:00:10", "Le"),
                        line("09:00:15", "Déplacement du mot ' chat '."),
                        line("09:00:20", "Le dort.", true),
                        line("09:00:30", "Le chat"),
                        line("09:00:40", "Le chat dort."),
                        line("09:00:41", "L'élève a fait une erreur."),
                        line("09:00:41", "L'élève a une note de 19/20"),
                        line("09:00:50", "Fin de l'exercice avec le bouton 'QUITTER'")})
        << QStringList{"10/12/2026 09:00|Léa|phrases.txt|1|1|0|0|19|00:00:41"}
        << QStringList{"dort.>chat×1"} << QStringList();

    QTest::newRow("two pupils")
        << recordBytes({line("09:00:00", start, false, "Léa", phrases),
                        line("09:00:10", "Le chien", true),
                        line("09:00:20", "Le"),
                        line("09:00:25", "Le chien", true),
                        line("09:00:30", "Le chat"),
                        line("09:00:41", "L'élève a fait 2 erreurs."),
                        line("09:00:41", "L'élève a une note de Zéro."),
                        line("10:00:00", start, false, "Tom", phrases),
                        line("10:00:10", "Un"),
                        line("10:00:20", "Un chien", true, "Tom"),
                        line("10:00:30", "Un chat", false, "Tom"),
                        line("10:00:35", "L'élève n'a fait aucune erreur.", false, "Tom"),
                        line("10:01:00", "Un chat dort.", true, "Tom"),
                        line("10:01:05", "Un chat joue", false, "Tom"),
                        line("10:01:06", "L'élève a fait une erreur.", false, "Tom"),
                        line("10:01:06", "L'élève a une note de 20/20", false, "Tom")})
        << QStringList{"10/12/2026 09:00|Léa|phrases.txt|1|2|0|0|0|00:00:41",
                       "10/12/2026 10:00|Tom|phrases.txt|2|2|0|0|20|00:01:06"}
        << QStringList{"chien>chat×2", "chien>Le×1", "dort.>joue×1"}
        << QStringList();

    QTest::newRow("sentence out of time, then a hint")
        << recordBytes({line("09:00:00", start, false, "Léa", phrases),
                        line("09:00:10", "Le"),
                        line("09:00:20", "Le dort.", true),
                        line("09:12:01", "Temporisation de la phrase fixée à 12 minutes dépassée.", true),
                        line("09:13:00", "La temporisation du mot bleu fixée à 30 secondes est dépassée.", true),
                        line("09:13:00", "Le mot bleu est ' Un '.", true),
                        line("09:13:10", "chat", true),
                        line("09:20:00", "Temporisation de la phrase fixée à 12 minutes dépassée.", true),
                        line("09:20:05", "Fin de l'exercice avec le bouton 'QUITTER'")})
        << QStringList{"10/12/2026 09:00|Léa|phrases.txt|2|2|1|2||00:20:05"}
        << QStringList{"chat>Un×1", "dort.>×1"} << QStringList();

    // The program ended in the middle of an exercise; the teacher's commands are no answers.
    QTest::newRow("unfinished, teacher's lines between")
        << recordBytes({line("09:00:00", start, false, "Léa", phrases),
                        line("09:00:05", "Consultation de la progression"),
                        line("09:00:06", "Consultation du bilan des élèves"),
                        line("09:00:07", "Editer - Charger les phrases (Fichier:/tmp/a.txt)"),
                        line("09:00:10", "Le"),
                        line("09:30:00", "Lancement du programme", false, {}),
                        line("09:30:10", "Le chat")})
        << QStringList{"10/12/2026 09:00|Léa|phrases.txt|0|0|0|0||00:00:10"} << QStringList() << QStringList();

    QByteArray damaged = recordBytes({line("09:00:00", start, false, "Léa", phrases),
                                      line("09:00:10", "Le")});
    damaged += "3;10/12/2026 09:00:20;Le dort.;;oui;Léa;\r\n" // a date in another form
               "4;2026-12-10 09:00:30;Le chat\r\n"            // fields missing
               "\r\n"
               "5;2026-12-10 09:00:40;Le chat dort.;;peut-être;Léa;\r\n"
               "6;2026-12-10 09:00:41;L'élève a une note de 20/20;;non;Léa;\r\n";
    QTest::newRow("damaged lines")
        << damaged << QStringList{"10/12/2026 09:00|Léa|phrases.txt|0|0|0|0|20|00:00:41"} << QStringList()
        << QStringList{"« journal-2026-12-10.csv » : 3 lignes illisibles ignorées."};

    QTest::newRow("journal export, another form")
        << QByteArray("\xEF\xBB\xBFN°;Date;Progression de l'exercice;Durée\r\n1;10/12/2026 09:00:00;Debut de l'exercice.;\r\n")
        << QStringList() << QStringList()
        << QStringList{"« journal-2026-12-10.csv » n'est pas un journal de Plumalin : fichier ignoré."};

    QTest::newRow("unclosed quote at the end")
        << recordBytes({line("09:00:00", start, false, "Léa", phrases)}) + "2;2026-12-10 09:00:10;\"Le chat"
        << QStringList{"10/12/2026 09:00|Léa|phrases.txt|0|0|0|0||00:00:00"} << QStringList()
        << QStringList{"« journal-2026-12-10.csv » : une ligne illisible ignorée."};
}

void TestRecords::summaryOfFixtures()
{
    QFETCH(QByteArray, record);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, words);
    QFETCH(QStringList, notes);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("journal-2026-12-10.csv")), record);
    const RecordSet set = RecordReader::readFolder(dir.path());
    QCOMPARE(set.notes, notes);
    const std::vector<ExerciseSummary> exercises = Summary::exercises(set.lines);
    QCOMPARE(tableRows(exercises), rows);
    QCOMPARE(wordRows(exercises), words);
}

void TestRecords::oldFormReadsAsBefore()
{
    // Written by the record writer of the first form (text, colour, pupil, sentence file):
    // an exercise with a hint and a sentence out of time, one ended at zero, one shown twice,
    // one cut by the next start of the program.
    const RecordSet set = RecordReader::readFolder(QStringLiteral(RECORD_DATA "/old-form"));
    QVERIFY2(set.notes.isEmpty(), qPrintable(set.notes.join(QLatin1Char('\n'))));
    const std::vector<ExerciseSummary> exercises = Summary::exercises(set.lines);
    QCOMPARE(tableRows(exercises),
             (QStringList{"10/12/2026 08:55|Léa|animaux.txt|3|2|1|1|19|00:11:21",
                          "10/12/2026 09:07|Tom|animaux.txt|1|1|0|0|0|00:00:17",
                          "10/12/2026 09:09|Tom|animaux.txt|0|0|0|0||00:00:00",
                          "10/12/2026 09:09|Tom|animaux.txt|0|1|0|0||00:00:10",
                          "10/12/2026 09:11||animaux.txt|0|0|0|0||00:00:05"}));
    QCOMPARE(wordRows(exercises),
             (QStringList{"\"chat\">Le×1", "chien>×1", "dort.>chat×1", "oiseau>Un×1"}));
    QCOMPARE(Summary::pupils(set.lines), (QStringList{QStringLiteral("Léa"), QStringLiteral("Tom")}));
}

void TestRecords::filterByPupilAndPeriod()
{
    QTemporaryDir dir;
    const auto exercise = [](const QString &day, const QString &pupil, int mark) {
        return QList<FixtureLine>{
            {day + QStringLiteral(" 09:00:00"), QStringLiteral("Debut de l'exercice."), false, pupil, {}},
            {day + QStringLiteral(" 09:05:00"), QStringLiteral("L'élève a une note de %1/20").arg(mark), false, pupil, {}}};
    };
    writeFile(dir.filePath(QStringLiteral("journal-2026-12-09.csv")),
              recordBytes(exercise(QStringLiteral("2026-12-09"), QStringLiteral("Tom"), 12)
                          + exercise(QStringLiteral("2026-12-09"), QString(), 8)));
    writeFile(dir.filePath(QStringLiteral("journal-2026-12-10.csv")),
              recordBytes(exercise(QStringLiteral("2026-12-10"), QStringLiteral("Léa"), 18)
                          + exercise(QStringLiteral("2026-12-10"), QStringLiteral("Tom"), 14)));
    const RecordSet set = RecordReader::readFolder(dir.path());
    QCOMPARE(Summary::pupils(set.lines), (QStringList{QStringLiteral("Léa"), QStringLiteral("Tom")}));
    const auto all = Summary::exercises(set.lines);
    const auto marks = [&all](const SummaryFilter &filter) {
        QList<int> out;
        for (const ExerciseSummary &e : Summary::filtered(all, filter))
            out.append(e.mark.value_or(-1));
        return out;
    };
    QCOMPARE(marks({}), (QList<int>{12, 8, 18, 14}));
    QCOMPARE(marks({QStringLiteral("Tom"), {}, {}}), (QList<int>{12, 14}));
    QCOMPARE(marks({QString(QLatin1String("")), {}, {}}), (QList<int>{8}));
    QCOMPARE(marks({std::nullopt, QDate(2026, 12, 10), QDate(2026, 12, 10)}), (QList<int>{18, 14}));
    QCOMPARE(marks({QStringLiteral("Tom"), {}, QDate(2026, 12, 9)}), (QList<int>{12}));
}

void TestRecords::tableExportsAsCsv()
{
    ExerciseSummary e;
    e.start = RecordFormat::localSeconds(QDate(2026, 12, 10), 9 * 3600);
    e.end = e.start + 125;
    e.pupil = QStringLiteral("Léa; \"Lili\"");
    e.sentenceFile = QStringLiteral("phrases.txt");
    e.sentencesPlayed = 5;
    e.wrongDrops = 4;
    e.mark = 19;
    ExerciseTableModel model;
    model.setExercises({e});
    QCOMPARE(model.toCsv(),
             QByteArray("\xEF\xBB\xBF"
                        "Date et heure;Élève;Fichier de phrases;Phrases jouées;Mots mal placés;Mots bleus;"
                        "Phrases hors temps;Note sur 20;Temps passé\r\n"
                        "10/12/2026 09:00;\"Léa; \"\"Lili\"\"\";phrases.txt;5;4;0;0;19;00:02:05\r\n"));
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
