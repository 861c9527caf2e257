// The records without any window: writing journal lines to the day's file, reading record
// files back, and the summary of the exercises they hold.
#include "recordfixtures.h"

#include "fakes/hostiledisk.h"
#include "fakes/platformfakes.h"
#include "common/csv.h"
#include "journal/journal.h"
#include "records/recordreader.h"
#include "records/recordwriter.h"
#include "records/summary.h"
#include "records/summarycache.h"
#include "records/summarymodels.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <condition_variable>
#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// A server that stops answering: the writer's thread is held at its next touch of the disk
// until the test lets it go (or, should the test never do it, for ten seconds).
struct SilentServer {
    std::mutex mutex;
    std::condition_variable changed;
    bool held = false;
    bool released = false;
    bool gaveUp = false;

    void hold()
    {
        std::unique_lock lock(mutex);
        held = true;
        changed.notify_all();
        gaveUp = !changed.wait_for(lock, std::chrono::seconds(10), [this] { return released; });
    }
    bool waitUntilHeld()
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [this] { return held; });
    }
    void release()
    {
        std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
};

qint64 at(int day, int hour, int minute, int second)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, second)).toSecsSinceEpoch();
}

JournalEntry entry(int number, qint64 stampSecs, const JournalEvent &event, int exercise = 0,
                   qint64 runMs = 0, const QString &run = QStringLiteral("r1"))
{
    JournalEntry e;
    e.number = number;
    e.stampSecs = stampSecs;
    e.runMs = runMs;
    e.event = event;
    e.runId = run;
    e.exercise = exercise;
    return e;
}

// One copy of the program on one computer: its clock, journal and records.
struct Copy {
    FakeClock clock;
    RecordWriter writer;
    Journal journal{clock};

    Copy(const QString &folder, const QString &computer, const QDateTime &start)
        : writer(folder, computer)
    {
        clock.current = start;
        writer.setSentenceFileSource([] { return QStringLiteral("animaux.txt"); });
        journal.setListener(&writer);
        journal.ensureCreated();
        writer.flush();
    }
    void event(const JournalEvent &e, int seconds = 5)
    {
        clock.advance(seconds);
        journal.record(e);
        writer.flush();
    }
    // "Le chat dort." with one wrong drop.
    void sentence()
    {
        event(JournalEvent::rightDrop(QStringLiteral("Le"), QStringLiteral("Le")));
        event(JournalEvent::wrongDrop(QStringLiteral("Le dort."), QStringLiteral("dort."), QStringLiteral("chat")));
        event(JournalEvent::rightDrop(QStringLiteral("Le chat"), QStringLiteral("chat")));
        event(JournalEvent::rightDrop(QStringLiteral("Le chat dort."), QStringLiteral("dort.")));
        event(JournalEvent::sentenceEnd(1), 1);
    }
};

// Each exercise of the table as "date|pupil|file|played|wrong|hints|timed out|mark|time".
QStringList tableRows(const std::vector<ExerciseSummary> &exercises)
{
    ExerciseTableModel model;
    model.setExercises(exercises);
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < ExerciseTableModel::ColumnCount; ++c) {
            if (c != ExerciseTableModel::ListensColumn)
                cells.append(model.cellText(r, c));
        }
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
    void defaultFolderAskedWhenNeeded();
    void eachDayHasItsFile();
    void lineSplitsIntoItsCells_data();
    void lineSplitsIntoItsCells();
    void localTimeAcrossClockChanges_data();
    void localTimeAcrossClockChanges();
    void fileOfAnotherFormIsLeftAlone();
    void lineCutShortStaysAlone();
    void lastLineBeingWritten();
    void failureIsToldOnce_data();
    void failureIsToldOnce();
    void abruptEndLosesNoWholeLine();
    void severalComputersOneFolder();
    void writerFollowsItsFile_data();
    void writerFollowsItsFile();
    void danglingLinkIsNotFollowed();
    void fullDayFileStartsAPart();
    void privateUnderAnyUmask();
    void folderThatDisappears();
    void serverBackWithoutNewLines();
    void serverThatStopsAnswering();
    void serverStillSilentAtTheEnd();
    void serverSilentForHours();
    void failureComesThroughTheEventLoop();
    void fullDiskIsToldInFrench();
    void formulaCellsReadBackUnchanged();

    void summaryOfFixtures_data();
    void summaryOfFixtures();
    void summaryOfRuns_data();
    void summaryOfRuns();
    void oldFormReadsAsBefore();
    void filterByPupilAndPeriod();
    void reopeningReadsOnlyChangedFiles();
    void summaryNotesAFileItCannotRead();
    void tableExportsAsCsv();
};

