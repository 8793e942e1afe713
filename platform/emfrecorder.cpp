#include "platform/emfrecorder.h"

#include "platform/emfpicture.h"

#include <QFontMetrics>
#include <QImage>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

extern "C" {
#include <uemf.h>
#include <uemf_endian.h>
}

namespace platform {

namespace {

U_COLORREF colorRef(QRgb rgb)
{
    return colorref3_set(quint8(qRed(rgb)), quint8(qGreen(rgb)), quint8(qBlue(rgb)));
}

U_RECTL rect(qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    auto c = [](qint64 v) { return int32_t(std::clamp<qint64>(v, INT32_MIN, INT32_MAX)); };
    return rectl_set(point32_set(c(left), c(top)), point32_set(c(right), c(bottom)));
}

int32_t roundedTimes(int pixels, double factor)
{
    return int32_t(std::lround(pixels * factor));
}

void putLE32(QByteArray& bytes, int offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

} // namespace

EmfRecorder::EmfRecorder(int width, int height, int dpi)
    : m_width(std::max(0, width)), m_height(std::max(0, height)), m_dpi(dpi > 0 ? dpi : 96),
      m_qfont(toQFont({}))
{}

void EmfRecorder::append(char* record)
{
    if (!record)
        throw std::bad_alloc();
    uint32_t size;
    std::memcpy(&size, record + 4, 4);
    m_records.append(record, size);
    ++m_recordCount;
    std::free(record);
}

quint32 EmfRecorder::nextSlot(quint32 base, quint32 current)
{
    const quint32 slot = current == base ? base + 1 : base;
    if (m_slotUsed[slot]) {
        uint32_t handle = slot;
        append(U_EMRDELETEOBJECT_set(handle));
    }
    m_slotUsed[slot] = true;
    return slot;
}

void EmfRecorder::setFont(const CanvasFont& font)
{
    m_want.font = font;
    m_qfont = toQFont(font);
}

void EmfRecorder::applyTextState()
{
    if (m_want.font != m_written.font) {
        const CanvasFont& f = m_want.font;
        uint16_t face[U_LF_FACESIZE] = {};
        const qsizetype n = std::min<qsizetype>(f.face.size(), U_LF_FACESIZE - 1);
        for (qsizetype i = 0; i < n; ++i)
            face[i] = f.face.at(i).unicode();
        // A negative height asks for the character height, not the cell height.
        const U_LOGFONT lf =
            logfont_set(-std::max(1, f.pixelHeight), 0, 0, 0, f.weight, f.italic, f.underline,
                        f.strikeOut, U_DEFAULT_CHARSET, U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS,
                        U_DEFAULT_QUALITY, U_DEFAULT_PITCH | U_FF_DONTCARE, face);
        m_fontHandle = nextSlot(FontSlot, m_fontHandle);
        append(U_EMREXTCREATEFONTINDIRECTW_set(m_fontHandle, reinterpret_cast<const char*>(&lf),
                                               nullptr));
        append(U_EMRSELECTOBJECT_set(m_fontHandle));
        m_written.font = f;
    }
    if (m_want.textColor != m_written.textColor)
        append(U_EMRSETTEXTCOLOR_set(colorRef(m_want.textColor)));
    if (m_want.bkColor != m_written.bkColor)
        append(U_EMRSETBKCOLOR_set(colorRef(m_want.bkColor)));
    if (m_want.bkMode != m_written.bkMode)
        append(U_EMRSETBKMODE_set(quint32(m_want.bkMode)));
    if (m_want.textAlign != m_written.textAlign)
        append(U_EMRSETTEXTALIGN_set(m_want.textAlign));
    m_written = m_want;
}

void EmfRecorder::selectBrush(QRgb color)
{
    if (m_brushHandle != 0 && m_brushColor == color)
        return;
    m_brushHandle = nextSlot(BrushSlot, m_brushHandle);
    append(
        U_EMRCREATEBRUSHINDIRECT_set(m_brushHandle, logbrush_set(U_BS_SOLID, colorRef(color), 0)));
    append(U_EMRSELECTOBJECT_set(m_brushHandle));
    m_brushColor = color;
}

void EmfRecorder::selectPen(const Pen& pen)
{
    if (m_penHandle != 0 && m_pen == pen)
        return;
    m_penHandle = nextSlot(PenSlot, m_penHandle);
    U_POINT width = point32_set(pen.width, 0);
    append(U_EMRCREATEPEN_set(m_penHandle, logpen_set(U_PS_SOLID, width, colorRef(pen.color))));
    append(U_EMRSELECTOBJECT_set(m_penHandle));
    m_pen = pen;
}

void EmfRecorder::include(qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    if (right < left || bottom < top)
        return;
    if (!m_hasBounds) {
        m_bounds[0] = left;
        m_bounds[1] = top;
        m_bounds[2] = right;
        m_bounds[3] = bottom;
        m_hasBounds = true;
        return;
    }
    m_bounds[0] = std::min(m_bounds[0], left);
    m_bounds[1] = std::min(m_bounds[1], top);
    m_bounds[2] = std::max(m_bounds[2], right);
    m_bounds[3] = std::max(m_bounds[3], bottom);
}

void EmfRecorder::textOut(int x, int y, const QString& text)
{
    if (text.isEmpty())
        return;
    applyTextState();
    const QFontMetrics fm(m_qfont);

    // Character advances go with the text, as the format expects, so other viewers space
    // the characters as they were measured here.
    std::vector<uint16_t> chars(text.size());
    std::vector<uint32_t> dx(text.size(), 0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        chars[i] = text.at(i).unicode();
        if (text.at(i).isLowSurrogate())
            continue;
        // A lone character is looked up, not shaped: a tenth of the cost, the same advance.
        const int advance = text.at(i).isHighSurrogate() && i + 1 < text.size()
                                ? fm.horizontalAdvance(text.mid(i, 2))
                                : fm.horizontalAdvance(text.at(i));
        dx[i] = uint32_t(std::max(0, advance));
    }

    const int width = fm.horizontalAdvance(text);
    const quint32 align = m_written.textAlign;
    qint64 left = x;
    if ((align & TA_CENTER) == TA_CENTER)
        left = x - width / 2;
    else if (align & TA_RIGHT)
        left = x - width;
    qint64 top = y;
    if ((align & TA_BASELINE) == TA_BASELINE)
        top = y - fm.ascent();
    else if (align & TA_BOTTOM)
        top = qint64(y) - fm.ascent() - fm.descent();
    const qint64 right = left + width - 1;
    const qint64 bottom = top + fm.ascent() + fm.descent() - 1;
    include(left, top, right, bottom);

    char* emrText = emrtext_set(point32_set(x, y), U_NUM_STR(chars.size()), 2, chars.data(),
                                U_ETO_NONE, rect(0, 0, -1, -1), dx.data());
    if (!emrText)
        throw std::bad_alloc();
    // Page units are device pixels; the scales convert them to 0.01 mm.
    const float scale = float(2540.0 / m_dpi);
    char* record = U_EMREXTTEXTOUTW_set(rect(left, top, right, bottom), U_GM_COMPATIBLE, scale,
                                        scale, reinterpret_cast<PU_EMRTEXT>(emrText));
    std::free(emrText);
    append(record);
}

void EmfRecorder::fillRect(int left, int top, int right, int bottom, QColor color)
{
    if (right <= left || bottom <= top)
        return;
    selectBrush(color.rgb());
    // What a fill of a rectangle records: a pattern copy of the brush, no source bitmap.
    const qint64 cx = qint64(right) - left;
    const qint64 cy = qint64(bottom) - top;
    append(U_EMRBITBLT_set(rect(left, top, qint64(right) - 1, qint64(bottom) - 1),
                           point32_set(left, top),
                           point32_set(int32_t(std::min<qint64>(cx, INT32_MAX)),
                                       int32_t(std::min<qint64>(cy, INT32_MAX))),
                           point32_set(0, 0), xform_set(1, 0, 0, 1, 0, 0), colorref3_set(0, 0, 0),
                           U_DIB_RGB_COLORS, U_PATCOPY, nullptr, 0, nullptr));
    include(left, top, qint64(right) - 1, qint64(bottom) - 1);
}

void EmfRecorder::line(int x1, int y1, int x2, int y2, QColor color, int width)
{
    selectPen({color.rgb(), std::max(0, width)});
    append(U_EMRMOVETOEX_set(point32_set(x1, y1)));
    append(U_EMRLINETO_set(point32_set(x2, y2)));
    const qint64 half = std::max(1, width) / 2;
    include(std::min(x1, x2) - half, std::min(y1, y2) - half, std::max(x1, x2) + half,
            std::max(y1, y2) + half);
}

void EmfRecorder::stretchDraw(int left, int top, int right, int bottom, const QImage& image)
{
    if (image.isNull() || right <= left || bottom <= top)
        return;
    // A bottom-up 24-bit DIB: every reader of the format understands it.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int w = rgb.width();
    const int h = rgb.height();
    const qsizetype stride = (qsizetype(w) * 3 + 3) & ~qsizetype(3);
    QByteArray pixels(stride * h, '\0');
    for (int row = 0; row < h; ++row) {
        const uchar* src = rgb.constScanLine(h - 1 - row);
        uchar* dst = reinterpret_cast<uchar*>(pixels.data()) + row * stride;
        for (int col = 0; col < w; ++col) {
            dst[col * 3] = src[col * 3 + 2];
            dst[col * 3 + 1] = src[col * 3 + 1];
            dst[col * 3 + 2] = src[col * 3];
        }
    }
    const U_BITMAPINFOHEADER header =
        bitmapinfoheader_set(w, h, 1, 24, U_BI_RGB, uint32_t(pixels.size()), 0, 0, 0, 0);
    PU_BITMAPINFO info = bitmapinfo_set(header, nullptr);
    if (!info)
        throw std::bad_alloc();
    char* record = U_EMRSTRETCHDIBITS_set(
        rect(left, top, qint64(right) - 1, qint64(bottom) - 1), point32_set(left, top),
        point32_set(int32_t(qint64(right) - left), int32_t(qint64(bottom) - top)),
        point32_set(0, 0), point32_set(w, h), U_DIB_RGB_COLORS, U_SRCCOPY, info,
        uint32_t(pixels.size()), pixels.data());
    std::free(info);
    append(record);
    include(left, top, qint64(right) - 1, qint64(bottom) - 1);
}

QSize EmfRecorder::textExtent(const QString& text) const
{
    const QFontMetrics fm(m_qfont);
    return {fm.horizontalAdvance(text), fm.ascent() + fm.descent()};
}

EmfPicture EmfRecorder::picture() const
{
    // A reference device ten inches square: its pixels per millimetre are exactly dpi / 25.4,
    // so a player gets the page size back without drift.
    const U_SIZEL device = sizel_set(m_dpi * 10, m_dpi * 10);
    const U_SIZEL millimetres = sizel_set(254, 254);
    const double hundredthsMmPerPixel = 2540.0 / m_dpi;
    const U_RECTL frame = rect(0, 0, roundedTimes(m_width, hundredthsMmPerPixel),
                               roundedTimes(m_height, hundredthsMmPerPixel));
    const U_RECTL bounds =
        m_hasBounds ? rect(m_bounds[0], m_bounds[1], m_bounds[2], m_bounds[3]) : rect(0, 0, -1, -1);
    char* header = U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, device, millimetres, 0);
    if (!header)
        throw std::bad_alloc();
    uint32_t headerSize;
    std::memcpy(&headerSize, header + 4, 4);

    QByteArray bytes;
    bytes.reserve(headerSize + m_records.size() + 20);
    bytes.append(header, headerSize);
    std::free(header);
    bytes.append(m_records);
    const quint32 eof[5] = {U_EMR_EOF, 20, 0, 16, 20};
    bytes.append(reinterpret_cast<const char*>(eof), sizeof eof);

#if Q_BYTE_ORDER == Q_BIG_ENDIAN
    U_emf_endian(bytes.data(), size_t(bytes.size()), 1);
#endif
    putLE32(bytes, 48, quint32(bytes.size()));
    putLE32(bytes, 52, m_recordCount + 2);
    qToLittleEndian(quint16(HandleCount), bytes.data() + 56);
    if (headerSize >= 108) {
        putLE32(bytes, 100, 254000);
        putLE32(bytes, 104, 254000);
    }
    return EmfPicture(std::move(bytes));
}

} // namespace platform
