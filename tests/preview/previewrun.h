#pragma once

#include "preview/standardpreview.h"
#include "report/report.h"
#include "report/reportmessages.h"
#include "report/reportprinter.h"
#include "tests/support/fakeprinter.h"

#include <QApplication>
#include <QWidget>
#include <memory>

namespace previewtest {

/// A preview-mode report printer on an A4 device (2100 × 2970 tenths), filled page by page the
/// way a report run fills it: each page carries its number as text.
class PreviewRun
{
public:
    explicit PreviewRun(report::TCustomReport* report = nullptr)
        : m_printer(std::make_unique<report::TReportPrinter>(report, m_device))
    {}

    report::TReportPrinter& printer() { return *m_printer; }
    testsupport::FakePrinter& device() { return m_device; }
    /// Lets go of the printer as its owner would.
    void release() { m_printer.reset(); }

    void start() { m_printer->StartJob(); }
    /// Opens the next page (storing the one before) and writes its number on it.
    void nextPage()
    {
        m_printer->OpenNextPage();
        m_printer->canvas()->textOut(m_printer->DeviceX(200), m_printer->DeviceY(300),
                                     QString::number(m_printer->pageCount()));
    }
    /// Ends the run and lets the messages it posted through, as the preview request does.
    void finish()
    {
        m_printer->FinishJob();
        report::processPendingMessages();
    }
    void run(int pages)
    {
        start();
        for (int i = 0; i < pages; ++i)
            nextPage();
        finish();
    }

private:
    testsupport::FakePrinter m_device;
    std::unique_ptr<report::TReportPrinter> m_printer;
};

/// Shows a widget offscreen, active, with its first focus handled, so that what a test does
/// next is not undone by late activation events.
void showActive(QWidget& widget);

/// The preview window on the screen, if one is open.
inline preview::TReportStandardPreview* openPreview()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<preview::TReportStandardPreview*>(w);
            window && window->isVisible())
            return window;
    return nullptr;
}

} // namespace previewtest
