// The sound service: the switch and the folder, the queue over a fake output (order, gaps, a
// new request cutting speech, a voice that cannot start, an output that never ends), the cue
// files decoded into memory, and the real speech synthesiser.
#include "fakes/fakes.h"
#include "sound/cuedecoder.h"
#include "sound/espeakengine.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QtEndian>
#include <QtTest>

#include <stdexcept>

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {
const QString Sounds = QStringLiteral(PLUMALIN_SOUNDS_DIR);

// A player over a fake output and a fake voice, reading the shipped cues, sound switched on.
struct QueueFixture {
    TestEnv env;
    QueueFixture()
    {
        env.settings.SaveSetting(Settings::SoundFolder, Sounds);
        env.sound.setActivationSon(QStringLiteral("1"));
    }
    FakeSoundOutput &out() { return *env.soundOutput; }
};

// How long a shipped cue lasts, decoded as the program's output decodes it.
qint64 cueMs(const char *name)
{
    return CueDecoder::decodeFile(Sounds + QLatin1Char('/') + QLatin1String(name),
                                  &CueDecoder::decodeMp3)
        ->durationMs();
}

QByteArray wav(int channels, int rate, int bits, int frames)
{
    QByteArray data(frames * channels * bits / 8, bits == 8 ? char(0x80) : char(0));
    QByteArray bytes("RIFF....WAVEfmt ");
    auto add32 = [&bytes](quint32 v) { char b[4]; qToLittleEndian(v, b); bytes.append(b, 4); };
    auto add16 = [&bytes](quint16 v) { char b[2]; qToLittleEndian(v, b); bytes.append(b, 2); };
    add32(16);
    add16(1);
    add16(quint16(channels));
    add32(quint32(rate));
    add32(quint32(rate * channels * bits / 8));
    add16(quint16(channels * bits / 8));
    add16(quint16(bits));
    bytes.append("LIST");
    add32(3);
    bytes.append("abc\0", 4); // an odd chunk, padded, before the data
    bytes.append("data");
    add32(quint32(data.size()));
    return bytes + data;
}
}

class TestSound : public QObject
{
    Q_OBJECT

private slots:
    void soundSwitch_data();
    void soundSwitch();
    void soundFolder_data();
    void soundFolder();
    void soundFolderReadAtEveryCall();
    void failingOutputIsSilent();

    void orderAndGaps();
    void newRequestCutsSpeech();
    void silentRequestLeavesSpeechAlone();
    void wordsAsTheyAreHeard();
    void voiceThatCannotStart_data();
    void voiceThatCannotStart();
    void outputThatNeverEnds();
    void cueCutWhileDecodedIsNeverHeard();

    void shippedCueDecodes_data();
    void shippedCueDecodes();
    void wavForms_data();
    void wavForms();
    void brokenFilesGiveNothing();

    void realVoiceSaysThreeWords();
    void realVoiceLongSentenceDoesNotBlock();
    void realVoiceApostrophe();
};

void TestSound::soundSwitch_data()
{
    QTest::addColumn<std::optional<QString>>("activation");
    QTest::addColumn<bool>("plays");

    QTest::newRow("nothing yet") << std::optional<QString>() << false;
    QTest::newRow("0") << std::optional<QString>(QStringLiteral("0")) << false;
    QTest::newRow("1") << std::optional<QString>(QStringLiteral("1")) << true;
    QTest::newRow("blanks around 1") << std::optional<QString>(QStringLiteral(" 1 ")) << true;
    QTest::newRow("2.5") << std::optional<QString>(QStringLiteral("2.5")) << true;
    QTest::newRow("-1") << std::optional<QString>(QStringLiteral("-1")) << true;
    QTest::newRow("0.0") << std::optional<QString>(QStringLiteral("0.0")) << false;
    QTest::newRow("empty") << std::optional<QString>(QString()) << false;
    QTest::newRow("not a number") << std::optional<QString>(QStringLiteral("oui")) << false;
}

