#include "report/printersettings.h"
#include "report/report.h"
#include "report/reportprinter.h"
#include "tests/support/fakeprinter.h"

#include <gtest/gtest.h>

using namespace report;
using namespace platform;
using testsupport::FakePrinter;

namespace {

std::unique_ptr<TPrinterSettings> readFrom(FakePrinter& device)
{
    auto settings = std::make_unique<TPrinterSettings>();
    settings->setPrinterObject(&device);
    settings->ReadFromPrinter();
    return settings;
}

} // namespace

TEST(PrinterSettings, ReadingTakesTheDeviceModeAndTheDeviceContext)
{
    FakePrinter device; // A4 at 600 dpi, 100 pixels of margin
    TPrinterSettings settings;
    EXPECT_EQ(settings.SheetWidth(), 2100) << "A4 before anything is read";
    settings.ReadFromPrinter();
    EXPECT_EQ(settings.pixelsPerInchX(), 0) << "no printer object: nothing read";
    settings.setPaperSize(TReportPaperSize::Default);
    EXPECT_EQ(settings.SheetWidth(), 0);
    EXPECT_EQ(settings.SheetLength(), 0);

    settings.setPrinterObject(&device);
    settings.ReadFromPrinter();
    EXPECT_EQ(settings.device(), QStringLiteral("Fake"));
    EXPECT_EQ(settings.pixelsPerInchX(), 600);
    EXPECT_EQ(settings.leftOffset(), 42); // round(100 / 600 × 254)
    EXPECT_EQ(settings.topOffset(), 42);
    EXPECT_EQ(settings.sheetWidth(), 2100); // 4961 × 7016 pixels
    EXPECT_EQ(settings.sheetLength(), 2970);
    EXPECT_EQ(settings.paperSize(), TReportPaperSize::A4);
    EXPECT_EQ(settings.outputBin(), TReportBin::Auto);
    EXPECT_EQ(settings.copies(), 1);
    EXPECT_FALSE(settings.duplex());
    EXPECT_EQ(settings.values().extendedDuplex, DMDUP_SIMPLEX);
    EXPECT_EQ(settings.values().printQuality, 600);
    EXPECT_EQ(settings.values().colorOption, DMCOLOR_COLOR);
    EXPECT_TRUE(settings.paperSupported(TReportPaperSize::A5));
    EXPECT_FALSE(settings.paperSupported(TReportPaperSize::A3));
    EXPECT_TRUE(settings.paperSupported(TReportPaperSize::Custom));
}

TEST(PrinterSettings, CodesReadAsTheFirstMatchingValueOrTheDefault)
{
    struct Case
    {
        quint32 fields; // beyond paper size and source
        qint16 source;
        qint16 paper;
        TReportBin bin;
        TReportPaperSize size;
    };
    const quint32 both = DM_DEFAULTSOURCE | DM_PAPERSIZE;
    const Case cases[] = {
        {both, 14, 9, TReportBin::Cassette, TReportPaperSize::A4},
        {both, 1, 1, TReportBin::First, TReportPaperSize::Letter},
        {both, 4, 256, TReportBin::Manual, TReportPaperSize::Custom},
        {both, 300, 400, TReportBin::First, TReportPaperSize::Default}, // unknown codes
        {0, 14, 9, TReportBin::First, TReportPaperSize::Default},       // unsupported fields
    };
    for (const Case& c : cases) {
        FakePrinter::Device d;
        d.devMode.dmFields = (d.devMode.dmFields & ~both) | c.fields;
        d.devMode.dmDefaultSource = c.source;
        d.devMode.dmPaperSize = c.paper;
        FakePrinter device(d);
        const auto settings = readFrom(device);
        EXPECT_EQ(settings->outputBin(), c.bin) << c.source;
        EXPECT_EQ(settings->paperSize(), c.size) << c.paper;
    }
}

