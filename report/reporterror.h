#pragma once

#include "platform/errors.h"

namespace report {

/// An error raised by the report engine: a malformed layout, a printer not ready, a page
/// request outside a run.
class EReportError : public platform::EError
{
public:
    using EError::EError;
};

} // namespace report
