// The "Bilan des élèves" window on the offscreen platform: what it shows of the records, its
// filters, the pupil's name, the export; and an exercise played through the real windows that
// then appears in it.
#include "classfixture.h"
#include "recordfixtures.h"

#include "exercise/frmsac2mot.h"
#include "fakes/fakes.h"
#include "fakes/windowchecks.h"
#include "records/frmbilan.h"
#include "records/markchartview.h"
#include "records/summarymodels.h"
#include "shell/frmmain.h"

#include "common/sentencefile.h"
#include "common/settingsstore.h"

#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QScrollBar>
#include <QTabWidget>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QtTest>

#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>

namespace {
struct BilanFixture {
    TestEnv env;
    std::unique_ptr<frmBilan> window;

    BilanFixture() { env.clock.current = QDateTime(QDate(2026, 12, 10), QTime(16, 0)); }

    void writeRecord(const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(env.records.folder());
        QFile file(QDir(env.records.folder()).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    frmBilan &open()
    {
        window = std::make_unique<frmBilan>(env.records, env.settings, env.clock, env.files, env.messages, env.printing);
        window->show();
        filled();
        return *window;
    }
    // The records are read away from the window: the tables are filled once that is done.
    bool filled() { return QTest::qWaitFor([this] { return !window->isReading(); }, 10000); }

    template<typename T>
    T *child(const QString &name) { return window->findChild<T *>(name); }
    QAbstractItemModel *table() { return child<QTableView>(QStringLiteral("exercices"))->model(); }
    QAbstractItemModel *words() { return child<QTableView>(QStringLiteral("motsMalPlaces"))->model(); }
    const MarkChart &chart() { return child<MarkChartView>(QStringLiteral("courbeNotes"))->chart(); }
    const std::vector<MarkChart::Series> &series() { return chart().series(); }
    QString cell(QAbstractItemModel *model, int row, int column)
    {
        return model->data(model->index(row, column)).toString();
    }
    QStringList column(QAbstractItemModel *model, int column)
    {
        QStringList out;
        for (int r = 0; r < model->rowCount(); ++r)
            out.append(cell(model, r, column));
        return out;
    }
};

// Holds each reading of the records folder until the test lets it go, as a server that does
// not answer would.
class HeldFolder
{
public:
    explicit HeldFolder(SummaryCache &cache)
        : m_cache(cache)
    {
        // The state outlives this object: a reading still held when a test fails is let go.
        m_cache.setBeforeRead([state = m_state] {
            std::unique_lock lock(state->mutex);
            const int number = ++state->entered;
            state->changed.notify_all();
            state->changed.wait(lock, [&state, number] { return state->released >= number; });
        });
    }
    ~HeldFolder()
    {
        m_cache.setBeforeRead(nullptr);
        std::lock_guard lock(m_state->mutex);
        m_state->released = std::numeric_limits<int>::max();
        m_state->changed.notify_all();
    }
    int readings()
    {
        std::lock_guard lock(m_state->mutex);
        return m_state->entered;
    }
    void release()
    {
        std::lock_guard lock(m_state->mutex);
        ++m_state->released;
        m_state->changed.notify_all();
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        int entered = 0;
        int released = 0;
    };
    SummaryCache &m_cache;
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

// An exercise of one sentence with one wrong drop, starting at 09:00 (or 10:00 when `later`).
QList<FixtureLine> exercise(const QString &day, const QString &pupil, int mark, const QString &wrong,
                            bool later = false)
{
    const QString hour = later ? QStringLiteral("10") : QStringLiteral("09");
    const auto at = [&](const char *time) { return day + QLatin1Char(' ') + hour + QLatin1String(time); };
    return {{at(":00:00"), QStringLiteral("Debut de l'exercice."), false, pupil, QStringLiteral("animaux.txt")},
            {at(":00:10"), QStringLiteral("Le ") + wrong, true, pupil, {}},
            {at(":00:20"), QStringLiteral("Le"), false, pupil, {}},
            {at(":00:30"), QStringLiteral("Le chat"), false, pupil, {}},
            {at(":00:31"), QStringLiteral("L'élève a une note de %1/20").arg(mark), false, pupil, {}}};
}
}

class TestFrmBilan : public QObject
{
    Q_OBJECT
private slots:
    void filtersAndChart();
    void pupilNameGoesWithTheNextLines();
    void notesForTheTeacher();
    void fitsTheScreen();
    void sharedRecordsFolder();
    void exportTable_data();
    void exportTable();
    void playedExerciseShowsInTheSummary();
    void classAtAGlance();
    void hardSentenceShowsWhoStruggled();
    void exerciseReplayed();
    void emptyChartHasNoDates();
    void layoutAt640x480();
    void readingLeavesTheWindowFree();
    void closedWhileReading();
};

void TestFrmBilan::filtersAndChart()
{
    BilanFixture f;
    f.writeRecord(QStringLiteral("journal-2026-12-09.csv"),
                  recordBytes(exercise(QStringLiteral("2026-12-09"), QStringLiteral("Tom"), 12, QStringLiteral("dort."))
                              + exercise(QStringLiteral("2026-12-09"), QStringLiteral("Léa"), 15, QStringLiteral("dort."), true)));
    f.writeRecord(QStringLiteral("journal-2026-12-10.csv"),
                  recordBytes(exercise(QStringLiteral("2026-12-10"), QStringLiteral("Tom"), 17, QStringLiteral("lit"))));
    f.open();
    auto *filter = f.child<QComboBox>(QStringLiteral("filtreEleve"));
    QStringList offered;
    for (int i = 0; i < filter->count(); ++i)
        offered.append(filter->itemText(i));
    QCOMPARE(offered, (QStringList{QStringLiteral("Tous les élèves"), QStringLiteral("Léa"), QStringLiteral("Tom")}));
    // The names are offered again for the pupil at the computer.
    QCOMPARE(f.child<QComboBox>(QStringLiteral("nomEleve"))->count(), 2);
    QCOMPARE(f.child<QDateEdit>(QStringLiteral("du"))->date(), QDate(2026, 12, 9));
    QCOMPARE(f.child<QDateEdit>(QStringLiteral("au"))->date(), QDate(2026, 12, 10));

    // Everyone: newest first; the chart draws the class's average.
    QCOMPARE(f.column(f.table(), ExerciseTableModel::MarkColumn), (QStringList{"17", "15", "12"}));
    QCOMPARE(f.series().size(), std::size_t(1));
    QCOMPARE(f.series().front().name, QStringLiteral("Moyenne de la classe (par jour)"));
    QCOMPARE(f.column(f.words(), WrongWordModel::DroppedColumn), (QStringList{"dort.", "lit"}));
    QCOMPARE(f.column(f.words(), WrongWordModel::CountColumn), (QStringList{"2", "1"}));
    QCOMPARE(f.column(f.words(), WrongWordModel::ExpectedColumn), (QStringList{"Le", "Le"}));

    filter->setCurrentIndex(filter->findText(QStringLiteral("Tom")));
    QCOMPARE(f.column(f.table(), ExerciseTableModel::MarkColumn), (QStringList{"17", "12"}));
    // Tom's marks over the class's average, each named in the legend.
    QCOMPARE(f.series().size(), std::size_t(2));
    QCOMPARE(f.series().at(1).name, QStringLiteral("Tom"));
    const std::vector<MarkChart::Point> &tom = f.series().at(1).dots;
    QCOMPARE(tom.size(), std::size_t(2));
    QCOMPARE(tom.at(0).mark, 12.0);
    QCOMPARE(tom.at(1).mark, 17.0);
    // Told to screen readers.
    QVERIFY(f.child<MarkChartView>(QStringLiteral("courbeNotes"))->accessibleDescription().contains(
        QStringLiteral("Tom : 2 notes, moyenne 14,5, de 12 à 17")));

    f.child<QDateEdit>(QStringLiteral("du"))->setDate(QDate(2026, 12, 10));
    QCOMPARE(f.column(f.table(), ExerciseTableModel::MarkColumn), QStringList{"17"});
    QCOMPARE(f.column(f.words(), WrongWordModel::DroppedColumn), QStringList{"lit"});
}

void TestFrmBilan::pupilNameGoesWithTheNextLines()
{
    BilanFixture f;
    f.open();
    auto *name = f.child<QComboBox>(QStringLiteral("nomEleve"));
    name->setFocus();
    name->lineEdit()->selectAll();
    name->lineEdit()->setText(QStringLiteral(" Léa  Martin "));
    QTest::keyClick(name->lineEdit(), Qt::Key_Return);
    QCOMPARE(f.env.records.pupil(), QStringLiteral("Léa Martin"));
    f.env.journal.AjoutProgress(QStringLiteral("Debut de l'exercice."), true);
    // Emptied: the lines that follow have no name.
    name->lineEdit()->clear();
    QTest::keyClick(name->lineEdit(), Qt::Key_Return);
    QCOMPARE(f.env.records.pupil(), QString());
    f.env.journal.AjoutProgress(QStringLiteral("Le"), true);
    f.env.records.flush();

    const RecordSet set = RecordReader::readFolder(f.env.records.folder());
    QCOMPARE(set.lines.size(), std::size_t(3)); // "Lancement du programme" first
    QCOMPARE(set.lines[1].pupil, QStringLiteral("Léa Martin"));
    QCOMPARE(set.lines[2].pupil, QString());
}

void TestFrmBilan::notesForTheTeacher()
{
    BilanFixture f;
    f.writeRecord(QStringLiteral("journal-2026-12-10.csv"),
                  recordBytes(exercise(QStringLiteral("2026-12-10"), QStringLiteral("Tom"), 17, QStringLiteral("lit")))
                      + "6;hier;Le;;non;Tom;\r\n");
    f.writeRecord(QStringLiteral("notes.csv"), "Léa;lit bien\r\n");
    f.open();
    auto *notes = f.child<QLabel>(QStringLiteral("notes"));
    QVERIFY(notes->isVisible());
    // One line in the window, all of them a click away.
    const QString all = QStringLiteral("« journal-2026-12-10.csv » : une ligne illisible ignorée.\n"
                                       "« notes.csv » n'est pas un journal de Plumalin : fichier ignoré.");
    QTRY_COMPARE(notes->text(), QStringLiteral("2 notes : « journal-2026-12-10.csv » : une ligne illisible ignorée."));
    QCOMPARE(notes->toolTip(), all);
    f.child<QPushButton>(QStringLiteral("notesDetails"))->click();
    QCOMPARE(f.env.messages.shown.size(), 1);
    QCOMPARE(f.env.messages.shown.first().text, all);
    QCOMPARE(f.table()->rowCount(), 1);

    // The records could not be written: the teacher reads it here, the pupil saw nothing.
    BilanFixture g;
    QFile blocker(g.env.records.folder());
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    g.env.journal.AjoutProgress(QStringLiteral("Le"), true);
    g.env.journal.AjoutProgress(QStringLiteral("Le chat"), true);
    QCOMPARE(g.env.journal.Rows(), 4);
    QVERIFY(g.env.messages.shown.isEmpty());
    g.open();
    QVERIFY(g.child<QLabel>(QStringLiteral("notes"))->toolTip().startsWith(
        QStringLiteral("Le journal n'a pas pu être enregistré dans le dossier")));
}

// On a screen smaller than the window's usual size, its buttons at the bottom stay in reach.
void TestFrmBilan::fitsTheScreen()
{
    BilanFixture f;
    frmBilan &window = f.open();
    const QRect room = window.screen()->availableGeometry();
    QVERIFY2(room.width() < 900, "the test screen is smaller than the window's usual size");
    QVERIFY(window.width() <= room.width());
    QVERIFY(window.height() <= room.height());
    for (const char *name : {"Exporter", "Fermer"}) {
        auto *button = f.child<QPushButton>(QString::fromLatin1(name));
        QVERIFY2(button, name);
        const QRect place(button->mapTo(&window, QPoint(0, 0)), button->size());
        QVERIFY2(window.rect().contains(place), name);
    }
}

void TestFrmBilan::exportTable_data()
{
    QTest::addColumn<QString>("pupil");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("proposed");
    const QString tom = QStringLiteral("/Bilan - Tom - 2026-12-09 au 2026-12-10.csv");
    QTest::newRow("chosen file") << QStringLiteral("Tom") << QStringLiteral("bilan") << true << tom;
    QTest::newRow("missing folder") << QStringLiteral("Tom") << QStringLiteral("absent/bilan.csv") << false << tom;
    // A name is no path: it stays in the documents folder.
    QTest::newRow("name with a slash") << QStringLiteral("Tom/../Léa: 2") << QStringLiteral("bilan") << true
                                       << QStringLiteral("/Bilan - Tom_.._Léa_ 2 - 2026-12-09 au 2026-12-10.csv");
}

void TestFrmBilan::exportTable()
{
    QFETCH(QString, pupil);
    QFETCH(QString, answer);
    QFETCH(bool, written);
    QFETCH(QString, proposed);
    BilanFixture f;
    f.writeRecord(QStringLiteral("journal-2026-12-09.csv"),
                  recordBytes(exercise(QStringLiteral("2026-12-09"), pupil, 17, QStringLiteral("lit"))
                              + exercise(QStringLiteral("2026-12-09"), QStringLiteral("Léa"), 15, QStringLiteral("lit"), true)));
    f.writeRecord(QStringLiteral("journal-2026-12-10.csv"),
                  recordBytes(exercise(QStringLiteral("2026-12-10"), pupil, 12, QStringLiteral("lit"))));
    f.open();
    auto *filter = f.child<QComboBox>(QStringLiteral("filtreEleve"));
    filter->setCurrentIndex(filter->findText(pupil));
    // The teacher sorts Tom's exercises by mark, best first: the file has them so.
    auto *table = f.child<QTableView>(QStringLiteral("exercices"));
    QVERIFY(table->isVisible());
    table->sortByColumn(ExerciseTableModel::MarkColumn, Qt::DescendingOrder);
    const QString path = f.env.dir.filePath(answer);
    f.env.files.answers = {path};
    QCOMPARE(f.window->Exporter(), written);
    const QString initial = f.env.files.requests.first().initialPath;
    QVERIFY2(initial.endsWith(proposed), qPrintable(initial));
    QVERIFY(!initial.contains(QStringLiteral("/..")));
    if (written) {
        QFile file(path + QStringLiteral(".csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QByteArray("\xEF\xBB\xBF" "Date et heure;Note sur 20;Phrases jouées;Mots mal placés;Mots bleus;"
                                      "Phrases hors temps;Écoutes;Temps passé;Fichier de phrases\r"));
        QCOMPARE(lines[1], QByteArray("09/12/2026 09:00;17;0;1;0;0;0;00:00:31;animaux.txt\r"));
        QCOMPARE(lines[2], QByteArray("10/12/2026 09:00;12;0;1;0;0;0;00:00:31;animaux.txt\r"));
        QVERIFY(f.env.messages.shown.isEmpty());
    } else {
        QCOMPARE(f.env.messages.shown.size(), 1);
        QVERIFY(f.env.messages.shown.first().text.startsWith(QStringLiteral("Le bilan n'a pas pu être enregistré")));
    }
}

void TestFrmBilan::playedExerciseShowsInTheSummary()
{
    TestEnv env;
    env.clock.current = QDateTime(QDate(2026, 12, 10), QTime(9, 0));
    SentenceFile::write(env.programFolder + QStringLiteral("/plumalin.txt"), {QStringLiteral("Le chat dort.")});
    env.records.setSentenceFileSource([&env] { return sentenceFileName(env.settings); });
    frmMain main(env.services);
    main.setEndProgram([] {});
    main.MDIForm_Load(QRect(0, 0, 1024, 768));
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    // The teacher names the pupil in the summary window.
    main.mnuBilan_Click();
    QPointer<QWidget> summary = main.summaryWindow();
    QVERIFY(summary);
    auto *name = summary->findChild<QComboBox *>(QStringLiteral("nomEleve"));
    name->setFocus();
    name->lineEdit()->setText(QStringLiteral("Léa"));
    QTest::keyClick(name->lineEdit(), Qt::Key_Return);
    summary->close();

    // Five sentences (the settings' first choice); one wrong drop in the first.
    env.settings.SaveSetting(Settings::NbPhrases, QStringLiteral("0"));
    main.mnuSac2Mot_Click();
    auto *exercise = qobject_cast<frmSac2Mot *>(main.exerciseWindow()->widget());
    QVERIFY(exercise);
    QVERIFY(QTest::qWaitFor([exercise] { return exercise->session().countStarted(); }, 5000));
    for (int sentence = 0; sentence < 5; ++sentence) {
        if (sentence > 0)
            exercise->Nouveau_Click();
        if (sentence == 2) {
            // "Commencer" again on the open exercise: the same line, the same exercise.
            main.mnuSac2Mot_Click();
            QCOMPARE(env.lastJournalText(), QStringLiteral("Debut de l'exercice."));
            QCOMPARE(qobject_cast<frmSac2Mot *>(main.exerciseWindow()->widget()), exercise);
        }
        if (sentence == 0) {
            env.clock.advance(4);
            exercise->TexteResultat_DragDrop(2, 0, 0); // «dort.» first
            exercise->Timer_Timer(1);
        }
        for (int word = 0; word < 3; ++word) {
            env.clock.advance(3);
            exercise->TexteResultat_DragDrop(word, 0, 0);
            exercise->Timer_Timer(0);
        }
    }
    const QString markLine = env.lastJournalText();
    QCOMPARE(markLine, QStringLiteral("L'élève a une note de 20/20"));

    main.mnuBilan_Click();
    summary = main.summaryWindow();
    QVERIFY(QTest::qWaitFor([&summary] { return !qobject_cast<frmBilan *>(summary)->isReading(); }, 10000));
    auto *table = summary->findChild<QTableView *>(QStringLiteral("exercices"))->model();
    QCOMPARE(table->rowCount(), 1);
    QStringList row;
    for (int c = 0; c < ExerciseTableModel::ColumnCount; ++c)
        row.append(table->data(table->index(0, c)).toString());
    QCOMPARE(row, (QStringList{"10/12/2026 09:00", "Léa", "plumalin.txt", "5", "1", "0", "0", "20", "00:00:49", "0"}));
    // The mark is the one the exercise wrote in its last line.
    QVERIFY(markLine.contains(QStringLiteral(" ") + row.at(ExerciseTableModel::MarkColumn) + QStringLiteral("/20")));

    const auto &series = summary->findChild<MarkChartView *>(QStringLiteral("courbeNotes"))->chart().series();
    QCOMPARE(series.size(), std::size_t(1));
    QCOMPARE(series.front().line.at(0).mark, 20.0);
    auto *words = summary->findChild<QTableView *>(QStringLiteral("motsMalPlaces"))->model();
    QCOMPARE(words->rowCount(), 1);
    QCOMPARE(words->data(words->index(0, WrongWordModel::DroppedColumn)).toString(), QStringLiteral("dort."));
    QCOMPARE(words->data(words->index(0, WrongWordModel::CountColumn)).toString(), QStringLiteral("1"));
    QCOMPARE(words->data(words->index(0, WrongWordModel::ExpectedColumn)).toString(), QStringLiteral("Le"));
    QVERIFY(main.close());
}

void TestFrmBilan::sharedRecordsFolder()
{
    // The school's shared folder, where another classroom computer has written already.
    BilanFixture f;
    const QString shared = f.env.dir.filePath(QStringLiteral("serveur/CM1"));
    QVERIFY(QDir().mkpath(shared));
    {
        RecordWriter other(shared, QStringLiteral("salle2"));
        FakeClock clock;
        clock.current = QDateTime(QDate(2026, 12, 10), QTime(9, 0));
        Journal journal(clock);
        journal.setListener(&other);
        other.setPupil(QStringLiteral("Tom"));
        journal.record(JournalEvent::of(EventKind::ExerciseStart));
        clock.advance(30);
        journal.record(JournalEvent::mark(QStringLiteral("18")));
    }
    f.open();
    QCOMPARE(f.table()->rowCount(), 0);
    f.env.files.answers << shared;
    QVERIFY(f.window->DossierJournaux_Click());
    QVERIFY(f.filled());
    QCOMPARE(f.env.files.requests.last().initialFolder, f.env.dir.filePath(QStringLiteral("Journaux")));
    QCOMPARE(f.env.settings.GetSetting(Settings::DossierJournaux, QString()), shared);
    QCOMPARE(f.env.records.folder(), shared);
    QCOMPARE(f.column(f.table(), ExerciseTableModel::MarkColumn), QStringList{QStringLiteral("18")});
    QCOMPARE(f.column(f.table(), ExerciseTableModel::PupilColumn), QStringList{QStringLiteral("Tom")});

    // This computer's lines go there from now on, in a file of its own.
    f.env.journal.record(JournalEvent::of(EventKind::ConsultSummary));
    f.env.records.flush();
    QCOMPARE(QDir(shared).entryList(QDir::Files).size(), 2);
    QVERIFY(f.env.records.currentFile().startsWith(shared));

    // A cancelled choice changes nothing.
    QVERIFY(!f.window->DossierJournaux_Click());
    QCOMPARE(f.env.records.folder(), shared);
}

namespace {
// Tom and Léa over two days, written as the program writes them (another computer's files).
void writeClass(BilanFixture &f)
{
    ClassFixture c(f.env.records.folder(), QStringLiteral("salle2"));
    const QString hard = QStringLiteral("Les enfants jouent dans la cour.");
    const QString easy = QStringLiteral("Le chat dort.");
    c.exercise(QStringLiteral("Tom"), {{hard, 3, 1, 2}, {easy}}, 11);
    c.exercise(QStringLiteral("Léa"), {{hard, 1}, {easy, 0, 0, 1}}, 17);
    c.clock.advance(86400);
    c.exercise(QStringLiteral("Tom"), {{easy}, {hard, 2, 0, 0, true}}, 13);
    c.exercise(QStringLiteral("Tom"), {{easy}}, 16);
}
}

// "Tous les élèves" shows a row per pupil; Entrée on one shows that pupil's exercises.
void TestFrmBilan::classAtAGlance()
{
    BilanFixture f;
    f.env.clock.current = QDateTime(QDate(2026, 12, 8), QTime(16, 0));
    writeClass(f);
    f.open();
    auto *tabs = f.child<QTabWidget>(QStringLiteral("onglets"));
    auto *pupils = f.child<QTableView>(QStringLiteral("eleves"));
    QCOMPARE(tabs->currentWidget(), pupils);
    QAbstractItemModel *rows = pupils->model();
    QCOMPARE(f.column(rows, PupilTableModel::PupilColumn), (QStringList{"Léa", "Tom"}));
    QCOMPARE(f.column(rows, PupilTableModel::ExercisesColumn), (QStringList{"1", "3"}));
    QCOMPARE(f.column(rows, PupilTableModel::AverageColumn), (QStringList{"17,0", "13,3"}));
    QCOMPARE(f.column(rows, PupilTableModel::LastMarkColumn), (QStringList{"17", "16"}));
    QCOMPARE(f.column(rows, PupilTableModel::TrendColumn), (QStringList{"", "↗ hausse"}));
    QCOMPARE(f.column(rows, PupilTableModel::LastDayColumn), (QStringList{"07/12/2026", "08/12/2026"}));

    // The teacher chooses Tom: the chart draws him over the class's average.
    pupils->setFocus();
    pupils->setCurrentIndex(rows->index(1, 0));
    QCOMPARE(f.series().size(), std::size_t(2));
    QCOMPARE(f.series().at(1).name, QStringLiteral("Tom"));
    QTest::keyClick(pupils, Qt::Key_Return);
    QCOMPARE(f.child<QComboBox>(QStringLiteral("filtreEleve"))->currentText(), QStringLiteral("Tom"));
    auto *exercises = f.child<QTableView>(QStringLiteral("exercices"));
    QCOMPARE(tabs->currentWidget(), exercises);
    QCOMPARE(f.column(f.table(), ExerciseTableModel::MarkColumn), (QStringList{"16", "13", "11"}));
    // Listens counted per exercise.
    QCOMPARE(f.column(f.table(), ExerciseTableModel::ListensColumn), (QStringList{"0", "0", "2"}));
    QVERIFY(exercises->isColumnHidden(ExerciseTableModel::PupilColumn));

    // Back to the class: its rows again.
    f.child<QComboBox>(QStringLiteral("filtreEleve"))->setCurrentIndex(0);
    QCOMPARE(tabs->currentWidget(), pupils);
    QCOMPARE(pupils->model()->rowCount(), 2);
}

void TestFrmBilan::hardSentenceShowsWhoStruggled()
{
    BilanFixture f;
    f.env.clock.current = QDateTime(QDate(2026, 12, 8), QTime(16, 0));
    writeClass(f);
    f.open();
    auto *tabs = f.child<QTabWidget>(QStringLiteral("onglets"));
    auto *sentences = f.child<QTableView>(QStringLiteral("phrasesDifficiles"));
    tabs->setCurrentWidget(sentences);
    QAbstractItemModel *rows = sentences->model();
    QCOMPARE(f.column(rows, PlayTableModel::NameColumn),
             (QStringList{"Les enfants jouent dans la cour.", "Le chat dort."}));
    QCOMPARE(f.column(rows, PlayTableModel::PlayedColumn), (QStringList{"3", "4"}));
    QCOMPARE(f.column(rows, PlayTableModel::AverageWrongColumn), (QStringList{"2,0", "0,0"}));
    QCOMPARE(f.column(rows, PlayTableModel::TimedOutColumn), (QStringList{"1", "0"}));
    QCOMPARE(f.column(rows, PlayTableModel::ListensColumn), (QStringList{"2", "1"}));

    sentences->setFocus();
    sentences->setCurrentIndex(rows->index(0, 0));
    QTest::keyClick(sentences, Qt::Key_Return);
    auto *dialog = f.window->findChild<QDialog *>(QStringLiteral("quiAEuDuMal"));
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QAbstractItemModel *who = dialog->findChild<QTableView *>(QStringLiteral("lignes"))->model();
    QCOMPARE(f.column(who, PlayTableModel::NameColumn), (QStringList{"Tom", "Léa"}));
    QCOMPARE(f.column(who, PlayTableModel::PlayedColumn), (QStringList{"2", "1"}));
    QCOMPARE(f.column(who, PlayTableModel::AverageWrongColumn), (QStringList{"2,5", "1,0"}));
    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
}

void TestFrmBilan::exerciseReplayed()
{
    BilanFixture f;
    f.env.clock.current = QDateTime(QDate(2026, 12, 8), QTime(16, 0));
    writeClass(f);
    f.open();
    auto *filter = f.child<QComboBox>(QStringLiteral("filtreEleve"));
    filter->setCurrentIndex(filter->findText(QStringLiteral("Léa")));
    auto *exercises = f.child<QTableView>(QStringLiteral("exercices"));
    exercises->setFocus();
    exercises->setCurrentIndex(exercises->model()->index(0, 0));
    QTest::keyClick(exercises, Qt::Key_Return);
    auto *dialog = f.window->findChild<QDialog *>(QStringLiteral("revoirExercice"));
    QVERIFY(dialog);
    auto *lines = dialog->findChild<QTableView *>(QStringLiteral("lignes"));
    QCOMPARE(lines->editTriggers(), QAbstractItemView::NoEditTriggers);
    QAbstractItemModel *model = lines->model();
    QCOMPARE(f.column(model, 2), (QStringList{"Debut de l'exercice.", "chat", "Le", "L'élève a fait une erreur.",
                                              "L'élève a écouté la phrase.", "Le", "L'élève n'a fait aucune erreur.",
                                              "L'élève a une note de 17/20"}));
    // Coloured as in the journal: the wrong drop in red.
    QVERIFY(model->data(model->index(1, 2), Qt::ForegroundRole).isValid());
    QVERIFY(!model->data(model->index(2, 2), Qt::ForegroundRole).isValid());
    QVERIFY(f.cell(model, 0, 1).contains(QStringLiteral("09:01:05")));
    QCOMPARE(f.cell(model, 1, 3), QStringLiteral("00:00:05"));
}

void TestFrmBilan::emptyChartHasNoDates()
{
    BilanFixture f;
    f.open();
    const MarkChart &chart = f.chart();
    QCOMPARE(chart.title(), QStringLiteral("Aucune note sur cette période"));
    QVERIFY(chart.ticks(600, QFontMetricsF(f.window->font())).empty());
    QVERIFY(chart.series().empty());
    auto *view = f.child<MarkChartView>(QStringLiteral("courbeNotes"));
    QCOMPARE(view->accessibleDescription(), QStringLiteral("Aucune note sur cette période."));
}

// At 640 × 480, with notes to show: every control inside the window and whole, none on
// another, the mark in sight without scrolling, the buttons in reach; Échap closes.
void TestFrmBilan::layoutAt640x480()
{
    BilanFixture f;
    f.env.clock.current = QDateTime(QDate(2026, 12, 8), QTime(16, 0));
    writeClass(f);
    f.writeRecord(QStringLiteral("notes.csv"), "Léa;lit bien\r\n");
    f.writeRecord(QStringLiteral("journal-2026-12-01.csv"), "\xff\xfe");
    {
        // A long name and a long file name, the widest a row gets.
        ClassFixture c(f.env.records.folder(), QStringLiteral("salle3"));
        c.writer.setSentenceFileSource([] { return QStringLiteral("5 - CM2 - phrases complexes et très longues.txt"); });
        c.exercise(QStringLiteral("Marie-Charlotte de la Fontaine"), {{QStringLiteral("Le chat dort.")}}, 20);
    }
    frmBilan &window = f.open();
    window.resize(640, 480);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), QSize(640, 480));
    QTest::qWait(0);

