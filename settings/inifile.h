#pragma once

#include "settings/settingspath.h"

#include <QString>
#include <QStringList>

namespace settings {

/// The settings file. It holds only the path: every read and every write goes to the file at
/// once, so any number of objects on one path see the same data.
class TIniFile
{
public:
    explicit TIniFile(QString fileName);
    ~TIniFile();

    const QString& FileName() const;

    /// The value without surrounding blanks and quotes, at most 2047 bytes of GBK; def when the
    /// file, the section or the key is missing.
    QString ReadString(const QString& section, const QString& ident, const QString& def) const;

    /// Empties strings, then fills it with the key names of section in file order, as many as
    /// fit whole into a block of 16384 bytes.
    void ReadSection(const QString& section, QStringList& strings) const;

    /// Throws platform::EInOutError("Unable to write to <full path>") when the file cannot be
    /// written; the file is then as it was.
    void WriteString(const QString& section, const QString& ident, const QString& value);

private:
    QString m_fileName;
};

} // namespace settings
