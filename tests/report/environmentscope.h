#pragma once

#include "platform/environment.h"

namespace reporttest {

/// Fixes the screen resolution and the locale's measurement system for one test; the test
/// program's own 96 pixels per inch come back afterwards.
class EnvironmentScope
{
public:
    explicit EnvironmentScope(int dpi, QLocale::MeasurementSystem system = QLocale::MetricSystem)
    {
        platform::setScreenLogicalDpi(dpi);
        platform::RegionalSettings settings = platform::regionalSettings();
        settings.measurementSystem = system;
        platform::setRegionalSettings(settings);
    }
    ~EnvironmentScope()
    {
        platform::setScreenLogicalDpi(96);
        platform::setRegionalSettings(std::nullopt);
    }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;
};

} // namespace reporttest