void TestRecords::linesReachTheFileInOrder()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Plumalin/Journaux"));
    QString runId;
    {
        Copy copy(folder, QStringLiteral("salle 1/é"), QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        runId = copy.journal.runId();
        copy.writer.setPupil(QStringLiteral("  Léa\nMartin "));
        copy.event(JournalEvent::of(EventKind::ExerciseStart));
        copy.event(JournalEvent::wrongDrop(QStringLiteral("Le; \"chat\"\r\ndort"), QStringLiteral("dort"),
                                           QStringLiteral("chat")), 54);
        QVERIFY(copy.writer.failure().isEmpty());
        QCOMPARE(copy.writer.currentFile(),
                 QDir(folder).filePath(QStringLiteral("journal-2026-12-10-salle_1__.csv")));
    }
    // A second run the same day on the same computer adds to the same file.
    Copy again(folder, QStringLiteral("salle 1/é"), QDateTime(QDate(2026, 12, 10), QTime(9, 1)));
    QVERIFY(again.journal.runId() != runId);

    const QStringList files = QDir(folder).entryList(QDir::Files);
    QCOMPARE(files, QStringList{QStringLiteral("journal-2026-12-10-salle_1__.csv")});
    const QByteArray bytes = fileBytes(QDir(folder).filePath(files.first()));
    QVERIFY(bytes.startsWith(RecordFormat::headerBytes()));
    QCOMPARE(bytes.count(RecordFormat::headerBytes()), 1);
    QVERIFY(bytes.endsWith("\r\n"));
    // A record is one line: the line break of a text is not written.
    QCOMPARE(bytes.count('\n'), 5);
    QVERIFY(bytes.contains(("2;2026-12-10 09:00:05;Debut de l'exercice.;;non;Léa Martin;animaux.txt;debut;;;;;"
                            + runId + ";1;5000;salle 1/é\r\n").toUtf8()));

    const RecordSet set = RecordReader::readFolder(folder);
    QVERIFY2(set.notes.isEmpty(), qPrintable(set.notes.join(QLatin1Char('\n'))));
    QCOMPARE(set.lines.size(), std::size_t(4));
    QList<EventKind> kinds;
    for (const RecordLine &line : set.lines)
        kinds.append(line.kind);
    QCOMPARE(kinds, (QList<EventKind>{EventKind::ProgramStart, EventKind::ExerciseStart,
                                      EventKind::WrongDrop, EventKind::ProgramStart}));
    const RecordLine &wrong = set.lines[2];
    QCOMPARE(wrong.value, QStringLiteral("Le; \"chat\"  dort"));
    QCOMPARE(wrong.word, QStringLiteral("dort"));
    QCOMPARE(wrong.expected, QStringLiteral("chat"));
    QCOMPARE(wrong.pupil, QStringLiteral("Léa Martin"));
    QCOMPARE(wrong.computer, QStringLiteral("salle 1/é"));
    QCOMPARE(wrong.run, runId);
    QCOMPARE(wrong.exercise, 1);
    QCOMPARE(wrong.runMs, 59000);
    QVERIFY(wrong.red && !set.lines[1].red);
    QCOMPARE(set.lines[1].sentenceFile, QStringLiteral("animaux.txt"));
    QCOMPARE(RecordFormat::toDateTime(wrong.when), QDateTime(QDate(2026, 12, 10), QTime(9, 0, 59)));
    QVERIFY(set.lines[3].run != runId);
}

void TestRecords::defaultFolderAskedWhenNeeded()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Documents/Plumalin/Journaux"));
    int asked = 0;
    const auto defaultFolder = [&asked, folder] {
        ++asked;
        return folder;
    };
    const JournalEntry start = entry(1, at(10, 9, 0, 0), JournalEvent::of(EventKind::ExerciseStart));
    {
        // Not at start: once, at the first line, which goes to the folder made for it.
        RecordWriter writer(defaultFolder, QStringLiteral("salle1"));
        QCOMPARE(asked, 0);
        writer.lineAdded(start);
        writer.lineAdded(entry(2, at(10, 9, 0, 5), JournalEvent::of(EventKind::ExerciseShown)));
        QVERIFY(writer.flush());
        QCOMPARE(asked, 1);
        QCOMPARE(writer.folder(), folder);
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 1);
        QVERIFY(writer.failure().isEmpty());
    }
    {
        // The summary asks for the folder before any line: it is looked up then.
        RecordWriter writer(defaultFolder, QStringLiteral("salle1"));
        QCOMPARE(writer.folder(), folder);
        QCOMPARE(asked, 2);
    }
    {
        // A folder the teacher chose first: the default one is never looked up.
        const QString chosen = dir.filePath(QStringLiteral("serveur"));
        QVERIFY(QDir().mkpath(chosen));
        RecordWriter writer(defaultFolder, QStringLiteral("salle1"));
        writer.setFolder(chosen, false);
        writer.lineAdded(start);
        QVERIFY(writer.flush());
        QCOMPARE(writer.folder(), chosen);
        QCOMPARE(QDir(chosen).entryList(QDir::Files).size(), 1);
    }
    {
        // A run that records nothing never looks it up.
        RecordWriter writer(defaultFolder, QStringLiteral("salle1"));
        QVERIFY(writer.finish().isEmpty());
    }
    QCOMPARE(asked, 2);
}

void TestRecords::eachDayHasItsFile()
{
    QTemporaryDir dir;
    RecordWriter writer(dir.path(), QStringLiteral("salle1"));
    writer.lineAdded(entry(2, at(10, 23, 59, 59), JournalEvent::rightDrop(QStringLiteral("Le"), QStringLiteral("Le"))));
    writer.lineAdded(entry(3, at(11, 0, 0, 1), JournalEvent::rightDrop(QStringLiteral("Le chat"), QStringLiteral("chat"))));
    // The clock set back a day: the line stays in the file of the day the run had reached.
    writer.lineAdded(entry(4, at(10, 0, 0, 2), JournalEvent::rightDrop(QStringLiteral("Le chat dort"), QStringLiteral("dort"))));
    writer.flush();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             (QStringList{QStringLiteral("journal-2026-12-10-salle1.csv"),
                          QStringLiteral("journal-2026-12-11-salle1.csv")}));
    const RecordSet set = RecordReader::readFolder(dir.path());
    QCOMPARE(set.lines.size(), std::size_t(3));
    QCOMPARE(set.lines[2].value, QStringLiteral("Le chat dort"));
}

