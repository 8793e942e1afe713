#include "platform/errors.h"
#include "report/reportstream.h"
#include "tests/report/temporaryfolder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

using report::TReportStream;
using Origin = TReportStream::SeekOrigin;

namespace {

QByteArray pattern(qsizetype size, int seed = 0)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + seed) % 251);
    return bytes;
}

QByteArray readAll(TReportStream& s)
{
    const qint64 keep = s.position();
    s.Seek(0, Origin::Beginning);
    QByteArray bytes(s.size(), Qt::Uninitialized);
    s.ReadBuffer(bytes.data(), bytes.size());
    s.Seek(keep, Origin::Beginning);
    return bytes;
}

// Records the size of every write, to see the copy's blocks.
class BlockRecorder : public QBuffer
{
public:
    std::vector<qint64> blocks;

protected:
    qint64 writeData(const char* data, qint64 len) override
    {
        blocks.push_back(len);
        return QBuffer::writeData(data, len);
    }
};

} // namespace

TEST(ReportStream, StaysInMemoryUpToTheLimitAndMovesToAFileOneByteBeyond)
{
    TemporaryFolder temp;
    QString fileName;
    QByteArray expected = pattern(250000);
    {
        TReportStream s(250000);
        s.WriteBuffer(expected.constData(), 249999);
        s.WriteBuffer(expected.constData() + 249999, 1);
        EXPECT_TRUE(s.inMemory());
        EXPECT_EQ(s.size(), 250000);
        EXPECT_TRUE(temp.files().isEmpty());

        s.WriteBuffer("+", 1);
        expected += '+';
        ASSERT_FALSE(s.inMemory());
        fileName = s.fileName();
        const QFileInfo info(fileName);
        EXPECT_EQ(info.absolutePath(), QFileInfo(temp.path()).absoluteFilePath());
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^RPG[0-9A-F]+\\.tmp$"))
                        .match(info.fileName())
                        .hasMatch())
            << info.fileName().toStdString();
        EXPECT_EQ(temp.files(), QStringList{info.fileName()});
        EXPECT_EQ(s.position(), 250001);
        EXPECT_EQ(s.size(), 250001);
        QFile onDisk(fileName);
        ASSERT_TRUE(onDisk.open(QIODevice::ReadOnly));
        EXPECT_EQ(onDisk.readAll(), expected);
        EXPECT_EQ(readAll(s), expected);
    }
    EXPECT_FALSE(QFile::exists(fileName));
    EXPECT_TRUE(temp.files().isEmpty());
}

TEST(ReportStream, ReadsWritesAndSeeksAlikeInMemoryAndInAFile)
{
    TemporaryFolder temp;
    for (const qint32 limit : {1 << 30, 0}) {
        SCOPED_TRACE(limit);
        TReportStream s(limit);
        s.WriteBuffer("abcdefgh", 8);
        EXPECT_EQ(s.inMemory(), limit != 0);

        EXPECT_EQ(s.Seek(2, Origin::Beginning), 2);
        s.WriteBuffer("XY", 2); // overwrites in place
        EXPECT_EQ(s.size(), 8);
        EXPECT_EQ(s.Seek(-3, Origin::End), 5);
        char buf[8] = {};
        EXPECT_EQ(s.Read(buf, 8), 3); // only what is there
        EXPECT_EQ(QByteArray(buf, 3), QByteArray("fgh"));
        EXPECT_EQ(s.Read(buf, 1), 0);
        EXPECT_EQ(s.Seek(-6, Origin::Current), 2);
        s.ReadBuffer(buf, 2);
        EXPECT_EQ(QByteArray(buf, 2), QByteArray("XY"));

        // A write beyond the end fills the gap with zeros.
        s.Seek(10, Origin::Beginning);
        s.WriteBuffer("Z", 1);
        EXPECT_EQ(readAll(s), QByteArray("abXYefgh\0\0Z", 11));

        // What was just read and is then overwritten reads back as written.
        s.Seek(0, Origin::Beginning);
        s.ReadBuffer(buf, 2);
        s.Seek(0, Origin::Beginning);
        s.WriteBuffer("q", 1);
        s.Seek(0, Origin::Beginning);
        s.ReadBuffer(buf, 2);
        EXPECT_EQ(QByteArray(buf, 2), QByteArray("qb"));

        // Before the start nothing is read or written, and the buffered calls say so.
        s.Seek(-4, Origin::Beginning);
        EXPECT_EQ(s.Read(buf, 4), 0);
        try {
            s.ReadBuffer(buf, 4);
            ADD_FAILURE() << "read before the start";
        } catch (const platform::EInOutError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Stream read error"));
        }
        EXPECT_THROW(s.WriteBuffer("x", 1), platform::EInOutError);
        s.Seek(0, Origin::End);
        EXPECT_THROW(s.ReadBuffer(buf, 1), platform::EInOutError);
    }
}

TEST(ReportStream, CopiesEveryByteInBlocksAndKeepsItsPosition)
{
    TemporaryFolder temp;
    const QByteArray bytes = pattern(3 * 10240 + 17, 3);
    for (const qint32 limit : {1 << 30, 0}) {
        SCOPED_TRACE(limit);
        TReportStream s(limit);
        s.WriteBuffer(bytes.constData(), bytes.size());
        s.Seek(100, Origin::Beginning);
        BlockRecorder target;
        ASSERT_TRUE(target.open(QIODevice::WriteOnly));
        s.copyTo(target);
        EXPECT_EQ(target.data(), bytes);
        EXPECT_EQ(target.blocks, (std::vector<qint64>{10240, 10240, 10240, 17}));
        EXPECT_EQ(s.position(), 100);
    }
}

TEST(ReportStream, ATemporaryFileThatCannotBeCreatedIsAnErrorAndTheBytesStay)
{
    TemporaryFolder temp;
    const QString missing = temp.path() + QStringLiteral("/missing");
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(missing));
    const QStringList before = QDir().entryList(QDir::Files);

    TReportStream s(10);
    s.WriteBuffer("0123456789", 10);
    try {
        s.WriteBuffer("A", 1);
        ADD_FAILURE() << "no error";
    } catch (const platform::EInOutError& e) {
        const QRegularExpression expected(
            QStringLiteral("^Cannot create file \"%1/RPG[0-9A-F]+\\.tmp\"\\. .+$")
                .arg(QRegularExpression::escape(QDir::toNativeSeparators(missing))));
        EXPECT_TRUE(expected.match(e.message()).hasMatch()) << e.message().toStdString();
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("No such file or directory")))
            << e.message().toStdString();
    }
    qputenv("TMPDIR", saved);
    EXPECT_TRUE(s.inMemory());
    EXPECT_EQ(readAll(s), QByteArray("0123456789A"));
    EXPECT_EQ(QDir().entryList(QDir::Files), before); // nothing landed in the working folder
    EXPECT_TRUE(temp.files().isEmpty());
}

TEST(ReportStream, OnlyItsOwnerCanReadTheTemporaryFile)
{
    TemporaryFolder temp;
    TReportStream s(10);
    s.WriteBuffer(pattern(11).constData(), 11);
    ASSERT_FALSE(s.inMemory());
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const QFile::Permissions mode = QFile::permissions(s.fileName());
    EXPECT_EQ(mode & others, QFile::Permissions());
    EXPECT_TRUE(mode & QFile::ReadOwner);
    EXPECT_TRUE(mode & QFile::WriteOwner);
}
