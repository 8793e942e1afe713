#pragma once

#include "report/reportstream.h"

#include <QRecursiveMutex>
#include <memory>

namespace platform {
class EmfPicture;
}

namespace report {

/// The pages of a preview run, kept serialised in one TReportStream: a 128-byte header (an
/// older 124-byte one is read too) and then one record per page,
///   page number, offset of the next record, the page's metafile, offset of this record,
/// all numbers 32-bit little-endian. A page is found by walking the records from the stream's
/// current position, so the next or previous page is one or two records away.
class TReportPageList
{
public:
    static constexpr qint32 CurrentHeaderSize = 128;
    static constexpr qint32 OlderHeaderSize = 124;

    TReportPageList();
    ~TReportPageList();
    TReportPageList(const TReportPageList&) = delete;
    TReportPageList& operator=(const TReportPageList&) = delete;

    /// A new run: the store takes this stream (releasing the old one and any temporary file)
    /// and holds no pages.
    void setStream(std::unique_ptr<TReportStream> stream);
    /// The stream, or none before the first run.
    TReportStream* stream() const { return m_stream.get(); }

    qint32 pageCount() const;
    bool compression() const { return m_compression; }
    void setCompression(bool compression) { m_compression = compression; }

    /// Appends a page; the first page also writes the header.
    void AddPage(const platform::EmfPicture& page);
    /// A new picture of page n, or none when n is not between 1 and the page count.
    /// A damaged store raises an error ("Stream read error" when it ends too soon).
    std::unique_ptr<platform::EmfPicture> GetPage(qint32 n);
    /// Positions the stream at the start of record n, walking from the current position.
    void SeekToPage(qint32 n);
    /// Writes the header with the current page count and the time now at offset 0.
    void WriteHeader();
    /// Reads the header at offset 0 and takes its page count.
    void ReadHeader();
    /// 124 when the first page's metafile signature sits where an older header puts it.
    qint32 HeaderSize();

private:
    TReportStream& requireStream() const;
    std::unique_ptr<platform::EmfPicture> readPage(qint32 n);

    mutable QRecursiveMutex m_lock;
    qint32 m_pageCount = 0;
    bool m_compression = false;
    std::unique_ptr<TReportStream> m_stream;
};

} // namespace report
