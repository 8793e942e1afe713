#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

namespace platform {

/// The user's regional settings as the program reads them. The short date format uses the
/// letters d, dd, M, MM, yy, yyyy with literal separators.
struct RegionalSettings
{
    QString shortDateFormat;
    QChar dateSeparator;
    QChar timeSeparator;
    Qt::DayOfWeek firstDayOfWeek = Qt::Monday;
    QLocale::MeasurementSystem measurementSystem = QLocale::MetricSystem;
};

RegionalSettings regionalSettings();
/// Tests fix the regional settings; nullopt goes back to the system's.
void setRegionalSettings(std::optional<RegionalSettings> settings);

/// Logical pixels per inch of the screen (LOGPIXELSX of the screen context).
int screenLogicalDpi();
void setScreenLogicalDpi(std::optional<int> dpi);

/// Local date and time. QUILLMARK_TODAY=yyyy-MM-dd in the environment fixes the date (noon),
/// and tests can fix any moment.
QDateTime currentDateTime();
void setCurrentDateTime(std::optional<QDateTime> now);

} // namespace platform
