#include "common/apptexts.h"
#include "common/programfolder.h"
#include "common/programstate.h"
#include "app/services.h"
#include "common/settingsstore.h"
#include "exercise/sentencelist.h"
#include "journal/journal.h"
#include "records/recordwriter.h"
#include "platform/clock.h"
#include "platform/eventpump.h"
#include "platform/qtfilechooser.h"
#include "platform/qtmessageboxes.h"
#include "platform/qttranslations.h"
#include "platform/randomsource.h"
#include "platform/soundoutput.h"
#include "platform/steadystyle.h"
#include "platform/systemtools.h"
#include "shell/appicon.h"
#include "shell/frmmain.h"
#include "sound/frmson.h"
#include "sound/soundplayer.h"

#include <QApplication>
#include <QLocale>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plumalin"));
    useSteadyStyle();

    // The program speaks French whatever the desktop's language, Qt's own dialogs included.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    installFrenchQtTranslations(app);

    SettingsStore settings;
    SystemClock clock;
    SystemRandom random;
    QtFileChooser files;
    QtMessageBoxes messages;
    QtEventPump pump;
    ProgramState state;
    // A choice the disk refuses stays in force for the run; the teacher is told once.
    settings.setFailureReport([&messages](const QString &message) {
        messages.tell(QApplication::activeWindow(), MessageBoxes::Warning, AppTexts::Title, message);
    });
    // Every journal line is also kept on disk, in the user's Plumalin folder.
    RecordWriter records(joinPath(userPlumalinFolder(), QStringLiteral("Journaux")));
    records.setSentenceFileSource([&settings] { return sentenceFileName(settings); });
    Journal journal(clock, state, files, messages);
    journal.setListener(&records);
    SoundPlayer sound(settings, state, pump, programFolder(),
                      [] { return std::unique_ptr<SoundOutput>(std::make_unique<frmSon>()); });
    QtSystemTools system;
    Services services{settings, clock, random, files, messages, pump, state, journal, sound,
                      system, records, programFolder()};

    frmMain window(services);
    window.MDIForm_Load(QGuiApplication::primaryScreen()->availableGeometry());
    // Every window of the program shows the icon; drawing it waits until the main window is
    // on the screen, which it reaches a few milliseconds sooner.
    QObject::connect(&window, &frmMain::firstPainted, &window,
                     [] { QApplication::setWindowIcon(appIcon()); });
    window.show();
    return app.exec();
}