    const QStringList names{"nomEleveTitre", "nomEleve", "nombre", "filtreEleveTitre", "filtreEleve", "duTitre", "du",
                            "auTitre", "au", "Actualiser", "notes", "notesDetails", "onglets",
                            "DossierJournaux", "Exporter", "Fermer"};
    QVERIFY(f.child<QLabel>(QStringLiteral("notes"))->isVisible());
    QCOMPARE(WindowChecks::outside(&window, names), QStringList());
    QCOMPARE(WindowChecks::overlaps(&window, names), QStringList());
    // Labels with a shortcut letter are measured as drawn, without their '&'.
    const QStringList shortcutLabels{"nomEleveTitre", "filtreEleveTitre", "duTitre", "auTitre"};
    QStringList plain = names;
    for (const QString &name : shortcutLabels) {
        plain.removeAll(name);
        auto *label = control<QLabel>(&window, qPrintable(name));
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(name));
    }
    QCOMPARE(WindowChecks::textsCut(&window, plain), QStringList());
    for (const QString &name : names)
        QVERIFY2(window.rect().contains(QRect(control(&window, qPrintable(name))->mapTo(&window, QPoint(0, 0)),
                                              control(&window, qPrintable(name))->size())),
                 qPrintable(name));
    // Every tab's title in sight.
    auto *tabs = f.child<QTabWidget>(QStringLiteral("onglets"));
    QVERIFY(tabs->tabBar()->tabRect(tabs->count() - 1).right() <= tabs->tabBar()->width());
    // The tables keep room for several rows.
    auto *exercises = f.child<QTableView>(QStringLiteral("exercices"));
    tabs->setCurrentWidget(exercises);
    QVERIFY(exercises->viewport()->height() >= 5 * exercises->verticalHeader()->defaultSectionSize());
    // The mark without scrolling, whole, even beside the longest name.
    const int mark = ExerciseTableModel::MarkColumn;
    QCOMPARE(exercises->horizontalScrollBar()->value(), 0);
    QVERIFY(exercises->columnViewportPosition(mark) + exercises->columnWidth(mark) <= exercises->viewport()->width());
    // The class's table whole.
    auto *pupils = f.child<QTableView>(QStringLiteral("eleves"));
    tabs->setCurrentWidget(pupils);
    const int last = PupilTableModel::ColumnCount - 1;
    QVERIFY(pupils->columnViewportPosition(last) + pupils->columnWidth(last) <= pupils->viewport()->width());

