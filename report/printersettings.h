#pragma once

#include "platform/devmode.h"
#include "report/reporttypes.h"

#include <QObject>
#include <QString>
#include <array>

namespace platform {
class PrinterObject;
}

namespace report {

/// What a report asks of the printer; applied to the printer's device mode before a run.
struct TReportPrinterSettingsBase
{
    int copies = 1;
    bool duplex = false;
    TReportOrientation orientation = poPortrait;
    TReportBin outputBin = TReportBin::Auto;
    TReportPaperSize paperSize = TReportPaperSize::Letter; // kept, never applied
    int printerIndex = -1;                                 // -1: the system's default printer
    QString title;
    int firstPage = 0; // 0: no limit
    int lastPage = 0;  // 0: no limit
    bool useStandardPrinter = false;
    int extendedDuplex = 0;   // device duplex code; 0 derives it from duplex
    int memoryLimit = 250000; // bytes of pages kept in memory before a temporary file
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

/// The settings of one report printer, mirroring the chosen printer: read from its device mode
/// and device context, and written back into its device mode before a job. Sizes and offsets
/// are in tenths of a millimetre.
class TPrinterSettings : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultMemoryLimit = 250000;

    TPrinterSettings();
    ~TPrinterSettings() override;

    /// The printer object read and written; none reads nothing.
    platform::PrinterObject* printerObject() const { return m_printer; }
    void setPrinterObject(platform::PrinterObject* printer) { m_printer = printer; }

    /// Fills the settings from the printer object (nothing without one).
    void ReadFromPrinter();
    /// Writes the settings into the printer object's device mode (nothing without one).
    void ApplyToPrinter();

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

    int copies() const { return m_copies; }
    bool duplex() const { return m_duplex; }
    TReportOrientation orientation() const { return m_orientation; }
    TReportBin outputBin() const { return m_outputBin; }
    TReportPaperSize paperSize() const { return m_paperSize; }
    bool paperSupported(TReportPaperSize size) const;

    int sheetWidth() const { return m_sheetWidth; }
    void setSheetWidth(int tenths) { m_sheetWidth = tenths; }
    int sheetLength() const { return m_sheetLength; }
    void setSheetLength(int tenths) { m_sheetLength = tenths; }
    int printQuality() const { return m_printQuality; }
    void setPrintQuality(int code) { m_printQuality = code; }
    int collate() const { return m_collate; }
    void setCollate(int code) { m_collate = code; }
    int colorOption() const { return m_colorOption; }
    void setColorOption(int code) { m_colorOption = code; }
    /// Device duplex code; 0 derives it from duplex().
    int extendedDuplex() const { return m_extendedDuplex; }
    void setExtendedDuplex(int code) { m_extendedDuplex = code; }
    bool useCustomBinCode() const { return m_useCustomBinCode; }
    void setUseCustomBinCode(bool on) { m_useCustomBinCode = on; }
    int customBinCode() const { return m_customBinCode; }
    void setCustomBinCode(int code) { m_customBinCode = code; }
    bool useCustomPaperCode() const { return m_useCustomPaperCode; }
    void setUseCustomPaperCode(bool on) { m_useCustomPaperCode = on; }
    int customPaperCode() const { return m_customPaperCode; }
    void setCustomPaperCode(int code) { m_customPaperCode = code; }
    bool printMetaFile() const { return m_printMetaFile; }
    void setPrintMetaFile(bool on) { m_printMetaFile = on; }
    bool useStandardPrinter() const { return m_useStandardPrinter; }
    void setUseStandardPrinter(bool on) { m_useStandardPrinter = on; }
    /// Bytes of pages kept in memory before the page store spills to a temporary file.
    int memoryLimit() const { return m_memoryLimit; }
    void setMemoryLimit(int bytes) { m_memoryLimit = bytes; }
    const QString& title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }

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
    /// Reads the unprintable edges again from the printer's device context, as the device
    /// mode written last (orientation, paper) places them.
    void readOffsets();

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
    void takeNames();

    platform::PrinterObject* m_printer = nullptr;
    quint32 m_fields = 0; // dmFields of the device mode read last
    QString m_device;
    QString m_driver;
    QString m_port;
    int m_copies = 1;
    bool m_duplex = false;
    bool m_printMetaFile = false;
    bool m_useStandardPrinter = false;
    TReportPrinterSettingsEvent m_onGetPrinterSettings;
    TReportPrinterSettingsEvent m_onApplyPrinterSettings;
    int m_extendedDuplex = 0;
    bool m_useCustomBinCode = false;
    int m_customBinCode = 0;
    int m_printQuality = 0;
    int m_collate = 0;
    int m_colorOption = 0;
    int m_memoryLimit = DefaultMemoryLimit;
    bool m_useCustomPaperCode = false;
    int m_customPaperCode = 0;
    TReportOrientation m_orientation = poPortrait;
    TReportBin m_outputBin = TReportBin::First;
    TReportPaperSize m_paperSize = TReportPaperSize::A4;
    std::array<bool, paperSizeCount> m_supportedPapers{}; // by ordinal; 0 unused
    int m_sheetWidth = 0;
    int m_sheetLength = 0;
    int m_pixelsPerInchX = 0;
    int m_pixelsPerInchY = 0;
    long double m_exactTopOffset = 0;
    long double m_exactLeftOffset = 0;
    QString m_title;
};

} // namespace report
