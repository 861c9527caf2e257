#pragma once
#include <QByteArray>

#include <functional>
#include <optional>

// Sound already in memory: 16-bit signed samples, mono, at one rate for the whole program.
struct PcmClip {
    static constexpr int SampleRate = 44100;
    QByteArray samples; // native-endian qint16, mono

    int sampleCount() const { return int(samples.size() / 2); }
    qint64 durationMs() const { return qint64(sampleCount()) * 1000 / SampleRate; }
    bool isEmpty() const { return samples.isEmpty(); }
};

// Decodes an MP3 cue file into a clip; nothing when it does not decode. Safe from any thread.
using DecodeMp3 = std::optional<PcmClip> (*)(const QByteArray &bytes);

// The program's one audio output. It plays one clip at a time, in place of any clip still
// playing, and never fails loudly: without an audio device a clip is simply not heard.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;
    // `finished` is called once, from the event loop, when the clip has been heard to its
    // end or could not be played; never after stop() or a later start().
    virtual void start(const PcmClip &clip, std::function<void()> finished) = 0;
    virtual void stop() = 0;
    // Whether a device is there to hear anything.
    virtual bool hasDevice() const = 0;
    // The MP3 decoder that comes with the output, so that the start of the program maps no
    // decoding library; it stays valid for the whole run. Null: MP3 cues are not heard.
    virtual DecodeMp3 mp3Decoder() const = 0;
};
