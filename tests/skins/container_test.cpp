#include "platform/errors.h"
#include "platform/gbk.h"
#include "skins/bmp.h"
#include "skins/container.h"
#include "skins/lzhuf.h"
#include "skins/skindescription.h"
#include "tests/support/testsupport.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray vector(const char* name)
{
    return testsupport::readFile(QStringLiteral(QUILLMARK_TESTDATA "/lzhuf/") +
                                 QString::fromLatin1(name));
}

QByteArray withInt32(QByteArray bytes, qsizetype at, qint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

TEST(SkinContainer, ReadsTheReferenceContainer)
{
    const skins::SkinContainer c = skins::readSkinFile(vector("container.lzh"));
    ASSERT_EQ(c.entries().size(), 3);
    EXPECT_EQ(c.entries()[0].name, u"skin.ini");
    EXPECT_EQ(c.entries()[1].name, u"button.bmp");
    EXPECT_EQ(c.entries()[2].name, u"frame.bmp");
    EXPECT_EQ(c.entries()[0].data.size(), 151);
    EXPECT_EQ(c.entries()[1].data.size(), 438);
    EXPECT_EQ(c.entries()[2].data.size(), 246);
    EXPECT_EQ(c.description(), &c.entries()[0]);
    EXPECT_EQ(c.find(QStringLiteral("frame.bmp")), &c.entries()[2]);
    EXPECT_EQ(c.find(QStringLiteral("Frame.bmp")), nullptr) << "lookups are by lower-case name";
    const QImage frame = skins::decodeBmp(c.entries()[2].data);
    EXPECT_EQ(frame.size(), QSize(10, 6)) << "padded rows";
    EXPECT_EQ(skins::decodeBmp(c.entries()[1].data).size(), QSize(16, 8));
}

TEST(SkinContainer, RefusesDamagedContainersWithAMessage)
{
    const QByteArray good = vector("container.bin");
    struct Case
    {
        const char* what;
        QByteArray bytes;
        const char* message;
    };
    const Case cases[] = {
        {"empty", QByteArray(), "no container"},
        {"header cut", good.first(10), "header is cut short"},
        {"names past the end", withInt32(good, 4, 5000), "names run past"},
        {"negative names length", withInt32(good, 4, -1), "names run past"},
        {"sizes cut off", good.first(16 + 33 + 6), "entry sizes run past"},
        {"entry past the end", withInt32(good, 16 + 33 + 8, 100000), "entry 3 runs past"},
        {"negative size", withInt32(good, 16 + 33, -5), "negative size"},
        {"data cut short", good.first(good.size() - 1), "entry 3 runs past"},
        {"too many entries",
         withInt32(good.first(16), 4, 1002 * 3) + QByteArray("a\r\n").repeated(1002),
         "more than 1001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            skins::SkinContainer::read(c.bytes);
            ADD_FAILURE() << "accepted";
        } catch (const platform::EError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromLatin1(c.message)))
                << e.message().toStdString();
        }
    }
    EXPECT_THROW(skins::SkinContainer::read(withInt32(good, 0, 19999)), skins::EOlderSkin);
    // 1001 entries are still fine.
    const QByteArray most = withInt32(good.first(16), 4, 1001 * 3) +
                            QByteArray("a\r\n").repeated(1001) + QByteArray(1001 * 4, '\0');
    EXPECT_EQ(skins::SkinContainer::read(most).entries().size(), 1001);
}

TEST(SkinContainer, WritesWhatItReads)
{
    const QList<skins::SkinEntry> entries = {
        {QStringLiteral("a.ini"), QByteArray("[x]\r\n")},
        {QStringLiteral("b.bmp"), QByteArray(300, 'b')},
        {QStringLiteral("empty.bmp"), QByteArray()},
    };
    const QByteArray file = skins::lzhufPack(skins::SkinContainer::write(entries));
    const skins::SkinContainer back = skins::readSkinFile(file);
    ASSERT_EQ(back.entries().size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back.entries()[i].name, entries[i].name);
        EXPECT_EQ(back.entries()[i].data, entries[i].data);
    }
}

