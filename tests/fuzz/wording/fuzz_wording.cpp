// Any bytes as an amount text: a result or a rejection, never a crash. For texts of digits and
// points the wording is read back into fen and compared with the amount the text denotes, and
// texts that denote the same amount must give the same wording.

#include "wording/capitals.h"
#include "wording/digitgrid.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what, QByteArrayView input)
{
    std::fprintf(stderr, "fuzz_wording: %s for input of %lld bytes: %.*s\n", what,
                 static_cast<long long>(input.size()),
                 static_cast<int>(qMin<qsizetype>(input.size(), 200)), input.data());
    std::abort();
}

#define CHECK(condition, input)                                                                    \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fail(#condition, input);                                                               \
    } while (false)

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The amount in fen, worked out here without the library: digits without leading zeros.
QByteArray expectedFen(QByteArrayView text)
{
    const auto points = text.count('.');
    if (text.isEmpty() || points >= 2)
        return "0";
    const auto point = text.indexOf('.');
    QByteArray digits = (point < 0 ? text : text.first(point)).toByteArray();
    const QByteArrayView decimals = point < 0 ? QByteArrayView() : text.sliced(point + 1);
    digits += decimals.first(qMin<qsizetype>(2, decimals.size())).toByteArray();
    digits += QByteArray(2 - qMin<qsizetype>(2, decimals.size()), '0');
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove(0, 1);
    return digits;
}

int capitalDigitValue(char16_t c)
{
    static constexpr char16_t kDigits[] = u"零壹贰叁肆伍陆柒捌玖";
    for (int i = 0; i < 10; ++i) {
        if (kDigits[i] == c)
            return i;
    }
    return -1;
}

struct ReadBack
{
    QByteArray fen;
    bool zerosWhereDue = true;
};

