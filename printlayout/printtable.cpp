#include "printlayout/printtable.h"

#include "platform/errors.h"

#include <limits>

namespace printlayout {

const std::array<TPrintRow, 25>& printTable()
{
    static const std::array<TPrintRow, 25> rows{{
        {u"PrintLabel23", u"Label13", 51, 128, u"Edit34", u"Edit35"},
        {u"PrintLabel14", u"Label14", 92, 128, u"Edit37", u"Edit36"},
        {u"PrintLabel2", u"Label19", 126, 128, u"Edit38", u"Edit39"},
        {u"PrintLabel4", u"Label15", 52, 148, u"Edit41", u"Edit40"},
        {u"PrintLabel3", u"Label16", 52, 181, u"Edit42", u"Edit43"},
        {u"PrintLabel25", u"Label17", 52, 201, u"Edit44", u"Edit45"},
        {u"PrintLabel1", u"Label8", 315, 11, u"Edit1", u"Edit2"},
        {u"PrintLabel21", u"Label9", 390, 11, u"Edit5", u"Edit4"},
        {u"PrintLabel16", u"Label10", 450, 11, u"Edit8", u"Edit9"},
        {u"PrintLabel24", u"Label11", 256, 30, u"Edit14", u"Edit15"},
        {u"PrintLabel5", u"Label12", 265, 60, u"Edit16", u"Edit17"},
        {u"PrintLabel15", u"Label18", 248, 96, u"Edit20", u"Edit21"},
        {u"PrintLabel8", u"Label2", 612, 11, u"Edit11", u"Edit10"},
        {u"PrintLabel9", u"Label5", 611, 30, u"Edit12", u"Edit13"},
        // The eleven grid cells share the offsets of the 金额小写 row.
        {u"PrintLabel6", u"Label21", 599, 69, u"Edit18", u"Edit19"},
        {u"PrintLabel7", u"Label22", 613, 69, u"Edit18", u"Edit19"},
        {u"PrintLabel10", u"Label23", 628, 69, u"Edit18", u"Edit19"},
        {u"PrintLabel11", u"Label24", 643, 69, u"Edit18", u"Edit19"},
        {u"PrintLabel12", u"Label25", 657, 69, u"Edit18", u"Edit19"},
        {u"PrintLabel13", u"Label26", 672, 69, u"Edit18", u"Edit19"},
        {u"PrintLabel17", u"Label27", 687, 69, u"Edit18", u"Edit19"},
        {u"PrintLabel18", u"Label28", 701, 69, u"Edit18", u"Edit19"},
        {u"PrintLabel19", u"Label29", 716, 69, u"Edit18", u"Edit19"},
        {u"PrintLabel20", u"Label30", 731, 69, u"Edit18", u"Edit19"},
        {u"PrintLabel22", u"Label31", 746, 69, u"Edit18", u"Edit19"},
    }};
    return rows;
}

const std::array<const char16_t*, 25>& captionOrder()
{
    static const std::array<const char16_t*, 25> order{
        u"PrintLabel23", u"PrintLabel14", u"PrintLabel2",  u"PrintLabel4",  u"PrintLabel3",
        u"PrintLabel5",  u"PrintLabel1",  u"PrintLabel21", u"PrintLabel16", u"PrintLabel24",
        u"PrintLabel25", u"PrintLabel15", u"PrintLabel8",  u"PrintLabel9",  u"PrintLabel6",
        u"PrintLabel7",  u"PrintLabel10", u"PrintLabel11", u"PrintLabel12", u"PrintLabel13",
        u"PrintLabel17", u"PrintLabel18", u"PrintLabel19", u"PrintLabel20", u"PrintLabel22",
    };
    return order;
}

int readOffset(const QString& text)
{
    // Offsets far beyond the page are still numbers, but four of them plus a base position
    // must stay a whole report pixel.
    constexpr qint64 limit = (std::numeric_limits<int>::max() - 1000) / kPixelsPerOffset;
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    const qsizetype firstDigit = i;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9' || value > limit)
            break;
        value = value * 10 + (c - u'0');
    }
    if (i == firstDigit || i != text.size() || value > limit) {
        throw platform::EConvertError(
            platform::formatMessage(QStringLiteral("'%s' is not a valid integer value"), {text}));
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace printlayout
