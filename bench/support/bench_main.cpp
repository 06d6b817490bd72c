// The entry point of every benchmark executable: a Qt application around Google Benchmark.
#include <QCoreApplication>

#include "bench/support/bench_database.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    zelkor::bench::release_kept();
    return 0;
}
