#pragma once
#include <QString>

// Plays one sound file asynchronously, replacing any sound still playing. Never fails loudly.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;
    virtual void play(const QString &path) = 0;
};
