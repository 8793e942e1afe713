#pragma once

#include "report/reporttypes.h"

#include <QList>
#include <QObject>
#include <QRect>
#include <memory>

namespace report {

class TReportBasePanel;
class TReportCustomBand;
class TReportReferenceContext;

/// Base of every report component: pixel bounds relative to the parent control (report
/// pixels), a colour, a font that may follow the parent's, and a place in the component tree.
/// These are plain objects; nothing here paints.
class TReportControl : public QObject
{
    Q_OBJECT
public:
    explicit TReportControl(QObject* parent = nullptr);
    ~TReportControl() override;

    int left() const { return m_left; }
    int top() const { return m_top; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    QRect boundsRect() const { return QRect(m_left, m_top, m_width, m_height); }
    void setLeft(int left) { setBounds(left, m_top, m_width, m_height); }
    void setTop(int top) { setBounds(m_left, top, m_width, m_height); }
    void setWidth(int width) { setBounds(m_left, m_top, width, m_height); }
    void setHeight(int height) { setBounds(m_left, m_top, m_width, height); }
    /// Report pixels. Components with a size object keep it in step.
    virtual void setBounds(int left, int top, int width, int height);

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }
    QColor color() const { return m_color; }
    void setColor(const QColor& color) { m_color = color; }

    const TReportFont& font() const { return m_font; }
    /// Gives the control its own font (`ParentFont` becomes false).
    void setFont(const TReportFont& font);
    bool parentFont() const { return m_parentFont; }
    /// True takes the parent's font and follows its changes.
    void setParentFont(bool parentFont);

    TReportControl* parentControl() const;
    /// Moves the control under another (or none); the report links below it follow.
    void setParentControl(TReportControl* parent);
    /// The nearest report above this control, as a panel; none outside a report.
    TReportBasePanel* reportPanel() const;
    /// True for the report itself.
    virtual bool isReport() const { return false; }
    /// The child components in their order.
    QList<TReportControl*> childControls() const;
    /// The 96-dpi context the control's texts are measured on: its report's, or, outside a
    /// report, its own.
    TReportReferenceContext& referenceContext() const;

    bool isLoading() const { return m_loading; }
    /// Marks the control as being read from a stored layout.
    void beginLoading() { m_loading = true; }
    /// Ends loading: children first, then the control's own rules.
    virtual void finishLoading();

protected:
    /// Changes the pixel bounds only.
    void moveTo(int left, int top, int width, int height);
    /// Runs after the control moved to another parent; the default passes it to the children.
    virtual void reportLinksChanged(TReportBasePanel* oldReport);
    virtual void fontChanged() {}

private:
    void adoptParentFont();

    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_visible = true;
    QColor m_color = Qt::white;
    TReportFont m_font;
    bool m_parentFont = true;
    bool m_loading = false;
    mutable std::unique_ptr<TReportReferenceContext> m_referenceContext;
};

/// Base of the report and of bands.
class TReportBasePanel : public TReportControl
{
    Q_OBJECT
public:
    explicit TReportBasePanel(QObject* parent = nullptr);

    TReportFrame& frame() { return m_frame; }
    const TReportFrame& frame() const { return m_frame; }
    void setFrame(const TReportFrame& frame) { m_frame = frame; }
    /// Percent.
    int panelZoom() const { return m_zoom; }
    void setPanelZoom(int zoom) { m_zoom = zoom; }
    /// The font's size in points, kept for measuring.
    int fontSizeCache() const { return m_fontSizeCache; }

    /// A band has joined this panel's report (the report lays it out).
    virtual void bandJoined(TReportCustomBand& band) { Q_UNUSED(band) }

protected:
    void fontChanged() override;

private:
    TReportFrame m_frame;
    int m_zoom = 100;
    int m_fontSizeCache = 12;
};

} // namespace report