QByteArray bmp(int bits, int width, int height, bool topDown, int paletteSize = 0)
{
    const int stride = ((width * bits + 31) / 32) * 4;
    const int offset = 54 + paletteSize * 4;
    QByteArray b(offset + stride * height, '\0');
    b[0] = 'B';
    b[1] = 'M';
    qToLittleEndian<quint32>(quint32(offset), b.data() + 10);
    qToLittleEndian<quint32>(40, b.data() + 14);
    qToLittleEndian<qint32>(width, b.data() + 18);
    qToLittleEndian<qint32>(topDown ? -height : height, b.data() + 22);
    qToLittleEndian<quint16>(1, b.data() + 26);
    qToLittleEndian<quint16>(quint16(bits), b.data() + 28);
    qToLittleEndian<quint32>(quint32(paletteSize), b.data() + 46);
    for (int i = 0; i < paletteSize; ++i) {
        b[54 + i * 4] = char(i * 10);     // blue
        b[54 + i * 4 + 1] = char(i * 20); // green
        b[54 + i * 4 + 2] = char(i * 30); // red
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            char* p = b.data() + offset + y * stride;
            if (bits == 24) {
                p[x * 3] = char(y);
                p[x * 3 + 1] = char(x);
                p[x * 3 + 2] = char(200);
            } else if (bits == 8) {
                p[x] = char((x + y) % std::max(paletteSize, 1));
            }
        }
    return b;
}

TEST(SkinBitmap, DecodesRowsInEitherOrderAndRefusesMalformedOnes)
{
    // 24-bit, 5 wide (15-byte rows padded to 16), both orders: the stored row y is drawn at the
    // top in a top-down file and at the bottom otherwise.
    for (const bool topDown : {false, true}) {
        const QImage img = skins::decodeBmp(bmp(24, 5, 3, topDown));
        ASSERT_EQ(img.size(), QSize(5, 3));
        for (int y = 0; y < 3; ++y) {
            const int stored = topDown ? y : 2 - y;
            EXPECT_EQ(img.pixel(4, y), qRgb(200, 4, stored)) << topDown << y;
        }
    }
    const QImage indexed = skins::decodeBmp(bmp(8, 3, 2, false, 4));
    ASSERT_EQ(indexed.size(), QSize(3, 2));
    EXPECT_EQ(indexed.pixel(2, 1), qRgb(60, 40, 20)); // stored row 0, index 2

    const QByteArray good = bmp(24, 5, 3, false);
    const struct
    {
        const char* what;
        QByteArray bytes;
    } bad[] = {
        {"empty", QByteArray()},
        {"cut", good.first(good.size() - 1)},
        {"header only", good.first(54)},
        {"not BM", QByteArray("XY") + good.sliced(2)},
        {"zero width", withInt32(good, 18, 0)},
        {"huge", withInt32(good, 18, 1 << 30)},
        {"offset past end", withInt32(good, 10, 1 << 30)},
        {"compressed", withInt32(good, 30, 1)},
        {"16 bits", withInt32(good, 28, 16)},
        {"palette past end", withInt32(bmp(8, 3, 2, false, 4), 46, 200)},
    };
    for (const auto& c : bad)
        EXPECT_TRUE(skins::decodeBmp(c.bytes).isNull()) << c.what;

    const QImage round = skins::decodeBmp(skins::encodeBmp(skins::decodeBmp(good)));
    EXPECT_EQ(round, skins::decodeBmp(good));
}

TEST(SkinBitmap, ReferenceGradient)
{
    const QImage img = skins::decodeBmp(vector("gradient64x32.bmp"));
    ASSERT_EQ(img.size(), QSize(64, 32));
    for (const QPoint p : {QPoint(0, 0), QPoint(63, 0), QPoint(10, 31), QPoint(40, 17)})
        EXPECT_EQ(img.pixel(p), qRgb(p.x() * 255 / 63, p.y() * 255 / 31, 128));
}

skins::SkinContainer containerOf(const QByteArray& ini, const QList<skins::SkinEntry>& more = {})
{
    QList<skins::SkinEntry> entries{{QStringLiteral("skin.ini"), ini}};
    entries += more;
    return skins::SkinContainer::read(skins::SkinContainer::write(entries));
}

