#pragma once
#include "platform/soundoutput.h"

#include <QString>

#include <optional>
#include <vector>

// Reads a cue file into memory at the program's one rate: WAV (PCM, 8 or 16 bits) directly,
// MP3 through `mp3` (the output's decoder). Nothing when the file is missing, is an MP3 file
// without a decoder, or does not decode.
namespace CueDecoder {
std::optional<PcmClip> decodeFile(const QString &path, DecodeMp3 mp3);
std::optional<PcmClip> decodeWav(const QByteArray &bytes);
// Mono 16-bit samples at `rate` brought to PcmClip::SampleRate.
PcmClip resampled(const qint16 *samples, qsizetype count, int rate);
// Interleaved frames of `channels` mixed down to one channel.
std::vector<qint16> mixDown(const std::vector<qint16> &frames, int channels);
}