void TestRecords::lineSplitsIntoItsCells_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("cells"); // empty: a quote left open
    const QByteArray seven(7, 'a'), eight(8, 'b'), nine(9, 'c');
    QTest::newRow("short") << QByteArray("1;oui;") << QStringList{"1", "oui", ""};
    QTest::newRow("semicolon at 7") << seven + ";x" << QStringList{seven, "x"};
    QTest::newRow("semicolon at 8") << eight + ";x" << QStringList{eight, "x"};
    QTest::newRow("semicolon at 9") << nine + ";x" << QStringList{nine, "x"};
    QTest::newRow("long cells") << seven + eight + ";" + nine + nine + ";;" + eight + eight
                                << QStringList{seven + eight, nine + nine, "", eight + eight};
    QTest::newRow("quoted semicolons") << QByteArray("\"Le; chat;\";\"x\"\"y;\";") + nine
                                       << QStringList{"Le; chat;", "x\"y;", nine};
    QTest::newRow("quote left open") << QByteArray("a;\"Il pl") << QStringList();
    QTest::newRow("accents") << QByteArray("Léa Martin;élève;à") << QStringList{"Léa Martin", "élève", "à"};
}

void TestRecords::lineSplitsIntoItsCells()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, cells);
    std::array<QByteArrayView, 8> raw;
    const int count = Csv::splitLine(line, raw.data(), int(raw.size()));
    if (cells.isEmpty()) {
        QCOMPARE(count, -1);
        return;
    }
    QStringList read;
    for (int i = 0; i < count; ++i)
        read.append(Csv::readCell(raw[std::size_t(i)]));
    QCOMPARE(read, cells);
}

void TestRecords::localTimeAcrossClockChanges_data()
{
    QTest::addColumn<QDateTime>("local");
    QTest::newRow("winter") << QDateTime(QDate(2026, 12, 10), QTime(9, 0, 59));
    QTest::newRow("summer") << QDateTime(QDate(2026, 6, 10), QTime(16, 30));
    QTest::newRow("spring change, before") << QDateTime(QDate(2026, 3, 29), QTime(1, 59, 59));
    QTest::newRow("spring change, after") << QDateTime(QDate(2026, 3, 29), QTime(3, 0));
    QTest::newRow("autumn change, repeated hour") << QDateTime(QDate(2026, 10, 25), QTime(2, 30));
    QTest::newRow("autumn change, after") << QDateTime(QDate(2026, 10, 25), QTime(3, 0, 1));
}

void TestRecords::localTimeAcrossClockChanges()
{
    // A record's local time is an instant that the system shows as that very time, on the days
    // the clocks change too.
    QFETCH(QDateTime, local);
    const QByteArray outer = qgetenv("TZ");
    qputenv("TZ", "Europe/Paris");
    ::tzset();
    const QDateTime read = RecordFormat::toDateTime(
        RecordFormat::localSeconds(local.date(), local.time().msecsSinceStartOfDay() / 1000));
    const time_t instant = time_t(read.toSecsSinceEpoch());
    struct tm shown;
    const bool converted = ::localtime_r(&instant, &shown) != nullptr;
    if (outer.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", outer);
    ::tzset();
    QVERIFY(converted);
    QCOMPARE(QDateTime(QDate(shown.tm_year + 1900, shown.tm_mon + 1, shown.tm_mday),
                       QTime(shown.tm_hour, shown.tm_min, shown.tm_sec), Qt::UTC),
             QDateTime(local.date(), local.time(), Qt::UTC));
    QCOMPARE(read.date(), local.date());
    QCOMPARE(read.time(), local.time());
}

void TestRecords::fileOfAnotherFormIsLeftAlone()
{
    QTemporaryDir dir;
    const QString foreign = dir.filePath(QStringLiteral("journal-2026-12-10-salle1.csv"));
    const QByteArray teacherNotes = "Notes de la maîtresse\r\nLéa lit bien.\r\n";
    writeFile(foreign, teacherNotes);
    RecordWriter writer(dir.path(), QStringLiteral("salle1"));
    writer.lineAdded(entry(2, at(10, 9, 0, 0), JournalEvent::rightDrop(QStringLiteral("Le"), QStringLiteral("Le"))));
    writer.flush();
    QVERIFY(writer.failure().isEmpty());
    QCOMPARE(fileBytes(foreign), teacherNotes);
    QCOMPARE(writer.currentFile(), dir.filePath(QStringLiteral("journal-2026-12-10-salle1-2.csv")));

    const RecordSet set = RecordReader::readFolder(dir.path());
    QCOMPARE(set.lines.size(), std::size_t(1));
    QCOMPARE(set.notes, QStringList{QStringLiteral("« journal-2026-12-10-salle1.csv » n'est pas un journal de "
                                                   "Plumalin : fichier ignoré.")});
}

void TestRecords::lineCutShortStaysAlone()
{
    // A disk that filled up in the middle of a line, under an earlier version, left half of it.
    QTemporaryDir dir;
    RecordWriter first(dir.path(), QStringLiteral("salle1"));
    first.lineAdded(entry(2, at(10, 9, 0, 0), JournalEvent::rightDrop(QStringLiteral("Le"), QStringLiteral("Le")), 1));
    first.flush();
    const QString path = first.currentFile();
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("3;2026-12-10 09:00:05;\"Il pl");
    }
    RecordWriter writer(dir.path(), QStringLiteral("salle1"));
    writer.lineAdded(entry(4, at(10, 9, 1, 0), JournalEvent::rightDrop(QStringLiteral("Le chat"), QStringLiteral("chat")), 1));
    writer.flush();
    const RecordSet set = RecordReader::readFolder(dir.path());
    QCOMPARE(set.lines.size(), std::size_t(2));
    QCOMPARE(set.lines[1].value, QStringLiteral("Le chat"));
    QCOMPARE(set.notes, QStringList{QStringLiteral("« journal-2026-12-10-salle1.csv » : une ligne illisible ignorée.")});
}

