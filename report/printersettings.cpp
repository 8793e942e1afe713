#include "report/printersettings.h"

#include "platform/printer.h"
#include "report/reportmessages.h"
#include "report/units.h"

namespace report {

namespace {

// Device-mode fields are 16 bits wide; larger values keep their low 16 bits.
qint16 field16(int value)
{
    return static_cast<qint16>(value);
}

long double exactTenths(int pixels, int pixelsPerInch)
{
    if (pixelsPerInch <= 0)
        return 0;
    return static_cast<long double>(pixels) / pixelsPerInch * 254.0L;
}

int toTenths(int pixels, int pixelsPerInch)
{
    return roundHalfEven(exactTenths(pixels, pixelsPerInch));
}

} // namespace

std::optional<TReportBin> binFromCode(int code)
{
    for (int i = static_cast<int>(TReportBin::First); i <= static_cast<int>(TReportBin::Last); ++i)
        if (binCode(static_cast<TReportBin>(i)) == code)
            return static_cast<TReportBin>(i);
    return std::nullopt;
}

std::optional<TReportPaperSize> paperSizeFromCode(int code)
{
    for (int i = 0; i < paperSizeCount; ++i)
        if (paperCode(static_cast<TReportPaperSize>(i)) == code)
            return static_cast<TReportPaperSize>(i);
    return std::nullopt;
}

TPrinterSettings::TPrinterSettings() = default;
TPrinterSettings::~TPrinterSettings() = default;

void TPrinterSettings::takeNames()
{
    m_device = m_printer->deviceName();
    m_driver = m_printer->driverName();
    m_port = m_printer->portName();
}

void TPrinterSettings::ReadFromPrinter()
{
    if (!m_printer)
        return;
    processPendingMessages();
    takeNames();
    platform::DEVMODE dm = m_printer->devMode();
    bool cancel = false;
    if (m_onGetPrinterSettings)
        m_onGetPrinterSettings(this, cancel, dm);
    if (cancel)
        return;

    m_fields = dm.dmFields;
    m_pixelsPerInchX = m_printer->deviceCaps(platform::LOGPIXELSX);
    m_pixelsPerInchY = m_printer->deviceCaps(platform::LOGPIXELSY);
    m_copies = dm.supports(platform::DM_COPIES) ? dm.dmCopies : 1;
    m_outputBin = TReportBin::First;
    if (dm.supports(platform::DM_DEFAULTSOURCE))
        m_outputBin = binFromCode(dm.dmDefaultSource).value_or(TReportBin::First);
    if (dm.supports(platform::DM_DUPLEX)) {
        m_duplex = dm.dmDuplex != platform::DMDUP_SIMPLEX;
        m_extendedDuplex = dm.dmDuplex;
    }
    readOffsets();
    m_paperSize = TReportPaperSize::Default;
    if (dm.supports(platform::DM_PAPERSIZE))
        m_paperSize = paperSizeFromCode(dm.dmPaperSize).value_or(TReportPaperSize::Default);
    m_sheetWidth = toTenths(m_printer->deviceCaps(platform::PHYSICALWIDTH), m_pixelsPerInchX);
    m_sheetLength = toTenths(m_printer->deviceCaps(platform::PHYSICALHEIGHT), m_pixelsPerInchY);

    m_supportedPapers.fill(false);
    const QList<qint16> codes = m_printer->paperCodes();
    for (int i = 1; i < paperSizeCount; ++i)
        m_supportedPapers[static_cast<std::size_t>(i)] =
            codes.contains(field16(paperCode(static_cast<TReportPaperSize>(i))));
    m_supportedPapers[static_cast<std::size_t>(TReportPaperSize::Custom)] = true;

    m_printQuality = dm.dmPrintQuality;
    m_collate = dm.dmCollate;
    m_colorOption = dm.dmColor;
}

void TPrinterSettings::readOffsets()
{
    if (!m_printer)
        return;
    m_exactLeftOffset =
        exactTenths(m_printer->deviceCaps(platform::PHYSICALOFFSETX), m_pixelsPerInchX);
    m_exactTopOffset =
        exactTenths(m_printer->deviceCaps(platform::PHYSICALOFFSETY), m_pixelsPerInchY);
}

int TPrinterSettings::topOffset() const
{
    return roundHalfEven(m_exactTopOffset);
}

int TPrinterSettings::leftOffset() const
{
    return roundHalfEven(m_exactLeftOffset);
}

void TPrinterSettings::ApplyToPrinter()
{
    if (!m_printer)
        return;
    takeNames();
    platform::DEVMODE dm = m_printer->devMode();
    dm.dmFields |= platform::DM_PAPERLENGTH | platform::DM_PAPERWIDTH;
    dm.dmPaperLength = field16(SheetLength());
    dm.dmPaperWidth = field16(SheetWidth());
    if (dm.supports(platform::DM_PAPERSIZE) && m_paperSize != TReportPaperSize::Default)
        dm.dmPaperSize = field16(m_useCustomPaperCode ? m_customPaperCode : paperCode(m_paperSize));
    dm.dmFields |= platform::DM_COPIES;
    dm.dmCopies = field16(m_copies);
    if (dm.supports(platform::DM_DUPLEX))
        dm.dmDuplex = field16(m_extendedDuplex != 0 ? m_extendedDuplex
                              : m_duplex            ? platform::DMDUP_HORIZONTAL
                                                    : platform::DMDUP_SIMPLEX);
    dm.dmFields |= platform::DM_DEFAULTSOURCE;
    dm.dmDefaultSource = field16(m_useCustomBinCode ? m_customBinCode : binCode(m_outputBin));
    dm.dmFields |= platform::DM_ORIENTATION;
    dm.dmOrientation =
        m_orientation == poLandscape ? platform::DMORIENT_LANDSCAPE : platform::DMORIENT_PORTRAIT;
    if (dm.supports(platform::DM_COLLATE))
        dm.dmCollate = field16(m_collate);
    if (dm.supports(platform::DM_PRINTQUALITY))
        dm.dmPrintQuality = field16(m_printQuality);
    if (dm.supports(platform::DM_COLOR))
        dm.dmColor = field16(m_colorOption);
    bool cancel = false;
    if (m_onApplyPrinterSettings)
        m_onApplyPrinterSettings(this, cancel, dm);
    if (!cancel)
        m_printer->setPrinter(m_device, dm);
}

int TPrinterSettings::SheetWidth() const
{
    if (const auto table = paperDimensions(m_paperSize))
        return roundHalfEven(table->width * 10);
    return m_sheetWidth;
}

int TPrinterSettings::SheetLength() const
{
    if (const auto table = paperDimensions(m_paperSize))
        return roundHalfEven(table->length * 10);
    return m_sheetLength;
}

bool TPrinterSettings::paperSupported(TReportPaperSize size) const
{
    return size == TReportPaperSize::Custom || m_supportedPapers.at(static_cast<std::size_t>(size));
}

bool TPrinterSettings::setCopies(int copies)
{
    if (!supports(platform::DM_COPIES))
        return false;
    m_copies = copies;
    return true;
}

bool TPrinterSettings::setOrientation(TReportOrientation orientation)
{
    if (!supports(platform::DM_ORIENTATION))
        return false;
    m_orientation = orientation;
    return true;
}

bool TPrinterSettings::setDuplex(bool duplex)
{
    if (!supports(platform::DM_DUPLEX))
        return false;
    m_duplex = duplex;
    return true;
}

bool TPrinterSettings::setOutputBin(TReportBin bin)
{
    if (!supports(platform::DM_DEFAULTSOURCE))
        return false;
    m_outputBin = bin;
    return true;
}

bool TPrinterSettings::setPaperSize(TReportPaperSize size)
{
    if (size != TReportPaperSize::Default && !paperSupported(size))
        return false;
    m_paperSize = size;
    return true;
}

} // namespace report
