// The program's modules, opened as the program opens them: each exports its factory under the
// name the program asks for, and what the factory makes works.
#include "fakes/fakes.h"
#include "platform/printingmodule.h"
#include "records/summarymodule.h"
#include "sound/soundoutputmodule.h"
#include "ui/svgdrawing.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLibrary>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

class TestModules : public QObject
{
    Q_OBJECT
private slots:
    void soundOutput();
    void soundOutputOnServer();
    void summaryWindow();
    void printDialog();
    void svgDrawing();
};

namespace {
QFunctionPointer factory(const char *module, const char *symbol)
{
    QLibrary library(QStringLiteral(PLUMALIN_MODULE_DIR "/lib") + QLatin1String(module)
                     + QStringLiteral(".so"));
    if (!library.load())
        qWarning("%s", qPrintable(library.errorString()));
    return library.resolve(symbol);
}
} // namespace

void TestModules::soundOutput()
{
    const auto make = reinterpret_cast<SoundOutputModule::MakeSoundOutput>(
        factory(SoundOutputModule::Name, SoundOutputModule::Factory));
    QVERIFY(make);
    std::unique_ptr<SoundOutput> output(make());
    QVERIFY(output);
    // Without an audio device (as in CI) a clip is not heard, and still ends.
    bool finished = false;
    PcmClip clip;
    clip.samples = QByteArray(PcmClip::SampleRate / 50 * 2, '\0');
    output->start(clip, [&finished] { finished = true; });
    if (!output->hasDevice())
        QTRY_VERIFY(finished);
    output->stop();
    // The MP3 cues are decoded by the decoder that comes with the output.
    const DecodeMp3 mp3 = output->mp3Decoder();
    QVERIFY(mp3);
    QFile cue(QStringLiteral(PLUMALIN_SOUNDS_DIR "/bravo.mp3"));
    QVERIFY(cue.open(QIODevice::ReadOnly));
    const std::optional<PcmClip> bravo = mp3(cue.readAll());
    QVERIFY(bravo && bravo->durationMs() > 100);
}

namespace {
// A sound server of the test's own, with a sink that plays into nothing, which the sound output
// reaches as it would reach the desktop's.
class SoundServer
{
public:
    SoundServer()
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (program.isEmpty() || !m_folder.isValid())
            return;
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_folder.path());
        env.insert(QStringLiteral("HOME"), m_folder.path());
        m_server.setProcessEnvironment(env);
        m_server.start(program, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                                 QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                                 QStringLiteral("--log-level=error"),
                                 QStringLiteral("-L"), QStringLiteral("module-null-sink"),
                                 QStringLiteral("-L"), QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=")
                                     + socket()});
        if (!m_server.waitForStarted())
            return;
        for (int i = 0; i < 100 && !QFileInfo::exists(socket()); ++i)
            QTest::qWait(50);
        qputenv("PULSE_SERVER", ("unix:" + socket()).toLocal8Bit());
    }
    ~SoundServer()
    {
        qunsetenv("PULSE_SERVER");
        stop();
    }
    bool running() const { return QFileInfo::exists(socket()) && m_server.state() == QProcess::Running; }
    QString socket() const { return m_folder.filePath(QStringLiteral("native")); }
    void stop()
    {
        m_server.kill();
        m_server.waitForFinished();
    }
    // The clips the server is playing now.
    int streams() const
    {
        QProcess pactl;
        pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("short"),
                                              QStringLiteral("sink-inputs")});
        pactl.waitForFinished();
        return int(pactl.readAllStandardOutput().count('\n'));
    }

private:
    QTemporaryDir m_folder;
    QProcess m_server;
};

PcmClip silence(int ms)
{
    PcmClip clip;
    clip.samples = QByteArray(qsizetype(PcmClip::SampleRate) * ms / 1000 * 2, '\0');
    return clip;
}
} // namespace

void TestModules::soundOutputOnServer()
{
    SoundServer server;
    if (!server.running())
        QSKIP("pas de serveur de son pulseaudio sur cette machine");
    const auto make = reinterpret_cast<SoundOutputModule::MakeSoundOutput>(
        factory(SoundOutputModule::Name, SoundOutputModule::Factory));
    QVERIFY(make);
    std::unique_ptr<SoundOutput> output(make());
    QVERIFY(output->hasDevice());

    // A clip ends once heard, not once handed over.
    int ended = 0;
    QElapsedTimer clock;
    clock.start();
    output->start(silence(400), [&ended] { ++ended; });
    QTRY_COMPARE(ended, 1);
    QVERIFY2(clock.elapsed() >= 350, qPrintable(QString::number(clock.elapsed())));

    // A clip stopped, or replaced by the next, is cut short and never reported as ended.
    output->start(silence(3000), [&ended] { ++ended; });
    QTRY_COMPARE(server.streams(), 1);
    output->stop();
    QTRY_COMPARE(server.streams(), 0);
    output->start(silence(3000), [&ended] { ++ended; });
    QTRY_COMPARE(server.streams(), 1);
    bool second = false;
    output->start(silence(200), [&second] { second = true; });
    QTRY_VERIFY(second);
    QTRY_COMPARE(server.streams(), 0);
    QCOMPARE(ended, 1);

    // A server gone away mid-clip: the clip ends all the same.
    bool cut = false;
    output->start(silence(5000), [&cut] { cut = true; });
    QTRY_COMPARE(server.streams(), 1);
    server.stop();
    QTRY_VERIFY(cut);

    // The output goes at once, whatever it was playing.
    output->start(silence(5000), [] { QFAIL("fin d'un son après la fin de la sortie"); });
    output.reset();
}

void TestModules::summaryWindow()
{
    TestEnv env;
    const auto make = reinterpret_cast<SummaryModule::MakeSummaryWindow>(
        factory(SummaryModule::Name, SummaryModule::Factory));
    QVERIFY(make);
    QWidget parent;
    QWidget *window = make(env.records, env.settings, env.clock, env.files, env.messages, env.printing,
                           &parent);
    QVERIFY(window);
    QCOMPARE(window->parentWidget(), &parent);
    QCOMPARE(window->windowTitle(), QStringLiteral("Bilan des élèves"));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestModules::printDialog()
{
    const auto make = reinterpret_cast<PrintingModule::MakePrintDialog>(
        factory(PrintingModule::Name, PrintingModule::Factory));
    QVERIFY(make);
    std::unique_ptr<PrintDialog> dialog(make());
    QVERIFY(dialog);
}

void TestModules::svgDrawing()
{
    const auto make = reinterpret_cast<MakeSvgDrawing>(factory(SvgModule::Name, SvgModule::Factory));
    QVERIFY(make);
    // From text: a red square over the whole picture.
    std::unique_ptr<SvgDrawing> square(make({}, QByteArrayLiteral(
        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>"
        "<rect width='10' height='10' fill='#ff0000'/></svg>")));
    QVERIFY(square && square->isValid());
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        square->render(painter, QRectF(0, 0, 20, 20));
    }
    QCOMPARE(image.pixelColor(10, 10), QColor(Qt::red));
    // From a file that is not there: an invalid drawing, which draws nothing.
    std::unique_ptr<SvgDrawing> missing(make(QStringLiteral("/nulle/part.svg"), {}));
    QVERIFY(missing && !missing->isValid());
}

QTEST_MAIN(TestModules)
#include "tst_modules.moc"