// A reader that comes while a line is being written (or after a copy was cut off in the middle
// of one) sees the start of it only: it is read once whole, and is no damage meanwhile.
void TestRecords::lastLineBeingWritten()
{
    QTemporaryDir dir;
    RecordWriter writer(dir.path(), QStringLiteral("salle1"));
    writer.lineAdded(entry(2, at(10, 9, 0, 0), JournalEvent::rightDrop(QStringLiteral("Le"), QStringLiteral("Le")), 1));
    writer.lineAdded(entry(3, at(10, 9, 0, 5), JournalEvent::rightDrop(QStringLiteral("Le chat"), QStringLiteral("chat")), 1));
    QVERIFY(writer.flush());
    const QString path = writer.currentFile();
    const QByteArray whole = fileBytes(path);
    const qsizetype lastStart = whole.lastIndexOf("\r\n", whole.size() - 3) + 2;
    // Cut at every place but the line end, down to the line's first byte.
    for (qsizetype cut : {whole.size() - 1, whole.size() - 2, lastStart + 40, lastStart + 1}) {
        writeFile(path, whole.first(cut));
        const RecordSet set = RecordReader::readFolder(dir.path());
        QVERIFY2(set.notes.isEmpty(), qPrintable(set.notes.join(QLatin1Char('\n'))));
        QCOMPARE(set.lines.size(), std::size_t(1));
        QCOMPARE(set.lines[0].value, QStringLiteral("Le"));
    }
    writeFile(path, whole);
    const RecordSet set = RecordReader::readFolder(dir.path());
    QCOMPARE(set.lines.size(), std::size_t(2));
    QCOMPARE(set.lines[1].value, QStringLiteral("Le chat"));
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
    RecordWriter writer(folder.isEmpty() ? folder : dir.filePath(folder), QStringLiteral("salle1"));
    QStringList told;
    writer.setFailureHandler([&told](const QString &text) { told.append(text); });
    for (int n = 1; n <= 3; ++n)
        writer.lineAdded(entry(n, at(10, 9, 0, n), JournalEvent::rightDrop(QStringLiteral("Le"), QStringLiteral("Le")),
                               0, n * 5000));
    writer.flush();
    QCOMPARE(told.size(), 1);
    QVERIFY(told.first().startsWith(QStringLiteral("Le journal n'a pas pu être enregistré")));
    QCOMPARE(writer.waitingLines(), 3);
    QVERIFY(writer.failure().contains(QStringLiteral("attendent en mémoire")));
}

void TestRecords::abruptEndLosesNoWholeLine()
{
    QTemporaryDir dir;
    QProcess child;
    child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/records_child"),
                {dir.path(), QStringLiteral("salle1")});
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
        QCOMPARE(set.lines[i].value, QStringLiteral("=Le chat; \"dort\" %1").arg(i + 1));
        QCOMPARE(set.lines[i].red, (i + 1) % 3 == 0);
    }
}

void TestRecords::severalComputersOneFolder()
{
    // A school's shared folder: four computers, two copies of the program on the first one,
    // all writing at once.
    QTemporaryDir dir;
    const int lines = 2000;
    std::vector<std::unique_ptr<QProcess>> children;
    const QStringList computers{QStringLiteral("salle1"), QStringLiteral("salle1"), QStringLiteral("salle2"),
                                QStringLiteral("cm1-a"), QStringLiteral("bibliotheque")};
    for (int i = 0; i < computers.size(); ++i) {
        auto child = std::make_unique<QProcess>();
        // Two copies on one computer are two runs.
        child->start(QCoreApplication::applicationDirPath() + QStringLiteral("/records_child"),
                     {dir.path(), computers[i], QString::number(lines)});
        children.push_back(std::move(child));
    }
    for (auto &child : children) {
        QVERIFY(child->waitForFinished(60000));
        QCOMPARE(child->exitCode(), 0);
    }
    const RecordSet set = RecordReader::readFolder(dir.path());
    QVERIFY2(set.notes.isEmpty(), qPrintable(set.notes.join(QLatin1Char('\n'))));
    QCOMPARE(set.lines.size(), std::size_t(lines * computers.size()));
    QMap<QString, int> perComputer;
    for (const RecordLine &line : set.lines)
        ++perComputer[line.computer];
    QCOMPARE(perComputer.value(QStringLiteral("salle1")), 2 * lines);
    QCOMPARE(perComputer.value(QStringLiteral("bibliotheque")), lines);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}

void TestRecords::writerFollowsItsFile_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("replaced by a copy") << QStringLiteral("replaced");
    QTest::newRow("deleted") << QStringLiteral("deleted");
    QTest::newRow("renamed") << QStringLiteral("renamed");
}

void TestRecords::writerFollowsItsFile()
{
    QFETCH(QString, what);
    QTemporaryDir dir;
    RecordWriter writer(dir.path(), QStringLiteral("salle1"));
    const auto line = [&writer](int n) {
        writer.lineAdded(entry(n, at(10, 9, 0, n), JournalEvent::rightDrop(QStringLiteral("ligne %1").arg(n), QString()), 1));
        writer.flush();
    };
    line(1);
    const QString path = writer.currentFile();
    if (what == QLatin1String("replaced")) {
        // As a spreadsheet saves: a copy written beside, then renamed over the file.
        const QString copy = dir.filePath(QStringLiteral("copie.tmp"));
        QVERIFY(QFile::copy(path, copy));
        QVERIFY(::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData()) == 0);
    } else if (what == QLatin1String("deleted")) {
        QVERIFY(QFile::remove(path));
    } else {
        QVERIFY(QFile::rename(path, dir.filePath(QStringLiteral("ancien.txt"))));
    }
    line(2);
    line(3);
    QVERIFY(writer.failure().isEmpty());
    const QByteArray bytes = fileBytes(path);
    QVERIFY(bytes.startsWith(RecordFormat::headerBytes()));
    QVERIFY(bytes.contains("ligne 2"));
    QVERIFY(bytes.contains("ligne 3"));
    QCOMPARE(bytes.contains("ligne 1"), what == QLatin1String("replaced"));
}

