#include "platform/gbk.h"
#include "platform/profile.h"
#include "platform/profile_text.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Recorded results of the profile functions on a reference platform, one case a line. Each case
// gives the file before the call, the arguments as GBK bytes and the result or the file after.
namespace {

QByteArray argumentBytes(const QJsonObject& args, const char* name)
{
    const QJsonValue value = args.value(QLatin1StringView(name));
    return value.isObject()
               ? QByteArray::fromHex(value.toObject().value(u"gbk_hex").toString().toLatin1())
               : QByteArray();
}

// A read the reference left partly unwritten (the bytes shown as "??") is taken up to the first
// byte it did not write: the half of a double-byte character we never deliver.
QByteArray resultBytes(const QJsonObject& record)
{
    QString hex = record.value(u"result_hex").toString();
    qsizetype firstUntouched = hex.size() / 2;
    for (const QJsonValue offset : record.value(u"untouched_offsets").toArray())
        firstUntouched = std::min<qsizetype>(firstUntouched, offset.toInt());
    return QByteArray::fromHex(hex.first(2 * firstUntouched).toLatin1());
}

// The names of a key list that the reference ended with their zero byte. When the list did not
// fit, the reference cut its last name to fill the buffer; that fragment is no key of the file
// and we do not deliver it.
QList<QByteArray> terminatedNames(const QByteArray& block)
{
    QList<QByteArray> names = block.split('\0');
    names.removeLast();
    return names;
}

// Cases where we deliberately differ from the reference, with the result we give instead.
//  - get_key_case_fullwidth: the reference folds only ASCII letters. "Without regard to letter
//    case" holds here for every letter GBK has in two cases (full-width Latin, Greek, Cyrillic,
//    Roman numerals), so ＡＢＣ is found as ａｂｃ.
//  - put cases below: the reference rewrites the whole file on every write (blank lines dropped,
//    lines trimmed, every break made CRLF, a final break added). We change only the bytes the
//    write is about: the text after "=" of an updated key, or one inserted line, and keep every
//    other byte, including the file's own line breaks and a missing final break.
//  - Not listed because the general rules above cover them: get_long_value_5000_bytes_cn_buf4096
//    and keys_over_16384_cn_buf16384 (a double-byte character that does not fit is left out
//    whole), keys_small_buffer_8, keys_over_16384_ascii_buf16384 and keys_over_16384_cn_buf16384
//    (a name that does not fit whole is not delivered).
const QHash<QString, QByteArray>& adaptedResults()
{
    static const QHash<QString, QByteArray> results = {
        {QStringLiteral("get_key_case_fullwidth"), "1"},
        {QStringLiteral("put_dup_section_key_only_in_second"),
         platform::toGbk(u"[支票打印]\r\n用途=第一\r\n年份右=1\r\n出票人账户=新值\r\n\r\n[存根]\r\n"
                         u"用途=存根\r\n\r\n[支票打印]\r\n用途=第二\r\n出票人账户=仅第二节\r\n")},
        {QStringLiteral("put_dup_section_new_key"),
         platform::toGbk(u"[支票打印]\r\n用途=第一\r\n年份右=1\r\n付款行名称=新值\r\n\r\n[存根]\r\n"
                         u"用途=存根\r\n\r\n[支票打印]\r\n用途=第二\r\n出票人账户=仅第二节\r\n")},
        {QStringLiteral("put_update_key_middle_cn"),
         platform::toGbk(u"[支票打印]\r\n付款行名称=中国银行\r\n出票人账户=9999\r\n年份右=120\r\n"
                         u"用途=货款\r\n\r\n[存根]\r\n年份右=30\r\n用途=备用金\r\n")},
        {QStringLiteral("put_update_key_blanks_around_eq"),
         platform::toGbk(u"[支票打印]\r\n用途 = 新值\r\n年份右=1\r\n")},
        {QStringLiteral("put_update_key_no_final_newline"),
         platform::toGbk(u"[支票打印]\r\n用途=新值")},
        {QStringLiteral("put_new_key_before_blank_and_next_section"),
         platform::toGbk(u"[支票打印]\r\n年份右=1\r\n用途=货款\r\n\r\n\r\n[存根]\r\n用途=x\r\n")},
        {QStringLiteral("put_new_key_before_trailing_comment"),
         platform::toGbk(
             u"[支票打印]\r\n年份右=1\r\n; 注释\r\n用途=货款\r\n\r\n[存根]\r\n用途=x\r\n")},
        {QStringLiteral("put_new_key_last_section_trailing_blanks"),
         platform::toGbk(u"[存根]\r\n用途=x\r\n[支票打印]\r\n年份右=1\r\n用途=货款\r\n\r\n\r\n")},
        {QStringLiteral("put_preserves_other_lines"),
         platform::toGbk(u"; 头部注释\r\n\r\n[存根]\r\n  用途 = \"x\"  \r\n# 井号\r\n无等号\r\n\r\n"
                         u"[支票打印]\r\n年份右=2\r\n")},
        {QStringLiteral("put_normalizes_headers_comments_noeq"),
         platform::toGbk(
             u"  ; 注释  \r\n  [ 支票打印 ] 尾巴\r\n  # 井号  \r\n  无等号  \r\n年份右=2\r\n")},
        {QStringLiteral("put_into_lf_file_update"),
         platform::toGbk(u"[支票打印]\n年份右=1\n用途=新\n")},
    };
    return results;
}

TEST(ProfileReference, EveryRecordedCaseReadsAndWritesAsRecorded)
{
    QFile cases(QStringLiteral(QUILLMARK_TESTDATA "/ini-reference/cases.jsonl"));
    ASSERT_TRUE(cases.open(QIODevice::ReadOnly));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    int checked = 0;
    int adaptedUsed = 0;
    while (!cases.atEnd()) {
        const QByteArray line = cases.readLine().trimmed();
        if (line.isEmpty())
            continue;
        QJsonParseError error{};
        const QJsonObject record = QJsonDocument::fromJson(line, &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << line.left(80).constData();

        const QString name = record.value(u"name").toString();
        SCOPED_TRACE(name.toStdString());
        const QJsonObject args = record.value(u"args").toObject();
        const QString op = record.value(u"op").toString();
        const QString path = dir.filePath(name + QStringLiteral(".ini"));
        const bool hadFile = record.value(u"file_hex").isString();
        const QByteArray before =
            QByteArray::fromHex(record.value(u"file_hex").toString().toLatin1());
        if (hadFile)
            testsupport::writeFile(path, before);
        const auto adapted = adaptedResults().constFind(name);
        adaptedUsed += adapted != adaptedResults().cend();

        if (op == u"get" && hadFile) {
            // The one-pass section list a skin description reads by finds the same lines.
            const QByteArray section = argumentBytes(args, "section");
            const auto listed =
                platform::profileSectionLines(platform::profileSectionList(before), section);
            const auto searched = platform::profileSectionLines(before, section);
            ASSERT_EQ(listed.has_value(), searched.has_value());
            if (listed) {
                EXPECT_EQ(listed->data(), searched->data());
                EXPECT_EQ(listed->size(), searched->size());
            }
        }
        if (op == u"get") {
            const QByteArray result = platform::GetPrivateProfileString(
                argumentBytes(args, "section"), argumentBytes(args, "key"),
                argumentBytes(args, "default"), path, args.value(u"bufsize").toInt());
            EXPECT_EQ(
                result.toHex(),
                (adapted != adaptedResults().cend() ? *adapted : resultBytes(record)).toHex());
        } else if (op == u"keys") {
            const QList<QByteArray> names = platform::GetPrivateProfileKeys(
                argumentBytes(args, "section"), path, args.value(u"bufsize").toInt());
            EXPECT_EQ(names, terminatedNames(resultBytes(record)));
        } else if (op == u"put") {
            EXPECT_TRUE(platform::WritePrivateProfileString(argumentBytes(args, "section"),
                                                            argumentBytes(args, "key"),
                                                            argumentBytes(args, "value"), path));
            const QByteArray expected =
                adapted != adaptedResults().cend()
                    ? *adapted
                    : QByteArray::fromHex(record.value(u"file_after_hex").toString().toLatin1());
            EXPECT_EQ(testsupport::readFile(path).toHex(), expected.toHex());
        } else {
            ADD_FAILURE() << "unknown operation " << op.toStdString();
        }
        if (op != u"put") {
            EXPECT_EQ(QFile::exists(path), hadFile);
            EXPECT_EQ(testsupport::readFile(path), before);
        }
        ++checked;
    }
    EXPECT_EQ(checked, 81);
    EXPECT_EQ(adaptedUsed, adaptedResults().size());
    // Nothing but the case files is left beside them: no lock and no temporary file.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(QStringLiteral(".ini.")),
              QStringList());
}

} // namespace
