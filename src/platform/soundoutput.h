#pragma once
#include <QByteArray>

#include <functional>

// Sound already in memory: 16-bit signed samples, mono, at one rate for the whole program.
struct PcmClip {
    static constexpr int SampleRate = 44100;
    QByteArray samples; // native-endian qint16, mono

    int sampleCount() const { return int(samples.size() / 2); }
    qint64 durationMs() const { return qint64(sampleCount()) * 1000 / SampleRate; }
    bool isEmpty() const { return samples.isEmpty(); }
};

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
};
