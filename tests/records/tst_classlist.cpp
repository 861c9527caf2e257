// The class list: the pupils of a records folder, a pupil renamed (two spellings made one) and a
// pupil's lines deleted, every other byte of the files left as it was.
#include "recordfixtures.h"

#include "records/classlist.h"
#include "records/recordreader.h"
#include "records/recordwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {
// A records folder as a class leaves it: a day written by the program (with cells a spreadsheet
// would take for formulas, and a line cut short by a full disk), a day of the first form, and a
// file of someone else's that happens to name a pupil.
struct ClassFolder {
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("Journaux"));
    QString today;
    QString oldDay = QDir(folder).filePath(QStringLiteral("journal-2026-11-02.csv"));
    QString foreign = QDir(folder).filePath(QStringLiteral("notes.csv"));
    int number = 0;

    void write(RecordWriter &writer, const QString &pupil, const JournalEvent &event, qint64 at)
    {
        writer.setPupil(pupil);
        JournalEntry e;
        e.number = ++number;
        e.stampSecs = at;
        e.runMs = number * 1000;
        e.event = event;
        e.runId = QStringLiteral("r1");
        e.exercise = 1;
        writer.lineAdded(e);
    }

    ClassFolder()
    {
        RecordWriter writer(folder, QStringLiteral("salle1"));
        writer.setSentenceFileSource([] { return QStringLiteral("=animaux;\"CP\".txt"); });
        const qint64 at = QDateTime(QDate(2026, 12, 10), QTime(9, 0)).toSecsSinceEpoch();
        const QStringList pupils{QStringLiteral("Lea"), QStringLiteral("Léa"), QStringLiteral("Tom"),
                                 QStringLiteral("=Max"), QStringLiteral("Lea")};
        for (int i = 0; i < pupils.size(); ++i) {
            write(writer, pupils.at(i), JournalEvent::of(EventKind::ExerciseStart), at + i * 60);
            write(writer, pupils.at(i),
                  JournalEvent::wrongDrop(QStringLiteral("-Le; \"chat\""), QStringLiteral("@chat"),
                                          QStringLiteral("+Le")),
                  at + i * 60 + 5);
            write(writer, pupils.at(i), JournalEvent::mark(QString::number(12 + i)), at + i * 60 + 9);
        }
        writer.flush();
        today = writer.currentFile();
        // A torn line of Lea's (the disk filled inside a quoted cell), then one more of Tom's.
        QFile file(today);
        QVERIFY(file.open(QIODevice::Append));
        file.write("99;2026-12-10 10:00:00;\"Il pl;;non;Lea\r\n");
        file.close();
        write(writer, QStringLiteral("Tom"), JournalEvent::mark(QStringLiteral("20")), at + 3600);

        writeFile(oldDay,
                  recordBytes({{QStringLiteral("2026-11-02 09:00:00"), QStringLiteral("Debut de l'exercice."), false,
                                QStringLiteral("Lea"), QStringLiteral("animaux.txt")},
                               {QStringLiteral("2026-11-02 09:00:10"), QStringLiteral("=Le chien"), true,
                                QStringLiteral("Tom"), {}},
                               {QStringLiteral("2026-11-02 09:00:20"), QStringLiteral("L'élève a une note de 15/20"),
                                false, QStringLiteral("Lea"), {}}}));
        writeFile(foreign, "Nom;Remarque\r\nLea;Tom\r\n");
    }

    QStringList files() const
    {
        return {today, oldDay, foreign};
    }
    QMap<QString, qint64> counts() const
    {
        QMap<QString, qint64> counts;
        for (const ClassList::Pupil &p : ClassList::pupils(folder).pupils)
            counts.insert(p.name, p.lines);
        return counts;
    }
};

// Whether a raw line is a record of that pupil (the colour's cell comes just before the pupil's).
bool isPupilsLine(const QByteArray &line, const QByteArray &pupilCell)
{
    return line.contains(";non;" + pupilCell + ';') || line.contains(";oui;" + pupilCell + ';');
}
}

