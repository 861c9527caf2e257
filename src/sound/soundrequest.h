#pragma once
#include <QString>

#include <vector>

// One step of what the program wants heard: a cue file, a pause, or words to say.
struct SoundItem {
    enum Kind { Cue, Pause, Speech };
    Kind kind = Cue;
    QString text;   // the cue's file name, or the words to say
    int ms = 0;     // a pause's length
    int tag = 0;    // who listens to the words of a speech as they are said (0: nobody)

    static SoundItem cue(const QString &name) { return {Cue, name, 0, 0}; }
    static SoundItem pause(int ms) { return {Pause, QString(), ms, 0}; }
    static SoundItem speech(const QString &words, int tag = 0) { return {Speech, words, 0, tag}; }
    bool operator==(const SoundItem &) const = default;
};

// The steps one handler asks for, heard in order, each after the previous one has ended.
using SoundSequence = std::vector<SoundItem>;
