#pragma once

#include "platform/devmode.h"
#include "report/reporttypes.h"

#include <QFlags>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace platform {
class PrinterObject;
}

namespace report {
class TCustomReport;
}

namespace preview {

// The print dialog's flags (the PRINTDLG Flags bits).
inline constexpr quint32 PD_ALLPAGES = 0x0;
inline constexpr quint32 PD_SELECTION = 0x1;
inline constexpr quint32 PD_PAGENUMS = 0x2;
inline constexpr quint32 PD_NOSELECTION = 0x4;
inline constexpr quint32 PD_NOPAGENUMS = 0x8;
inline constexpr quint32 PD_COLLATE = 0x10;
inline constexpr quint32 PD_PRINTTOFILE = 0x20;
inline constexpr quint32 PD_NOWARNING = 0x80;
inline constexpr quint32 PD_SHOWHELP = 0x800;
inline constexpr quint32 PD_ENABLEPRINTHOOK = 0x1000;
inline constexpr quint32 PD_ENABLESETUPHOOK = 0x2000;
inline constexpr quint32 PD_DISABLEPRINTTOFILE = 0x80000;
inline constexpr quint32 PD_HIDEPRINTTOFILE = 0x100000;

/// What the dialog is opened with.
struct TPrintDialogRequest
{
    QString device;
    platform::DEVMODE devMode;
    quint32 flags = 0;
    quint16 fromPage = 0;
    quint16 toPage = 0;
    quint16 minPage = 0;
    quint16 maxPage = 0;
};

/// What a confirmed dialog gives back.
struct TPrintDialogReply
{
    QString device;
    platform::DEVMODE devMode;
    quint32 flags = 0;
    int fromPage = 0;
    int toPage = 0;
    /// 1 when the copies are left to the device mode.
    int copies = 1;
};

/// Runs the platform's dialog: a reply when confirmed, none when cancelled or failed.
using TPrintDialogRunner =
    std::function<std::optional<TPrintDialogReply>(const TPrintDialogRequest&, QWidget* owner)>;

enum class TPrintDialogOption
{
    poPrintToFile = 0x1,
    poPageNums = 0x2,
    poSelection = 0x4,
    poWarning = 0x8,
    poHelp = 0x10,
    poDisablePrintToFile = 0x20
};
Q_DECLARE_FLAGS(TPrintDialogOptions, TPrintDialogOption)

enum TPrintRange
{
    prAllPages,
    prSelection,
    prPageNums
};

using TReportDialogEvent = std::function<void(QObject* sender)>;

/// The common print dialog over the system's printers, on a platform printer object (the
/// application's current printer by default): filled from the printer's device mode and the
/// page range, and on confirmation written back into the printer and read into its results.
class TReportPrintDialog : public QObject
{
    Q_OBJECT
public:
    explicit TReportPrintDialog(QObject* parent = nullptr);
    explicit TReportPrintDialog(platform::PrinterObject& printer, QObject* parent = nullptr);

    /// True when the user confirmed. A dialog that cannot open (no printer installed) or
    /// fails counts as cancelled.
    bool Execute();

    /// Replaces the platform's dialog (tests); an empty runner restores Qt's. Returns the
    /// runner in force before.
    static TPrintDialogRunner setRunner(TPrintDialogRunner runner);
    /// Qt's print dialog, centred horizontally at a third of the screen's height.
    static std::optional<TPrintDialogReply> runQtDialog(const TPrintDialogRequest& request,
                                                        QWidget* owner);

    platform::PrinterObject& printer() const { return *m_printer; }

    bool Duplex() const { return m_duplex; }
    int DuplexCode() const { return m_duplexCode; }
    int OutputBin() const { return m_outputBin; }
    int PaperSize() const { return m_paperSize; }
    long double Paperwidth() const { return m_paperWidth; }
    long double Paperlength() const { return m_paperLength; }
    int Collate() const { return m_collate; }
    void setCollate(int collate) { m_collate = collate; }
    int Copies() const { return m_copies; }
    /// Also sets the printer's copy count.
    void setCopies(int copies);
    int FromPage() const { return m_fromPage; }
    void setFromPage(int page) { m_fromPage = page; }
    int PrintQuality() const { return m_printQuality; }
    int ColorOption() const { return m_colorOption; }
    int MinPage() const { return m_minPage; }
    void setMinPage(int page) { m_minPage = page; }
    int MaxPage() const { return m_maxPage; }
    void setMaxPage(int page) { m_maxPage = page; }
    TPrintDialogOptions Options() const { return m_options; }
    void setOptions(TPrintDialogOptions options) { m_options = options; }
    bool PrintToFile() const { return m_printToFile; }
    void setPrintToFile(bool on) { m_printToFile = on; }
    TPrintRange PrintRange() const { return m_printRange; }
    void setPrintRange(TPrintRange range) { m_printRange = range; }
    int ToPage() const { return m_toPage; }
    void setToPage(int page) { m_toPage = page; }
    qint16 Orientation() const { return m_orientation; }
    quint32 fields() const { return m_fields; }

    const TReportDialogEvent& onShow() const { return m_onShow; }
    void setOnShow(TReportDialogEvent event) { m_onShow = std::move(event); }
    const TReportDialogEvent& onClose() const { return m_onClose; }
    void setOnClose(TReportDialogEvent event) { m_onClose = std::move(event); }

    /// The flags the dialog opens with, from the range, collate, print-to-file and options.
    quint32 requestFlags() const;

private:
    void readReply(const TPrintDialogReply& reply);

    platform::PrinterObject* m_printer;
    bool m_duplex = false;
    int m_duplexCode = 0;
    int m_outputBin = 0;
    int m_paperSize = 0;
    long double m_paperWidth = 0;  // 0.1 mm
    long double m_paperLength = 0; // 0.1 mm
    int m_collate = 0;
    int m_copies = 1;
    int m_fromPage = 0;
    int m_printQuality = 0;
    int m_colorOption = 0;
    int m_minPage = 0;
    int m_maxPage = 0;
    TPrintDialogOptions m_options;
    bool m_printToFile = false;
    TPrintRange m_printRange = prAllPages;
    int m_toPage = 0;
    qint16 m_orientation = 1;
    quint32 m_fields = 0;
    TReportDialogEvent m_onShow;
    TReportDialogEvent m_onClose;
};

/// The report's print setup: runs the dialog on the application's current printer for the
/// report and records the choices in the report's printer settings, its page orientation and
/// its dialog settings. The report's `Tag` becomes 1 when cancelled, 0 when confirmed.
void RunPrintSetup(report::TCustomReport& report);
/// The same on a given printer object.
void RunPrintSetup(report::TCustomReport& report, platform::PrinterObject& printer);

} // namespace preview

Q_DECLARE_OPERATORS_FOR_FLAGS(preview::TPrintDialogOptions)
