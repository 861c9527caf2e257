// The program's modules, opened as the program opens them: each exports its factory under the
// name the program asks for, and what the factory makes works.
#include "fakes/fakes.h"
#include "platform/printingmodule.h"
#include "records/summarymodule.h"
#include "sound/soundoutputmodule.h"

#include <QLibrary>
#include <QTest>
#include <QWidget>

class TestModules : public QObject
{
    Q_OBJECT
private slots:
    void soundOutput();
    void summaryWindow();
    void printDialog();
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

QTEST_MAIN(TestModules)
#include "tst_modules.moc"
