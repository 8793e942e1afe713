#pragma once

#include "platform/emf.h"

#include <QByteArray>
#include <QFont>
#include <optional>

namespace platform {

class EmfPicture;

/// Records drawing calls as an enhanced metafile: a page of width × height device pixels of a
/// reference device with `dpi` pixels per inch (the screen, for a preview page). State records
/// (font, colours, alignment) are written only when a drawing call needs a changed value.
class EmfRecorder final : public DeviceCanvas
{
public:
    EmfRecorder(int width, int height, int dpi);

    void setFont(const CanvasFont& font) override;
    void setTextColor(QColor color) override { m_want.textColor = color.rgb(); }
    void setBkColor(QColor color) override { m_want.bkColor = color.rgb(); }
    void setBkMode(BkMode mode) override { m_want.bkMode = mode; }
    void setTextAlign(quint32 flags) override { m_want.textAlign = flags; }

    void textOut(int x, int y, const QString& text) override;
    void fillRect(int left, int top, int right, int bottom, QColor color) override;
    void line(int x1, int y1, int x2, int y2, QColor color, int width) override;
    void stretchDraw(int left, int top, int right, int bottom, const QImage& image) override;

    QSize textExtent(const QString& text) const override;

    /// The metafile of everything drawn so far; drawing may go on afterwards.
    EmfPicture picture() const;

private:
    struct TextState
    {
        CanvasFont font;
        QRgb textColor = qRgb(0, 0, 0);
        QRgb bkColor = qRgb(255, 255, 255);
        BkMode bkMode = BkMode::Opaque;
        quint32 textAlign = TA_LEFT | TA_TOP;
    };
    struct Pen
    {
        QRgb color;
        int width;
        bool operator==(const Pen&) const = default;
    };
    // Two handle slots per kind of object: a new object goes into the slot not selected.
    enum Slot : quint32
    {
        FontSlot = 1,
        BrushSlot = 3,
        PenSlot = 5,
        HandleCount = 7,
    };

    void append(char* record);
    quint32 nextSlot(quint32 base, quint32 current);
    void applyTextState();
    void selectBrush(QRgb color);
    void selectPen(const Pen& pen);
    void include(qint64 left, qint64 top, qint64 right, qint64 bottom);

    int m_width;
    int m_height;
    int m_dpi;
    QByteArray m_records;
    quint32 m_recordCount = 0;
    bool m_slotUsed[HandleCount] = {};

    TextState m_want;
    TextState m_written;
    QFont m_qfont;
    quint32 m_fontHandle = 0; // 0: the device's default font is selected
    quint32 m_brushHandle = 0;
    quint32 m_penHandle = 0;
    QRgb m_brushColor = 0;
    Pen m_pen{0, 0};

    bool m_hasBounds = false;
    qint64 m_bounds[4] = {}; // inclusive device pixels: left, top, right, bottom
};

} // namespace platform
