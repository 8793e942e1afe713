#include "app/amounttext.h"

#include "platform/errors.h"

namespace app {

namespace {

constexpr int kMaxExponent = 4932; // beyond the range of the extended type the number overflows

[[noreturn]] void invalid(const QString& text)
{
    throw platform::EConvertError(platform::formatMessage(
        QStringLiteral("'%s' is not a valid floating point value"), {text}));
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

QString formatAmount(const QString& text)
{
    qsizetype i = 0;
    qsizetype end = text.size();
    while (i < end && isBlank(text[i]))
        ++i;
    while (end > i && isBlank(text[end - 1]))
        --end;

    bool negative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // The number is digits × 10^-scale.
    QString digits;
    qsizetype scale = 0;
    bool sawPoint = false;
    bool sawMantissa = false;
    for (; i < end; ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            digits += c;
            if (sawPoint)
                ++scale;
            sawMantissa = true;
        } else if (c == u'.' && !sawPoint) {
            sawPoint = true;
            sawMantissa = true;
        } else {
            break;
        }
    }
    if (!sawMantissa)
        invalid(text);
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool expNegative = false;
        if (i < end && (text[i] == u'+' || text[i] == u'-')) {
            expNegative = text[i] == u'-';
            ++i;
        }
        if (i == end)
            invalid(text);
        qint64 exponent = 0;
        for (; i < end; ++i) {
            if (text[i] < u'0' || text[i] > u'9')
                invalid(text);
            exponent = exponent * 10 + (text[i].unicode() - u'0');
            if (exponent > kMaxExponent)
                invalid(text);
        }
        scale += expNegative ? exponent : -exponent;
    }
    if (i != end)
        invalid(text);

    // Bring the number to whole hundredths, rounding half away from zero.
    QString cents = digits;
    if (scale <= 2) {
        cents += QString(2 - scale, u'0');
    } else {
        const qsizetype cut = scale - 2;
        const bool roundUp = cut <= cents.size() && cents[cents.size() - cut] >= u'5';
        cents.chop(std::min(cut, cents.size()));
        if (roundUp) {
            qsizetype k = cents.size() - 1;
            for (; k >= 0 && cents[k] == u'9'; --k)
                cents[k] = u'0';
            if (k >= 0)
                cents[k] = QChar(cents[k].unicode() + 1);
            else
                cents.prepend(u'1');
        }
    }
    qsizetype lead = 0;
    while (lead < cents.size() && cents[lead] == u'0')
        ++lead;
    cents = cents.mid(lead);
    const bool zero = cents.isEmpty();
    if (cents.size() < 3)
        cents = QString(3 - cents.size(), u'0') + cents;
    cents.insert(cents.size() - 2, u'.');
    return negative && !zero ? u'-' + cents : cents;
}

} // namespace app