TEST(PrinterSettings, UnsupportedFieldsReadAsDefaultsAndRefuseTheirSetters)
{
    FakePrinter::Device d;
    d.devMode.dmFields = DM_PAPERSIZE;
    d.devMode.dmCopies = 4;
    d.devMode.dmDuplex = DMDUP_VERTICAL;
    d.devMode.dmPaperSize = 1;
    d.paperCodes = {1}; // Letter only
    FakePrinter device(d);
    const auto owned = readFrom(device);
    TPrinterSettings& settings = *owned;
    EXPECT_EQ(settings.copies(), 1);
    EXPECT_FALSE(settings.duplex());
    EXPECT_EQ(settings.values().extendedDuplex, 0);

    EXPECT_FALSE(settings.setCopies(3));
    EXPECT_FALSE(settings.setOrientation(poLandscape));
    EXPECT_FALSE(settings.setDuplex(true));
    EXPECT_FALSE(settings.setOutputBin(TReportBin::Manual));
    EXPECT_EQ(settings.copies(), 1);
    EXPECT_EQ(settings.orientation(), poPortrait);
    EXPECT_EQ(settings.outputBin(), TReportBin::First);
    // A4 is not listed: refused, the Letter paper stays. Default and Custom always pass.
    ASSERT_EQ(settings.paperSize(), TReportPaperSize::Letter);
    EXPECT_FALSE(settings.setPaperSize(TReportPaperSize::A4));
    EXPECT_EQ(settings.paperSize(), TReportPaperSize::Letter);
    EXPECT_EQ(settings.SheetWidth(), 2159);
    EXPECT_EQ(settings.SheetLength(), 2794);
    EXPECT_TRUE(settings.setPaperSize(TReportPaperSize::Custom));
    EXPECT_TRUE(settings.setPaperSize(TReportPaperSize::Default));
    EXPECT_EQ(settings.SheetWidth(), 2100) << "the sheet measured off the device";

    FakePrinter full;
    const auto ownedFull = readFrom(full);
    TPrinterSettings& supported = *ownedFull;
    EXPECT_TRUE(supported.setCopies(3));
    EXPECT_TRUE(supported.setOrientation(poLandscape));
    EXPECT_TRUE(supported.setOutputBin(TReportBin::Manual));
    EXPECT_EQ(supported.copies(), 3);
}

