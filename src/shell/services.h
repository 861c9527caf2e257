#pragma once
#include <QString>

#include <functional>

class SettingsStore;
class Clock;
class RandomSource;
class FileChooser;
class MessageBoxes;
class Journal;
class SoundPlayer;
class SystemTools;
class RecordWriter;
class PrintDialog;
class QWidget;

// Every service of the program, built once by main() from the real implementations (each test
// builds one from fakes). The main window hands each window the few services it uses.
struct Services {
    SettingsStore &settings;
    Clock &clock;
    RandomSource &random;
    FileChooser &files;
    MessageBoxes &messages;
    Journal &journal;
    SoundPlayer &sound;
    SystemTools &system;
    RecordWriter &records; // the journal's lines on disk, and the pupil they belong to
    PrintDialog &printing;
    QString programFolder; // where sentence files and the default sounds are looked up
    // Makes the summary window ("Bilan des élèves") owned by `parent`, or gives nullptr once
    // it has told why it cannot. The program opens it from a module when first asked for.
    std::function<QWidget *(QWidget *parent)> makeSummaryWindow = {};
};
