#include "common/apptexts.h"
#include "common/programfolder.h"
#include "common/programstate.h"
#include "shell/services.h"
#include "common/settingsstore.h"
#include "exercise/sentencelist.h"
#include "journal/journal.h"
#include "records/recordwriter.h"
#include "platform/clock.h"
#include "platform/qtfilechooser.h"
#include "platform/qtmessageboxes.h"
#include "platform/qtprintdialog.h"
#include "platform/qttranslations.h"
#include "platform/randomsource.h"
#include "platform/soundoutput.h"
#include "platform/steadystyle.h"
#include "platform/systemtools.h"
#include "shell/appicon.h"
#include "shell/frmmain.h"
#include "sound/espeakengine.h"
#include "sound/frmson.h"
#include "sound/soundplayer.h"

#include <QApplication>
#include <QLocale>
#include <QScreen>
#include <QTimer>

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
    ProgramState state;
    // A choice the disk refuses stays in force for the run; the teacher is told once.
    settings.setFailureReport([&messages](const QString &message) {
        messages.tell(QApplication::activeWindow(), MessageBoxes::Warning, AppTexts::Title, message);
    });
    // Every journal line is also kept on disk, in the user's Plumalin folder.
    RecordWriter records(joinPath(userPlumalinFolder(), QStringLiteral("Journaux")));
    // A folder the teacher chose (a school's shared folder) is waited for, never made.
    const QString chosenRecords = settings.GetSetting(Settings::DossierJournaux, QString());
    if (!chosenRecords.isEmpty())
        records.setFolder(chosenRecords, false);
    records.setSentenceFileSource([&settings] { return sentenceFileName(settings); });
    Journal journal(clock);
    journal.setListener(&records);
    // The sound device and the speech synthesiser are opened on the first sound, not here.
    SoundPlayer sound(settings, programFolder(), &makeSoundOutput,
                      [] { return std::unique_ptr<SpeechEngine>(std::make_unique<EspeakEngine>()); });
    QtSystemTools system;
    QtPrintDialog printing;
    Services services{settings, clock, random, files, messages, state, journal, sound,
                      system, records, printing, programFolder()};

    frmMain window(services);
    window.MDIForm_Load(QGuiApplication::primaryScreen()->availableGeometry());
    window.show();
    // Every window of the program shows the icon; drawing it waits until the main window is
    // on the screen, which it reaches a few milliseconds sooner.
    QTimer::singleShot(0, &window, [] { QApplication::setWindowIcon(appIcon()); });
    return app.exec();
}
