#pragma once
#include "platform/soundoutput.h"

// MP3 cues through libmpg123, which comes with the sound output (SoundOutput::mp3Decoder()).
namespace CueDecoder {
std::optional<PcmClip> decodeMp3(const QByteArray &bytes);
}
