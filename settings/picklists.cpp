#include "settings/picklists.h"

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

void addPickEntry(TIniFile& ini, const QString& section, const QString& text)
{
    if (!text.isEmpty())
        ini.WriteString(section, text, QStringLiteral("1"));
}

} // namespace settings
