#include "frmson.h"
#include "mp3decoder.h"

#include <QObject>
#include <QTimer>

#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <list>
#include <memory>
#include <thread>

namespace {
constexpr int BytesPerMs = PcmClip::SampleRate * 2 / 1000;
// A stop is heard within one piece: each write waits for room for it in the server's buffer.
constexpr int PieceBytes = 20 * BytesPerMs;

pa_sample_spec programFormat()
{
    return pa_sample_spec{PA_SAMPLE_S16NE, PcmClip::SampleRate, 1};
}

pa_simple *openStream()
{
    const pa_sample_spec format = programFormat();
    // A quarter of a second ahead of the loudspeaker: enough for a busy old computer.
    pa_buffer_attr buffer;
    buffer.maxlength = uint32_t(-1);
    buffer.tlength = uint32_t(250 * BytesPerMs);
    // Playing starts with the first piece, so that a short cue is not held back.
    buffer.prebuf = uint32_t(PieceBytes);
    buffer.minreq = uint32_t(-1);
    buffer.fragsize = uint32_t(-1);
    int error = 0;
    return pa_simple_new(nullptr, "Plumalin", PA_STREAM_PLAYBACK, nullptr, "Sac de mots", &format,
                         nullptr, &buffer, &error);
}

// One clip on its way to the sound server, written by a thread of its own.
struct Playing {
    QByteArray samples;
    std::atomic<bool> stopped{false};
    std::atomic<bool> over{false};
    std::thread thread;
};

// Writes the clip out until its end, a stop, or a failure of the server.
void writeOut(Playing &clip)
{
    pa_simple *stream = openStream();
    if (!stream)
        return;
    int error = 0;
    bool heard = true;
    for (qsizetype at = 0; at < clip.samples.size() && heard; at += PieceBytes) {
        if (clip.stopped) {
            heard = false;
            break;
        }
        const qsizetype length = std::min<qsizetype>(PieceBytes, clip.samples.size() - at);
        heard = pa_simple_write(stream, clip.samples.constData() + at, size_t(length), &error) == 0;
    }
    // What the server still holds is waited for in small steps, so that a stop cuts it short.
    if (heard) {
        pa_usec_t ahead = pa_simple_get_latency(stream, &error);
        if (ahead == pa_usec_t(-1))
            ahead = 0;
        const auto until = std::chrono::steady_clock::now()
                           + std::chrono::microseconds(std::min<pa_usec_t>(ahead, 2'000'000));
        while (!clip.stopped && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!clip.stopped)
            pa_simple_drain(stream, &error);
    }
    if (clip.stopped)
        pa_simple_flush(stream, &error);
    pa_simple_free(stream);
}

// The player behind every sound, never shown: the sound server (PulseAudio or PipeWire) fed
// from memory.
class frmSon : public QObject, public SoundOutput
{
public:
    frmSon()
    {
        // A connection tried once tells whether there is anything to hear sounds with.
        if (pa_simple *probe = openStream()) {
            pa_simple_free(probe);
            m_device = true;
        }
    }

    ~frmSon() override
    {
        stop();
        for (const auto &clip : m_clips)
            clip->thread.join();
    }

    void start(const PcmClip &clip, std::function<void()> finished) override
    {
        stop();
        reapClips();
        m_finished = std::move(finished);
        if (!m_device || clip.isEmpty()) {
            endLater();
            return;
        }
        Playing *playing = m_clips.emplace_back(std::make_unique<Playing>()).get();
        playing->samples = clip.samples;
        m_current = playing;
        // The end is told by number: the clip itself may be gone, and another made in its
        // place, by the time the event loop hears of it.
        const quint64 number = ++m_started;
        // The player joins the thread before it goes, and what the thread posts goes with it.
        playing->thread = std::thread([this, playing, number] {
            writeOut(*playing);
            playing->over = true;
            QMetaObject::invokeMethod(this, [this, number] { clipOver(number); },
                                      Qt::QueuedConnection);
        });
    }

    void stop() override
    {
        m_finished = nullptr;
        if (m_current) {
            m_current->stopped = true;
            m_current = nullptr;
        }
    }

    bool hasDevice() const override { return m_device; }
    DecodeMp3 mp3Decoder() const override { return &CueDecoder::decodeMp3; }

private:
    // Heard to its end, or cut by a server gone away: the clip ends all the same.
    void clipOver(quint64 number)
    {
        if (m_current && number == m_started) {
            m_current = nullptr;
            endLater();
        }
        reapClips();
    }

    void reapClips()
    {
        m_clips.remove_if([](const std::unique_ptr<Playing> &clip) {
            if (!clip->over)
                return false;
            clip->thread.join();
            return true;
        });
    }

    void endLater()
    {
        auto finished = std::move(m_finished);
        m_finished = nullptr;
        if (!finished)
            return;
        QTimer::singleShot(0, this, [finished] { finished(); });
    }

    bool m_device = false;
    Playing *m_current = nullptr;
    quint64 m_started = 0; // the number of the last clip started, the current one if any
    std::list<std::unique_ptr<Playing>> m_clips;
    std::function<void()> m_finished;
};
}

std::unique_ptr<SoundOutput> makeSoundOutput()
{
    return std::make_unique<frmSon>();
}
