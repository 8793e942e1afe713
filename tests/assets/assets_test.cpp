#include "assets/assets.h"
#include "platform/jpeg.h"

#include <QImage>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace {

QImage decodePng(const QByteArray& bytes)
{
    return QImage::fromData(bytes, "PNG");
}

} // namespace

TEST(Assets, EveryPictureLoadsAtItsSize)
{
    struct Case
    {
        const char16_t* name;
        QSize size;
        QImage (*decode)(const QByteArray&);
    };
    const Case cases[] = {
        {u"cheque.png", {850, 301}, decodePng},
        {u"quillmark.png", {64, 64}, decodePng},
        {u"preview_buttons.png", {480, 32}, decodePng},
        {u"button_print.jpg", {260, 72}, platform::decodeJpeg},
        {u"button_settings.jpg", {260, 72}, platform::decodeJpeg},
        {u"button_save.jpg", {260, 72}, platform::decodeJpeg},
        {u"button_close.jpg", {260, 72}, platform::decodeJpeg},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromUtf16(c.name);
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = assets::load(name);
        ASSERT_FALSE(bytes.isEmpty());
        const QImage image = c.decode(bytes);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), c.size);
    }
    EXPECT_TRUE(assets::load(QStringLiteral("no_such_picture.png")).isEmpty());
}

TEST(Assets, EachButtonIsItsOwnPicture)
{
    const QImage print = platform::decodeJpeg(assets::load(QStringLiteral("button_print.jpg")));
    const char16_t* others[] = {u"button_settings.jpg", u"button_save.jpg", u"button_close.jpg"};
    for (const char16_t* other : others) {
        const QImage image = platform::decodeJpeg(assets::load(QString::fromUtf16(other)));
        EXPECT_NE(image, print) << QString::fromUtf16(other).toStdString();
    }
}

// Each toolbar picture must be drawn and differ from every other, or two buttons would look
// alike or show nothing.
TEST(Assets, PreviewToolbarHoldsFifteenDistinctPictures)
{
    const QImage strip = decodePng(assets::load(QStringLiteral("preview_buttons.png")));
    ASSERT_EQ(strip.size(), QSize(480, 32));
    std::vector<QImage> cells;
    for (int i = 0; i < 15; ++i) {
        const QImage cell = strip.copy(i * 32, 0, 32, 32);
        int inked = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                inked += qAlpha(cell.pixel(x, y)) > 128 ? 1 : 0;
        EXPECT_GT(inked, 60) << "picture " << i;
        EXPECT_LT(inked, 32 * 32) << "picture " << i << " has no transparent edge";
        for (std::size_t j = 0; j < cells.size(); ++j)
            EXPECT_NE(cell, cells[j]) << "pictures " << j << " and " << i;
        cells.push_back(cell);
    }
}

namespace {

QByteArray buttonBytes()
{
    return assets::load(QStringLiteral("button_print.jpg"));
}

} // namespace

TEST(JpegDecoding, JunkGivesANullImage)
{
    const QByteArray good = buttonBytes();
    ASSERT_GT(good.size(), 1000);
    QByteArray junk(4096, '\0');
    for (qsizetype i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>((i * 131 + 7) % 251);
    struct Case
    {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"start marker only", good.left(2)},
        {"cut inside the header", good.left(100)},
        {"junk", junk},
        {"start marker then junk", good.left(2) + junk},
        {"text", QByteArray("not a picture at all")},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(platform::decodeJpeg(c.bytes).isNull()) << c.what;
}

// libjpeg pads a picture that ends early with grey and only warns; a button drawn half grey
// must not pass for a good one.
TEST(JpegDecoding, PictureCutShortGivesANullImage)
{
    const QByteArray good = buttonBytes();
    ASSERT_FALSE(platform::decodeJpeg(good).isNull());
    for (const qsizetype cut : {good.size() / 2, good.size() - 2})
        EXPECT_TRUE(platform::decodeJpeg(good.left(cut)).isNull()) << "cut at " << cut;
}

TEST(Assets, APictureDecodedAheadIsHandedOverOnceAndErrorsComeThrough)
{
    int calls = 0;
    static int* counter = nullptr;
    counter = &calls;
    const assets::Decoder counting = [](const QByteArray& bytes) {
        ++*counter;
        return QImage::fromData(bytes, "PNG");
    };
    const assets::Decoder failing = [](const QByteArray&) -> QImage {
        throw std::runtime_error("undecodable");
    };
    assets::decodeAhead(
        {{QStringLiteral("cheque.png"), counting}, {QStringLiteral("quillmark.png"), failing}});

    const QImage direct = decodePng(assets::load(QStringLiteral("cheque.png")));
    EXPECT_EQ(assets::picture(QStringLiteral("cheque.png"), decodePng), direct);
    EXPECT_EQ(calls, 1) << "decoded ahead, not again";
    // Handed over, not kept: the next request decodes on the spot.
    EXPECT_EQ(assets::picture(QStringLiteral("cheque.png"), counting), direct);
    EXPECT_EQ(calls, 2);

    EXPECT_THROW(assets::picture(QStringLiteral("quillmark.png"), decodePng), std::runtime_error);
    EXPECT_EQ(assets::picture(QStringLiteral("quillmark.png"), decodePng).size(), QSize(64, 64));
    EXPECT_TRUE(assets::picture(QStringLiteral("no_such_picture.png"), decodePng).isNull());
}
