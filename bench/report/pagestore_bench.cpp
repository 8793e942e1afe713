// The page store holds every page of a preview; a reader pages through them in any order.
// Fetching a neighbouring page must cost the same at page 10 000 as at page 10: the walk starts
// where the last fetch left the stream. Stores of 1 000 pages and more live in a temporary file.

#include "platform/emfpicture.h"
#include "platform/emfrecorder.h"
#include "platform/fonts.h"
#include "report/reportpagelist.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <random>
#include <vector>

namespace {

using report::TReportPageList;
using report::TReportStream;

platform::EmfPicture onePage(int number)
{
    platform::EmfRecorder recorder(794, 1123, 96);
    recorder.setFont({QStringLiteral("宋体"), 12});
    recorder.textOut(353, 100, QStringLiteral("第%1页").arg(number));
    return recorder.picture();
}

const std::vector<platform::EmfPicture>& pages(int count)
{
    static std::vector<platform::EmfPicture> made;
    while (int(made.size()) < count)
        made.push_back(onePage(int(made.size()) + 1));
    return made;
}

/// One store per size, built once, as a finished preview run leaves it.
TReportPageList& store(int count)
{
    static std::map<int, std::unique_ptr<TReportPageList>> stores;
    auto& list = stores[count];
    if (!list) {
        list = std::make_unique<TReportPageList>();
        list->setStream(std::make_unique<TReportStream>());
        for (int n = 0; n < count; ++n)
            list->AddPage(pages(count)[n]);
        list->WriteHeader();
    }
    return *list;
}

void fetch(TReportPageList& list, int n)
{
    auto page = list.GetPage(n);
    benchmark::DoNotOptimize(page);
}

void BM_AppendPages(benchmark::State& state)
{
    const int count = int(state.range(0));
    const auto& made = pages(count);
    for (auto _ : state) {
        TReportPageList list;
        list.setStream(std::make_unique<TReportStream>());
        for (int n = 0; n < count; ++n)
            list.AddPage(made[n]);
        list.WriteHeader();
        benchmark::DoNotOptimize(list.stream()->size());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AppendPages)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Next and previous around one page: the cost of a neighbour wherever it is.
void BM_FetchNeighbour(benchmark::State& state)
{
    TReportPageList& list = store(int(state.range(0)));
    const int at = int(state.range(1));
    int i = 0;
    for (auto _ : state)
        fetch(list, at + (i++ & 1));
}
BENCHMARK(BM_FetchNeighbour)
    ->Args({100, 10})
    ->Args({100, 99})
    ->Args({1000, 10})
    ->Args({1000, 999})
    ->Args({10000, 10})
    ->Args({10000, 9999})
    ->Unit(benchmark::kMicrosecond);

void BM_FetchNext(benchmark::State& state)
{
    const int count = int(state.range(0));
    TReportPageList& list = store(count);
    int n = 0;
    for (auto _ : state) {
        n = n % count + 1;
        fetch(list, n);
    }
}
BENCHMARK(BM_FetchNext)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_FetchPrevious(benchmark::State& state)
{
    const int count = int(state.range(0));
    TReportPageList& list = store(count);
    int n = 1; // the page last shown
    for (auto _ : state) {
        if (n == 1) {
            // Back to the last page: a long walk, not a step back.
            state.PauseTiming();
            n = count;
            fetch(list, n);
            state.ResumeTiming();
        }
        fetch(list, --n);
    }
}
BENCHMARK(BM_FetchPrevious)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_FetchFirst(benchmark::State& state)
{
    TReportPageList& list = store(int(state.range(0)));
    fetch(list, int(state.range(0)));
    for (auto _ : state)
        fetch(list, 1);
}
BENCHMARK(BM_FetchFirst)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// From the first page to the last: the walk crosses every record between.
void BM_FetchFirstThenLast(benchmark::State& state)
{
    const int count = int(state.range(0));
    TReportPageList& list = store(count);
    for (auto _ : state) {
        fetch(list, 1);
        fetch(list, count);
    }
}
BENCHMARK(BM_FetchFirstThenLast)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_FetchRandom(benchmark::State& state)
{
    const int count = int(state.range(0));
    TReportPageList& list = store(count);
    std::mt19937 random(20240509);
    std::uniform_int_distribution<int> page(1, count);
    for (auto _ : state)
        fetch(list, page(random));
}
BENCHMARK(BM_FetchRandom)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    platform::installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
