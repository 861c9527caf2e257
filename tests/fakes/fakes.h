#pragma once
// One test environment that bundles the fakes of the platform services with the program's own.
#include "fakes/platformfakes.h"

#include "app/services.h"
#include "common/programstate.h"
#include "common/settingsstore.h"
#include "journal/frmprogression.h"
#include "journal/journal.h"
#include "journal/journalmodel.h"
#include "records/frmbilan.h"
#include "records/recordwriter.h"
#include "sound/soundplayer.h"

#include <QDir>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <memory>

// Everything a window needs, made of fakes, over a temporary settings folder, program folder and
// home folder (so the user's own sentence folder, userPlumalinFolder(), is a fresh one too).
struct TestEnv {
    QTemporaryDir dir;
    QString programFolder = dir.path() + QStringLiteral("/bin");
    QByteArray savedHome = qgetenv("HOME");
    SettingsStore settings{dir.path() + QStringLiteral("/config")};
    FakeClock clock;
    FakeRandom random;
    FakeFileChooser files;
    FakeMessageBoxes messages;
    FakeEventPump pump;
    ProgramState state;
    // The journal's lines go to a records folder of the test's own.
    RecordWriter records{dir.path() + QStringLiteral("/Journaux")};
    Journal journal{clock, state, files, messages}; // its "Sauvegarder" never opens a real dialog
    FakeSoundOutput *soundOutput = nullptr; // owned by the player once it is first used
    SoundPlayer sound{settings, state, pump, programFolder, [this] {
                          auto out = std::make_unique<FakeSoundOutput>();
                          soundOutput = out.get();
                          return std::unique_ptr<SoundOutput>(std::move(out));
                      }};
    FakeSystemTools system;
    Services services{settings, clock, random, files, messages, pump, state, journal, sound,
                      system, records, programFolder};
    std::unique_ptr<frmProgression> m_journalWindow;

    TestEnv()
    {
        QDir().mkpath(programFolder);
        journal.setListener(&records);
        // The summary window linked in, as the program opens it from its module.
        services.makeSummaryWindow = [this](QWidget *parent) -> QWidget * {
            return new frmBilan(records, clock, files, messages, parent);
        };
        qputenv("HOME", (dir.path() + QStringLiteral("/home")).toLocal8Bit());
    }
    ~TestEnv() { qputenv("HOME", savedHome); }

    QStringList played() const { return soundOutput ? soundOutput->played : QStringList(); }
    // Text of column `column` of journal line `line` (1-based, as numbered in the grid).
    QString journalText(int line, int column = 2) { return journal.model().cellText(line - 1, column); }
    QString lastJournalText() { return journalText(journal.Rows() - 1); }
    // The journal's window, made hidden on first call.
    frmProgression *journalWindow()
    {
        if (!m_journalWindow)
            m_journalWindow = std::make_unique<frmProgression>(journal);
        return m_journalWindow.get();
    }
    // The journal's window shown and in front, as the main window's "Progression" shows it.
    frmProgression *showJournal()
    {
        frmProgression *window = journalWindow();
        window->show();
        window->raise();
        window->activateWindow();
        return window;
    }
};
