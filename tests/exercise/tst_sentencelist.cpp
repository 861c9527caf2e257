#include "exercise/sentencelist.h"
#include "logicenv.h"

#include "common/sentencefile.h"

#include <QtTest>

class tst_SentenceList : public QObject
{
    Q_OBJECT
private slots:
    void expandWord_data();
    void expandWord();
    void loadsTheFileNamedBySettings();
    void keepsAtMost129Records();
    void missingFileLoadsNothing();
};

void tst_SentenceList::expandWord_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("simple") << "Le chat dort." << 3 << QStringList{"Le", "chat", "dort.", ""};
    QTest::newRow("punctuation stays") << "Bonjour, Paul !" << 3
                                       << QStringList{"Bonjour,", "Paul", "!", ""};
    QTest::newRow("double space") << "Il a  faim" << 4 << QStringList{"Il", "a", "", "faim", ""};
    QTest::newRow("empty") << "" << 1 << QStringList{"", ""};
    QTest::newRow("leading space") << " l'école" << 2 << QStringList{"", "l'école", ""};
}

void tst_SentenceList::expandWord()
{
    QFETCH(QString, sentence);
    QFETCH(int, count);
    QFETCH(QStringList, words);
    ProgramState state;
    state.ListeMots.fill(QStringLiteral("old"));
    QCOMPARE(int(ExpandWord(state, sentence)), count);
    for (int i = 0; i < words.size(); ++i)
        QCOMPARE(state.ListeMots[i], words[i]);
}

void tst_SentenceList::loadsTheFileNamedBySettings()
{
    LogicEnv env;
    QVERIFY(SentenceFile::write(env.programFolder + "/plumalin.txt", {"a", "b", "c"}));
    QVERIFY(SentenceFile::write(env.programFolder + "/autre.txt", {"x", "y"}));
    QCOMPARE(ChargePhrases(env.state, env.settings, env.programFolder), SentenceLoad::Loaded);
    QCOMPARE(env.state.NbPhrasesChargees, 3);
    QCOMPARE(env.state.Phrases[0], QStringLiteral("a"));
    QCOMPARE(env.state.Phrases[2], QStringLiteral("c"));

    env.settings.SaveSetting(Settings::Fichier, "autre.txt");
    ChargePhrases(env.state, env.settings, env.programFolder);
    QCOMPARE(env.state.NbPhrasesChargees, 2);
    QCOMPARE(env.state.Phrases[0], QStringLiteral("x"));
    QCOMPARE(env.state.Phrases[2], QStringLiteral("c")); // slots beyond the count are untouched
}

void tst_SentenceList::keepsAtMost129Records()
{
    LogicEnv env;
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many.append(QString::number(i));
    QVERIFY(SentenceFile::write(env.programFolder + "/plumalin.txt", many));
    ChargePhrases(env.state, env.settings, env.programFolder);
    QCOMPARE(env.state.NbPhrasesChargees, 129);
    QCOMPARE(env.state.Phrases[128], QStringLiteral("128"));
}

void tst_SentenceList::missingFileLoadsNothing()
{
    LogicEnv env;
    env.state.NbPhrasesChargees = 5;
    QCOMPARE(ChargePhrases(env.state, env.settings, env.programFolder), SentenceLoad::Missing);
    QCOMPARE(env.state.NbPhrasesChargees, 0);
    QDir().mkpath(env.programFolder + "/plumalin.txt"); // a folder of that name
    QCOMPARE(ChargePhrases(env.state, env.settings, env.programFolder), SentenceLoad::Unreadable);
    QCOMPARE(env.state.NbPhrasesChargees, 0);
    QVERIFY(SentenceFile::write(env.programFolder + "/vide.txt", {}));
    env.settings.SaveSetting(Settings::Fichier, "vide.txt");
    QCOMPARE(ChargePhrases(env.state, env.settings, env.programFolder), SentenceLoad::Empty);
    QCOMPARE(env.state.NbPhrasesChargees, 0);
}

QTEST_MAIN(tst_SentenceList)
#include "tst_sentencelist.moc"
