#include "platform/devmode.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace platform {

namespace {

constexpr qint16 DMPAPER_USER = 256;

qint16 tenths(qreal millimetres)
{
    return static_cast<qint16>(std::lround(millimetres * 10));
}

} // namespace

qint16 dmBinCode(QPrinter::PaperSource source)
{
    // DMBIN 1 to 11 follow the Qt order from OnlyOne; the cassette is 14, the form source 15.
    if (source >= QPrinter::OnlyOne && source <= QPrinter::LargeCapacity)
        return static_cast<qint16>(source + 1);
    if (source == QPrinter::Cassette)
        return DMBIN_CASSETTE;
    if (source == QPrinter::FormSource)
        return DMBIN_FORMSOURCE;
    return DMBIN_AUTO;
}

std::optional<QPrinter::PaperSource> paperSource(qint16 code)
{
    if (code >= DMBIN_UPPER && code <= DMBIN_LARGECAPACITY)
        return static_cast<QPrinter::PaperSource>(code - 1);
    if (code == DMBIN_CASSETTE)
        return QPrinter::Cassette;
    if (code == DMBIN_FORMSOURCE)
        return QPrinter::FormSource;
    return std::nullopt;
}

qint16 dmDuplexCode(QPrinter::DuplexMode mode)
{
    switch (mode) {
    case QPrinter::DuplexNone:
        return DMDUP_SIMPLEX;
    case QPrinter::DuplexShortSide:
        return DMDUP_HORIZONTAL;
    case QPrinter::DuplexLongSide:
    case QPrinter::DuplexAuto:
        break;
    }
    return DMDUP_VERTICAL;
}

std::optional<QPrinter::DuplexMode> duplexMode(qint16 dmDuplex)
{
    switch (dmDuplex) {
    case DMDUP_SIMPLEX:
        return QPrinter::DuplexNone;
    case DMDUP_VERTICAL:
        return QPrinter::DuplexLongSide;
    case DMDUP_HORIZONTAL:
        return QPrinter::DuplexShortSide;
    default:
        return std::nullopt;
    }
}

DEVMODE devModeFromPrinter(const QPrinter& printer, const QPrinterInfo& info)
{
    DEVMODE dm;
    dm.dmDeviceName = printer.printerName();
    dm.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES |
                  DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_COLLATE;
    // A queue lists what its driver knows; a file printer takes everything but duplex.
    bool duplex = false;
    for (const QPrinter::DuplexMode mode : info.supportedDuplexModes())
        duplex = duplex || mode != QPrinter::DuplexNone;
    if (duplex)
        dm.dmFields |= DM_DUPLEX;
    if (info.isNull() || info.supportedColorModes().contains(QPrinter::Color))
        dm.dmFields |= DM_COLOR;

    const QPageLayout layout = printer.pageLayout();
    dm.dmOrientation =
        layout.orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    const QPageSize page = layout.pageSize();
    const int windowsId = page.windowsId();
    dm.dmPaperSize = page.id() == QPageSize::Custom || windowsId <= 0
                         ? DMPAPER_USER
                         : static_cast<qint16>(windowsId);
    const QSizeF mm = page.size(QPageSize::Millimeter);
    dm.dmPaperWidth = tenths(mm.width());
    dm.dmPaperLength = tenths(mm.height());
    dm.dmCopies = static_cast<qint16>(printer.copyCount());
    dm.dmDefaultSource = dmBinCode(printer.paperSource());
    dm.dmPrintQuality = static_cast<qint16>(printer.resolution());
    dm.dmColor = printer.colorMode() == QPrinter::Color ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
    dm.dmDuplex = dmDuplexCode(printer.duplex());
    dm.dmCollate = printer.collateCopies() ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
    return dm;
}

void applyDevMode(const DEVMODE& dm, QPrinter& printer)
{
    if (dm.supports(DM_ORIENTATION)) {
        if (dm.dmOrientation == DMORIENT_PORTRAIT)
            printer.setPageOrientation(QPageLayout::Portrait);
        else if (dm.dmOrientation == DMORIENT_LANDSCAPE)
            printer.setPageOrientation(QPageLayout::Landscape);
    }

    const QPageSize current = printer.pageLayout().pageSize();
    QPageSize wanted = current;
    if (dm.supports(DM_PAPERSIZE) && dm.dmPaperSize > 0 && dm.dmPaperSize != DMPAPER_USER) {
        const QPageSize::PageSizeId id = QPageSize::id(dm.dmPaperSize);
        if (id != QPageSize::Custom)
            wanted = QPageSize(id);
    }
    if (dm.supports(DM_PAPERWIDTH) && dm.supports(DM_PAPERLENGTH) && dm.dmPaperWidth > 0 &&
        dm.dmPaperLength > 0) {
        // Width and length override the paper only when they name another sheet: a sheet
        // measured off the device comes back a tenth or so away from its definition.
        const QSizeF mm = wanted.size(QPageSize::Millimeter);
        if (std::abs(tenths(mm.width()) - dm.dmPaperWidth) > 1 ||
            std::abs(tenths(mm.height()) - dm.dmPaperLength) > 1)
            wanted = QPageSize(QSizeF(dm.dmPaperWidth / 10.0, dm.dmPaperLength / 10.0),
                               QPageSize::Millimeter);
    }
    if (!wanted.isEquivalentTo(current))
        printer.setPageSize(wanted);

    if (dm.supports(DM_COPIES) && dm.dmCopies > 0)
        printer.setCopyCount(dm.dmCopies);
    if (dm.supports(DM_DEFAULTSOURCE)) {
        if (const auto source = paperSource(dm.dmDefaultSource))
            printer.setPaperSource(*source);
    }
    if (dm.supports(DM_PRINTQUALITY) && dm.dmPrintQuality > 0)
        printer.setResolution(dm.dmPrintQuality);
    if (dm.supports(DM_COLOR)) {
        if (dm.dmColor == DMCOLOR_MONOCHROME)
            printer.setColorMode(QPrinter::GrayScale);
        else if (dm.dmColor == DMCOLOR_COLOR)
            printer.setColorMode(QPrinter::Color);
    }
    if (dm.supports(DM_DUPLEX)) {
        if (const auto mode = duplexMode(dm.dmDuplex))
            printer.setDuplex(*mode);
    }
    if (dm.supports(DM_COLLATE)) {
        if (dm.dmCollate == DMCOLLATE_FALSE)
            printer.setCollateCopies(false);
        else if (dm.dmCollate == DMCOLLATE_TRUE)
            printer.setCollateCopies(true);
    }
}

} // namespace platform
