#include "report/reporttypes.h"

#include <array>

namespace report {

namespace {

// Portrait millimetres of ordinals 1 to 68, in ordinal order.
constexpr std::array<TReportPaperDimensions, 68> paperTable{{
    {215.9L, 279.4L},  // Letter
    {215.9L, 279.4L},  // LetterSmall
    {279.4L, 431.8L},  // Tabloid
    {431.8L, 279.4L},  // Ledger
    {215.9L, 355.6L},  // Legal
    {139.7L, 215.9L},  // Statement
    {190.5L, 254.0L},  // Executive
    {297.0L, 420.0L},  // A3
    {210.0L, 297.0L},  // A4
    {210.0L, 297.0L},  // A4Small
    {148.0L, 210.0L},  // A5
    {250.0L, 354.0L},  // B4
    {182.0L, 257.0L},  // B5
    {215.9L, 330.2L},  // Folio
    {215.0L, 275.0L},  // Quarto
    {254.0L, 355.6L},  // ps10X14
    {279.4L, 431.8L},  // ps11X17
    {215.9L, 279.4L},  // Note
    {98.43L, 225.4L},  // Env9
    {104.8L, 241.3L},  // Env10
    {114.3L, 263.5L},  // Env11
    {120.7L, 279.4L},  // Env12
    {127.0L, 292.1L},  // Env14
    {431.8L, 558.8L},  // CSheet
    {558.8L, 863.6L},  // DSheet
    {863.6L, 1117.6L}, // ESheet
    {110.0L, 220.0L},  // EnvDL
    {162.0L, 229.0L},  // EnvC5
    {324.0L, 458.0L},  // EnvC3
    {229.0L, 324.0L},  // EnvC4
    {114.0L, 162.0L},  // EnvC6
    {114.0L, 229.0L},  // EnvC65
    {250.0L, 353.0L},  // EnvB4
    {176.0L, 250.0L},  // EnvB5
    {176.0L, 125.0L},  // EnvB6
    {110.0L, 230.0L},  // EnvItaly
    {98.43L, 190.5L},  // EnvMonarch
    {92.01L, 165.1L},  // EnvPersonal
    {377.8L, 279.4L},  // FanfoldUSStd
    {215.9L, 304.8L},  // FanfoldGerStd
    {215.9L, 330.2L},  // FanfoldGerLegal
    {250.0L, 353.0L},  // B4ISO
    {100.0L, 148.0L},  // PostcardJap
    {228.6L, 279.4L},  // ps9X11
    {254.0L, 279.4L},  // ps10X11
    {381.0L, 279.4L},  // ps15X11
    {220.0L, 220.0L},  // EnvInvite
    {100.0L, 100.0L},  // Reserved1
    {100.0L, 100.0L},  // Reserved2
    {241.3L, 304.8L},  // LetterExtra
    {241.3L, 381.0L},  // LegalExtra
    {296.9L, 457.2L},  // TabloidExtra
    {236.0L, 322.0L},  // A4Extra
    {279.4L, 215.9L},  // LetterTrans
    {297.0L, 210.0L},  // A4Trans
    {304.8L, 241.3L},  // LetterExtraTrans
    {227.0L, 356.0L},  // SuperASuperAA4
    {305.0L, 487.0L},  // SuperBSuperBA3
    {215.9L, 322.3L},  // LetterPlus
    {210.0L, 330.0L},  // A4Plus
    {210.0L, 148.0L},  // A5Trans
    {257.0L, 182.0L},  // B5Trans
    {322.0L, 445.0L},  // A3Extra
    {174.0L, 235.0L},  // A5Extra
    {201.0L, 276.0L},  // B5Extra
    {420.0L, 594.0L},  // A2
    {420.0L, 297.0L},  // A3Trans
    {445.0L, 322.0L},  // A3ExtraTrans
}};

constexpr std::array<const char16_t*, paperSizeCount> paperNames{{
    u"Default",
    u"Letter",
    u"LetterSmall",
    u"Tabloid",
    u"Ledger",
    u"Legal",
    u"Statement",
    u"Executive",
    u"A3",
    u"A4",
    u"A4Small",
    u"A5",
    u"B4",
    u"B5",
    u"Folio",
    u"Quarto",
    u"ps10X14",
    u"ps11X17",
    u"Note",
    u"Env9",
    u"Env10",
    u"Env11",
    u"Env12",
    u"Env14",
    u"CSheet",
    u"DSheet",
    u"ESheet",
    u"EnvDL",
    u"EnvC5",
    u"EnvC3",
    u"EnvC4",
    u"EnvC6",
    u"EnvC65",
    u"EnvB4",
    u"EnvB5",
    u"EnvB6",
    u"EnvItaly",
    u"EnvMonarch",
    u"EnvPersonal",
    u"FanfoldUSStd",
    u"FanfoldGerStd",
    u"FanfoldGerLegal",
    u"B4ISO",
    u"PostcardJap",
    u"ps9X11",
    u"ps10X11",
    u"ps15X11",
    u"EnvInvite",
    u"Reserved1",
    u"Reserved2",
    u"LetterExtra",
    u"LegalExtra",
    u"TabloidExtra",
    u"A4Extra",
    u"LetterTrans",
    u"A4Trans",
    u"LetterExtraTrans",
    u"SuperASuperAA4",
    u"SuperBSuperBA3",
    u"LetterPlus",
    u"A4Plus",
    u"A5Trans",
    u"B5Trans",
    u"A3Extra",
    u"A5Extra",
    u"B5Extra",
    u"A2",
    u"A3Trans",
    u"A3ExtraTrans",
    u"Custom",
}};
struct BinEntry
{
    const char16_t* name;
    int code;
};

constexpr std::array<BinEntry, 14> bins{{
    {u"First", 1},
    {u"Upper", 1},
    {u"Lower", 2},
    {u"Middle", 3},
    {u"Manual", 4},
    {u"Envelope", 5},
    {u"EnvManual", 6},
    {u"Auto", 7},
    {u"Tractor", 8},
    {u"SmallFormat", 9},
    {u"LargeFormat", 10},
    {u"LargeCapacity", 11},
    {u"Cassette", 14},
    {u"Last", 14},
}};

constexpr std::array<const char16_t*, 11> bandTypeNames{{
    u"rbTitle",
    u"rbPageHeader",
    u"rbDetail",
    u"rbPageFooter",
    u"rbSummary",
    u"rbGroupHeader",
    u"rbGroupFooter",
    u"rbSubDetail",
    u"rbColumnHeader",
    u"rbOverlay",
    u"rbChild",
}};

template <typename Enum, typename Names>
std::optional<Enum> lookUp(const Names& names, QStringView name)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (name == QStringView(names[i]))
            return static_cast<Enum>(i);
    }
    return std::nullopt;
}

} // namespace

