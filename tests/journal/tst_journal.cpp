// The progress journal through its operations, with an injected clock; no window.
#include "fakes/hostiledisk.h"
#include "fakes/platformfakes.h"
#include "journaltests.h"

#include "journal/journal.h"
#include "journal/journalmodel.h"

#include <QBrush>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The journal alone, as the program holds it, over a temporary folder.
struct TestEnv {
    QTemporaryDir dir;
    QString programFolder = dir.path() + QStringLiteral("/bin");
    FakeClock clock;
    Journal journal{clock};

    TestEnv() { QDir().mkpath(programFolder); }
    // Text of column `column` of journal line `line` (1-based, as numbered in the grid).
    QString journalText(int line, int column = 2) { return journal.model().cellText(line - 1, column); }
    QString lastJournalText() { return journalText(journal.Rows() - 1); }
};
}

class TestJournal : public QObject
{
    Q_OBJECT

private slots:
    void createdOnFirstUse();
    void eventTexts_data();
    void eventTexts();
    void everyKindHasItsCode();
    void exercisesOfARun();
    void durations_data();
    void durations();
    void setProgressNeitherReadsNorMovesTheMark();
    void redLines();
    void textsStayInTheirCells();
    void stamp_data();
    void stamp();
    void stampOfALine();
    void closedByTheProgram();
    void longTextShownShortExportedWhole();
};

void TestJournal::createdOnFirstUse()
{
    TestEnv env;
    QVERIFY(!env.journal.exists());
    env.clock.advance(60); // line 1 carries the time of the first use, not of the start
    QCOMPARE(env.journal.Rows(), 2);
    QVERIFY(env.journal.exists());
    QCOMPARE(env.journalText(1, 0), QStringLiteral("1"));
    QCOMPARE(env.journalText(1, 1), JournalModel::stamp(env.clock.now()));
    QCOMPARE(env.journalText(1), QStringLiteral("Lancement du programme"));
    QCOMPARE(env.journalText(1, 3), QString());
    QVERIFY(!env.journal.hasHeureProgress());

    env.journal.AjoutProgress(QStringLiteral("Debut de l'exercice."), true);
    QCOMPARE(env.journal.Rows(), 3);
    QCOMPARE(env.journalText(2, 0), QStringLiteral("2"));
}

Q_DECLARE_METATYPE(JournalEvent)

