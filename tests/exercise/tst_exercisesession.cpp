// The exercise's session without any window: its phases, its four clocks, and the journal lines
// and sound cues it hands out.
#include "exercise/exercisesession.h"
#include "fakes/platformfakes.h"
#include "logicenv.h"

#include "common/sentencefile.h"

#include <QtTest>

using namespace ExerciseRules;
using Phase = ExerciseSession::Phase;

namespace {
const QChar CR(13);

struct Line {
    QString text;
    bool timed;
    bool normal;
    bool operator==(const Line &) const = default;
};

// Keeps what the session hands out, each handler's sounds as one sequence.
struct Recorder : ExerciseOutput {
    std::vector<Line> lines;
    QStringList cues;
    QList<int> pauses;
    QStringList said;
    std::vector<SoundSequence> sequences;
    QStringList switches;
    std::vector<JournalEvent> events;
    int sentenceStarts = 0;
    void journalEvent(const JournalEvent &event) override
    {
        lines.push_back({event.text(), event.timed(), !event.red()});
        events.push_back(event);
    }
    void sentenceStarted() override { ++sentenceStarts; }
    void sounds(const SoundSequence &sequence) override
    {
        sequences.push_back(sequence);
        for (const SoundItem &item : sequence) {
            if (item.kind == SoundItem::Cue)
                cues << item.text;
            else if (item.kind == SoundItem::Pause)
                pauses << item.ms;
            else
                said << item.text;
        }
    }
    void soundSwitch(const QString &activation) override { switches << activation; }
};

struct SessionFixture {
    LogicEnv env;
    FakeClock clock;
    FakeRandom random;
    Recorder out;
    ExerciseSession session{env.settings, clock, random, env.programFolder, out};

    explicit SessionFixture(const QStringList &file = {QStringLiteral("Le chat dort.")})
    {
        SentenceFile::write(env.programFolder + QStringLiteral("/plumalin.txt"), file);
    }

    // Sentence 0, its tiles on a grid two columns wide, tile 0 at the top left; every target
    // is 40 x 30 pixels.
    void start()
    {
        random.values = {0.0, 0.0, 0.0, 0.5, 0.0, 0.0, 0.5, 0.5, 0.5};
        session.start([](int, const QString &) { return QRectF(0, 0, 600, 450); });
    }
    void open()
    {
        start();
        session.activate();
        out = Recorder();
    }
    // Ticks of clock `index` while it runs, at most `count`; how many there were.
    int tick(int index, int count)
    {
        int done = 0;
        for (; done < count && session.isRunning(index); ++done)
            session.tick(index);
        return done;
    }
    // Plays the sentence in play to its end: `errors` wrong drops first (its last word), then
    // its words in order, each with its word check.
    void playSentence(int errors)
    {
        const QStringList words =
            playedSentence(session.deck().currentSentence()).split(QLatin1Char(' '));
        for (int e = 0; e < errors; ++e) {
            session.dropOnAnswer(tileOf(words.last()));
            tick(ExerciseSession::RetryPrompt, 1);
        }
        for (const QString &word : words) {
            session.dropOnAnswer(tileOf(word));
            tick(ExerciseSession::WordCheck, 1);
        }
    }
    int tileOf(const QString &word) const
    {
        for (int i = 0; i < ExerciseSession::TileCount; ++i) {
            if (session.isPlayable(i) && session.tile(i).word == word)
                return i;
        }
        return -1;
    }
};
}

class tst_ExerciseSession : public QObject
{
    Q_OBJECT
private slots:
    void sentenceStart();
    void nothingToPlay();
    void rightDrop();
    void wrongDrop();
    void backgroundMove();
    void backgroundMoveKeepsTheTileOnTheScene_data();
    void backgroundMoveKeepsTheTileOnTheScene();
    void hintAfterItsTicks();
    void timeUp();
    void endMark_data();
    void endMark();
    void closingStopsEverything();
    void readingAloud_data();
    void readingAloud();
};

