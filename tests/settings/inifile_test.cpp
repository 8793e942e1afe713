#include "platform/atomicfile.h"
#include "platform/errors.h"
#include "platform/gbk.h"
#include "settings/inifile.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using settings::TIniFile;

class SettingsFile : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path() const { return m_dir.filePath(QStringLiteral("myini.ini")); }

    QTemporaryDir m_dir;
};

struct SectionKeys
{
    QString section;
    QStringList keys;
};

// Every section and key name the program stores, in the order a save of the settings panel
// writes them, followed by the three pick-list sections.
const std::vector<SectionKeys>& everyName()
{
    static const std::vector<SectionKeys> names = {
        {QStringLiteral("支票打印"), {QStringLiteral("付款行名称"), QStringLiteral("出票人账户")}},
        {QStringLiteral("存根"),
         {QStringLiteral("年份右"), QStringLiteral("年份下"), QStringLiteral("月份右"),
          QStringLiteral("月份下"), QStringLiteral("日期右"), QStringLiteral("日期下"),
          QStringLiteral("收款人右"), QStringLiteral("收款人下"), QStringLiteral("金额右"),
          QStringLiteral("金额下"), QStringLiteral("用途右"), QStringLiteral("用途下")}},
        {QStringLiteral("支票"),
         {QStringLiteral("年份右"), QStringLiteral("月份右"), QStringLiteral("日期右"),
          QStringLiteral("付款行名称右"), QStringLiteral("出票人账号右"),
          QStringLiteral("收款人右"), QStringLiteral("人民币大写右"), QStringLiteral("金额小写右"),
          QStringLiteral("用途右"), QStringLiteral("年份下"), QStringLiteral("月份下"),
          QStringLiteral("日期下"), QStringLiteral("付款行名称下"), QStringLiteral("出票人账号下"),
          QStringLiteral("收款人下"), QStringLiteral("人民币大写下"), QStringLiteral("金额小写下"),
          QStringLiteral("用途下")}},
        {QStringLiteral("用途"), {QStringLiteral("货款")}},
        {QStringLiteral("收款人"), {QStringLiteral("北京市海淀区文具店")}},
        {QStringLiteral("简称"), {QStringLiteral("文具店")}},
    };
    return names;
}

TEST_F(SettingsFile, FirstWritesCreateTheFileSectionBySectionInGbk)
{
    TIniFile ini(path());
    QString expected;
    int n = 0;
    for (const SectionKeys& section : everyName()) {
        expected += u'[' + section.section + QStringLiteral("]\r\n");
        for (const QString& key : section.keys) {
            const QString value = QString::number(n++ - 40);
            ini.WriteString(section.section, key, value);
            expected += key + u'=' + value + QStringLiteral("\r\n");
        }
    }
    const QByteArray bytes = testsupport::readFile(path());
    EXPECT_EQ(bytes, platform::toGbk(expected));
    // GBK, no byte-order mark: "[支票打印]", "付款行名称", "出票人账户".
    EXPECT_TRUE(bytes.startsWith(QByteArray::fromHex("5bd6a7c6b1b4f2d3a15d0d0a"
                                                     "b8b6bfeed0d0c3fbb3c63d")));
    EXPECT_TRUE(bytes.contains(QByteArray::fromHex("b3f6c6b1c8cbd5cbbba73d")));

    // Every name reads back through a second object on the same path.
    const TIniFile reader(path());
    n = 0;
    for (const SectionKeys& section : everyName()) {
        QStringList keys;
        reader.ReadSection(section.section, keys);
        EXPECT_EQ(keys, section.keys);
        for (const QString& key : section.keys)
            EXPECT_EQ(reader.ReadString(section.section, key, QStringLiteral("?")),
                      QString::number(n++ - 40))
                << key.toStdString();
    }
}

TEST_F(SettingsFile, ReadStringTrimsUnquotesAndCutsAt2047Bytes)
{
    struct Case
    {
        QString stored;
        QString expected;
    };
    const QString cn1500 = QString(1500, QChar(u'货'));
    const Case cases[] = {
        {QStringLiteral("  中国银行 \t"), QStringLiteral("中国银行")},
        {QStringLiteral("\" 中国银行 \""), QStringLiteral(" 中国银行 ")},
        {QString(2047, u'a'), QString(2047, u'a')},
        {QString(3000, u'a'), QString(2047, u'a')},
        {cn1500, cn1500.left(1023)}, // 2047 bytes would end on half of the 1024th character
        {u'a' + cn1500, u'a' + cn1500.left(1023)},
    };
    TIniFile ini(path());
    for (const Case& c : cases) {
        testsupport::writeFile(
            path(), platform::toGbk(QStringLiteral("[支票打印]\r\n付款行名称=") + c.stored));
        EXPECT_EQ(
            ini.ReadString(QStringLiteral("支票打印"), QStringLiteral("付款行名称"), QString()),
            c.expected)
            << c.stored.left(20).toStdString();
    }
    // A missing key, section or file reads as the default.
    EXPECT_EQ(ini.ReadString(QStringLiteral("支票打印"), QStringLiteral("出票人账户"), QString()),
              QString());
    EXPECT_EQ(ini.ReadString(QStringLiteral("存根"), QStringLiteral("年份右"), QStringLiteral("x")),
              QStringLiteral("x"));
    QFile::remove(path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("支票打印"), QStringLiteral("付款行名称"), QString()),
              QString());
}

