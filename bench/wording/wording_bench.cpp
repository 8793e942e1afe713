// The refresh converts the amount twice a second; these guard against accidental slowness.

#include "wording/capitals.h"
#include "wording/digitgrid.h"

#include <benchmark/benchmark.h>

namespace {

// Texts as the amount field holds them: formatted, half typed, and the longest with unit words.
const QByteArray kAmounts[] = {
    "10010.01", "123456789.12", "1005.5", "0.00", "20000", "9999999999999999999999999999.99",
};

void BM_AmountInCapitals(benchmark::State& state)
{
    const QByteArray& amount = kAmounts[state.range(0)];
    state.SetLabel(amount.toStdString());
    for (auto _ : state)
        benchmark::DoNotOptimize(wording::AmountInCapitals(amount));
}
BENCHMARK(BM_AmountInCapitals)->DenseRange(0, std::size(kAmounts) - 1);

void BM_AmountDigitGrid(benchmark::State& state)
{
    const QString mockup = QStringLiteral("￥") + QString::fromLatin1(kAmounts[state.range(0)]);
    state.SetLabel(kAmounts[state.range(0)].toStdString());
    for (auto _ : state)
        benchmark::DoNotOptimize(wording::AmountDigitGrid(mockup));
}
BENCHMARK(BM_AmountDigitGrid)->DenseRange(0, std::size(kAmounts) - 1);

// What one refresh tick asks of the library.
void BM_RefreshWording(benchmark::State& state)
{
    const QByteArray amount = "123456789.12";
    const QString mockup = QStringLiteral("￥123456789.12");
    for (auto _ : state) {
        benchmark::DoNotOptimize(wording::AmountInCapitals(amount));
        benchmark::DoNotOptimize(wording::YearInCapitals(u"2024"));
        benchmark::DoNotOptimize(wording::MonthInCapitals(u"10"));
        benchmark::DoNotOptimize(wording::DayInCapitals(u"31"));
        benchmark::DoNotOptimize(wording::AmountDigitGrid(mockup));
    }
}
BENCHMARK(BM_RefreshWording);

// Pasted or generated junk must not be slow either.
void BM_AmountInCapitalsHugeText(benchmark::State& state)
{
    const QByteArray amount(100000, '7');
    for (auto _ : state)
        benchmark::DoNotOptimize(wording::AmountInCapitals(amount));
    state.SetBytesProcessed(state.iterations() * amount.size());
}
BENCHMARK(BM_AmountInCapitalsHugeText);

} // namespace

BENCHMARK_MAIN();
