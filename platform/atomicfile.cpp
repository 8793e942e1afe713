#include "platform/atomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

bool syncToDisk(QFile& file)
{
    if (!file.flush())
        return false;
#if defined(Q_OS_WIN)
    return ::_commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

// Makes the rename itself durable; a file system that cannot sync a directory loses nothing
// more than the order of events, so a failure here is not a failed write.
void syncDirectoryOf(const QString& path)
{
#if !defined(Q_OS_WIN)
    const QByteArray directory = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

QString temporaryFileFor(const QString& path)
{
    return path + QStringLiteral(".tmp");
}

QString lockFileFor(const QString& path)
{
    return path + QStringLiteral(".lock");
}

bool replaceFileAtomically(const QString& path, QByteArrayView bytes)
{
    const QString temporary = temporaryFileFor(path);
    QFile file(temporary);
    // A temporary file left by a writer that was killed is simply overwritten.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    bool written = file.write(bytes.data(), bytes.size()) == bytes.size() && syncToDisk(file);
    file.close();
    if (written && QFileInfo::exists(path))
        written = file.setPermissions(QFile::permissions(path));
    if (written) {
        std::error_code error;
        std::filesystem::rename(nativePath(temporary), nativePath(path), error);
        written = !error;
    }
    if (!written) {
        QFile::remove(temporary);
        return false;
    }
    syncDirectoryOf(path);
    return true;
}

} // namespace platform
