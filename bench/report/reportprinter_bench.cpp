// A run of the report printer as the cheque print makes it: one page with 25 texts, into the
// page store for the preview, and straight onto a PDF queue of a private CUPS scheduler.
// The preview job should cost well under a millisecond of our own code.

#include "platform/emf.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "report/reportprinter.h"
#include "tests/support/cupsscheduler.h"

#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <memory>

namespace {

using report::TReportPrinter;

testsupport::CupsScheduler* g_scheduler = nullptr;

// The cheque's 25 fields: a short text each, spread over the form.
void drawPage(TReportPrinter& printer)
{
    platform::DeviceCanvas& canvas = *printer.canvas();
    canvas.setBkMode(platform::BkMode::Transparent);
    canvas.setTextAlign(platform::TA_LEFT | platform::TA_TOP);
    canvas.setFont({QStringLiteral("宋体"), printer.DeviceHeight(32)});
    for (int i = 0; i < 25; ++i)
        canvas.textOut(printer.DeviceX(100 + 70 * i), printer.DeviceY(129 + 20 * i),
                       QStringLiteral("壹万贰仟叁佰肆拾伍元整%1").arg(i));
}

void runJob(TReportPrinter& printer)
{
    printer.StartJob();
    printer.OpenNextPage();
    drawPage(printer);
    printer.FinishJob();
}

platform::Printer* g_queue = nullptr; // the scheduler's default queue, the Generic PDF one

platform::Printer& queue()
{
    return *g_queue;
}

// Timed by hand: pausing the benchmark's clock costs more than the job itself.
void BM_PreviewJob(benchmark::State& state)
{
    for (auto _ : state) {
        auto printer = std::make_unique<TReportPrinter>(nullptr, queue());
        const auto start = std::chrono::steady_clock::now();
        runJob(*printer);
        const auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(printer->pageStore().pageCount());
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_PreviewJob)->UseManualTime()->Unit(benchmark::kMicrosecond);

// What the preview request pays before the run: settings read from the queue.
void BM_CreatePrinterOnAQueue(benchmark::State& state)
{
    for (auto _ : state) {
        TReportPrinter printer(nullptr, queue());
        benchmark::DoNotOptimize(printer.settings().SheetWidth());
    }
}
BENCHMARK(BM_CreatePrinterOnAQueue)->Unit(benchmark::kMicrosecond);

// Until the document is handed to the spooler; CUPS turns it into the PDF afterwards.
void BM_PrinterJobToAPdfQueue(benchmark::State& state)
{
    for (auto _ : state) {
        auto printer = std::make_unique<TReportPrinter>(nullptr, queue());
        printer->setDestination(report::rdPrinter);
        printer->setTitle(QStringLiteral("bench"));
        const auto start = std::chrono::steady_clock::now();
        runJob(*printer);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        printer.reset();
        // Keep the spooler's backlog from growing into the next measurement.
        g_scheduler->waitForJobs();
    }
}
BENCHMARK(BM_PrinterJobToAPdfQueue)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

// From the start of the job to the PDF written by the queue.
void BM_PrinterJobUntilThePdfIsWritten(benchmark::State& state)
{
    for (auto _ : state) {
        QFile::remove(g_scheduler->outputPdf());
        TReportPrinter printer(nullptr, queue());
        printer.setDestination(report::rdPrinter);
        runJob(printer);
        g_scheduler->waitForJobs();
        testsupport::CupsScheduler::waitForFile(g_scheduler->outputPdf());
    }
}
BENCHMARK(BM_PrinterJobUntilThePdfIsWritten)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    // The scheduler comes first: Qt's print support reads CUPS_SERVER once.
    testsupport::CupsScheduler scheduler;
    if (!scheduler.running()) {
        std::fprintf(stderr, "no private CUPS scheduler: %s\n",
                     scheduler.error().toLocal8Bit().constData());
        return 1;
    }
    g_scheduler = &scheduler;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    platform::installFontSubstitutions();
    auto printer = std::make_unique<platform::Printer>();
    g_queue = printer.get();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_queue = nullptr;
    printer.reset();
    return 0;
}
