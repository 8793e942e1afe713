#pragma once

#include "tests/support/cupsscheduler.h"

#include <gtest/gtest.h>

namespace testsupport {

/// One private CUPS scheduler for a test program, started before any test runs (Qt and CUPS
/// read CUPS_SERVER once) and stopped after the last. Register it once per program:
///     static auto* const env = ::testing::AddGlobalTestEnvironment(new CupsEnvironment);
class CupsEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { s_scheduler = new CupsScheduler; }
    void TearDown() override
    {
        delete s_scheduler;
        s_scheduler = nullptr;
    }
    static CupsScheduler* scheduler() { return s_scheduler; }

private:
    static inline CupsScheduler* s_scheduler = nullptr;
};

} // namespace testsupport
