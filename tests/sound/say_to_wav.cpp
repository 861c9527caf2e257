// Not a test: what the voice says, written as a WAV file (44.1 kHz, mono, 16 bits), to hear it
// without the program:  say_to_wav "Le chat dort." docs/le-chat-dort.wav [lente]
#include "sound/espeakengine.h"

#include <QFile>
#include <QtEndian>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: say_to_wav \"phrase\" fichier.wav [lente]\n");
        return 2;
    }
    EspeakEngine engine;
    QString why;
    if (!engine.load(&why)) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    const auto rate = argc > 3 ? SpeechEngine::Rate::Slow : SpeechEngine::Rate::Normal;
    const Speech speech = engine.synthesise(QString::fromLocal8Bit(argv[1]), rate);
    QByteArray pcm = speech.audio.samples;
    for (qsizetype i = 0; i + 1 < pcm.size(); i += 2)
        qToLittleEndian(*reinterpret_cast<const qint16 *>(pcm.constData() + i), pcm.data() + i);
    QByteArray out("RIFF");
    auto add32 = [&out](quint32 v) { char b[4]; qToLittleEndian(v, b); out.append(b, 4); };
    auto add16 = [&out](quint16 v) { char b[2]; qToLittleEndian(v, b); out.append(b, 2); };
    add32(quint32(36 + pcm.size()));
    out.append("WAVEfmt ");
    add32(16);
    add16(1);
    add16(1);
    add32(PcmClip::SampleRate);
    add32(PcmClip::SampleRate * 2);
    add16(2);
    add16(16);
    out.append("data");
    add32(quint32(pcm.size()));
    out.append(pcm);
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size())
        return 1;
    for (const SpokenWord &w : speech.words)
        std::printf("%5d ms  %s\n", w.ms, qPrintable(QString::fromLocal8Bit(argv[1]).mid(w.start, w.length)));
    std::printf("%lld ms\n", static_cast<long long>(speech.audio.durationMs()));
    return 0;
}
