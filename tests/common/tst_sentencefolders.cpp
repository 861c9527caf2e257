#include "common/programfolder.h"
#include "common/sentencefolders.h"
#include "fakes/platformfakes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {
void put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(absent)");
}

// A fresh user folder, program folder and "elsewhere" folder; files given as "u:", "p:" or "e:"
// followed by a name, each holding `name` as its bytes unless given as "name=bytes".
struct Folders {
    QTemporaryDir dir;
    QByteArray savedHome = qgetenv("HOME");
    bool homeSet = qputenv("HOME", (dir.path() + QStringLiteral("/home")).toLocal8Bit());
    QString user = userPlumalinFolder();
    QString program = dir.path() + QStringLiteral("/bin");
    QString elsewhere = dir.path() + QStringLiteral("/ailleurs");
    FakeMessageBoxes messages;
    ~Folders() { qputenv("HOME", savedHome); }

    QString path(const QString &entry) const
    {
        const QString name = entry.mid(2).section(QLatin1Char('='), 0, 0);
        const QChar where = entry.at(0);
        return joinPath(where == QLatin1Char('u') ? user
                        : where == QLatin1Char('p') ? program : elsewhere, name);
    }
    void create(const QStringList &entries)
    {
        for (const QString &entry : entries) {
            const QString content = entry.contains(QLatin1Char('=')) ? entry.section(QLatin1Char('='), 1)
                                                                    : entry.mid(2);
            put(path(entry), content.toUtf8());
        }
    }
};
}

class TestSentenceFolders : public QObject
{
    Q_OBJECT
private slots:
    void programFolderOf_data();
    void programFolderOf();
    void userFolderIsInTheTestHome();
    void pathOf_data();
    void pathOf();
    void fileNames();
    void adopt_data();
    void adopt();
    void adoptReplaceQuestion_data();
    void adoptReplaceQuestion();
    void adoptFailedCopy_data();
    void adoptFailedCopy();
};

void TestSentenceFolders::programFolderOf_data()
{
    QTest::addColumn<QString>("executable"); // the program file's folder
    QTest::addColumn<QString>("folder");     // a folder made beside it; empty: none
    QTest::addColumn<QString>("file");       // a plain file made beside it; empty: none
    QTest::addColumn<QString>("found");

    QTest::newRow("build: data beside the program") << "build/bin" << "" << "" << "build/bin";
    QTest::newRow("installed: the data folder") << "usr/bin" << "usr/share/plumalin" << ""
                                                << "usr/share/plumalin";
    QTest::newRow("a file is no data folder") << "opt/bin" << "" << "opt/share/plumalin"
                                              << "opt/bin";
}

void TestSentenceFolders::programFolderOf()
{
    QFETCH(QString, executable);
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(QString, found);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(executable));
    if (!folder.isEmpty())
        QVERIFY(QDir(dir.path()).mkpath(folder));
    if (!file.isEmpty())
        put(dir.filePath(file), "not a folder");
    QCOMPARE(::programFolderOf(dir.filePath(executable)), dir.filePath(found));
}

void TestSentenceFolders::userFolderIsInTheTestHome()
{
    Folders f;
    QCOMPARE(f.user, f.dir.path() + QStringLiteral("/home/Documents/Plumalin"));
}

void TestSentenceFolders::pathOf_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("found"); // as a file entry

    QTest::newRow("program's folder only") << QStringList{"p:a.txt"} << "p:a.txt";
    QTest::newRow("user's folder only") << QStringList{"u:a.txt"} << "u:a.txt";
    QTest::newRow("both: the user's first") << QStringList{"p:a.txt", "u:a.txt"} << "u:a.txt";
    QTest::newRow("neither: the program's folder") << QStringList{"e:a.txt"} << "p:a.txt";
    QTest::newRow("another letter case is another file") << QStringList{"u:A.txt", "p:a.txt"}
                                                          << "p:a.txt";
}

void TestSentenceFolders::pathOf()
{
    QFETCH(QStringList, files);
    QFETCH(QString, found);
    Folders f;
    f.create(files);
    QCOMPARE(SentenceFolders::pathOf(QStringLiteral("a.txt"), f.program), f.path(found));
}

void TestSentenceFolders::fileNames()
{
    Folders f;
    QCOMPARE(SentenceFolders::fileNames(f.program), QStringList());
    f.create({"p:plumalin.txt", "p:zoo.txt", "p:lisez-moi.md", "p:.cache.txt", "u:plumalin.txt",
              "u:école.txt", "u:Animaux.txt", "u:notes.TXT.bak", "e:ailleurs.txt"});
    QDir().mkpath(f.user + QStringLiteral("/dossier.txt"));
    QCOMPARE(SentenceFolders::fileNames(f.program),
             (QStringList{"Animaux.txt", "école.txt", "plumalin.txt", "zoo.txt"}));
}