void tst_ExerciseSession::sentenceStart()
{
    SessionFixture f;
    QCOMPARE(f.session.phase(), Phase::NotLoaded);
    QCOMPARE(f.session.bubbleText(), QStringLiteral("Bonjour!"));
    f.start();
    QCOMPARE(f.session.phase(), Phase::InPlay);
    QCOMPARE(f.session.deck().lastWord(), 3);
    const QStringList words{"Le", "chat", "dort.", ""};
    const QList<QPointF> places{{100, 1700}, {3100, 1700}, {100, 2600}, {3100, 2600}};
    for (int i = 0; i < 4; ++i) {
        QVERIFY(f.session.isPlayable(i));
        QCOMPARE(f.session.tile(i).word, words[i]);
        QCOMPARE(f.session.tile(i).pos, places[i]);
        QVERIFY(!f.session.tile(i).hinted);
    }
    QVERIFY(!f.session.isPlayable(4));
    QVERIFY(f.session.answer().isEmpty());
    QVERIFY(f.session.isRunning(ExerciseSession::HintClock));
    QVERIFY(f.session.isRunning(ExerciseSession::SentenceClock));
    QVERIFY(!f.session.isRunning(ExerciseSession::WordCheck));
    QVERIFY(!f.session.isRunning(ExerciseSession::RetryPrompt));
    QCOMPARE(f.session.clock(ExerciseSession::HintClock).interval(), 1000);
    QVERIFY(f.out.lines.empty() && f.out.cues.isEmpty());

    // The first activation starts the count and greets; a later one only greets.
    f.session.activate();
    QCOMPARE(f.session.sentencesPerExercise(), sentencesPerExercise(f.env.settings));
    QCOMPARE(f.session.sentencesLeft(), f.session.sentencesPerExercise());
    QCOMPARE(f.out.cues, QStringList{"bonjour.mp3"});
    QCOMPARE(f.out.pauses, QList<int>{1000});
    QCOMPARE(f.out.switches, QStringList{"0"});
    f.playSentence(1);
    QCOMPARE(f.session.sentencesLeft(), f.session.sentencesPerExercise() - 1);
    QCOMPARE(f.session.totalErrors(), 1);
    f.session.activate();
    QCOMPARE(f.session.sentencesLeft(), f.session.sentencesPerExercise() - 1);
    QCOMPARE(f.session.totalErrors(), 1);
}

void tst_ExerciseSession::nothingToPlay()
{
    SessionFixture f({QStringLiteral("   ")});
    f.start();
    QCOMPARE(f.session.phase(), Phase::NoSentence);
    QCOMPARE(f.session.status(), statusNoSentence(SentenceLoad::Loaded, "plumalin.txt"));
    for (int i = 0; i < 4; ++i)
        QVERIFY(!f.session.isRunning(i));
    // Nothing can be dropped then.
    f.session.dropOnAnswer(0);
    QVERIFY(f.out.lines.empty() && f.out.cues.isEmpty());
}

void tst_ExerciseSession::rightDrop()
{
    SessionFixture f;
    f.open();
    f.session.dropOnAnswer(f.tileOf("Le"));
    QCOMPARE(f.session.answer(), QStringLiteral("Le"));
    QVERIFY(!f.session.isPlayable(0));
    QCOMPARE(f.out.lines, (std::vector<Line>{{"Le", true, true}}));
    QCOMPARE(f.out.cues, QStringList{"son2.wav"});
    QCOMPARE(f.session.bubbleText(), QStringLiteral("Bravo !!!"));
    QCOMPARE(f.session.wordsPlaced(), 1);
    QVERIFY(!f.session.isRunning(ExerciseSession::HintClock));
    QVERIFY(f.session.isRunning(ExerciseSession::WordCheck));

    // One second later: not complete yet, so "Continue!" and the hint's clock again from 0.
    QCOMPARE(f.tick(ExerciseSession::WordCheck, 5), 1);
    QCOMPARE(f.session.bubbleText(), QStringLiteral("Continue!"));
    QCOMPARE(f.session.hintSeconds(), 0);
    QVERIFY(f.session.isRunning(ExerciseSession::HintClock));
    QCOMPARE(f.session.phase(), Phase::InPlay);
}

