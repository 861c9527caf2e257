#include "exercisesession.h"

#include "common/settingsstore.h"
#include "platform/clock.h"
#include "platform/randomsource.h"

#include <algorithm>
#include <cmath>

using namespace ExerciseRules;

ExerciseSession::ExerciseSession(SettingsStore &settings, Clock &clock, RandomSource &random,
                                 QString programFolder,
                                 ExerciseOutput &output, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_clock(clock)
    , m_random(random)
    , m_programFolder(std::move(programFolder))
    , m_output(output)
{
    for (int i = 0; i < int(m_clocks.size()); ++i)
        connect(&m_clocks[std::size_t(i)], &QTimer::timeout, this, [this, i] { tick(i); });
    showBubble(Bubbles::bonjour());
}

// ---- Bubble and clocks ----

void ExerciseSession::showBubble(const Bubble &bubble)
{
    if (bubble.top >= 0)
        m_bubbleTop = bubble.top;
    if (bubble.size >= 0)
        m_bubbleSize = bubble.size;
    m_bubbleText = bubble.text;
}

void ExerciseSession::run(int index)
{
    QTimer &timer = m_clocks[std::size_t(index)];
    timer.setInterval(1000);
    timer.start();
}

void ExerciseSession::stop(int index)
{
    QTimer &timer = m_clocks[std::size_t(index)];
    timer.stop();
    timer.setInterval(0);
}

void ExerciseSession::stopAll()
{
    for (int i : {HintClock, RetryPrompt, WordCheck, SentenceClock})
        stop(i);
}

ExerciseSession::Reading ExerciseSession::reading() const
{
    const double value = leadingNumber(m_settings.GetSetting(Settings::LectureVoixHaute,
                                                             QStringLiteral("0")));
    if (value >= 2)
        return Reading::Words;
    return value >= 1 ? Reading::Sentence : Reading::Off;
}

void ExerciseSession::hear(const SoundSequence &sequence)
{
    emit changed();
    if (!sequence.empty())
        m_output.sounds(sequence);
}

void ExerciseSession::addCue(SoundSequence &sequence, const QString &name) const
{
    sequence.push_back(SoundItem::cue(name));
    sequence.push_back(SoundItem::pause(CueGap));
}

void ExerciseSession::addBubble(SoundSequence &sequence) const
{
    if (reading() != Reading::Off)
        sequence.push_back(SoundItem::speech(QString(m_bubbleText).replace(QChar(13), QLatin1Char(' '))));
}

bool ExerciseSession::canSaySentence() const
{
    return !m_closing
           && (m_phase == Phase::InPlay || m_phase == Phase::SentenceDone
               || m_phase == Phase::TimeUp);
}

void ExerciseSession::journal(JournalEvent event)
{
    if (m_phase != Phase::NotLoaded && m_phase != Phase::NoSentence)
        event.sentence = sentence();
    m_output.journalEvent(event);
}

// ---- Sentence start, activation, end ----

void ExerciseSession::start(const TargetOf &target)
{
    if (m_closing)
        return;
    m_dragSource = -1;
    m_sentenceErrors = 0;
    m_hintSeconds = 0;
    m_sentenceSeconds = 0;
    m_wordsPlaced = 0;
    m_output.sentenceStarted();
    showBubble(Bubbles::bonjour());
    m_random.seedFromClock();
    m_lastLoad = m_deck.ChargePhrases(m_settings, m_programFolder);
    m_deck.clearWords();
    for (Tile &tile : m_tiles)
        tile = Tile{};
    m_answer.clear();

    const int chosen = m_deck.pickSentence(m_random.next());
    if (chosen < 0) {
        m_phase = Phase::NoSentence;
        stopAll();
        m_status = statusNoSentence(m_lastLoad, sentenceFileName(m_settings));
        emit changed();
        return;
    }
    m_deck.play(chosen);
    std::vector<QRectF> targets;
    for (int i = 0; i <= m_deck.lastWord(); ++i) {
        m_tiles[std::size_t(i)].word = m_deck.word(i);
        targets.push_back(target(i, m_tiles[std::size_t(i)].word));
    }
    // A tile stacked over another turns a right aim into a counted error: they never overlap.
    const std::vector<QPointF> places = scatterTiles(targets, [this] { return m_random.next(); });
    for (int i = 0; i <= m_deck.lastWord(); ++i) {
        Tile &tile = m_tiles[std::size_t(i)];
        tile.pos = places[std::size_t(i)];
        tile.target = targets[std::size_t(i)];
        tile.shown = true;
    }
    run(HintClock);
    run(SentenceClock);
    m_phase = Phase::InPlay;
    // The first sentence is said after the greeting, by the first activation.
    SoundSequence said;
    if (m_countStarted && reading() != Reading::Off)
        said.push_back(SoundItem::speech(sentence()));
    hear(said);
}

void ExerciseSession::activate()
{
    if (m_closing)
        return;
    const bool first = !m_countStarted;
    if (first) {
        // Only the first activation starts the count: coming back from the journal or the
        // settings must not wipe the pupil's errors.
        m_countStarted = true;
        m_sentencesPerExercise = ExerciseRules::sentencesPerExercise(m_settings);
        m_sentencesLeft = m_sentencesPerExercise;
        m_totalErrors = 0;
    }
    m_output.soundSwitch(m_settings.GetSetting(Settings::Son, QStringLiteral("0")));
    SoundSequence greeting{SoundItem::cue(QStringLiteral("bonjour.mp3")),
                           SoundItem::pause(GreetingGap)};
    if (first && m_phase == Phase::InPlay && reading() != Reading::Off)
        greeting.push_back(SoundItem::speech(sentence()));
    hear(greeting);
}

void ExerciseSession::listen()
{
    if (!canSaySentence())
        return;
    journal(JournalEvent::of(EventKind::Listened));
    hear({SoundItem::speech(sentence())});
}

void ExerciseSession::tilePressed(int index)
{
    if (m_closing || m_phase != Phase::InPlay || !isPlayable(index) || reading() != Reading::Words)
        return;
    const QString word = m_tiles[std::size_t(index)].word.trimmed();
    if (!word.isEmpty())
        m_output.sounds({SoundItem::speech(word)});
}

void ExerciseSession::quit()
{
    if (m_closing)
        return;
    journal(JournalEvent::of(EventKind::ExerciseQuit));
    close();
}

void ExerciseSession::close()
{
    m_closing = true;
    stopAll();
    m_dragSource = -1;
}

// ---- Drags and drops ----

bool ExerciseSession::isPlayable(int index) const
{
    return index >= 0 && index < TileCount && m_tiles[std::size_t(index)].shown;
}

void ExerciseSession::beginDrag(int source, double grabX, double grabY)
{
    if (m_closing || !isPlayable(source))
        return;
    m_dragSource = source;
    m_offsetTaken = false;
    // The drag starts with the pointer over the tile itself: this is the grab offset.
    dragOver(source, source, grabX, grabY);
}

void ExerciseSession::dragOver(int index, int source, double x, double y)
{
    if (index != source || m_offsetTaken)
        return;
    m_grabX = x;
    m_grabY = static_cast<qint16>(std::lround(y));
    m_offsetTaken = true;
}

void ExerciseSession::dropOnScene(int source, double x, double y)
{
    m_offsetTaken = false;
    m_dragSource = -1;
    if (m_closing || !isPlayable(source))
        return;
    Tile &tile = m_tiles[std::size_t(source)];
    // Dropped near an edge, the tile stays wholly on the scene: a pupil must reach it again.
    tile.pos = keepInScene(tile.target, QPointF(x - m_grabX, y - m_grabY));
    journal(JournalEvent::wordMoved(tile.word));
    SoundSequence moved;
    addCue(moved, QStringLiteral("son2.wav"));
    hear(moved);
}

void ExerciseSession::dropOnAnswer(int source)
{
    m_offsetTaken = false;
    m_dragSource = -1;
    // A sentence that is over counts once: nothing dropped afterwards can end it again.
    if (m_closing || m_phase != Phase::InPlay || !isPlayable(source))
        return;
    Tile &tile = m_tiles[std::size_t(source)];
    const QString proposed = candidate(m_answer, QLatin1Char(' ') + tile.word + QLatin1Char(' '));
    if (isCorrectBeginning(proposed, sentence())) {
        journal(JournalEvent::rightDrop(proposed, tile.word));
        m_answer = proposed;
        tile.shown = false;
        ++m_wordsPlaced;
        showBubble(Bubbles::bravo());
        stop(HintClock);
        run(WordCheck);
        SoundSequence right;
        addCue(right, QStringLiteral("son2.wav"));
        addBubble(right);
        hear(right);
    } else {
        journal(JournalEvent::wrongDrop(proposed, tile.word,
                                        expectedNextWord(m_answer, sentence())));
        ++m_sentenceErrors;
        showBubble(Bubbles::incorrect());
        stop(HintClock);
        run(RetryPrompt);
        SoundSequence wrong;
        addCue(wrong, QStringLiteral("incorrect.mp3"));
        addBubble(wrong);
        hear(wrong);
    }
}

// ---- The four clocks ----

void ExerciseSession::tick(int index)
{
    if (m_closing)
        return;
    switch (index) {
    case WordCheck:
        wordCheck();
        break;
    case RetryPrompt:
        retryPrompt();
        break;
    case HintClock:
        hintClock();
        break;
    case SentenceClock:
        sentenceClock();
        break;
    default:
        break;
    }
}

void ExerciseSession::wordCheck()
{
    stop(WordCheck);
    if (m_phase != Phase::InPlay)
        return;
    if (!isComplete(m_answer, sentence())) {
        showBubble(Bubbles::continuer());
        m_hintSeconds = 0;
        run(HintClock);
        SoundSequence goOn;
        addBubble(goOn);
        hear(goOn);
        return;
    }

    stopAll();
    const int errors = m_sentenceErrors;
    showBubble(Bubbles::sentenceErrors(errors));
    SoundSequence done;
    addCue(done, QStringLiteral("bravo.mp3"));
    if (reading() != Reading::Off)
        done.push_back(SoundItem::speech(m_answer, ReadBackTag));
    journal(JournalEvent::sentenceEnd(errors));
    m_sentencesLeft = std::max(0.0, m_sentencesLeft - 1);
    m_totalErrors += errors;
    const bool over = m_sentencesLeft <= 0;
    if (!over) {
        m_phase = Phase::SentenceDone;
        m_status = statusNext();
        addBubble(done);
    } else {
        m_phase = Phase::ExerciseOver;
        const double mark = note(m_totalErrors, m_sentencesPerExercise);
        journal(JournalEvent::mark(number(mark)));
        showBubble(Bubbles::note(mark));
        m_status = statusQuit();
        addCue(done, QStringLiteral("cgagne.mp3"));
        addBubble(done);
    }
    hear(done);
}

void ExerciseSession::retryPrompt()
{
    stop(RetryPrompt);
    if (m_phase != Phase::InPlay)
        return;
    showBubble(Bubbles::essaieEncore());
    run(HintClock);
    SoundSequence again;
    addBubble(again);
    hear(again);
}

int ExerciseSession::hintTile() const
{
    const QString expected = expectedNextWord(m_answer, sentence());
    if (expected.isEmpty())
        return -1;
    auto carries = [&](int i) {
        return i >= 0 && i <= m_deck.lastWord() && i < TileCount && m_tiles[std::size_t(i)].shown
               && m_tiles[std::size_t(i)].word == expected;
    };
    // The tile of the word's place in the sentence when the pupil went in order, else the
    // first one still on the scene that carries the same word.
    if (carries(m_wordsPlaced))
        return m_wordsPlaced;
    for (int i = 0; i <= m_deck.lastWord() && i < TileCount; ++i) {
        if (carries(i))
            return i;
    }
    return -1;
}

void ExerciseSession::hintClock()
{
    if (m_phase != Phase::InPlay) {
        stop(HintClock);
        return;
    }
    ++m_hintSeconds;
    const double limit = wordLimitSeconds(m_settings);
    if (m_hintSeconds <= limit)
        return;
    const int tile = hintTile();
    m_hintSeconds = 0;
    if (tile < 0)
        return; // nothing left to show (the answer is complete and its check is pending)
    stop(HintClock);
    showBubble(Bubbles::hint());
    m_tiles[std::size_t(tile)].hinted = true;
    journal(JournalEvent::hintTimeUp(number(limit)));
    journal(JournalEvent::hintWord(m_tiles[std::size_t(tile)].word));
    SoundSequence hint;
    addBubble(hint);
    hear(hint);
}

void ExerciseSession::sentenceClock()
{
    if (m_phase != Phase::InPlay) {
        stop(SentenceClock);
        return;
    }
    ++m_sentenceSeconds;
    if (m_sentenceSeconds <= sentenceLimitSeconds(m_settings))
        return;
    m_sentenceSeconds = 0;
    m_phase = Phase::TimeUp;
    m_dragSource = -1;
    m_answer = sentence();
    stopAll();
    showBubble(Bubbles::timeUp());
    for (int i = 0; i <= m_deck.lastWord() && i < TileCount; ++i)
        m_tiles[std::size_t(i)].shown = false;
    journal(JournalEvent::sentenceTimeUp(number(sentenceLimitMinutes(m_settings))));
    SoundSequence timeUp;
    addBubble(timeUp);
    hear(timeUp);
}
