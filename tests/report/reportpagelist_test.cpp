#include "platform/emfpicture.h"
#include "platform/emfrecorder.h"
#include "platform/errors.h"
#include "report/reportpagelist.h"
#include "tests/report/temporaryfolder.h"

#include <QFile>
#include <QtEndian>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

using platform::EmfPicture;
using report::TReportPageList;
using report::TReportStream;
using Origin = TReportStream::SeekOrigin;

namespace {

EmfPicture onePage(int number)
{
    platform::EmfRecorder recorder(794, 1123, 96);
    recorder.setFont({QStringLiteral("宋体"), 12});
    // Texts of different lengths give records of different sizes.
    recorder.textOut(100, 100, QStringLiteral("第%1页").arg(QString(number, u'页')));
    return recorder.picture();
}

struct Store
{
    TReportPageList list;
    std::vector<EmfPicture> pages;
    std::vector<qint64> recordOffsets;

    explicit Store(int count, qint32 memoryLimit = TReportStream::DefaultMemoryLimit)
    {
        list.setStream(std::make_unique<TReportStream>(memoryLimit));
        for (int n = 1; n <= count; ++n) {
            recordOffsets.push_back(std::max<qint64>(list.stream()->size(), 128));
            pages.push_back(onePage(n));
            list.AddPage(pages.back());
        }
    }
    TReportStream& stream() { return *list.stream(); }
    QByteArray bytes()
    {
        const qint64 keep = stream().position();
        stream().Seek(0, Origin::Beginning);
        QByteArray all(stream().size(), Qt::Uninitialized);
        stream().ReadBuffer(all.data(), all.size());
        stream().Seek(keep, Origin::Beginning);
        return all;
    }
};

qint32 int32At(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

void putInt32(QByteArray& bytes, qsizetype offset, qint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

/// A store read back from its bytes, as a saved preview is opened.
std::unique_ptr<TReportPageList> opened(const QByteArray& bytes)
{
    auto list = std::make_unique<TReportPageList>();
    auto stream = std::make_unique<TReportStream>();
    stream->WriteBuffer(bytes.constData(), bytes.size());
    list->setStream(std::move(stream));
    list->ReadHeader();
    return list;
}

} // namespace

TEST(ReportPageList, LaysOutHeaderAndRecordsByteForByte)
{
    Store store(1);
    QByteArray bytes = store.bytes();
    // After the first page the header already counts it.
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData()), 3);
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 2), 40);
    EXPECT_EQ(int32At(bytes, 8), 1);
    double written;
    std::memcpy(&written, bytes.constData() + 16, 8);
    EXPECT_DOUBLE_EQ(qFromLittleEndian(written), 45421.4375); // 2024-05-09 10:30
    EXPECT_EQ(bytes[25], '\0');

    const qint32 n = qint32(store.pages[0].bytes().size());
    EXPECT_EQ(bytes.size(), 128 + 4 + 4 + n + 4);
    EXPECT_EQ(int32At(bytes, 128), 1);
    EXPECT_EQ(int32At(bytes, 132), bytes.size());
    EXPECT_EQ(bytes.mid(136, n), store.pages[0].bytes());
    EXPECT_EQ(int32At(bytes, bytes.size() - 4), 128);
    EXPECT_EQ(bytes.mid(128 + 8 + 40, 4), QByteArray(" EMF")); // letters at 177

    store.list.AddPage(onePage(2));
    store.list.AddPage(onePage(3));
    bytes = store.bytes();
    EXPECT_EQ(int32At(bytes, 8), 1); // until the run ends
    const qint64 third = int32At(bytes, bytes.size() - 4);
    EXPECT_EQ(int32At(bytes, third), 3);
    EXPECT_EQ(int32At(bytes, third + 4), bytes.size());
    EXPECT_EQ(int32At(bytes, third - 4), int32At(bytes, 132)); // page 2 starts where 1 ends

    store.list.setCompression(true);
    store.list.WriteHeader();
    bytes = store.bytes();
    EXPECT_EQ(int32At(bytes, 8), 3);
    EXPECT_EQ(bytes[25], '\1');
    EXPECT_EQ(store.stream().position(), 128);
    EXPECT_EQ(store.list.HeaderSize(), 128);
}

