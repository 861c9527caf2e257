#include "exercise/exerciserules.h"
#include "exercise/sentencedeck.h"
#include "exercise/sentencelist.h"
#include "logicenv.h"

#include "journal/journalevent.h"

#include <QtTest>

using namespace ExerciseRules;

class tst_ExerciseRules : public QObject
{
    Q_OBJECT
private slots:
    void check_data();
    void check();
    void expectedWord_data();
    void expectedWord();
    void completion();
    void limits_data();
    void limits();
    void sentencesPerExercise_data();
    void sentencesPerExercise();
    void mark_data();
    void mark();
    void texts();
    void tilePositionStaysInItsRectangle();
    void pickSentenceSkipsUnplayableSentences();
    void playable_data();
    void playable();
    void scatterNeverOverlaps();
    void scatterKeepsTheLastDrawWhenFull();
    void scatterKeepsLongWordsOnTheScene();
    void keepInScene_data();
    void keepInScene();
    void readingOrder_data();
    void readingOrder();
};

void tst_ExerciseRules::check_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("tile");
    QTest::addColumn<QString>("candidate");
    QTest::addColumn<bool>("correct");
    const QString chat = QStringLiteral("Le chat dort.");
    QTest::newRow("first word") << chat << "" << " Le " << "Le" << true;
    QTest::newRow("wrong word") << chat << "Le" << " dort. " << "Le dort." << false;
    QTest::newRow("second word") << chat << "Le" << " chat " << "Le chat" << true;
    QTest::newRow("last word") << chat << "Le chat" << " dort. " << "Le chat dort." << true;
    QTest::newRow("case counts") << chat << "" << " le " << "le" << false;
    QTest::newRow("accents count") << "Un élève" << "Un" << " eleve " << "Un eleve" << false;
    QTest::newRow("beginning of a word is wrong") << "un ami a" << "un" << " a " << "un a" << false;
    QTest::newRow("word after it is right") << "un ami a" << "un" << " ami " << "un ami" << true;
    QTest::newRow("beginning of the last word") << chat << "Le chat" << " do " << "Le chat do"
                                                 << false;
    QTest::newRow("beyond the sentence") << chat << "Le chat dort." << " Le " << "Le chat dort. Le"
                                         << false;
    QTest::newRow("blank on empty answer") << chat << "" << "  " << "" << true;
    QTest::newRow("blank on an answer") << chat << "Le chat" << "  " << "Le chat" << true;
    QTest::newRow("double space in the sentence") << "Il a  faim" << "Il a" << " faim "
                                                  << "Il a faim" << true;
    QTest::newRow("leading space in the sentence") << " l'école" << "" << " l'école "
                                                   << "l'école" << true;
}

void tst_ExerciseRules::check()
{
    QFETCH(QString, sentence);
    QFETCH(QString, answer);
    QFETCH(QString, tile);
    QFETCH(QString, candidate);
    QFETCH(bool, correct);
    const QString proposed = ExerciseRules::candidate(answer, tile);
    QCOMPARE(proposed, candidate);
    QCOMPARE(isCorrectBeginning(proposed, sentence), correct);
}

void tst_ExerciseRules::expectedWord_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("expected");
    QTest::newRow("start") << "Le chat dort." << "" << "Le";
    QTest::newRow("middle") << "Le chat dort." << "Le" << "chat";
    QTest::newRow("last") << "Le chat dort." << "Le chat" << "dort.";
    QTest::newRow("complete") << "Le chat dort." << "Le chat dort." << "";
    QTest::newRow("repeated word") << "le chat le chien" << "le chat" << "le";
    QTest::newRow("double space") << "Il a  faim" << "Il a" << "faim";
}

void tst_ExerciseRules::expectedWord()
{
    QFETCH(QString, sentence);
    QFETCH(QString, answer);
    QFETCH(QString, expected);
    QCOMPARE(expectedNextWord(answer, sentence), expected);
}

