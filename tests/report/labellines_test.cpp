#include "report/label.h"
#include "report/report.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace report;

namespace {

// "宋体" 9 pt: 12 pixels high, 6 pixels per digit and Latin letter, 12 per Chinese character.
TReportFont songti9()
{
    return TReportFont::fromPoints(QStringLiteral("宋体"), 9);
}

struct Fixture
{
    TReport report;
    TReportBand band{&report};
    TReportLabel label{&band};

    Fixture()
    {
        label.setFont(songti9());
        label.setBounds(92, 10, 13, 17);
    }
};

} // namespace

TEST(LabelMeasure, ReferenceContextAddsOnePixelAndFollowsZoom)
{
    Fixture f;
    struct Case
    {
        const char* text;
        int zoom;
        int width;
    };
    for (const Case c : {Case{"12", 100, 13}, Case{"1", 100, 7}, Case{"", 100, 1},
                         Case{"壹", 100, 13}, Case{"12", 150, 20}, Case{"12", 50, 7}}) {
        f.report.setZoom(c.zoom);
        EXPECT_EQ(f.label.MeasureText(QString::fromUtf8(c.text)), c.width)
            << c.text << " at " << c.zoom;
    }
}

TEST(LabelMeasure, FontsConvertByDeviceResolution)
{
    // On the report's own 96 pixels per inch the stored height is kept; elsewhere the points.
    struct Case
    {
        int points;
        int dpi;
        int pixels;
    };
    for (const Case c : {Case{9, 96, 12}, Case{10, 96, 13}, Case{11, 96, 15}, Case{9, 600, 75},
                         Case{10, 600, 83}, Case{11, 1200, 183}}) {
        const TReportFont font = TReportFont::fromPoints(QStringLiteral("宋体"), c.points);
        EXPECT_EQ(font.canvasFont(c.dpi).pixelHeight, c.pixels) << c.points << " pt " << c.dpi;
    }
    TReportFont bold = TReportFont::fromPixels(QStringLiteral("宋体"), 13);
    bold.bold = true;
    EXPECT_EQ(bold.canvasFont(96).weight, 700);
    EXPECT_EQ(bold.canvasFont(96).face, u"宋体");
}

TEST(LabelLines, CentredAutoSizedLabelMovesByHalfTheChangeTruncated)
{
    Fixture f;
    f.label.setAlignment(taCenter);
    struct Step
    {
        int setLeft;
        const char* caption;
        int left;
        int width;
    };
    // Left 92 after a previous width of 13: a two-digit caption stays, a one-digit one moves
    // to 95; growing again moves left by (7 - 13) / 2 = -3.
    for (const Step s : {Step{92, "12", 92, 13}, Step{92, "5", 95, 7}, Step{92, "12", 89, 13},
                         Step{92, "", 98, 1}}) {
        f.label.setLeft(s.setLeft);
        f.label.setCaption(QString::fromUtf8(s.caption));
        EXPECT_EQ(f.label.left(), s.left) << s.caption;
        EXPECT_EQ(f.label.width(), s.width) << s.caption;
    }
}

TEST(LabelLines, RightAlignedAndMirroredLabelsKeepTheirRightEdge)
{
    struct Case
    {
        TReportAlignment alignment;
        TReportBiDiMode biDi;
        int left;
    };
    for (const Case c : {Case{taRightJustify, bdLeftToRight, 92 + 40 - 13},
                         Case{taLeftJustify, bdRightToLeft, 92 + 40 - 13},
                         Case{taLeftJustify, bdLeftToRight, 92},
                         Case{taRightJustify, bdRightToLeft, 92}}) {
        Fixture f;
        f.label.setAlignment(c.alignment);
        f.label.setBiDiMode(c.biDi);
        f.label.setBounds(92, 10, 40, 17);
        f.label.setCaption(QStringLiteral("12"));
        EXPECT_EQ(f.label.left(), c.left) << c.alignment << " " << c.biDi;
        EXPECT_EQ(f.label.width(), 13);
    }
}

