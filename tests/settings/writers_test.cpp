#include "platform/gbk.h"
#include "settings/inifile.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// A settings file of about a megabyte with the counter between the filler lines, so that a write
// takes long enough to be interrupted half-way.
struct CounterFile
{
    QByteArray prefix;
    QByteArray suffix;

    CounterFile()
    {
        QByteArray filler;
        for (int i = 0; i < 12000; ++i)
            filler +=
                platform::toGbk(QStringLiteral("收款人%1=1\r\n").arg(i, 5, 10, QLatin1Char('0')));
        prefix =
            platform::toGbk(u"[收款人]\r\n") + filler + platform::toGbk(u"[支票打印]\r\n计数=");
        suffix = "\r\n" + platform::toGbk(u"[用途]\r\n") + filler;
    }

    // The counter when bytes is one whole state of the file, -1 otherwise.
    qlonglong counterOf(const QByteArray& bytes) const
    {
        if (bytes.size() <= prefix.size() + suffix.size() || !bytes.startsWith(prefix) ||
            !bytes.endsWith(suffix))
            return -1;
        const QByteArray digits =
            bytes.mid(prefix.size(), bytes.size() - prefix.size() - suffix.size());
        bool ok = false;
        const qlonglong counter = digits.toLongLong(&ok);
        return ok && QByteArray::number(counter) == digits ? counter : -1;
    }
};

TEST(SettingsFileUnderKill, AWriterKilledAtAnyMomentNeverLeavesAPartFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("myini.ini"));
    const CounterFile file;
    testsupport::writeFile(path, file.prefix + "0" + file.suffix);

    QRandomGenerator random(9);
    qlonglong last = 0;
    for (int round = 0; round < 20; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(QUILLMARK_INI_WRITER), {path, QStringLiteral("count")});
        ASSERT_TRUE(writer.waitForStarted());
        ASSERT_TRUE(writer.waitForReadyRead(30000)) << writer.readAllStandardError().constData();

        // Readers see one whole state at every moment, old or new.
        const int readsBeforeKill = random.bounded(1, 8);
        for (int read = 0; read < readsBeforeKill; ++read) {
            const qlonglong counter = file.counterOf(testsupport::readFile(path));
            ASSERT_GE(counter, last) << "round " << round;
            last = counter;
            QThread::usleep(random.bounded(200, 5000));
        }
        writer.kill();
        ASSERT_TRUE(writer.waitForFinished());
        EXPECT_EQ(writer.exitStatus(), QProcess::CrashExit);

        const qlonglong counter = file.counterOf(testsupport::readFile(path));
        ASSERT_GE(counter, last) << "round " << round;
        last = counter;
        const settings::TIniFile ini(path);
        EXPECT_EQ(ini.ReadString(QStringLiteral("支票打印"), QStringLiteral("计数"), QString()),
                  QString::number(counter));
    }
    // Every round wrote at least once before it was killed.
    EXPECT_GE(last, 20);

    // A lock or temporary file left by a killed writer neither blocks the next write nor
    // outlives it.
    settings::TIniFile ini(path);
    ini.WriteString(QStringLiteral("支票打印"), QStringLiteral("计数"), QStringLiteral("7"));
    EXPECT_EQ(file.counterOf(testsupport::readFile(path)), 7);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("myini.ini")});
}

// Two programs adding keys to one file at the same time: the lock makes each read-change-replace
// whole, so no key one of them added is lost to the other's replacement.
TEST(SettingsFileWriters, SideBySideWritersLoseNoKey)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("myini.ini"));
    const int count = 40;
    QProcess first;
    QProcess second;
    first.start(QStringLiteral(QUILLMARK_INI_WRITER),
                {path, QStringLiteral("keys"), QStringLiteral("a"), QString::number(count)});
    second.start(QStringLiteral(QUILLMARK_INI_WRITER),
                 {path, QStringLiteral("keys"), QStringLiteral("b"), QString::number(count)});
    for (QProcess* writer : {&first, &second}) {
        ASSERT_TRUE(writer->waitForFinished(60000));
        EXPECT_EQ(writer->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().constData();
    }

    QStringList keys;
    settings::TIniFile(path).ReadSection(QStringLiteral("支票打印"), keys);
    keys.sort();
    QStringList expected;
    for (int i = 1; i <= count; ++i)
        expected << QStringLiteral("a%1").arg(i) << QStringLiteral("b%1").arg(i);
    expected.sort();
    EXPECT_EQ(keys, expected);
}

} // namespace
