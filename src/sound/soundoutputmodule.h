#pragma once
#include "platform/soundoutput.h"

// The sound output module (libplumalin_soundoutput.so): its one factory makes the program's
// sound output, which the caller owns.
namespace SoundOutputModule {
inline constexpr char Name[] = "plumalin_soundoutput";
inline constexpr char Factory[] = "plumalin_make_sound_output";
using MakeSoundOutput = SoundOutput *(*)();
}
