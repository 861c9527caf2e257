#pragma once
// One test environment that bundles the fakes of the platform services with the program's own.
#include "fakes/fakeprintdialog.h"
#include "fakes/platformfakes.h"

#include "shell/services.h"
#include "common/settingsstore.h"
#include "journal/frmprogression.h"
#include "journal/journal.h"
#include "journal/journalmodel.h"
#include "records/frmbilan.h"
#include "records/recordwriter.h"
#include "sound/mp3decoder.h"
#include "sound/soundplayer.h"

#include <QRegularExpression>

#include <QDir>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <memory>

// A voice that says each word of a text in 100 ms, without any synthesiser; it may be made to
// fail its load, as a machine without the library would.
class FakeSpeechEngine : public SpeechEngine
{
public:
    QString failure; // a load that fails gives this reason
    explicit FakeSpeechEngine(QString fail = QString()) : failure(std::move(fail)) {}
    bool load(QString *whyNot) override
    {
        if (failure.isEmpty())
            return true;
        *whyNot = failure;
        return false;
    }
    Speech synthesise(const QString &text, Rate) override
    {
        Speech speech;
        static const QRegularExpression word(QStringLiteral("\\S+"));
        int ms = 0;
        for (auto it = word.globalMatch(text); it.hasNext(); ms += 100) {
            const auto match = it.next();
            speech.words.push_back({int(match.capturedStart()), int(match.capturedLength()), ms});
        }
        speech.audio.samples = QByteArray(qsizetype(ms) * PcmClip::SampleRate / 1000 * 2, '\0');
        return speech;
    }
};

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
    // The journal's lines go to a records folder of the test's own.
    RecordWriter records{dir.path() + QStringLiteral("/Journaux"), QStringLiteral("salle1")};
    Journal journal{clock};
    FakeSoundOutput *soundOutput = nullptr; // owned by the player once it is first used
    QString speechFailure;                  // the fake voice's load fails with this reason
    bool soundDevice = true;                // false: a computer without a sound output
    SoundPlayer sound{settings, programFolder,
                      [this] {
                          auto out = std::make_unique<FakeSoundOutput>();
                          out->device = soundDevice;
                          out->mp3 = &CueDecoder::decodeMp3;
                          soundOutput = out.get();
                          return std::unique_ptr<SoundOutput>(std::move(out));
                      },
                      [this] {
                          return std::unique_ptr<SpeechEngine>(
                              std::make_unique<FakeSpeechEngine>(speechFailure));
                      }};
    // Every step of what was asked to be heard, in order: cue paths, "pause N", "« words »".
    QStringList heard;
    FakeSystemTools system;
    FakePrintDialog printing;
    Services services{settings, clock, random, files, messages, journal, sound,
                      system, records, printing, programFolder};
    std::unique_ptr<frmProgression> m_journalWindow;

    TestEnv()
    {
        QDir().mkpath(programFolder);
        journal.setListener(&records);
        QObject::connect(&sound, &SoundPlayer::requested, [this](const SoundSequence &sequence) {
            for (const SoundItem &item : sequence) {
                if (item.kind == SoundItem::Cue)
                    heard << sound.soundPath(item.text);
                else if (item.kind == SoundItem::Pause)
                    heard << QStringLiteral("pause %1").arg(item.ms);
                else
                    heard << QStringLiteral("« %1 »").arg(item.text);
            }
        });
        // The summary window linked in, as the program opens it from its module.
        services.makeSummaryWindow = [this](QWidget *parent) -> QWidget * {
            return new frmBilan(records, settings, clock, files, messages, printing, parent);
        };
        qputenv("HOME", (dir.path() + QStringLiteral("/home")).toLocal8Bit());
    }
    ~TestEnv() { qputenv("HOME", savedHome); }

    // The cues asked for while the sound was on, as paths.
    QStringList played() const
    {
        QStringList cues;
        for (const QString &step : heard) {
            if (!step.startsWith(QLatin1String("pause ")) && !step.startsWith(QStringLiteral("« ")))
                cues << step;
        }
        return cues;
    }
    // What was asked to be said, in order.
    QStringList said() const
    {
        QStringList words;
        for (const QString &step : heard) {
            if (step.startsWith(QStringLiteral("« ")))
                words << step.mid(2, step.size() - 4);
        }
        return words;
    }
    // Text of column `column` of journal line `line` (1-based, as numbered in the grid).
    QString journalText(int line, int column = 2) { return journal.model().cellText(line - 1, column); }
    QString lastJournalText() { return journalText(journal.Rows() - 1); }
    // The journal's window, made hidden on first call.
    frmProgression *journalWindow()
    {
        if (!m_journalWindow)
            m_journalWindow = std::make_unique<frmProgression>(journal, files, messages, clock);
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
