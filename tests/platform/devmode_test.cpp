#include "platform/devmode.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// A file printer takes every setting, so each field's translation shows on its own; tests
// never depend on the machine's printers.
QPrinter& filePrinter(QPrinter& printer)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    return printer;
}

DEVMODE roundTrip(const DEVMODE& in)
{
    QPrinter printer(QPrinter::HighResolution);
    filePrinter(printer);
    applyDevMode(in, printer);
    return devModeFromPrinter(printer, QPrinterInfo());
}

DEVMODE only(quint32 field, qint16 DEVMODE::*member, qint16 value)
{
    DEVMODE dm;
    dm.dmFields = field;
    dm.*member = value;
    return dm;
}

} // namespace

TEST(DevMode, EachFieldTranslatesToTheQtPrinterAndBack)
{
    struct Case
    {
        quint32 field;
        qint16 DEVMODE::*member;
        qint16 value;
    };
    std::vector<Case> cases = {
        {DM_COPIES, &DEVMODE::dmCopies, 1},
        {DM_COPIES, &DEVMODE::dmCopies, 3},
        {DM_ORIENTATION, &DEVMODE::dmOrientation, DMORIENT_PORTRAIT},
        {DM_ORIENTATION, &DEVMODE::dmOrientation, DMORIENT_LANDSCAPE},
        {DM_COLOR, &DEVMODE::dmColor, DMCOLOR_MONOCHROME},
        {DM_COLOR, &DEVMODE::dmColor, DMCOLOR_COLOR},
        {DM_COLLATE, &DEVMODE::dmCollate, DMCOLLATE_FALSE},
        {DM_COLLATE, &DEVMODE::dmCollate, DMCOLLATE_TRUE},
        {DM_PRINTQUALITY, &DEVMODE::dmPrintQuality, 600},
        {DM_PAPERSIZE, &DEVMODE::dmPaperSize, 9},  // A4
        {DM_PAPERSIZE, &DEVMODE::dmPaperSize, 1},  // Letter
        {DM_PAPERSIZE, &DEVMODE::dmPaperSize, 8},  // A3
        {DM_PAPERSIZE, &DEVMODE::dmPaperSize, 11}, // A5
        {DM_PAPERSIZE, &DEVMODE::dmPaperSize, 5},  // Legal
        {DM_DEFAULTSOURCE, &DEVMODE::dmDefaultSource, DMBIN_CASSETTE},
    };
    for (qint16 bin = DMBIN_UPPER; bin <= DMBIN_LARGECAPACITY; ++bin)
        cases.push_back({DM_DEFAULTSOURCE, &DEVMODE::dmDefaultSource, bin});
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "field " << c.field << " value " << c.value);
        const DEVMODE out = roundTrip(only(c.field, c.member, c.value));
        EXPECT_TRUE(out.supports(c.field));
        EXPECT_EQ(out.*c.member, c.value);
    }
}

TEST(DevMode, DuplexCodesMapOntoTheQtModes)
{
    // A file printer keeps no duplex mode, so the mapping is checked on its own; the real
    // queues carry it through in the printer tests.
    struct Case
    {
        qint16 code;
        QPrinter::DuplexMode mode;
    };
    for (const Case c :
         {Case{DMDUP_SIMPLEX, QPrinter::DuplexNone}, Case{DMDUP_VERTICAL, QPrinter::DuplexLongSide},
          Case{DMDUP_HORIZONTAL, QPrinter::DuplexShortSide}}) {
        EXPECT_EQ(duplexMode(c.code), c.mode) << c.code;
        EXPECT_EQ(dmDuplexCode(c.mode), c.code) << c.code;
    }
    EXPECT_EQ(dmDuplexCode(QPrinter::DuplexAuto), DMDUP_VERTICAL);
    EXPECT_FALSE(duplexMode(0));
    EXPECT_FALSE(duplexMode(4));
    EXPECT_FALSE(roundTrip(DEVMODE{}).supports(DM_DUPLEX));
}

