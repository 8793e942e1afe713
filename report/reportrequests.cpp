#include "report/previewinterface.h"
#include "report/report.h"
#include "report/reportmessages.h"
#include "report/reportprinter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>

namespace report {

std::unique_ptr<TReportPrinter> TCustomReport::newPrinter(QObject* notificationTarget)
{
    std::unique_ptr<TReportPrinter> printer =
        m_printerMaker ? m_printerMaker(*this) : std::make_unique<TReportPrinter>(this);
    printer->setNotificationTarget(notificationTarget);
    printer->setAfterPrint([this] {
        if (m_afterPrint)
            m_afterPrint(this);
    });
    printer->setAfterPreview([this] {
        if (m_afterPreview)
            m_afterPreview(this);
    });
    return printer;
}

void TCustomReport::Preview()
{
    processPendingMessages();
    if (!m_available)
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
    printer->setReportLink(this);
    printer->setTitle(m_reportTitle);
    if (m_onPreview)
        printer->setPreviewHandler(m_onPreview);
    printer->ApplyPrinterValues(*this);

    if (const TReportNotifyEvent& handler = printer->previewHandler()) {
        handler(printer.data());
    } else {
        std::unique_ptr<TReportPreviewInterface> factory = createPreviewInterface();
        if (QObject* window = factory->Show(*printer))
            printer->setPreviewWindow(window);
    }
    if (!printer || printer != m_printer.get())
        return; // the window's opening gave the printer up already

    GenerateReport(false);
    if (!printer || printer != m_printer.get())
        return;
    printer->setPrepared(true);
    if (m_lastRunCancelled) {
        m_printer.reset();
        return;
    }

    // Until the window closes: it clears the previewing flag, or the report lets the printer
    // go; an application quitting ends every event loop.
    if (!printer->previewing() || QCoreApplication::closingDown())
        return;
    QEventLoop loop;
    QObject::connect(printer.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    printer->setAfterPreview([this, &loop] {
        if (m_afterPreview)
            m_afterPreview(this);
        loop.quit();
    });
    loop.exec();
    if (printer) {
        printer->setAfterPreview([this] {
            if (m_afterPreview)
                m_afterPreview(this);
        });
    }
}

void TCustomReport::closeOpenPreview()
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

void TCustomReport::Print()
{
    if (!m_available)
        return;
    // However printing ends, the report gets its previous printer back, so a preview that is
    // still open keeps working (unless it closed meanwhile); the new printer goes before its
    // progress window.
    struct GiveBack
    {
        TCustomReport& report;
        std::unique_ptr<QObject> progress;
        ~GiveBack()
        {
            report.m_printer = std::move(report.m_printerAside);
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
        if (m_showProgress)
            QMetaObject::invokeMethod(giveBack.progress.get(), "show");
        printer->setNotificationTarget(giveBack.progress.get());
    }
    m_printer = std::move(printer);
    GenerateReport(false);
}

void TCustomReport::previewClosed()
{
    if (!m_available) {
        // The preview request lets the printer go when the run returns.
        cancel();
        return;
    }
    if (!m_printer)
        return;
    m_printer->setPreviewing(false);
    m_printer.reset();
}

bool TCustomReport::event(QEvent* event)
{
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
    return TReportBasePanel::event(event);
}

} // namespace report
