#include "common/apptexts.h"
#include "common/programfolder.h"
#include "shell/services.h"
#include "common/settingsstore.h"
#include "exercise/sentencelist.h"
#include "journal/journal.h"
#include "records/recordwriter.h"
#include "platform/clock.h"
#include "platform/heap.h"
#include "platform/qtfilechooser.h"
#include "platform/qtmessageboxes.h"
#include "platform/printingmodule.h"
#include "platform/qttranslations.h"
#include "platform/randomsource.h"
#include "platform/soundoutput.h"
#include "platform/steadystyle.h"
#include "platform/systemtools.h"
#include "shell/appicon.h"
#include "shell/frmmain.h"
#include "platform/programmodule.h"
#include "records/summarymodule.h"
#include "sound/espeakengine.h"
#include "sound/soundoutputmodule.h"
#include "sound/soundplayer.h"

#include <QApplication>
#include <QLocale>
#include <QPixmapCache>
#include <QScreen>


int main(int argc, char *argv[])
{
    useProgramHeap();
    // The few patterns Qt matches for us (file dialog filters, folder listings) are short: the
    // regular-expression compiler's machine code would cost a quarter of a megabyte for nothing.
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_REGEXP_JIT"))
        qputenv("QT_ENABLE_REGEXP_JIT", "0");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plumalin"));
    useSteadyStyle();
    // The style keeps its drawn pieces (gradients of buttons, headers, lists) for the windows
    // painted last: a window's worth. Qt's 10 MiB kept them for every window ever shown, 0.5 MiB
    // with all of ours open, and drawing them again costs a window's repaint next to nothing.
    QPixmapCache::setCacheLimit(256);

    // The program speaks French whatever the desktop's language, Qt's own dialogs included.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    installFrenchQtTranslations(app);

    SettingsStore settings;
    SystemClock clock;
    SystemRandom random;
    QtFileChooser files;
    QtMessageBoxes messages;
    // A choice the disk refuses stays in force for the run; the teacher is told once.
    settings.setFailureReport([&messages](const QString &message) {
        messages.tell(QApplication::activeWindow(), MessageBoxes::Warning, AppTexts::Title, message);
    });
    // Every journal line is also kept on disk, in the user's Plumalin folder. Finding the user's
    // documents folder reads and parses the desktop's list of folders (a third of a megabyte of
    // Qt's code and data): looked up at the first line, not at start.
    RecordWriter records(
        [] { return joinPath(userPlumalinFolder(), QStringLiteral("Journaux")); });
    // A folder the teacher chose (a school's shared folder) is waited for, never made.
    const QString chosenRecords = settings.GetSetting(Settings::DossierJournaux, QString());
    if (!chosenRecords.isEmpty())
        records.setFolder(chosenRecords, false);
    records.setSentenceFileSource([&settings] { return sentenceFileName(settings); });
    Journal journal(clock);
    journal.setListener(&records);
    // The sound output and the summary window come from the program's modules, opened at the
    // first cue and the first "Bilan des élèves": the start maps neither libpulse nor the
    // summary's code. Without its module the program is silent, as without an audio device. The
    // speech synthesiser is opened at the first word said.
    SoundPlayer sound(
        settings, programFolder(),
        [] {
            const auto make = reinterpret_cast<SoundOutputModule::MakeSoundOutput>(
                programModuleFunction(QLatin1String(SoundOutputModule::Name),
                                      SoundOutputModule::Factory));
            return std::unique_ptr<SoundOutput>(make ? make() : nullptr);
        },
        [] { return std::unique_ptr<SpeechEngine>(std::make_unique<EspeakEngine>()); });
    QtSystemTools system;
    // Qt Print Support comes with the first printing, from the program's module.
    ModulePrintDialog printing;
    Services services{settings, clock, random, files, messages, journal, sound,
                      system, records, printing, programFolder()};
    services.makeSummaryWindow = [&](QWidget *parent) -> QWidget * {
        QString why;
        const auto make = reinterpret_cast<SummaryModule::MakeSummaryWindow>(
            programModuleFunction(QLatin1String(SummaryModule::Name), SummaryModule::Factory, &why));
        if (!make) {
            messages.tell(parent, MessageBoxes::Warning, AppTexts::Title, why);
            return nullptr;
        }
        return make(records, settings, clock, files, messages, printing, parent);
    };

    frmMain window(services);
    window.MDIForm_Load(QGuiApplication::primaryScreen()->availableGeometry());
    // Every window of the program shows the icon; drawing it waits until the main window is
    // on the screen, which it reaches a few milliseconds sooner.
    QObject::connect(&window, &frmMain::firstPainted, &window,
                     [] {
                         QApplication::setWindowIcon(appIcon());
                         // What starting freed (fonts' and settings' scratch, the icon's large
                         // renders) goes back to the system rather than waiting in the heap.
                         releaseFreedMemory();
                     });
    window.show();
    const int status = app.exec();
    // The last lines are given a moment to reach the records folder; a server that does not
    // answer is not waited for longer, and the teacher learns what the records will miss.
    const QString lost = records.finish();
    if (!lost.isEmpty())
        messages.tell(nullptr, MessageBoxes::Warning, AppTexts::Title, lost);
    return status;
}