void TestSentenceFolders::adopt_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("chosen"); // as a file entry; the dialog may give a missing file
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("userFile"); // the user's file of that name afterwards

    QTest::newRow("in the user's folder") << QStringList{"u:a.txt"} << "u:a.txt" << "a.txt"
                                          << "a.txt";
    QTest::newRow("in the program's folder") << QStringList{"p:a.txt"} << "p:a.txt" << "a.txt"
                                             << "(absent)";
    QTest::newRow("typed in the program's folder, missing")
        << QStringList{} << "p:b.txt" << "b.txt" << "(absent)";
    QTest::newRow("elsewhere: copied") << QStringList{"e:a.txt=phrases"} << "e:a.txt" << "a.txt"
                                       << "phrases";
    QTest::newRow("elsewhere, hiding the program's file: copied")
        << QStringList{"e:plumalin.txt=miennes", "p:plumalin.txt"} << "e:plumalin.txt"
        << "plumalin.txt" << "miennes";
    QTest::newRow("elsewhere, same bytes as the user's file: nothing asked")
        << QStringList{"e:a.txt=x", "u:a.txt=x"} << "e:a.txt" << "a.txt" << "x";
    QTest::newRow("name ending in blanks: copied under the stored name")
        << QStringList{"e:ski.txt  =neige"} << "e:ski.txt  " << "ski.txt" << "neige";
}

void TestSentenceFolders::adopt()
{
    QFETCH(QStringList, files);
    QFETCH(QString, chosen);
    QFETCH(QString, name);
    QFETCH(QString, userFile);
    Folders f;
    f.create(files);
    QVERIFY(SentenceFolders::adopt(f.path(chosen), name, f.program, f.messages, nullptr));
    QCOMPARE(f.messages.shown.size(), 0);
    QCOMPARE(bytesOf(joinPath(f.user, name)), userFile.toUtf8());
    // The name now leads the exercise to the chosen file or its copy.
    if (QFileInfo::exists(f.path(chosen)))
        QCOMPARE(bytesOf(SentenceFolders::pathOf(name, f.program)), bytesOf(f.path(chosen)));
}

void TestSentenceFolders::adoptReplaceQuestion_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("adopted");
    QTest::addColumn<QByteArray>("userFile");

    QTest::newRow("elsewhere, yes") << "e:a.txt" << int(MessageBoxes::Yes) << true
                                    << QByteArray("nouvelles");
    QTest::newRow("elsewhere, no") << "e:a.txt" << int(MessageBoxes::No) << false
                                   << QByteArray("anciennes");
    // The program's file is hidden by the user's own: choosing it is asking for it.
    QTest::newRow("program's folder, hidden, yes") << "p:a.txt" << int(MessageBoxes::Yes) << true
                                                   << QByteArray("nouvelles");
}

void TestSentenceFolders::adoptReplaceQuestion()
{
    QFETCH(QString, chosen);
    QFETCH(int, answer);
    QFETCH(bool, adopted);
    QFETCH(QByteArray, userFile);
    Folders f;
    f.create({"u:a.txt=anciennes", chosen + QStringLiteral("=nouvelles")});
    f.messages.answers = {MessageBoxes::Button(answer)};

    QCOMPARE(SentenceFolders::adopt(f.path(chosen), QStringLiteral("a.txt"), f.program,
                                    f.messages, nullptr),
             adopted);
    QCOMPARE(f.messages.shown.size(), 1);
    const auto &question = f.messages.shown.first();
    QCOMPARE(question.text,
             QStringLiteral("Votre dossier « %1 » contient déjà un autre fichier « a.txt ».\n"
                            "Voulez-vous le remplacer par celui que vous avez choisi ?")
                 .arg(f.user));
    QCOMPARE(question.buttons, MessageBoxes::Yes | MessageBoxes::No);
    QCOMPARE(question.defaultButton, MessageBoxes::No);
    QCOMPARE(bytesOf(f.path("u:a.txt")), userFile);
}

void TestSentenceFolders::adoptFailedCopy_data()
{
    QTest::addColumn<QString>("blocker"); // what stands in the way, as a file entry
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("reason"); // part of the reason; %1: the user's folder, %2: the path

    QTest::newRow("missing file") << QString() << "e:absent.txt" << "« %2 »";
    QTest::newRow("a folder chosen") << QString() << "e:" << "« %2 » ne nomme aucun fichier.";
    QTest::newRow("user's folder cannot be made") << "e:../home/Documents/Plumalin"
                                                  << "e:a.txt"
                                                  << "Le dossier « %1 » ne peut pas être créé.";
}

void TestSentenceFolders::adoptFailedCopy()
{
    QFETCH(QString, blocker);
    QFETCH(QString, chosen);
    QFETCH(QString, reason);
    Folders f;
    f.create({"e:a.txt"});
    if (!blocker.isEmpty())
        f.create({blocker}); // a plain file where the user's folder should be

    const QString path = f.path(chosen);
    QVERIFY(!SentenceFolders::adopt(path, QFileInfo(path).fileName(), f.program, f.messages,
                                    nullptr));
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().icon, MessageBoxes::Warning);
    const QString text = f.messages.shown.first().text;
    QVERIFY2(text.startsWith(QStringLiteral("Le fichier de phrases n'a pas pu être copié dans votre "
                                            "dossier « %1 » ; l'exercice garde son fichier.\n\n")
                                 .arg(f.user)),
             qPrintable(text));
    QVERIFY2(text.contains(reason.replace(QStringLiteral("%1"), f.user)
                               .replace(QStringLiteral("%2"), path)),
             qPrintable(text));
    QVERIFY(!QFileInfo::exists(joinPath(f.user, QStringLiteral("a.txt"))));
}

QTEST_GUILESS_MAIN(TestSentenceFolders)
#include "tst_sentencefolders.moc"