TEST(SkinDescriptionTest, ReadsElementsColoursAndCaptionButtons)
{
    const QByteArray ini = "[TitlebarSkin]\r\nSkinName=Test\r\n"
                           "[Personality]\r\nTop=top.bmp\r\nTopTopHeight=7\r\nTopFrame=2\r\n"
                           "TextAlignment=1\r\n"
                           "[Colours]\r\nButtonFaceR=1\r\nButtonFaceG=2\r\nButtonFaceB=3\r\n"
                           "WindowText=10 20 30\r\nMenu=1 2\r\nHilightR=5\r\n"
                           "[Progress]\r\nBitmap=bar.BMP\r\nLeftWidth=3\r\nTile=1\r\n"
                           "NormalColourR=9\r\nNormalColourG=8\r\nNormalColourB=7\r\n"
                           "[GroupBox]\r\nImage=missing.bmp\r\nTile=2\r\n"
                           "[Tabs]\r\nImage=tabs\r\n"
                           "[Scrollbar]\r\nImage=\r\n"
                           "[ButtonClose]\r\nAction=0\r\nButtonImage=bar.bmp\r\nXcoord=4\r\n"
                           "[BUTTONS]\r\nBitmap=bar.bmp\r\n"
                           "[button]\r\nAction=0\r\n[Button.Radio]\r\nAction=0\r\n"
                           "[ButtonDecor]\r\nAction=-1\r\nVisibility=1\r\n"
                           "[buttonLogo]\r\nAction=-1\r\nVisibility=0\r\n";
    const QByteArray bar = skins::encodeBmp(QImage(6, 2, QImage::Format_RGB32));
    const skins::SkinDescription d = skins::readSkinDescription(
        containerOf(ini, {{QStringLiteral("bar.bmp"), bar}, {QStringLiteral("top.bmp"), bar}}));
    EXPECT_EQ(d.skinName, u"Test");
    EXPECT_TRUE(d.top.present);
    EXPECT_EQ(d.top.topHeight, 7);
    EXPECT_EQ(d.top.frame(false).height(), 1) << "two frames stacked";
    EXPECT_EQ(d.textAlignment, 1);
    EXPECT_EQ(d.buttonFace(), QColor(1, 2, 3));
    EXPECT_EQ(d.colours.value(QStringLiteral("WindowText")), QColor(10, 20, 30));
    EXPECT_FALSE(d.colours.contains(QStringLiteral("Menu"))) << "two numbers are no colour";
    EXPECT_FALSE(d.colours.contains(QStringLiteral("Hilight"))) << "all three keys needed";

    const skins::SkinElement& progress = d.element(QStringLiteral("Progress"));
    EXPECT_TRUE(progress.present);
    EXPECT_EQ(progress.image.size(), QSize(6, 2)) << "names compared in lower case";
    EXPECT_EQ(progress.leftWidth, 3);
    EXPECT_TRUE(progress.tile);
    EXPECT_EQ(progress.normalColour, QColor(9, 8, 7));
    const skins::SkinElement& group = d.element(QStringLiteral("GroupBox"));
    EXPECT_TRUE(group.present);
    EXPECT_TRUE(group.image.isNull()) << "missing entry";
    EXPECT_FALSE(group.tile) << "other values stretch";
    EXPECT_TRUE(d.element(QStringLiteral("Tabs")).image.isNull()) << "not a .bmp name";
    EXPECT_FALSE(d.element(QStringLiteral("Scrollbar")).present) << "empty image key";
    EXPECT_FALSE(d.element(QStringLiteral("Headerbar")).present) << "no section";
    EXPECT_FALSE(d.button.image.isNull());

    QStringList sections;
    for (const skins::CaptionButton& b : d.captionButtons)
        sections << b.section;
    EXPECT_EQ(sections, QStringList({QStringLiteral("ButtonClose"), QStringLiteral("buttonLogo")}));
    EXPECT_EQ(d.captionButtons[0].x, 4);
    EXPECT_FALSE(d.captionButtons[0].image.isNull());
}

TEST(SkinDescriptionTest, EmptyOrMissingDescriptionLeavesEverythingAbsent)
{
    for (const QByteArray& ini : {QByteArray(), QByteArray("garbage\x01\xff\r\n[\r\n=\r\n")}) {
        const skins::SkinDescription d = skins::readSkinDescription(containerOf(ini));
        EXPECT_TRUE(d.elements.isEmpty());
        EXPECT_TRUE(d.captionButtons.isEmpty());
        EXPECT_FALSE(d.top.present);
    }
    const skins::SkinContainer noIni = skins::SkinContainer::read(
        skins::SkinContainer::write({{QStringLiteral("a.bmp"), QByteArray("x")}}));
    EXPECT_TRUE(skins::readSkinDescription(noIni).skinName.isEmpty());
}

TEST(SkinDescriptionTest, GbkSectionOfTheReferenceContainer)
{
    const skins::SkinContainer c = skins::readSkinFile(vector("container.lzh"));
    const QList<QByteArray> sections = skins::profileSections(c.description()->data);
    ASSERT_FALSE(sections.isEmpty());
    EXPECT_EQ(platform::fromGbk(sections.front()), u"皮肤");
}

} // namespace
