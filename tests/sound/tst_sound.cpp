// The sound cues: the switch, the folder and the waits with a fake output; the real media
// player with the shipped files.
#include "fakes/fakes.h"
#include "sound/frmson.h"

#include <QFileInfo>
#include <QMediaPlayer>
#include <QSignalSpy>
#include <QtTest>

#include <stdexcept>

Q_DECLARE_METATYPE(std::optional<QString>)

class TestSound : public QObject
{
    Q_OBJECT

private slots:
    void soundSwitch_data();
    void soundSwitch();
    void soundFolder_data();
    void soundFolder();
    void soundFolderReadAtEveryCall();
    void patiente_data();
    void patiente();
    void cueDuringAWait();
    void failingOutputIsSilent();
    void shippedFileLoads_data();
    void shippedFileLoads();
    void missingFileIsSilent();
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
    env.state.ActivationSon = activation;
    env.sound.JoueSon(QStringLiteral("son2.wav"));
    QCOMPARE(env.played().size(), plays ? 1 : 0);
    // The wait belongs to a cue that plays; a silent call returns at once.
    QCOMPARE(env.pump.turns, plays ? 100 : 0);
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
    env.state.ActivationSon = QStringLiteral("1");
    env.sound.JoueSon(QStringLiteral("bravo.mp3"));
    QCOMPARE(env.played(), QStringList{folder + QStringLiteral("/bravo.mp3")});
    QCOMPARE(env.sound.soundPath(QStringLiteral("bravo.mp3")), folder + QStringLiteral("/bravo.mp3"));
}

void TestSound::soundFolderReadAtEveryCall()
{
    TestEnv env;
    env.state.ActivationSon = QStringLiteral("1");
    env.sound.JoueSon(QStringLiteral("bravo.mp3"));
    QVERIFY(env.settings.SaveSetting(Settings::SoundFolder, QStringLiteral("/srv/sons")));
    env.sound.JoueSon(QStringLiteral("cgagne.mp3"));
    QCOMPARE(env.played(), (QStringList{env.programFolder + QStringLiteral("/bravo.mp3"),
                                        QStringLiteral("/srv/sons/cgagne.mp3")}));
}

void TestSound::patiente_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("turns");
    QTest::newRow("1000") << 1000 << 1000;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("negative") << -5 << 0;
}

void TestSound::patiente()
{
    QFETCH(int, count);
    QFETCH(int, turns);
    TestEnv env;
    env.sound.Patiente(count);
    QCOMPARE(env.pump.turns, turns);
}

void TestSound::cueDuringAWait()
{
    // A drop handled during the wait of a cue plays its own cue on the same player.
    TestEnv env;
    env.state.ActivationSon = QStringLiteral("1");
    env.pump.fireAtTurn = 10;
    env.pump.onTurn = [&env] { env.sound.JoueSon(QStringLiteral("incorrect.mp3")); };
    env.sound.JoueSon(QStringLiteral("son2.wav"));
    QCOMPARE(env.played(), (QStringList{env.programFolder + QStringLiteral("/son2.wav"),
                                        env.programFolder + QStringLiteral("/incorrect.mp3")}));
    QCOMPARE(env.pump.turns, 200);
}

void TestSound::failingOutputIsSilent()
{
    TestEnv env;
    env.state.ActivationSon = QStringLiteral("1");
    int attempts = 0;
    SoundPlayer throwing(env.settings, env.state, env.pump, env.programFolder,
                         [&attempts]() -> std::unique_ptr<SoundOutput> {
                             ++attempts;
                             throw std::runtime_error("no audio");
                         });
    throwing.JoueSon(QStringLiteral("bravo.mp3"));
    QCOMPARE(env.pump.turns, 100);

    SoundPlayer none(env.settings, env.state, env.pump, env.programFolder,
                     [] { return std::unique_ptr<SoundOutput>(); });
    none.JoueSon(QStringLiteral("bravo.mp3"));
    QCOMPARE(env.pump.turns, 200);
    QCOMPARE(attempts, 1);
}

void TestSound::shippedFileLoads_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"bonjour.mp3", "son2.wav", "incorrect.mp3", "bravo.mp3", "cgagne.mp3"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestSound::shippedFileLoads()
{
    QFETCH(QString, name);
    const QString path = QStringLiteral(PLUMALIN_SOUNDS_DIR "/") + name;
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    QVERIFY(QFileInfo(path).size() < 100 * 1024);

    frmSon son;
    QSignalSpy statuses(son.player(), &QMediaPlayer::mediaStatusChanged);
    son.play(path);
    QTRY_VERIFY_WITH_TIMEOUT(
        statuses.contains(QVariantList{QVariant::fromValue(QMediaPlayer::LoadedMedia)}), 15000);
    QVERIFY(!statuses.contains(QVariantList{QVariant::fromValue(QMediaPlayer::InvalidMedia)}));
    QTRY_VERIFY(son.player()->duration() > 0);
    QVERIFY(son.player()->duration() < 3000);
}

void TestSound::missingFileIsSilent()
{
    frmSon son;
    son.play(QStringLiteral(PLUMALIN_SOUNDS_DIR "/bravo.mp3"));
    son.play(QStringLiteral("/nulle/part/bravo.mp3")); // replaces the sound playing
    QCOMPARE(son.player()->source(), QUrl());
    QTest::qWait(200);

    // Through the player, as the exercise calls it, with a sound folder that does not exist.
    TestEnv env;
    env.state.ActivationSon = QStringLiteral("1");
    QVERIFY(env.settings.SaveSetting(Settings::SoundFolder, QStringLiteral("/nulle/part")));
    QtEventPump pump;
    SoundPlayer player(env.settings, env.state, pump, env.programFolder,
                       [] { return std::unique_ptr<SoundOutput>(std::make_unique<frmSon>()); });
    player.JoueSon(QStringLiteral("bravo.mp3"));
    player.JoueSon(QStringLiteral("absent.wav"));

    // A file that is there still plays after the missing ones.
    QSignalSpy statuses(son.player(), &QMediaPlayer::mediaStatusChanged);
    son.play(QStringLiteral(PLUMALIN_SOUNDS_DIR "/son2.wav"));
    QTRY_VERIFY_WITH_TIMEOUT(
        statuses.contains(QVariantList{QVariant::fromValue(QMediaPlayer::LoadedMedia)}), 15000);
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
