#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// The private-profile functions: GBK bytes in and out, sections and keys matched without regard
// to letter case, values without surrounding blanks and one pair of quotes. Every call goes to
// the file at once; nothing is cached.
namespace platform {

/// The value of key in section, or defaultValue (less trailing blanks) when the file, the section
/// or the key is missing. At most bufferSize - 1 bytes come back, cut before a double-byte
/// character that would not fit whole.
QByteArray GetPrivateProfileString(QByteArrayView section, QByteArrayView key,
                                   QByteArrayView defaultValue, const QString& path,
                                   int bufferSize);

/// The key names of section in file order, as they would fill a block of bufferSize bytes: each
/// name followed by one zero byte, one more zero byte ending the block. Names that do not fit
/// whole are not delivered.
QList<QByteArray> GetPrivateProfileKeys(QByteArrayView section, const QString& path,
                                        int bufferSize);

/// False when the file format cannot hold the names or the value as written: a line break, a
/// section name with "]", a key that would read back as a section header.
bool profileCanHold(QByteArrayView section, QByteArrayView key, QByteArrayView value);

/// Sets key in section to value, creating the file, the section and the key as needed. The file
/// is replaced atomically under an advisory lock. False on any failure; the file is then as it
/// was.
bool WritePrivateProfileString(QByteArrayView section, QByteArrayView key, QByteArrayView value,
                               const QString& path);

} // namespace platform
