#include "dateedit/datetext.h"

#include "platform/errors.h"

#include <cmath>

namespace dateedit {

namespace {

constexpr QChar kCell = QChar(0);
constexpr int kMaxStepText = 255;

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && isLeapYear(year))
        return 29;
    return days[month - 1];
}

bool sameLetter(QChar a, QChar b)
{
    return a.toUpper() == b.toUpper();
}

/// The first run of a letter in a format: its start and length; length 0 when absent.
struct Run
{
    int start = -1;
    int length = 0;
};

Run firstRun(const QString& format, QChar letter)
{
    Run run;
    for (int i = 0; i < format.size(); ++i) {
        if (!sameLetter(format[i], letter))
            continue;
        run.start = i;
        while (i < format.size() && sameLetter(format[i], letter)) {
            ++run.length;
            ++i;
        }
        break;
    }
    return run;
}

/// A whole number made of ASCII digits only; nullopt for anything else. Large numbers are
/// capped, which is enough to keep them out of every range the callers check.
std::optional<int> readDigits(const QString& digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    qint64 n = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        n = std::min<qint64>(n * 10 + (c.unicode() - u'0'), 1'000'000'000);
    }
    return static_cast<int>(n);
}

enum class PartState
{
    Default,
    Missing,
    Present
};

struct Part
{
    PartState state = PartState::Default;
    int value = 0;
};

/// Reads the part of a letter from the text at the positions of its first run in the format,
/// blanks skipped.
Part readPart(const QString& format, const QString& text, QChar letter, int defaultValue)
{
    Part part{PartState::Default, defaultValue};
    if (text.size() > format.size())
        return part;
    const Run run = firstRun(format, letter);
    if (run.length == 0)
        return part;
    QString collected;
    for (int i = run.start; i < run.start + run.length && i < text.size(); ++i) {
        if (text[i] != u' ')
            collected += text[i];
    }
    const std::optional<int> n = readDigits(collected);
    if (!n)
        return Part{PartState::Missing, 0};
    return Part{PartState::Present, *n};
}

QString padded(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QChar(u'0'));
}

/// Writes a display format; letters absent from the wanted kind are left as they are.
QString format(const QString& displayFormat, QChar dateSeparator, QChar timeSeparator,
               const QDate* date, const QTime* time)
{
    QString out;
    for (int i = 0; i < displayFormat.size();) {
        const QChar c = displayFormat[i].toUpper();
        int run = 1;
        while (i + run < displayFormat.size() && displayFormat[i + run].toUpper() == c)
            ++run;
        const int width = run == 1 ? 1 : 2;
        if (date && c == u'Y')
            out += run >= 3 ? padded(date->year(), 4) : padded(date->year() % 100, 2);
        else if (date && c == u'M')
            out += padded(date->month(), width);
        else if (date && c == u'D')
            out += padded(date->day(), width);
        else if (time && c == u'H')
            out += padded(time->hour(), width);
        else if (time && c == u'N')
            out += padded(time->minute(), width);
        else if (time && c == u'S')
            out += padded(time->second(), width);
        else if (c == u'/')
            out += QString(run, dateSeparator);
        else if (c == u':')
            out += QString(run, timeSeparator);
        else
            out += displayFormat.mid(i, run);
        i += run;
    }
    return out;
}

const QDate kDayZero(1899, 12, 30);
constexpr qint64 kFirstDay = -693593; // 1 January 0001
constexpr qint64 kLastDay = 2958465;  // 31 December 9999

} // namespace

DateOrder dateOrderOf(const QString& shortDateFormat)
{
    for (QChar c : shortDateFormat) {
        switch (c.toUpper().unicode()) {
        case u'M':
            return DateOrder::MonthFirst;
        case u'D':
            return DateOrder::DayFirst;
        case u'Y':
            return DateOrder::YearFirst;
        default:
            break;
        }
    }
    return DateOrder::DayFirst;
}

bool hasFourDigitYears(const QString& shortDateFormat)
{
    return shortDateFormat.toUpper().contains(QStringLiteral("YYY"));
}

