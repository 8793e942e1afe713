// Unpacking skins and applying one to the entry window.
#include "app/form1.h"
#include "assets/assets.h"
#include "platform/application.h"
#include "platform/fonts.h"
#include "skins/container.h"
#include "skins/lzhuf.h"
#include "skins/skindata.h"
#include "skins/skindescription.h"
#include "skins/skinmanager.h"
#include "skins/skinstore.h"
#include "skins/winskinform.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

void unpack(benchmark::State& state, const QByteArray& packed)
{
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray out = skins::lzhufUnpack(packed);
        benchmark::DoNotOptimize(out.constData());
        bytes += out.size();
    }
    state.SetBytesProcessed(bytes); // unpacked bytes per second
}

void BM_UnpackBuiltInSkin(benchmark::State& state)
{
    unpack(state, assets::load(QStringLiteral("skin_builtin.skin")));
}
BENCHMARK(BM_UnpackBuiltInSkin);

// A megabyte of skin-like content: description text, bitmap rows, incompressible bytes.
void BM_UnpackMixedMegabyte(benchmark::State& state)
{
    QByteArray data;
    std::uint32_t x = 0x12345678;
    while (data.size() < (1 << 20)) {
        data += "[Buttons]\r\nBitmap=button.bmp\r\nLeftWidth=4\r\nNormalColour=10 20 30\r\n";
        for (int i = 0; i < 600; ++i)
            data += char(i / 3 % 256);
        for (int i = 0; i < 200; ++i) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            data += char(x);
        }
    }
    unpack(state, skins::lzhufPack(data));
}
BENCHMARK(BM_UnpackMixedMegabyte);

void BM_PackBuiltInSkin(benchmark::State& state)
{
    const QByteArray unpacked =
        skins::lzhufUnpack(assets::load(QStringLiteral("skin_builtin.skin")));
    for (auto _ : state)
        benchmark::DoNotOptimize(skins::lzhufPack(unpacked).constData());
    state.SetBytesProcessed(qint64(state.iterations()) * unpacked.size());
}
BENCHMARK(BM_PackBuiltInSkin);

// Unpacking, the container, the description and every bitmap.
void BM_ReadBuiltInSkin(benchmark::State& state)
{
    const QByteArray file = assets::load(QStringLiteral("skin_builtin.skin"));
    for (auto _ : state) {
        const skins::SkinDescription d = skins::readSkinDescription(skins::readSkinFile(file));
        benchmark::DoNotOptimize(&d);
    }
}
BENCHMARK(BM_ReadBuiltInSkin);

struct EntryWindow
{
    EntryWindow()
    {
        skins::TSkinManager::shutdown();
        form = std::make_unique<app::TForm1>(dir.filePath(QStringLiteral("myini.ini")));
        form->Timer1->stop();
        form->SkinData1->Loaded();
        form->show();
        QApplication::setActiveWindow(form.get());
        QCoreApplication::processEvents();
    }
    ~EntryWindow()
    {
        form.reset();
        skins::TSkinManager::shutdown();
    }
    QTemporaryDir dir;
    std::unique_ptr<app::TForm1> form;
};

// Attaching: colours, controls, frame, and one full paint of the skinned window.
void BM_ApplyToEntryWindow(benchmark::State& state)
{
    EntryWindow w;
    skins::TSkinManager* manager = skins::TSkinManager::instance(false);
    for (auto _ : state) {
        manager->detach(w.form.get());
        manager->attach(w.form.get(), false);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(w.form->grab().cacheKey());
    }
}
BENCHMARK(BM_ApplyToEntryWindow)->Unit(benchmark::kMillisecond);

// What a skin button does once its quarter second is up: read the item, rebuild, repaint.
void BM_SwitchEntryWindow(benchmark::State& state)
{
    EntryWindow w;
    QCoreApplication::processEvents();
    skins::TWinSkinForm* form = skins::TSkinManager::instance(false)->formOf(w.form.get());
    int item = 0;
    for (auto _ : state) {
        w.form->SkinData1->LoadSkinItem(w.form->SkinStore1, item ^= 1);
        form->rebuild();
        benchmark::DoNotOptimize(w.form->grab().cacheKey());
    }
}
BENCHMARK(BM_SwitchEntryWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::TApplication app(argc, argv);
    platform::installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
