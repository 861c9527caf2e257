#pragma once
// The main of the benchmarks that need widgets: offscreen unless a display is asked for.
#include "platform/heap.h"
#include "platform/steadystyle.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QFile>

#include <benchmark/benchmark.h>
#include <unistd.h>

// Resident memory of the process, in bytes.
inline qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

// Until `done()`, at most `seconds`: the events handled as they come, without spinning.
template<typename Done>
inline bool waitUntil(Done done, int seconds = 60)
{
    QDeadlineTimer deadline(seconds * 1000);
    // Wakes the wait now and then, so that the deadline is seen without any event.
    QTimer wake;
    wake.start(100);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QCoreApplication::processEvents();
    return true;
}

inline int runGuiBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's heap, so that the memory figures are the program's.
    useProgramHeap();
    QApplication app(argc, argv);
    // Drawn as the program draws.
    useSteadyStyle();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