DateTemplate dateTemplate(DateOrder order, bool fourDigitYears)
{
    if (fourDigitYears) {
        switch (order) {
        case DateOrder::MonthFirst:
            return {QStringLiteral("!99/99/9999;1; "), QStringLiteral("MM/DD/YYYY")};
        case DateOrder::DayFirst:
            return {QStringLiteral("!99/99/9999;1; "), QStringLiteral("DD/MM/YYYY")};
        case DateOrder::YearFirst:
            return {QStringLiteral("!9999/99/99;1; "), QStringLiteral("YYYY/MM/DD")};
        }
    }
    switch (order) {
    case DateOrder::MonthFirst:
        return {QStringLiteral("!99/99/99;1; "), QStringLiteral("MM/DD/YY")};
    case DateOrder::DayFirst:
        return {QStringLiteral("!99/99/99;1; "), QStringLiteral("DD/MM/YY")};
    case DateOrder::YearFirst:
        break;
    }
    return {QStringLiteral("!99/99/99;1; "), QStringLiteral("YY/MM/DD")};
}

DateTemplate dateTemplateFor(const QString& shortDateFormat)
{
    return dateTemplate(dateOrderOf(shortDateFormat), hasFourDigitYears(shortDateFormat));
}

DateTemplate timeTemplate()
{
    return {QStringLiteral("!99:99:99;1; "), QStringLiteral("HH:NN:SS")};
}

QChar usableDateSeparator(QChar regional)
{
    if (regional.isNull() || regional.isDigit() || regional.isSpace() || regional.isLetter())
        return u'/';
    return regional;
}

QChar usableTimeSeparator(QChar regional)
{
    if (regional.isNull() || regional.isDigit() || regional.isSpace() || regional.isLetter())
        return u':';
    return regional;
}

EditMask::EditMask(const QString& mask, QChar dateSeparator, QChar timeSeparator)
{
    QString body = mask.section(u';', 0, 0);
    if (body.startsWith(u'!'))
        body.remove(0, 1);
    for (QChar c : body) {
        if (c == u'9' || c == u'0' || c == u'#')
            m_layout += kCell;
        else if (c == u'/')
            m_layout += usableDateSeparator(dateSeparator);
        else if (c == u':')
            m_layout += usableTimeSeparator(timeSeparator);
        else
            m_layout += c;
    }
}

bool EditMask::isCell(int pos) const
{
    return pos >= 0 && pos < length() && m_layout[pos] == kCell;
}

bool EditMask::isSeparator(QChar c) const
{
    return c != kCell && m_layout.contains(c);
}

QString EditMask::blankText() const
{
    QString text = m_layout;
    text.replace(kCell, blank());
    return text;
}

int EditMask::cellAtOrAfter(int pos) const
{
    for (int i = std::max(pos, 0); i < length(); ++i) {
        if (isCell(i))
            return i;
    }
    return length();
}

int EditMask::cellBefore(int pos) const
{
    for (int i = std::min(pos, length()) - 1; i >= 0; --i) {
        if (isCell(i))
            return i;
    }
    return -1;
}

int EditMask::cellAfterNextSeparator(int pos) const
{
    for (int i = std::max(pos, 0); i < length(); ++i) {
        if (!isCell(i))
            return cellAtOrAfter(i + 1);
    }
    return -1;
}

QString EditMask::fit(const QString& text) const
{
    // The text's fields, split wherever it holds one of the template's separators.
    QStringList fields;
    QString current;
    for (QChar c : text) {
        if (isSeparator(c)) {
            fields << current;
            current.clear();
        } else {
            current += c;
        }
    }
    fields << current;

    QString out;
    int field = 0;
    for (int i = 0; i < length();) {
        if (!isCell(i)) {
            out += m_layout[i];
            ++i;
            continue;
        }
        int width = 0;
        while (isCell(i + width))
            ++width;
        const QString value = field < fields.size() ? fields[field] : QString();
        if (value.size() >= width)
            out += value.right(width);
        else
            out += QString(width - value.size(), blank()) + value;
        ++field;
        i += width;
    }
    return out;
}

