#pragma once
#include <QString>

#include <functional>
#include <optional>
#include <memory>

class SettingsStore;
class SoundOutput;
class EventPump;
struct ProgramState;

// The sound cues: plays a named file from the sound folder when the sound switch is on.
// Never fails: a missing folder, file or audio device gives silence.
class SoundPlayer
{
public:
    using OutputFactory = std::function<std::unique_ptr<SoundOutput>()>;

    SoundPlayer(SettingsStore &settings, ProgramState &state, EventPump &pump,
                QString programFolder, OutputFactory makeOutput);
    ~SoundPlayer();

    void JoueSon(const QString &name);
    // Lets the user interface process its pending events count times; below 1 does nothing.
    void Patiente(int count);

    // The switch as the player reads it: a number other than zero means on.
    static bool isSwitchedOn(const std::optional<QString> &activation);
    // The sound folder (the "Configuration" entry, else the program's folder) joined to name.
    QString soundPath(const QString &name) const;

private:
    SettingsStore &m_settings;
    ProgramState &m_state;
    EventPump &m_pump;
    QString m_programFolder;
    OutputFactory m_makeOutput;
    std::unique_ptr<SoundOutput> m_output; // created on first use, as the player window is
};
