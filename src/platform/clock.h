#pragma once
#include <QDateTime>

#include <chrono>

// The current date and time, as the program sees it; tests set it by hand.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // The same instant as seconds since the epoch, which needs no time zone.
    virtual qint64 secsSinceEpoch() const { return now().toSecsSinceEpoch(); }
    // Milliseconds on a count that only moves forward, whatever is done to the date and time:
    // what durations are measured with.
    virtual qint64 monotonicMs() const = 0;
};

// The computer's local date and time.
class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 secsSinceEpoch() const override { return QDateTime::currentSecsSinceEpoch(); }
    qint64 monotonicMs() const override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};
