#include "platform/atomicfile.h"
#include "platform/gbk.h"
#include "platform/profile.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray gbk(const char16_t* text)
{
    return platform::toGbk(QStringView(text));
}

class ProfileFile : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path() const { return m_dir.filePath(QStringLiteral("myini.ini")); }
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir m_dir;
};

TEST_F(ProfileFile, ReadsAreCutBeforeACharacterThatWouldNotFitWhole)
{
    struct Case
    {
        QByteArray stored;
        int bufferSize;
        QByteArray expected;
    };
    const Case cases[] = {
        {gbk(u"货款"), 5, gbk(u"货款")},
        {gbk(u"货款"), 4, gbk(u"货")}, // three bytes would end on half of 款
        {gbk(u"货款"), 3, gbk(u"货")},
        {gbk(u"货款"), 2, ""},
        {gbk(u"a货"), 3, "a"},
        {gbk(u"a货"), 4, gbk(u"a货")},
        {"abcdef", 4, "abc"},
        {"abc", 1, ""},
        {"abc", 0, ""},
        {"\x81\x30z", 2, "\x81"}, // a lead byte without its trail byte stands alone
    };
    for (const Case& c : cases) {
        testsupport::writeFile(path(), "[s]\r\nk=" + c.stored + "\r\n");
        EXPECT_EQ(platform::GetPrivateProfileString("s", "k", "", path(), c.bufferSize), c.expected)
            << c.stored.toHex().constData() << " in " << c.bufferSize;
    }
    // The default obeys the same cut.
    EXPECT_EQ(platform::GetPrivateProfileString("s", "missing", gbk(u"货款"), path(), 4),
              gbk(u"货"));
}

TEST_F(ProfileFile, KeyNamesAreDeliveredWhileTheyFitWholeIntoTheBlock)
{
    // Each name costs its length plus one zero byte; the block's last byte ends the list.
    testsupport::writeFile(path(), "[s]\r\nabc=1\r\ndefgh=2\r\nij=3\r\n");
    struct Case
    {
        int bufferSize;
        QList<QByteArray> expected;
    };
    const Case cases[] = {
        {0, {}},
        {4, {}},
        {5, {"abc"}},
        {10, {"abc"}},
        {11, {"abc", "defgh"}},
        {13, {"abc", "defgh"}},
        {14, {"abc", "defgh", "ij"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::GetPrivateProfileKeys("s", path(), c.bufferSize), c.expected)
            << c.bufferSize;
}

TEST_F(ProfileFile, NamesMatchWithoutLetterCaseCharacterByCharacter)
{
    struct Case
    {
        const char16_t* stored;
        const char16_t* asked;
        bool found;
    };
    const Case cases[] = {
        {u"MyKey", u"mYkEY", true},  {u"ＡＢＣ", u"ａｂｃ", true}, {u"ΑΒΓ", u"αβγ", true},
        {u"ДЖ", u"дж", true},        {u"Ⅳ", u"ⅳ", true},           {u"年份右", u"年份右", true},
        {u"碅", u"碼", false}, // trail bytes "A" and "a": two different characters
        {u"年份右", u"年份", false}, {u"K", u"K2", false},
    };
    for (const Case& c : cases) {
        testsupport::writeFile(path(), "[Sec]\r\n" + gbk(c.stored) + "=1\r\n");
        EXPECT_EQ(platform::GetPrivateProfileString("sEC", gbk(c.asked), "", path(), 16),
                  c.found ? QByteArray("1") : QByteArray())
            << QString::fromUtf16(c.stored).toStdString() << " / "
            << QString::fromUtf16(c.asked).toStdString();
    }
}

// A write changes the bytes it is about and nothing else.
TEST_F(ProfileFile, WritesKeepEveryOtherByte)
{
    struct Case
    {
        const char* what;
        QByteArray before;
        QByteArray section;
        QByteArray key;
        QByteArray value;
        QByteArray after;
    };
    const Case cases[] = {
        {"mixed line breaks", "[a]\nx=1\r\ny=2\rz=3", "a", "Y", "9", "[a]\nx=1\r\ny=9\rz=3"},
        {"layout of the updated line", "  Key  =  old  \r\n", "", "key", "new",
         "  Key  =  new\r\n"},
        {"new key follows LF breaks", "[a]\nx=1\n\n[b]\n", "a", "k", "v", "[a]\nx=1\nk=v\n\n[b]\n"},
        {"new line ends like the one before it", "[a]\rk=1\n\n[b]\r", "a", "x", "v",
         "[a]\rk=1\nx=v\n\n[b]\r"},
        {"new key after a last line without break", "[a]\r\nx=1", "a", "k", "v",
         "[a]\r\nx=1\r\nk=v\r\n"},
        {"new key under a header without break", "[a]", "a", "k", "v", "[a]\r\nk=v\r\n"},
        {"new key in an empty section", "[a]\r\n[b]\r\nk=1\r\n", "a", "k", "v",
         "[a]\r\nk=v\r\n[b]\r\nk=1\r\n"},
        {"new key in the nameless section", "; top\r\n\r\n[a]\r\n", "", "k", "v",
         "; top\r\nk=v\r\n\r\n[a]\r\n"},
        {"new section after trailing blank lines", "[a]\nk=1\n\n", "b", "k", "v",
         "[a]\nk=1\n\n[b]\nk=v\n"},
        {"new section, CR breaks", "[a]\rk=1", "b", "k", "v", "[a]\rk=1\r[b]\rk=v\r"},
        {"odd bytes around", QByteArrayLiteral("\xff\xfe\x00junk\r\n[a]\r\nx=\x81\r\n\x01=2\r\n"),
         "a", "x", "ok", QByteArrayLiteral("\xff\xfe\x00junk\r\n[a]\r\nx=ok\r\n\x01=2\r\n")},
        {"first write", "", "a", "k", "v", "[a]\r\nk=v\r\n"},
    };
    for (const Case& c : cases) {
        testsupport::writeFile(path(), c.before);
        EXPECT_TRUE(platform::WritePrivateProfileString(c.section, c.key, c.value, path()))
            << c.what;
        EXPECT_EQ(testsupport::readFile(path()), c.after) << c.what;
    }
}

// Such a line would not read back as the key that was written, or would change what the
// lines after it belong to.
TEST_F(ProfileFile, RefusesWhatCannotBeStoredAsOneLine)
{
    const QByteArray before = "[a]\r\nk=1\r\n";
    struct Case
    {
        QByteArray section;
        QByteArray key;
        QByteArray value;
    };
    const Case cases[] = {
        {"a", "k", "1\r\n[b]\r\nx=2"},
        {"a", "k\n", "1"},
        {"a\rb", "k", "1"},
        {"new]", "k", "1"},
        {"new\x81", "k", "1"}, // "]" would become the trail byte of \x81
        {"a", "[x]", "1"},
        {"a", "[x", "]"},
    };
    for (const Case& c : cases) {
        testsupport::writeFile(path(), before);
        EXPECT_FALSE(platform::WritePrivateProfileString(c.section, c.key, c.value, path()))
            << c.section.constData() << " " << c.key.constData();
        EXPECT_EQ(testsupport::readFile(path()), before);
    }
    EXPECT_EQ(entries(), QStringList{QStringLiteral("myini.ini")});
}

TEST_F(ProfileFile, AFailedWriteLeavesTheFileAsItWasAndNothingBeside)
{
    const QByteArray before = gbk(u"[支票打印]\r\n付款行名称=中国银行\r\n");
    struct Case
    {
        const char* what;
        QString blocked;
    };
    const Case cases[] = {
        {"a directory where the temporary file goes", platform::temporaryFileFor(path())},
        {"a directory where the settings file goes", path()},
    };
    for (const Case& c : cases) {
        QDir(m_dir.path()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(m_dir.path()));
        if (c.blocked != path())
            testsupport::writeFile(path(), before);
        ASSERT_TRUE(QDir().mkdir(c.blocked));
        const QStringList entriesBefore = entries();

        EXPECT_FALSE(platform::WritePrivateProfileString(gbk(u"支票打印"), gbk(u"付款行名称"),
                                                         gbk(u"工商银行"), path()))
            << c.what;
        EXPECT_EQ(entries(), entriesBefore) << c.what;
        if (c.blocked != path()) {
            EXPECT_EQ(testsupport::readFile(path()), before) << c.what;
        }
    }
    EXPECT_FALSE(platform::WritePrivateProfileString(
        "a", "k", "v", m_dir.filePath(QStringLiteral("missing/myini.ini"))));
}

TEST_F(ProfileFile, ReplacingKeepsTheFilePermissions)
{
    testsupport::writeFile(path(), "[a]\r\nk=1\r\n");
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path(), permissions));
    ASSERT_TRUE(platform::WritePrivateProfileString("a", "k", "2", path()));
    const auto mine = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    EXPECT_EQ(QFile::permissions(path()) & ~mine, permissions);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("myini.ini")});
}

