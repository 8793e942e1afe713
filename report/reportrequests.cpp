#include "report/reportrequests.h"

#include "report/previewinterface.h"
#include "report/report.h"
#include "report/reporterror.h"
#include "report/reportmessages.h"
#include "report/reportprinter.h"
#include "report/reportrun.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>

namespace report {

TReportRequests& TReportRequests::of(TCustomReport& report)
{
    if (auto* made = report.findChild<TReportRequests*>(QString(), Qt::FindDirectChildrenOnly))
        return *made;
    return *new TReportRequests(report);
}

TReportRequests::TReportRequests(TCustomReport& report) : QObject(&report), m_report(report)
{
    // The report's window messages are the requests'.
    report.installEventFilter(this);
}

TReportRequests::~TReportRequests() = default;

std::unique_ptr<TReportPrinter> TReportRequests::newPrinter(QObject* notificationTarget)
{
    std::unique_ptr<TReportPrinter> printer =
        m_printerMaker ? m_printerMaker(m_report) : std::make_unique<TReportPrinter>(&m_report);
    printer->setNotificationTarget(notificationTarget);
    printer->setAfterPrint([this] {
        if (m_report.afterPrint())
            m_report.afterPrint()(&m_report);
    });
    printer->setAfterPreview([this] {
        if (m_report.afterPreview())
            m_report.afterPreview()(&m_report);
    });
    return printer;
}

void TReportRequests::setReportPrinter(std::unique_ptr<TReportPrinter> printer)
{
    m_printer = std::move(printer);
}

void TReportRequests::GenerateReport()
{
    if (!m_report.available())
        return;
    if (!m_printer)
        throw EReportError(QStringLiteral("Report printer not ready"));
    report::GenerateReport(m_report, *m_printer);
}

void TReportRequests::cancel()
{
    if (TReportRun* run = m_report.currentRun())
        run->cancel();
}

void TReportRequests::Preview()
{
    processPendingMessages();
    if (!m_report.available())
        return;
    // The new printer inherits the old one's notification target, unless that belongs to a
    // window closed here.
    QObject* target =
        m_printer && !m_printer->previewWindow() ? m_printer->notificationTarget() : nullptr;
    closeOpenPreview();
    std::unique_ptr<TReportPrinter> made = newPrinter(target);
    QPointer<TReportPrinter> printer = made.get();
    m_printer = std::move(made);

    printer->setDestination(rdPageStore);
    printer->setReportLink(&m_report);
    printer->setTitle(m_report.reportTitle());
    if (m_report.onPreview())
        printer->setPreviewHandler(m_report.onPreview());
    printer->ApplyPrinterValues(m_report);

    if (const TReportNotifyEvent& handler = printer->previewHandler()) {
        handler(printer.data());
    } else {
        std::unique_ptr<TReportPreviewInterface> factory = createPreviewInterface();
        if (QObject* window = factory->Show(*printer))
            printer->setPreviewWindow(window);
    }
    const auto stillOurs = [&] { return printer && printer == m_printer.get(); };
    if (!stillOurs())
        return; // the window's opening gave the printer up already

    GenerateReport();
    // The page view shows what the run stored before anything else is asked of it.
    if (stillOurs())
        processPendingMessages();
    if (!stillOurs())
        return;
    printer->setPrepared(true);
    if (printer->cancelled()) {
        m_printer.reset();
        return;
    }

    // Until the window closes: it clears the previewing flag, or the report lets the printer
    // go; an application quitting ends every event loop.
    if (!printer->previewing() || QCoreApplication::closingDown())
        return;
    QEventLoop loop;
    QObject::connect(printer.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    const auto raiseAfterPreview = [this] {
        if (m_report.afterPreview())
            m_report.afterPreview()(&m_report);
    };
    printer->setAfterPreview([raiseAfterPreview, &loop] {
        raiseAfterPreview();
        loop.quit();
    });
    loop.exec();
    if (printer)
        printer->setAfterPreview(raiseAfterPreview);
}

void TReportRequests::closeOpenPreview()
{
    if (!m_printer)
        return;
    // The window's closing sends CM_PREVIEWCLOSED, which lets the printer go.
    if (QObject* window = m_printer->previewWindow())
        QMetaObject::invokeMethod(window, "close");
    if (m_printer) {
        m_printer->setPreviewing(false);
        m_printer.reset();
    }
}

void TReportRequests::Print()
{
    if (!m_report.available())
        return;
    // However printing ends, the report gets its previous printer back, so a preview that is
    // still open keeps working (unless it closed meanwhile); the new printer goes before its
    // progress window.
    struct GiveBack
    {
        TReportRequests& requests;
        std::unique_ptr<QObject> progress;
        ~GiveBack()
        {
            requests.m_printer = std::move(requests.m_printerAside);
            progress.reset();
        }
    } giveBack{*this, nullptr};
    m_printerAside = std::move(m_printer);

    std::unique_ptr<TReportPrinter> printer =
        newPrinter(m_printerAside ? m_printerAside->notificationTarget() : nullptr);
    if (!printer->printersPresent())
        return;
    printer->setDestination(rdPrinter);
    giveBack.progress = TReportPrinter::makeProgressWindow(*printer);
    if (giveBack.progress) {
        if (m_report.showProgress())
            QMetaObject::invokeMethod(giveBack.progress.get(), "show");
        printer->setNotificationTarget(giveBack.progress.get());
    }
    bool accepted = false;
    connect(printer.get(), &TReportPrinter::documentSubmitting, this,
            &TReportRequests::printJobSubmitting);
    connect(printer.get(), &TReportPrinter::documentAccepted, this, [this, &accepted] {
        accepted = true;
        emit printJobAccepted();
    });
    const TReportPrinter& printing = *printer;
    m_printer = std::move(printer);
    try {
        GenerateReport();
    } catch (...) {
        if (!accepted)
            emit printJobFailed(printing.cancelled());
        throw;
    }
    if (!accepted)
        emit printJobFailed(printing.cancelled());
    // The progress window sees the run's last messages before it goes.
    processPendingMessages();
}

void TReportRequests::previewClosed()
{
    if (!m_report.available()) {
        // The preview request lets the printer go when the run returns.
        cancel();
        return;
    }
    if (!m_printer)
        return;
    m_printer->setPreviewing(false);
    m_printer.reset();
}

bool TReportRequests::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_report)
        return false;
    if (event->type() == CM_PREVIEWCLOSED) {
        const QObject* closed = static_cast<TReportMessage*>(event)->lParam();
        if (closed && closed == m_printerAside.get()) {
            // Closed while printing: the printing goes on, the preview's printer goes now and
            // with it the preview request's wait.
            m_printerAside->setPreviewing(false);
            m_printerAside.reset();
        } else if (!closed || closed == m_printer.get()) {
            // A window of an earlier printer closing does not end the current preview.
            previewClosed();
        }
        return true;
    }
    if (event->type() == CM_PRINTREQUEST) {
        Print();
        return true;
    }
    return false;
}

} // namespace report
