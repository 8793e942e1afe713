#include "settings/picklists.h"

#include "platform/gbk.h"
#include "platform/profile.h"
#include "settings/inifile.h"

namespace settings {

QString purposeSection()
{
    return QStringLiteral("用途");
}

QString payeeSection()
{
    return QStringLiteral("收款人");
}

QString shortNameSection()
{
    return QStringLiteral("简称");
}

TPickLists loadPickLists(const QString& path)
{
    const TIniFile ini(path);
    TPickLists lists;
    ini.ReadSection(purposeSection(), lists.purposes);
    ini.ReadSection(payeeSection(), lists.payees);
    ini.ReadSection(shortNameSection(), lists.shortNames);
    return lists;
}

bool addPickEntry(TIniFile& ini, const QString& section, const QString& text)
{
    if (text.isEmpty())
        return true;
    if (!platform::profileCanHold(platform::toGbk(section), platform::toGbk(text), "1"))
        return false;
    ini.WriteString(section, text, QStringLiteral("1"));
    return true;
}

QString pickEntryRefusedMessage(const QString& text)
{
    return QStringLiteral("“%1”不能存入选择列表，其余内容已保存").arg(text);
}

} // namespace settings