// Ten megabytes of random bytes behind a known section: the known lines read by the rules, the
// junk parses without harm, and a write still changes only its own line.
TEST_F(ProfileFile, TenMegabytesOfJunkReadAndWriteByTheRules)
{
    QRandomGenerator random(20240509);
    QByteArray junk(10 * 1024 * 1024, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(junk.data()), junk.size() / 4);
    const QByteArray before = gbk(u"[支票打印]\r\n用途= \"货款\" \r\n") + junk;
    testsupport::writeFile(path(), before);

    EXPECT_EQ(platform::GetPrivateProfileString(gbk(u"支票打印"), gbk(u"用途"), "", path(), 2048),
              gbk(u"货款"));
    EXPECT_LE(platform::GetPrivateProfileString("\x81", "\xfe", "", path(), 2048).size(), 2047);
    qsizetype block = 0;
    for (const QByteArray& name : platform::GetPrivateProfileKeys(gbk(u"支票打印"), path(), 16384))
        block += name.size() + 1;
    EXPECT_LE(block, 16383);

    ASSERT_TRUE(
        platform::WritePrivateProfileString(gbk(u"支票打印"), gbk(u"出票人账户"), "42", path()));
    QByteArray after = testsupport::readFile(path());
    const QByteArray line = gbk(u"出票人账户=42");
    const qsizetype at = after.indexOf(line);
    ASSERT_GE(at, 0);
    // The new line ends as the junk line before it does: CR, LF or both.
    const qsizetype added = after.size() - before.size();
    const QByteArray lineBreak = after.mid(at + line.size(), added - line.size());
    EXPECT_TRUE(lineBreak == "\r" || lineBreak == "\n" || lineBreak == "\r\n");
    EXPECT_EQ(after.remove(at, added), before);
    EXPECT_EQ(
        platform::GetPrivateProfileString(gbk(u"支票打印"), gbk(u"出票人账户"), "", path(), 2048),
        "42");
}

} // namespace