void tst_ExerciseRules::completion()
{
    QVERIFY(isComplete("Le chat dort.", "Le chat dort."));
    QVERIFY(isComplete("Le chat dort.", "  Le chat dort. "));
    QVERIFY(isComplete("Il a faim", "Il a  faim"));
    QVERIFY(!isComplete("Le chat", "Le chat dort."));
    QVERIFY(!isComplete("le chat dort.", "Le chat dort."));
}

void tst_ExerciseRules::limits_data()
{
    QTest::addColumn<QString>("mot"); // null: the key is absent
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<double>("wordSeconds");
    QTest::addColumn<double>("sentenceSeconds");
    QTest::addColumn<double>("minutes");
    QTest::newRow("absent") << QString() << QString() << 180.0 << 720.0 << 12.0;
    QTest::newRow("first positions") << "0" << "0" << 30.0 << 180.0 << 3.0;
    QTest::newRow("last positions") << "4" << "4" << 150.0 << 900.0 << 15.0;
    QTest::newRow("not a number") << "abc" << "x" << 30.0 << 180.0 << 3.0;
    QTest::newRow("leading number") << " 2 ans" << "1;" << 90.0 << 360.0 << 6.0;
}

void tst_ExerciseRules::limits()
{
    QFETCH(QString, mot);
    QFETCH(QString, phrase);
    LogicEnv env;
    if (!mot.isNull())
        env.settings.SaveSetting(Settings::DureeMot, mot);
    if (!phrase.isNull())
        env.settings.SaveSetting(Settings::DureePhrase, phrase);
    QTEST(wordLimitSeconds(env.settings), "wordSeconds");
    QTEST(sentenceLimitSeconds(env.settings), "sentenceSeconds");
    QTEST(sentenceLimitMinutes(env.settings), "minutes");
}

void tst_ExerciseRules::sentencesPerExercise_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<double>("sentences");
    QTest::newRow("absent") << QString() << 30.0;
    QTest::newRow("0") << "0" << 5.0;
    QTest::newRow("2") << "2" << 15.0;
    QTest::newRow("3") << "3" << 20.0;
    QTest::newRow("not a number") << "beaucoup" << 5.0;
    QTest::newRow("negative: one sentence") << "-3" << 1.0;
}

void tst_ExerciseRules::sentencesPerExercise()
{
    QFETCH(QString, stored);
    LogicEnv env;
    if (!stored.isNull())
        env.settings.SaveSetting(Settings::NbPhrases, stored);
    QTEST(ExerciseRules::sentencesPerExercise(env.settings), "sentences");
}

void tst_ExerciseRules::mark_data()
{
    QTest::addColumn<int>("errors");
    QTest::addColumn<double>("sentences");
    QTest::addColumn<double>("mark");
    QTest::addColumn<QString>("bubble");
    QTest::addColumn<QString>("line");
    QTest::newRow("N5 E0") << 0 << 5.0 << 20.0 << "Ta note est 20/20" << "L'élève a une note de 20/20";
    QTest::newRow("N5 E4") << 4 << 5.0 << 19.0 << "Ta note est 19/20" << "L'élève a une note de 19/20";
    QTest::newRow("N5 E10") << 10 << 5.0 << 10.0 << "Ta note est 10/20"
                            << "L'élève a une note de 10/20";
    QTest::newRow("N5 E15") << 15 << 5.0 << -2.0 << "Tu as ZERO!" << "L'élève a une note de Zéro.";
    QTest::newRow("N10 E5") << 5 << 10.0 << 19.0 << "Ta note est 19/20"
                            << "L'élève a une note de 19/20";
    QTest::newRow("N10 E14") << 14 << 10.0 << 11.0 << "Ta note est 11/20"
                             << "L'élève a une note de 11/20";
    QTest::newRow("N10 E20: exactly zero") << 20 << 10.0 << 0.0 << "Tu as ZERO!"
                                           << "L'élève a une note de Zéro.";
    QTest::newRow("N15 E6: whole quotient") << 6 << 15.0 << 19.0 << "Ta note est 19/20"
                                            << "L'élève a une note de 19/20";
}

