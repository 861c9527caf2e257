#pragma once
#include "platform/soundoutput.h"

#include <memory>

// The program's audio output on the platform's sound device (Qt Multimedia). This is the one
// place that uses Qt Multimedia: everything else reaches it through SoundOutput, made here.
std::unique_ptr<SoundOutput> makeSoundOutput();
