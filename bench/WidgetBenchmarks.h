#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

namespace stolvar {

// The main of a benchmark that needs widgets: an offscreen application unless another
// platform is asked for, then Google Benchmark with its own command line.
inline int RunWidgetBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace stolvar