class TestClassList : public QObject
{
    Q_OBJECT
private slots:
    void pupilsAndTheirLines();
    void renameKeepsEveryOtherByte_data();
    void renameKeepsEveryOtherByte();
    void deletionKeepsEveryOtherByte();
    void fileThatCannotBeChangedIsTold_data();
    void fileThatCannotBeChangedIsTold();
    void writerFollowsTheRewrittenFile();
};

void TestClassList::pupilsAndTheirLines()
{
    ClassFolder c;
    const ClassList::Pupils read = ClassList::pupils(c.folder);
    QVERIFY(read.notes.isEmpty());
    QMap<QString, qint64> expected{{QStringLiteral("=Max"), 3}, {QStringLiteral("Lea"), 6 + 2},
                                   {QStringLiteral("Léa"), 3}, {QStringLiteral("Tom"), 4 + 1}};
    QCOMPARE(c.counts(), expected);
}

void TestClassList::renameKeepsEveryOtherByte_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QByteArray>("fromCell");
    QTest::addColumn<QByteArray>("toCell");
    QTest::addColumn<qint64>("lines");
    QTest::addColumn<int>("files");
    // Two spellings of one pupil become one: the lines of both read as one pupil's.
    QTest::newRow("merge") << "Lea" << "Léa" << QByteArray("Lea") << QByteArray("Léa") << qint64(8) << 2;
    // A name a spreadsheet would run, given one with the separator and quotes: both escaped.
    QTest::newRow("escaped") << "=Max" << "  Max; \"le grand\"\n" << QByteArray("'=Max")
                             << QByteArray("\"Max; \"\"le grand\"\"\"") << qint64(3) << 1;
}

void TestClassList::renameKeepsEveryOtherByte()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QByteArray, fromCell);
    QFETCH(QByteArray, toCell);
    QFETCH(qint64, lines);
    QFETCH(int, files);
    ClassFolder c;
    QMap<QString, QByteArray> before;
    for (const QString &path : c.files())
        before.insert(path, fileBytes(path));
    const QMap<QString, qint64> countsBefore = c.counts();

    const ClassList::Change change = ClassList::rename(c.folder, from, to);
    QVERIFY2(change.failures.isEmpty(), qPrintable(change.failures.join(QLatin1Char('\n'))));
    QCOMPARE(change.lines, lines);
    QCOMPARE(change.files, files);

    // Line by line: the pupil's lines differ by the pupil's cell only, the others not at all.
    qint64 changed = 0;
    for (const QString &path : c.files()) {
        const QList<QByteArray> old = before.value(path).split('\n');
        const QList<QByteArray> now = fileBytes(path).split('\n');
        QCOMPARE(now.size(), old.size());
        for (int i = 0; i < old.size(); ++i) {
            if (now.at(i) == old.at(i))
                continue;
            QVERIFY2(isPupilsLine(old.at(i), fromCell), old.at(i).constData());
            QByteArray expected = old.at(i);
            expected.replace(";" + fromCell + ";", ";" + toCell + ";");
            QCOMPARE(now.at(i), expected);
            ++changed;
        }
        QFileInfo info(path);
        if (before.value(path) != fileBytes(path))
            QCOMPARE(info.permissions() & 0x7777, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }
    QCOMPARE(changed, lines);

    // Read back: the new name has the lines of both, the records read without a note.
    const QString name = ClassList::cleanName(to);
    QCOMPARE(name, to.simplified());
    const QMap<QString, qint64> counts = c.counts();
    QVERIFY(!counts.contains(from));
    QCOMPARE(counts.value(name), countsBefore.value(from) + countsBefore.value(name));
    const RecordSet read = RecordReader::readFolder(c.folder);
    QCOMPARE(read.notes, (QStringList{QStringLiteral("« journal-2026-12-10-salle1.csv » : une ligne illisible ignorée."),
                                      QStringLiteral("« notes.csv » n'est pas un journal de Plumalin : fichier ignoré.")}));
}

