#include "report/printersettings.h"

#include "platform/printer.h"
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

void readDevMode(const platform::DEVMODE& dm, TReportPrinterSettingsBase& values)
{
    values.copies = dm.supports(platform::DM_COPIES) ? dm.dmCopies : 1;
    values.outputBin = TReportBin::First;
    if (dm.supports(platform::DM_DEFAULTSOURCE))
        values.outputBin = binFromCode(dm.dmDefaultSource).value_or(TReportBin::First);
    if (dm.supports(platform::DM_DUPLEX)) {
        values.duplex = dm.dmDuplex != platform::DMDUP_SIMPLEX;
        values.extendedDuplex = dm.dmDuplex;
    }
    values.paperSize = TReportPaperSize::Default;
    if (dm.supports(platform::DM_PAPERSIZE))
        values.paperSize = paperSizeFromCode(dm.dmPaperSize).value_or(TReportPaperSize::Default);
    values.printQuality = dm.dmPrintQuality;
    values.collate = dm.dmCollate;
    values.colorOption = dm.dmColor;
}

void writeDevMode(const TReportPrinterSettingsBase& values, int sheetWidth, int sheetLength,
                  platform::DEVMODE& dm)
{
    dm.dmFields |= platform::DM_PAPERLENGTH | platform::DM_PAPERWIDTH;
    dm.dmPaperLength = field16(sheetLength);
    dm.dmPaperWidth = field16(sheetWidth);
    if (dm.supports(platform::DM_PAPERSIZE) && values.paperSize != TReportPaperSize::Default)
        dm.dmPaperSize = field16(values.useCustomPaperCode ? values.customPaperCode
                                                           : paperCode(values.paperSize));
    dm.dmFields |= platform::DM_COPIES;
    dm.dmCopies = field16(values.copies);
    if (dm.supports(platform::DM_DUPLEX))
        dm.dmDuplex = field16(values.extendedDuplex != 0 ? values.extendedDuplex
                              : values.duplex            ? platform::DMDUP_HORIZONTAL
                                                         : platform::DMDUP_SIMPLEX);
    dm.dmFields |= platform::DM_DEFAULTSOURCE;
    dm.dmDefaultSource =
        field16(values.useCustomBinCode ? values.customBinCode : binCode(values.outputBin));
    dm.dmFields |= platform::DM_ORIENTATION;
    dm.dmOrientation = values.orientation == poLandscape ? platform::DMORIENT_LANDSCAPE
                                                         : platform::DMORIENT_PORTRAIT;
    if (dm.supports(platform::DM_COLLATE))
        dm.dmCollate = field16(values.collate);
    if (dm.supports(platform::DM_PRINTQUALITY))
        dm.dmPrintQuality = field16(values.printQuality);
    if (dm.supports(platform::DM_COLOR))
        dm.dmColor = field16(values.colorOption);
}

TPrinterSettings::TPrinterSettings()
{
    // What a printer holds before it is read.
    m_values.outputBin = TReportBin::First;
    m_values.paperSize = TReportPaperSize::A4;
}

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
    takeNames();
    platform::DEVMODE dm = m_printer->devMode();
    bool cancel = false;
    if (onGetPrinterSettings())
        onGetPrinterSettings()(this, cancel, dm);
    if (cancel)
        return;

    m_fields = dm.dmFields;
    m_pixelsPerInchX = m_printer->deviceCaps(platform::LOGPIXELSX);
    m_pixelsPerInchY = m_printer->deviceCaps(platform::LOGPIXELSY);
    readDevMode(dm, m_values);
    readOffsets();
    m_sheetWidth = toTenths(m_printer->deviceCaps(platform::PHYSICALWIDTH), m_pixelsPerInchX);
    m_sheetLength = toTenths(m_printer->deviceCaps(platform::PHYSICALHEIGHT), m_pixelsPerInchY);

    m_supportedPapers.fill(false);
    const QList<qint16> codes = m_printer->paperCodes();
    for (int i = 1; i < paperSizeCount; ++i)
        m_supportedPapers[static_cast<std::size_t>(i)] =
            codes.contains(field16(paperCode(static_cast<TReportPaperSize>(i))));
    m_supportedPapers[static_cast<std::size_t>(TReportPaperSize::Custom)] = true;
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
    writeDevMode(m_values, SheetWidth(), SheetLength(), dm);
    bool cancel = false;
    if (onApplyPrinterSettings())
        onApplyPrinterSettings()(this, cancel, dm);
    if (!cancel)
        m_printer->setPrinter(m_device, dm);
    // The margins of the device mode just written: a landscape page has other edges.
    readOffsets();
}

void TPrinterSettings::setValues(const TReportPrinterSettingsBase& wanted)
{
    const TReportPrinterSettingsBase kept = m_values;
    m_values = wanted;
    m_values.copies = kept.copies;
    m_values.orientation = kept.orientation;
    m_values.duplex = kept.duplex;
    m_values.outputBin = kept.outputBin;
    m_values.paperSize = kept.paperSize;
    setCopies(wanted.copies);
    setOrientation(wanted.orientation);
    setDuplex(wanted.duplex);
    setOutputBin(wanted.outputBin);
    setPaperSize(wanted.paperSize);
}

int TPrinterSettings::SheetWidth() const
{
    if (const auto table = paperDimensions(m_values.paperSize))
        return roundHalfEven(table->width * 10);
    return m_sheetWidth;
}

int TPrinterSettings::SheetLength() const
{
    if (const auto table = paperDimensions(m_values.paperSize))
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
    m_values.copies = copies;
    return true;
}

bool TPrinterSettings::setOrientation(TReportOrientation orientation)
{
    if (!supports(platform::DM_ORIENTATION))
        return false;
    m_values.orientation = orientation;
    return true;
}

bool TPrinterSettings::setDuplex(bool duplex)
{
    if (!supports(platform::DM_DUPLEX))
        return false;
    m_values.duplex = duplex;
    return true;
}

bool TPrinterSettings::setOutputBin(TReportBin bin)
{
    if (!supports(platform::DM_DEFAULTSOURCE))
        return false;
    m_values.outputBin = bin;
    return true;
}

bool TPrinterSettings::setPaperSize(TReportPaperSize size)
{
    if (size != TReportPaperSize::Default && !paperSupported(size))
        return false;
    m_values.paperSize = size;
    return true;
}

} // namespace report
