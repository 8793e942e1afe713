#include "preview/printdialog.h"

#include "platform/errors.h"
#include "platform/messages.h"
#include "platform/printer.h"
#include "report/report.h"
#include "report/reportprinter.h"
#include "report/reportrequests.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <algorithm>

namespace preview {

namespace {

TPrintDialogRunner& runner()
{
    static TPrintDialogRunner current;
    return current;
}

// Places the dialog when it first shows: centred across, a third of the way down the screen.
class DialogPlacer : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* dialog = static_cast<QWidget*>(watched);
            if (const QScreen* screen = dialog->screen()) {
                const QRect s = screen->geometry();
                const QSize size = dialog->frameGeometry().size();
                dialog->move(s.x() + (s.width() - size.width()) / 2,
                             s.y() + (s.height() - size.height()) / 3);
            }
        }
        return false;
    }
};

quint32 replyFlags(const QPrinter& printer)
{
    quint32 flags = 0;
    if (printer.printRange() == QPrinter::Selection)
        flags |= PD_SELECTION;
    else if (printer.printRange() == QPrinter::PageRange)
        flags |= PD_PAGENUMS;
    if (printer.collateCopies())
        flags |= PD_COLLATE;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        flags |= PD_PRINTTOFILE;
    return flags;
}

} // namespace

TReportPrintDialog::TReportPrintDialog(QObject* parent)
    : TReportPrintDialog(platform::sharedPrinter(), parent)
{}

TReportPrintDialog::TReportPrintDialog(platform::PrinterObject& printer, QObject* parent)
    : QObject(parent), m_printer(&printer)
{}

TPrintDialogRunner TReportPrintDialog::setRunner(TPrintDialogRunner replacement)
{
    TPrintDialogRunner previous = std::move(runner());
    runner() = std::move(replacement);
    return previous;
}

void TReportPrintDialog::setCopies(int copies)
{
    m_copies = copies;
    if (m_printer->printerIndex() < 0)
        return;
    platform::DEVMODE dm = m_printer->devMode();
    if (!dm.supports(platform::DM_COPIES))
        return;
    dm.dmCopies = static_cast<qint16>(copies);
    m_printer->setPrinter(m_printer->deviceName(), dm);
}

quint32 TReportPrintDialog::requestFlags() const
{
    quint32 flags = PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    if (m_printRange == prSelection)
        flags |= PD_SELECTION;
    else if (m_printRange == prPageNums)
        flags |= PD_PAGENUMS;
    if (m_collate != 0)
        flags |= PD_COLLATE;
    if (!m_options.testFlag(TPrintDialogOption::poPrintToFile))
        flags |= PD_HIDEPRINTTOFILE;
    if (!m_options.testFlag(TPrintDialogOption::poPageNums))
        flags |= PD_NOPAGENUMS;
    if (!m_options.testFlag(TPrintDialogOption::poSelection))
        flags |= PD_NOSELECTION;
    if (m_options.testFlag(TPrintDialogOption::poDisablePrintToFile))
        flags |= PD_DISABLEPRINTTOFILE;
    if (m_printToFile)
        flags |= PD_PRINTTOFILE;
    if (m_options.testFlag(TPrintDialogOption::poHelp))
        flags |= PD_SHOWHELP;
    if (!m_options.testFlag(TPrintDialogOption::poWarning))
        flags |= PD_NOWARNING;
    return flags;
}

bool TReportPrintDialog::Execute()
{
    // With no printer the platform's dialog fails to open, which counts as a cancel.
    if (m_printer->printers().isEmpty())
        return false;
    TPrintDialogRequest request;
    request.device = m_printer->deviceName();
    request.devMode = m_printer->devMode();
    request.flags = requestFlags();
    request.fromPage = static_cast<quint16>(m_fromPage);
    request.toPage = static_cast<quint16>(m_toPage);
    request.minPage = static_cast<quint16>(m_minPage);
    request.maxPage = static_cast<quint16>(m_maxPage);

    QPointer<QWidget> active = QApplication::activeWindow();
    if (m_onShow)
        m_onShow(this);
    std::optional<TPrintDialogReply> reply;
    try {
        reply = runner() ? runner()(request, active) : runQtDialog(request, active);
    } catch (const platform::EError&) {
        reply.reset();
    }
    if (m_onClose)
        m_onClose(this);
    if (active)
        active->activateWindow();
    if (!reply)
        return false;
    // A queue removed while the dialog was open: printing on another printer than the one
    // chosen would be wrong, so the choice is refused with a word why.
    if (!reply->device.isEmpty() && !m_printer->printers().contains(reply->device)) {
        platform::showErrorReport(platform::formatMessage(
            QStringLiteral("Printer '%s' is no longer available"), {reply->device}));
        return false;
    }
    try {
        readReply(*reply);
    } catch (const platform::EError&) {
        return false;
    }
    return true;
}

void TReportPrintDialog::readReply(const TPrintDialogReply& reply)
{
    m_printer->setPrinter(reply.device, reply.devMode);
    m_printToFile = (reply.flags & PD_PRINTTOFILE) != 0;
    m_printRange = (reply.flags & PD_SELECTION)  ? prSelection
                   : (reply.flags & PD_PAGENUMS) ? prPageNums
                                                 : prAllPages;
    m_fromPage = reply.fromPage;
    m_toPage = reply.toPage;
    // A dialog that leaves the copies to the device mode returns 1.
    m_copies = reply.copies != 1 ? reply.copies : std::max<int>(1, m_printer->devMode().dmCopies);
    const platform::DEVMODE& dm = reply.devMode;
    m_fields = dm.dmFields;
    m_outputBin = dm.dmDefaultSource;
    m_paperSize = dm.dmPaperSize;
    m_paperWidth = dm.dmPaperWidth;
    m_paperLength = dm.dmPaperLength;
    m_orientation = dm.dmOrientation;
    m_printQuality = dm.dmPrintQuality;
    m_colorOption = dm.dmColor;
    m_duplexCode = dm.dmDuplex;
    m_duplex = dm.dmDuplex != 1;
    m_collate = dm.dmCollate;
}

