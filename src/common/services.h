#pragma once
#include <QString>

class SettingsStore;
class Clock;
class RandomSource;
class FileChooser;
class MessageBoxes;
class EventPump;
class Journal;
class SoundPlayer;
struct ProgramState;

// What every window needs from the rest of the program, handed to it when it is created.
// The program builds one from the real services; each test builds one from fakes.
struct Services {
    SettingsStore &settings;
    Clock &clock;
    RandomSource &random;
    FileChooser &files;
    MessageBoxes &messages;
    EventPump &pump;
    ProgramState &state;
    Journal &journal;
    SoundPlayer &sound;
    QString programFolder; // where sentence files and the default sounds are looked up
};