void TestRecords::danglingLinkIsNotFollowed()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("ailleurs.csv"));
    const QString name = dir.filePath(QStringLiteral("journal-2026-12-10-salle1.csv"));
    QVERIFY(QFile::link(target, name));
    RecordWriter writer(dir.path(), QStringLiteral("salle1"));
    writer.lineAdded(entry(1, at(10, 9, 0, 0), JournalEvent::of(EventKind::ProgramStart)));
    writer.flush();
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(writer.currentFile(), dir.filePath(QStringLiteral("journal-2026-12-10-salle1-2.csv")));
    QVERIFY(writer.failure().isEmpty());
}

void TestRecords::fullDayFileStartsAPart()
{
    // A day's file as large as the summary reads: the lines go to the day's next part.
    QTemporaryDir dir;
    const QString full = dir.filePath(QStringLiteral("journal-2026-12-10-salle1.csv"));
    {
        QFile file(full);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(RecordFormat::headerBytes());
        QVERIFY(file.resize(RecordReader::MaxFileSize - 100)); // sparse: nothing written
    }
    RecordWriter writer(dir.path(), QStringLiteral("salle1"));
    writer.lineAdded(entry(1, at(10, 9, 0, 0), JournalEvent::of(EventKind::ProgramStart)));
    writer.flush();
    QCOMPARE(writer.currentFile(), dir.filePath(QStringLiteral("journal-2026-12-10-salle1-2.csv")));
    QCOMPARE(QFileInfo(full).size(), RecordReader::MaxFileSize - 100);
    QVERIFY(writer.failure().isEmpty());
}

void TestRecords::privateUnderAnyUmask()
{
    QTemporaryDir dir;
    const mode_t old = ::umask(022);
    RecordWriter writer(dir.filePath(QStringLiteral("Plumalin/Journaux")), QStringLiteral("salle1"));
    writer.lineAdded(entry(1, at(10, 9, 0, 0), JournalEvent::of(EventKind::ProgramStart)));
    writer.flush();
    ::umask(old);
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(writer.folder()).constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 0777), 0700);
    QCOMPARE(::stat(QFile::encodeName(writer.currentFile()).constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 0777), 0600);
}

void TestRecords::folderThatDisappears()
{
    // The shared folder of a server that is unplugged, then back.
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("serveur"));
    QVERIFY(QDir().mkpath(folder));
    RecordWriter writer(dir.path(), QStringLiteral("salle1"));
    writer.setFolder(folder, false);
    QStringList told;
    writer.setFailureHandler([&told](const QString &text) { told.append(text); });
    int n = 0;
    qint64 ms = 0;
    const auto line = [&](int seconds) {
        ++n;
        ms += seconds * 1000;
        writer.lineAdded(entry(n, at(10, 9, 0, 0) + ms / 1000,
                               JournalEvent::rightDrop(QStringLiteral("ligne %1").arg(n), QString()), 1, ms));
        writer.flush();
    };
    line(1);
    QVERIFY(QDir(folder).removeRecursively());
    for (int i = 0; i < 5; ++i)
        line(1);
    QVERIFY(!QFileInfo::exists(folder)); // not made again in the server's place
    QCOMPARE(writer.waitingLines(), 5);
    QCOMPARE(told.size(), 1);
    QVERIFY(QDir().mkpath(folder));
    line(5); // the next try comes a moment later, with the next line
    QCOMPARE(writer.waitingLines(), 0);
    QVERIFY(writer.failure().isEmpty());
    const RecordSet set = RecordReader::readFolder(folder);
    QCOMPARE(set.lines.size(), std::size_t(6)); // the first file went with the folder
    for (std::size_t i = 0; i < set.lines.size(); ++i)
        QCOMPARE(set.lines[i].value, QStringLiteral("ligne %1").arg(i + 2));
    QCOMPARE(told.size(), 1);
}

void TestRecords::serverBackWithoutNewLines()
{
    // The last line of the day waits for a server that comes back after the pupils left.
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("serveur"));
    RecordWriter writer(dir.path(), QStringLiteral("salle1"));
    writer.setFolder(folder, false);
    writer.lineAdded(entry(1, at(10, 16, 30, 0), JournalEvent::of(EventKind::ExerciseQuit), 1));
    writer.flush();
    QCOMPARE(writer.waitingLines(), 1);
    QVERIFY(QDir().mkpath(folder));
    QTRY_COMPARE_WITH_TIMEOUT(writer.waitingLines(), 0, 4 * int(RecordWriter::RetryMs));
    QCOMPARE(RecordReader::readFolder(folder).lines.size(), std::size_t(1));
}

void TestRecords::serverThatStopsAnswering()
{
    QTemporaryDir dir;
    auto server = std::make_shared<SilentServer>();
    QString path;
    {
        RecordWriter writer(dir.path(), QStringLiteral("salle1"));
        writer.setBeforeDiskWork([server] { server->hold(); });
        const auto line = [&writer](int n) {
            writer.lineAdded(entry(n, at(10, 9, 0, 0), JournalEvent::rightDrop(QStringLiteral("ligne %1").arg(n), QString()),
                                   1, n * 1000));
        };
        line(1);
        QVERIFY(server->waitUntilHeld());
        // The calls of the window's thread come back while the disk does not answer.
        for (int n = 2; n <= 200; ++n)
            line(n);
        QVERIFY(!writer.flush(0));
        QVERIFY(writer.failure().isEmpty());
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        server->release();
        // The last lines are only handed over: the writer's end puts them on the disk.
        line(201);
        line(202);
    }
    QVERIFY(!server->gaveUp);
    const RecordSet set = RecordReader::readFolder(dir.path());
    QVERIFY(set.notes.isEmpty());
    QCOMPARE(set.lines.size(), std::size_t(202));
    for (std::size_t i = 0; i < set.lines.size(); ++i)
        QCOMPARE(set.lines[i].value, QStringLiteral("ligne %1").arg(i + 1));
}