TEST(DevMode, BinsMapOntoTheQtPaperSources)
{
    struct Case
    {
        qint16 bin;
        QPrinter::PaperSource source;
    };
    for (const Case c : {Case{DMBIN_UPPER, QPrinter::Upper}, Case{DMBIN_LOWER, QPrinter::Lower},
                         Case{DMBIN_MANUAL, QPrinter::Manual}, Case{DMBIN_AUTO, QPrinter::Auto},
                         Case{DMBIN_LARGECAPACITY, QPrinter::LargeCapacity},
                         Case{DMBIN_CASSETTE, QPrinter::Cassette}}) {
        QPrinter printer(QPrinter::HighResolution);
        filePrinter(printer);
        applyDevMode(only(DM_DEFAULTSOURCE, &DEVMODE::dmDefaultSource, c.bin), printer);
        EXPECT_EQ(printer.paperSource(), c.source) << c.bin;
    }
}

TEST(DevMode, PaperSizesCarryTheirDimensionsInTenths)
{
    struct Case
    {
        qint16 code;
        qint16 width;
        qint16 length;
    };
    for (const Case c : {Case{9, 2100, 2970}, Case{1, 2159, 2794}, Case{11, 1480, 2100}}) {
        const DEVMODE out = roundTrip(only(DM_PAPERSIZE, &DEVMODE::dmPaperSize, c.code));
        EXPECT_EQ(out.dmPaperWidth, c.width) << c.code;
        EXPECT_EQ(out.dmPaperLength, c.length) << c.code;
        EXPECT_TRUE(out.supports(DM_PAPERWIDTH) && out.supports(DM_PAPERLENGTH));
    }
}

TEST(DevMode, WidthAndLengthReplaceThePaperOnlyWhenTheyNameAnotherSheet)
{
    struct Case
    {
        qint16 width;
        qint16 length;
        QPageSize::PageSizeId expected;
    };
    // A4 measured off a device comes back a tenth away and stays A4; 100 × 150 mm is its own.
    for (const Case c : {Case{2100, 2970, QPageSize::A4}, Case{2101, 2969, QPageSize::A4},
                         Case{1480, 2100, QPageSize::A5}, Case{1000, 1500, QPageSize::Custom}}) {
        QPrinter printer(QPrinter::HighResolution);
        filePrinter(printer).setPageSize(QPageSize(QPageSize::A4));
        DEVMODE dm;
        dm.dmFields = DM_PAPERWIDTH | DM_PAPERLENGTH;
        dm.dmPaperWidth = c.width;
        dm.dmPaperLength = c.length;
        applyDevMode(dm, printer);
        const QPageSize page = printer.pageLayout().pageSize();
        EXPECT_EQ(page.id(), c.expected) << c.width << " x " << c.length;
        if (c.expected == QPageSize::Custom) {
            EXPECT_EQ(page.size(QPageSize::Millimeter), QSizeF(100, 150));
        }
    }
}

TEST(DevMode, FieldsWithoutTheirBitAndUnknownCodesLeaveThePrinterAlone)
{
    QPrinter printer(QPrinter::HighResolution);
    filePrinter(printer).setCopyCount(2);
    printer.setColorMode(QPrinter::Color);
    printer.setPaperSource(QPrinter::Lower);
    DEVMODE dm;
    dm.dmCopies = 5; // no DM_COPIES bit
    dm.dmFields = DM_COLOR | DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_ORIENTATION;
    dm.dmColor = 0;           // the driver's choice
    dm.dmDuplex = 7;          // no such code
    dm.dmDefaultSource = 300; // a driver's own bin
    dm.dmPrintQuality = -4;   // high quality: a code, not a resolution
    dm.dmOrientation = 0;
    const int resolution = printer.resolution();
    applyDevMode(dm, printer);
    EXPECT_EQ(printer.copyCount(), 2);
    EXPECT_EQ(printer.colorMode(), QPrinter::Color);
    EXPECT_EQ(printer.paperSource(), QPrinter::Lower);
    EXPECT_EQ(printer.resolution(), resolution);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
}