std::optional<QDate> textToDate(const QString& displayFormat, const QString& text, bool fill,
                                bool failOnInvalid, QDate today)
{
    if (text.isEmpty())
        return std::nullopt;
    Part year = readPart(displayFormat, text, u'Y', today.year());
    Part month = readPart(displayFormat, text, u'M', 0);
    Part day = readPart(displayFormat, text, u'D', 1);

    if (year.state == PartState::Present && year.value < 100) {
        const int windowStart = today.year() - 60;
        year.value += (windowStart / 100) * 100;
        if (year.value < windowStart)
            year.value += 100;
    }
    if (year.state == PartState::Missing && month.state == PartState::Missing &&
        day.state == PartState::Missing)
        return std::nullopt;

    if (fill) {
        if (day.state == PartState::Missing || day.value < 1)
            day = {PartState::Present, today.day()};
        if (month.state == PartState::Missing || month.value < 1)
            month = {PartState::Present, today.month()};
        if (year.state == PartState::Missing || year.value < 1)
            year = {PartState::Present, today.year()};
        month.value = std::min(month.value, 12);
        year.value = std::min(year.value, 9999);
        day.value = std::min(day.value, daysInMonth(year.value, month.value));
    }

    const bool complete = year.state != PartState::Missing && month.state != PartState::Missing &&
                          day.state != PartState::Missing;
    if (complete && year.value >= 1 && year.value <= 9999 && month.value >= 1 &&
        month.value <= 12 && day.value >= 1 && day.value <= daysInMonth(year.value, month.value))
        return QDate(year.value, month.value, day.value);
    if (failOnInvalid)
        throw platform::EConvertError(QStringLiteral("Invalid argument to date encode"));
    return std::nullopt;
}

std::optional<QTime> textToTime(const QString& displayFormat, const QString& text, bool fill)
{
    if (text.isEmpty())
        return std::nullopt;
    Part parts[3] = {readPart(displayFormat, text, u'H', 0), readPart(displayFormat, text, u'N', 0),
                     readPart(displayFormat, text, u'S', 0)};
    const int maxima[3] = {23, 59, 59};
    bool allMissing = true;
    for (const Part& p : parts)
        allMissing = allMissing && p.state == PartState::Missing;
    if (allMissing)
        return std::nullopt;
    for (int i = 0; i < 3; ++i) {
        if (fill) {
            if (parts[i].state == PartState::Missing)
                parts[i] = {PartState::Present, 0};
            parts[i].value = std::min(parts[i].value, maxima[i]);
        }
        if (parts[i].state == PartState::Missing || parts[i].value > maxima[i])
            return std::nullopt;
    }
    return QTime(parts[0].value, parts[1].value, parts[2].value);
}

QString dateToText(QDate date, const QString& displayFormat, QChar dateSeparator)
{
    return format(displayFormat, usableDateSeparator(dateSeparator), u':', &date, nullptr);
}

QString timeToText(QTime time, const QString& displayFormat, QChar timeSeparator)
{
    return format(displayFormat, u'/', usableTimeSeparator(timeSeparator), nullptr, &time);
}

std::optional<StepResult> stepPart(const QString& text, const QString& displayFormat,
                                   const EditMask& mask, int caret, bool up)
{
    if (displayFormat.isEmpty())
        return std::nullopt;
    const int p = std::clamp(caret, 0, static_cast<int>(displayFormat.size()) - 1);
    const QChar letter = displayFormat[p].toUpper();
    int low = 0;
    int high = 0;
    switch (letter.unicode()) {
    case u'D':
        low = 1, high = 31;
        break;
    case u'M':
        low = 1, high = 12;
        break;
    case u'Y':
        low = 1, high = 9999;
        break;
    case u'H':
        low = 0, high = 23;
        break;
    case u'N':
    case u'S':
        low = 0, high = 59;
        break;
    default:
        return std::nullopt;
    }
    const Run run = firstRun(displayFormat, letter);
    QString digits = text.mid(run.start, run.length);
    while (digits.startsWith(u' '))
        digits.remove(0, 1);
    const int n = digits.isEmpty() ? 0 : readDigits(digits).value_or(0);

    int stepped = 0;
    if (up)
        stepped = n < high ? n + 1 : low;
    else
        stepped = n > low ? n - 1 : high;

    QString raw =
        text.left(run.start) + padded(stepped, run.length) + text.mid(run.start + run.length);
    raw.truncate(kMaxStepText);
    return StepResult{mask.fit(raw), run.start, run.length};
}

double dateToNumber(QDate date)
{
    return static_cast<double>(kDayZero.daysTo(date));
}

std::optional<QDate> numberToDate(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double days = std::trunc(value);
    if (days < static_cast<double>(kFirstDay) || days > static_cast<double>(kLastDay))
        return std::nullopt;
    return kDayZero.addDays(static_cast<qint64>(days));
}

std::optional<QTime> numberToTime(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double fraction = std::fabs(value - std::trunc(value));
    const qint64 msecs = std::min<qint64>(std::llround(fraction * 86400000.0), 86399999);
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs));
}

double timeToNumber(QTime time)
{
    return time.msecsSinceStartOfDay() / 86400000.0;
}

} // namespace dateedit
