#pragma once
#include "platform/soundoutput.h"

#include <QObject>

class QAudioOutput;
class QMediaPlayer;

// The player behind the sound cues: one media player and its audio output, never shown.
// A new sound replaces the one playing; a missing file or audio device gives silence.
class frmSon : public QObject, public SoundOutput
{
    Q_OBJECT
public:
    explicit frmSon(QObject *parent = nullptr);
    ~frmSon() override;

    void play(const QString &path) override;

    QMediaPlayer *player() const { return m_player; }

private:
    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_audio = nullptr;
};
