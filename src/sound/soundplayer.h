#pragma once
#include "soundrequest.h"
#include "speechengine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QThread;
class SettingsStore;
class SoundOutput;

// Everything the program lets the pupil hear, through one audio output: the cues (played when
// the sound switch is on) and the words of the speech synthesiser. What a handler asks for is a
// sequence, heard step after step, each when the previous one has ended; a new sequence takes
// the place of whatever is still sounding or waiting. Nothing here waits: the steps follow one
// another on the output's "ended" and on timers. Never fails: a missing folder, file, device or
// synthesiser gives silence.
class SoundPlayer : public QObject
{
    Q_OBJECT
public:
    using OutputFactory = std::function<std::unique_ptr<SoundOutput>()>;
    using EngineFactory = std::function<std::unique_ptr<SpeechEngine>()>;

    SoundPlayer(SettingsStore &settings, QString programFolder, OutputFactory makeOutput,
                EngineFactory makeEngine = {}, QObject *parent = nullptr);
    ~SoundPlayer() override;

    // One cue on its own.
    void JoueSon(const QString &name);
    void play(const SoundSequence &sequence);
    // Silence now, and nothing of what was waiting.
    void stopAll();
    // The same, when words are being said or wait to be.
    void stopSpeech();

    // The sound switch, as read from "Son"; nothing until the exercise was activated.
    void setActivationSon(const std::optional<QString> &activation) { m_activation = activation; }
    std::optional<QString> ActivationSon() const { return m_activation; }
    // The switch as the player reads it: a number other than zero means on.
    static bool isSwitchedOn(const std::optional<QString> &activation);
    // The sound folder (the "Configuration" entry, else the program's folder) joined to name.
    QString soundPath(const QString &name) const;

    // Speech: unknown until first used; then ready, or unavailable with the reason.
    enum class SpeechState { NotLoaded, Loading, Ready, Unavailable };
    SpeechState speechState() const { return m_speechState; }
    QString speechUnavailableReason() const { return m_speechReason; }
    // Starts loading the synthesiser in the background (the first speech does it too).
    void prepareSpeech();
    bool isBusy() const { return m_busy; }

signals:
    // A request with something to hear has been taken, as it will be heard (cues of a switch
    // that is off and speech without a voice left out).
    void requested(const SoundSequence &heard);
    // A word of a speech of `tag` is being heard: characters [start, start + length).
    void wordSpoken(int tag, int start, int length);
    // A speech of `tag` ended, was cut or could not be said.
    void speechEnded(int tag);
    void speechStateChanged();
    // Nothing sounds and nothing waits any more.
    void idle();

private:
    void next();
    void startCue(const SoundItem &item);
    void startSpeech(const SoundItem &item);
    void speechReady(quint64 generation, const Speech &speech);
    void speechFailed();
    void playClip(const PcmClip &clip);
    void clipEnded(quint64 generation);
    void nextWord();
    void endSpeech();
    SoundOutput *output();
    bool isAudible(const SoundItem &item) const;

    SettingsStore &m_settings;
    QString m_programFolder;
    OutputFactory m_makeOutput;
    EngineFactory m_makeEngine;
    std::unique_ptr<SoundOutput> m_output; // made on the first sound
    bool m_outputTried = false;
    std::optional<QString> m_activation;

    // Cues are decoded on a thread of their own at each play, and their samples let go once
    // heard: a few MP3 files are quicker to decode again than their samples are worth keeping.
    QThread *m_cueThread = nullptr;
    QObject *m_cueWorker = nullptr; // lives in m_cueThread, which deletes it
    std::deque<SoundItem> m_queue;
    bool m_busy = false;
    quint64 m_generation = 0; // grows at every step: late callbacks of an older one are ignored
    QTimer m_pause;
    QTimer m_watchdog;        // an output that never says "ended" must not stop the queue

    // The speech being heard, for its words.
    int m_speechTag = 0;
    bool m_speaking = false;
    std::vector<SpokenWord> m_words;
    std::size_t m_nextWord = 0;
    QElapsedTimer m_speechClock;
    QTimer m_wordTimer;

    SpeechState m_speechState = SpeechState::NotLoaded;
    QString m_speechReason;
    QThread *m_speechThread = nullptr;
    QObject *m_speechWorker = nullptr; // lives in m_speechThread, which deletes it
};
