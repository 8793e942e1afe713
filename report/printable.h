#pragma once

#include "report/control.h"
#include "report/unitbase.h"

namespace platform {
class DeviceCanvas;
}

namespace report {

class TReportOutput;
class TReportPrintable;
struct TReportDevice;

/// Draws the enabled sides of a frame into a rectangle of `device` (right and bottom
/// excluded); a side is at least one pixel thick.
void paintFrame(platform::DeviceCanvas& canvas, const TReportFrame& frame, int left, int top,
                int right, int bottom, const TReportDevice& device);

/// A printable's box; `Values` = (Height, Left, Top, Width) in tenths of a millimetre,
/// relative to the parent band.
class TReportPrintableSize : public TReportUnitBase
{
public:
    enum ValueIndex : std::size_t
    {
        HeightIndex,
        LeftIndex,
        TopIndex,
        WidthIndex
    };

    explicit TReportPrintableSize(TReportPrintable& printable);

    long double height() const { return value(HeightIndex); }
    void setHeight(long double v) { setValue(HeightIndex, v); }
    long double left() const { return value(LeftIndex); }
    void setLeft(long double v) { setValue(LeftIndex, v); }
    long double top() const { return value(TopIndex); }
    void setTop(long double v) { setValue(TopIndex, v); }
    long double width() const { return value(WidthIndex); }
    void setWidth(long double v) { setValue(WidthIndex, v); }

    long double heightTenths() const { return tenths(HeightIndex); }
    long double leftTenths() const { return tenths(LeftIndex); }
    long double topTenths() const { return tenths(TopIndex); }
    long double widthTenths() const { return tenths(WidthIndex); }

    TReportAxis axisOf(std::size_t index) const override;

protected:
    void pushBounds() override;
    bool ownerLoading() const override;
    int characterFontPoints() const override;

private:
    TReportPrintable& m_printable;
};

/// Pixel bounds that arrived while a printable was being loaded; 0 where none did.
struct TReportPendingBounds
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

/// Base of the controls a band prints.
class TReportPrintable : public TReportControl
{
    Q_OBJECT
public:
    /// A new printable is white, 10 × 10 pixels, left-aligned and not aligned to its band.
    explicit TReportPrintable(TReportControl* parent = nullptr);

    bool enabled() const { return m_enabled; }
    void setEnabled(bool on) { m_enabled = on; }
    TReportFrame& frame() { return m_frame; }
    const TReportFrame& frame() const { return m_frame; }
    void setFrame(const TReportFrame& frame) { m_frame = frame; }
    TReportPrintableSize& size() { return m_size; }
    const TReportPrintableSize& size() const { return m_size; }
    TReportAlignment alignment() const { return m_alignment; }
    virtual void setAlignment(TReportAlignment alignment);
    bool alignToBand() const { return m_alignToBand; }
    void setAlignToBand(bool on);

    /// What the control draws through while a run is on; none otherwise.
    TReportOutput* output() const { return m_output; }
    /// Set during a run; it keeps the control from painting on screen.
    bool printing() const { return m_printing; }
    void setPrinting(bool on) { m_printing = on; }
    /// False while a stretching control still has lines to print.
    bool finished() const { return m_finished; }
    void setFinished(bool on) { m_finished = on; }
    TReportPendingBounds pendingBounds() const { return m_pending; }

    /// Report pixels. While loading, non-zero values are remembered as pending bounds;
    /// otherwise each value whose pixel equivalent changes replaces its tenths in `Size`, and
    /// the others keep their exact tenths.
    void setBounds(int left, int top, int width, int height) override;
    /// Whether the control prints in a run: enabled, or not visible.
    virtual bool takesPart() const;
    /// Places a band-aligned control against its band by its alignment.
    virtual void realignToBand();

    /// Before the first band of a run: binds the control to the run's output.
    virtual void BeginOutput(TReportOutput& output);
    /// Outputs the control with its band's origin at (ox, oy), 0.1 mm from the paper's corner.
    /// A plain printable draws its frame around its box.
    virtual void PrintAt(int ox, int oy);
    /// After the last band of a run.
    virtual void EndOutput();
    void finishLoading() override;

protected:
    void reportLinksChanged(TReportBasePanel* oldReport) override;

private:
    void applyBounds(int left, int top, int width, int height);

    bool m_enabled = true;
    TReportFrame m_frame;
    TReportPrintableSize m_size;
    TReportAlignment m_alignment = taLeftJustify;
    bool m_alignToBand = false;
    TReportOutput* m_output = nullptr;
    bool m_printing = false;
    bool m_finished = true;
    TReportPendingBounds m_pending;
};

} // namespace report