TEST(LabelLines, FormattingTable)
{
    struct Case
    {
        const char* name;
        bool autoSize;
        bool wordWrap;
        int width; // report pixels; -1: just wide enough for "ab "
        const char* caption;
        std::vector<const char*> lines;
    };
    const Case cases[] = {
        {"line feeds go, CR-LF is one break", true, true, 50, "ab\r\ncd\n", {"ab", "cd"}},
        {"only line breaks", true, true, 50, "\r\n\r\n", {"", "", ""}},
        {"auto-size keeps a paragraph whole", true, true, 5, "ab cd ef", {"ab cd ef"}},
        {"two words wrap", false, true, -1, "ab cd", {"ab ", "cd"}},
        {"hyphen separates and stays", false, true, -1, "ab-cd", {"ab-", "cd"}},
        // The cut word leaves the current line empty, and the paragraph still ends it.
        {"over-wide word is cut", false, true, 19, "abcdefgh", {"ab", ""}},
        {"width 0 prints nothing of a word", false, true, 0, "abc", {"", "", ""}},
        {"empty caption is one empty line", false, true, 20, "", {""}},
        {"over-wide word after a line is cut to fit", false, true, -1, "ab cdefgh",
         {"ab ", "cde", ""}},
        {"no wrap drops the overflowing word", false, false, -1, "ab cd", {"ab "}},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.label.setAutoSize(c.autoSize);
        f.label.setWordWrap(c.wordWrap);
        const int width = c.width < 0 ? f.label.MeasureText(QStringLiteral("ab ")) : c.width;
        f.label.setBounds(10, 10, width, 17);
        f.label.setCaption(QString::fromUtf8(c.caption));
        QStringList expected;
        for (const char* line : c.lines)
            expected.append(QString::fromUtf8(line));
        EXPECT_EQ(f.label.lines(), expected) << c.name;
        EXPECT_TRUE(f.label.linesBuilt()) << c.name;
    }
}

TEST(LabelLines, OverWideWordKeepsTheLongestPrefixNarrowerThanTheLabel)
{
    Fixture f;
    f.label.setAutoSize(false);
    // "ab" measures 13, "abc" 19: a label 19 wide keeps "ab" (narrower), 20 keeps "abc".
    for (const auto& [width, kept] : {std::pair{19, "ab"}, std::pair{20, "abc"}}) {
        f.label.setBounds(10, 10, width, 17);
        f.label.setCaption(QStringLiteral("abcdefgh"));
        EXPECT_EQ(f.label.lines(), (QStringList{QString::fromUtf8(kept), QString()})) << width;
    }
}

TEST(LabelLines, MinimumHeightIsOneCellAndAPixel)
{
    Fixture f;
    f.label.setBounds(10, 10, 20, 5);
    f.label.setCaption(QStringLiteral("1"));
    EXPECT_EQ(f.label.height(), 13); // a 12-pixel cell + 1
    f.label.setBounds(10, 10, 20, 17);
    f.label.setCaption(QStringLiteral("1"));
    EXPECT_EQ(f.label.height(), 17);
}

TEST(LabelLines, HugeCaptionsFormatInBoundedTime)
{
    const QString word(100000, QChar(u'x'));
    QString words;
    for (int i = 0; i < 20000; ++i)
        words += QStringLiteral("abcd ");
    struct Case
    {
        const char* name;
        bool autoSize;
        QString caption;
        qsizetype lines;
    };
    const Case cases[] = {
        {"one long word, narrow label", false, word, 2},
        {"a long word after a short one", false, QStringLiteral("a ") + word, 3},
        {"many words", false, words, 20000},
        {"auto-sized long line", true, word, 1},
        {"only line breaks", true, QString(100000, QChar(13)), 100001},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.label.setAutoSize(c.autoSize);
        f.label.setBounds(10, 10, 40, 17);
        QElapsedTimer timer;
        timer.start();
        f.label.setCaption(c.caption);
        EXPECT_EQ(f.label.lines().size(), c.lines) << c.name;
        // Generous: a quadratic cut of the long word would take minutes.
        EXPECT_LT(timer.elapsed(), 5000) << c.name;
    }
}

TEST(LabelLines, LoadingKeepsTheStoredWidthUntilTheCaptionIsSet)
{
    TReport report;
    TReportBand band(&report);
    auto* label = new TReportLabel;
    label->beginLoading();
    label->setParentControl(&band);
    label->setAlignment(taCenter);
    label->setBounds(51, 128, 25, 17);
    label->size().setValues({44.97916666666667L, 134.9375L, 338.6666666666667L,
                             66.14583333333333L});
    label->setFont(TReportFont::fromPixels(QStringLiteral("宋体"), 20));
    label->setCaption(QString());
    label->setFontSize(9);
    label->finishLoading();
    EXPECT_EQ(label->font().height, 12);
    EXPECT_EQ(label->boundsRect(), QRect(51, 128, 25, 17));
    label->setCaption(QStringLiteral("2024"));
    EXPECT_EQ(label->width(), 25);
    EXPECT_EQ(label->left(), 51);
}
