#include "wording/capitals.h"

#include <array>

namespace wording {

namespace {

constexpr std::array<char16_t, 10> kDigits = {u'零', u'壹', u'贰', u'叁', u'肆',
                                              u'伍', u'陆', u'柒', u'捌', u'玖'};

// Indexed by position in the fen string (1 is 分); index 0 is unused.
constexpr std::array<const char16_t*, kMaxFenDigits + 1> kUnits = {
    u"",   u"分",     u"角", u"",   u"拾",   u"佰",     u"仟", u"万", u"拾",   u"佰", u"仟",
    u"亿", u"拾",     u"佰", u"仟", u"万亿", u"拾",     u"佰", u"仟", u"亿亿", u"拾", u"佰",
    u"仟", u"万亿亿", u"拾", u"佰", u"仟",   u"亿亿亿", u"拾", u"佰", u"仟"};

constexpr char16_t kYuan = u'元';
constexpr char16_t kZero = u'零';
constexpr char16_t kWhole = u'整';

constexpr bool isGroupPosition(int position)
{
    return position > 4 && (position + 1) % 4 == 0;
}

constexpr bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

QString wordingOf(QByteArrayView fen)
{
    const auto n = static_cast<int>(fen.size());
    QString out;
    out.reserve(2 * n + 2);
    bool pendingZero = false;
    bool groupOpen = true;
    for (int i = 0; i < n; ++i) {
        const int position = n - i;
        const int digit = fen[i] - '0';
        if (digit != 0) {
            if (pendingZero)
                out += kZero;
            out += kDigits[static_cast<std::size_t>(digit)];
            out += QStringView(kUnits[static_cast<std::size_t>(position)]);
            pendingZero = false;
            groupOpen = !isGroupPosition(position);
        } else {
            pendingZero = true;
            // A group's word stands even when its lowest digit is zero, unless the whole group
            // is zero: 亿 followed by an empty 万 group gives 亿…元, not 亿万…元.
            if (isGroupPosition(position) && groupOpen) {
                out += QStringView(kUnits[static_cast<std::size_t>(position)]);
                pendingZero = false;
                groupOpen = false;
            }
        }
        if (position == 3) {
            out += kYuan;
            pendingZero = false;
        }
    }
    if (n >= 2 && fen.endsWith("00"))
        out += kWhole;
    return out;
}

} // namespace

QString CapitalDigit(int digit)
{
    if (digit < 0 || digit > 9)
        return {};
    return QString(QChar(kDigits[static_cast<std::size_t>(digit)]));
}

QString CapitalUnit(int position)
{
    if (position < 1 || position > kMaxFenDigits)
        return {};
    return QString::fromUtf16(kUnits[static_cast<std::size_t>(position)]);
}

QByteArray FenString(QByteArrayView amountText)
{
    const auto point = amountText.indexOf('.');
    if (amountText.isEmpty() || (point >= 0 && amountText.indexOf('.', point + 1) >= 0))
        return QByteArrayLiteral("0");

    const QByteArrayView yuan = point >= 0 ? amountText.first(point) : amountText;
    const QByteArrayView decimals = point >= 0 ? amountText.sliced(point + 1) : QByteArrayView();

    QByteArray fen;
    fen.reserve(yuan.size() + 2);
    for (const char c : yuan) {
        if (isAsciiDigit(c) && !(fen.isEmpty() && c == '0'))
            fen += c;
    }
    int taken = 0;
    for (const char c : decimals) {
        if (taken == 2)
            break;
        if (isAsciiDigit(c)) {
            fen += c;
            ++taken;
        }
    }
    for (; taken < 2; ++taken)
        fen += '0';

    // Only the jiao and fen digits can still lead with zeros, when there were no yuan.
    qsizetype leading = 0;
    while (leading < fen.size() - 1 && fen[leading] == '0')
        ++leading;
    fen.remove(0, leading);
    return fen;
}

AmountCapitals AmountInCapitals(QByteArrayView gbkAmountText)
{
    AmountCapitals result;
    for (const char c : gbkAmountText) {
        if (!isAsciiDigit(c) && c != '.') {
            result.offendingByte = static_cast<unsigned char>(c);
            return result;
        }
    }
    const QByteArray fen = FenString(gbkAmountText);
    if (fen.size() > kMaxFenDigits) {
        result.tooLarge = true;
        return result;
    }
    result.text = wordingOf(fen);
    return result;
}

QString YearInCapitals(QStringView yearText)
{
    QString out;
    out.reserve(yearText.size());
    for (const QChar c : yearText) {
        const char16_t u = c.unicode();
        out += (u >= u'0' && u <= u'9') ? QChar(kDigits[static_cast<std::size_t>(u - u'0')]) : c;
    }
    return out;
}

namespace {

struct TableRow
{
    const char16_t* figures;
    const char16_t* capitals;
};

template <std::size_t N>
std::optional<QString> lookUp(const std::array<TableRow, N>& table, QStringView text)
{
    for (const TableRow& row : table) {
        if (text == QStringView(row.figures))
            return QString::fromUtf16(row.capitals);
    }
    return std::nullopt;
}

// 零 before 壹拾 (month 10) and before 壹拾, 贰拾, 叁拾 (days 10, 20, 30) follows the People's
// Bank of China rule for cheque dates, 《支付结算办法》附一《正确填写票据和结算凭证的基本规定》
// rule 六: without it a digit could be written in front, and the bank may refuse the cheque.
constexpr std::array<TableRow, 12> kMonths = {{
    {u"1", u"零壹"},
    {u"2", u"零贰"},
    {u"3", u"零叁"},
    {u"4", u"零肆"},
    {u"5", u"零伍"},
    {u"6", u"零陆"},
    {u"7", u"零柒"},
    {u"8", u"零捌"},
    {u"9", u"零玖"},
    {u"10", u"零壹拾"},
    {u"11", u"壹拾壹"},
    {u"12", u"壹拾贰"},
}};

constexpr std::array<TableRow, 31> kDays = {{
    {u"1", u"零壹"},    {u"2", u"零贰"},    {u"3", u"零叁"},    {u"4", u"零肆"},
    {u"5", u"零伍"},    {u"6", u"零陆"},    {u"7", u"零柒"},    {u"8", u"零捌"},
    {u"9", u"零玖"},    {u"10", u"零壹拾"}, {u"11", u"壹拾壹"}, {u"12", u"壹拾贰"},
    {u"13", u"壹拾叁"}, {u"14", u"壹拾肆"}, {u"15", u"壹拾伍"}, {u"16", u"壹拾陆"},
    {u"17", u"壹拾柒"}, {u"18", u"壹拾捌"}, {u"19", u"壹拾玖"}, {u"20", u"零贰拾"},
    {u"21", u"贰拾壹"}, {u"22", u"贰拾贰"}, {u"23", u"贰拾叁"}, {u"24", u"贰拾肆"},
    {u"25", u"贰拾伍"}, {u"26", u"贰拾陆"}, {u"27", u"贰拾柒"}, {u"28", u"贰拾捌"},
    {u"29", u"贰拾玖"}, {u"30", u"零叁拾"}, {u"31", u"叁拾壹"},
}};

} // namespace

std::optional<QString> MonthInCapitals(QStringView monthText)
{
    return lookUp(kMonths, monthText);
}

std::optional<QString> DayInCapitals(QStringView dayText)
{
    return lookUp(kDays, dayText);
}

} // namespace wording
