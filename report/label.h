#pragma once

#include "report/printable.h"

#include <QStringList>
#include <memory>

namespace report {

/// A text label: turns its caption into formatted lines, sizes itself to them when `AutoSize`
/// is on, and draws them at its band's origin during a run.
class TReportCustomLabel : public TReportPrintable
{
    Q_OBJECT
public:
    explicit TReportCustomLabel(TReportControl* parent = nullptr);
    ~TReportCustomLabel() override;

    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on) { m_autoSize = on; }
    bool autoStretch() const { return m_autoStretch; }
    void setAutoStretch(bool on) { m_autoStretch = on; }
    TReportBiDiMode biDiMode() const { return m_biDiMode; }
    void setBiDiMode(TReportBiDiMode mode) { m_biDiMode = mode; }
    bool parentBiDiMode() const { return m_parentBiDiMode; }
    void setParentBiDiMode(bool on) { m_parentBiDiMode = on; }
    const QString& caption() const { return m_caption; }
    /// Sets the caption and the print caption and rebuilds the lines at once, run or no run.
    void setCaption(const QString& caption);
    const TReportLabelPrintEvent& onPrint() const { return m_onPrint; }
    void setOnPrint(TReportLabelPrintEvent event) { m_onPrint = std::move(event); }
    bool transparent() const { return m_transparent; }
    void setTransparent(bool on) { m_transparent = on; }
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on) { m_wordWrap = on; }

    /// The font's size in points, as stored with the label.
    int fontSize() const { return font().size(); }
    /// A size above 0 becomes the font's point size; while loading it waits for the end, so a
    /// label keeps its point size whatever pixel height was stored with its font.
    void setFontSize(int points);

    /// The text actually output: the caption, unless `OnPrint` changed it for one output.
    const QString& printCaption() const { return m_printCaption; }
    void setPrintCaption(const QString& text) { m_printCaption = text; }
    QStringList& lines() { return m_lines; }
    const QStringList& lines() const { return m_lines; }
    /// Source lines of memo-like descendants; a label builds from its caption.
    QStringList& sourceLines() { return m_sourceLines; }
    bool linesBuilt() const { return m_linesBuilt; }
    void setLinesBuilt(bool on) { m_linesBuilt = on; }
    /// Set while the label changes its own bounds.
    bool updatingBounds() const { return m_updatingBounds; }
    void setUpdatingBounds(bool on) { m_updatingBounds = on; }
    int nextLine() const { return m_nextLine; }
    void setNextLine(int index) { m_nextLine = index; }

    /// Rebuilds the formatted lines from the print caption and, for `AutoSize`, the width, the
    /// left edge (by alignment) and the minimum height. Needs a parent control.
    virtual void BuildLines();
    /// Width of `text` in report pixels at the label's zoom: on the printer's canvas while a
    /// run draws a printer page, otherwise on the report's 96-dpi reference context (+1).
    int MeasureText(const QString& text) const;
    /// The alignment as drawn: left and right swap for right-to-left reading.
    TReportAlignment drawnAlignment() const;

    void BeginOutput(TReportOutput& output) override;
    void PrintAt(int ox, int oy) override;

    void finishLoading() override;

protected:
    void fontChanged() override;
    void reportLinksChanged(TReportBasePanel* oldReport) override;

private:
    void draw(TReportOutput& output, bool canExpand, long double lineHeight, long double h,
              long double w, long double top, long double left);
    /// Selects the label's font on the open page's canvas and gives the height of "W" on it,
    /// in tenths.
    long double lineHeight(TReportOutput& output) const;
    /// Height of one character cell on the reference context, in pixels.
    int cellHeight() const;
    void ensureMinimumHeight();

    bool m_autoSize = true;
    bool m_autoStretch = false;
    TReportBiDiMode m_biDiMode = bdLeftToRight;
    bool m_parentBiDiMode = true;
    QString m_caption;
    TReportLabelPrintEvent m_onPrint;
    bool m_transparent = false;
    bool m_wordWrap = true;
    int m_storedFontSize = 0; // points read while loading

    QString m_printCaption;
    QStringList m_lines;
    QStringList m_sourceLines;
    bool m_linesBuilt = false;
    bool m_updatingBounds = false;
    int m_nextLine = 0;
};

class TReportLabel : public TReportCustomLabel
{
    Q_OBJECT
public:
    using TReportCustomLabel::TReportCustomLabel;
};

} // namespace report
