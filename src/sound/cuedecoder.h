#pragma once
#include "platform/soundoutput.h"

#include <QString>

#include <optional>

// Reads a cue file into memory at the program's one rate: WAV (PCM, 8 or 16 bits) directly,
// MP3 through libmpg123. Nothing when the file is missing or does not decode.
namespace CueDecoder {
std::optional<PcmClip> decodeFile(const QString &path);
std::optional<PcmClip> decodeWav(const QByteArray &bytes);
std::optional<PcmClip> decodeMp3(const QByteArray &bytes);
// Mono 16-bit samples at `rate` brought to PcmClip::SampleRate.
PcmClip resampled(const qint16 *samples, qsizetype count, int rate);
}
