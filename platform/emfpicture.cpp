#include "platform/emfpicture.h"

#include "platform/emfpainter.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <vector>

extern "C" {
#include <uemf_safe.h>
}

namespace platform {

namespace {

enum RecordType : quint32
{
    EMR_HEADER = 1,
    EMR_EOF = 14,
    EMR_SETBKMODE = 18,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_MOVETOEX = 27,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_LINETO = 54,
    EMR_BITBLT = 76,
    EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
};

constexpr quint32 Signature = 0x464D4520; // " EMF"
constexpr quint32 PATCOPY = 0x00F00021;
constexpr quint32 SRCCOPY = 0x00CC0020;
constexpr quint32 ETO_GLYPH_INDEX = 0x10;
constexpr quint32 ETO_NO_RECT = 0x100;
constexpr quint32 ETO_PDY = 0x2000;
constexpr quint32 StockObject = 0x80000000;
// Far beyond any page yet small enough for the rasteriser's fixed-point arithmetic.
constexpr double DeviceLimit = 1 << 24;
constexpr qint64 FontLimit = 1 << 14;

[[noreturn]] void fail(const QString& what, qint64 offset)
{
    throw EMetafileError(formatMessage(QStringLiteral("Invalid metafile: %s at offset %s"),
                                       {what, QString::number(offset)}));
}

quint32 le32(const uchar* p)
{
    return qFromLittleEndian<quint32>(p);
}

/// One record, every field read checked against the record's own size.
class Record
{
public:
    Record(const uchar* data, quint32 size, qint64 offset)
        : m_data(data), m_size(size), m_offset(offset)
    {}

    quint32 type() const { return le32(m_data); }
    quint32 size() const { return m_size; }