void tst_ExerciseRules::mark()
{
    QFETCH(int, errors);
    QFETCH(double, sentences);
    const double value = note(errors, sentences);
    QTEST(value, "mark");
    QTEST(Bubbles::note(value).text, "bubble");
    QTEST(JournalEvent::mark(number(value)).text(), "line");
}

void tst_ExerciseRules::texts()
{
    const QChar cr(13);
    QCOMPARE(Bubbles::sentenceErrors(0).text, "Tu n'as fait" + QString(cr) + "aucune erreur!!!");
    QCOMPARE(Bubbles::sentenceErrors(0).top, 350);
    QCOMPARE(Bubbles::sentenceErrors(1).text, QStringLiteral("Tu as fait une erreur."));
    QCOMPARE(Bubbles::sentenceErrors(3).text, QStringLiteral("Tu as fait 3 erreurs."));
    QCOMPARE(Bubbles::sentenceErrors(3).top, 550);
    QCOMPARE(number(7.5), QStringLiteral("7.5"));
    QCOMPARE(statusNoSentence(SentenceLoad::Missing, "cm1.txt"),
             QStringLiteral("Le fichier de phrases « cm1.txt » est introuvable."));
    QCOMPARE(statusNoSentence(SentenceLoad::Empty, "cm1.txt"),
             QStringLiteral("Le fichier de phrases « cm1.txt » est vide."));
}

void tst_ExerciseRules::tilePositionStaysInItsRectangle()
{
    QCOMPARE(tilePosition(0, 0), QPointF(100, 1700));
    QCOMPARE(tilePosition(0.5, 0.5), QPointF(3100, 2600));
    const QPointF edge = tilePosition(std::nextafter(1.0, 0.0), std::nextafter(1.0, 0.0));
    QVERIFY(edge.x() < 6100 && edge.x() > 6099);
    QVERIFY(edge.y() < 3500 && edge.y() > 3499);
}

void tst_ExerciseRules::pickSentenceSkipsUnplayableSentences()
{
    SentenceDeck deck;
    QStringList words127, words128;
    for (int i = 0; i < 127; ++i)
        words127 << "m";
    words128 = words127;
    words128 << "m";
    deck.load({words128.join(' '), words127.join(' '), "court"});
    QVERIFY(!isPlayable(deck.sentence(0)));
    QVERIFY(isPlayable(deck.sentence(1)));
    QCOMPARE(deck.pickSentence(0.0), 1);
    QCOMPARE(deck.pickSentence(0.49), 1);
    QCOMPARE(deck.pickSentence(0.5), 2);
    QCOMPARE(deck.pickSentence(0.999), 2);
    deck.load({words128.join(' ')});
    QCOMPARE(deck.pickSentence(0.3), -1);
    deck.load({});
    QCOMPARE(deck.pickSentence(0.3), -1);
    // When every sentence fits, the choice is the whole part of r x count.
    deck.load({"a", words127.join(' '), "court"});
    QCOMPARE(deck.pickSentence(0.7), 2);
    QCOMPARE(deck.pickSentence(0.3), 0);
    // Blank lines of a hand-made file have no word to drag: never chosen.
    deck.load({"", "   ", "court"});
    QVERIFY(!isPlayable(deck.sentence(0)) && !isPlayable(deck.sentence(1)));
    QCOMPARE(deck.pickSentence(0.0), 2);
    QCOMPARE(deck.pickSentence(0.999), 2);
    deck.load({"", "   "});
    QCOMPARE(deck.pickSentence(0.5), -1);
}

