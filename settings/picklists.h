#pragma once

#include <QString>
#include <QStringList>

namespace settings {

class TIniFile;

/// Sections of the three pick lists; each entry is a key whose value is "1".
QString purposeSection();
QString payeeSection();
QString shortNameSection();

struct TPickLists
{
    QStringList purposes;
    QStringList payees;
    QStringList shortNames;
};

/// Reads the three lists through a settings-file object of its own, released at once.
TPickLists loadPickLists(const QString& path);

/// Adds a non-empty text as an entry of a section; an existing entry (any letter case) is
/// rewritten in place. A text the file cannot hold as a key ("[张三]" would read back as a
/// section header) is not written: false then.
bool addPickEntry(TIniFile& ini, const QString& section, const QString& text);

/// What the user is told about a text that addPickEntry could not keep.
QString pickEntryRefusedMessage(const QString& text);

} // namespace settings
