#pragma once

#include <QPrinter>
#include <QString>
#include <QtGlobal>
#include <optional>

class QPrinterInfo;

namespace platform {

// dmFields bits: a field is supported when the printer's device mode sets its bit.
inline constexpr quint32 DM_ORIENTATION = 1;
inline constexpr quint32 DM_PAPERSIZE = 2;
inline constexpr quint32 DM_PAPERLENGTH = 4;
inline constexpr quint32 DM_PAPERWIDTH = 8;
inline constexpr quint32 DM_COPIES = 256;
inline constexpr quint32 DM_DEFAULTSOURCE = 512;
inline constexpr quint32 DM_PRINTQUALITY = 1024;
inline constexpr quint32 DM_COLOR = 2048;
inline constexpr quint32 DM_DUPLEX = 4096;
inline constexpr quint32 DM_COLLATE = 32768;

inline constexpr qint16 DMORIENT_PORTRAIT = 1;
inline constexpr qint16 DMORIENT_LANDSCAPE = 2;

inline constexpr qint16 DMDUP_SIMPLEX = 1;
inline constexpr qint16 DMDUP_VERTICAL = 2;   // long edge
inline constexpr qint16 DMDUP_HORIZONTAL = 3; // short edge

inline constexpr qint16 DMCOLOR_MONOCHROME = 1;
inline constexpr qint16 DMCOLOR_COLOR = 2;

inline constexpr qint16 DMCOLLATE_FALSE = 0;
inline constexpr qint16 DMCOLLATE_TRUE = 1;

// Paper sources (dmDefaultSource).
inline constexpr qint16 DMBIN_UPPER = 1;
inline constexpr qint16 DMBIN_ONLYONE = 1;
inline constexpr qint16 DMBIN_LOWER = 2;
inline constexpr qint16 DMBIN_MIDDLE = 3;
inline constexpr qint16 DMBIN_MANUAL = 4;
inline constexpr qint16 DMBIN_ENVELOPE = 5;
inline constexpr qint16 DMBIN_ENVMANUAL = 6;
inline constexpr qint16 DMBIN_AUTO = 7;
inline constexpr qint16 DMBIN_TRACTOR = 8;
inline constexpr qint16 DMBIN_SMALLFMT = 9;
inline constexpr qint16 DMBIN_LARGEFMT = 10;
inline constexpr qint16 DMBIN_LARGECAPACITY = 11;
inline constexpr qint16 DMBIN_CASSETTE = 14;
inline constexpr qint16 DMBIN_FORMSOURCE = 15;

/// The part of a printer's device mode the program reads and writes. Every value is a 16-bit
/// field; paper length and width are in tenths of a millimetre, print quality is a resolution
/// in dots per inch when positive (negative values are the device's draft to high codes, which
/// leave the resolution alone), and 0 in quality, colour or duplex leaves the printer's choice.
struct DEVMODE
{
    QString dmDeviceName;
    quint32 dmFields = 0;
    qint16 dmOrientation = 0;
    qint16 dmPaperSize = 0;
    qint16 dmPaperLength = 0;
    qint16 dmPaperWidth = 0;
    qint16 dmCopies = 0;
    qint16 dmDefaultSource = 0;
    qint16 dmPrintQuality = 0;
    qint16 dmColor = 0;
    qint16 dmDuplex = 0;
    qint16 dmCollate = 0;

    bool supports(quint32 field) const { return (dmFields & field) != 0; }
    bool operator==(const DEVMODE&) const = default;
};

/// The codes of one field each way; none for a code Qt has no value for.
qint16 dmDuplexCode(QPrinter::DuplexMode mode);
std::optional<QPrinter::DuplexMode> duplexMode(qint16 dmDuplex);
qint16 dmBinCode(QPrinter::PaperSource source);
std::optional<QPrinter::PaperSource> paperSource(qint16 dmDefaultSource);

/// Reads a printer's current settings into a device mode. `info` decides which fields the
/// printer supports (a printer without duplex or colour does not list those fields; a file
/// printer, with a null `info`, has no duplex).
DEVMODE devModeFromPrinter(const QPrinter& printer, const QPrinterInfo& info);
/// Writes the fields whose bits are set into the printer; codes the printer cannot take are
/// skipped. Paper width and length replace the paper size only when they differ from it.
void applyDevMode(const DEVMODE& devMode, QPrinter& printer);

} // namespace platform
