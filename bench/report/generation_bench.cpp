// A cheque preview run: the 25 labels rebuild their lines, the band and every text are drawn
// into a 96-dpi page picture and the page is stored. The layout is the cheque's stored one, so
// the figures are those of the real print button less the window.

#include "report/band.h"
#include "report/label.h"
#include "report/layoutreader.h"
#include "report/report.h"
#include "report/reportprinter.h"
#include "tests/support/fakeprinter.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace report;

// The captions of a cheque of 12 345 678.90 yuan, by label.
const std::pair<const char*, const char*> captions[] = {
    {"PrintLabel23", "2024"},
    {"PrintLabel14", "05"},
    {"PrintLabel2", "09"},
    {"PrintLabel4", "华信科技"},
    {"PrintLabel3", "￥12345678.90"},
    {"PrintLabel5", "壹仟贰佰叁拾肆万伍仟陆佰柒拾捌元玖角"},
    {"PrintLabel1", "贰零贰肆"},
    {"PrintLabel21", "零伍"},
    {"PrintLabel16", "零玖"},
    {"PrintLabel24", "北京华信科技有限公司"},
    {"PrintLabel25", "货款"},
    {"PrintLabel15", "货款"},
    {"PrintLabel8", "中国工商银行北京分行"},
    {"PrintLabel9", "0200001234567890123"},
    {"PrintLabel6", "￥"},
    {"PrintLabel7", "1"},
    {"PrintLabel10", "2"},
    {"PrintLabel11", "3"},
    {"PrintLabel12", "4"},
    {"PrintLabel13", "5"},
    {"PrintLabel17", "6"},
    {"PrintLabel18", "7"},
    {"PrintLabel19", "8"},
    {"PrintLabel20", "9"},
    {"PrintLabel22", "0"},
};

struct Cheque
{
    testsupport::FakePrinter device;
    std::unique_ptr<TReport> report =
        loadReportLayout(QStringLiteral(QUILLMARK_SOURCE_DIR "/printlayout/chequereport.qrl"));

    Cheque()
    {
        auto* band = report->findChild<TReportBand*>(QStringLiteral("ColumnHeaderBand1"));
        for (const auto& [name, caption] : captions) {
            band->findChild<TReportLabel*>(QString::fromLatin1(name))
                ->setCaption(QString::fromUtf8(caption));
        }
    }
};

void BM_ChequePreviewRun(benchmark::State& state)
{
    Cheque cheque;
    for (auto _ : state) {
        state.PauseTiming();
        // A printer per run, as the preview request makes one; reading the device is not the run.
        cheque.report->setReportPrinter(
            std::make_unique<TReportPrinter>(cheque.report.get(), cheque.device));
        state.ResumeTiming();
        cheque.report->GenerateReport();
        benchmark::DoNotOptimize(cheque.report->reportPrinter()->pageCount());
    }
}
BENCHMARK(BM_ChequePreviewRun)->Unit(benchmark::kMicrosecond);

// The amount in capitals on the reference context: remembered after the first measure.
void BM_MeasureText(benchmark::State& state)
{
    Cheque cheque;
    const TReportLabel* label =
        cheque.report->findChild<TReportLabel*>(QStringLiteral("PrintLabel5"));
    const QString text = QString::fromUtf8(captions[5].second);
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
