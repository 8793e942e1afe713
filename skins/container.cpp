#include "skins/container.h"

#include "platform/errors.h"
#include "platform/gbk.h"
#include "skins/lzhuf.h"

#include <QtEndian>

namespace skins {
namespace {

[[noreturn]] void damaged(const QString& why)
{
    throw platform::EError(QStringLiteral("The skin file is damaged: ") + why);
}

qint32 int32At(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<qint32>(bytes.data() + at);
}

void appendInt32(QByteArray& out, qint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

QString olderSkinMessage()
{
    return QStringLiteral("This is Older Skin File\nPlease update to new version !");
}

SkinContainer SkinContainer::read(QByteArrayView unpacked)
{
    constexpr qsizetype kHeader = 16;
    if (unpacked.size() < 4)
        damaged(QStringLiteral("it holds no container"));
    if (int32At(unpacked, 0) != kSkinFormat)
        throw EOlderSkin();
    if (unpacked.size() < kHeader)
        damaged(QStringLiteral("the container header is cut short"));
    const qint32 namesLength = int32At(unpacked, 4);
    if (namesLength < 0 || namesLength > unpacked.size() - kHeader)
        damaged(QStringLiteral("the names run past the end of the data"));
    const QByteArrayView names = unpacked.sliced(kHeader, namesLength);

    // Lines end with CR LF; a last line without its break still counts.
    QList<QByteArrayView> lines;
    for (qsizetype from = 0; from < names.size();) {
        qsizetype end = names.indexOf("\r\n", from);
        const qsizetype next = end < 0 ? names.size() : end + 2;
        if (end < 0)
            end = names.size();
        lines.append(names.sliced(from, end - from));
        if (lines.size() > kMaxEntries)
            damaged(QStringLiteral("more than %1 entries").arg(kMaxEntries));
        from = next;
    }

    qsizetype at = kHeader + namesLength;
    if (qsizetype(lines.size()) * 4 > unpacked.size() - at)
        damaged(QStringLiteral("the entry sizes run past the end of the data"));
    QList<qint32> sizes;
    for (qsizetype i = 0; i < lines.size(); ++i, at += 4) {
        const qint32 size = int32At(unpacked, at);
        if (size < 0)
            damaged(QStringLiteral("an entry has a negative size"));
        sizes.append(size);
    }
    SkinContainer container;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (sizes[i] > unpacked.size() - at)
            damaged(QStringLiteral("entry %1 runs past the end of the data").arg(i + 1));
        container.m_entries.append(
            {platform::fromGbk(lines[i]).toLower(), unpacked.sliced(at, sizes[i]).toByteArray()});
        at += sizes[i];
    }
    return container;
}

QByteArray SkinContainer::write(const QList<SkinEntry>& entries)
{
    QByteArray names;
    for (const SkinEntry& entry : entries)
        names += platform::toGbk(entry.name) + "\r\n";
    QByteArray out;
    appendInt32(out, kSkinFormat);
    appendInt32(out, qint32(names.size()));
    appendInt32(out, 0);
    appendInt32(out, 0);
    out += names;
    for (const SkinEntry& entry : entries)
        appendInt32(out, qint32(entry.data.size()));
    for (const SkinEntry& entry : entries)
        out += entry.data;
    return out;
}

const SkinEntry* SkinContainer::find(const QString& lowerName) const
{
    for (const SkinEntry& entry : m_entries)
        if (entry.name == lowerName)
            return &entry;
    return nullptr;
}

const SkinEntry* SkinContainer::description() const
{
    for (const SkinEntry& entry : m_entries)
        if (entry.name.contains(u".ini"))
            return &entry;
    return nullptr;
}

SkinContainer readSkinFile(QByteArrayView file)
{
    return SkinContainer::read(lzhufUnpack(file));
}

} // namespace skins
