#include "frmson.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

namespace {
// The other media backend of this Qt version crashes in play() on a machine without an audio
// device; the choice has to be made before the first media object exists.
void chooseMediaBackend()
{
    if (qEnvironmentVariable("QT_MEDIA_BACKEND") != QLatin1String("gstreamer"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
}
}

frmSon::frmSon(QObject *parent)
    : QObject(parent)
{
    chooseMediaBackend();
    m_player = new QMediaPlayer(this);
    m_audio = new QAudioOutput(this);
    // Errors (no file, no device, a file that does not decode) are deliberately not listened
    // to: the cue is simply not heard.
    m_player->setAudioOutput(m_audio);
}

frmSon::~frmSon()
{
    m_player->stop();
}

void frmSon::play(const QString &path)
{
    m_player->stop();
    if (!QFileInfo(path).isFile()) {
        m_player->setSource(QUrl());
        return;
    }
    m_player->setSource(QUrl::fromLocalFile(path));
    m_player->play();
}
