#include "platform/atomicfile.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cerrno>
#include <filesystem>
#include <system_error>

#if defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

#if defined(Q_OS_WIN)

// Opened without sharing, the file is the lock; Windows closes and deletes it with its process.
WriteLock::WriteLock(const QString& path, int waitMs) : m_lockFile(lockFileFor(path))
{
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        const HANDLE handle = ::CreateFileW(
            reinterpret_cast<const wchar_t*>(m_lockFile.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            m_handle = reinterpret_cast<qintptr>(handle);
            return;
        }
        if (::GetLastError() != ERROR_SHARING_VIOLATION || deadline.hasExpired())
            return;
        QThread::msleep(5);
    }
}

WriteLock::~WriteLock()
{
    if (isLocked())
        ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

#else

WriteLock::WriteLock(const QString& path, int waitMs) : m_lockFile(lockFileFor(path))
{
    const QByteArray name = QFile::encodeName(m_lockFile);
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // A holder removes the file before letting go; a lock taken on a removed file
            // guards nothing, so take it again on the file that stands there now.
            struct stat held
            {};
            struct stat named
            {};
            if (::fstat(fd, &held) == 0 && ::stat(name.constData(), &named) == 0 &&
                held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
                m_handle = fd;
                return;
            }
            ::close(fd);
            continue;
        }
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        if (!busy || deadline.hasExpired())
            return;
        QThread::msleep(5);
    }
}

WriteLock::~WriteLock()
{
    if (!isLocked())
        return;
    ::unlink(QFile::encodeName(m_lockFile).constData());
    ::close(int(m_handle));
}

#endif

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