void tst_ExerciseRules::playable_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<bool>("playable");
    const QString w50(50, QChar(0xE9)); // «é»: characters are counted, not bytes
    QTest::newRow("word of 50 characters") << "Le " + w50 + " dort." << true;
    QTest::newRow("word of 51 characters") << "Le " + w50 + "x dort." << false;
    QTest::newRow("51 as the first word") << w50 + "x" << false;
    QTest::newRow("50 + space + 50") << w50 + " " + w50 << true;
    QTest::newRow("a million letters") << QString(1'000'000, 'x') << false;
    QTest::newRow("127 words") << QStringList(127, "m").join(' ') << true;
    QTest::newRow("128 words") << QStringList(128, "m").join(' ') << false;
    QTest::newRow("blank") << "   " << false;
}

void tst_ExerciseRules::playable()
{
    QFETCH(QString, sentence);
    QTEST(isPlayable(sentence), "playable");
}

namespace {
// Targets of a typical sentence in twips: ordinary words, 32 to 90 pixels wide, 32 high.
std::vector<QRectF> typicalTargets(int words, QRandomGenerator &random)
{
    std::vector<QRectF> targets;
    for (int i = 0; i <= words; ++i)
        targets.emplace_back(-15, -45, 15 * random.bounded(32, 90), 15 * 32);
    return targets;
}
}

// Seeded scatters of sentences of up to 15 words: no two targets overlap, and every corner
// lies in the scatter rectangle.
void tst_ExerciseRules::scatterNeverOverlaps()
{
    for (quint32 seed = 1; seed <= 300; ++seed) {
        QRandomGenerator random(seed);
        const std::vector<QRectF> targets = typicalTargets(1 + int(seed % 15), random);
        const std::vector<QPointF> places =
            scatterTiles(targets, [&random] { return random.generateDouble(); });
        QCOMPARE(places.size(), targets.size());
        for (std::size_t i = 0; i < places.size(); ++i) {
            QVERIFY(places[i].x() >= 100 && places[i].x() < 6100);
            QVERIFY(places[i].y() >= 1700 && places[i].y() < 3500);
            for (std::size_t j = 0; j < i; ++j) {
                const QRectF a = targets[i].translated(places[i]);
                const QRectF b = targets[j].translated(places[j]);
                QVERIFY2(!a.intersects(b), qPrintable(QStringLiteral("seed %1, tiles %2 and %3")
                                                          .arg(seed).arg(j).arg(i)));
            }
        }
    }
}

// No room left at all: every round draws each tile's tries, and the last draw of the last
// round is kept; the first tile's draw is never redrawn within a round.
void tst_ExerciseRules::scatterKeepsTheLastDrawWhenFull()
{
    const std::vector<QRectF> huge(3, QRectF(0, 0, 20000, 20000));
    int draws = 0;
    const std::vector<QPointF> places = scatterTiles(huge, [&draws] {
        ++draws;
        return (draws % 7) / 7.0;
    });
    const int perRound = 2 + 2 * 2 * ScatterTries;
    QCOMPARE(draws, ScatterRounds * perRound);
    QCOMPARE(places[0], tilePosition(((draws - perRound + 1) % 7) / 7.0,
                                     ((draws - perRound + 2) % 7) / 7.0));
    QCOMPARE(places[2], tilePosition(((draws - 1) % 7) / 7.0, (draws % 7) / 7.0));
}