void TestSound::soundSwitch()
{
    QFETCH(std::optional<QString>, activation);
    QFETCH(bool, plays);
    TestEnv env;
    env.settings.SaveSetting(Settings::SoundFolder, Sounds);
    env.sound.setActivationSon(activation);
    env.sound.JoueSon(QStringLiteral("son2.wav"));
    QCOMPARE(env.played().size(), plays ? 1 : 0);
    // A silent call does not even open the output. The cue is decoded on a thread of its own.
    QCOMPARE(env.soundOutput != nullptr, plays);
    if (plays)
        QTRY_COMPARE(env.soundOutput->started.size(), 1);
}

void TestSound::soundFolder_data()
{
    QTest::addColumn<std::optional<QString>>("entry");
    QTest::addColumn<QString>("folder"); // "<program>" stands for the program's folder

    QTest::newRow("no entry") << std::optional<QString>() << QStringLiteral("<program>");
    QTest::newRow("entry") << std::optional<QString>(QStringLiteral("/srv/sons"))
                           << QStringLiteral("/srv/sons");
    QTest::newRow("entry ending with a separator")
        << std::optional<QString>(QStringLiteral("/srv/sons/")) << QStringLiteral("/srv/sons");
    QTest::newRow("empty entry") << std::optional<QString>(QString()) << QStringLiteral("<program>");
}

void TestSound::soundFolder()
{
    QFETCH(std::optional<QString>, entry);
    QFETCH(QString, folder);
    TestEnv env;
    if (entry)
        QVERIFY(env.settings.SaveSetting(Settings::SoundFolder, *entry));
    if (folder == QLatin1String("<program>"))
        folder = env.programFolder;
    env.sound.setActivationSon(QStringLiteral("1"));
    env.sound.JoueSon(QStringLiteral("bravo.mp3"));
    QCOMPARE(env.played(), QStringList{folder + QStringLiteral("/bravo.mp3")});
    QCOMPARE(env.sound.soundPath(QStringLiteral("bravo.mp3")), folder + QStringLiteral("/bravo.mp3"));
    // A file that is not there is not heard, and the player is free again once it was looked
    // for.
    QTRY_VERIFY(!env.sound.isBusy());
}

void TestSound::soundFolderReadAtEveryCall()
{
    TestEnv env;
    env.sound.setActivationSon(QStringLiteral("1"));
    env.sound.JoueSon(QStringLiteral("bravo.mp3"));
    QVERIFY(env.settings.SaveSetting(Settings::SoundFolder, QStringLiteral("/srv/sons")));
    env.sound.JoueSon(QStringLiteral("cgagne.mp3"));
    QCOMPARE(env.played(), (QStringList{env.programFolder + QStringLiteral("/bravo.mp3"),
                                        QStringLiteral("/srv/sons/cgagne.mp3")}));
}

void TestSound::failingOutputIsSilent()
{
    TestEnv env;
    env.settings.SaveSetting(Settings::SoundFolder, Sounds);
    int attempts = 0;
    SoundPlayer throwing(env.settings, env.programFolder,
                         [&attempts]() -> std::unique_ptr<SoundOutput> {
                             ++attempts;
                             throw std::runtime_error("no audio");
                         });
    throwing.setActivationSon(QStringLiteral("1"));
    throwing.play({SoundItem::cue("bravo.mp3"), SoundItem::cue("cgagne.mp3")});
    throwing.JoueSon(QStringLiteral("bravo.mp3"));
    QVERIFY(!throwing.isBusy());
    QCOMPARE(attempts, 1);

    SoundPlayer none(env.settings, env.programFolder, [] { return std::unique_ptr<SoundOutput>(); });
    none.setActivationSon(QStringLiteral("1"));
    none.JoueSon(QStringLiteral("bravo.mp3"));
    QVERIFY(!none.isBusy());
    // Without a voice factory the speech is unavailable, with a reason.
    QCOMPARE(none.speechState(), SoundPlayer::SpeechState::Unavailable);
    QVERIFY(!none.speechUnavailableReason().isEmpty());
}

// ---- The queue ----

