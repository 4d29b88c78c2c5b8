#ifdef TUVANTA_BENCH_GUI
#include <QApplication>
#else
#include <QCoreApplication>
#endif
#include <benchmark/benchmark.h>

// One main for every benchmark program: the engine and the data modules wait
// in the event loop, so they need an application object as the program has.
// Window and printing benchmarks get a GUI application on the offscreen
// platform unless a platform is named.
int main(int argc, char **argv)
{
#ifdef TUVANTA_BENCH_GUI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