TEST(PrinterSettings, ApplyingTheChequeSettingsKeepsThePrintersPaper)
{
    FakePrinter device;
    const auto owned = readFrom(device);
    TPrinterSettings& settings = *owned;
    TReportPrinterSettingsBase values = settings.values();
    values.paperSize = TReportPaperSize::Default;
    values.outputBin = TReportBin::Auto;
    values.collate = 0;
    values.printQuality = 0;
    values.colorOption = 0;
    settings.setValues(values);
    device.device().devMode.dmPaperSize = 1; // the driver's paper, whatever it is, stays
    device.resetDevMode();
    settings.ApplyToPrinter();
    ASSERT_EQ(device.writes(), 1);
    const DEVMODE& dm = device.written();
    EXPECT_EQ(dm.dmPaperSize, 1);
    EXPECT_EQ(dm.dmPaperWidth, 2100);
    EXPECT_EQ(dm.dmPaperLength, 2970);
    EXPECT_EQ(dm.dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(dm.dmCopies, 1);
    EXPECT_EQ(dm.dmDefaultSource, DMBIN_AUTO);
    EXPECT_EQ(dm.dmDuplex, DMDUP_SIMPLEX);
    EXPECT_EQ(dm.dmCollate, 0);
    EXPECT_EQ(dm.dmPrintQuality, 0);
    EXPECT_EQ(dm.dmColor, 0);
    EXPECT_EQ(dm.dmDeviceName, QStringLiteral("Fake"));
}

TEST(PrinterSettings, ApplyingWritesCodesSixteenBitsWide)
{
    struct Case
    {
        bool duplex;
        int extended;
        qint16 written;
    };
    // ExtendedDuplex wins whatever Duplex says; 0 derives 3 or 1 from it.
    for (const Case c :
         {Case{false, 2, 2}, Case{true, 2, 2}, Case{true, 0, 3}, Case{false, 0, 1}}) {
        FakePrinter device;
        const auto owned = readFrom(device);
        TPrinterSettings& settings = *owned;
        TReportPrinterSettingsBase values = settings.values();
        values.duplex = c.duplex;
        values.extendedDuplex = c.extended;
        settings.setValues(values);
        settings.ApplyToPrinter();
        EXPECT_EQ(device.written().dmDuplex, c.written) << c.duplex << " " << c.extended;
    }
    FakePrinter device;
    const auto owned = readFrom(device);
    TPrinterSettings& settings = *owned;
    TReportPrinterSettingsBase values = settings.values();
    values.copies = 65537;
    values.paperSize = TReportPaperSize::A5;
    values.useCustomBinCode = true;
    values.customBinCode = 259;
    values.orientation = poLandscape;
    settings.setValues(values);
    settings.ApplyToPrinter();
    EXPECT_EQ(device.written().dmCopies, 1);
    EXPECT_EQ(device.written().dmPaperSize, 11);
    EXPECT_EQ(device.written().dmPaperWidth, 1480);
    EXPECT_EQ(device.written().dmDefaultSource, 259);
    EXPECT_EQ(device.written().dmOrientation, DMORIENT_LANDSCAPE);
    values.useCustomPaperCode = true;
    values.customPaperCode = 70000;
    settings.setValues(values);
    settings.ApplyToPrinter();
    EXPECT_EQ(device.written().dmPaperSize, static_cast<qint16>(70000 - 65536));
}

TEST(PrinterSettings, ACancellingHandlerKeepsEitherSideUntouched)
{
    FakePrinter device;
    TPrinterSettings settings;
    settings.setPrinterObject(&device);
    int calls = 0;
    settings.setOnGetPrinterSettings([&](QObject* sender, bool& cancel, DEVMODE& dm) {
        ++calls;
        EXPECT_EQ(sender, &settings);
        EXPECT_EQ(dm.dmPaperSize, 9);
        cancel = true;
    });
    settings.ReadFromPrinter();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(settings.pixelsPerInchX(), 0);
    EXPECT_EQ(settings.sheetWidth(), 0);

    settings.setOnGetPrinterSettings({});
    settings.ReadFromPrinter();
    settings.setOnApplyPrinterSettings([&](QObject*, bool& cancel, DEVMODE& dm) {
        EXPECT_EQ(dm.dmCopies, 2);
        cancel = true;
    });
    settings.setCopies(2);
    settings.ApplyToPrinter();
    EXPECT_EQ(device.writes(), 0);
    // A handler may change the device mode it lets through.
    settings.setOnApplyPrinterSettings([](QObject*, bool&, DEVMODE& dm) { dm.dmCopies = 7; });
    settings.ApplyToPrinter();
    EXPECT_EQ(device.written().dmCopies, 7);
}

TEST(PrinterSettings, TheReportsValuesReachItsPrinter)
{
    FakePrinter device;
    TReport report;
    report.page().setPaperSize(TReportPaperSize::Custom);
    report.page().setUnits(TReportUnit::Native);
    report.page().setWidth(1000.4L);
    report.page().setLength(1500.6L);
    report.page().setOrientation(poLandscape);
    TReportPrinterSettings& values = report.printerSettings();
    values.copies = 2;
    values.outputBin = TReportBin::Manual;
    values.firstPage = 2;
    values.lastPage = 4;
    values.extendedDuplex = 3;
    values.collate = 1;
    TReportPrinter printer(&report, device);
    printer.ApplyPrinterValues(report);
    const TPrinterSettings& s = printer.settings();
    EXPECT_EQ(s.paperSize(), TReportPaperSize::Custom);
    EXPECT_EQ(s.SheetWidth(), 1000);
    EXPECT_EQ(s.SheetLength(), 1501);
    EXPECT_EQ(s.orientation(), poLandscape);
    EXPECT_EQ(printer.paperWidth(), 1501);
    EXPECT_EQ(printer.paperLength(), 1000);
    EXPECT_EQ(s.copies(), 2);
    EXPECT_EQ(s.outputBin(), TReportBin::Manual);
    EXPECT_EQ(printer.FirstPage(), 2);
    EXPECT_EQ(printer.LastPage(), 4);
    EXPECT_EQ(s.values().extendedDuplex, 3);
    EXPECT_EQ(s.values().collate, 1);
}

TEST(PrinterSettings, ADeviceModeWrittenReadsBackAsTheSameChoices)
{
    // The two translations agree field by field: a setting added to one and not the other
    // shows here.
    const quint32 every = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_DEFAULTSOURCE |
                          DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX | DM_COLLATE;
    struct Case
    {
        int copies;
        TReportBin bin;
        bool duplex;
        int extendedDuplex;
        TReportPaperSize paper;
        int quality, collate, colour;
    };
    const Case cases[] = {
        {1, TReportBin::Auto, false, 1, TReportPaperSize::A4, 0, 0, 0},
        {3, TReportBin::Cassette, true, 2, TReportPaperSize::Letter, 600, 1, 2},
        {7, TReportBin::Manual, true, 3, TReportPaperSize::A5, -4, 0, 1},
    };
    for (const Case& c : cases) {
        TReportPrinterSettingsBase written;
        written.copies = c.copies;
        written.outputBin = c.bin;
        written.duplex = c.duplex;
        written.extendedDuplex = c.extendedDuplex;
        written.paperSize = c.paper;
        written.printQuality = c.quality;
        written.collate = c.collate;
        written.colorOption = c.colour;
        DEVMODE dm;
        dm.dmFields = every;
        writeDevMode(written, 2100, 2970, dm);
        TReportPrinterSettingsBase read;
        readDevMode(dm, read);
        EXPECT_EQ(read.copies, c.copies);
        EXPECT_EQ(read.outputBin, c.bin);
        EXPECT_EQ(read.duplex, c.duplex);
        EXPECT_EQ(read.extendedDuplex, c.extendedDuplex);
        EXPECT_EQ(read.paperSize, c.paper);
        EXPECT_EQ(read.printQuality, c.quality);
        EXPECT_EQ(read.collate, c.collate);
        EXPECT_EQ(read.colorOption, c.colour);
    }
}
