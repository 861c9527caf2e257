#pragma once
#include "speechengine.h"

// The French voice of libespeak-ng. The library is opened on the first load only, so that a
// program that never speaks maps nothing of it.
class EspeakEngine : public SpeechEngine
{
public:
    EspeakEngine();
    ~EspeakEngine() override;
    bool load(QString *whyNot) override;
    Speech synthesise(const QString &text, Rate rate) override;

    // Words per minute of each rate: a child's pace.
    static int wordsPerMinute(Rate rate) { return rate == Rate::Slow ? 105 : 145; }

    struct Library;

private:
    Library *m_lib = nullptr; // the process's one synthesiser, kept to the end
};
