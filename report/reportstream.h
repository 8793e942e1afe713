#pragma once

#include <QByteArray>
#include <QRecursiveMutex>
#include <QString>
#include <memory>

class QFile;
class QIODevice;

namespace report {

/// The page store's bytes: held in memory until they grow past the memory limit, then in a
/// temporary file "RPG….tmp" in the temporary folder, which is deleted when the stream is
/// released (also when an error unwinds past its owner). Every operation holds a re-entrant
/// lock, so one caller's read, write, seek or copy is never interleaved with another's.
class TReportStream
{
public:
    enum class SeekOrigin
    {
        Beginning,
        Current,
        End
    };

    static constexpr qint32 DefaultMemoryLimit = 250000;
    static constexpr qint64 CopyBlockSize = 10240;

    /// An empty stream in memory; memoryLimit in bytes.
    explicit TReportStream(qint32 memoryLimit = DefaultMemoryLimit);
    ~TReportStream();
    TReportStream(const TReportStream&) = delete;
    TReportStream& operator=(const TReportStream&) = delete;

    /// Reads up to count bytes at the position and moves past them; returns how many were read
    /// (0 at or past the end, or at a negative position).
    qint64 Read(void* buffer, qint64 count);
    /// Writes count bytes at the position, growing the stream; returns how many were written.
    /// A write that makes the memory buffer larger than the limit moves the bytes to a
    /// temporary file: "Cannot create file "%s". %s" when it cannot be created.
    qint64 Write(const void* buffer, qint64 count);
    /// Moves the position; returns the new one. A position before the start is allowed but
    /// nothing can be read or written there.
    qint64 Seek(qint64 offset, SeekOrigin origin);

    /// Reads exactly count bytes or fails with "Stream read error".
    void ReadBuffer(void* buffer, qint64 count);
    /// Writes exactly count bytes or fails with "Stream write error".
    void WriteBuffer(const void* buffer, qint64 count);

    /// Cuts the stream back to size bytes (never grows it); the position stays where it is.
    void Truncate(qint64 size);

    /// Copies every byte, from offset 0, in blocks of CopyBlockSize; the position is kept.
    void copyTo(QIODevice& target);

    qint64 size() const;
    qint64 position() const;
    bool inMemory() const;
    /// The temporary file's name; empty while the bytes are in memory.
    QString fileName() const;
    qint32 memoryLimit() const { return m_memoryLimit; }

private:
    void moveToFile();
    qint64 readFile(char* buffer, qint64 count);

    mutable QRecursiveMutex m_lock;
    const qint32 m_memoryLimit;
    bool m_inMemory = true;
    QByteArray m_memory;
    std::unique_ptr<QFile> m_file;
    QString m_fileName;
    qint64 m_fileSize = 0;
    // The file block read last: walking the records then costs copies, not system calls.
    QByteArray m_readCache;
    qint64 m_readCacheStart = 0;
    qint64 m_position = 0;
};

} // namespace report
