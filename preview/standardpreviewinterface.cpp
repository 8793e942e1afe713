#include "preview/standardpreviewinterface.h"

#include "preview/progressform.h"
#include "preview/standardpreview.h"

#include <QEventLoop>
#include <QPointer>

namespace preview {

QObject* TReportStandardPreviewInterface::Show(report::TReportPrinter& printer)
{
    auto* window = new TReportStandardPreview(&printer);
    window->show();
    window->UpdateStatus();
    return window;
}

QObject* TReportStandardPreviewInterface::ShowModal(report::TReportPrinter& printer)
{
    QPointer<TReportStandardPreview> window = new TReportStandardPreview(&printer);
    window->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QObject::connect(window.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    window->show();
    window->UpdateStatus();
    loop.exec();
    return window.data();
}

void registerStandardPreview()
{
    report::registerPreviewFactory(
        [] { return std::make_unique<TReportStandardPreviewInterface>(); });
    report::TReportPrinter::setProgressWindowFactory(
        [](report::TReportPrinter& printer) -> std::unique_ptr<QObject> {
            return std::make_unique<TReportProgressForm>(printer);
        });
}

} // namespace preview