void TestJournal::eventTexts_data()
{
    QTest::addColumn<JournalEvent>("event");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("red");
    QTest::addColumn<bool>("timed");

    using E = JournalEvent;
    using K = EventKind;
    QTest::newRow("program start") << E::of(K::ProgramStart) << "Lancement du programme" << false << true;
    QTest::newRow("exercise start") << E::of(K::ExerciseStart) << "Debut de l'exercice." << false << true;
    QTest::newRow("exercise shown again") << E::of(K::ExerciseShown) << "Debut de l'exercice." << false << true;
    QTest::newRow("quit") << E::of(K::ExerciseQuit) << "Fin de l'exercice avec le bouton 'QUITTER'" << false << true;
    QTest::newRow("right drop") << E::rightDrop("Le chat", "chat") << "Le chat" << false << true;
    QTest::newRow("wrong drop") << E::wrongDrop("Le dort.", "dort.", "chat") << "Le dort." << true << true;
    QTest::newRow("word moved") << E::wordMoved("chat") << "Déplacement du mot ' chat '." << false << true;
    QTest::newRow("hint time up") << E::hintTimeUp("30")
                                  << "La temporisation du mot bleu fixée à 30 secondes est dépassée." << true << false;
    QTest::newRow("hint word") << E::hintWord("chat") << "Le mot bleu est ' chat '." << true << false;
    QTest::newRow("sentence time up") << E::sentenceTimeUp("12")
                                      << "Temporisation de la phrase fixée à 12 minutes dépassée." << true << false;
    QTest::newRow("no error") << E::sentenceEnd(0) << "L'élève n'a fait aucune erreur." << false << false;
    QTest::newRow("one error") << E::sentenceEnd(1) << "L'élève a fait une erreur." << false << false;
    QTest::newRow("3 errors") << E::sentenceEnd(3) << "L'élève a fait 3 erreurs." << false << false;
    QTest::newRow("mark") << E::mark("19") << "L'élève a une note de 19/20" << false << false;
    QTest::newRow("mark 7.5") << E::mark("7.5") << "L'élève a une note de 7.5/20" << false << false;
    QTest::newRow("mark zero") << E::mark("0") << "L'élève a une note de Zéro." << false << false;
    QTest::newRow("mark below zero") << E::mark("-12") << "L'élève a une note de Zéro." << false << false;
    QTest::newRow("journal") << E::of(K::ConsultJournal) << "Consultation de la progression" << false << true;
    QTest::newRow("summary") << E::of(K::ConsultSummary) << "Consultation du bilan des élèves" << false << true;
    QTest::newRow("settings") << E::of(K::ConsultSettings) << "Consultation de la boite 'Paramètres'" << false << true;
    QTest::newRow("about") << E::of(K::ConsultAbout) << "Consultation de la boite 'A propos de...'" << false << true;
    QTest::newRow("editor") << E::of(K::EditorOpen) << "Editer les exercices" << false << true;
    QTest::newRow("load") << E::withValue(K::SentencesLoad, "/home/a b/cm1.txt")
                          << "Editer - Charger les phrases (Fichier:/home/a b/cm1.txt)" << false << true;
    QTest::newRow("save asked") << E::of(K::SentencesSaveAsk) << "Editer - Sauvegarder les phrases" << false << true;
    QTest::newRow("save") << E::withValue(K::SentencesSave, "/tmp/cm1.txt")
                          << "Editer - Sauvegarder les phrases (Fichier:/tmp/cm1.txt)" << false << true;
    QTest::newRow("cut") << E::withValue(K::EditCut, "Le chat dort.") << "Editer - Couper 'Le chat dort.'" << false << true;
    QTest::newRow("modify") << E::withValue(K::EditModify, "Il pleut.") << "Editer - Modifier 'Il pleut.'" << false << true;
    QTest::newRow("modified to") << E::withValue(K::EditModifiedTo, "Il neige.")
                                 << "Editer - Modifier en 'Il neige.'" << false << true;
    QTest::newRow("new") << E::withValue(K::EditNew, "Un chat.") << "Editer - Nouveau 'Un chat.'" << false << true;
    QTest::newRow("plain text, red") << E::plain("Écoute", false) << "Écoute" << true << true;
}

void TestJournal::eventTexts()
{
    QFETCH(JournalEvent, event);
    QFETCH(QString, text);
    QFETCH(bool, red);
    QFETCH(bool, timed);
    QCOMPARE(event.text(), text);
    QCOMPARE(event.red(), red);
    QCOMPARE(event.timed(), timed);

    // The journal shows it so, in its colour.
    TestEnv env;
    env.journal.record(event);
    QCOMPARE(env.journalText(2), text);
    QCOMPARE(isRed(env.journal.model().index(1, 2).data(Qt::ForegroundRole)), red);

    // A record of the first form, which has only the text, gives the kind and values back
    // (a second "Debut" is the first kind there, a plain line an answer).
    const JournalEvent back = JournalEvent::fromText(text, red);
    if (event.kind == EventKind::ExerciseShown)
        QCOMPARE(back.kind, EventKind::ExerciseStart);
    else if (event.kind != EventKind::Text)
        QCOMPARE(back.kind, event.kind);
    if (event.kind != EventKind::RightDrop && event.kind != EventKind::WrongDrop
        && event.kind != EventKind::Text && event.kind != EventKind::Mark)
        QCOMPARE(back.value, event.value);
    if (event.kind == EventKind::WrongDrop || event.kind == EventKind::RightDrop
        || event.kind == EventKind::WordMoved || event.kind == EventKind::HintWord)
        QCOMPARE(back.word, event.word);
}

