// The settings dialog's rules without its window: the line each stored entry selects, what
// opening stores, and the sentence files listed.
#include "fakes/platformfakes.h"

#include "common/programfolder.h"
#include "common/settingsstore.h"
#include "settings_dialog/settingschoices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString Absent = QStringLiteral("<absent>");

// A settings store, a program folder and a home folder of its own.
struct Env {
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/bin");
    SettingsStore store{dir.path() + QStringLiteral("/config")};
    SettingsChoices choices{store, folder};
    QByteArray savedHome = qgetenv("HOME");
    Env()
    {
        QDir().mkpath(folder);
        qputenv("HOME", (dir.path() + QStringLiteral("/home")).toLocal8Bit());
    }
    ~Env() { qputenv("HOME", savedHome); }
    QString stored(const SettingKey &key) const { return store.GetSetting(key, Absent); }
    void touch(const QString &name) const
    {
        QFile f(folder + QLatin1Char('/') + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\"Le chat dort.\"\r\n");
    }
};
}

class tst_SettingsChoices : public QObject
{
    Q_OBJECT
private slots:
    void emptyStore();
    void storedPosition_data();
    void storedPosition();
    void sentenceFilesInOrder();
    void storedFileSelection_data();
    void storedFileSelection();
    void folderWithoutSentenceFilesLeavesFichier();
};

void tst_SettingsChoices::emptyStore()
{
    Env env;
    const SettingsChoices::Selection selection = env.choices.load();
    QCOMPARE(selection.positions, (std::array<int, SettingsChoices::ListCount>{4, 4, 0, 0, 0, 0}));
    QCOMPARE(SettingsChoices::lines(SettingsChoices::Niveau).at(4), QStringLiteral("15 minutes"));
    QCOMPARE(SettingsChoices::lines(SettingsChoices::Niveau).at(0), QStringLiteral("3 minute"));
    QCOMPARE(SettingsChoices::lines(SettingsChoices::Hasard).at(4), QStringLiteral("2,5 minutes"));
    QCOMPARE(SettingsChoices::lines(SettingsChoices::Exercice).size(), 4);
    QCOMPARE(SettingsChoices::lines(SettingsChoices::Son), (QStringList{"Non", "Oui"}));
    QCOMPARE(SettingsChoices::lines(SettingsChoices::Lecture),
             (QStringList{"Non", "La phrase", "La phrase et les mots"}));
    QCOMPARE(SettingsChoices::lines(SettingsChoices::Vitesse), (QStringList{"Normale", "Lente"}));
    // Opening alone stores what it shows.
    QCOMPARE(env.stored(Settings::DureePhrase), QStringLiteral("4"));
    QCOMPARE(env.stored(Settings::DureeMot), QStringLiteral("4"));
    QCOMPARE(env.stored(Settings::NbPhrases), QStringLiteral("0"));
    QCOMPARE(env.stored(Settings::Son), QStringLiteral("0"));
    QCOMPARE(env.stored(Settings::LectureVoixHaute), QStringLiteral("0"));
    QCOMPARE(env.stored(Settings::VitesseLecture), QStringLiteral("0"));
    QCOMPARE(env.stored(Settings::Fichier), Absent); // no sentence file in the folder
    QCOMPARE(selection.file, -1);
}

void tst_SettingsChoices::storedPosition_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("shown");

    const int phrase = SettingsChoices::Niveau;
    QTest::newRow("phrase valid") << phrase << "2" << 2;
    QTest::newRow("phrase first") << phrase << "0" << 0;
    QTest::newRow("phrase blanks around") << phrase << " 1 " << 1;
    QTest::newRow("phrase too big") << phrase << "5" << 4;
    QTest::newRow("phrase negative") << phrase << "-1" << 4;
    QTest::newRow("phrase decimal") << phrase << "2.5" << 4;
    QTest::newRow("phrase letters") << phrase << "deux" << 4;
    QTest::newRow("phrase empty") << phrase << "" << 4;
    QTest::newRow("mot valid") << int(SettingsChoices::Hasard) << "1" << 1;
    QTest::newRow("mot huge") << int(SettingsChoices::Hasard) << "99999999999" << 4;
    QTest::newRow("exercices last") << int(SettingsChoices::Exercice) << "3" << 3;
    QTest::newRow("exercices out of range") << int(SettingsChoices::Exercice) << "4" << 0;
    QTest::newRow("exercices trailing letters") << int(SettingsChoices::Exercice) << "2x" << 0;
    QTest::newRow("son on") << int(SettingsChoices::Son) << "1" << 1;
    QTest::newRow("son two") << int(SettingsChoices::Son) << "2" << 0;
    QTest::newRow("lecture words") << int(SettingsChoices::Lecture) << "2" << 2;
    QTest::newRow("lecture out of range") << int(SettingsChoices::Lecture) << "3" << 0;
    QTest::newRow("vitesse slow") << int(SettingsChoices::Vitesse) << "1" << 1;
    QTest::newRow("vitesse letters") << int(SettingsChoices::Vitesse) << "lente" << 0;
}

