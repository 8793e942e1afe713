#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

// The settings-file rules applied to GBK text held in memory. The file functions of
// platform/profile.h read and replace whole files around these.
namespace platform {

/// The value of key in the first section named section, without surrounding blanks and without
/// one pair of enclosing quotes; nullopt when the section or the key is missing. The view points
/// into text.
std::optional<QByteArrayView> profileValue(QByteArrayView text, QByteArrayView section,
                                           QByteArrayView key);

/// The lines of the first section named section, after its header; nullopt when it is missing.
/// For reading many keys of one section without finding it again each time.
std::optional<QByteArrayView> profileSectionLines(QByteArrayView text, QByteArrayView section);

struct ProfileSection
{
    QByteArrayView name;  // empty for the lines before the first header
    QByteArrayView lines; // after the header, up to the next one
};

/// Every section of text in file order, the lines before the first header first: one pass
/// for a reader that asks for many sections.
QList<ProfileSection> profileSectionList(QByteArrayView text);

/// profileSectionLines over a list made by profileSectionList.
std::optional<QByteArrayView> profileSectionLines(const QList<ProfileSection>& sections,
                                                  QByteArrayView section);

/// The value of key among the lines of one section, by the rules of profileValue.
std::optional<QByteArrayView> profileLinesValue(QByteArrayView sectionLines, QByteArrayView key);

/// The key names of the first section named section in file order, leaving out comment lines.
/// Each name costs its length plus one byte; names from the first one that would overrun
/// blockBytes on are left out.
QList<QByteArray> profileKeyNames(QByteArrayView text, QByteArrayView section,
                                  qsizetype blockBytes);

/// text with key set to value: an existing key changes in place, a new key goes after the last
/// non-blank line of its section, a new section goes to the end. Every other byte stays as it was.
/// nullopt when the names or the value cannot be stored as written (a line break, a section name
/// with "]", a key that would read back as a section header).
std::optional<QByteArray> profileWithValue(QByteArrayView text, QByteArrayView section,
                                           QByteArrayView key, QByteArrayView value);

/// True when two section or key names are the same character for character, ignoring letter
/// case. Names are compared as GBK characters, so a trail byte never counts as a letter.
bool sameProfileName(QByteArrayView a, QByteArrayView b);

/// The longest start of text of at most maxBytes bytes that does not split a double-byte
/// character.
QByteArrayView cutAtCharacter(QByteArrayView text, qsizetype maxBytes);

} // namespace platform