// Reads a wording back into a fen string; nullopt when it is not well formed. Also checks each
// 零 on its own terms: a nonzero digit at position p has one before it exactly when the digit at
// p + 1 is a zero that neither 元 (position 3) nor a group word written for that zero absorbed.
std::optional<ReadBack> readBack(const QString& text)
{
    struct Digit
    {
        int digit;
        bool zeroBefore;
    };
    std::map<int, Digit> fenDigits;  // position - 1 → digit
    std::set<int> groupWordsForZero; // position - 1 of group words written for a zero digit
    std::vector<std::pair<int, Digit>> group; // power within the group → digit
    std::optional<Digit> pending;
    bool zeroSeen = false;
    bool seenYuan = false;
    auto place = [&](int power, Digit digit) { return fenDigits.emplace(power, digit).second; };
    auto closeGroup = [&](int power) {
        if (pending)
            group.emplace_back(0, *pending);
        else
            groupWordsForZero.insert(power + 2);
        pending.reset();
        for (const auto& [inGroup, digit] : group) {
            if (!place(power + inGroup + 2, digit))
                return false;
        }
        group.clear();
        return true;
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const int digit = capitalDigitValue(c);
        if (c == u'零') {
            if (i == 0 || i + 1 >= text.size() || capitalDigitValue(text[i + 1].unicode()) <= 0)
                return std::nullopt;
            zeroSeen = true;
        } else if (digit > 0) {
            if (pending)
                return std::nullopt;
            pending = Digit{digit, zeroSeen};
            zeroSeen = false;
        } else if (c == u'拾' || c == u'佰' || c == u'仟') {
            if (!pending)
                return std::nullopt;
            group.emplace_back(c == u'拾' ? 1 : c == u'佰' ? 2 : 3, *pending);
            pending.reset();
        } else if (c == u'万' || c == u'亿') {
            int power = 0;
            for (; i < text.size() && (text[i] == u'万' || text[i] == u'亿'); ++i)
                power += text[i] == u'万' ? 4 : 8;
            --i;
            if (!closeGroup(power))
                return std::nullopt;
        } else if (c == u'元') {
            if (seenYuan || !closeGroup(0))
                return std::nullopt;
            seenYuan = true;
        } else if (c == u'角' || c == u'分') {
            if (!pending || !group.empty() || !place(c == u'角' ? 1 : 0, *pending))
                return std::nullopt;
            pending.reset();
        } else if (c == u'整') {
            if (i + 1 != text.size())
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (pending || !group.empty())
        return std::nullopt;
    ReadBack result;
    if (fenDigits.empty()) {
        result.fen = "0";
        return result;
    }
    const int n = fenDigits.rbegin()->first + 1;
    result.fen = QByteArray(n, '0');
    for (const auto& [power, digit] : fenDigits)
        result.fen[n - 1 - power] = static_cast<char>('0' + digit.digit);
    for (const auto& [power, digit] : fenDigits) {
        const int above = power + 1; // position - 1 of the digit above
        const bool due = above < n && result.fen[n - 1 - above] == '0' && above != 2 &&
                         !groupWordsForZero.contains(above);
        if (digit.zeroBefore != due)
            result.zerosWhereDue = false;
    }
    return result;
}

void checkAmount(QByteArrayView input)
{
    const wording::AmountCapitals result = wording::AmountInCapitals(input);

    int offending = -1;
    for (const char c : input) {
        if (!isDigit(c) && c != '.') {
            offending = static_cast<unsigned char>(c);
            break;
        }
    }
    CHECK(result.offendingByte == offending, input);
    if (offending >= 0) {
        CHECK(result.text.isEmpty() && !result.tooLarge, input);
        return;
    }

    const QByteArray fen = expectedFen(input);
    CHECK(wording::FenString(input) == fen, input);
    CHECK(result.tooLarge == (fen.size() > wording::kMaxFenDigits), input);
    if (result.tooLarge) {
        CHECK(result.text.isEmpty(), input);
    } else {
        static const QString kAllowed = QStringLiteral("零壹贰叁肆伍陆柒捌玖拾佰仟万亿元角分整");
        for (const QChar c : result.text)
            CHECK(kAllowed.contains(c), input);
        const std::optional<ReadBack> back = readBack(result.text);
        CHECK(back.has_value(), input);
        CHECK(back->fen == fen, input);
        CHECK(back->zerosWhereDue, input);
        CHECK(result.text.contains(u'元') == (fen.size() >= 3), input);
        CHECK(result.text.endsWith(u'整') == (fen.size() >= 3 && fen.endsWith("00")), input);
    }

    // Other spellings of the same number of fen.
    std::vector<QByteArray> same = {"0" + input.toByteArray()};
    const auto points = input.count('.');
    if (points == 0) {
        same.push_back(input.toByteArray() + ".00");
        same.push_back(input.toByteArray() + ".009");
    } else if (points == 1) {
        const auto decimals = input.size() - 1 - input.indexOf('.');
        same.push_back(input.toByteArray() + (decimals >= 2 ? "5" : "0"));
    } else {
        same.push_back(QByteArray());
        same.push_back("0.00");
    }
    for (const QByteArray& text : same) {
        const wording::AmountCapitals other = wording::AmountInCapitals(text);
        CHECK(other.text == result.text && other.tooLarge == result.tooLarge, text);
    }
}

void checkGridAndDate(QByteArrayView input)
{
    const QString text = QString::fromUtf8(input);
    for (const QString& cell : wording::AmountDigitGrid(QStringLiteral("￥") + text)) {
        CHECK(cell.size() <= 2, input);
        CHECK(cell.size() < 2 || (cell[0].isHighSurrogate() && cell[1].isLowSurrogate()), input);
    }
    for (const QString& cell : wording::AmountDigitGrid(text))
        CHECK(cell.size() <= 2, input);
    CHECK(wording::YearInCapitals(text).size() == text.size(), input);
    (void)wording::MonthInCapitals(text);
    (void)wording::DayInCapitals(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkAmount(input);
    checkGridAndDate(input);

    // Most random bytes are rejected at once; the same input read as digits and points reaches
    // the wording on every run.
    QByteArray amount(input.size(), '0');
    for (qsizetype i = 0; i < input.size(); ++i)
        amount[i] = "0123456789."[static_cast<unsigned char>(input[i]) % 11];
    checkAmount(amount);
    return 0;
}