void tst_ExerciseSession::wrongDrop()
{
    SessionFixture f;
    f.open();
    f.session.dropOnAnswer(f.tileOf("dort."));
    QVERIFY(f.session.answer().isEmpty());
    QVERIFY(f.session.isPlayable(f.tileOf("dort.")));
    QCOMPARE(f.out.lines, (std::vector<Line>{{"dort.", true, false}}));
    QCOMPARE(f.out.cues, QStringList{"incorrect.mp3"});
    QCOMPARE(f.session.sentenceErrors(), 1);
    QCOMPARE(f.session.bubbleText(), QStringLiteral("Incorrect!"));
    QVERIFY(!f.session.isRunning(ExerciseSession::HintClock));

    QCOMPARE(f.tick(ExerciseSession::RetryPrompt, 5), 1);
    QCOMPARE(f.session.bubbleText(), QStringLiteral("Essaie encore!"));
    QVERIFY(f.session.isRunning(ExerciseSession::HintClock));
}

void tst_ExerciseSession::backgroundMove()
{
    SessionFixture f;
    f.open();
    const int chat = f.tileOf("chat");
    f.session.beginDrag(chat, 150, 60);
    QCOMPARE(f.session.draggedTile(), chat);
    // Over another tile, or over itself a second time: the grab offset stays the first one.
    f.session.dragOver(0, chat, 10, 10);
    f.session.dragOver(chat, chat, 20, 20);
    f.session.dropOnScene(chat, 5000, 3000);
    QCOMPARE(f.session.draggedTile(), -1);
    QCOMPARE(f.session.tile(chat).pos, QPointF(4850, 2940));
    QCOMPARE(f.out.lines, (std::vector<Line>{{"Déplacement du mot ' chat '.", true, true}}));
    QCOMPARE(f.out.cues, QStringList{"son2.wav"});
    QCOMPARE(f.session.phase(), Phase::InPlay);
    QVERIFY(f.session.answer().isEmpty());
}

void tst_ExerciseSession::backgroundMoveKeepsTheTileOnTheScene_data()
{
    QTest::addColumn<QPointF>("drop");
    QTest::addColumn<QPointF>("kept");
    // Target 600 x 450 twips from the text's corner; grabbed 150, 60 inside it.
    QTest::newRow("bottom edge") << QPointF(5000, 6570) << QPointF(4850, 6135);
    QTest::newRow("right edge") << QPointF(9700, 3000) << QPointF(9105, 2940);
    QTest::newRow("top left corner") << QPointF(20, 10) << QPointF(0, 0);
}

// The grab offset would put most of the tile past the scene's edge: the tile is kept wholly on
// the scene, and the journal says the same as for any move.
void tst_ExerciseSession::backgroundMoveKeepsTheTileOnTheScene()
{
    QFETCH(QPointF, drop);
    SessionFixture f;
    f.open();
    const int chat = f.tileOf("chat");
    f.session.beginDrag(chat, 150, 60);
    f.session.dropOnScene(chat, drop.x(), drop.y());
    QTEST(f.session.tile(chat).pos, "kept");
    QVERIFY(sceneTwips().contains(QRectF(0, 0, 600, 450).translated(f.session.tile(chat).pos)));
    QCOMPARE(f.out.lines, (std::vector<Line>{{"Déplacement du mot ' chat '.", true, true}}));
}

void tst_ExerciseSession::hintAfterItsTicks()
{
    SessionFixture f;
    f.open();
    const int limit = int(wordLimitSeconds(f.env.settings));
    QCOMPARE(f.tick(ExerciseSession::HintClock, limit), limit);
    QVERIFY(!f.session.tile(0).hinted);
    QVERIFY(f.out.lines.empty());
    QCOMPARE(f.tick(ExerciseSession::HintClock, 1), 1);
    QVERIFY(f.session.tile(0).hinted);
    for (int i = 1; i < 4; ++i)
        QVERIFY(!f.session.tile(i).hinted);
    QCOMPARE(f.session.bubbleText(), QString("Regarde bien") + CR + "le mot en BLEU.");
    QCOMPARE(f.session.bubbleTop(), 350);
    QCOMPARE(f.out.lines,
             (std::vector<Line>{{JournalEvent::hintTimeUp(number(limit)).text(), false, false},
                                {"Le mot bleu est ' Le '.", false, false}}));
    QVERIFY(f.out.cues.isEmpty());
    QVERIFY(!f.session.isRunning(ExerciseSession::HintClock));
    QCOMPARE(f.session.hintSeconds(), 0);
}

