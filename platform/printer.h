#pragma once

#include "platform/devmode.h"
#include "platform/emf.h"
#include "platform/errors.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;
class QPrinterInfo;

namespace platform {

// GetDeviceCaps indices.
enum DeviceCap
{
    LOGPIXELSX = 88,
    LOGPIXELSY = 90,
    PHYSICALWIDTH = 110,
    PHYSICALHEIGHT = 111,
    PHYSICALOFFSETX = 112,
    PHYSICALOFFSETY = 113,
};

// DeviceCapabilities index.
inline constexpr int DC_PAPERS = 2;

/// A document that could not be started or went wrong on its way to the spooler.
class EPrinterError : public EError
{
public:
    using EError::EError;
};

/// Whether the system lists at least one printer.
bool printersInstalled();

class EmfPicture;

/// The platform printer object: one of the system's printers with its device mode, its device
/// context and the document being printed on it. The report engine sees printers only through
/// this interface, so tests can stand in a device of any resolution and margins.
class PrinterObject
{
public:
    virtual ~PrinterObject();

    /// Names of the installed printers, in the system's order.
    virtual QStringList printers() const = 0;
    /// Index into printers() of the selected printer; -1 when none is installed.
    virtual int printerIndex() const = 0;
    /// Selects a printer by index, -1 meaning the system's default; out of range is ignored.
    /// The device mode becomes the new printer's driver defaults. Ignored while printing.
    virtual void setPrinterIndex(int index) = 0;

    virtual QString deviceName() const = 0;
    virtual QString driverName() const = 0;
    virtual QString portName() const = 0;

    /// The current device mode; dmDeviceName is the device name.
    virtual DEVMODE devMode() const = 0;
    /// Selects the printer named `device` when it differs, then writes the device mode.
    virtual void setPrinter(const QString& device, const DEVMODE& devMode) = 0;
    /// Goes back to the driver's default device mode of the selected printer.
    virtual void resetDevMode() = 0;

    /// GetDeviceCaps on the printer's device context; 0 for no printer.
    virtual int deviceCaps(DeviceCap index) const = 0;
    /// DeviceCapabilities(DC_PAPERS): the paper codes (dmPaperSize values) the printer knows.
    virtual QList<qint16> paperCodes() const = 0;

    /// The document title passed to the spooler.
    const QString& title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }

    /// True between beginDoc and endDoc or abort.
    virtual bool printing() const = 0;
    /// StartDoc and StartPage. EPrinterError when the document cannot be started (no printer,
    /// a queue that is gone, a device that refuses to open); nothing is left open then.
    virtual void beginDoc() = 0;
    /// EndPage then StartPage.
    virtual void newPage() = 0;
    /// EndPage then EndDoc; EPrinterError when the spooler did not take the document.
    virtual void endDoc() = 0;
    /// AbortDoc: the spooler drops the document.
    virtual void abort() = 0;

    /// The drawing surface of the open page, in device pixels from the corner of the printable
    /// area (PHYSICALOFFSETX/Y from the paper's corner); none while not printing.
    virtual DeviceCanvas* canvas() = 0;
    /// Draws a picture stretched into a rectangle of the open page (device pixels).
    virtual void drawPicture(const EmfPicture& picture, int left, int top, int right,
                             int bottom) = 0;

private:
    QString m_title;
};

/// A printer of the system, through QtPrintSupport. Device pixels are those of the printer's
/// high-resolution mode. A document's pages are kept until endDoc and only then handed to the
/// spooler: Qt cannot take back a document it has begun on a queue, and an aborted one must
/// not print.
class Printer final : public PrinterObject
{
public:
    /// The system's default printer, or no printer when none is installed.
    Printer();
    ~Printer() override;
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    QStringList printers() const override;
    int printerIndex() const override;
    void setPrinterIndex(int index) override;

    QString deviceName() const override;
    /// The printer's make and model, at most 63 characters.
    QString driverName() const override;
    /// The printer's location text: a queue is addressed by name, not by a port.
    QString portName() const override;

    DEVMODE devMode() const override;
    void setPrinter(const QString& device, const DEVMODE& devMode) override;
    void resetDevMode() override;

    int deviceCaps(DeviceCap index) const override;
    QList<qint16> paperCodes() const override;

    bool printing() const override { return m_page != nullptr; }
    void beginDoc() override;
    void newPage() override;
    void endDoc() override;
    void abort() override;
    /// Measures with the printer's own metrics; what it draws reaches the printer at endDoc.
    DeviceCanvas* canvas() override;
    void drawPicture(const EmfPicture& picture, int left, int top, int right, int bottom) override;

    /// The Qt printer itself, for the print dialog (which may change it).
    QPrinter& qprinter()
    {
        m_pristine = false;
        ++m_changes;
        return *m_printer;
    }
    /// Counts selections and device-mode writes: an unchanged count means the same printer in
    /// the same state.
    quint64 changes() const { return m_changes; }

    class PageRecorder;

private:
    void select(const QString& name);
    void checkQueue() const;
    void printPages(std::vector<std::unique_ptr<PageRecorder>> pages);

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPrinterInfo> m_info;
    QString m_name;                       // empty: no printer installed
    bool m_pristine = false;              // the device mode is still the driver's defaults
    quint64 m_changes = 0;                // selections and device-mode writes
    std::unique_ptr<PageRecorder> m_page; // the open page while printing
    std::vector<std::unique_ptr<PageRecorder>> m_pages;
};

/// The application's shared printer object, made on first use and released when the
/// application ends.
Printer& sharedPrinter();

} // namespace platform
