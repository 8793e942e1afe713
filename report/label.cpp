#include "report/label.h"

#include "report/band.h"
#include "report/referencecontext.h"
#include "report/reporttarget.h"

#include <algorithm>

namespace report {

namespace {

// Carriage return, space and hyphen end a word and stay in it.
bool isSeparator(QChar c)
{
    return c == QChar(13) || c == QChar(32) || c == QChar(45);
}

// Cutting between the halves of a surrogate pair would leave half a character.
qsizetype keepPairs(const QString& text, qsizetype length)
{
    if (length > 0 && length < text.size() && text.at(length).isLowSurrogate() &&
        text.at(length - 1).isHighSurrogate())
        return length - 1;
    return length;
}

// The longest prefix length in [0, limit] for which `accepts` holds, given that it holds for
// every shorter prefix once it holds for a longer one (text widths grow with the text). This
// finds what trying one character after another finds, in logarithmic many measures, so an
// over-wide word of any length costs little.
template <typename Accepts> qsizetype longestPrefix(qsizetype limit, Accepts accepts)
{
    qsizetype lo = 0;
    qsizetype hi = limit;
    while (lo < hi) {
        const qsizetype mid = lo + (hi - lo + 1) / 2;
        if (accepts(mid))
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

class ScopedFlag
{
public:
    explicit ScopedFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~ScopedFlag() { m_flag = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& m_flag;
};

/// Turns a text into the label's formatted lines.
class LineFormatter
{
public:
    explicit LineFormatter(const TReportCustomLabel& label, QStringList& lines)
        : m_label(label), m_lines(lines)
    {}

    void formatText(QString text)
    {
        text.remove(QChar(10));
        if (!text.contains(QChar(13))) {
            formatParagraph(text);
            return;
        }
        for (const QString& piece : text.split(QChar(13)))
            formatParagraph(piece);
    }

private:
    void formatParagraph(const QString& text)
    {
        m_current.clear();
        m_stop = false;
        if (m_label.autoSize()) {
            m_lines.append(text);
            return;
        }
        qsizetype start = 0;
        while (start < text.size()) {
            qsizetype end = start;
            while (end < text.size() && !isSeparator(text.at(end)))
                ++end;
            if (end < text.size())
                ++end; // the separator stays with its word
            appendWord(text.mid(start, end - start));
            start = end;
        }
        if (!m_stop)
            emitLine();
    }

    void emitLine()
    {
        m_lines.append(m_current);
        m_current.clear();
    }

    int measure(const QString& text) const { return m_label.MeasureText(text); }

    void appendWord(QString word)
    {
        const int width = m_label.width();
        if (measure(m_current + word) <= width) {
            m_current += word;
            return;
        }
        if (m_current.isEmpty()) {
            // The word alone is too wide: keep the characters that fit, lose the rest.
            const qsizetype kept = keepPairs(word, longestPrefix(word.size(), [&](qsizetype n) {
                                                 return measure(word.left(n)) < width;
                                             }));
            m_current = word.left(kept);
            word.clear();
        }
        emitLine();
        if (measure(word) > width) {
            if (width <= 0) {
                word.clear();
            } else {
                const qsizetype kept =
                    keepPairs(word, longestPrefix(word.size() - 1, [&](qsizetype n) {
                                  return measure(word.left(n)) <= width;
                              }));
                word.truncate(kept);
            }
            m_current = word;
            emitLine();
            word.clear();
        }
        if (!m_label.wordWrap()) {
            word.clear();
            m_stop = true;
        }
        m_current += word;
    }

    const TReportCustomLabel& m_label;
    QStringList& m_lines;
    QString m_current;
    bool m_stop = false;
};

} // namespace

TReportCustomLabel::TReportCustomLabel(TReportControl* parent) : TReportPrintable(parent)
{}

TReportCustomLabel::~TReportCustomLabel() = default;

void TReportCustomLabel::setCaption(const QString& caption)
{
    m_caption = caption;
    m_printCaption = caption;
    m_linesBuilt = false;
    // Bounds read from a layout are final only when loading ends.
    if (!isLoading())
        BuildLines();
}

void TReportCustomLabel::setFontSize(int points)
{
    if (isLoading()) {
        m_storedFontSize = points;
        return;
    }
    if (points > 0) {
        TReportFont changed = font();
        changed.setSize(points);
        setFont(changed);
    }
}

void TReportCustomLabel::finishLoading()
{
    // The stored point size applies while still loading, so it does not rebuild the lines:
    // the label keeps its stored width until its caption is next set.
    if (m_storedFontSize > 0) {
        TReportFont changed = font();
        changed.setSize(m_storedFontSize);
        setFont(changed);
    }
    m_storedFontSize = 0;
    TReportPrintable::finishLoading();
}

void TReportCustomLabel::fontChanged()
{
    if (!isLoading())
        BuildLines();
}

void TReportCustomLabel::reportLinksChanged(TReportBasePanel* oldReport)
{
    TReportPrintable::reportLinksChanged(oldReport);
    if (!isLoading())
        BuildLines();
}

int TReportCustomLabel::MeasureText(const QString& text) const
{
    int width = 0;
    const TReportOutput* out = output();
    if (out && out->canvas() && out->device().printerPixelsPerInchX > 0) {
        // On a printer page, with the printer's own metrics.
        const TReportDevice& device = out->device();
        platform::DeviceCanvas& canvas = *out->canvas();
        canvas.setFont(font().canvasFont(device.fontPixelsPerInch()));
        // A fixed 96, whatever the monitor: report pixels are 1/96 inch.
        width = roundHalfEven(static_cast<long double>(canvas.textExtent(text).width()) *
                              reportPixelsPerInch / device.printerPixelsPerInchX);
    } else {
        const int measured =
            referenceContext().textWidth(font().canvasFont(reportPixelsPerInch), text);
        width = measured < 0 ? 0 : measured + 1;
    }
    return mulDiv(width, size().zoom(), 100);
}

int TReportCustomLabel::cellHeight() const
{
    return std::max(0, referenceContext().cellHeight(font().canvasFont(reportPixelsPerInch)));
}

long double TReportCustomLabel::lineHeight(TReportOutput& output) const
{
    const TReportDevice& device = output.device();
    const platform::CanvasFont drawn = font().canvasFont(device.fontPixelsPerInch());
    output.canvas()->setFont(drawn);
    return output.textHeight(*output.canvas(), drawn) / device.vertFactor;
}

TReportAlignment TReportCustomLabel::drawnAlignment() const
{
    if (m_biDiMode != bdRightToLeft)
        return alignment();
    if (alignment() == taLeftJustify)
        return taRightJustify;
    if (alignment() == taRightJustify)
        return taLeftJustify;
    return taCenter;
}

void TReportCustomLabel::ensureMinimumHeight()
{
    const int minimum = cellHeight() * size().zoom() / 100 + 1;
    if (height() < minimum)
        setBounds(left(), top(), width(), minimum);
}

void TReportCustomLabel::BuildLines()
{
    if (!parentControl())
        return;
    m_lines.clear();
    const bool hasReport = reportPanel() != nullptr;
    LineFormatter(*this, m_lines).formatText(m_printCaption);
    if (!m_updatingBounds && hasReport) {
        ScopedFlag guard(m_updatingBounds);
        ensureMinimumHeight();
    }
    if (m_autoSize && !m_updatingBounds && hasReport) {
        int w = 0;
        for (const QString& line : std::as_const(m_lines))
            w = std::max(w, MeasureText(line));
        if (frame().drawLeft)
            w += frame().width;
        if (frame().drawRight)
            w += frame().width;
        ScopedFlag guard(m_updatingBounds);
        int newLeft = left();
        switch (drawnAlignment()) {
        case taRightJustify:
            newLeft = left() + width() - w;
            break;
        case taCenter:
            newLeft = left() + (width() - w) / 2; // truncates toward zero
            break;
        case taLeftJustify:
            break;
        }
        setBounds(newLeft, top(), w, height());
        ensureMinimumHeight();
    }
    m_linesBuilt = true;
}

void TReportCustomLabel::BeginOutput(TReportOutput& output)
{
    TReportPrintable::BeginOutput(output);
    setCaption(m_caption);
}

void TReportCustomLabel::PrintAt(int ox, int oy)
{
    if (!takesPart())
        return;
    TReportOutput* out = output();
    if (!out || !out->canvas())
        return;
    draw(*out, autoStretch(), lineHeight(*out), size().heightTenths(), size().widthTenths(),
         size().topTenths() + oy, size().leftTenths() + ox);
}

void TReportCustomLabel::draw(TReportOutput& output, bool canExpand, long double lineHeight,
                              long double h, long double w, long double top, long double left)
{
    const TReportDevice& device = output.device();
    platform::DeviceCanvas& canvas = *output.canvas();
    const long double w0 = w;
    bool captionChanged = false;
    QString savedCaption;

    if (!m_printCaption.isEmpty() && m_onPrint) {
        QString value = m_printCaption;
        m_onPrint(this, value);
        h = size().heightTenths();
        lineHeight = this->lineHeight(output);
        if (value != m_printCaption) {
            savedCaption = m_printCaption;
            m_printCaption = value;
            BuildLines();
            captionChanged = true;
        }
    }
    BuildLines();
    w = size().widthTenths();

    if (!m_transparent)
        canvas.fillRect(device.DeviceX(left), device.DeviceY(top), device.DeviceX(left + w),
                        device.DeviceY(top + h), color());

    int fw = 0;
    if (frame().hasAnySide()) {
        fw = roundHalfEven(frame().width / 72.0L * 254.0L); // points to 0.1 mm
        if (frame().drawTop)
            top += fw;
        if (frame().drawLeft)
            left += fw;
    }

    const TReportAlignment a = drawnAlignment();
    auto* band = qobject_cast<TReportCustomBand*>(parentControl());
    // A stretching label may use what the band has grown by already.
    long double limit = top + h + 1 + (canExpand && band ? band->expansion() : 0);
    long double y = top;

    long double anchor = left;
    if (m_autoSize && alignment() == taRightJustify)
        anchor = left - (w - w0);
    else if (m_autoSize && alignment() == taCenter)
        anchor = left - (w - w0) / 2;

    canvas.setBkMode(platform::BkMode::Transparent);
    canvas.setTextColor(font().color);
    quint32 align = platform::TA_LEFT;
    if (a == taRightJustify) {
        align = platform::TA_RIGHT;
        anchor += w;
    } else if (a == taCenter) {
        align = platform::TA_CENTER;
        anchor += w / 2;
    }
    canvas.setTextAlign(align | platform::TA_TOP);

    if (finished())
        m_nextLine = 0;
    while (m_nextLine < m_lines.size()) {
        if (limit < y + lineHeight) {
            const long double grown = band ? band->expansion() : 0;
            const bool room = canExpand && band &&
                              output.SpaceLeft() >=
                                  roundHalfEven(band->size().heightTenths() + grown + lineHeight);
            if (!room)
                break;
            band->setExpansion(grown + lineHeight);
            limit = top + h + band->expansion() + 1;
            if (!m_transparent)
                canvas.fillRect(device.DeviceX(left), device.DeviceY(top + h + grown),
                                device.DeviceX(left + w),
                                device.DeviceY(top + h + band->expansion()), color());
        }
        const QString& line = m_lines.at(m_nextLine);
        if (!line.isEmpty())
            canvas.textOut(device.DeviceX(anchor), device.DeviceY(y), line);
        y += lineHeight;
        ++m_nextLine;
    }
    setFinished(!(m_nextLine < m_lines.size() && autoStretch()));

    if (captionChanged)
        m_printCaption = savedCaption;

    if (frame().hasAnySide()) {
        const long double expansion = band ? band->expansion() : 0;
        paintFrame(canvas, frame(), device.DeviceX(left - fw), device.DeviceY(top - fw),
                   device.DeviceX(left + w),
                   device.DeviceY(size().heightTenths() + top + expansion), device);
    }
}

} // namespace report