// A word of 40 letters is about 440 pixels wide: drawn at the right of the scatter rectangle its
// end would be past the scene's right edge. Every target lies wholly on the scene.
void tst_ExerciseRules::scatterKeepsLongWordsOnTheScene()
{
    for (quint32 seed = 1; seed <= 100; ++seed) {
        QRandomGenerator random(seed);
        std::vector<QRectF> targets = typicalTargets(3, random);
        targets[1] = QRectF(0, 0, 15 * 440, 15 * 32);
        bool nearRightEdge = false;
        const std::vector<QPointF> places = scatterTiles(targets, [&random, &nearRightEdge] {
            const double r = random.generateDouble();
            nearRightEdge = nearRightEdge || r > 0.9;
            return r;
        });
        for (std::size_t i = 0; i < places.size(); ++i) {
            const QRectF whole = targets[i].translated(places[i]);
            QVERIFY2(sceneTwips().contains(whole),
                     qPrintable(QStringLiteral("seed %1, tile %2").arg(seed).arg(i)));
        }
    }
    // The first draws put the long word's corner at the far right of the rectangle.
    int draw = 0;
    const std::vector<QRectF> one{QRectF(-15, -45, 15 * 440, 15 * 32)};
    const std::vector<QPointF> places =
        scatterTiles(one, [&draw] { return draw++ == 0 ? 0.99 : 0.5; });
    QCOMPARE(places[0].x() + one[0].right(), sceneTwips().right());
    QCOMPARE(places[0].y(), tilePosition(0.99, 0.5).y());
}

void tst_ExerciseRules::keepInScene_data()
{
    QTest::addColumn<QRectF>("target");
    QTest::addColumn<QPointF>("place");
    QTest::addColumn<QPointF>("kept");
    const QRectF tile(-15, -45, 1200, 480);
    QTest::newRow("inside") << tile << QPointF(3000, 2000) << QPointF(3000, 2000);
    QTest::newRow("past the bottom") << tile << QPointF(3000, 6570) << QPointF(3000, 6150);
    QTest::newRow("past the right") << tile << QPointF(9600, 2000) << QPointF(8520, 2000);
    QTest::newRow("past the top left") << tile << QPointF(-500, -500) << QPointF(15, 45);
    QTest::newRow("just inside") << tile << QPointF(15, 45) << QPointF(15, 45);
    QTest::newRow("wider than the scene")
        << QRectF(0, 0, 20000, 480) << QPointF(-300, 7000) << QPointF(-300, 6105);
}

void tst_ExerciseRules::keepInScene()
{
    QFETCH(QRectF, target);
    QFETCH(QPointF, place);
    QTEST(ExerciseRules::keepInScene(target, place), "kept");
}

void tst_ExerciseRules::readingOrder_data()
{
    QTest::addColumn<QList<QRectF>>("tiles");
    QTest::addColumn<QList<int>>("order");
    auto at = [](double x, double y, double w = 60) { return QRectF(x, y, w, 30); };
    QTest::newRow("one line, left to right")
        << QList<QRectF>{at(300, 100), at(10, 100), at(150, 100)} << QList<int>{1, 2, 0};
    QTest::newRow("a word a little higher on the right stays on its line")
        << QList<QRectF>{at(10, 106), at(400, 100), at(200, 104)} << QList<int>{0, 2, 1};
    QTest::newRow("half a height apart is still one line")
        << QList<QRectF>{at(300, 100), at(10, 115)} << QList<int>{1, 0};
    QTest::newRow("more than half a height apart is the next line")
        << QList<QRectF>{at(300, 100), at(10, 116)} << QList<int>{0, 1};
    QTest::newRow("two lines")
        << QList<QRectF>{at(10, 200), at(300, 98), at(150, 202), at(20, 101)}
        << QList<int>{3, 1, 0, 2};
    QTest::newRow("a staircase does not make one long line")
        << QList<QRectF>{at(300, 100), at(200, 114), at(100, 128), at(10, 142)}
        << QList<int>{1, 0, 3, 2};
    QTest::newRow("none") << QList<QRectF>{} << QList<int>{};
}

void tst_ExerciseRules::readingOrder()
{
    QFETCH(QList<QRectF>, tiles);
    const std::vector<int> order =
        ExerciseRules::readingOrder(std::vector<QRectF>(tiles.begin(), tiles.end()));
    QTEST(QList<int>(order.begin(), order.end()), "order");
}

QTEST_GUILESS_MAIN(tst_ExerciseRules)
#include "tst_exerciserules.moc"