std::optional<TPrintDialogReply> TReportPrintDialog::runQtDialog(const TPrintDialogRequest& request,
                                                                 QWidget* owner)
{
    if (QPrinterInfo::availablePrinters().isEmpty())
        return std::nullopt;
    QPrinterInfo info = QPrinterInfo::printerInfo(request.device);
    if (info.isNull())
        info = QPrinterInfo::defaultPrinter();
    QPrinter printer(info, QPrinter::HighResolution);
    platform::applyDevMode(request.devMode, printer);
    if (request.flags & PD_COLLATE)
        printer.setCollateCopies(true);
    if (request.fromPage > 0 && request.toPage >= request.fromPage)
        printer.setFromTo(request.fromPage, request.toPage);
    printer.setPrintRange((request.flags & PD_SELECTION)  ? QPrinter::Selection
                          : (request.flags & PD_PAGENUMS) ? QPrinter::PageRange
                                                          : QPrinter::AllPages);

    QPrintDialog dialog(&printer, owner);
    QAbstractPrintDialog::PrintDialogOptions options =
        QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies;
    if (!(request.flags & PD_NOPAGENUMS))
        options |= QAbstractPrintDialog::PrintPageRange;
    if (!(request.flags & PD_NOSELECTION))
        options |= QAbstractPrintDialog::PrintSelection;
    if (!(request.flags & (PD_HIDEPRINTTOFILE | PD_DISABLEPRINTTOFILE)))
        options |= QAbstractPrintDialog::PrintToFile;
    dialog.setOptions(options);
    dialog.setMinMax(request.minPage, request.maxPage);
    dialog.setWindowModality(Qt::ApplicationModal);
    DialogPlacer placer;
    dialog.installEventFilter(&placer);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;

    TPrintDialogReply reply;
    reply.device = printer.printerName();
    reply.devMode = platform::devModeFromPrinter(printer, QPrinterInfo::printerInfo(reply.device));
    reply.flags = replyFlags(printer);
    reply.fromPage = printer.fromPage();
    reply.toPage = printer.toPage();
    reply.copies = printer.copyCount();
    return reply;
}

void RunPrintSetup(report::TCustomReport& report)
{
    RunPrintSetup(report, platform::sharedPrinter());
}

void RunPrintSetup(report::TCustomReport& report, platform::PrinterObject& printer)
{
    TReportPrintDialog dialog(printer);
    printer.setPrinterIndex(report.printerSettings().printerIndex);
    dialog.setMinPage(0);
    dialog.setMaxPage(9999);
    if (const report::TReportPrinter* run = report::TReportRequests::of(report).reportPrinter();
        run && run->status() == report::psComplete) {
        dialog.setMinPage(1);
        dialog.setMaxPage(run->pageCount());
        dialog.setFromPage(1);
        dialog.setToPage(dialog.MaxPage());
    }
    dialog.setOptions(TPrintDialogOption::poPageNums | TPrintDialogOption::poWarning);
    if (printer.printerIndex() >= 0) {
        platform::DEVMODE dm = printer.devMode();
        if (dm.supports(platform::DM_ORIENTATION)) {
            dm.dmOrientation = report.page().orientation() == report::poLandscape
                                   ? platform::DMORIENT_LANDSCAPE
                                   : platform::DMORIENT_PORTRAIT;
            printer.setPrinter(printer.deviceName(), dm);
        }
    }
    dialog.setCopies(report.printerSettings().copies);
    if (!dialog.Execute()) {
        report.setTag(1);
        return;
    }

    report::TReportPrinterSettings& settings = report.printerSettings();
    report::TReportPrinterSettings& chosen = report.dialogSettings();
    const report::TReportOrientation orientation =
        dialog.Orientation() == platform::DMORIENT_LANDSCAPE ? report::poLandscape
                                                             : report::poPortrait;
    settings.copies = dialog.Copies();
    settings.printerIndex = printer.printerIndex();
    report.page().setOrientation(orientation);
    chosen.copies = dialog.Copies();
    chosen.printerIndex = printer.printerIndex();
    chosen.orientation = orientation;
    chosen.firstPage = dialog.FromPage();
    chosen.lastPage = dialog.ToPage();
    chosen.duplex = dialog.Duplex();
    chosen.extendedDuplex = dialog.DuplexCode();
    chosen.printQuality = dialog.PrintQuality();
    chosen.collate = dialog.Collate();
    chosen.colorOption = dialog.ColorOption();
    chosen.customBinCode = dialog.OutputBin();
    chosen.customPaperCode = dialog.PaperSize();
    // Driver-specific sources are numbered from 256 up.
    const int bin = dialog.OutputBin() > 255 ? dialog.OutputBin() - 256 : dialog.OutputBin();
    chosen.outputBin = report::binFromCode(bin).value_or(settings.outputBin);
    if (dialog.PrintRange() == prPageNums) {
        settings.firstPage = dialog.FromPage();
        settings.lastPage = dialog.ToPage();
    } else {
        settings.firstPage = 0;
        settings.lastPage = 0;
    }
    report.setTag(0);
}

} // namespace preview
