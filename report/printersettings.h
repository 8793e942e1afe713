#pragma once

#include "platform/devmode.h"
#include "report/reportstream.h"
#include "report/reporttypes.h"

#include <QObject>
#include <QString>
#include <array>

namespace platform {
class PrinterObject;
}

namespace report {

/// What a report asks of the printer: one value for the report's `PrinterSettings`, the copy the
/// print dialog writes, and what each report printer was asked for. A new setting is a field
/// here, a line in readDevMode and a line in writeDevMode.
struct TReportPrinterSettingsBase
{
    int copies = 1;
    bool duplex = false;
    TReportOrientation orientation = poPortrait;
    TReportBin outputBin = TReportBin::Auto;
    TReportPaperSize paperSize = TReportPaperSize::Letter; // the page's paper is applied instead
    int printerIndex = -1;                                 // -1: the system's default printer
    QString title;
    int firstPage = 0; // 0: no limit
    int lastPage = 0;  // 0: no limit
    bool useStandardPrinter = false;
    int extendedDuplex = 0; // device duplex code; 0 derives it from duplex
    int memoryLimit = TReportStream::DefaultMemoryLimit;
    int printQuality = 0;
    int collate = 0;
    int colorOption = 0;
    bool useCustomBinCode = false;
    int customBinCode = 0;
    bool useCustomPaperCode = false;
    int customPaperCode = 0;
    bool printMetaFile = false;

    bool operator==(const TReportPrinterSettingsBase&) const = default;
};

/// The report's `PrinterSettings`, and the second copy the print dialog writes.
struct TReportPrinterSettings : TReportPrinterSettingsBase
{};

/// The first bin whose code is `code`, in table order; none for an unknown code.
std::optional<TReportBin> binFromCode(int code);
/// The first paper size whose code is `code`; none for an unknown code.
std::optional<TReportPaperSize> paperSizeFromCode(int code);

/// The printer's own choices in its device mode, into `values`: copies, bin, duplex, paper
/// size, quality, collation and colour. A field the device mode does not list reads as the
/// default (one copy, the `First` bin, `Default` paper), or leaves duplex as it was.
void readDevMode(const platform::DEVMODE& dm, TReportPrinterSettingsBase& values);
/// The values into a device mode, on a sheet of the given size (tenths): sizes, copies, source
/// and orientation always; paper size, duplex, collation, quality and colour where the device
/// mode lists them. Every value is cut to the field's 16 bits.
void writeDevMode(const TReportPrinterSettingsBase& values, int sheetWidth, int sheetLength,
                  platform::DEVMODE& dm);

/// The two printer-settings events, as the report publishes them and as the settings of its
/// printers raise them.
class TReportPrinterSettingsEvents
{
public:
    const TReportPrinterSettingsEvent& onGetPrinterSettings() const
    {
        return m_onGetPrinterSettings;
    }
    void setOnGetPrinterSettings(TReportPrinterSettingsEvent event)
    {
        m_onGetPrinterSettings = std::move(event);
    }
    const TReportPrinterSettingsEvent& onApplyPrinterSettings() const
    {
        return m_onApplyPrinterSettings;
    }
    void setOnApplyPrinterSettings(TReportPrinterSettingsEvent event)
    {
        m_onApplyPrinterSettings = std::move(event);
    }

private:
    TReportPrinterSettingsEvent m_onGetPrinterSettings;
    TReportPrinterSettingsEvent m_onApplyPrinterSettings;
};

/// The settings of one report printer, mirroring the chosen printer: read from its device mode
/// and device context, and written back into its device mode before a job. Sizes and offsets
/// are in tenths of a millimetre.
class TPrinterSettings : public QObject, public TReportPrinterSettingsEvents
{
    Q_OBJECT
public:
    TPrinterSettings();
    ~TPrinterSettings() override;

    /// The printer object read and written; none reads nothing.
    platform::PrinterObject* printerObject() const { return m_printer; }
    void setPrinterObject(platform::PrinterObject* printer) { m_printer = printer; }

    /// Fills the settings from the printer object (nothing without one).
    void ReadFromPrinter();
    /// Writes the settings into the printer object's device mode (nothing without one), then
    /// reads the unprintable edges the written device mode gives.
    void ApplyToPrinter();

    /// What the printer is asked for.
    const TReportPrinterSettingsBase& values() const { return m_values; }
    /// Takes `wanted` as the setters below take each value; the other fields as they are.
    void setValues(const TReportPrinterSettingsBase& wanted);

    /// The paper's width and length in tenths (portrait): the table size, or for `Default`
    /// and `Custom` the stored sheet size.
    int SheetWidth() const;
    int SheetLength() const;

    /// The printer supports a device-mode field: its bit was in dmFields when it was read.
    bool supports(quint32 field) const { return (m_fields & field) != 0; }

    // Setters that change the value only when the printer supports the field, and say so.
    bool setCopies(int copies);
    bool setOrientation(TReportOrientation orientation);
    bool setDuplex(bool duplex);
    bool setOutputBin(TReportBin bin);
    /// `Default` always; another size when the printer lists it (`Custom` is always listed).
    bool setPaperSize(TReportPaperSize size);

    int copies() const { return m_values.copies; }
    bool duplex() const { return m_values.duplex; }
    TReportOrientation orientation() const { return m_values.orientation; }
    TReportBin outputBin() const { return m_values.outputBin; }
    TReportPaperSize paperSize() const { return m_values.paperSize; }
    bool paperSupported(TReportPaperSize size) const;

    /// The sheet as read from the printer, or as the report sets it for a `Custom` paper.
    int sheetWidth() const { return m_sheetWidth; }
    void setSheetWidth(int tenths) { m_sheetWidth = tenths; }
    int sheetLength() const { return m_sheetLength; }
    void setSheetLength(int tenths) { m_sheetLength = tenths; }

    // As read from the printer.
    const QString& device() const { return m_device; }
    const QString& driver() const { return m_driver; }
    const QString& port() const { return m_port; }
    int pixelsPerInchX() const { return m_pixelsPerInchX; }
    int pixelsPerInchY() const { return m_pixelsPerInchY; }
    /// The printer's unprintable edges, tenths.
    int topOffset() const;
    int leftOffset() const;
    /// The same edges unrounded: placing by the rounded tenths would move every field by up to
    /// 0.05 mm with the printer's margins.
    long double exactTopOffset() const { return m_exactTopOffset; }
    long double exactLeftOffset() const { return m_exactLeftOffset; }

private:
    void takeNames();
    void readOffsets();

    platform::PrinterObject* m_printer = nullptr;
    TReportPrinterSettingsBase m_values;
    quint32 m_fields = 0; // dmFields of the device mode read last
    QString m_device;
    QString m_driver;
    QString m_port;
    std::array<bool, paperSizeCount> m_supportedPapers{}; // by ordinal; 0 unused
    int m_sheetWidth = 0;
    int m_sheetLength = 0;
    int m_pixelsPerInchX = 0;
    int m_pixelsPerInchY = 0;
    long double m_exactTopOffset = 0;
    long double m_exactLeftOffset = 0;
};

} // namespace report