void tst_ExerciseSession::timeUp()
{
    SessionFixture f;
    f.open();
    f.session.dropOnAnswer(f.tileOf("Le"));
    f.out = Recorder();
    const int limit = int(sentenceLimitSeconds(f.env.settings));
    QCOMPARE(f.tick(ExerciseSession::SentenceClock, limit), limit);
    QCOMPARE(f.session.phase(), Phase::InPlay);
    f.session.beginDrag(f.tileOf("chat"), 0, 0);
    QCOMPARE(f.tick(ExerciseSession::SentenceClock, 1), 1);
    QCOMPARE(f.session.phase(), Phase::TimeUp);
    QCOMPARE(f.session.answer(), QStringLiteral("Le chat dort."));
    QCOMPARE(f.session.draggedTile(), -1);
    for (int i = 0; i < 4; ++i) {
        QVERIFY(!f.session.isPlayable(i));
        QVERIFY(!f.session.isRunning(i));
    }
    QCOMPARE(f.out.lines, (std::vector<Line>{{JournalEvent::sentenceTimeUp(number(sentenceLimitMinutes(f.env.settings))).text(),
                                              false, false}}));
    QCOMPARE(f.session.sentencesLeft(), f.session.sentencesPerExercise()); // not counted
    // The sentence is over: a late drop or tick changes nothing.
    f.session.dropOnAnswer(1);
    f.session.tick(ExerciseSession::WordCheck);
    QCOMPARE(f.out.lines.size(), std::size_t(1));
    QCOMPARE(f.session.phase(), Phase::TimeUp);
}

void tst_ExerciseSession::endMark_data()
{
    QTest::addColumn<int>("errorsBefore");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QString>("bubble");
    // Five sentences: 4 errors in all give 19, 15 give zero.
    QTest::newRow("19") << 4 << "L'élève a une note de 19/20" << "Ta note est 19/20";
    QTest::newRow("zero") << 15 << "L'élève a une note de Zéro." << "Tu as ZERO!";
}

void tst_ExerciseSession::endMark()
{
    QFETCH(int, errorsBefore);
    QFETCH(QString, mark);
    QFETCH(QString, bubble);
    SessionFixture f;
    f.env.settings.SaveSetting(Settings::NbPhrases, "0"); // five sentences
    f.open();
    // Four sentences played, the errors in the first one.
    for (int s = 0; s < 4; ++s) {
        if (s > 0)
            f.start();
        f.playSentence(s == 0 ? errorsBefore : 0);
    }
    QCOMPARE(f.session.sentencesLeft(), 1.0);
    QCOMPARE(f.session.totalErrors(), errorsBefore);
    f.start();
    f.out = Recorder();
    for (const QString word : {"Le", "chat", "dort."}) {
        f.session.dropOnAnswer(f.tileOf(word));
        QCOMPARE(f.tick(ExerciseSession::WordCheck, 5), 1);
    }
    QCOMPARE(f.session.phase(), Phase::ExerciseOver);
    QCOMPARE(f.session.bubbleText(), bubble);
    QCOMPARE(f.session.status(), statusQuit());
    QCOMPARE(f.out.lines.size(), std::size_t(5));
    QCOMPARE(f.out.lines[3], (Line{"L'élève n'a fait aucune erreur.", false, true}));
    QCOMPARE(f.out.lines[4], (Line{mark, false, true}));
    QCOMPARE(f.out.cues, (QStringList{"son2.wav", "son2.wav", "son2.wav", "bravo.mp3",
                                      "cgagne.mp3"}));
    // The end of the exercise is one sequence: each cue, then its gap, in the old order.
    QCOMPARE(f.out.sequences.back(),
             (SoundSequence{SoundItem::cue("bravo.mp3"), SoundItem::pause(ExerciseSession::CueGap),
                            SoundItem::cue("cgagne.mp3"), SoundItem::pause(ExerciseSession::CueGap)}));
    QCOMPARE(f.session.sentencesLeft(), 0.0);
    for (int i = 0; i < 4; ++i)
        QVERIFY(!f.session.isRunning(i));
}

