#pragma once

#include "report/control.h"
#include "report/unitbase.h"

#include <QPointer>

namespace report {

class TReportController;
class TReportCustomBand;

/// A band's height and width; `Values` = (Height, Width) in tenths of a millimetre.
class TReportBandSize : public TReportUnitBase
{
public:
    enum ValueIndex : std::size_t
    {
        HeightIndex,
        WidthIndex
    };

    explicit TReportBandSize(TReportCustomBand& band);

    long double height() const { return value(HeightIndex); }
    void setHeight(long double v) { setValue(HeightIndex, v); }
    long double width() const { return value(WidthIndex); }
    void setWidth(long double v) { setValue(WidthIndex, v); }

    long double heightTenths() const { return tenths(HeightIndex); }
    long double widthTenths() const { return tenths(WidthIndex); }

    TReportAxis axisOf(std::size_t index) const override;

protected:
    void pushBounds() override;
    bool ownerLoading() const override;
    int characterFontPoints() const override;

private:
    TReportCustomBand& m_band;
};

/// A horizontal strip of the report, placed down the page when the report runs.
class TReportCustomBand : public TReportBasePanel
{
    Q_OBJECT
public:
    /// A new band is 40 pixels high, white and enabled.
    explicit TReportCustomBand(TReportControl* parent = nullptr, TReportBandType type = rbDetail);
    ~TReportCustomBand() override;

    const TReportBandAfterPrintEvent& afterPrint() const { return m_afterPrint; }
    void setAfterPrint(TReportBandAfterPrintEvent event) { m_afterPrint = std::move(event); }
    bool alignToBottom() const { return m_alignToBottom; }
    void setAlignToBottom(bool on) { m_alignToBottom = on; }
    const TReportBandBeforePrintEvent& beforePrint() const { return m_beforePrint; }
    void setBeforePrint(TReportBandBeforePrintEvent event) { m_beforePrint = std::move(event); }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool on) { m_enabled = on; }
    bool transparentBand() const { return m_transparentBand; }
    void setTransparentBand(bool on) { m_transparentBand = on; }
    bool forceNewColumn() const { return m_forceNewColumn; }
    void setForceNewColumn(bool on) { m_forceNewColumn = on; }
    bool forceNewPage() const { return m_forceNewPage; }
    void setForceNewPage(bool on) { m_forceNewPage = on; }
    /// The band printed after this one; created in the same report, freed with the flag or
    /// with this band.
    bool hasChild() const { return !m_childBand.isNull(); }
    /// Needs the band to be in a report; ignored otherwise.
    void setHasChild(bool on);
    TReportCustomBand* childBand() const { return m_childBand.data(); }
    TReportCustomBand* linkBand() const { return m_linkBand.data(); }
    void setLinkBand(TReportCustomBand* band) { m_linkBand = band; }
    TReportBandSize& size() { return m_size; }
    const TReportBandSize& size() const { return m_size; }
    bool preCalculateBandHeight() const { return m_preCalculateBandHeight; }
    void setPreCalculateBandHeight(bool on) { m_preCalculateBandHeight = on; }
    bool keepOnOnePage() const { return m_keepOnOnePage; }
    void setKeepOnOnePage(bool on) { m_keepOnOnePage = on; }
    TReportBandType bandType() const { return m_bandType; }
    void setBandType(TReportBandType type) { m_bandType = type; }

    /// Run state: the controller that prints the band, the device rectangle it last took and
    /// the extra height its stretching controls took on the current page (0.1 mm).
    TReportController* controller() const { return m_controller; }
    void setController(TReportController* controller) { m_controller = controller; }
    QRect deviceRect() const { return m_deviceRect; }
    void setDeviceRect(const QRect& rect) { m_deviceRect = rect; }
    long double expansion() const { return m_expansion; }
    void setExpansion(long double tenths) { m_expansion = tenths; }

    /// Keeps `Size` in step unless the size object itself is moving the band.
    void setBounds(int left, int top, int width, int height) override;
    void finishLoading() override;

protected:
    void reportLinksChanged(TReportBasePanel* oldReport) override;

private:
    TReportBandAfterPrintEvent m_afterPrint;
    bool m_alignToBottom = false;
    TReportBandBeforePrintEvent m_beforePrint;
    bool m_enabled = true;
    bool m_transparentBand = false;
    bool m_forceNewColumn = false;
    bool m_forceNewPage = false;
    QPointer<TReportCustomBand> m_childBand;
    QPointer<TReportCustomBand> m_linkBand;
    TReportBandSize m_size;
    bool m_preCalculateBandHeight = false;
    bool m_keepOnOnePage = false;
    TReportBandType m_bandType;

    TReportController* m_controller = nullptr;
    QRect m_deviceRect;
    long double m_expansion = 0; // 0.1 mm
    int m_pendingHeight = 0;     // pixel height read while loading
};

class TReportBand : public TReportCustomBand
{
    Q_OBJECT
public:
    using TReportCustomBand::TReportCustomBand;
};

} // namespace report