void tst_SettingsChoices::storedPosition()
{
    QFETCH(int, list);
    QFETCH(QString, text);
    QFETCH(int, shown);
    Env env;
    const SettingKey &key = SettingsChoices::entry(SettingsChoices::List(list));
    QVERIFY(env.store.SaveSetting(key, text));
    QCOMPARE(env.choices.load().positions[size_t(list)], shown);
    QCOMPARE(env.stored(key), QString::number(shown));
}

void tst_SettingsChoices::sentenceFilesInOrder()
{
    Env env;
    for (const char *name : {"plumalin.txt", "b.txt", "Alpha.txt", "écoles.txt", "eau.txt",
                             ".cachée.txt", "notes.md", "texte.txt.bak"})
        env.touch(QString::fromUtf8(name));
    QVERIFY(QDir(env.folder).mkdir("dossier.txt"));
    // The user's own folder is listed with it, each name once.
    const QString own = userPlumalinFolder();
    QVERIFY(ensureFolder(own));
    for (const char *name : {"plumalin.txt", "b.txt", "Zèbre.txt", ".brouillon.txt"}) {
        QFile f(own + QLatin1Char('/') + QString::fromUtf8(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QCOMPARE(env.choices.load().files, (QStringList{"Alpha.txt", "b.txt", "eau.txt", "écoles.txt",
                                                    "plumalin.txt", "Zèbre.txt"}));
}

void tst_SettingsChoices::storedFileSelection_data()
{
    QTest::addColumn<QString>("fichier"); // what the store holds before; null: nothing
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("storedAfter");
    QTest::newRow("absent: the default file") << QString() << 1 << "plumalin.txt";
    QTest::newRow("listed, not first") << "plumalin.txt" << 1 << "plumalin.txt";
    QTest::newRow("listed first") << "a.txt" << 0 << "a.txt";
    QTest::newRow("no longer there") << "disparu.txt" << 0 << "a.txt";
    QTest::newRow("other letter case") << "Plumalin.txt" << 0 << "a.txt";
    QTest::newRow("blanks around") << " z.txt" << 0 << "a.txt";
}

void tst_SettingsChoices::storedFileSelection()
{
    QFETCH(QString, fichier);
    QFETCH(int, selected);
    QFETCH(QString, storedAfter);
    Env env;
    for (const char *name : {"a.txt", "plumalin.txt", "z.txt"})
        env.touch(QString::fromLatin1(name));
    if (!fichier.isNull())
        QVERIFY(env.store.SaveSetting(Settings::Fichier, fichier));
    QCOMPARE(env.choices.load().file, selected);
    QCOMPARE(env.stored(Settings::Fichier), storedAfter);
}

void tst_SettingsChoices::folderWithoutSentenceFilesLeavesFichier()
{
    Env env;
    env.touch(QStringLiteral("lisez-moi.md"));
    QVERIFY(env.store.SaveSetting(Settings::Fichier, QStringLiteral("mes phrases.txt")));
    const SettingsChoices::Selection selection = env.choices.load();
    QVERIFY(selection.files.isEmpty());
    QCOMPARE(selection.file, -1);
    QCOMPARE(env.stored(Settings::Fichier), QStringLiteral("mes phrases.txt"));
}

QTEST_GUILESS_MAIN(tst_SettingsChoices)
#include "tst_settingschoices.moc"