void TestRecords::serverStillSilentAtTheEnd()
{
    // The program ends while the server has not answered for a while: it waits a moment, then
    // tells what the records will miss instead of hanging.
    QTemporaryDir dir;
    auto server = std::make_shared<SilentServer>();
    QString lost;
    // A folder that is not there: once let go, the writer's thread makes no file that would
    // outlive the test.
    const QString folder = dir.filePath(QStringLiteral("serveur"));
    {
        RecordWriter writer(folder, QStringLiteral("salle1"));
        writer.setFolder(folder, false);
        writer.setBeforeDiskWork([server] { server->hold(); });
        for (int n = 1; n <= 5; ++n)
            writer.lineAdded(entry(n, at(10, 9, 0, n), JournalEvent::of(EventKind::ProgramStart)));
        QVERIFY(server->waitUntilHeld());
        lost = writer.finish();
    }
    server->release();
    QVERIFY(!server->gaveUp);
    QCOMPARE(lost, QStringLiteral("Le journal n'a pas pu être enregistré dans le dossier « %1 » (le dossier ne répond "
                                  "pas) : 5 lignes manqueront au bilan.")
                       .arg(QDir::toNativeSeparators(folder)));
}

void TestRecords::serverSilentForHours()
{
    // Lines handed over while the disk does not answer are kept up to the limit; the next ones
    // are lost, and told once.
    QTemporaryDir dir;
    auto server = std::make_shared<SilentServer>();
    RecordWriter writer(dir.path(), QStringLiteral("salle1"));
    QStringList told;
    writer.setFailureHandler([&told](const QString &text) { told.append(text); });
    writer.setBeforeDiskWork([server] { server->hold(); });
    const QString text(200, QLatin1Char('a'));
    int n = 0;
    const auto line = [&] {
        ++n;
        writer.lineAdded(entry(n, at(10, 9, 0, 0), JournalEvent::rightDrop(text, QString::number(n)), 1, n));
    };
    line();
    QVERIFY(server->waitUntilHeld());
    while (told.isEmpty() && n < 1000000)
        line();
    const int kept = n - 1;
    QVERIFY(kept > 20000); // hours of play
    line();
    QCOMPARE(told.size(), 1);
    QVERIFY2(writer.failure().endsWith(QStringLiteral("2 lignes manqueront au bilan.")), qPrintable(writer.failure()));
    server->release();
    QVERIFY(writer.flush());
    const RecordSet set = RecordReader::readFolder(dir.path());
    QCOMPARE(set.lines.size(), std::size_t(kept));
    QCOMPARE(set.lines.back().word, QString::number(kept));
}

void TestRecords::failureComesThroughTheEventLoop()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("occupé")), "x");
    RecordWriter writer(dir.filePath(QStringLiteral("occupé/Journaux")), QStringLiteral("salle1"));
    QStringList told;
    writer.setFailureHandler([&told](const QString &text) { told.append(text); });
    writer.lineAdded(entry(1, at(10, 9, 0, 0), JournalEvent::of(EventKind::ProgramStart)));
    QTRY_COMPARE(told.size(), 1);
    QCOMPARE(writer.waitingLines(), 1);
    QCOMPARE(told.first(), writer.failure());
}

void TestRecords::fullDiskIsToldInFrench()
{
    SmallDisk disk(64 * 1024);
    if (!disk.mounted())
        QSKIP(qPrintable(disk.why()));
    RecordWriter writer(disk.path(QStringLiteral("Journaux")), QStringLiteral("salle1"));
    writer.lineAdded(entry(1, at(10, 9, 0, 0), JournalEvent::of(EventKind::ProgramStart)));
    writer.flush();
    QVERIFY(disk.fill(20));
    // A page of the disk may still have room for a few lines.
    for (int n = 2; n <= 60; ++n)
        writer.lineAdded(entry(n, at(10, 9, 0, n), JournalEvent::rightDrop(QStringLiteral("Il pleut sur la ville"), QString()), 1, n * 1000));
    writer.flush();
    QVERIFY2(writer.failure().contains(QStringLiteral("Plus de place sur le disque")), qPrintable(writer.failure()));
    // No line cut short is left behind.
    QVERIFY(fileBytes(writer.currentFile()).endsWith("\r\n"));
    QVERIFY(QFile::remove(disk.path(QStringLiteral("remplissage"))));
    QVERIFY(writer.flushWaiting());
    const RecordSet set = RecordReader::readFolder(writer.folder());
    QVERIFY(set.notes.isEmpty());
    QCOMPARE(set.lines.size(), std::size_t(60));
}

