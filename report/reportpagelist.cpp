#include "report/reportpagelist.h"

#include "platform/emfpicture.h"
#include "platform/environment.h"
#include "platform/errors.h"

#include <QMutexLocker>
#include <QtEndian>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace report {

namespace {

using Origin = TReportStream::SeekOrigin;

// Where the first page's " EMF" signature letters start behind an older, 124-byte header.
constexpr qint64 OlderSignatureOffset = 173;
constexpr qint64 RecordOverhead = 12;

qint32 readInt32(TReportStream& s)
{
    uchar bytes[4];
    s.ReadBuffer(bytes, 4);
    return qFromLittleEndian<qint32>(bytes);
}

void writeInt32(TReportStream& s, qint64 value)
{
    uchar bytes[4];
    qToLittleEndian(qint32(value), bytes);
    s.WriteBuffer(bytes, 4);
}

[[noreturn]] void damaged(qint64 offset)
{
    throw platform::EInOutError(platform::formatMessage(
        QStringLiteral("Page store damaged at offset %s"), {QString::number(offset)}));
}

/// Days since 30 December 1899, the time of day as the fraction.
double oleDate(const QDateTime& t)
{
    return double(QDate(1899, 12, 30).daysTo(t.date())) +
           t.time().msecsSinceStartOfDay() / 86400000.0;
}

} // namespace

TReportPageList::TReportPageList() = default;
TReportPageList::~TReportPageList() = default;

void TReportPageList::setStream(std::unique_ptr<TReportStream> stream)
{
    QMutexLocker lock(&m_lock);
    m_stream = std::move(stream);
    m_pageCount = 0;
}

qint32 TReportPageList::pageCount() const
{
    QMutexLocker lock(&m_lock);
    return m_pageCount;
}

TReportStream& TReportPageList::requireStream() const
{
    if (!m_stream)
        throw std::logic_error("the page store has no stream before a run");
    return *m_stream;
}

void TReportPageList::WriteHeader()
{
    QMutexLocker lock(&m_lock);
    TReportStream& s = requireStream();
    uchar header[CurrentHeaderSize] = {};
    qToLittleEndian(quint16(3), header);
    qToLittleEndian(quint16(40), header + 2);
    qToLittleEndian(m_pageCount, header + 8);
    const double now = oleDate(platform::currentDateTime());
    quint64 nowBits;
    std::memcpy(&nowBits, &now, 8);
    qToLittleEndian(nowBits, header + 16);
    header[25] = m_compression ? 1 : 0;
    s.Seek(0, Origin::Beginning);
    s.WriteBuffer(header, CurrentHeaderSize);
}

void TReportPageList::AddPage(const platform::EmfPicture& page)
{
    QMutexLocker lock(&m_lock);
    TReportStream& s = requireStream();
    const QByteArray& body = page.bytes();
    // Offsets are 32-bit: a store that would pass 2 GB cannot be written.
    const qint64 start = std::max<qint64>(s.size(), CurrentHeaderSize);
    if (start + RecordOverhead + body.size() > std::numeric_limits<qint32>::max())
        throw platform::EInOutError(QStringLiteral("Stream write error"));

    const qint32 previousCount = m_pageCount;
    const qint64 previousSize = s.size();
    const qint64 previousPosition = s.position();
    try {
        ++m_pageCount;
        if (m_pageCount == 1)
            WriteHeader();
        const qint64 r = s.Seek(0, Origin::End);
        writeInt32(s, m_pageCount);
        writeInt32(s, r + 4);
        s.WriteBuffer(body.constData(), body.size());
        writeInt32(s, r);
        const qint64 end = s.position();
        s.Seek(r + 4, Origin::Beginning);
        writeInt32(s, end);
        s.Seek(end, Origin::Beginning);
    } catch (...) {
        // The run that needed the page is abandoned; the store is as before the call, so the
        // pages already there can still be fetched and appended to.
        m_pageCount = previousCount;
        try {
            s.Truncate(previousSize);
        } catch (const platform::EError&) {
            // The error already being raised is the one to report.
        }
        s.Seek(previousPosition, Origin::Beginning);
        throw;
    }
}