TEST(ReportPageList, FetchesAnyPageInAnyOrderWalkingFromWhereItIs)
{
    Store store(5);
    // From the end, page 2 is reached through the last record and one step back.
    store.list.SeekToPage(2);
    EXPECT_EQ(store.stream().position(), store.recordOffsets[1]);

    const std::vector<int> orders[] = {
        {2, 2, 1, 5, 3, 4, 4, 1, 5, 5, 2},
        {5, 4, 3, 2, 1, 1, 2, 3, 4, 5},
        {3, 1, 5, 1, 3},
    };
    for (const auto& order : orders) {
        store.stream().Seek(0, Origin::End);
        for (int n : order) {
            SCOPED_TRACE(n);
            const auto page = store.list.GetPage(n);
            ASSERT_TRUE(page);
            EXPECT_EQ(page->bytes(), store.pages[n - 1].bytes());
            // Left at the start of the next record, or at the end after the last.
            const qint64 next = n < 5 ? store.recordOffsets[n] : store.stream().size();
            EXPECT_EQ(store.stream().position(), next);
        }
    }
    EXPECT_FALSE(store.list.GetPage(6));
    EXPECT_FALSE(store.list.GetPage(0));
    EXPECT_FALSE(store.list.GetPage(-1));

    // The header rewritten at the end of a run leaves the walk at page 1.
    store.list.WriteHeader();
    EXPECT_EQ(store.list.GetPage(4)->bytes(), store.pages[3].bytes());
}

TEST(ReportPageList, ReadsItsOwnAndTheOlderHeader)
{
    Store store(3);
    store.list.WriteHeader();
    const QByteArray current = store.bytes();
    auto reread = opened(current);
    EXPECT_EQ(reread->pageCount(), 3);
    EXPECT_EQ(reread->stream()->position(), 128);
    EXPECT_EQ(reread->GetPage(3)->bytes(), store.pages[2].bytes());

    // The same pages behind a 124-byte header: every offset is 4 smaller.
    QByteArray older(124, '\0');
    older[0] = 3;
    putInt32(older, 8, 3);
    QByteArray records = current.mid(128);
    for (qint64 r = 0; r < records.size();) {
        const qint32 next = int32At(records, r + 4) - 4;
        putInt32(records, r + 4, next);
        putInt32(records, next - 128, int32At(records, next - 128) - 4);
        r = next - 124;
    }
    auto old = opened(older + records);
    EXPECT_EQ(old->HeaderSize(), 124);
    EXPECT_EQ(old->pageCount(), 3);
    EXPECT_EQ(old->stream()->position(), 124);
    for (int n : {2, 1, 3, 2}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(old->GetPage(n)->bytes(), store.pages[n - 1].bytes());
    }
}

TEST(ReportPageList, AStoreTooShortForTheHeaderTestIsAReadError)
{
    for (const qsizetype size : {0, 128, 176}) {
        SCOPED_TRACE(size);
        try {
            opened(QByteArray(size, '\0'));
            ADD_FAILURE() << "no error";
        } catch (const platform::EInOutError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Stream read error"));
        }
    }
}

