#include "soundplayer.h"

#include "cuedecoder.h"

#include "common/programfolder.h"
#include "common/settingsstore.h"
#include "platform/soundoutput.h"

#include <QLoggingCategory>
#include <QThread>

#include <atomic>

Q_LOGGING_CATEGORY(lcSound, "plumalin.sound", QtWarningMsg)

namespace {
// How long after its expected end a clip is taken as heard, when the output never says so.
constexpr int WatchdogSlackMs = 2000;

// The latest request the worker must still care about; older ones are skipped unheard.
std::atomic<quint64> s_latestSpeech{0};
}

SoundPlayer::SoundPlayer(SettingsStore &settings, QString programFolder, OutputFactory makeOutput,
                         EngineFactory makeEngine, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_programFolder(std::move(programFolder))
    , m_makeOutput(std::move(makeOutput))
    , m_makeEngine(std::move(makeEngine))
{
    m_pause.setSingleShot(true);
    connect(&m_pause, &QTimer::timeout, this, &SoundPlayer::next);
    m_watchdog.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        if (m_output)
            m_output->stop();
        clipEnded(m_generation);
    });
    m_wordTimer.setSingleShot(true);
    connect(&m_wordTimer, &QTimer::timeout, this, &SoundPlayer::nextWord);
    if (!m_makeEngine) {
        m_speechState = SpeechState::Unavailable;
        m_speechReason = QStringLiteral("La synthèse vocale n'est pas disponible.");
    }
}

SoundPlayer::~SoundPlayer()
{
    ++m_generation;
    s_latestSpeech = m_generation;
    if (m_output)
        m_output->stop();
    for (QThread *thread : {m_speechThread, m_cueThread}) {
        if (thread) {
            thread->quit();
            thread->wait();
        }
    }
}

bool SoundPlayer::isSwitchedOn(const std::optional<QString> &activation)
{
    if (!activation)
        return false;
    bool ok = false;
    const double value = activation->trimmed().toDouble(&ok);
    return ok && value != 0.0;
}

QString SoundPlayer::soundPath(const QString &name) const
{
    const QString folder = m_settings.GetSetting(Settings::SoundFolder, m_programFolder);
    // An entry left empty names no folder at all: the program's own folder is meant.
    return joinPath(folder.trimmed().isEmpty() ? m_programFolder : folder, name);
}

SoundOutput *SoundPlayer::output()
{
    if (!m_outputTried) {
        m_outputTried = true;
        // Whatever goes wrong while opening the output stays here: the program carries on.
        try {
            if (m_makeOutput)
                m_output = m_makeOutput();
        } catch (...) {
            m_output.reset();
        }
    }
    return m_output.get();
}

// ---- Requests ----

void SoundPlayer::JoueSon(const QString &name)
{
    play({SoundItem::cue(name)});
}

bool SoundPlayer::isAudible(const SoundItem &item) const
{
    switch (item.kind) {
    case SoundItem::Cue:
        return isSwitchedOn(m_activation);
    case SoundItem::Speech:
        return m_speechState != SpeechState::Unavailable && !item.text.trimmed().isEmpty();
    case SoundItem::Pause:
        return true;
    }
    return false;
}

void SoundPlayer::play(const SoundSequence &sequence)
{
    SoundSequence heard;
    bool anything = false;
    for (const SoundItem &item : sequence) {
        if (!isAudible(item))
            continue;
        anything = anything || item.kind != SoundItem::Pause;
        heard.push_back(item);
    }
    // A request with nothing to hear leaves what sounds alone.
    if (!anything)
        return;
    stopAll();
    emit requested(heard);
    m_queue.assign(heard.begin(), heard.end());
    m_busy = true;
    next();
}

void SoundPlayer::stopAll()
{
    ++m_generation;
    m_queue.clear();
    m_pause.stop();
    m_watchdog.stop();
    if (m_output)
        m_output->stop();
    endSpeech();
    m_busy = false;
}

void SoundPlayer::stopSpeech()
{
    const bool waiting = std::any_of(m_queue.begin(), m_queue.end(), [](const SoundItem &item) {
        return item.kind == SoundItem::Speech;
    });
    if (m_speaking || waiting)
        stopAll();
}

void SoundPlayer::next()
{
    ++m_generation;
    m_watchdog.stop();
    if (m_queue.empty()) {
        if (m_busy) {
            m_busy = false;
            emit idle();
        }
        return;
    }
    const SoundItem item = m_queue.front();
    m_queue.pop_front();
    switch (item.kind) {
    case SoundItem::Cue:
        startCue(item);
        break;
    case SoundItem::Pause:
        m_pause.start(std::max(0, item.ms));
        break;
    case SoundItem::Speech:
        startSpeech(item);
        break;
    }
}

// ---- Cues ----

