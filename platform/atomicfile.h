#pragma once

#include <QByteArrayView>
#include <QString>

namespace platform {

/// Where the new content of path is written before it replaces path.
QString temporaryFileFor(const QString& path);

/// The advisory lock that serialises the writers of path.
QString lockFileFor(const QString& path);

/// Holds the lock of lockFileFor(path) while it lives. The operating system releases it when its
/// process ends, killed or not, so a writer that died never blocks the next one; the lock file
/// is removed again on release.
class WriteLock
{
public:
    /// Waits at most waitMs for another holder to let go.
    WriteLock(const QString& path, int waitMs);
    ~WriteLock();
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

    bool isLocked() const { return m_handle != kNoHandle; }

private:
    static constexpr qintptr kNoHandle = -1;
    QString m_lockFile;
    qintptr m_handle = kNoHandle;
};

/// Replaces the content of path with bytes so that a reader, a crash or a power cut sees either
/// the old or the new content whole: a temporary file beside it is written, flushed to disk and
/// renamed over path. False on any failure; path is then untouched and the temporary file gone.
bool replaceFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace platform
