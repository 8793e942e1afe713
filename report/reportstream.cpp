#include "report/reportstream.h"

#include "platform/errors.h"

#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <algorithm>
#include <cstring>

namespace report {

namespace {

constexpr qint64 ReadCacheSize = 16384;

struct PositionKeeper
{
    TReportStream& stream;
    qint64 position;
    ~PositionKeeper() { stream.Seek(position, TReportStream::SeekOrigin::Beginning); }
};

} // namespace

TReportStream::TReportStream(qint32 memoryLimit) : m_memoryLimit(memoryLimit)
{}

TReportStream::~TReportStream()
{
    if (m_file) {
        m_file->close();
        QFile::remove(m_fileName);
    }
}

qint64 TReportStream::size() const
{
    QMutexLocker lock(&m_lock);
    return m_inMemory ? m_memory.size() : m_fileSize;
}

qint64 TReportStream::position() const
{
    QMutexLocker lock(&m_lock);
    return m_position;
}

bool TReportStream::inMemory() const
{
    QMutexLocker lock(&m_lock);
    return m_inMemory;
}

QString TReportStream::fileName() const
{
    QMutexLocker lock(&m_lock);
    return m_fileName;
}

qint64 TReportStream::Read(void* buffer, qint64 count)
{
    QMutexLocker lock(&m_lock);
    const qint64 available = size() - m_position;
    if (m_position < 0 || count <= 0 || available <= 0)
        return 0;
    const qint64 n = std::min(count, available);
    if (m_inMemory) {
        std::memcpy(buffer, m_memory.constData() + m_position, size_t(n));
        m_position += n;
        return n;
    }
    const qint64 read = readFile(static_cast<char*>(buffer), n);
    m_position += read;
    return read;
}

qint64 TReportStream::readFile(char* buffer, qint64 count)
{
    const qint64 cacheEnd = m_readCacheStart + m_readCache.size();
    if (m_position < m_readCacheStart || m_position + count > cacheEnd) {
        if (count >= ReadCacheSize) {
            if (!m_file->seek(m_position))
                return 0;
            return std::max<qint64>(0, m_file->read(buffer, count));
        }
        // The aligned block around the position serves steps back as well as forward.
        qint64 start = m_position - m_position % ReadCacheSize;
        if (m_position + count > start + ReadCacheSize)
            start = m_position;
        m_readCache.resize(std::min(ReadCacheSize, m_fileSize - start));
        if (!m_file->seek(start) ||
            m_file->read(m_readCache.data(), m_readCache.size()) != m_readCache.size()) {
            m_readCache.clear();
            return 0;
        }
        m_readCacheStart = start;
    }
    std::memcpy(buffer, m_readCache.constData() + (m_position - m_readCacheStart), size_t(count));
    return count;
}

qint64 TReportStream::Write(const void* buffer, qint64 count)
{
    QMutexLocker lock(&m_lock);
    if (m_position < 0 || count <= 0)
        return 0;
    if (m_inMemory) {
        const qint64 end = m_position + count;
        if (end > m_memory.size()) {
            if (end > m_memory.capacity())
                m_memory.reserve(std::max(end, qint64(m_memory.capacity()) * 2));
            m_memory.resize(end, '\0');
        }
        std::memcpy(m_memory.data() + m_position, buffer, size_t(count));
        m_position = end;
        if (m_memory.size() > m_memoryLimit)
            moveToFile();
        return count;
    }
    m_readCache.clear();
    if (!m_file->seek(m_position))
        return 0;
    const qint64 written = m_file->write(static_cast<const char*>(buffer), count);
    if (written <= 0)
        return 0;
    m_position += written;
    m_fileSize = std::max(m_fileSize, m_position);
    return written;
}

qint64 TReportStream::Seek(qint64 offset, SeekOrigin origin)
{
    QMutexLocker lock(&m_lock);
    switch (origin) {
    case SeekOrigin::Beginning:
        m_position = offset;
        break;
    case SeekOrigin::Current:
        m_position += offset;
        break;
    case SeekOrigin::End:
        m_position = size() + offset;
        break;
    }
    return m_position;
}

void TReportStream::ReadBuffer(void* buffer, qint64 count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw platform::EInOutError(QStringLiteral("Stream read error"));
}

void TReportStream::WriteBuffer(const void* buffer, qint64 count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw platform::EInOutError(QStringLiteral("Stream write error"));
}

void TReportStream::Truncate(qint64 newSize)
{
    QMutexLocker lock(&m_lock);
    if (newSize < 0 || newSize >= size())
        return;
    if (m_inMemory) {
        m_memory.truncate(newSize);
        return;
    }
    m_readCache.clear();
    if (!m_file->resize(newSize))
        throw platform::EInOutError(QStringLiteral("Stream write error"));
    m_fileSize = newSize;
}

void TReportStream::copyTo(QIODevice& target)
{
    QMutexLocker lock(&m_lock);
    const PositionKeeper keeper{*this, m_position};
    Seek(0, SeekOrigin::Beginning);
    char block[CopyBlockSize];
    for (;;) {
        const qint64 n = Read(block, CopyBlockSize);
        if (n <= 0)
            break;
        if (target.write(block, n) != n)
            throw platform::EInOutError(QStringLiteral("Stream write error"));
    }
}

void TReportStream::moveToFile()
{
    QString folder = QDir::tempPath();
    // Qt names no folder when the configured one does not exist; trying that folder anyway
    // fails with the system's reason instead of creating the file in the working folder.
    if (folder.isEmpty())
        folder = qEnvironmentVariable("TMPDIR", QStringLiteral("/tmp"));
    std::unique_ptr<QFile> file;
    QString name;
    for (int attempt = 0;; ++attempt) {
        const QString unique = QString::number(QRandomGenerator::global()->generate(), 16);
        name = QDir(folder).filePath(
            QStringLiteral("RPG%1.tmp").arg(unique.toUpper().rightJustified(8, u'0')));
        file = std::make_unique<QFile>(name);
        // NewOnly: the name is ours alone, never an existing file of someone else's.
        // Owner only: the pages hold the payee, the amount and the account.
        if (file->open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered,
                       QFile::ReadOwner | QFile::WriteOwner))
            break;
        if (!QFile::exists(name) || attempt == 100)
            throw platform::EInOutError(
                platform::formatMessage(QStringLiteral("Cannot create file \"%s\". %s"),
                                        {QDir::toNativeSeparators(name), file->errorString()}));
    }
    try {
        copyTo(*file);
    } catch (...) {
        file->close();
        QFile::remove(name);
        throw;
    }
    m_fileSize = m_memory.size();
    m_memory = QByteArray();
    m_file = std::move(file);
    m_fileName = name;
    m_inMemory = false;
    m_position = m_fileSize;
}

} // namespace report
