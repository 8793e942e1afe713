#include "tools/assetgen/pngwriter.h"

#include <QtEndian>
#include <array>

namespace assetgen {

namespace {

quint32 crc32(const QByteArray& bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (const char b : bytes)
        c = table[(c ^ static_cast<quint8>(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void chunk(QByteArray& out, const char* type, const QByteArray& data)
{
    uchar length[4];
    qToBigEndian(quint32(data.size()), length);
    out.append(reinterpret_cast<const char*>(length), 4);
    const QByteArray typed = QByteArray(type, 4) + data;
    out += typed;
    uchar crc[4];
    qToBigEndian(crc32(typed), crc);
    out.append(reinterpret_cast<const char*>(crc), 4);
}

} // namespace

QByteArray encodePngUnfiltered(const QImage& image)
{
    if (image.isNull())
        return {};
    const bool alpha = image.hasAlphaChannel();
    const QImage pixels =
        image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const int rowBytes = pixels.width() * (alpha ? 4 : 3);
    QByteArray raw;
    raw.reserve((rowBytes + 1) * pixels.height());
    for (int y = 0; y < pixels.height(); ++y) {
        raw += '\0'; // filter type none
        raw.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), rowBytes);
    }

    QByteArray header(13, '\0');
    qToBigEndian(quint32(pixels.width()), header.data());
    qToBigEndian(quint32(pixels.height()), header.data() + 4);
    header[8] = 8;                   // bits per channel
    header[9] = char(alpha ? 6 : 2); // RGBA or RGB
    // compression, filter method and interlace stay 0

    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    chunk(out, "IHDR", header);
    // qCompress is a zlib stream behind a four-byte length of its own.
    chunk(out, "IDAT", qCompress(raw, 9).mid(4));
    chunk(out, "IEND", {});
    return out;
}

} // namespace assetgen