TEST(ReportPageList, DamagedStoresFailClearlyAndNeverLoop)
{
    Store store(3);
    store.list.WriteHeader();
    const QByteArray good = store.bytes();
    const qint64 r2 = store.recordOffsets[1];
    const qint64 r3 = store.recordOffsets[2];
    struct Case
    {
        const char* what;
        std::function<void(QByteArray&)> spoil;
        std::vector<int> fetches; // starting at page 1, the position ReadHeader leaves
        QString message;
    };
    const QString damagedAt = QStringLiteral("Page store damaged at offset %1");
    const Case cases[] = {
        {"next offset pointing at itself",
         [&](QByteArray& b) { putInt32(b, r2 + 4, r2); },
         {3},
         damagedAt.arg(r2 + 4)},
        {"next offset pointing back",
         [&](QByteArray& b) { putInt32(b, 132, 0); },
         {3},
         damagedAt.arg(132)},
        {"negative next offset",
         [&](QByteArray& b) { putInt32(b, 132, -400); },
         {2},
         damagedAt.arg(132)},
        {"previous offset looping",
         [&](QByteArray& b) { putInt32(b, r3 - 4, qint32(r3)); },
         {3, 2},
         damagedAt.arg(r3 - 4)},
        {"page count larger than the records",
         [](QByteArray& b) { putInt32(b, 8, 5); },
         {4},
         damagedAt.arg(r3 + 4)},
        {"negative page count", [](QByteArray& b) { putInt32(b, 8, -1); }, {}, damagedAt.arg(8)},
        {"pages out of order", [&](QByteArray& b) { putInt32(b, r2, 7); }, {3}, damagedAt.arg(r2)},
        {"metafile size past the end",
         [&](QByteArray& b) { putInt32(b, r2 + 8 + 48, 0x7FFFFFF0); },
         {2},
         QStringLiteral("Stream read error")},
        {"record's own offset wrong",
         [&](QByteArray& b) { putInt32(b, r3 - 4, 140); },
         {2},
         damagedAt.arg(r2)},
        {"cut in the last page",
         [](QByteArray& b) { b.chop(30); },
         {3},
         QStringLiteral("Stream read error")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bytes = good;
        c.spoil(bytes);
        try {
            auto list = opened(bytes);
            for (int n : c.fetches)
                list->GetPage(n);
            EXPECT_TRUE(c.message.isEmpty()) << "no error";
        } catch (const platform::EError& e) {
            EXPECT_EQ(e.message(), c.message);
        }
    }
}

TEST(ReportPageList, ACutShortStoreNeverGivesAWrongPage)
{
    Store store(3);
    store.list.WriteHeader();
    const QByteArray good = store.bytes();
    for (qsizetype size = 0; size < good.size(); size += 7) {
        SCOPED_TRACE(size);
        for (int n : {1, 3, 2}) {
            try {
                auto list = opened(good.left(size));
                const auto page = list->GetPage(n);
                ASSERT_TRUE(page);
                EXPECT_EQ(page->bytes(), store.pages[n - 1].bytes());
            } catch (const platform::EError&) {
            }
        }
    }
}

TEST(ReportPageList, ALargeStoreLivesInATemporaryFileUntilItIsReleased)
{
    TemporaryFolder temp;
    auto store = std::make_unique<Store>(3, 1000);
    ASSERT_FALSE(store->stream().inMemory());
    const QString file = store->stream().fileName();
    EXPECT_TRUE(QFile::exists(file));
    for (int n : {2, 3, 1})
        EXPECT_EQ(store->list.GetPage(n)->bytes(), store->pages[n - 1].bytes());

    // A new run releases the old stream and its file.
    store->list.setStream(std::make_unique<TReportStream>(100));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(store->list.pageCount(), 0);
    store->list.AddPage(store->pages[0]);
    store->list.AddPage(store->pages[1]);
    const QString second = store->stream().fileName();
    EXPECT_TRUE(QFile::exists(second));
    store.reset();
    EXPECT_FALSE(QFile::exists(second));
    EXPECT_TRUE(temp.files().isEmpty());
}

TEST(ReportPageList, TheTemporaryFileIsGoneWhenAnErrorUnwindsPastTheStore)
{
    TemporaryFolder temp;
    QString file;
    try {
        Store store(3, 1000);
        file = store.stream().fileName();
        store.stream().Seek(store.recordOffsets[1] + 4, Origin::Beginning);
        store.stream().WriteBuffer("\0\0\0\0", 4);
        store.stream().Seek(store.recordOffsets[0], Origin::Beginning);
        store.list.GetPage(3);
        ADD_FAILURE() << "no error";
    } catch (const platform::EError&) {
        EXPECT_FALSE(file.isEmpty());
        EXPECT_FALSE(QFile::exists(file));
    }
    EXPECT_TRUE(temp.files().isEmpty());
}

TEST(ReportPageList, AFailedAppendLeavesTheStoreAsItWas)
{
    TemporaryFolder temp;
    // The temporary folder lies under a plain file, so no file can be created in it.
    const QString blocker = temp.path() + QStringLiteral("/file");
    QFile(blocker).open(QIODevice::WriteOnly);
    qputenv("TMPDIR", QFile::encodeName(blocker + QStringLiteral("/sub")));

    Store store(2, 1000);
    ASSERT_TRUE(store.stream().inMemory());
    const QByteArray before = store.bytes();
    const qint64 position = store.stream().position();
    EXPECT_THROW(store.list.AddPage(onePage(40)), platform::EInOutError);
    EXPECT_EQ(store.list.pageCount(), 2);
    EXPECT_EQ(store.bytes(), before);
    EXPECT_EQ(store.stream().position(), position);
    for (int n : {2, 1, 2})
        EXPECT_EQ(store.list.GetPage(n)->bytes(), store.pages[n - 1].bytes());
    // The first page failing leaves the store empty, without a header.
    TReportPageList empty;
    empty.setStream(std::make_unique<TReportStream>(100));
    EXPECT_THROW(empty.AddPage(onePage(1)), platform::EInOutError);
    EXPECT_EQ(empty.pageCount(), 0);
    EXPECT_EQ(empty.stream()->size(), 0);

    // Once a file can be created again, the next page goes on where the store ends.
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    store.list.AddPage(store.pages[0]);
    EXPECT_FALSE(store.stream().inMemory());
    for (int n : {3, 1, 2})
        EXPECT_EQ(store.list.GetPage(n)->bytes(), store.pages[n == 3 ? 0 : n - 1].bytes());
}

TEST(ReportPageList, AFailedFetchLeavesTheStreamWhereTheNextFetchCanWalkFrom)
{
    Store store(3);
    // Page 2's metafile claims more bytes than the store holds.
    store.stream().Seek(store.recordOffsets[1] + 8 + 48, Origin::Beginning);
    const char huge[4] = {'\xf0', '\xff', '\xff', '\x7f'};
    store.stream().WriteBuffer(huge, 4);
    store.stream().Seek(0, Origin::End);
    for (int n : {3, 1}) {
        SCOPED_TRACE(n);
        EXPECT_THROW(store.list.GetPage(2), platform::EInOutError);
        EXPECT_EQ(store.list.GetPage(n)->bytes(), store.pages[n - 1].bytes());
    }
}
