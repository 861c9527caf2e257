// Saving and reading files on hostile disks: full, read-only, and special files in place of a
// sentence file.
#include "common/safefile.h"
#include "common/sentencefile.h"
#include "fakes/hostiledisk.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

QStringList sentencesOfBytes(qint64 bytes)
{
    QStringList list;
    qint64 total = 0;
    for (int i = 0; total < bytes; ++i) {
        list << QStringLiteral("Le petit chat numéro %1 dort sur le lit.").arg(i);
        total += list.last().size() + 4;
    }
    return list;
}

// Nothing but the named files in the folder: no half-written file left beside them.
QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}
}

class tst_SafeFile : public QObject
{
    Q_OBJECT
private slots:
    void fullDiskKeepsTheEarlierFile_data();
    void fullDiskKeepsTheEarlierFile();
    void readOnlyFolder_data();
    void readOnlyFolder();
    void specialFilesRefusedWithoutOpening_data();
    void specialFilesRefusedWithoutOpening();
    void sizeLimitIsInclusive();
    void unknownReasonIsNumbered();
};

void tst_SafeFile::fullDiskKeepsTheEarlierFile_data()
{
    QTest::addColumn<qint64>("earlierBytes");
    QTest::addColumn<qint64>("newBytes");
    QTest::addColumn<qint64>("freeLeft");
    QTest::addColumn<bool>("readOnlyFolder");

    // A short save once fitted in Qt's buffer and was lost by its final flush; a long one
    // filled the last 4 KB and was cut inside a sentence.
    QTest::newRow("short list, disk full") << qint64(300) << qint64(120) << qint64(0) << false;
    QTest::newRow("long list, 4 KB free") << qint64(9997) << qint64(9997) << qint64(4096) << false;
    QTest::newRow("in place, disk full") << qint64(300) << qint64(9997) << qint64(0) << true;
}

void tst_SafeFile::fullDiskKeepsTheEarlierFile()
{
    QFETCH(qint64, earlierBytes);
    QFETCH(qint64, newBytes);
    QFETCH(qint64, freeLeft);
    QFETCH(bool, readOnlyFolder);

    SmallDisk disk(64 * 1024);
    if (!disk.mounted())
        QSKIP(qPrintable(disk.why()));
    const QString folder = disk.path(QStringLiteral("classe"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/phrases.txt");
    QVERIFY(SentenceFile::write(path, sentencesOfBytes(earlierBytes)));
    const QByteArray earlier = fileBytes(path);
    QVERIFY(disk.fill(freeLeft));

    QString error;
    bool written = true;
    if (readOnlyFolder) {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther
                                                | QFile::WriteOther));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                  | QFile::ExeOther));
        AsOrdinaryUser user;
        written = SentenceFile::write(path, sentencesOfBytes(newBytes), &error);
    } else {
        written = SentenceFile::write(path, sentencesOfBytes(newBytes), &error);
    }
    QVERIFY(!written);
    QVERIFY2(error.contains(QStringLiteral("Plus de place sur le disque")), qPrintable(error));
    QVERIFY2(error.contains(path), qPrintable(error));
    QCOMPARE(fileBytes(path), earlier);
    QCOMPARE(filesIn(folder), QStringList{QStringLiteral("phrases.txt")});
}

void tst_SafeFile::readOnlyFolder_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<bool>("fileWritable");
    QTest::addColumn<bool>("written");

    QTest::newRow("writable file: written in place") << true << true << true;
    QTest::newRow("read-only file") << true << false << false;
    QTest::newRow("new file") << false << false << false;
}