void TestSound::orderAndGaps()
{
    QueueFixture f;
    QSignalSpy idle(&f.env.sound, &SoundPlayer::idle);
    f.env.sound.play({SoundItem::cue("bravo.mp3"), SoundItem::pause(100),
                      SoundItem::cue("cgagne.mp3"), SoundItem::pause(100)});
    // The first cue plays once decoded; the second waits for its end, then for the gap.
    QTRY_COMPARE(f.out().started.size(), 1);
    const qint64 bravo = cueMs("bravo.mp3");
    QCOMPARE(f.out().started.at(0), bravo);
    QCoreApplication::processEvents();
    QCOMPARE(f.out().started.size(), 1);
    QElapsedTimer gap;
    gap.start();
    f.out().end();
    QCOMPARE(f.out().started.size(), 1);
    QTRY_COMPARE(f.out().started.size(), 2);
    QVERIFY(gap.elapsed() >= 100);
    QCOMPARE(f.out().started.at(1), cueMs("cgagne.mp3"));
    QVERIFY(f.env.sound.isBusy());
    f.out().end();
    QTRY_COMPARE(idle.size(), 1);
    QVERIFY(!f.env.sound.isBusy());
}

void TestSound::newRequestCutsSpeech()
{
    QueueFixture f;
    QSignalSpy ended(&f.env.sound, &SoundPlayer::speechEnded);
    f.env.sound.play({SoundItem::speech("Le chat dort sur le lit.", 7), SoundItem::cue("bravo.mp3")});
    QTRY_COMPARE(f.out().started.size(), 1);
    QCOMPARE(f.out().started.at(0), 600); // six words of 100 ms
    QVERIFY(ended.isEmpty());

    // A wrong word dropped while the sentence is said: its cue now, the rest forgotten.
    const int stops = f.out().stops;
    f.env.sound.play({SoundItem::cue("incorrect.mp3"), SoundItem::pause(100)});
    QCOMPARE(f.out().stops, stops + 1);
    QCOMPARE(ended.size(), 1);
    QCOMPARE(ended.at(0).at(0).toInt(), 7);
    QTRY_COMPARE(f.out().started.size(), 2);
    QCOMPARE(f.out().started.at(1), cueMs("incorrect.mp3"));
    f.out().end();
    QTRY_VERIFY(!f.env.sound.isBusy());
    QCOMPARE(f.out().started.size(), 2); // "bravo.mp3" of the cut sequence never comes

    // A speech cut while it is still being made is never heard.
    f.env.sound.play({SoundItem::speech("Il pleut.")});
    f.env.sound.play({SoundItem::cue("son2.wav")});
    f.out().end();
    QTRY_VERIFY(!f.env.sound.isBusy());
    QTest::qWait(50);
    QCOMPARE(f.out().started.size(), 3);
}

void TestSound::silentRequestLeavesSpeechAlone()
{
    QueueFixture f;
    f.env.sound.play({SoundItem::speech("Le chat dort.")});
    QTRY_COMPARE(f.out().started.size(), 1);
    f.env.sound.setActivationSon(QStringLiteral("0"));
    f.env.sound.play({SoundItem::cue("son2.wav"), SoundItem::pause(100)});
    QCOMPARE(f.out().stops, 0);
    QVERIFY(f.out().isPlaying());
    // Cues are left out with the switch off; speech still goes through.
    f.env.sound.play({SoundItem::cue("son2.wav"), SoundItem::speech("Bravo !!!")});
    QCOMPARE(f.env.heard.last(), QStringLiteral("« Bravo !!! »"));
}

void TestSound::wordsAsTheyAreHeard()
{
    QueueFixture f;
    QSignalSpy words(&f.env.sound, &SoundPlayer::wordSpoken);
    QSignalSpy ended(&f.env.sound, &SoundPlayer::speechEnded);
    f.env.sound.play({SoundItem::speech("Le chat dort.", 1)});
    QTRY_COMPARE(words.size(), 3);
    QCOMPARE(words.at(0), (QVariantList{1, 0, 2}));
    QCOMPARE(words.at(1), (QVariantList{1, 3, 4}));
    QCOMPARE(words.at(2), (QVariantList{1, 8, 5}));
    QVERIFY(ended.isEmpty());
    f.out().end();
    QCOMPARE(ended.size(), 1);
}

void TestSound::voiceThatCannotStart_data()
{
    QTest::addColumn<bool>("device");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no library") << true << "La synthèse vocale n'est pas installée (paquet libespeak-ng1).";
    QTest::newRow("no audio device") << false << "Aucune sortie son n'est disponible sur cet ordinateur.";
}

