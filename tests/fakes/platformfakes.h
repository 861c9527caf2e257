#pragma once
// Small stand-ins for the platform services.
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "platform/messageboxes.h"
#include "platform/randomsource.h"
#include "platform/soundoutput.h"
#include "platform/systemtools.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <deque>
#include <functional>

class FakeClock : public Clock
{
public:
    QDateTime current = QDateTime(QDate(2001, 10, 15), QTime(14, 3, 22));
    // The steady count; setting `current` by hand is the clock set back or forward.
    qint64 steadyMs = 1000000;
    QDateTime now() const override { return current; }
    qint64 monotonicMs() const override { return steadyMs; }
    void advance(int seconds)
    {
        current = current.addSecs(seconds);
        steadyMs += qint64(seconds) * 1000;
    }
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

// Keeps the clips it is given; a clip ends when the test says so (or at once, if asked).
class FakeSoundOutput : public SoundOutput
{
public:
    QList<qint64> started;      // the durations of the clips started, in order
    int stops = 0;
    bool device = true;
    bool endAtOnce = false;     // every clip is heard to its end right away
    std::function<void()> finished;
    void start(const PcmClip &clip, std::function<void()> done) override
    {
        started.append(clip.durationMs());
        finished = std::move(done);
        if (endAtOnce)
            end();
    }
    void stop() override
    {
        ++stops;
        finished = nullptr;
    }
    bool hasDevice() const override { return device; }
    DecodeMp3 mp3 = nullptr; // null: MP3 cues do not decode
    DecodeMp3 mp3Decoder() const override { return mp3; }
    bool isPlaying() const { return bool(finished); }
    // The clip playing has been heard to its end.
    void end()
    {
        auto done = std::move(finished);
        finished = nullptr;
        if (done)
            done();
    }
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
    std::optional<QString> chooseFolder(QWidget *parent, const Request &request) override
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

// Answers the About box's questions to the system: a registry of texts, files, starts.
class FakeSystemTools : public SystemTools
{
public:
    QMap<QString, QString> registry; // "key path|value name" -> text
    bool filesExist = true;
    bool startWorks = true;
    QStringList started;
    std::optional<RegistryValue> registryValue(const QString &keyPath,
                                               const QString &valueName) override
    {
        const auto found = registry.constFind(keyPath + QLatin1Char('|') + valueName);
        if (found == registry.cend())
            return std::nullopt;
        return RegistryValue{1, found->toLatin1()};
    }
    bool fileExists(const QString &) override { return filesExist; }
    bool start(const QString &path) override
    {
        started.append(path);
        return startWorks;
    }
};