TEST_F(SettingsFile, ReadSectionEmptiesTheListAndDeliversWholeNamesOfTheBlock)
{
    TIniFile ini(path());
    QStringList keys{QStringLiteral("left over")};
    ini.ReadSection(QStringLiteral("收款人"), keys);
    EXPECT_TRUE(keys.isEmpty()); // no file

    // 16384 bytes: three names with their zero bytes fill 16383, the last byte ends the list.
    struct Case
    {
        int lastLength;
        qsizetype delivered;
    };
    for (const Case c : {Case{5460, 3}, Case{5461, 2}}) {
        const QByteArray first(5460, 'a');
        const QByteArray second(5460, 'b');
        const QByteArray last(c.lastLength, 'c');
        testsupport::writeFile(path(), platform::toGbk(u"[收款人]\r\n") + first + "=1\r\n" +
                                           second + "=1\r\n" + last + "=1\r\n");
        keys = QStringList{QStringLiteral("left over")};
        ini.ReadSection(QStringLiteral("收款人"), keys);
        ASSERT_EQ(keys.size(), c.delivered);
        EXPECT_EQ(keys[0], QString::fromLatin1(first));
        EXPECT_EQ(keys.back(), QString::fromLatin1(c.delivered == 3 ? last : second));
    }
    ini.ReadSection(QStringLiteral("用途"), keys);
    EXPECT_TRUE(keys.isEmpty()); // missing section
}

TEST_F(SettingsFile, AnEntryWrittenAgainInOtherLetterCaseKeepsItsLine)
{
    TIniFile ini(path());
    ini.WriteString(QStringLiteral("收款人"), QStringLiteral("Zhang San Ltd"), QStringLiteral("1"));
    ini.WriteString(QStringLiteral("收款人"), QStringLiteral("李四"), QStringLiteral("1"));
    ini.WriteString(QStringLiteral("收款人"), QStringLiteral("ZHANG SAN LTD"), QStringLiteral("1"));
    ini.WriteString(QStringLiteral("收款人"), QStringLiteral("李四"), QStringLiteral("1"));
    EXPECT_EQ(testsupport::readFile(path()),
              platform::toGbk(u"[收款人]\r\nZhang San Ltd=1\r\n李四=1\r\n"));
}

TEST_F(SettingsFile, AFailedWriteThrowsWithTheFullPathAndChangesNothing)
{
    // Tests run as root, where permission bits stop nothing: a directory stands in the way.
    struct Case
    {
        const char* what;
        QString blocked;
    };
    const Case cases[] = {
        {"temporary file", platform::temporaryFileFor(path())},
        {"settings file", path()},
    };
    for (const Case& c : cases) {
        QDir(m_dir.path()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(m_dir.path()));
        const QByteArray before = platform::toGbk(u"[支票打印]\r\n付款行名称=中国银行\r\n");
        if (c.blocked != path())
            testsupport::writeFile(path(), before);
        ASSERT_TRUE(QDir().mkdir(c.blocked));
        const QStringList entriesBefore =
            QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        TIniFile ini(path());
        try {
            ini.WriteString(QStringLiteral("支票打印"), QStringLiteral("付款行名称"),
                            QStringLiteral("工商银行"));
            ADD_FAILURE() << "no error for a blocked " << c.what;
        } catch (const platform::EInOutError& error) {
            EXPECT_EQ(error.message(),
                      QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path()));
        }
        if (c.blocked != path()) {
            EXPECT_EQ(testsupport::readFile(path()), before) << c.what;
            EXPECT_EQ(
                ini.ReadString(QStringLiteral("支票打印"), QStringLiteral("付款行名称"), QString()),
                QStringLiteral("中国银行"));
        }
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  entriesBefore)
            << c.what;
    }
}

TEST_F(SettingsFile, AReadOnlyFileRefusesEveryWriteAndALinkedFileIsWrittenThroughItsLink)
{
    const QByteArray before = platform::toGbk(u"[支票打印]\r\n付款行名称=中国银行\r\n");
    testsupport::writeFile(path(), before);
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(path(), readOnly));
    TIniFile ini(path());
    for (const QString& key : {QStringLiteral("付款行名称"), QStringLiteral("出票人账户")}) {
        try {
            ini.WriteString(QStringLiteral("支票打印"), key, QStringLiteral("工商银行"));
            ADD_FAILURE() << "a read-only file was written";
        } catch (const platform::EInOutError& error) {
            EXPECT_EQ(error.message(),
                      QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path()));
        }
    }
    EXPECT_EQ(testsupport::readFile(path()), before);
    EXPECT_FALSE(QFile::permissions(path()) & QFile::WriteOwner);

    // The settings file is a link to a file elsewhere: the target changes, the link stays.
    ASSERT_TRUE(QFile::setPermissions(path(), readOnly | QFile::WriteOwner));
    const QString target = m_dir.filePath(QStringLiteral("elsewhere/real.ini"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(target).path()));
    ASSERT_TRUE(QFile::rename(path(), target));
    ASSERT_TRUE(QFile::link(target, path()));
    TIniFile linked(path());
    linked.WriteString(QStringLiteral("支票打印"), QStringLiteral("付款行名称"),
                       QStringLiteral("工商银行"));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(QFileInfo(path()).symLinkTarget(), target);
    EXPECT_EQ(testsupport::readFile(target),
              platform::toGbk(u"[支票打印]\r\n付款行名称=工商银行\r\n"));
}

} // namespace
