#include "exercise/sentencedeck.h"
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
    SentenceDeck deck;
    QStringList old;
    for (int i = 0; i < SentenceDeck::WordSlots; ++i)
        old << QStringLiteral("old");
    deck.load({old.join(' ')});
    deck.play(0);
    QCOMPARE(int(deck.ExpandWord(sentence)), count);
    for (int i = 0; i < words.size(); ++i)
        QCOMPARE(deck.word(i), words[i]);
}

void tst_SentenceList::loadsTheFileNamedBySettings()
{
    LogicEnv env;
    QVERIFY(SentenceFile::write(env.programFolder + "/plumalin.txt", {"a", "b", "c"}));
    QVERIFY(SentenceFile::write(env.programFolder + "/autre.txt", {"x", "y"}));
    SentenceDeck deck;
    QCOMPARE(deck.ChargePhrases(env.settings, env.programFolder), SentenceLoad::Loaded);
    QCOMPARE(deck.count(), 3);
    QCOMPARE(deck.sentence(0), QStringLiteral("a"));
    QCOMPARE(deck.sentence(2), QStringLiteral("c"));

    env.settings.SaveSetting(Settings::Fichier, "autre.txt");
    deck.ChargePhrases(env.settings, env.programFolder);
    QCOMPARE(deck.count(), 2);
    QCOMPARE(deck.sentence(0), QStringLiteral("x"));
    QCOMPARE(deck.sentence(2), QStringLiteral("c")); // slots beyond the count are untouched
}

void tst_SentenceList::keepsAtMost129Records()
{
    LogicEnv env;
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many.append(QString::number(i));
    QVERIFY(SentenceFile::write(env.programFolder + "/plumalin.txt", many));
    SentenceDeck deck;
    deck.ChargePhrases(env.settings, env.programFolder);
    QCOMPARE(deck.count(), 129);
    QCOMPARE(deck.sentence(128), QStringLiteral("128"));
}

void tst_SentenceList::missingFileLoadsNothing()
{
    LogicEnv env;
    SentenceDeck deck;
    deck.load({"a", "b", "c", "d", "e"});
    QCOMPARE(deck.ChargePhrases(env.settings, env.programFolder), SentenceLoad::Missing);
    QCOMPARE(deck.count(), 0);
    QDir().mkpath(env.programFolder + "/plumalin.txt"); // a folder of that name
    QCOMPARE(deck.ChargePhrases(env.settings, env.programFolder), SentenceLoad::Unreadable);
    QCOMPARE(deck.count(), 0);
    QVERIFY(SentenceFile::write(env.programFolder + "/vide.txt", {}));
    env.settings.SaveSetting(Settings::Fichier, "vide.txt");
    QCOMPARE(deck.ChargePhrases(env.settings, env.programFolder), SentenceLoad::Empty);
    QCOMPARE(deck.count(), 0);
}

QTEST_MAIN(tst_SentenceList)
#include "tst_sentencelist.moc"
