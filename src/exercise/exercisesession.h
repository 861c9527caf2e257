#pragma once
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <vector>

#include "exerciserules.h"
#include "sentencedeck.h"
#include "sentencelist.h"

#include "journal/journalevent.h"
#include "sound/soundrequest.h"

class Clock;
class RandomSource;
class SettingsStore;

// What a session hands to the world outside it: the journal's lines and what the pupil hears.
// Neither waits: the session's state is complete before either is called.
class ExerciseOutput
{
public:
    virtual ~ExerciseOutput() = default;
    virtual void journalEvent(const JournalEvent &event) = 0;
    // A sentence starts: the journal's next timed line counts from now.
    virtual void sentenceStarted() = 0;
    // What one handler gives to hear, in order, in place of whatever still sounds.
    virtual void sounds(const SoundSequence &sequence) = 0;
    // The sound switch, as the activation reads it from "Son".
    virtual void soundSwitch(const QString &activation) = 0;
};

// One word-bag exercise without any window: the sentence in play, its tiles as the rules know
// them (twips), the answer rebuilt so far, the bubble and status texts, the four clocks and the
// drag in progress. frmSac2Mot draws it and passes the pupil's actions to it; tests drive it
// alone. Every handler changes all its state before it gives a sound cue.
class ExerciseSession : public QObject
{
    Q_OBJECT
public:
    enum class Phase {
        NotLoaded,    // before the first sentence start
        NoSentence,   // the sentence file gave nothing to play
        InPlay,       // a sentence is being rebuilt (hint shown, checks pending included)
        SentenceDone, // the sentence is complete and counted; "Nouveau" is offered
        TimeUp,       // the sentence's time ran out; "Nouveau" is offered
        ExerciseOver, // the mark is given; only "Quitter" is left
    };
    // The four clocks, Timer(0) to Timer(3).
    enum Clocks : int {
        WordCheck = 0,     // one second after a correct word: is the sentence complete?
        RetryPrompt = 1,   // one second after a wrong word: "Essaie encore!"
        HintClock = 2,     // seconds without a correct word, then the blue word
        SentenceClock = 3, // seconds of the sentence, then its time is up
    };
    static constexpr int TileCount = ::TileCount;
    // Gaps after a cue before the next step of the same handler, in milliseconds.
    static constexpr int CueGap = 100;
    static constexpr int GreetingGap = 1000;
    // The speech whose words are shown in the answer box as they are heard.
    static constexpr int ReadBackTag = 1;
    // "Lecture à voix haute": off, the sentence and the bubbles, the tiles' words too.
    enum class Reading { Off = 0, Sentence = 1, Words = 2 };
    Reading reading() const;

    struct Tile {
        QString word;
        QPointF pos;          // top-left corner of the text, twips
        QRectF target;        // the pointer's target, twips, relative to pos
        bool shown = false;   // on the scene and playable
        bool hinted = false;  // drawn in blue: the word expected next
    };

    ExerciseSession(SettingsStore &settings, Clock &clock, RandomSource &random,
                    QString programFolder, ExerciseOutput &output,
                    QObject *parent = nullptr);

    // The sentence start: picks a sentence and scatters its words. `target` gives a tile's
    // pointer target in twips, relative to its text's corner, for its word.
    using TargetOf = std::function<QRectF(int index, const QString &word)>;
    void start(const TargetOf &target);
    // The first activation starts the count of the exercise; every one greets the pupil.
    void activate();
    // "Écouter": the sentence to find, said aloud.
    void listen();
    // A tile pressed (mouse, finger or keyboard focus): its word, when words are read aloud.
    void tilePressed(int index);
    void quit();
    // No more clocks, drags or handlers: the window is closing.
    void close();
    bool isClosing() const { return m_closing; }
    // The first activation happened: the count of the exercise runs.
    bool countStarted() const { return m_countStarted; }