void tst_ExerciseSession::closingStopsEverything()
{
    SessionFixture f;
    f.open();
    f.session.dropOnAnswer(f.tileOf("Le"));
    f.session.quit();
    QVERIFY(f.session.isClosing());
    QCOMPARE(f.out.lines.back(), (Line{QStringLiteral("Fin de l'exercice avec le bouton 'QUITTER'"), true, true}));
    for (int i = 0; i < 4; ++i)
        QVERIFY(!f.session.isRunning(i));
    const std::size_t lines = f.out.lines.size();
    f.session.dropOnAnswer(f.tileOf("chat"));
    f.session.tick(ExerciseSession::WordCheck);
    f.session.activate();
    QCOMPARE(f.out.lines.size(), lines);
    QCOMPARE(f.session.answer(), QStringLiteral("Le"));
}

void tst_ExerciseSession::readingAloud_data()
{
    QTest::addColumn<QString>("reading"); // "Lecture à voix haute" as stored
    QTest::addColumn<QStringList>("said");
    const QString bravo = Bubbles::bravo().text;
    const QString incorrect = Bubbles::incorrect().text;
    const QString essaie = Bubbles::essaieEncore().text;
    const QString continuer = Bubbles::continuer().text;
    const QString none = QString(Bubbles::sentenceErrors(1).text).replace(CR, QLatin1Char(' '));
    QTest::newRow("off") << "0" << QStringList{"Le chat dort."}; // "Écouter" only
    QTest::newRow("sentence")
        << "1"
        << QStringList{"Le chat dort.", "Le chat dort.", incorrect, essaie, bravo, continuer,
                       bravo, continuer, bravo, "Le chat dort.", none};
    QTest::newRow("words")
        << "2"
        << QStringList{"Le chat dort.", "Le chat dort.", "dort.", incorrect, essaie, "Le", bravo,
                       continuer, "chat", bravo, continuer, "dort.", bravo, "Le chat dort.", none};
}

void tst_ExerciseSession::readingAloud()
{
    QFETCH(QString, reading);
    SessionFixture f;
    f.env.settings.SaveSetting(Settings::LectureVoixHaute, reading);
    f.start();
    QVERIFY(f.out.said.isEmpty()); // the first sentence waits for the greeting
    f.session.activate();
    f.session.listen();
    f.session.tilePressed(f.tileOf("dort."));
    f.session.dropOnAnswer(f.tileOf("dort."));
    f.session.tick(ExerciseSession::RetryPrompt);
    for (const QString word : {"Le", "chat", "dort."}) {
        f.session.tilePressed(f.tileOf(word));
        f.session.dropOnAnswer(f.tileOf(word));
        f.session.tick(ExerciseSession::WordCheck);
    }
    QTEST(f.out.said, "said");
    // Listening is written whatever the setting; the sentence read back is marked for the box.
    QCOMPARE(std::count(f.out.lines.begin(), f.out.lines.end(),
                        Line{QStringLiteral("L'élève a écouté la phrase."), true, true}),
             1);
    if (reading != QLatin1String("0")) {
        const SoundSequence &done = f.out.sequences.back();
        QCOMPARE(done[0], SoundItem::cue("bravo.mp3"));
        QCOMPARE(done[2], SoundItem::speech("Le chat dort.", ExerciseSession::ReadBackTag));
    }
}

QTEST_GUILESS_MAIN(tst_ExerciseSession)
#include "tst_exercisesession.moc"
