#pragma once
// Small stand-ins for the platform services, and one test environment that bundles them.
#include "common/programstate.h"
#include "common/services.h"
#include "common/settingsstore.h"
#include "journal/journal.h"
#include "journal/journalmodel.h"
#include "platform/clock.h"
#include "platform/eventpump.h"
#include "platform/filechooser.h"
#include "platform/messageboxes.h"
#include "platform/randomsource.h"
#include "platform/soundoutput.h"
#include "sound/soundplayer.h"

#include <QDir>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <memory>

class FakeClock : public Clock
{
public:
    QDateTime current = QDateTime(QDate(2001, 10, 15), QTime(14, 3, 22));
    QDateTime now() const override { return current; }
    void advance(int seconds) { current = current.addSecs(seconds); }
};

// Gives the queued values in order, then `fallback` forever.
class FakeRandom : public RandomSource
{
public:
    std::deque<double> values;
    double fallback = 0.5;
    int seeds = 0;
    void seedFromClock() override { ++seeds; }
    double next() override
    {
        if (values.empty())
            return fallback;
        const double v = values.front();
        values.pop_front();
        return v;
    }
};

class FakeEventPump : public EventPump
{
public:
    int turns = 0;
    // Runs once at the given turn (1-based), to simulate an event arriving during a wait.
    std::function<void()> onTurn;
    int fireAtTurn = -1;
    void processPendingEvents() override
    {
        ++turns;
        if (onTurn && turns == fireAtTurn) {
            auto f = onTurn;
            onTurn = nullptr;
            f();
        }
    }
};

class FakeSoundOutput : public SoundOutput
{
public:
    QStringList played;
    void play(const QString &path) override { played.append(path); }
};

class FakeFileChooser : public FileChooser
{
public:
    QStringList answers; // paths given in turn; a null text, or nothing queued, is a cancel
    QList<Request> requests;
    std::optional<QString> choose(QWidget *, const Request &request) override
    {
        requests.append(request);
        if (answers.isEmpty() || answers.first().isNull()) {
            if (!answers.isEmpty())
                answers.removeFirst();
            return std::nullopt;
        }
        return answers.takeFirst();
    }
    std::optional<QString> chooseSave(QWidget *parent, const Request &request) override
    {
        return choose(parent, request);
    }
};

class FakeMessageBoxes : public MessageBoxes
{
public:
    struct Shown {
        MessageBoxes::Icon icon;
        QString title;
        QString text;
        MessageBoxes::Buttons buttons;
        MessageBoxes::Button defaultButton;
    };
    QList<Shown> shown;
    std::deque<MessageBoxes::Button> answers; // nothing queued: the default button
    MessageBoxes::Button ask(QWidget *, MessageBoxes::Icon icon, const QString &title,
                                    const QString &text, MessageBoxes::Buttons buttons,
                                    MessageBoxes::Button defaultButton) override
    {
        shown.append({icon, title, text, buttons, defaultButton});
        if (answers.empty())
            return defaultButton;
        const auto a = answers.front();
        answers.pop_front();
        return a;
    }
    void tell(QWidget *, MessageBoxes::Icon icon, const QString &title, const QString &text) override
    {
        shown.append({icon, title, text, MessageBoxes::Ok, MessageBoxes::Ok});
    }
};

// Everything a window needs, made of fakes, over a temporary settings folder and program folder.
struct TestEnv {
    QTemporaryDir dir;
    QString programFolder = dir.path() + QStringLiteral("/bin");
    SettingsStore settings{dir.path() + QStringLiteral("/config")};
    FakeClock clock;
    FakeRandom random;
    FakeFileChooser files;
    FakeMessageBoxes messages;
    FakeEventPump pump;
    ProgramState state;
    Journal journal{clock, state, files, messages}; // its "Sauvegarder" never opens a real dialog
    FakeSoundOutput *soundOutput = nullptr; // owned by the player once it is first used
    SoundPlayer sound{settings, state, pump, programFolder, [this] {
                          auto out = std::make_unique<FakeSoundOutput>();
                          soundOutput = out.get();
                          return std::unique_ptr<SoundOutput>(std::move(out));
                      }};
    Services services{settings, clock, random, files, messages, pump, state, journal, sound,
                      programFolder};

    TestEnv() { QDir().mkpath(programFolder); }

    QStringList played() const { return soundOutput ? soundOutput->played : QStringList(); }
    // Text of column `column` of journal line `line` (1-based, as numbered in the grid).
    QString journalText(int line, int column = 2) { return journal.model().cellText(line - 1, column); }
    QString lastJournalText() { return journalText(journal.Rows() - 1); }
};