void TestJournal::everyKindHasItsCode()
{
    QSet<QString> codes;
    for (int k = 0; k <= int(EventKind::EditNew); ++k) {
        const QString code = JournalEvent::code(EventKind(k));
        QVERIFY(!code.isEmpty());
        QVERIFY2(!codes.contains(code), qPrintable(code));
        codes.insert(code);
        QCOMPARE(JournalEvent::kindOf(code), std::optional<EventKind>(EventKind(k)));
    }
    QCOMPARE(JournalEvent::kindOf(u"inconnu"), std::nullopt);
}

void TestJournal::exercisesOfARun()
{
    // Each exercise start begins an exercise of the run; showing an open exercise again does not.
    TestEnv env;
    QCOMPARE(env.journal.exercise(), 0);
    env.journal.record(JournalEvent::of(EventKind::ExerciseStart));
    env.journal.record(JournalEvent::of(EventKind::ExerciseShown));
    QCOMPARE(env.journal.exercise(), 1);
    env.journal.record(JournalEvent::of(EventKind::ExerciseStart));
    QCOMPARE(env.journal.exercise(), 2);
    QVERIFY(!env.journal.runId().isEmpty());
    TestEnv other;
    QVERIFY(other.journal.runId() != env.journal.runId());
}

void TestJournal::durations_data()
{
    QTest::addColumn<bool>("markSet");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("clockSet"); // seconds the date and time are set forward meanwhile
    QTest::addColumn<QString>("duration");

    QTest::newRow("no mark yet: empty") << false << 0 << 0 << QString();
    QTest::newRow("90 seconds") << true << 90 << 0 << QStringLiteral("00:01:30");
    QTest::newRow("same second") << true << 0 << 0 << QStringLiteral("00:00:00");
    QTest::newRow("23:59:59") << true << 86399 << 0 << QStringLiteral("23:59:59");
    QTest::newRow("25 hours drop the day") << true << 25 * 3600 << 0 << QStringLiteral("01:00:00");
    // The time spent is what passed, whatever is done to the clock meanwhile.
    QTest::newRow("clock set back a day") << true << 30 << -86400 << QStringLiteral("00:00:30");
    QTest::newRow("clock set forward") << true << 30 << 9 * 86400 + 3600 << QStringLiteral("00:00:30");
}

void TestJournal::durations()
{
    QFETCH(bool, markSet);
    QFETCH(int, seconds);
    QFETCH(int, clockSet);
    QFETCH(QString, duration);

    TestEnv env;
    if (markSet)
        env.journal.MarqueHeureProgress(); // as a sentence start sets it
    env.clock.advance(seconds);
    env.clock.current = env.clock.current.addSecs(clockSet);
    env.journal.AjoutProgress(QStringLiteral("Le chat"), true);
    QCOMPARE(env.journalText(2, 3), duration);
    QCOMPARE(env.journal.heureProgressMs(), env.clock.steadyMs);
}

void TestJournal::setProgressNeitherReadsNorMovesTheMark()
{
    TestEnv env;
    env.journal.AjoutProgress(QStringLiteral("Le"), true);
    const qint64 mark = env.journal.heureProgressMs();
    env.clock.advance(30);
    env.journal.SetProgress(QStringLiteral("L'élève a fait une erreur."), QString(), true);
    QCOMPARE(env.journal.heureProgressMs(), mark);
    env.journal.SetProgress(QStringLiteral("autre"), QStringLiteral("à la main"), false);
    env.clock.advance(60);
    env.journal.AjoutProgress(QStringLiteral("Le chat"), true);

    QCOMPARE(env.journal.Rows(), 6);
    QCOMPARE(env.journalText(3), QStringLiteral("L'élève a fait une erreur."));
    QCOMPARE(env.journalText(3, 3), QString());
    QCOMPARE(env.journalText(4, 3), QStringLiteral("à la main"));
    QCOMPARE(env.journalText(5, 0), QStringLiteral("5"));
    QCOMPARE(env.journalText(5, 3), QStringLiteral("00:01:30"));
}

