#include "skins/bmp.h"

#include <QtEndian>

namespace skins {
namespace {

constexpr qint64 kMaxSide = 16384;

template <typename T> T at(QByteArrayView bytes, qsizetype offset)
{
    return qFromLittleEndian<T>(bytes.data() + offset);
}

} // namespace

QImage decodeBmp(QByteArrayView file)
{
    constexpr qsizetype kFileHeader = 14;
    if (file.size() < kFileHeader + 40 || file[0] != 'B' || file[1] != 'M')
        return {};
    const quint32 dataOffset = at<quint32>(file, 10);
    const quint32 infoSize = at<quint32>(file, 14);
    if (infoSize < 40 || infoSize > quint32(file.size() - kFileHeader))
        return {};
    const qint64 width = at<qint32>(file, 18);
    const qint64 rawHeight = at<qint32>(file, 22);
    const int bits = at<quint16>(file, 28);
    const quint32 compression = at<quint32>(file, 30);
    quint32 colours = at<quint32>(file, 46);
    const bool topDown = rawHeight < 0;
    const qint64 height = topDown ? -rawHeight : rawHeight;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || compression != 0)
        return {};
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return {};

    QList<QRgb> palette;
    if (bits <= 8) {
        const quint32 most = 1u << bits;
        if (colours == 0 || colours > most)
            colours = most;
        const qsizetype paletteAt = kFileHeader + qsizetype(infoSize);
        if (paletteAt + qsizetype(colours) * 4 > file.size())
            return {};
        for (quint32 i = 0; i < colours; ++i) {
            const auto* p = reinterpret_cast<const uchar*>(file.data() + paletteAt + i * 4);
            palette.append(qRgb(p[2], p[1], p[0]));
        }
    }
    const qint64 stride = ((width * bits + 31) / 32) * 4;
    if (dataOffset > quint64(file.size()) || stride * height > file.size() - qint64(dataOffset))
        return {};

    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const auto* pixels = reinterpret_cast<const uchar*>(file.data() + dataOffset);
    for (qint64 y = 0; y < height; ++y) {
        const uchar* row = pixels + (topDown ? y : height - 1 - y) * stride;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (qint64 x = 0; x < width; ++x) {
            if (bits == 24) {
                const uchar* p = row + x * 3;
                out[x] = qRgb(p[2], p[1], p[0]);
            } else if (bits == 32) {
                const uchar* p = row + x * 4;
                out[x] = qRgb(p[2], p[1], p[0]);
            } else {
                const qint64 bit = x * bits;
                const unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                // An index past a short palette reads as black, as the system draws it.
                out[x] = index < unsigned(palette.size()) ? palette[index] : qRgb(0, 0, 0);
            }
        }
    }
    return image;
}

QByteArray encodeBmp(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int stride = ((image.width() * 24 + 31) / 32) * 4;
    const quint32 dataSize = quint32(stride) * quint32(image.height());
    QByteArray out(54 + qsizetype(dataSize), '\0');
    char* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<quint32>(54 + dataSize, p + 2);
    qToLittleEndian<quint32>(54, p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(image.width(), p + 18);
    qToLittleEndian<qint32>(image.height(), p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(24, p + 28);
    qToLittleEndian<quint32>(dataSize, p + 34);
    qToLittleEndian<qint32>(3780, p + 38); // 96 pixels per inch
    qToLittleEndian<qint32>(3780, p + 42);
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        auto* row = reinterpret_cast<uchar*>(p + 54 + qsizetype(image.height() - 1 - y) * stride);
        for (int x = 0; x < image.width(); ++x) {
            row[x * 3] = uchar(qBlue(in[x]));
            row[x * 3 + 1] = uchar(qGreen(in[x]));
            row[x * 3 + 2] = uchar(qRed(in[x]));
        }
    }
    return out;
}

} // namespace skins
