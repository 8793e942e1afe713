#include "platform/profile.h"

#include "platform/atomicfile.h"
#include "platform/profile_text.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace platform {

namespace {

// Long enough for another running copy to finish a write; short enough that a lock that cannot
// be taken is reported while the user still waits for it.
constexpr int kLockWaitMs = 5000;

struct FileContent
{
    bool exists = false;
    QByteArray bytes;
};

// nullopt when something stands at path that cannot be read as a file.
std::optional<FileContent> readFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return FileContent{};
    if (!info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    FileContent content{true, file.readAll()};
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
}

QByteArrayView withoutTrailingBlanks(QByteArrayView text)
{
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

// The file a write replaces: the final target of a chain of links, else path itself.
QString writtenPath(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; info.isSymLink() && depth < 40; ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

} // namespace

QByteArray GetPrivateProfileString(QByteArrayView section, QByteArrayView key,
                                   QByteArrayView defaultValue, const QString& path, int bufferSize)
{
    if (bufferSize <= 0)
        return {};
    const std::optional<FileContent> file = readFile(path);
    std::optional<QByteArrayView> value;
    if (file && file->exists)
        value = profileValue(file->bytes, section, key);
    const QByteArrayView chosen = value ? *value : withoutTrailingBlanks(defaultValue);
    return cutAtCharacter(chosen, bufferSize - 1).toByteArray();
}

QList<QByteArray> GetPrivateProfileKeys(QByteArrayView section, const QString& path, int bufferSize)
{
    const std::optional<FileContent> file = readFile(path);
    if (!file || !file->exists)
        return {};
    // The last byte of the block ends the list.
    return profileKeyNames(file->bytes, section, qsizetype(bufferSize) - 1);
}

bool profileCanHold(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    return profileWithValue({}, section, key, value).has_value();
}

bool WritePrivateProfileString(QByteArrayView section, QByteArrayView key, QByteArrayView value,
                               const QString& linkOrPath)
{
    if (linkOrPath.isEmpty())
        return false;
    // A link is followed, so that the replace lands on its target and the link stays.
    const QString path = writtenPath(linkOrPath);
    // The owner's write permission stands for the read-only attribute: even where the user
    // could replace the file (as root, or by renaming in a writable folder), it stays as it is.
    if (QFileInfo::exists(path) && !(QFile::permissions(path) & QFileDevice::WriteOwner))
        return false;
    const WriteLock lock(path, kLockWaitMs);
    if (!lock.isLocked())
        return false;
    const std::optional<FileContent> file = readFile(path);
    if (!file)
        return false;
    const std::optional<QByteArray> updated = profileWithValue(file->bytes, section, key, value);
    if (!updated)
        return false;
    if (file->exists && *updated == file->bytes)
        return true;
    return replaceFileAtomically(path, *updated);
}

} // namespace platform
