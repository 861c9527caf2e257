#pragma once
#include "platform/soundoutput.h"

#include <memory>

// The program's audio output through the desktop's sound server (PulseAudio, or PipeWire's
// PulseAudio service), the one place that talks to it: everything else reaches it through
// SoundOutput, made here.
std::unique_ptr<SoundOutput> makeSoundOutput();
