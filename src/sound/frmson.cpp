#include "frmson.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QObject>
#include <QPointer>
#include <QTimer>

namespace {
QAudioFormat programFormat()
{
    QAudioFormat format;
    format.setSampleRate(PcmClip::SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

// The player behind every sound, never shown: one audio sink fed from memory.
class frmSon : public QObject, public SoundOutput
{
public:
    frmSon()
    {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !device.isFormatSupported(programFormat()))
            return;
        m_sink = new QAudioSink(device, programFormat(), this);
        connect(m_sink, &QAudioSink::stateChanged, this, &frmSon::stateChanged);
    }
    ~frmSon() override { stop(); }

    void start(const PcmClip &clip, std::function<void()> finished) override
    {
        stop();
        m_finished = std::move(finished);
        if (!m_sink || clip.isEmpty()) {
            endLater();
            return;
        }
        m_buffer = new QBuffer(this);
        m_buffer->setData(clip.samples);
        m_buffer->open(QIODevice::ReadOnly);
        m_sink->start(m_buffer);
        if (m_sink->error() != QAudio::NoError)
            endLater();
    }

    void stop() override
    {
        m_finished = nullptr;
        if (m_sink && m_sink->state() != QAudio::StoppedState)
            m_sink->stop();
        if (m_buffer) {
            m_buffer->deleteLater();
            m_buffer = nullptr;
        }
    }

    bool hasDevice() const override { return m_sink != nullptr; }

private:
    void stateChanged(QAudio::State state)
    {
        // Idle: every sample of the clip has been handed to the device.
        if (state == QAudio::IdleState
            || (state == QAudio::StoppedState && m_sink->error() != QAudio::NoError))
            endLater();
    }

    void endLater()
    {
        auto finished = std::move(m_finished);
        m_finished = nullptr;
        if (!finished)
            return;
        QTimer::singleShot(0, this, [finished] { finished(); });
    }

    QAudioSink *m_sink = nullptr;
    QPointer<QBuffer> m_buffer;
    std::function<void()> m_finished;
};
}

std::unique_ptr<SoundOutput> makeSoundOutput()
{
    return std::make_unique<frmSon>();
}