void TestClassList::deletionKeepsEveryOtherByte()
{
    ClassFolder c;
    QMap<QString, QByteArray> expected;
    for (const QString &path : c.files()) {
        const QByteArray bytes = fileBytes(path);
        QByteArray kept;
        for (const QByteArray &line : bytes.split('\n')) {
            if (path == c.foreign || !isPupilsLine(line, "Tom"))
                kept += line + '\n';
        }
        kept.chop(1);
        expected.insert(path, kept);
    }
    const ClassList::Change change = ClassList::remove(c.folder, QStringLiteral("Tom"));
    QVERIFY(change.failures.isEmpty());
    QCOMPARE(change.lines, qint64(5));
    QCOMPARE(change.files, 2);
    for (const QString &path : c.files())
        QCOMPARE(fileBytes(path), expected.value(path));
    QVERIFY(!c.counts().contains(QStringLiteral("Tom")));
    QCOMPARE(ClassList::remove(c.folder, QStringLiteral("Tom")).lines, qint64(0));
}

void TestClassList::fileThatCannotBeChangedIsTold_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("told");
    QTest::newRow("read-only") << "readonly" << "« journal-2026-11-02.csv » est en lecture seule";
    QTest::newRow("not UTF-8") << "latin1" << "« journal-2026-11-02.csv » n'est pas écrit en UTF-8";
    QTest::newRow("link") << "link" << "« journal-2026-11-02.csv » est un lien";
}

void TestClassList::fileThatCannotBeChangedIsTold()
{
    QFETCH(QString, fault);
    QFETCH(QString, told);
    ClassFolder c;
    if (fault == QLatin1String("readonly")) {
        QVERIFY(QFile::setPermissions(c.oldDay, QFile::ReadOwner));
    } else if (fault == QLatin1String("latin1")) {
        QByteArray bytes = fileBytes(c.oldDay);
        bytes.replace("Debut", "D\xe9" "but");
        writeFile(c.oldDay, bytes);
    } else {
        const QString target = c.dir.filePath(QStringLiteral("ailleurs.csv"));
        QVERIFY(QFile::rename(c.oldDay, target));
        QVERIFY(QFile::link(target, c.oldDay));
    }
    const QByteArray before = fileBytes(c.oldDay);
    const ClassList::Change change = ClassList::remove(c.folder, QStringLiteral("Lea"));
    QCOMPARE(change.failures.size(), 1);
    QVERIFY2(change.failures.first().startsWith(told), qPrintable(change.failures.first()));
    QCOMPARE(fileBytes(c.oldDay), before);
    // The other file is done all the same.
    QCOMPARE(change.files, 1);
    QCOMPARE(change.lines, qint64(6));
    QVERIFY(!fileBytes(c.today).contains(";non;Lea;"));
}

// The program writing today's file goes on writing into the file that replaced it: no line goes
// to the file taken away, and the new lines follow the renamed ones.
void TestClassList::writerFollowsTheRewrittenFile()
{
    QTemporaryDir dir;
    RecordWriter writer(dir.path(), QStringLiteral("salle1"));
    ClassFolder c;
    const qint64 at = QDateTime(QDate(2026, 12, 10), QTime(9, 0)).toSecsSinceEpoch();
    c.write(writer, QStringLiteral("Lea"), JournalEvent::of(EventKind::ExerciseStart), at);
    c.write(writer, QStringLiteral("Lea"), JournalEvent::mark(QStringLiteral("14")), at + 5);
    QVERIFY(writer.flush());
    const QString path = writer.currentFile();
    QFile::Permissions mode = QFileInfo(path).permissions();

    QCOMPARE(ClassList::rename(dir.path(), QStringLiteral("Lea"), QStringLiteral("Léa")).lines, qint64(2));
    writer.setPupil(QStringLiteral("Léa"));
    c.write(writer, QStringLiteral("Léa"), JournalEvent::of(EventKind::ExerciseQuit), at + 9);
    QVERIFY(writer.flush());
    QVERIFY(writer.failure().isEmpty());
    QCOMPARE(writer.currentFile(), path);
    QCOMPARE(QFileInfo(path).permissions(), mode);

    const RecordSet read = RecordReader::readFolder(dir.path());
    QVERIFY(read.notes.isEmpty());
    QCOMPARE(read.lines.size(), std::size_t(3));
    for (const RecordLine &line : read.lines)
        QCOMPARE(line.pupil, QStringLiteral("Léa"));
    QCOMPARE(read.lines.back().kind, EventKind::ExerciseQuit);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

QTEST_GUILESS_MAIN(TestClassList)
#include "tst_classlist.moc"
