// Any bytes as a saved page store: pages that come back, or an error, never a crash, an endless
// walk or a read out of bounds. The first byte says how many of the following bytes are page
// numbers to fetch in turn; an odd count spoils a store built here (4-byte patches at chosen
// offsets, then an optional cut), an even one takes the remaining bytes as the store. With the
// first byte's top bit set the store lives in a temporary file instead of memory.

#include "platform/emfpicture.h"
#include "platform/emfrecorder.h"
#include "platform/errors.h"
#include "report/reportpagelist.h"
#include "tests/fuzz/common/spoil.h"

#include <QGuiApplication>
#include <QtEndian>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

QByteArray builtStore()
{
    report::TReportPageList list;
    list.setStream(std::make_unique<report::TReportStream>());
    for (int n = 1; n <= 4; ++n) {
        platform::EmfRecorder r(100, 140, 96);
        r.textOut(10, 10 * n, QString(n, u'页'));
        list.AddPage(r.picture());
    }
    list.WriteHeader();
    report::TReportStream& s = *list.stream();
    QByteArray bytes(s.size(), Qt::Uninitialized);
    s.Seek(0, report::TReportStream::SeekOrigin::Beginning);
    s.ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    // Font loading fills caches once; done here it is not taken for a leak of the first input.
    builtStore();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QByteArray base = builtStore();
    if (size == 0)
        return 0;
    const size_t fetches = std::min<size_t>(data[0] % 16, size - 1);
    const std::vector<uint8_t> pages(data + 1, data + 1 + fetches);
    const uint8_t* rest = data + 1 + fetches;
    const size_t restSize = size - 1 - fetches;
    const QByteArray bytes =
        fetches % 2 ? fuzzsupport::spoiled(base, rest, restSize)
                    : QByteArray(reinterpret_cast<const char*>(rest), qsizetype(restSize));
    try {
        report::TReportPageList list;
        auto stream = std::make_unique<report::TReportStream>(
            data[0] & 0x80 ? 0 : report::TReportStream::DefaultMemoryLimit);
        stream->WriteBuffer(bytes.constData(), bytes.size());
        list.setStream(std::move(stream));
        list.ReadHeader();
        for (uint8_t n : pages)
            list.GetPage(qint32(n % 8) - 1);
    } catch (const platform::EError&) {
    }
    return 0;
}