void TestSound::voiceThatCannotStart()
{
    QFETCH(bool, device);
    QFETCH(QString, reason);
    TestEnv env;
    env.settings.SaveSetting(Settings::SoundFolder, Sounds);
    env.speechFailure = QStringLiteral("La synthèse vocale n'est pas installée (paquet libespeak-ng1).");
    env.sound.setActivationSon(QStringLiteral("1"));
    env.sound.JoueSon(QStringLiteral("son2.wav")); // opens the output
    env.soundOutput->device = device;
    QTRY_COMPARE(env.soundOutput->started.size(), 1);
    env.soundOutput->end();
    QSignalSpy changed(&env.sound, &SoundPlayer::speechStateChanged);
    // The sentence is not heard; the cue after it is, and nothing waits forever.
    env.sound.play({SoundItem::speech("Le chat dort."), SoundItem::cue("bravo.mp3")});
    QTRY_COMPARE(env.soundOutput->started.size(), 2);
    QCOMPARE(env.sound.speechState(), SoundPlayer::SpeechState::Unavailable);
    QCOMPARE(env.sound.speechUnavailableReason(), reason);
    QVERIFY(!changed.isEmpty());
    env.soundOutput->end();
    QTRY_VERIFY(!env.sound.isBusy());
    // From now on speech is left out at once.
    env.sound.play({SoundItem::speech("Il pleut.")});
    QVERIFY(!env.sound.isBusy());
}

void TestSound::outputThatNeverEnds()
{
    QueueFixture f;
    f.env.sound.play({SoundItem::cue("son2.wav"), SoundItem::cue("son2.wav")});
    QTRY_COMPARE(f.out().started.size(), 1);
    // No "ended" ever comes: the next cue still follows, a little after the clip's length.
    QTRY_COMPARE_WITH_TIMEOUT(f.out().started.size(), 2, 10000);
}

void TestSound::cueCutWhileDecodedIsNeverHeard()
{
    QueueFixture f;
    f.env.sound.play({SoundItem::cue("bravo.mp3")});
    f.env.sound.play({SoundItem::cue("son2.wav")});
    QTRY_COMPARE(f.out().started.size(), 1);
    QTest::qWait(100);
    QCOMPARE(f.out().started,
             QList<qint64>{cueMs("son2.wav")});
    f.out().end();
    QTRY_VERIFY(!f.env.sound.isBusy());
}

// ---- Cue files ----

void TestSound::shippedCueDecodes_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"bonjour.mp3", "son2.wav", "incorrect.mp3", "bravo.mp3", "cgagne.mp3"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestSound::shippedCueDecodes()
{
    QFETCH(QString, name);
    const QString path = Sounds + QLatin1Char('/') + name;
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    QVERIFY(QFileInfo(path).size() < 100 * 1024);
    const std::optional<PcmClip> clip = CueDecoder::decodeFile(path, &CueDecoder::decodeMp3);
    QVERIFY(clip.has_value());
    QVERIFY(clip->durationMs() > 100);
    QVERIFY(clip->durationMs() < 3000);
    // Not silence.
    const auto *s = reinterpret_cast<const qint16 *>(clip->samples.constData());
    int loudest = 0;
    for (int i = 0; i < clip->sampleCount(); ++i)
        loudest = std::max(loudest, std::abs(int(s[i])));
    QVERIFY(loudest > 1000);
}

void TestSound::wavForms_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("bits");
    QTest::newRow("mono 16 bits 44.1 kHz") << 1 << 44100 << 16;
    QTest::newRow("stereo 16 bits 22.05 kHz") << 2 << 22050 << 16;
    QTest::newRow("mono 8 bits 11.025 kHz") << 1 << 11025 << 8;
}

void TestSound::wavForms()
{
    QFETCH(int, channels);
    QFETCH(int, rate);
    QFETCH(int, bits);
    const std::optional<PcmClip> clip = CueDecoder::decodeWav(wav(channels, rate, bits, rate / 2));
    QVERIFY(clip.has_value());
    QVERIFY(std::abs(clip->durationMs() - 500) <= 1);
    // 8-bit silence is 128: it stays silence.
    QVERIFY(std::all_of(clip->samples.begin(), clip->samples.end(), [](char c) { return c == 0; }));
}

