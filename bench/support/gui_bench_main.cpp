// The entry point of the benchmarks that paint: an offscreen Qt GUI application (fonts and PDF
// painting need one) around Google Benchmark.
#include <QGuiApplication>

#include "bench/support/bench_database.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    zelkor::bench::release_kept();
    return 0;
}
