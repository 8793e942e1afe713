#include "report/previewinterface.h"

namespace report {

namespace {

TReportPreviewFactory& registeredFactory()
{
    static TReportPreviewFactory factory;
    return factory;
}

} // namespace

TReportPreviewInterface::~TReportPreviewInterface() = default;

QObject* TReportPreviewInterface::Show(TReportPrinter&)
{
    return nullptr;
}

QObject* TReportPreviewInterface::ShowModal(TReportPrinter&)
{
    return nullptr;
}

void registerPreviewFactory(TReportPreviewFactory factory)
{
    registeredFactory() = std::move(factory);
}

std::unique_ptr<TReportPreviewInterface> createPreviewInterface()
{
    if (const TReportPreviewFactory& factory = registeredFactory()) {
        if (std::unique_ptr<TReportPreviewInterface> made = factory())
            return made;
    }
    return std::make_unique<TReportPreviewInterface>();
}

} // namespace report
