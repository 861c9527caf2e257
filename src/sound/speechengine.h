#pragma once
#include "platform/soundoutput.h"

#include <QString>

#include <vector>

// Where a word of the text is heard in the audio.
struct SpokenWord {
    int start = 0;  // position of its first character in the text (UTF-16 units)
    int length = 0; // characters
    int ms = 0;     // when it starts in the audio
    bool operator==(const SpokenWord &) const = default;
};

struct Speech {
    PcmClip audio;
    std::vector<SpokenWord> words;
};

// A speech synthesiser, used from one worker thread only. It is loaded on its first use;
// a load that fails says why, in French, for the pupil's and the teacher's tooltip.
class SpeechEngine
{
public:
    enum class Rate { Normal, Slow };
    virtual ~SpeechEngine() = default;
    virtual bool load(QString *whyNot) = 0;
    virtual Speech synthesise(const QString &text, Rate rate) = 0;
};