void SoundPlayer::startCue(const SoundItem &item)
{
    if (!output()) {
        next(); // not heard: the sequence goes on as if it had been
        return;
    }
    if (!m_cueThread) {
        m_cueThread = new QThread(this);
        m_cueThread->setObjectName(QStringLiteral("cues"));
        m_cueWorker = new QObject;
        m_cueWorker->moveToThread(m_cueThread);
        connect(m_cueThread, &QThread::finished, m_cueWorker, &QObject::deleteLater);
        m_cueThread->start();
    }
    // The file is read and decoded away from the window thread; the answer comes back through
    // the event loop, heard only if nothing else was asked for meanwhile.
    const quint64 generation = m_generation;
    const QString path = soundPath(item.text);
    const DecodeMp3 mp3 = m_output->mp3Decoder();
    QMetaObject::invokeMethod(m_cueWorker, [this, generation, path, mp3] {
        std::optional<PcmClip> clip = CueDecoder::decodeFile(path, mp3);
        qCDebug(lcSound) << "cue" << path << (clip ? "read" : "unreadable");
        QMetaObject::invokeMethod(this, [this, generation, clip = std::move(clip)] {
            if (generation != m_generation)
                return;
            if (!clip)
                next();
            else
                playClip(*clip);
        }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
}

void SoundPlayer::playClip(const PcmClip &clip)
{
    const quint64 generation = m_generation;
    QPointer<SoundPlayer> self(this);
    m_watchdog.start(int(clip.durationMs()) + WatchdogSlackMs);
    output()->start(clip, [self, generation] {
        if (self)
            self->clipEnded(generation);
    });
}

void SoundPlayer::clipEnded(quint64 generation)
{
    if (generation != m_generation)
        return;
    endSpeech();
    next();
}

// ---- Speech ----

namespace {
// Lives on the speech thread: the engine is made, loaded and used there only.
class SpeechWorker : public QObject
{
public:
    explicit SpeechWorker(SoundPlayer::EngineFactory make) : m_make(std::move(make)) {}
    // Loads the engine the first time; false with the reason when it cannot speak.
    bool ensureLoaded(QString *why)
    {
        if (!m_tried) {
            m_tried = true;
            try {
                m_engine = m_make ? m_make() : nullptr;
                if (m_engine && !m_engine->load(&m_why))
                    m_engine.reset();
            } catch (...) {
                m_engine.reset();
            }
            if (!m_engine && m_why.isEmpty())
                m_why = QStringLiteral("La synthèse vocale n'a pas pu démarrer.");
        }
        *why = m_why;
        return m_engine != nullptr;
    }
    SpeechEngine *engine() const { return m_engine.get(); }

private:
    SoundPlayer::EngineFactory m_make;
    std::unique_ptr<SpeechEngine> m_engine;
    bool m_tried = false;
    QString m_why;
};
}

void SoundPlayer::prepareSpeech()
{
    if (m_speechState != SpeechState::NotLoaded)
        return;
    if (!output() || !m_output->hasDevice()) {
        m_speechState = SpeechState::Unavailable;
        m_speechReason = QStringLiteral("Aucune sortie son n'est disponible sur cet ordinateur.");
        emit speechStateChanged();
        return;
    }
    m_speechState = SpeechState::Loading;
    m_speechThread = new QThread(this);
    m_speechThread->setObjectName(QStringLiteral("speech"));
    auto *worker = new SpeechWorker(m_makeEngine);
    m_speechWorker = worker;
    worker->moveToThread(m_speechThread);
    connect(m_speechThread, &QThread::finished, worker, &QObject::deleteLater);
    m_speechThread->start(QThread::LowPriority);

    // The answer comes back through the event loop; the player outlives the thread.
    QMetaObject::invokeMethod(worker, [this, worker] {
        QString why;
        const bool ready = worker->ensureLoaded(&why);
        QMetaObject::invokeMethod(this, [this, ready, why] {
            if (ready) {
                m_speechState = SpeechState::Ready;
            } else {
                m_speechState = SpeechState::Unavailable;
                m_speechReason = why;
                speechFailed();
            }
            emit speechStateChanged();
        }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
}

void SoundPlayer::startSpeech(const SoundItem &item)
{
    prepareSpeech();
    if (m_speechState == SpeechState::Unavailable) {
        next();
        return;
    }
    m_speaking = true;
    m_speechTag = item.tag;
    m_words.clear();
    m_nextWord = 0;
    const quint64 generation = m_generation;
    s_latestSpeech = generation;
    const auto rate = m_settings.GetSetting(Settings::VitesseLecture, QStringLiteral("0")).trimmed()
                              == QLatin1String("1")
                          ? SpeechEngine::Rate::Slow
                          : SpeechEngine::Rate::Normal;
    auto *worker = static_cast<SpeechWorker *>(m_speechWorker);
    const QString text = item.text;
    QMetaObject::invokeMethod(worker, [this, worker, generation, text, rate] {
        if (s_latestSpeech != generation)
            return; // cut before it was even said
        QString why;
        if (!worker->ensureLoaded(&why))
            return; // the player hears of it through the load's answer
        const Speech speech = worker->engine()->synthesise(text, rate);
        QMetaObject::invokeMethod(this, [this, generation, speech] {
            speechReady(generation, speech);
        }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
}

void SoundPlayer::speechFailed()
{
    // The speech waiting for the engine is not heard; the sequence goes on.
    if (m_speaking && !m_pause.isActive() && !m_watchdog.isActive()) {
        endSpeech();
        next();
    }
}

void SoundPlayer::speechReady(quint64 generation, const Speech &speech)
{
    if (generation != m_generation || !m_speaking)
        return;
    if (speech.audio.isEmpty() || !output()) {
        endSpeech();
        next();
        return;
    }
    m_words = speech.words;
    m_nextWord = 0;
    m_speechClock.start();
    playClip(speech.audio);
    nextWord();
}

void SoundPlayer::nextWord()
{
    if (!m_speaking)
        return;
    const qint64 now = m_speechClock.elapsed();
    while (m_nextWord < m_words.size() && m_words[m_nextWord].ms <= now) {
        const SpokenWord &word = m_words[m_nextWord++];
        emit wordSpoken(m_speechTag, word.start, word.length);
        if (!m_speaking)
            return; // a listener cut the speech
    }
    if (m_nextWord < m_words.size())
        m_wordTimer.start(int(m_words[m_nextWord].ms - now));
}

void SoundPlayer::endSpeech()
{
    if (!m_speaking)
        return;
    m_speaking = false;
    m_wordTimer.stop();
    m_words.clear();
    emit speechEnded(m_speechTag);
}
