#include "cuedecoder.h"

#include <QFile>
#include <QtEndian>

#include <mpg123.h>

#include <cstring>
#include <vector>

namespace {
// A file larger than this is not a cue: it is not read at all.
constexpr qint64 MaxCueBytes = 16 * 1024 * 1024;

quint32 le32(const char *p) { return qFromLittleEndian<quint32>(p); }
quint16 le16(const char *p) { return qFromLittleEndian<quint16>(p); }

// Interleaved frames of `channels` mixed down to one channel.
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
}

namespace CueDecoder {

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

std::optional<PcmClip> decodeMp3(const QByteArray &bytes)
{
    int error = MPG123_OK;
    mpg123_handle *handle = mpg123_new(nullptr, &error);
    if (!handle)
        return std::nullopt;
    // Signed 16-bit out, whatever the stream's rate and channels.
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.);
    mpg123_format_none(handle);
    for (long rate : {8000L, 11025L, 12000L, 16000L, 22050L, 24000L, 32000L, 44100L, 48000L})
        mpg123_format(handle, rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    std::vector<qint16> frames;
    long rate = 0;
    int channels = 0, encoding = 0;
    bool ok = mpg123_open_feed(handle) == MPG123_OK
              && mpg123_feed(handle, reinterpret_cast<const unsigned char *>(bytes.constData()),
                             std::size_t(bytes.size()))
                     == MPG123_OK;
    std::vector<unsigned char> buffer(16384);
    while (ok) {
        std::size_t done = 0;
        const int result = mpg123_read(handle, buffer.data(), buffer.size(), &done);
        if (result == MPG123_NEW_FORMAT) {
            mpg123_getformat(handle, &rate, &channels, &encoding);
            continue;
        }
        const auto *samples = reinterpret_cast<const qint16 *>(buffer.data());
        frames.insert(frames.end(), samples, samples + done / 2);
        if (result != MPG123_OK)
            break; // the end of the data, or a damaged stream: what was read stays
    }
    mpg123_delete(handle);
    if (!ok || rate <= 0 || channels < 1 || frames.empty())
        return std::nullopt;
    const std::vector<qint16> mono = mixDown(frames, channels);
    return resampled(mono.data(), qsizetype(mono.size()), int(rate));
}

std::optional<PcmClip> decodeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxCueBytes)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (bytes.startsWith("RIFF"))
        return decodeWav(bytes);
    return decodeMp3(bytes);
}

}
