#include "platform/environment.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

namespace {

std::optional<RegionalSettings>& regionalOverride()
{
    static std::optional<RegionalSettings> value;
    return value;
}

std::optional<int>& dpiOverride()
{
    static std::optional<int> value;
    return value;
}

std::optional<QDateTime>& nowOverride()
{
    static std::optional<QDateTime> value;
    return value;
}

QChar firstSeparator(const QString& format, QChar fallback)
{
    for (QChar c : format) {
        if (!c.isLetter() && c != u'\'')
            return c;
    }
    return fallback;
}

} // namespace

RegionalSettings regionalSettings()
{
    if (regionalOverride())
        return *regionalOverride();
    const QLocale locale = QLocale::system();
    RegionalSettings s;
    s.shortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    s.dateSeparator = firstSeparator(s.shortDateFormat, u'/');
    s.timeSeparator = firstSeparator(locale.timeFormat(QLocale::ShortFormat), u':');
    s.firstDayOfWeek = locale.firstDayOfWeek();
    s.measurementSystem = locale.measurementSystem();
    return s;
}

void setRegionalSettings(std::optional<RegionalSettings> settings)
{
    regionalOverride() = std::move(settings);
}

int screenLogicalDpi()
{
    if (dpiOverride())
        return *dpiOverride();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return qRound(screen->logicalDotsPerInchX());
    return 96;
}

void setScreenLogicalDpi(std::optional<int> dpi)
{
    dpiOverride() = dpi;
}

QDateTime currentDateTime()
{
    if (nowOverride())
        return *nowOverride();
    const QByteArray fixed = qgetenv("QUILLMARK_TODAY");
    if (!fixed.isEmpty()) {
        const QDate date = QDate::fromString(QString::fromLatin1(fixed), Qt::ISODate);
        if (date.isValid())
            return QDateTime(date, QTime(12, 0));
    }
    return QDateTime::currentDateTime();
}

void setCurrentDateTime(std::optional<QDateTime> now)
{
    nowOverride() = std::move(now);
}

} // namespace platform
