#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

namespace dateedit {

enum class DateOrder
{
    MonthFirst,
    DayFirst,
    YearFirst
};

/// The order of day, month and year in a regional short date format such as "yyyy/M/d".
DateOrder dateOrderOf(const QString& shortDateFormat);
/// Whether a regional short date format writes the year with four digits.
bool hasFourDigitYears(const QString& shortDateFormat);

/// An edit mask ("!9999/99/99;1;") and the display format that reads and writes its text
/// ("YYYY/MM/DD"). In both, "/" stands for the regional date separator and ":" for the time
/// separator.
struct DateTemplate
{
    QString editMask;
    QString displayFormat;
    bool operator==(const DateTemplate&) const = default;
};

DateTemplate dateTemplate(DateOrder order, bool fourDigitYears);
DateTemplate dateTemplateFor(const QString& shortDateFormat);
DateTemplate timeTemplate();

/// The cells of an edit mask: digit cells, each holding a digit or a blank, and separators at
/// fixed places.
class EditMask
{
public:
    EditMask() = default;
    EditMask(const QString& mask, QChar dateSeparator, QChar timeSeparator);

    int length() const { return static_cast<int>(m_layout.size()); }
    bool isCell(int pos) const;
    bool isSeparator(QChar c) const;
    static QChar blank() { return u' '; }
    QString blankText() const;

    /// First cell at or after pos; length() when there is none.
    int cellAtOrAfter(int pos) const;
    /// Last cell before pos; -1 when there is none.
    int cellBefore(int pos) const;
    /// First cell after the next separator right of pos; -1 when there is no separator.
    int cellAfterNextSeparator(int pos) const;

    /// Fits text into the template field by field at the separators: a short field gets
    /// blanks on its left, a long one loses its leftmost characters.
    QString fit(const QString& text) const;

    bool operator==(const EditMask&) const = default;

private:
    // One character per template position: a null character for a cell, else the separator.
    QString m_layout;
};

/// The separator characters that stand for "/" and ":" in masks and display formats. A
/// separator that could be mistaken for a cell's content falls back to the usual one.
QChar usableDateSeparator(QChar regional);
QChar usableTimeSeparator(QChar regional);

/// Reads a date from text laid out by a display format. Missing parts are completed from
/// today and out-of-range parts clamped when fill is set. A text that still holds no valid
/// date gives nullopt, or raises EConvertError ("Invalid argument to date encode") when
/// failOnInvalid is set.
std::optional<QDate> textToDate(const QString& displayFormat, const QString& text, bool fill,
                                bool failOnInvalid, QDate today);

/// Reads a time of day from text laid out by "HH:NN:SS"; fill makes missing parts 0 and clamps
/// parts above their range.
std::optional<QTime> textToTime(const QString& displayFormat, const QString& text, bool fill);

/// Writes a date or a time with a display format, the separators replaced by the regional
/// ones. The result is not yet fitted into a template.
QString dateToText(QDate date, const QString& displayFormat, QChar dateSeparator);
QString timeToText(QTime time, const QString& displayFormat, QChar timeSeparator);

/// The result of stepping the part under the caret: the new text, fitted into the template,
/// and the selection of the stepped part.
struct StepResult
{
    QString text;
    int selStart = 0;
    int selLength = 0;
};

/// Steps the part of the text under the caret (0-based) one up or down, without carrying into
/// the neighbouring parts. nullopt when the caret is not on a part that steps.
std::optional<StepResult> stepPart(const QString& text, const QString& displayFormat,
                                   const EditMask& mask, int caret, bool up);

/// Date values cross the field's interface as date-time numbers: days since 30 December 1899,
/// the time of day as the fraction.
double dateToNumber(QDate date);
/// The date of a date-time number, the time of day cut off toward zero; nullopt outside the
/// years 1 to 9999 or for a number that is not finite.
std::optional<QDate> numberToDate(double value);
/// The time of day of a date-time number.
std::optional<QTime> numberToTime(double value);
double timeToNumber(QTime time);

} // namespace dateedit
