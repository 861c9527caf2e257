#include "sound/frmson.h"
#include "sound/soundoutputmodule.h"

#include <QtGlobal>

// Named as SoundOutputModule::Factory says.
extern "C" Q_DECL_EXPORT SoundOutput *plumalin_make_sound_output()
{
    return makeSoundOutput().release();
}