void TestJournal::redLines()
{
    TestEnv env;
    env.journal.AjoutProgress(QStringLiteral("Le chien"), false);
    env.journal.SetProgress(QStringLiteral("Le mot bleu est 'chat'."), QString(), false);
    env.journal.AjoutProgress(QStringLiteral("Le chat"), true);
    JournalModel &model = env.journal.model();
    for (int row : {1, 2}) {
        QVERIFY(!isRed(model.index(row, 0).data(Qt::ForegroundRole)));
        for (int column = 1; column < 4; ++column)
            QVERIFY2(isRed(model.index(row, column).data(Qt::ForegroundRole)),
                     qPrintable(QStringLiteral("row %1 column %2").arg(row).arg(column)));
    }
    for (int column = 0; column < 4; ++column) {
        QVERIFY(!isRed(model.index(0, column).data(Qt::ForegroundRole)));
        QVERIFY(!isRed(model.index(3, column).data(Qt::ForegroundRole)));
    }
}

void TestJournal::textsStayInTheirCells()
{
    TestEnv env;
    env.journal.MarqueHeureProgress();
    env.clock.advance(5);
    env.journal.AjoutProgress(QStringLiteral("Le\tchat\r\ndort"), true);
    QCOMPARE(env.journal.model().columnCount(), 4);
    QCOMPARE(env.journalText(2), QStringLiteral("Le chat  dort"));
    QCOMPARE(env.journalText(2, 3), QStringLiteral("00:00:05"));
    QCOMPARE(env.journal.model().index(1, 2).data(Qt::ToolTipRole).toString(),
             QStringLiteral("Le\tchat\r\ndort"));
}

void TestJournal::stamp_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");

    QTest::newRow("French") << QLocale(QLocale::French, QLocale::France)
                            << QStringLiteral("15/10/2001 14:03:22");
    QTest::newRow("Canadian French") << QLocale(QLocale::French, QLocale::Canada)
                                     << QStringLiteral("2001-10-15 14 h 03 min 22 s");
    QTest::newRow("American") << QLocale(QLocale::English, QLocale::UnitedStates)
                              << QStringLiteral("10/15/01 2:03:22 PM");
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                            << QStringLiteral("15.10.01 14:03:22");
}

void TestJournal::stamp()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    const QDateTime when(QDate(2001, 10, 15), QTime(14, 3, 22));
    // Newer locale data puts a narrow no-break space before "PM": either is right.
    QCOMPARE(JournalModel::stamp(when, locale).replace(QChar(0x202F), QLatin1Char(' ')), expected);
}

void TestJournal::stampOfALine()
{
    // Whatever the machine's regional settings, a line shows the journal's stamp of its time,
    // and a machine without settings ("C") gets the program's French format.
    TestEnv env;
    env.clock.advance(3600);
    env.journal.AjoutProgress(QStringLiteral("x"), true);
    QCOMPARE(env.journalText(2, 1), JournalModel::stamp(env.clock.now(), JournalModel::stampLocale()));
    QVERIFY(JournalModel::stampLocale().language() != QLocale::C);
    QVERIFY(!JournalModel::timeFormatWithoutZone(JournalModel::stampLocale()).contains(QLatin1Char('t')));
}

void TestJournal::closedByTheProgram()
{
    TestEnv env;
    env.journal.AjoutProgress(QStringLiteral("Le"), true);
    env.journal.closeByProgram();
    QVERIFY(!env.journal.exists());
    QCOMPARE(env.journal.Rows(), 2); // a new journal
    QCOMPARE(env.lastJournalText(), QStringLiteral("Lancement du programme"));
}

void TestJournal::longTextShownShortExportedWhole()
{
    TestEnv env;
    const QString text = QStringLiteral("Editer - Couper '") + QString(5'000'000, QLatin1Char('a'))
                         + QLatin1Char('\'');
    env.journal.AjoutProgress(text, true);
    const QModelIndex cell = env.journal.model().index(1, JournalModel::TextColumn);
    QCOMPARE(cell.data(Qt::DisplayRole).toString().size(), JournalModel::ShownLength + 1);
    QVERIFY(cell.data(Qt::DisplayRole).toString().endsWith(QChar(0x2026)));
    QCOMPARE(cell.data(Qt::ToolTipRole).toString().size(), JournalModel::ShownLength + 1);
    QVERIFY(QString::fromUtf8(env.journal.model().toCsv()).contains(text));
}

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