std::optional<TReportPaperDimensions> paperDimensions(TReportPaperSize size)
{
    const int ordinal = static_cast<int>(size);
    if (ordinal < 1 || ordinal > static_cast<int>(paperTable.size()))
        return std::nullopt;
    return paperTable[static_cast<std::size_t>(ordinal - 1)];
}

int paperCode(TReportPaperSize size)
{
    return size == TReportPaperSize::Custom ? 256 : static_cast<int>(size);
}

int binCode(TReportBin bin)
{
    return bins.at(static_cast<std::size_t>(bin)).code;
}

QStringView paperSizeName(TReportPaperSize size)
{
    return QStringView(paperNames.at(static_cast<std::size_t>(size)));
}

std::optional<TReportPaperSize> paperSizeFromName(QStringView name)
{
    return lookUp<TReportPaperSize>(paperNames, name);
}

QStringView binName(TReportBin bin)
{
    return QStringView(bins.at(static_cast<std::size_t>(bin)).name);
}

std::optional<TReportBin> binFromName(QStringView name)
{
    for (std::size_t i = 0; i < bins.size(); ++i) {
        if (name == QStringView(bins[i].name))
            return static_cast<TReportBin>(i);
    }
    return std::nullopt;
}

QStringView bandTypeName(TReportBandType type)
{
    return QStringView(bandTypeNames.at(static_cast<std::size_t>(type)));
}

std::optional<TReportBandType> bandTypeFromName(QStringView name)
{
    return lookUp<TReportBandType>(bandTypeNames, name);
}

TReportFont TReportFont::fromPoints(const QString& name, int points)
{
    TReportFont font = fromPixels(name, 0);
    font.setSize(points);
    return font;
}

TReportFont TReportFont::fromPixels(const QString& name, int pixels)
{
    TReportFont font;
    font.name = name;
    font.height = pixels;
    return font;
}

platform::CanvasFont TReportFont::canvasFont(int devicePixelsPerInch) const
{
    platform::CanvasFont font;
    font.face = name;
    font.pixelHeight = devicePixelsPerInch == reportPixelsPerInch || devicePixelsPerInch <= 0
                           ? height
                           : mulDiv(size(), devicePixelsPerInch, 72);
    font.weight = bold ? 700 : 400;
    font.italic = italic;
    font.underline = underline;
    font.strikeOut = strikeOut;
    return font;
}

} // namespace report
