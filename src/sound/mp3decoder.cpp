#include "mp3decoder.h"

#include "cuedecoder.h"

#include <mpg123.h>

#include <vector>

namespace CueDecoder {

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

}
