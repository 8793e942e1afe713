#pragma once

#include "report/reporttypes.h"

#include <QString>

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
    int extendedDuplex = 0; // device duplex code; 0 derives it from duplex
    bool useExtendedDuplex = false;
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

} // namespace report
