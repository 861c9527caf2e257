#pragma once
#include <QDateTime>

// The current date and time, as the program sees it; tests set it by hand.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // The same instant as seconds since the epoch, which needs no time zone.
    virtual qint64 secsSinceEpoch() const { return now().toSecsSinceEpoch(); }
};

// The computer's local date and time.
class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 secsSinceEpoch() const override { return QDateTime::currentSecsSinceEpoch(); }
};
