#include "report/reportprinter.h"

#include "platform/emfpicture.h"
#include "platform/emfrecorder.h"
#include "platform/printer.h"
#include "report/report.h"
#include "report/reporterror.h"
#include "report/reportmessages.h"
#include "report/units.h"

#include <algorithm>

namespace report {

namespace {

TReportProgressWindowFactory& progressWindowFactory()
{
    static TReportProgressWindowFactory factory;
    return factory;
}

} // namespace

TReportPrinter::TReportPrinter(TCustomReport* parentReport) : TReportPrinter(parentReport, nullptr)
{}

TReportPrinter::TReportPrinter(TCustomReport* parentReport, platform::PrinterObject& printerObject)
    : TReportPrinter(parentReport, &printerObject)
{}

TReportPrinter::TReportPrinter(TCustomReport* parentReport, platform::PrinterObject* given)
    : m_parentReport(parentReport), m_settings(std::make_unique<TPrinterSettings>())
{
    if (parentReport) {
        TReportPrinterSettingsBase values = m_settings->values();
        values.useStandardPrinter = parentReport->printerSettings().useStandardPrinter;
        values.memoryLimit = parentReport->printerSettings().memoryLimit;
        m_settings->setValues(values);
    }
    if (given) {
        m_printerObject = given;
    } else if (m_settings->values().useStandardPrinter) {
        m_printerObject = &platform::sharedPrinter();
    } else {
        m_ownPrinter = std::make_unique<platform::Printer>();
        m_printerObject = m_ownPrinter.get();
        // A new printer object holds the default printer with its driver's defaults.
        m_selection = Selection{-1, m_ownPrinter->changes()};
    }
    // A printer just selected is installed: the list was read for that selection.
    m_printersPresent = (m_ownPrinter && !m_ownPrinter->deviceName().isEmpty()) ||
                        !m_printerObject->printers().isEmpty();
    m_settings->setPrinterObject(m_printerObject);
    if (m_printersPresent)
        m_settings->ReadFromPrinter();
    m_device.deadLeft = m_settings->exactLeftOffset();
    m_device.deadTop = m_settings->exactTopOffset();
}

TReportPrinter::~TReportPrinter()
{
    // A destructor must not throw: an error ending the document is dropped with the job.
    try {
        if (m_status == psGenerating) {
            CancelJob();
            AbortJob();
        }
    } catch (...) {
    }
    if (m_printerObject->printing() && m_destination == rdPrinter)
        m_printerObject->abort();
    m_canvas = nullptr;
    m_picture.reset();
    m_pageObjects.clear();
    m_notificationTarget = nullptr;
    m_pageStore.setStream(nullptr);
}

void TReportPrinter::StartJob()
{
    // Checked first: a busy printer keeps its open page and counters.
    if (m_status != psIdle)
        throw EReportError(QStringLiteral("Report printer not ready"));
    m_picture.reset();
    m_canvas = nullptr;
    m_availablePages = 0;
    m_progress = 0;
    m_cancelled = false;
    if (m_destination == rdPrinter) {
        m_settings->ApplyToPrinter();
    }
    m_pagesInRange = 0;
    m_pageCount = 0;
    m_status = psGenerating;
    if (m_destination == rdPageStore) {
        m_pageStore.setStream(std::make_unique<TReportStream>(m_settings->values().memoryLimit));
        m_device = TReportDevice::picture();
    } else {
        m_device = printerDevice(false);
    }
}

TReportDevice TReportPrinter::printerDevice(bool firstPageOpen) const
{
    const int dpiX = m_printerObject->deviceCaps(platform::LOGPIXELSX);
    const int dpiY = m_printerObject->deviceCaps(platform::LOGPIXELSY);
    const long double left = m_settings->exactLeftOffset();
    const long double top = m_settings->exactTopOffset();
    return firstPageOpen ? TReportDevice::printerPage(dpiX, dpiY, left, top)
                         : TReportDevice::printerJob(dpiX, dpiY, left, top);
}

void TReportPrinter::openPagePicture()
{
    const TReportDevice picture = TReportDevice::picture();
    m_picture = std::make_unique<platform::EmfRecorder>(picture.DeviceWidth(paperWidth()),
                                                        picture.DeviceHeight(paperLength()),
                                                        reportPixelsPerInch);
    m_canvas = m_picture.get();
    m_device = picture;
    m_pageObjects.clear();
}

void TReportPrinter::openPrinterPage()
{
    if (!m_printerObject->printing()) {
        m_printerObject->setTitle(m_title);
        m_printerObject->beginDoc();
    }
    m_canvas = m_printerObject->canvas();
    m_device = printerDevice(true);
}

void TReportPrinter::closePagePicture(bool store)
{
    if (m_picture && store)
        m_pageStore.AddPage(m_picture->picture());
    m_canvas = nullptr;
    m_picture.reset();
    m_pageObjects.clear();
}

void TReportPrinter::postPageAvailable()
{
    ++m_availablePages;
    postReportMessage(m_notificationTarget, CM_PAGEAVAILABLE, m_availablePages);
}

void TReportPrinter::OpenNextPage()
{
    if (m_status != psGenerating)
        throw EReportError(QStringLiteral("Illegal call to NewPage"));
    if (m_pagesInRange > 0) {
        if (m_destination == rdPageStore) {
            closePagePicture(true);
        } else if (PageInRange()) {
            m_canvas = nullptr;
            m_pageObjects.clear();
            if (m_printerObject->printing() && m_pageCount != m_lastPage)
                m_printerObject->newPage();
        } else {
            closePagePicture(false);
        }
        postPageAvailable();
    }
    ++m_pageCount;
    ++m_pagesInRange;
    if (m_destination == rdPrinter && PageInRange())
        openPrinterPage();
    else
        openPagePicture();
}

void TReportPrinter::FinishJob()
{
    if (m_status != psGenerating)
        return;
    if (m_destination == rdPrinter) {
        closePagePicture(false);
        m_canvas = nullptr;
        m_pageObjects.clear();
        if (m_printerObject->printing()) {
            // A document the spooler refuses still ends the run.
            m_status = psComplete;
            emit documentSubmitting();
            m_printerObject->endDoc();
            emit documentAccepted();
        }
    } else if (m_pageCount > 0) {
        closePagePicture(true);
    }
    m_status = psComplete;
    m_selection.reset();
    postPageAvailable();
    if (m_destination == rdPageStore)
        m_pageStore.WriteHeader();
    else if (m_afterPrint)
        m_afterPrint();
}

void TReportPrinter::AbortJob()
{
    if (m_destination == rdPrinter) {
        closePagePicture(false);
        m_pageObjects.clear();
        m_canvas = nullptr;
        m_printerObject->abort();
    } else if (m_picture) {
        closePagePicture(true);
    }
    m_status = psComplete;
    m_selection.reset();
}

void TReportPrinter::CancelJob()
{
    m_cancelled = true;
}

bool TReportPrinter::PageInRange() const
{
    return (m_firstPage <= 0 || m_pageCount >= m_firstPage) &&
           (m_lastPage <= 0 || m_lastPage >= m_pageCount);
}

int TReportPrinter::paperWidth() const
{
    return m_settings->orientation() == poLandscape ? m_settings->SheetLength()
                                                    : m_settings->SheetWidth();
}

int TReportPrinter::paperLength() const
{
    return m_settings->orientation() == poLandscape ? m_settings->SheetWidth()
                                                    : m_settings->SheetLength();
}

std::unique_ptr<platform::EmfPicture> TReportPrinter::GetPage(int n)
{
    if ((m_status != psGenerating && m_status != psComplete) || n < 1 || n > m_pageCount)
        return nullptr;
    return m_pageStore.GetPage(n);
}

void TReportPrinter::addPageObject(std::unique_ptr<QObject> object)
{
    m_pageObjects.push_back(std::move(object));
}

void TReportPrinter::setReportLink(TCustomReport* report)
{
    m_reportLink = report;
    m_reportLinkAlive = report;
}

void TReportPrinter::postProgress(int percent)
{
    m_progress = percent;
    postReportMessage(m_notificationTarget, CM_PROGRESSUPDATE, percent);
}

void TReportPrinter::setPreviewing(bool on)
{
    const bool was = m_previewing;
    m_previewing = on;
    if (was && !on) {
        if (m_status == psGenerating)
            CancelJob();
        if (m_afterPreview)
            m_afterPreview();
    }
}

void TReportPrinter::selectPrinter(int index)
{
    if (!m_printersPresent || m_settings->values().useStandardPrinter)
        return;
    const bool unchanged = m_selection && m_selection->index == index && m_ownPrinter &&
                           m_selection->changes == m_ownPrinter->changes();
    if (!unchanged) {
        m_printerObject->setPrinterIndex(index);
        m_printerObject->resetDevMode();
        if (m_ownPrinter)
            m_selection = Selection{index, m_ownPrinter->changes()};
    }
    m_settings->ReadFromPrinter();
}

void TReportPrinter::ApplyPrinterValues(const TCustomReport& report)
{
    const TReportPrinterSettings& wanted = report.printerSettings();
    selectPrinter(wanted.printerIndex);
    // The page decides the paper and the orientation.
    TReportPrinterSettingsBase values = wanted;
    values.paperSize = report.page().paperSize();
    values.orientation = report.page().orientation();
    m_settings->setValues(values);
    if (m_settings->paperSize() == TReportPaperSize::Custom) {
        m_settings->setSheetWidth(roundHalfEven(report.page().widthTenths()));
        m_settings->setSheetLength(roundHalfEven(report.page().lengthTenths()));
    }
    m_firstPage = wanted.firstPage;
    m_lastPage = wanted.lastPage;
    static_cast<TReportPrinterSettingsEvents&>(*m_settings) = report;
}

void TReportPrinter::PrintStoredPages()
{
    if (reportLink() && !m_prepared && !m_settings->values().printMetaFile &&
        m_status == psComplete) {
        postReportMessage(reportLink(), CM_PRINTREQUEST, 0, this);
        return;
    }
    // Nothing to print, or nowhere to print it.
    if (m_status != psComplete || !m_printersPresent)
        return;
    const int first = m_firstPage > 0 ? m_firstPage : 1;
    const int last = m_lastPage > 0 ? std::min(m_lastPage, m_pageCount) : m_pageCount;
    if (first > last)
        return;
    m_printerObject->setTitle(m_title);
    if (m_printerObject->printing())
        m_printerObject->abort();
    m_settings->ApplyToPrinter();
    m_printerObject->beginDoc();

    std::unique_ptr<QObject> progressWindow = makeProgressWindow(*this);
    QPointer<QObject> previousTarget = m_notificationTarget;
    if (progressWindow)
        m_notificationTarget = progressWindow.get();
    try {
        drawStoredPages(first, last);
    } catch (...) {
        m_printerObject->abort();
        m_notificationTarget = previousTarget;
        throw;
    }
    m_notificationTarget = previousTarget;
    if (m_printerObject->printing())
        m_printerObject->endDoc();
}

void TReportPrinter::drawStoredPages(int first, int last)
{
    // The pictures cover the whole sheet; the device's origin is inside its margins.
    const TReportDevice device = printerDevice(true);
    const long double width = m_parentReport ? m_parentReport->page().widthTenths() : paperWidth();
    const long double length =
        m_parentReport ? m_parentReport->page().lengthTenths() : paperLength();
    for (int p = first; p <= last; ++p) {
        processPendingMessages();
        // The share of the range done, so a range from page 2 still ends at 100 %.
        postProgress(
            roundHalfEven(static_cast<long double>(p - first + 1) / (last - first + 1) * 100));
        if (const std::unique_ptr<platform::EmfPicture> page = GetPage(p))
            m_printerObject->drawPicture(*page, device.DeviceX(0), device.DeviceY(0),
                                         device.DeviceX(width), device.DeviceY(length));
        if (p < last)
            m_printerObject->newPage();
        if (m_cancelled) {
            m_printerObject->abort();
            return;
        }
    }
}

void TReportPrinter::setProgressWindowFactory(TReportProgressWindowFactory factory)
{
    progressWindowFactory() = std::move(factory);
}

std::unique_ptr<QObject> TReportPrinter::makeProgressWindow(TReportPrinter& printer)
{
    const TReportProgressWindowFactory& factory = progressWindowFactory();
    return factory ? factory(printer) : nullptr;
}

} // namespace report