void tst_SafeFile::readOnlyFolder()
{
    QFETCH(bool, fileExists);
    QFETCH(bool, fileWritable);
    QFETCH(bool, written);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/protege");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/phrases.txt");
    const auto all = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const auto enter = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    if (fileExists) {
        QVERIFY(SafeFile::write(path, "\"ancienne\"\r\n"));
        QVERIFY(QFile::setPermissions(path, fileWritable ? all | QFile::WriteOwner | QFile::WriteOther
                                                         : all));
    }
    QVERIFY(QFile::setPermissions(dir.path(), all | enter | QFile::WriteOwner));
    QVERIFY(QFile::setPermissions(folder, all | enter));
    const QByteArray earlier = fileBytes(path);

    QString error;
    bool ok = false;
    {
        AsOrdinaryUser user;
        if (QFile(folder + QStringLiteral("/essai")).open(QIODevice::WriteOnly))
            QSKIP("This user may write into read-only folders");
        if (!QFileInfo::exists(folder))
            QSKIP("The temporary folder cannot be reached by an ordinary user");
        ok = SafeFile::write(path, "\"nouvelle\"\r\n", &error);
    }
    QCOMPARE(ok, written);
    if (written) {
        QCOMPARE(fileBytes(path), QByteArray("\"nouvelle\"\r\n"));
        QVERIFY(QFileInfo(path).permissions() & QFile::WriteOther);
    } else {
        QVERIFY2(error.contains(QStringLiteral("Permission refusée")), qPrintable(error));
        QCOMPARE(fileBytes(path), earlier);
    }
    QVERIFY(QFile::setPermissions(folder, all | enter | QFile::WriteOwner));
}

void tst_SafeFile::specialFilesRefusedWithoutOpening_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");

    QTest::newRow("named pipe") << "fifo" << "n'est pas un fichier ordinaire";
    QTest::newRow("link to /dev/zero") << "zero" << "n'est pas un fichier ordinaire";
    QTest::newRow("sparse 65 MB file") << "sparse" << "trop grand";
    QTest::newRow("folder named x.txt") << "folder" << "est un dossier";
    QTest::newRow("missing file") << "missing" << "introuvable";
    QTest::newRow("link to nothing") << "dangling" << "introuvable";
}

void tst_SafeFile::specialFilesRefusedWithoutOpening()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.path() + QStringLiteral("/x.txt");
    const QByteArray native = QFile::encodeName(path);
    if (kind == "fifo") {
        QCOMPARE(::mkfifo(native.constData(), 0644), 0);
    } else if (kind == "zero") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else if (kind == "sparse") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(65 * 1024 * 1024));
    } else if (kind == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "dangling") {
        QVERIFY(QFile::link(dir.path() + QStringLiteral("/absent.txt"), path));
    }

    // An open that blocks ends the whole test program here, as a failure.
    ::alarm(20);
    QString error;
    const auto bytes = SafeFile::read(path, SafeFile::DefaultMaxBytes, &error);
    QString sentenceError;
    const auto sentences = SentenceFile::read(path, -1, &sentenceError);
    ::alarm(0);
    QVERIFY(!bytes);
    QVERIFY(!sentences);
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY2(error.contains(path), qPrintable(error));
    QCOMPARE(sentenceError, error);
}

void tst_SafeFile::sizeLimitIsInclusive()
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/dix.txt");
    const QString link = dir.path() + QStringLiteral("/lien.txt");
    QVERIFY(SafeFile::write(path, "0123456789"));
    QVERIFY(QFile::link(path, link));
    QCOMPARE(SafeFile::read(path, 10).value_or("<refused>"), QByteArray("0123456789"));
    QCOMPARE(SafeFile::read(link, 10).value_or("<refused>"), QByteArray("0123456789"));
    QVERIFY(!SafeFile::read(path, 9));
    QVERIFY(SafeFile::write(path, QByteArray()));
    QCOMPARE(SafeFile::read(path, 10).value_or("<refused>"), QByteArray());
}

void tst_SafeFile::unknownReasonIsNumbered()
{
    QCOMPARE(SafeFile::systemReason(12345), QStringLiteral("Erreur du système n° 12345"));
}

QTEST_GUILESS_MAIN(tst_SafeFile)
#include "tst_safefile.moc"
