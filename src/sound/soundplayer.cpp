#include "soundplayer.h"

#include "common/programfolder.h"
#include "common/programstate.h"
#include "common/settingsstore.h"
#include "platform/eventpump.h"
#include "platform/soundoutput.h"

SoundPlayer::SoundPlayer(SettingsStore &settings, ProgramState &state, EventPump &pump,
                         QString programFolder, OutputFactory makeOutput)
    : m_settings(settings)
    , m_state(state)
    , m_pump(pump)
    , m_programFolder(std::move(programFolder))
    , m_makeOutput(std::move(makeOutput))
{
}

SoundPlayer::~SoundPlayer() = default;

bool SoundPlayer::isSwitchedOn(const std::optional<QString> &activation)
{
    if (!activation)
        return false;
    bool ok = false;
    const double value = activation->trimmed().toDouble(&ok);
    return ok && value != 0.0;
}

QString SoundPlayer::soundPath(const QString &name) const
{
    const QString folder = m_settings.GetSetting(Settings::SoundFolder, m_programFolder);
    // An entry left empty names no folder at all: the program's own folder is meant.
    return joinPath(folder.trimmed().isEmpty() ? m_programFolder : folder, name);
}

void SoundPlayer::JoueSon(const QString &name)
{
    if (!isSwitchedOn(m_state.ActivationSon))
        return;
    // Whatever goes wrong while starting the sound stays here: the caller carries on.
    try {
        if (!m_output && m_makeOutput)
            m_output = m_makeOutput();
        if (m_output)
            m_output->play(soundPath(name));
    } catch (...) {
    }
    Patiente(100);
}

void SoundPlayer::Patiente(int count)
{
    for (int i = 0; i < count; ++i)
        m_pump.processPendingEvents();
}