qint32 TReportPageList::HeaderSize()
{
    QMutexLocker lock(&m_lock);
    TReportStream& s = requireStream();
    struct Restore
    {
        TReportStream& s;
        qint64 position;
        ~Restore() { s.Seek(position, Origin::Beginning); }
    } restore{s, s.position()};
    s.Seek(OlderSignatureOffset, Origin::Beginning);
    char letters[4];
    s.ReadBuffer(letters, 4);
    return std::memcmp(letters, "EMF\0", 4) == 0 ? OlderHeaderSize : CurrentHeaderSize;
}

void TReportPageList::ReadHeader()
{
    QMutexLocker lock(&m_lock);
    TReportStream& s = requireStream();
    s.Seek(0, Origin::Beginning);
    const qint32 size = HeaderSize();
    uchar header[CurrentHeaderSize];
    s.ReadBuffer(header, size);
    const qint32 count = qFromLittleEndian<qint32>(header + 8);
    if (count < 0)
        damaged(8);
    m_pageCount = count;
}

void TReportPageList::SeekToPage(qint32 n)
{
    QMutexLocker lock(&m_lock);
    TReportStream& s = requireStream();
    if (n == 1) {
        s.Seek(HeaderSize(), Origin::Beginning);
        return;
    }
    const qint64 size = s.size();
    if (s.position() == size) {
        s.Seek(-4, Origin::End);
        s.Seek(readInt32(s), Origin::Beginning);
    }
    const qint32 p = readInt32(s);
    s.Seek(-4, Origin::Current);
    // Records are in page order and every step must move the same way, so a damaged link
    // ends the walk with an error instead of sending it round in a loop.
    if (n > p) {
        for (;;) {
            const qint64 r = s.position();
            const qint32 page = readInt32(s);
            if (page == n)
                break;
            if (page > n)
                damaged(r);
            const qint32 next = readInt32(s);
            if (next < r + RecordOverhead || next >= size)
                damaged(r + 4);
            s.Seek(next, Origin::Beginning);
        }
        s.Seek(-4, Origin::Current);
    } else if (n < p) {
        for (;;) {
            const qint64 r = s.position();
            const qint32 page = readInt32(s);
            if (page == n)
                break;
            if (page < n)
                damaged(r);
            s.Seek(-8, Origin::Current);
            const qint32 previous = readInt32(s);
            if (previous < 0 || previous > r - RecordOverhead)
                damaged(r - 4);
            s.Seek(previous, Origin::Beginning);
        }
        s.Seek(-4, Origin::Current);
    }
}

std::unique_ptr<platform::EmfPicture> TReportPageList::GetPage(qint32 n)
{
    QMutexLocker lock(&m_lock);
    if (!m_stream || n < 1 || n > m_pageCount)
        return nullptr;
    TReportStream& s = *m_stream;
    // A fetch that fails goes back to where it started, a record boundary the next walk needs.
    const qint64 start = s.position();
    try {
        return readPage(n);
    } catch (...) {
        s.Seek(start, Origin::Beginning);
        throw;
    }
}

std::unique_ptr<platform::EmfPicture> TReportPageList::readPage(qint32 n)
{
    TReportStream& s = *m_stream;
    SeekToPage(n);
    const qint64 r = s.position();
    readInt32(s);
    const qint32 next = readInt32(s);

    QByteArray bytes(platform::EmfPicture::MinimumHeaderSize, Qt::Uninitialized);
    s.ReadBuffer(bytes.data(), bytes.size());
    const quint32 total = platform::EmfPicture::declaredSize(bytes);
    // A size field larger than what is left is a cut-short store, not a reason to allocate.
    if (total - quint64(bytes.size()) > quint64(std::max<qint64>(0, s.size() - s.position())))
        throw platform::EInOutError(QStringLiteral("Stream read error"));
    const qsizetype head = bytes.size();
    bytes.resize(total);
    s.ReadBuffer(bytes.data() + head, total - head);
    auto page = std::make_unique<platform::EmfPicture>(std::move(bytes));
    const qint64 end = s.position() + 4;
    if (readInt32(s) != r || next != end)
        damaged(r);
    return page;
}

} // namespace report