    void need(quint64 offset, quint64 length, const char* what) const
    {
        if (offset + length > m_size)
            fail(QString::fromLatin1(what) + QStringLiteral(" past the end of the record"),
                 m_offset);
    }
    quint32 u32(quint32 offset) const
    {
        need(offset, 4, "field");
        return le32(m_data + offset);
    }
    qint32 i32(quint32 offset) const { return qint32(u32(offset)); }
    quint16 u16(quint32 offset) const
    {
        need(offset, 2, "field");
        return qFromLittleEndian<quint16>(m_data + offset);
    }
    quint8 u8(quint32 offset) const
    {
        need(offset, 1, "field");
        return m_data[offset];
    }
    const uchar* at(quint32 offset) const { return m_data + offset; }
    qint64 offset() const { return m_offset; }

private:
    const uchar* m_data;
    quint32 m_size;
    qint64 m_offset;
};

QRgb fromColorRef(quint32 ref)
{
    return qRgb(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

struct Mapping
{
    double left = 0;
    double top = 0;
    double frameLeft = 0;
    double frameTop = 0;
    double sx = 1;
    double sy = 1;

    static int device(double v)
    {
        return int(std::lround(std::clamp(v, -DeviceLimit, DeviceLimit)));
    }
    int x(qint64 v) const { return device(left + (double(v) - frameLeft) * sx); }
    int y(qint64 v) const { return device(top + (double(v) - frameTop) * sy); }
};

struct GdiObject
{
    enum Kind
    {
        None,
        Font,
        Brush,
        Pen
    };
    Kind kind = None;
    CanvasFont font;
    bool null = false;
    QRgb color = 0;
    int width = 0;
};

/// Walks the records; with a canvas it draws them, without one it only checks them.
class Player
{
public:
    Player(DeviceCanvas* canvas, const Mapping& mapping, quint16 handles)
        : m_canvas(canvas), m_map(mapping), m_objects(std::max<int>(1, handles))
    {
        m_brush.kind = GdiObject::Brush;
        m_brush.color = qRgb(255, 255, 255);
        m_pen.kind = GdiObject::Pen;
        m_pen.color = qRgb(0, 0, 0);
        if (m_canvas)
            m_canvas->setFont(scaled(CanvasFont{}));
    }

    void run(const QByteArray& bytes, bool checkEach);

private:
    void play(const Record& r);
    void text(const Record& r);
    void stretchDibits(const Record& r);
    void select(quint32 handle);
    GdiObject* object(quint32 handle)
    {
        return handle > 0 && handle < m_objects.size() ? &m_objects[handle] : nullptr;
    }
    CanvasFont scaled(CanvasFont font) const
    {
        const double h = std::min<double>(FontLimit, std::round(font.pixelHeight * m_map.sy));
        font.pixelHeight = std::max(1, int(h));
        return font;
    }

    DeviceCanvas* m_canvas;
    Mapping m_map;
    std::vector<GdiObject> m_objects;
    GdiObject m_brush;
    GdiObject m_pen;
    qint64 m_posX = 0;
    qint64 m_posY = 0;
};

void Player::run(const QByteArray& bytes, bool checkEach)
{
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const qint64 total = bytes.size();
    qint64 offset = 0;
    while (offset < total) {
        if (total - offset < 8)
            fail(QStringLiteral("record cut short"), offset);
        const quint32 size = le32(data + offset + 4);
        if (size < 8 || size % 4 != 0 || size > total - offset)
            fail(QStringLiteral("record size %1").arg(size), offset);
        const Record r(data + offset, size, offset);
        if ((offset == 0) != (r.type() == EMR_HEADER))
            fail(QStringLiteral("misplaced header record"), offset);
        if (r.type() != EMR_EOF)
            play(r);
        // The library's own check after ours, for the records this player does not read.
        if (checkEach && !U_emf_record_safe(reinterpret_cast<const char*>(r.at(0))))
            fail(QStringLiteral("inconsistent record of type %1").arg(r.type()), offset);
        offset += size;
        if (r.type() == EMR_EOF) {
            if (offset != total)
                fail(QStringLiteral("data after the end record"), offset);
            return;
        }
    }
    fail(QStringLiteral("no end record"), total);
}

void Player::play(const Record& r)
{
    switch (r.type()) {
    case EMR_SETTEXTALIGN:
        if (m_canvas)
            m_canvas->setTextAlign(r.u32(8));
        break;
    case EMR_SETBKMODE: {
        const quint32 mode = r.u32(8);
        if (m_canvas && (mode == quint32(BkMode::Transparent) || mode == quint32(BkMode::Opaque)))
            m_canvas->setBkMode(BkMode(mode));
        break;
    }
    case EMR_SETTEXTCOLOR:
        if (const QRgb c = fromColorRef(r.u32(8)); m_canvas)
            m_canvas->setTextColor(QColor(c));
        break;
    case EMR_SETBKCOLOR:
        if (const QRgb c = fromColorRef(r.u32(8)); m_canvas)
            m_canvas->setBkColor(QColor(c));
        break;
    case EMR_EXTCREATEFONTINDIRECTW: {
        r.need(12, 92, "font");
        GdiObject* o = object(r.u32(8));
        if (!o)
            break;
        CanvasFont f;
        const qint64 height = r.i32(12);
        f.weight = r.i32(28);
        f.italic = r.u8(32) != 0;
        f.underline = r.u8(33) != 0;
        f.strikeOut = r.u8(34) != 0;
        for (quint32 i = 0; i < 32; ++i) {
            const quint16 c = r.u16(40 + 2 * i);
            if (c == 0)
                break;
            f.face += QChar(c);
        }
        if (height < 0) {
            f.pixelHeight = int(std::min(-height, FontLimit));
        } else if (height > 0) {
            // A positive height is the cell height; find the character height that fills it.
            CanvasFont probe = f;
            probe.pixelHeight = 100;
            const QFontMetrics fm(toQFont(probe));
            const double cell = std::max(1, fm.ascent() + fm.descent());
            f.pixelHeight = int(std::clamp<double>(std::round(height * 100 / cell), 1, FontLimit));
        }
        *o = GdiObject{GdiObject::Font, f, false, 0, 0};
        break;
    }
    case EMR_CREATEBRUSHINDIRECT: {
        const quint32 style = r.u32(12);
        const QRgb color = fromColorRef(r.u32(16));
        if (GdiObject* o = object(r.u32(8)))
            *o = GdiObject{GdiObject::Brush, {}, style == 1, color, 0};
        break;
    }
    case EMR_CREATEPEN: {
        const quint32 style = r.u32(12);
        const qint32 width = r.i32(16);
        const QRgb color = fromColorRef(r.u32(24));
        if (GdiObject* o = object(r.u32(8)))
            *o = GdiObject{GdiObject::Pen, {}, (style & 0xF) == 5, color, std::max(0, width)};
        break;
    }
    case EMR_SELECTOBJECT:
        select(r.u32(8));
        break;
    case EMR_DELETEOBJECT:
        if (GdiObject* o = object(r.u32(8)))
            *o = GdiObject{};
        break;
    case EMR_MOVETOEX:
        m_posX = r.i32(8);
        m_posY = r.i32(12);
        break;
    case EMR_LINETO: {
        const qint64 x = r.i32(8);
        const qint64 y = r.i32(12);
        if (m_canvas && !m_pen.null) {
            const int width = int(std::min<double>(FontLimit, std::round(m_pen.width * m_map.sx)));
            m_canvas->line(m_map.x(m_posX), m_map.y(m_posY), m_map.x(x), m_map.y(y),
                           QColor(m_pen.color), width);
        }
        m_posX = x;
        m_posY = y;
        break;
    }
    case EMR_BITBLT: {
        r.need(0, 100, "bit block transfer");
        const qint64 x = r.i32(24);
        const qint64 y = r.i32(28);
        const qint64 cx = r.i32(32);
        const qint64 cy = r.i32(36);
        // Only the brush fill is played; copies of bitmaps are not written by this program.
        if (m_canvas && r.u32(40) == PATCOPY && r.u32(88) == 0 && !m_brush.null)
            m_canvas->fillRect(m_map.x(x), m_map.y(y), m_map.x(x + cx), m_map.y(y + cy),
                               QColor(m_brush.color));
        break;
    }
    case EMR_STRETCHDIBITS:
        stretchDibits(r);
        break;
    case EMR_EXTTEXTOUTW:
        text(r);
        break;
    default:
        break;
    }
}

void Player::select(quint32 handle)
{
    if (handle & StockObject) {
        const quint32 stock = handle & ~StockObject;
        if (stock <= 5) {
            static const int greys[] = {255, 192, 128, 64, 0};
            m_brush = GdiObject{GdiObject::Brush, {}, stock == 5, 0, 0};
            if (stock < 5)
                m_brush.color = qRgb(greys[stock], greys[stock], greys[stock]);
        } else if (stock <= 8) {
            m_pen = GdiObject{GdiObject::Pen, {}, stock == 8, 0, 0};
            m_pen.color = stock == 6 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        } else if (stock >= 10 && stock <= 17 && m_canvas) {
            m_canvas->setFont(scaled(CanvasFont{}));
        }
        return;
    }
    const GdiObject* o = object(handle);
    if (!o)
        return;
    switch (o->kind) {
    case GdiObject::Font:
        if (m_canvas)
            m_canvas->setFont(scaled(o->font));
        break;
    case GdiObject::Brush:
        m_brush = *o;
        break;
    case GdiObject::Pen:
        m_pen = *o;
        break;
    case GdiObject::None:
        break;
    }
}

void Player::text(const Record& r)
{
    const quint32 options = r.u32(52);
    const quint32 fixedPart = options & ETO_NO_RECT ? 60 : 76;
    r.need(0, fixedPart, "text");
    const qint64 x = r.i32(36);
    const qint64 y = r.i32(40);
    const quint64 count = r.u32(44);
    const quint32 stringOffset = r.u32(48);
    const quint32 dxOffset = r.u32(fixedPart - 4);
    if (count == 0)
        return;
    r.need(stringOffset, count * 2, "text string");
    if (dxOffset != 0)
        r.need(dxOffset, count * (options & ETO_PDY ? 8 : 4), "character spacing");
    if (!m_canvas || (options & ETO_GLYPH_INDEX))
        return;
    QString s(qsizetype(count), Qt::Uninitialized);
    for (quint64 i = 0; i < count; ++i)
        s[qsizetype(i)] = QChar(qFromLittleEndian<quint16>(r.at(stringOffset + 2 * quint32(i))));
    m_canvas->textOut(m_map.x(x), m_map.y(y), s);
}

void Player::stretchDibits(const Record& r)
{
    r.need(0, 80, "stretched bitmap");
    const quint32 bmiOffset = r.u32(48);
    const quint32 bmiSize = r.u32(52);
    const quint32 bitsOffset = r.u32(56);
    const quint32 bitsSize = r.u32(60);
    if (bmiSize < 40)
        fail(QStringLiteral("bitmap header size %1").arg(bmiSize), r.offset());
    r.need(bmiOffset, bmiSize, "bitmap header");
    r.need(bitsOffset, bitsSize, "bitmap bits");
    const quint32 headerSize = r.u32(bmiOffset);
    if (headerSize < 40 || headerSize > bmiSize)
        fail(QStringLiteral("bitmap header size %1").arg(headerSize), r.offset());
    const qint64 width = r.i32(bmiOffset + 4);
    const qint64 signedHeight = r.i32(bmiOffset + 8);
    const quint16 bitCount = r.u16(bmiOffset + 14);
    const quint32 compression = r.u32(bmiOffset + 16);
    // Bitmaps this program writes: uncompressed 24 or 32 bits, copied as they are.
    if (compression != 0 || (bitCount != 24 && bitCount != 32) || r.u32(64) != 0 ||
        r.u32(68) != SRCCOPY)
        return;
    const qint64 height = signedHeight < 0 ? -signedHeight : signedHeight;
    if (width <= 0 || height == 0)
        fail(QStringLiteral("bitmap size %1 x %2").arg(width).arg(signedHeight), r.offset());
    const quint64 stride = (quint64(width) * bitCount + 31) / 32 * 4;
    if (stride * quint64(height) > bitsSize)
        fail(QStringLiteral("bitmap larger than its bits"), r.offset());
    if (!m_canvas)
        return;

    const qint64 xSrc = r.i32(32);
    const qint64 ySrc = r.i32(36);
    const qint64 cxSrc = r.i32(40);
    const qint64 cySrc = r.i32(44);
    // A bottom-up bitmap counts its source rows from the bottom.
    const qint64 top = signedHeight > 0 ? height - ySrc - cySrc : ySrc;
    const qint64 left = std::max<qint64>(0, xSrc);
    const qint64 right = std::min<qint64>(width, xSrc + cxSrc);
    const qint64 firstRow = std::max<qint64>(0, top);
    const qint64 lastRow = std::min<qint64>(height, top + cySrc);
    if (right <= left || lastRow <= firstRow)
        return;
    QImage image(int(right - left), int(lastRow - firstRow), QImage::Format_RGB32);
    if (image.isNull())
        return;
    const int bytesPerPixel = bitCount / 8;
    for (qint64 row = firstRow; row < lastRow; ++row) {
        const qint64 stored = signedHeight > 0 ? height - 1 - row : row;
        const uchar* src = r.at(bitsOffset) + quint64(stored) * stride;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(int(row - firstRow)));
        for (qint64 col = left; col < right; ++col) {
            const uchar* px = src + col * bytesPerPixel;
            dst[col - left] = qRgb(px[2], px[1], px[0]);
        }
    }
    const qint64 x = r.i32(24);
    const qint64 y = r.i32(28);
    m_canvas->stretchDraw(m_map.x(x), m_map.y(y), m_map.x(x + r.i32(72)), m_map.y(y + r.i32(76)),
                          image);
}

} // namespace

quint32 EmfPicture::declaredSize(QByteArrayView head)
{
    if (head.size() < MinimumHeaderSize)
        fail(QStringLiteral("header cut short"), head.size());
    const auto* p = reinterpret_cast<const uchar*>(head.data());
    const quint32 headerSize = le32(p + 4);
    const quint32 total = le32(p + 48);
    if (le32(p) != EMR_HEADER || le32(p + 40) != Signature)
        fail(QStringLiteral("no metafile header"), 0);
    if (headerSize < MinimumHeaderSize || headerSize % 4 != 0)
        fail(QStringLiteral("header size %1").arg(headerSize), 0);
    if (total < headerSize || total % 4 != 0)
        fail(QStringLiteral("total size %1").arg(total), 48);
    return total;
}

EmfPicture::EmfPicture(QByteArray bytes) : m_bytes(std::move(bytes))
{
    const quint32 total = declaredSize(m_bytes);
    if (total > quint64(m_bytes.size()))
        fail(QStringLiteral("metafile cut short: %1 of %2 bytes").arg(m_bytes.size()).arg(total),
             m_bytes.size());
    m_bytes.truncate(total);

    const Record header(reinterpret_cast<const uchar*>(m_bytes.constData()),
                        le32(reinterpret_cast<const uchar*>(m_bytes.constData()) + 4), 0);
    const qint64 frame[4] = {header.i32(24), header.i32(28), header.i32(32), header.i32(36)};
    m_handleCount = header.u16(56);
    const quint32 descriptionLength = header.u32(60);
    const quint32 descriptionOffset = header.u32(64);
    // The optional header extensions are there when the header is long enough and no
    // description or pixel format sits where they would be.
    auto extended = [&](quint32 end) {
        if (header.size() < end || (descriptionLength != 0 && descriptionOffset < end))
            return false;
        return end <= 100 || header.u32(88) == 0 || header.u32(92) >= end;
    };
    const double deviceX = header.i32(72);
    const double deviceY = header.i32(76);
    double hundredthsX = header.i32(80) * 100.0;
    double hundredthsY = header.i32(84) * 100.0;
    if (extended(108) && header.i32(100) > 0 && header.i32(104) > 0) {
        hundredthsX = header.i32(100) / 10.0;
        hundredthsY = header.i32(104) / 10.0;
    }
    if (deviceX <= 0 || deviceY <= 0 || hundredthsX <= 0 || hundredthsY <= 0)
        fail(QStringLiteral("reference device size"), 72);
    const double pixelsX = deviceX / hundredthsX; // per 0.01 mm
    const double pixelsY = deviceY / hundredthsY;
    m_frameLeft = frame[0] * pixelsX;
    m_frameTop = frame[1] * pixelsY;
    m_frameWidth = (frame[2] - frame[0]) * pixelsX;
    m_frameHeight = (frame[3] - frame[1]) * pixelsY;
    check();
}

void EmfPicture::check() const
{
    Player(nullptr, Mapping{}, m_handleCount).run(m_bytes, true);
}

QSize EmfPicture::size() const
{
    auto pixels = [](double v) { return int(std::lround(std::clamp(v, 0.0, DeviceLimit))); };
    return {pixels(m_frameWidth), pixels(m_frameHeight)};
}

void EmfPicture::play(QPainter& painter, const QRect& target) const
{
    if (target.width() <= 0 || target.height() <= 0 || m_frameWidth <= 0 || m_frameHeight <= 0)
        return;
    Mapping map;
    map.left = target.left();
    map.top = target.top();
    map.frameLeft = m_frameLeft;
    map.frameTop = m_frameTop;
    map.sx = target.width() / m_frameWidth;
    map.sy = target.height() / m_frameHeight;

    struct Restore
    {
        QPainter& painter;
        ~Restore() { painter.restore(); }
    };
    painter.save();
    const Restore restore{painter};
    PainterCanvas canvas(painter);
    Player(&canvas, map, m_handleCount).run(m_bytes, false);
}

} // namespace platform
