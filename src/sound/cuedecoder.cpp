#include "cuedecoder.h"

#include <QFile>
#include <QtEndian>

#include <cstring>
#include <vector>

namespace {
// A file larger than this is not a cue: it is not read at all.
constexpr qint64 MaxCueBytes = 16 * 1024 * 1024;

quint32 le32(const char *p) { return qFromLittleEndian<quint32>(p); }
quint16 le16(const char *p) { return qFromLittleEndian<quint16>(p); }
}

namespace CueDecoder {

std::vector<qint16> mixDown(const std::vector<qint16> &frames, int channels)
{
    if (channels <= 1)
        return frames;
    std::vector<qint16> mono(frames.size() / std::size_t(channels));
    for (std::size_t i = 0; i < mono.size(); ++i) {
        int sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += frames[i * std::size_t(channels) + std::size_t(c)];
        mono[i] = qint16(sum / channels);
    }
    return mono;
}

PcmClip resampled(const qint16 *samples, qsizetype count, int rate)
{
    PcmClip clip;
    if (count <= 0 || rate <= 0)
        return clip;
    if (rate == PcmClip::SampleRate) {
        clip.samples = QByteArray(reinterpret_cast<const char *>(samples), count * 2);
        return clip;
    }
    // Linear interpolation: enough for speech and short cues.
    const qsizetype out = qsizetype(double(count) * PcmClip::SampleRate / rate);
    clip.samples.resize(out * 2);
    auto *dst = reinterpret_cast<qint16 *>(clip.samples.data());
    const double step = double(rate) / PcmClip::SampleRate;
    for (qsizetype i = 0; i < out; ++i) {
        const double at = double(i) * step;
        const qsizetype k = qsizetype(at);
        const double f = at - double(k);
        const qint16 a = samples[std::min(k, count - 1)];
        const qint16 b = samples[std::min(k + 1, count - 1)];
        dst[i] = qint16(double(a) + (double(b) - double(a)) * f);
    }
    return clip;
}

std::optional<PcmClip> decodeWav(const QByteArray &bytes)
{
    const char *d = bytes.constData();
    const qsizetype size = bytes.size();
    if (size < 12 || std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0)
        return std::nullopt;
    int channels = 0, rate = 0, bits = 0;
    bool pcm = false;
    qsizetype at = 12;
    while (at + 8 <= size) {
        const quint32 length = le32(d + at + 4);
        const qsizetype body = at + 8;
        const qsizetype available = std::min<qsizetype>(qsizetype(length), size - body);
        if (std::memcmp(d + at, "fmt ", 4) == 0 && available >= 16) {
            pcm = le16(d + body) == 1;
            channels = le16(d + body + 2);
            rate = int(le32(d + body + 4));
            bits = le16(d + body + 14);
        } else if (std::memcmp(d + at, "data", 4) == 0) {
            if (!pcm || channels < 1 || channels > 8 || rate < 1000 || rate > 384000
                || (bits != 8 && bits != 16))
                return std::nullopt;
            const int frameBytes = channels * bits / 8;
            const qsizetype frames = available / frameBytes;
            std::vector<qint16> interleaved(std::size_t(frames * channels));
            for (qsizetype i = 0; i < frames * channels; ++i) {
                interleaved[std::size_t(i)] =
                    bits == 16 ? qint16(le16(d + body + i * 2))
                               : qint16((int(quint8(d[body + i])) - 128) * 256);
            }
            const std::vector<qint16> mono = mixDown(interleaved, channels);
            return resampled(mono.data(), qsizetype(mono.size()), rate);
        }
        at = body + qsizetype(length) + (length & 1);
    }
    return std::nullopt;
}

std::optional<PcmClip> decodeFile(const QString &path, DecodeMp3 mp3)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxCueBytes)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (bytes.startsWith("RIFF"))
        return decodeWav(bytes);
    return mp3 ? mp3(bytes) : std::nullopt;
}

}
