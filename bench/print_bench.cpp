// From "Stampa" to the job accepted by a CUPS scheduler of the benchmark's
// own, for a short and the longest report, with the longest stall of the
// GUI thread's event loop while the job is on its way.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

#include "tests/support/print_service.h"
#include "tests/support/sample_report.h"
#include "ui/print/job.h"

namespace {

korval::test::PrintService &Service()
{
    static const std::unique_ptr<korval::test::PrintService> service = korval::test::OpenPrintService();
    static const bool ready = service->Running() && service->AddDefaultPdfQueue();
    if (!ready)
        std::fprintf(stderr, "the print service did not start\n%s\n", qPrintable(service->Log()));
    return *service;
}

void Print(benchmark::State &state, int lamps)
{
    korval::test::PrintService &service = Service();
    const korval::ReportContent content = korval::test::ReportOf(lamps);
    qint64 longestStall = 0;
    for (auto _ : state) {
        QElapsedTimer sinceTick;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, &ticker,
                         [&] { longestStall = std::max(longestStall, sinceTick.restart()); });
        QEventLoop loop;
        korval::PrintResult result;
        korval::PrintJob job(content, std::chrono::seconds(60));
        QObject::connect(&job, &korval::PrintJob::Finished, &loop, [&](const korval::PrintResult &r) {
            result = r;
            loop.quit();
        });
        sinceTick.start();
        ticker.start(5);
        loop.exec();
        if (result.Outcome != korval::PrintOutcome::Printed) {
            state.SkipWithError("the job was not accepted");
            break;
        }
        state.PauseTiming();
        service.ClearJobs();
        state.ResumeTiming();
    }
    state.counters["longest_stall_ms"] = static_cast<double>(longestStall);
}

}  // namespace

BENCHMARK_CAPTURE(Print, one_lamp_row, 1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5);
BENCHMARK_CAPTURE(Print, lamp_rows_250, 250)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(5);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
