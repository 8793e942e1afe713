// One mock-up refresh of the real window, as the timer runs it twice a second.
#include "app/form1.h"
#include "platform/application.h"
#include "platform/environment.h"
#include "platform/fonts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

void fill(app::TForm1& form, const QString& amount)
{
    form.ComboBox2->setEditText(QStringLiteral("北京某某科技有限公司"));
    form.ComboBox3->setEditText(QStringLiteral("某某科技"));
    form.ComboBox1->setEditText(QStringLiteral("货款"));
    form.Edit3->setText(amount);
}

// Nothing typed between ticks: the usual case.
void BM_RefreshUnchanged(benchmark::State& state)
{
    QTemporaryDir dir;
    app::TForm1 form(dir.filePath(QStringLiteral("myini.ini")));
    form.Timer1->stop();
    fill(form, QStringLiteral("10010.01"));
    form.Timer1Timer();
    for (auto _ : state)
        form.Timer1Timer();
}
BENCHMARK(BM_RefreshUnchanged);

// The amount changes every tick, so the capitals, the grid and their labels change too.
void BM_RefreshAmountTyped(benchmark::State& state)
{
    QTemporaryDir dir;
    app::TForm1 form(dir.filePath(QStringLiteral("myini.ini")));
    form.Timer1->stop();
    fill(form, QString());
    const QString amounts[] = {QStringLiteral("1"), QStringLiteral("12"),
                               QStringLiteral("123456789.12")};
    std::size_t i = 0;
    for (auto _ : state) {
        form.Edit3->setText(amounts[i++ % std::size(amounts)]);
        form.Timer1Timer();
    }
}
BENCHMARK(BM_RefreshAmountTyped);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::TApplication app(argc, argv);
    platform::installFontSubstitutions();
    platform::setCurrentDateTime(QDateTime(QDate(2024, 3, 1), QTime(9, 0)));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