void TestSound::brokenFilesGiveNothing()
{
    QVERIFY(!CueDecoder::decodeFile(QStringLiteral("/nulle/part/bravo.mp3"), &CueDecoder::decodeMp3));
    QVERIFY(!CueDecoder::decodeWav(QByteArray("RIFF")));
    QByteArray truncated = wav(1, 44100, 16, 100);
    truncated[20] = 3; // not PCM
    QVERIFY(!CueDecoder::decodeWav(truncated));
    QVERIFY(!CueDecoder::decodeWav(wav(1, 44100, 24, 100)));
    QVERIFY(!CueDecoder::decodeMp3(QByteArray(5000, 'x')));
    QVERIFY(!CueDecoder::decodeMp3(QByteArray()));
    // Without the output's decoder an MP3 cue is not heard; a WAV cue needs none.
    QVERIFY(!CueDecoder::decodeFile(Sounds + "/bravo.mp3", nullptr));
    QVERIFY(CueDecoder::decodeFile(Sounds + "/son2.wav", nullptr));
}

// ---- The real voice ----

void TestSound::realVoiceSaysThreeWords()
{
    EspeakEngine engine;
    QString why;
    QVERIFY2(engine.load(&why), qPrintable(why));
    const QString text = QStringLiteral("Le chat dort.");
    const Speech speech = engine.synthesise(text, SpeechEngine::Rate::Normal);
    QVERIFY2(speech.audio.durationMs() >= 500 && speech.audio.durationMs() <= 2500,
             qPrintable(QString::number(speech.audio.durationMs())));
    QCOMPARE(int(speech.words.size()), 3);
    const QStringList expected{"Le", "chat", "dort"};
    for (int i = 0; i < 3; ++i) {
        const SpokenWord &w = speech.words[std::size_t(i)];
        QCOMPARE(text.mid(w.start, w.length).remove(QLatin1Char('.')), expected[i]);
        if (i > 0)
            QVERIFY(w.ms > speech.words[std::size_t(i - 1)].ms);
    }
    // The slow pace takes longer.
    const Speech slow = engine.synthesise(text, SpeechEngine::Rate::Slow);
    QVERIFY(slow.audio.durationMs() > speech.audio.durationMs());
}

void TestSound::realVoiceLongSentenceDoesNotBlock()
{
    TestEnv env;
    QString words;
    for (int i = 0; i < 127; ++i)
        words += (i ? QStringLiteral(" ") : QString()) + QStringLiteral("mot%1").arg(i % 10);
    SoundPlayer player(env.settings, env.programFolder,
                       [&env] {
                           auto out = std::make_unique<FakeSoundOutput>();
                           env.soundOutput = out.get();
                           return std::unique_ptr<SoundOutput>(std::move(out));
                       },
                       [] { return std::unique_ptr<SpeechEngine>(std::make_unique<EspeakEngine>()); });
    QElapsedTimer handler;
    handler.start();
    player.play({SoundItem::speech(words)});
    // The request returns before anything is heard: the words are made on another thread,
    // while the event loop goes on (a zero timer runs before the speech is ready).
    QVERIFY(env.soundOutput->started.isEmpty());
    bool loopRan = false;
    QTimer::singleShot(0, [&] { loopRan = env.soundOutput->started.isEmpty(); });
    QTRY_VERIFY_WITH_TIMEOUT(!env.soundOutput->started.isEmpty(), 30000);
    QVERIFY(loopRan);
    QVERIFY(env.soundOutput->started.at(0) > 20000);
}

void TestSound::realVoiceApostrophe()
{
    EspeakEngine engine;
    QString why;
    QVERIFY2(engine.load(&why), qPrintable(why));
    const QString text = QStringLiteral("Je vais à l'école.");
    const Speech speech = engine.synthesise(text, SpeechEngine::Rate::Normal);
    QVERIFY(!speech.audio.isEmpty());
    // Every word event lies inside the text; "l'école" is one of them.
    QStringList heard;
    for (const SpokenWord &w : speech.words) {
        QVERIFY(w.start >= 0 && w.start + w.length <= text.size());
        heard << text.mid(w.start, w.length);
    }
    QCOMPARE(heard, (QStringList{"Je", "vais", "à", "l'école."}));
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