void TestRecords::formulaCellsReadBackUnchanged()
{
    QTemporaryDir dir;
    RecordWriter writer(dir.path(), QStringLiteral("salle1"));
    writer.setPupil(QStringLiteral("=HYPERLINK(\"x\")"));
    const QStringList texts{QStringLiteral("=1+1"), QStringLiteral("+33"), QStringLiteral("-2"),
                            QStringLiteral("@SUM(A1)"), QStringLiteral("'=déjà"), QStringLiteral("'simple")};
    for (int i = 0; i < texts.size(); ++i)
        writer.lineAdded(entry(i + 1, at(10, 9, 0, i), JournalEvent::rightDrop(texts[i], texts[i]), 1));
    writer.flush();
    const QByteArray bytes = fileBytes(writer.currentFile());
    for (const QString &text : texts)
        QVERIFY(!bytes.contains(";" + text.toUtf8()));
    const RecordSet set = RecordReader::readFolder(dir.path());
    QCOMPARE(set.lines.size(), std::size_t(texts.size()));
    for (int i = 0; i < texts.size(); ++i) {
        QCOMPARE(set.lines[std::size_t(i)].value, texts[i]);
        QCOMPARE(set.lines[std::size_t(i)].pupil, QStringLiteral("=HYPERLINK(\"x\")"));
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

void TestRecords::summaryOfRuns_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("notes");

    QTest::newRow("two copies interleaved")
        << QStringLiteral("two copies")
        << QStringList{"10/12/2026 09:00|Léa|animaux.txt|1|1|0|0|19|00:00:21",
                       "10/12/2026 09:00|Tom|animaux.txt|1|1|0|0|20|00:00:30"}
        << QStringList();
    QTest::newRow("Commencer twice")
        << QStringLiteral("twice")
        << QStringList{"10/12/2026 09:00|Léa|animaux.txt|2|2|0|0|19|00:00:47"} << QStringList();
    QTest::newRow("several computers, one day")
        << QStringLiteral("computers")
        << QStringList{"10/12/2026 09:00|Léa|animaux.txt|1|1|0|0|19|00:00:21",
                       "10/12/2026 09:00|Tom|animaux.txt|1|1|0|0|19|00:00:21"}
        << QStringList();
    QTest::newRow("clock set back mid-exercise")
        << QStringLiteral("clock back")
        << QStringList{"10/12/2026 09:00|Léa|animaux.txt|2|2|0|0|19|00:00:42",
                       "10/12/2026 09:01|Tom|animaux.txt|1|1|0|0|19|00:00:21"}
        << QStringList();
    QTest::newRow("unclosed quote")
        << QStringLiteral("unclosed quote")
        << QStringList{"10/12/2026 09:00|Léa|animaux.txt|1|0|0|0|19|00:00:21"}
        << QStringList{"« journal-2026-12-10-salle1.csv » : une ligne illisible ignorée."};
    QTest::newRow("torn line from a full disk")
        << QStringLiteral("torn")
        << QStringList{"10/12/2026 09:00|Léa|animaux.txt|1|1|0|0|19|00:00:21"}
        << QStringList{"« journal-2026-12-10-salle1.csv » : une ligne illisible ignorée."};
    QTest::newRow("Latin-1 body")
        << QStringLiteral("latin1") << QStringList()
        << QStringList{"« journal-2026-12-10-salle1.csv » n'est pas écrit en UTF-8 : fichier ignoré."};
    QTest::newRow("a row longer than its columns")
        << QStringLiteral("long row")
        << QStringList{"10/12/2026 09:00|Léa|animaux.txt|1|1|0|0|19|00:00:21"}
        << QStringList{"« journal-2026-12-10-salle1.csv » : 2 lignes illisibles ignorées."};
}

void TestRecords::summaryOfRuns()
{
    QFETCH(QString, scenario);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, notes);
    QTemporaryDir dir;
    const QDateTime nine(QDate(2026, 12, 10), QTime(9, 0));
    const auto exercise = [](Copy &c, const QString &pupil, bool finish = true) {
        c.writer.setPupil(pupil);
        c.event(JournalEvent::of(EventKind::ExerciseStart));
        c.sentence();
        if (finish)
            c.event(JournalEvent::mark(QStringLiteral("19")), 0);
    };
    const auto append = [](const QString &path, const QByteArray &bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write(bytes);
    };
    if (scenario == QLatin1String("two copies")) {
        Copy a(dir.path(), QStringLiteral("salle1"), nine);
        Copy b(dir.path(), QStringLiteral("salle1"), nine);
        a.writer.setPupil(QStringLiteral("Léa"));
        b.writer.setPupil(QStringLiteral("Tom"));
        a.event(JournalEvent::of(EventKind::ExerciseStart));
        b.event(JournalEvent::of(EventKind::ExerciseStart));
        a.event(JournalEvent::rightDrop(QStringLiteral("Le"), QStringLiteral("Le")));
        // The second copy starts again while the first one plays: nothing of the first is cut.
        Copy c(dir.path(), QStringLiteral("salle1"), nine);
        b.event(JournalEvent::wrongDrop(QStringLiteral("Il dort."), QStringLiteral("dort."), QStringLiteral("pleut")));
        a.event(JournalEvent::wrongDrop(QStringLiteral("Le dort."), QStringLiteral("dort."), QStringLiteral("chat")));
        b.event(JournalEvent::rightDrop(QStringLiteral("Il"), QStringLiteral("Il")), 20);
        a.event(JournalEvent::rightDrop(QStringLiteral("Le chat"), QStringLiteral("chat")));
        a.event(JournalEvent::rightDrop(QStringLiteral("Le chat dort."), QStringLiteral("dort.")));
        a.event(JournalEvent::sentenceEnd(1), 1);
        a.event(JournalEvent::mark(QStringLiteral("19")), 0);
        b.event(JournalEvent::sentenceEnd(1), 5);
        b.event(JournalEvent::mark(QStringLiteral("20")), 0);
    } else if (scenario == QLatin1String("twice")) {
        Copy a(dir.path(), QStringLiteral("salle1"), nine);
        exercise(a, QStringLiteral("Léa"), false);
        a.event(JournalEvent::of(EventKind::ExerciseShown));
        a.sentence();
        a.event(JournalEvent::mark(QStringLiteral("19")), 0);
    } else if (scenario == QLatin1String("computers")) {
        Copy a(dir.path(), QStringLiteral("salle1"), nine);
        Copy b(dir.path(), QStringLiteral("salle2"), nine);
        exercise(a, QStringLiteral("Léa"));
        exercise(b, QStringLiteral("Tom"));
    } else if (scenario == QLatin1String("clock back")) {
        Copy a(dir.path(), QStringLiteral("salle1"), nine);
        exercise(a, QStringLiteral("Léa"), false);
        a.clock.current = a.clock.current.addDays(-1); // a wrong date put right mid-exercise
        a.sentence();
        a.event(JournalEvent::mark(QStringLiteral("19")), 0);
        a.clock.current = a.clock.current.addDays(1);
        a.clock.advance(60);
        exercise(a, QStringLiteral("Tom"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    } else {
        Copy a(dir.path(), QStringLiteral("salle1"), nine);
        exercise(a, QStringLiteral("Léa"));
        const QString path = a.writer.currentFile();
        QByteArray bytes = fileBytes(path);
        if (scenario == QLatin1String("unclosed quote")) {
            const qsizetype at = bytes.indexOf("Le dort.");
            bytes.insert(at, '"');
            writeFile(path, bytes);
        } else if (scenario == QLatin1String("torn")) {
            writeFile(path, bytes + "9;2026-12-10 09:01:00;\"Il pl");
            a.writer.setPupil(QStringLiteral("Tom"));
            a.event(JournalEvent::of(EventKind::ConsultSummary));
        } else if (scenario == QLatin1String("latin1")) {
            writeFile(path, bytes + QStringLiteral("9;2026-12-10 09:01:00;Léa\r\n").toLatin1());
        } else if (scenario == QLatin1String("long row")) {
            const QByteArray lastLine = bytes.mid(bytes.lastIndexOf("\r\n", bytes.size() - 3) + 2);
            append(path, lastLine.chopped(2) + ";de trop\r\n" + QByteArray(100000, ';') + "\r\n");
        }
    }
    const RecordSet set = RecordReader::readFolder(dir.path());
    QCOMPARE(set.notes, notes);
    QCOMPARE(tableRows(Summary::exercises(set.lines)), rows);
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

void TestRecords::reopeningReadsOnlyChangedFiles()
{
    QTemporaryDir dir;
    const QDateTime nine(QDate(2026, 12, 10), QTime(9, 0));
    Copy a(dir.path(), QStringLiteral("salle1"), nine);
    Copy b(dir.path(), QStringLiteral("salle2"), nine);
    a.writer.setPupil(QStringLiteral("Léa"));
    b.writer.setPupil(QStringLiteral("Tom"));
    a.event(JournalEvent::of(EventKind::ExerciseStart));
    a.sentence();
    b.event(JournalEvent::of(EventKind::ExerciseStart));
    b.sentence();
    b.event(JournalEvent::mark(QStringLiteral("19")), 0);

    SummaryCache cache;
    const auto rows = [&cache, &dir] { return tableRows(cache.read(dir.path()).exercises); };
    QCOMPARE(rows(), (QStringList{"10/12/2026 09:00|Léa|animaux.txt|1|1|0|0||00:00:21",
                                  "10/12/2026 09:00|Tom|animaux.txt|1|1|0|0|19|00:00:21"}));
    QCOMPARE(cache.filesRead(), 2);
    rows();
    QCOMPARE(cache.filesRead(), 0);

    // Léa's exercise goes on the next day, in a new file; Tom's file is not read again.
    a.clock.current = a.clock.current.addDays(1);
    a.sentence();
    a.event(JournalEvent::mark(QStringLiteral("18")), 0);
    QCOMPARE(rows(), (QStringList{"10/12/2026 09:00|Léa|animaux.txt|2|2|0|0|18|00:00:42",
                                  "10/12/2026 09:00|Tom|animaux.txt|1|1|0|0|19|00:00:21"}));
    QCOMPARE(cache.filesRead(), 1);
    // The same as reading the folder whole.
    QCOMPARE(rows(), tableRows(Summary::exercises(RecordReader::readFolder(dir.path()).lines)));

    QVERIFY(QFile::remove(b.writer.currentFile()));
    QCOMPARE(rows().size(), 1);
    QCOMPARE(cache.filesRead(), 0);
}

void TestRecords::summaryNotesAFileItCannotRead()
{
    QTemporaryDir dir;
    Copy a(dir.path(), QStringLiteral("salle1"), QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    a.event(JournalEvent::of(EventKind::ExerciseStart));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("parti.csv")), dir.filePath(QStringLiteral("journal-lien.csv"))));
    SummaryCache cache;
    const SummaryCache::Result result = cache.read(dir.path());
    QCOMPARE(result.exercises.size(), std::size_t(1));
    QCOMPARE(result.notes.size(), 1);
    QVERIFY2(result.notes.first().startsWith(QStringLiteral("« journal-lien.csv » : fichier ignoré.")),
             qPrintable(result.notes.first()));
}

void TestRecords::tableExportsAsCsv()
{
    ExerciseSummary e;
    e.start = RecordFormat::localSeconds(QDate(2026, 12, 10), 9 * 3600);
    e.end = e.start + 125;
    e.spent = 125;
    e.pupil = QStringLiteral("Léa; \"Lili\"");
    e.sentenceFile = QStringLiteral("=phrases.txt");
    e.sentencesPlayed = 5;
    e.wrongDrops = 4;
    e.mark = 19;
    ExerciseTableModel model;
    model.setExercises({e});
    QCOMPARE(model.toCsv(),
             QByteArray("\xEF\xBB\xBF"
                        "Date et heure;Élève;Fichier de phrases;Phrases jouées;Mots mal placés;Mots bleus;"
                        "Phrases hors temps;Note sur 20;Temps passé;Écoutes\r\n"
                        "10/12/2026 09:00;\"Léa; \"\"Lili\"\"\";'=phrases.txt;5;4;0;0;19;00:02:05;0\r\n"));
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