    // The pointer over tile `index` while tile `source` is dragged (twips of that tile): the
    // first one over the dragged tile itself sets the grab offset.
    void dragOver(int index, int source, double x, double y);
    void beginDrag(int source, double grabX, double grabY);
    void cancelDrag() { m_dragSource = -1; }
    int draggedTile() const { return m_dragSource; }
    // Tile `source` dropped on the scene's background at x, y (twips).
    void dropOnScene(int source, double x, double y);
    // Tile `source` dropped on the answer box.
    void dropOnAnswer(int source);

    // One second of clock `index`.
    void tick(int index);
    QTimer &clock(int index) { return m_clocks[std::size_t(index)]; }
    bool isRunning(int index) const { return m_clocks[std::size_t(index)].isActive(); }

    Phase phase() const { return m_phase; }
    bool isPlayable(int index) const;
    const Tile &tile(int index) const { return m_tiles[std::size_t(index)]; }
    QString answer() const { return m_answer; }
    QString status() const { return m_status; }
    void clearStatus() { m_status.clear(); }
    // Seconds without a correct word, and seconds of the sentence.
    int hintSeconds() const { return m_hintSeconds; }
    int sentenceSeconds() const { return m_sentenceSeconds; }
    // The bubble's top (twips), font size (points) and text (character 13 between lines).
    int bubbleTop() const { return m_bubbleTop; }
    double bubbleSize() const { return m_bubbleSize; }
    QString bubbleText() const { return m_bubbleText; }
    // Why nothing is played, after a start that found nothing.
    SentenceLoad lastLoad() const { return m_lastLoad; }

    // The sentences read and the one in play.
    const SentenceDeck &deck() const { return m_deck; }
    // Words placed in this sentence, which is the index of the tile expected next (MotSuivant).
    int wordsPlaced() const { return m_wordsPlaced; }
    // Wrong drops in this sentence (ErreursPhrase) and over the completed sentences
    // (TotalErreurs).
    int sentenceErrors() const { return m_sentenceErrors; }
    int totalErrors() const { return m_totalErrors; }
    // Sentences still to complete before the mark (PhrasesRestantes), and per exercise
    // (NbPhrasesExercice); both 0 until the first activation.
    double sentencesLeft() const { return m_sentencesLeft; }
    double sentencesPerExercise() const { return m_sentencesPerExercise; }
    // Grab offset of the tile being dragged, twips (DecalageX, DecalageY).
    QPointF grabOffset() const { return QPointF(m_grabX, m_grabY); }

signals:
    // Some state the window draws has changed (also sent before every sound cue).
    void changed();

private:
    void showBubble(const ExerciseRules::Bubble &bubble);
    void run(int index);
    void stop(int index);
    void stopAll();
    void wordCheck();
    void retryPrompt();
    void hintClock();
    void sentenceClock();
    int hintTile() const;
    const QString &sentence() const { return m_deck.currentSentence(); }
    // Gives the event with the sentence in play.
    void journal(JournalEvent event);
    // Shows the new state, then hands over what is to be heard.
    void hear(const SoundSequence &sequence);
    void addCue(SoundSequence &sequence, const QString &name) const;
    // The bubble's text said after the cue, when reading aloud is on.
    void addBubble(SoundSequence &sequence) const;
    bool canSaySentence() const;

    SettingsStore &m_settings;
    Clock &m_clock;
    RandomSource &m_random;
    QString m_programFolder;
    ExerciseOutput &m_output;

    SentenceDeck m_deck;
    int m_wordsPlaced = 0;
    int m_sentenceErrors = 0;
    int m_totalErrors = 0;
    double m_sentencesLeft = 0;
    double m_sentencesPerExercise = 0;
    double m_grabX = 0;
    qint16 m_grabY = 0;

    std::array<QTimer, 4> m_clocks;
    std::array<Tile, TileCount> m_tiles;
    Phase m_phase = Phase::NotLoaded;
    SentenceLoad m_lastLoad{};
    bool m_countStarted = false;
    bool m_closing = false;
    int m_hintSeconds = 0;
    int m_sentenceSeconds = 0;
    int m_dragSource = -1;
    bool m_offsetTaken = false;
    QString m_answer;
    QString m_status;
    int m_bubbleTop = 500;
    double m_bubbleSize = 22;
    QString m_bubbleText;
};
