// Any text given to the layout reader either loads or is refused with an EReportError.
// Seed it with printlayout/chequereport.qrl.

#include "platform/environment.h"
#include "report/layoutreader.h"
#include "report/reporterror.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    platform::setScreenLogicalDpi(96);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const auto report = report::readReportLayout(
            QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
            QStringLiteral("fuzz.qrl"));
        report->setZoom(300);
        report->setZoom(1);
    } catch (const report::EReportError&) {
    }
    return 0;
}
