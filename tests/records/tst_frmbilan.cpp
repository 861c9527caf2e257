// The "Bilan des élèves" window on the offscreen platform: what it shows of the records, its
// filters, the pupil's name, the export; and an exercise played through the real windows that
// then appears in it.
#include "recordfixtures.h"

#include "exercise/frmsac2mot.h"
#include "fakes/fakes.h"
#include "records/frmbilan.h"
#include "records/summarymodels.h"
#include "shell/frmmain.h"

#include "common/sentencefile.h"
#include "common/settingsstore.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QtTest>

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
        window = std::make_unique<frmBilan>(env.records, env.settings, env.clock, env.files, env.messages);
        window->show();
        return *window;
    }

    template<typename T>
    T *child(const QString &name) { return window->findChild<T *>(name); }
    QAbstractItemModel *table() { return child<QTableView>(QStringLiteral("exercices"))->model(); }
    QAbstractItemModel *words() { return child<QTableView>(QStringLiteral("motsMalPlaces"))->model(); }
    QList<QAbstractSeries *> series() { return child<QChartView>(QStringLiteral("courbeNotes"))->chart()->series(); }
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

    // Everyone: newest first, one series per pupil.
    QCOMPARE(f.column(f.table(), ExerciseTableModel::MarkColumn), (QStringList{"17", "15", "12"}));
    QCOMPARE(f.series().size(), 2);
    QCOMPARE(f.column(f.words(), WrongWordModel::DroppedColumn), (QStringList{"dort.", "lit"}));
    QCOMPARE(f.column(f.words(), WrongWordModel::CountColumn), (QStringList{"2", "1"}));
    QCOMPARE(f.column(f.words(), WrongWordModel::ExpectedColumn), (QStringList{"Le", "Le"}));

    filter->setCurrentIndex(filter->findText(QStringLiteral("Tom")));
    QCOMPARE(f.column(f.table(), ExerciseTableModel::MarkColumn), (QStringList{"17", "12"}));
    QCOMPARE(f.series().size(), 1);
    auto *tom = static_cast<QLineSeries *>(f.series().first());
    QCOMPARE(tom->count(), 2);
    QCOMPARE(tom->at(0).y(), 12.0);
    QCOMPARE(tom->at(1).y(), 17.0);

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
    QCOMPARE(notes->text(), QStringLiteral("« journal-2026-12-10.csv » : une ligne illisible ignorée.\n"
                                           "« notes.csv » n'est pas un journal de Plumalin : fichier ignoré."));
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
    QVERIFY(g.child<QLabel>(QStringLiteral("notes"))->text().startsWith(
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
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("written");
    QTest::newRow("chosen file") << QStringLiteral("bilan") << true;
    QTest::newRow("missing folder") << QStringLiteral("absent/bilan.csv") << false;
}

void TestFrmBilan::exportTable()
{
    QFETCH(QString, answer);
    QFETCH(bool, written);
    BilanFixture f;
    f.writeRecord(QStringLiteral("journal-2026-12-10.csv"),
                  recordBytes(exercise(QStringLiteral("2026-12-10"), QStringLiteral("Tom"), 17, QStringLiteral("lit"))));
    f.open();
    const QString path = f.env.dir.filePath(answer);
    f.env.files.answers = {path};
    QCOMPARE(f.window->Exporter(), written);
    QVERIFY(f.env.files.requests.first().initialPath.endsWith(QStringLiteral("bilan-2026-12-10.csv")));
    if (written) {
        QFile file(path + QStringLiteral(".csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF" "Date et heure;Élève;"));
        QVERIFY(bytes.endsWith("10/12/2026 09:00;Tom;animaux.txt;0;1;0;0;17;00:00:31\r\n"));
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
    auto *table = summary->findChild<QTableView *>(QStringLiteral("exercices"))->model();
    QCOMPARE(table->rowCount(), 1);
    QStringList row;
    for (int c = 0; c < ExerciseTableModel::ColumnCount; ++c)
        row.append(table->data(table->index(0, c)).toString());
    QCOMPARE(row, (QStringList{"10/12/2026 09:00", "Léa", "plumalin.txt", "5", "1", "0", "0", "20", "00:00:49"}));
    // The mark is the one the exercise wrote in its last line.
    QVERIFY(markLine.contains(QStringLiteral(" ") + row.at(ExerciseTableModel::MarkColumn) + QStringLiteral("/20")));

    const auto series = summary->findChild<QChartView *>(QStringLiteral("courbeNotes"))->chart()->series();
    QCOMPARE(series.size(), 1);
    QCOMPARE(static_cast<QLineSeries *>(series.first())->at(0).y(), 20.0);
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

QTEST_MAIN(TestFrmBilan)
#include "tst_frmbilan.moc"
