#include <QCoreApplication>
#include <benchmark/benchmark.h>

// One main for every benchmark program: the engine and the data modules wait
// in the event loop, so they need an application object as the program has.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
