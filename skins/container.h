#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

// The unpacked skin container: format, names text, entry sizes, entry data.
namespace skins {

inline constexpr qint32 kSkinFormat = 20000;
inline constexpr int kMaxEntries = 1001;

/// The message for a container of another format.
QString olderSkinMessage();

/// Raised for a container of another format, with olderSkinMessage().
class EOlderSkin : public std::exception
{
public:
    const char* what() const noexcept override { return "older skin format"; }
};

struct SkinEntry
{
    QString name; // lower case
    QByteArray data;
};

class SkinContainer
{
public:
    /// Reads an unpacked container, checking every length and offset against the data. Raises
    /// EOlderSkin for another format and platform::EError for a damaged one.
    static SkinContainer read(QByteArrayView unpacked);

    /// Builds a container from entries in order; names are stored as given.
    static QByteArray write(const QList<SkinEntry>& entries);

    const QList<SkinEntry>& entries() const { return m_entries; }
    /// The entry of exactly this lower-case name.
    const SkinEntry* find(const QString& lowerName) const;
    /// The first entry whose name contains ".ini".
    const SkinEntry* description() const;

private:
    QList<SkinEntry> m_entries;
};

/// Unpacks a skin file and reads its container (the two steps above).
SkinContainer readSkinFile(QByteArrayView file);

} // namespace skins
