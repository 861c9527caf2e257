#pragma once
// The main of the benchmarks that need widgets: offscreen unless a display is asked for.
#include <QApplication>

#include <benchmark/benchmark.h>

inline int runGuiBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