    // Tab reaches the filters, the table shown, then the buttons.
    const QStringList chain = WindowChecks::objectNames(WindowChecks::tabChain(control(&window, "nomEleve")));
    for (const char *name : {"au", "eleves", "Exporter", "Fermer"})
        QVERIFY2(chain.contains(QLatin1String(name)), name);
    QVERIFY(chain.indexOf(QStringLiteral("au")) < chain.indexOf(QStringLiteral("eleves")));
    QVERIFY(chain.indexOf(QStringLiteral("eleves")) < chain.indexOf(QStringLiteral("Exporter")));
    QVERIFY(chain.indexOf(QStringLiteral("Exporter")) < chain.indexOf(QStringLiteral("Fermer")));

    // Échap closes the window.
    QPointer<frmBilan> closing = f.window.release();
    pupils->setFocus();
    QTest::keyClick(pupils, Qt::Key_Escape);
    QTRY_VERIFY(closing.isNull());
}

// A folder that does not answer keeps the window "reading", not frozen; a newer reading does
// not wait for it, and the one it replaced is not shown when it ends.
void TestFrmBilan::readingLeavesTheWindowFree()
{
    BilanFixture f;
    f.writeRecord(QStringLiteral("journal-2026-12-09.csv"),
                  recordBytes(exercise(QStringLiteral("2026-12-09"), QStringLiteral("Tom"), 12, QStringLiteral("dort."))));
    HeldFolder held(f.env.records.summaryCache());
    f.window = std::make_unique<frmBilan>(f.env.records, f.env.settings, f.env.clock, f.env.files, f.env.messages,
                                          f.env.printing);
    f.window->show();
    QTRY_COMPARE(held.readings(), 1);
    QVERIFY(f.window->isReading());
    QCOMPARE(f.child<QLabel>(QStringLiteral("nombre"))->text(), QStringLiteral("Lecture des journaux…"));
    QCOMPARE(f.chart().title(), QStringLiteral("Lecture des journaux…"));
    for (const char *name : {"filtreEleve", "du", "au", "Exporter", "Imprimer", "Eleves"})
        QVERIFY2(!f.child<QWidget>(QString::fromLatin1(name))->isEnabled(), name);
    QCOMPARE(f.table()->rowCount(), 0);

    // The window answers meanwhile: the pupil at the computer can be named.
    auto *name = f.child<QComboBox>(QStringLiteral("nomEleve"));
    name->setFocus();
    QTest::keyClicks(name->lineEdit(), QStringLiteral("Tom"));
    QTest::keyClick(name->lineEdit(), Qt::Key_Return);
    QCOMPARE(f.env.records.pupil(), QStringLiteral("Tom"));

    // Read again while the first reading is held: the second one does not wait for it, and is
    // the one shown.
    f.writeRecord(QStringLiteral("journal-2026-12-10.csv"),
                  recordBytes(exercise(QStringLiteral("2026-12-10"), QStringLiteral("Tom"), 17, QStringLiteral("lit"))));
    f.window->Actualiser();
    QVERIFY(f.filled());
    QCOMPARE(f.column(f.table(), ExerciseTableModel::MarkColumn), (QStringList{"17", "12"}));
    QCOMPARE(f.child<QLabel>(QStringLiteral("nombre"))->text(), QStringLiteral("2 exercices."));
    for (const char *name : {"filtreEleve", "du", "au", "Exporter", "Eleves"})
        QVERIFY2(f.child<QWidget>(QString::fromLatin1(name))->isEnabled(), name);
    QCOMPARE(f.chart().title(), QStringLiteral("Notes sur 20"));

    // The first reading ends later, over a folder that has changed since: it is not shown.
    QVERIFY(QFile::remove(QDir(f.env.records.folder()).filePath(QStringLiteral("journal-2026-12-10.csv"))));
    held.release();
    QTRY_VERIFY(!f.env.records.summaryCache().busy());
    QCoreApplication::sendPostedEvents();
    QVERIFY(!f.window->isReading());
    QCOMPARE(f.column(f.table(), ExerciseTableModel::MarkColumn), (QStringList{"17", "12"}));
}

// Closed while the folder does not answer: the window goes at once; the reading ends into
// nothing when the folder answers.
void TestFrmBilan::closedWhileReading()
{
    BilanFixture f;
    f.writeRecord(QStringLiteral("journal-2026-12-09.csv"),
                  recordBytes(exercise(QStringLiteral("2026-12-09"), QStringLiteral("Tom"), 12, QStringLiteral("dort."))));
    std::optional<HeldFolder> held(std::in_place, f.env.records.summaryCache());
    // It goes by itself when closed.
    QPointer<frmBilan> window = new frmBilan(f.env.records, f.env.settings, f.env.clock, f.env.files,
                                             f.env.messages, f.env.printing);
    window->show();
    QTRY_COMPARE(held->readings(), 1);
    QVERIFY(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());

    held.reset();
    // The held reading ends into nothing.
    QTRY_VERIFY(!f.env.records.summaryCache().busy());
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QTEST_MAIN(TestFrmBilan)
#include "tst_frmbilan.moc"
