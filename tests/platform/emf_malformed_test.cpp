#include "platform/emfpicture.h"
#include "platform/emfrecorder.h"

#include <QImage>
#include <QPainter>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr quint32 EmrEof = 14;
constexpr quint32 EmrStretchDibits = 81;
constexpr quint32 EmrExtTextOutW = 84;

QByteArray validPage()
{
    EmfRecorder recorder(200, 100, 96);
    recorder.setFont({QStringLiteral("Arial"), 12});
    recorder.textOut(10, 10, QStringLiteral("Hello"));
    recorder.fillRect(0, 0, 5, 5, Qt::black);
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    recorder.stretchDraw(50, 50, 60, 60, image);
    return recorder.picture().bytes();
}

quint32 get(const QByteArray& b, qsizetype offset)
{
    return qFromLittleEndian<quint32>(b.constData() + offset);
}

void put(QByteArray& b, qsizetype offset, quint32 value)
{
    qToLittleEndian(value, b.data() + offset);
}

qsizetype findRecord(const QByteArray& b, quint32 type)
{
    for (qsizetype offset = 0; offset + 8 <= b.size(); offset += get(b, offset + 4)) {
        if (get(b, offset) == type)
            return offset;
    }
    ADD_FAILURE() << "no record of type " << type;
    return 0;
}

} // namespace

TEST(MetafileDefects, EveryBadLengthOffsetOrCountIsAClearError)
{
    struct Case
    {
        const char* what;
        std::function<void(QByteArray&)> spoil;
    };
    const Case cases[] = {
        {"empty", [](QByteArray& b) { b.clear(); }},
        {"header cut short", [](QByteArray& b) { b.truncate(87); }},
        {"body cut short", [](QByteArray& b) { b.chop(4); }},
        {"no signature", [](QByteArray& b) { b[40] = 'X'; }},
        {"first record not a header", [](QByteArray& b) { put(b, 0, EmrEof); }},
        {"total size below the header", [](QByteArray& b) { put(b, 48, 40); }},
        {"total size not a multiple of 4", [](QByteArray& b) { put(b, 48, get(b, 48) - 2); }},
        {"record size zero", [](QByteArray& b) { put(b, findRecord(b, EmrExtTextOutW) + 4, 0); }},
        {"record size below 8",
         [](QByteArray& b) { put(b, findRecord(b, EmrExtTextOutW) + 4, 4); }},
        {"record size not a multiple of 4",
         [](QByteArray& b) { put(b, findRecord(b, EmrExtTextOutW) + 4, 77); }},
        {"record size past the end",
         [](QByteArray& b) { put(b, findRecord(b, EmrExtTextOutW) + 4, 0x7FFFFFF0); }},
        {"character count larger than the record",
         [](QByteArray& b) { put(b, findRecord(b, EmrExtTextOutW) + 44, 0x40000000); }},
        {"string offset past the record",
         [](QByteArray& b) { put(b, findRecord(b, EmrExtTextOutW) + 48, 0xFFFFFFF0); }},
        {"spacing offset past the record",
         [](QByteArray& b) { put(b, findRecord(b, EmrExtTextOutW) + 72, 0x1000); }},
        {"bitmap header past the record",
         [](QByteArray& b) { put(b, findRecord(b, EmrStretchDibits) + 48, 0xFFFFFFFC); }},
        {"bitmap bits size larger than the record",
         [](QByteArray& b) { put(b, findRecord(b, EmrStretchDibits) + 60, 0x10000000); }},
        {"bitmap wider than its bits",
         [](QByteArray& b) {
             const qsizetype r = findRecord(b, EmrStretchDibits);
             put(b, r + get(b, r + 48) + 4, 5000);
         }},
        {"no end record",
         [](QByteArray& b) {
             b.chop(20);
             put(b, 48, quint32(b.size()));
         }},
        {"data after the end record",
         [](QByteArray& b) {
             b.append(QByteArray(20, '\0'));
             put(b, b.size() - 16, 20);
             put(b, 48, quint32(b.size()));
         }},
        {"second header",
         [](QByteArray& b) {
             const qsizetype r = findRecord(b, EmrExtTextOutW);
             put(b, r, 1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bytes = validPage();
        c.spoil(bytes);
        try {
            EmfPicture picture(bytes);
            ADD_FAILURE() << "accepted";
        } catch (const EMetafileError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Invalid metafile: ")))
                << e.message().toStdString();
        }
    }
}

TEST(MetafileDefects, BytesAfterTheDeclaredSizeAreNotPartOfThePicture)
{
    const QByteArray page = validPage();
    const EmfPicture picture(page + QByteArray(64, '\x7F'));
    EXPECT_EQ(picture.bytes(), page);
}

TEST(MetafileDefects, DeclaredSizeComesFromTheHeaderAlone)
{
    const QByteArray page = validPage();
    EXPECT_EQ(EmfPicture::declaredSize(page.left(EmfPicture::MinimumHeaderSize)),
              quint32(page.size()));
    EXPECT_THROW(EmfPicture::declaredSize(page.left(EmfPicture::MinimumHeaderSize - 1)),
                 EMetafileError);
}

TEST(MetafileDefects, RecordsItDoesNotDrawAreSkipped)
{
    // A comment record (type 70) between the header and the first text.
    QByteArray bytes = validPage();
    const qsizetype at = get(bytes, 4);
    QByteArray comment(16, '\0');
    put(comment, 0, 70);
    put(comment, 4, 16);
    put(comment, 8, 4);
    bytes.insert(at, comment);
    put(bytes, 48, quint32(bytes.size()));
    put(bytes, 52, get(bytes, 52) + 1);

    QImage withComment(200, 100, QImage::Format_RGB32);
    QImage without(200, 100, QImage::Format_RGB32);
    withComment.fill(Qt::white);
    without.fill(Qt::white);
    {
        QPainter painter(&withComment);
        EmfPicture(bytes).play(painter, QRect(0, 0, 200, 100));
    }
    {
        QPainter painter(&without);
        EmfPicture(validPage()).play(painter, QRect(0, 0, 200, 100));
    }
    EXPECT_EQ(withComment, without);
}
