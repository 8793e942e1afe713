// A cheque preview run: the 25 labels rebuild their lines, the band and every text are drawn
// into a 96-dpi page picture and the page is stored. The layout is the cheque's stored one, so
// the figures are those of the real print button less the window.

#include "report/band.h"
#include "report/label.h"
#include "report/layoutreader.h"
#include "report/report.h"
#include "report/reportprinter.h"
#include "report/reportrun.h"
#include "tests/support/fakeprinter.h"
#include "tests/support/samplecheque.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace report;

struct Cheque
{
    testsupport::FakePrinter device;
    std::unique_ptr<TReport> report =
        loadReportLayout(QStringLiteral(QUILLMARK_SOURCE_DIR "/printlayout/chequereport.qrl"));

    Cheque()
    {
        auto* band = report->findChild<TReportBand*>(QStringLiteral("ColumnHeaderBand1"));
        for (const auto& [name, caption] : testsupport::sampleChequeCaptions) {
            band->findChild<TReportLabel*>(QString::fromLatin1(name))
                ->setCaption(QString::fromUtf8(caption));
        }
    }
};

void BM_ChequePreviewRun(benchmark::State& state)
{
    Cheque cheque;
    std::unique_ptr<TReportPrinter> printer;
    for (auto _ : state) {
        state.PauseTiming();
        // A printer per run, as the preview request makes one; reading the device is not the run.
        printer = std::make_unique<TReportPrinter>(cheque.report.get(), cheque.device);
        state.ResumeTiming();
        GenerateReport(*cheque.report, *printer);
        benchmark::DoNotOptimize(printer->pageCount());
    }
}
BENCHMARK(BM_ChequePreviewRun)->Unit(benchmark::kMicrosecond);

// The amount in capitals on the reference context: remembered after the first measure.
void BM_MeasureText(benchmark::State& state)
{
    Cheque cheque;
    const TReportLabel* label =
        cheque.report->findChild<TReportLabel*>(QStringLiteral("PrintLabel5"));
    const QString text = QString::fromUtf8(testsupport::sampleChequeCaptions[5].second);
    for (auto _ : state)
        benchmark::DoNotOptimize(label->MeasureText(text));
}
BENCHMARK(BM_MeasureText)->Unit(benchmark::kNanosecond);

// A text not measured before: what the first measure of a caption costs.
void BM_MeasureNewText(benchmark::State& state)
{
    Cheque cheque;
    const TReportLabel* label =
        cheque.report->findChild<TReportLabel*>(QStringLiteral("PrintLabel5"));
    int n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(label->MeasureText(QString::number(++n) + QStringLiteral("元")));
}
BENCHMARK(BM_MeasureNewText)->Unit(benchmark::kNanosecond);

} // namespace
