#include "report/layoutreader.h"

#include "platform/errors.h"
#include "report/label.h"
#include "report/reporterror.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <charconv>
#include <climits>
#include <cmath>
#include <span>
#include <vector>

namespace report {

namespace {

// Bounds on what a layout may hold, so that no stored number can overflow a conversion.
constexpr int maxPixels = 100000;
constexpr long double maxTenths = 1.0e7L; // a kilometre
constexpr int maxFontPixels = 1000;
constexpr int maxFontPoints = 1000;

enum class TokenKind
{
    Name,
    Number,
    String,
    Color,
    Equals,
    OpenBrace,
    CloseBrace,
    OpenParen,
    CloseParen,
    OpenBracket,
    CloseBracket
};

struct Token
{
    TokenKind kind;
    QString text;
};

class LayoutError
{
public:
    explicit LayoutError(QString what) : m_what(std::move(what)) {}
    const QString& what() const { return m_what; }

private:
    QString m_what;
};

[[noreturn]] void fail(const QString& what)
{
    throw LayoutError(what);
}

bool isNameStart(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

bool isNameChar(QChar c)
{
    return isNameStart(c) || (c >= u'0' && c <= u'9') || c == u'.';
}

bool isNumberChar(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'+' || c == u'-' || c == u'e' ||
           c == u'E';
}

std::vector<Token> tokenize(QStringView line)
{
    std::vector<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        const QChar c = line[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'#') {
            // Colours and comments both start with '#': a colour follows '=' directly.
            if (tokens.empty() || tokens.back().kind != TokenKind::Equals)
                break;
            qsizetype end = i + 1;
            while (end < n && isNameChar(line[end]))
                ++end;
            tokens.push_back({TokenKind::Color, line.mid(i, end - i).toString()});
            i = end;
        } else if (isNameStart(c)) {
            qsizetype end = i + 1;
            while (end < n && isNameChar(line[end]))
                ++end;
            tokens.push_back({TokenKind::Name, line.mid(i, end - i).toString()});
            i = end;
        } else if (isNumberChar(c)) {
            qsizetype end = i + 1;
            while (end < n && isNumberChar(line[end]))
                ++end;
            tokens.push_back({TokenKind::Number, line.mid(i, end - i).toString()});
            i = end;
        } else if (c == u'"') {
            QString text;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar d = line[i++];
                if (d == u'"') {
                    closed = true;
                    break;
                }
                if (d != u'\\') {
                    text.append(d);
                    continue;
                }
                if (i >= n)
                    break;
                const QChar escaped = line[i++];
                if (escaped == u'"' || escaped == u'\\')
                    text.append(escaped);
                else if (escaped == u'n')
                    text.append(u'\n');
                else if (escaped == u'r')
                    text.append(u'\r');
                else if (escaped == u't')
                    text.append(u'\t');
                else
                    fail(QStringLiteral("unknown escape \\%1 in a string").arg(escaped));
            }
            if (!closed)
                fail(QStringLiteral("unterminated string"));
            tokens.push_back({TokenKind::String, text});
        } else {
            static constexpr std::pair<char16_t, TokenKind> punctuation[] = {
                {u'=', TokenKind::Equals},       {u'{', TokenKind::OpenBrace},
                {u'}', TokenKind::CloseBrace},   {u'(', TokenKind::OpenParen},
                {u')', TokenKind::CloseParen},   {u'[', TokenKind::OpenBracket},
                {u']', TokenKind::CloseBracket},
            };
            bool known = false;
            for (const auto& [character, kind] : punctuation) {
                if (c == QChar(character)) {
                    tokens.push_back({kind, QString(c)});
                    known = true;
                    break;
                }
            }
            if (!known)
                fail(QStringLiteral("unexpected character '%1'").arg(c));
            ++i;
        }
    }
    return tokens;
}

long double parseNumber(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    long double value = 0;
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(value))
        fail(QStringLiteral("'%1' is not a number").arg(text));
    return value;
}

/// The value tokens of one property line, consumed in order.
class ValueReader
{
public:
    ValueReader(std::span<const Token> tokens) : m_tokens(tokens) {}

    const Token& next(TokenKind kind, const char16_t* expected)
    {
        if (m_pos >= m_tokens.size() || m_tokens[m_pos].kind != kind)
            fail(QStringLiteral("expected %1").arg(QStringView(expected)));
        return m_tokens[m_pos++];
    }

    void finish() const
    {
        if (m_pos != m_tokens.size())
            fail(QStringLiteral("unexpected '%1' after the value").arg(m_tokens[m_pos].text));
    }

    int integer(int min, int max)
    {
        const QString text = next(TokenKind::Number, u"a whole number").text;
        bool ok = false;
        const qlonglong value = text.toLongLong(&ok);
        if (!ok)
            fail(QStringLiteral("'%1' is not a whole number").arg(text));
        if (value < min || value > max)
            fail(QStringLiteral("%1 is outside %2 to %3").arg(text).arg(min).arg(max));
        finish();
        return static_cast<int>(value);
    }

    int integer() { return integer(INT_MIN, INT_MAX); }

    bool boolean()
    {
        const QString text = next(TokenKind::Name, u"true or false").text;
        finish();
        if (text == u"true")
            return true;
        if (text == u"false")
            return false;
        fail(QStringLiteral("expected true or false, not '%1'").arg(text));
    }

    QString string()
    {
        QString text = next(TokenKind::String, u"a quoted string").text;
        finish();
        return text;
    }

    QString name()
    {
        QString text = next(TokenKind::Name, u"a name").text;
        finish();
        return text;
    }

    QColor color()
    {
        const QString text = next(TokenKind::Color, u"a colour #RRGGBB").text;
        finish();
        const QColor color = QColor::fromString(text);
        if (text.size() != 7 || !color.isValid())
            fail(QStringLiteral("'%1' is not a colour #RRGGBB").arg(text));
        return color;
    }

    std::vector<long double> numbers()
    {
        next(TokenKind::OpenParen, u"(");
        std::vector<long double> values;
        while (m_pos < m_tokens.size() && m_tokens[m_pos].kind == TokenKind::Number) {
            const long double value = parseNumber(m_tokens[m_pos++].text);
            if (std::abs(value) > maxTenths)
                fail(QStringLiteral("%1 is too large for a measure").arg(m_tokens[m_pos - 1].text));
            values.push_back(value);
        }
        next(TokenKind::CloseParen, u"a number or )");
        finish();
        return values;
    }

    QStringList strings()
    {
        next(TokenKind::OpenParen, u"(");
        QStringList values;
        while (m_pos < m_tokens.size() && m_tokens[m_pos].kind == TokenKind::String)
            values.append(m_tokens[m_pos++].text);
        next(TokenKind::CloseParen, u"a string or )");
        finish();
        return values;
    }

    QStringList nameSet()
    {
        next(TokenKind::OpenBracket, u"[");
        QStringList values;
        while (m_pos < m_tokens.size() && m_tokens[m_pos].kind == TokenKind::Name)
            values.append(m_tokens[m_pos++].text);
        next(TokenKind::CloseBracket, u"a name or ]");
        finish();
        return values;
    }

    /// A name out of `names`, whose position is the enumeration's ordinal.
    template <typename Enum> Enum choice(std::initializer_list<const char16_t*> names)
    {
        const QString text = name();
        int ordinal = 0;
        for (const char16_t* candidate : names) {
            if (text == QStringView(candidate))
                return static_cast<Enum>(ordinal);
            ++ordinal;
        }
        fail(QStringLiteral("'%1' is not a valid value here").arg(text));
    }

    template <typename Enum>
    Enum lookUp(std::optional<Enum> (*fromName)(QStringView), const char16_t* what)
    {
        const QString text = name();
        const std::optional<Enum> value = fromName(text);
        if (!value)
            fail(QStringLiteral("'%1' is not a %2").arg(text, QStringView(what)));
        return *value;
    }

private:
    std::span<const Token> m_tokens;
    std::size_t m_pos = 0;
};

template <typename T> struct Property
{
    const char16_t* key;
    void (*apply)(T&, ValueReader&);
};

template <typename T, std::size_t N>
bool applyFrom(const Property<T> (&table)[N], T& target, const QString& key, ValueReader& value)
{
    for (const Property<T>& property : table) {
        if (key == QStringView(property.key)) {
            property.apply(target, value);
            return true;
        }
    }
    return false;
}

void setFontStyle(TReportFont& font, const QStringList& style)
{
    font.bold = font.italic = font.underline = font.strikeOut = false;
    for (const QString& item : style) {
        if (item == u"Bold")
            font.bold = true;
        else if (item == u"Italic")
            font.italic = true;
        else if (item == u"Underline")
            font.underline = true;
        else if (item == u"StrikeOut")
            font.strikeOut = true;
        else
            fail(QStringLiteral("'%1' is not a font style").arg(item));
    }
}

template <typename Change> void changeFont(TReportControl& control, Change change)
{
    TReportFont font = control.font();
    change(font);
    control.setFont(font);
}

const Property<TReportControl> controlProperties[] = {
    {u"Left",
     [](TReportControl& c, ValueReader& v) { c.setLeft(v.integer(-maxPixels, maxPixels)); }},
    {u"Top", [](TReportControl& c, ValueReader& v) { c.setTop(v.integer(-maxPixels, maxPixels)); }},
    {u"Width", [](TReportControl& c, ValueReader& v) { c.setWidth(v.integer(0, maxPixels)); }},
    {u"Height", [](TReportControl& c, ValueReader& v) { c.setHeight(v.integer(0, maxPixels)); }},
    {u"Visible", [](TReportControl& c, ValueReader& v) { c.setVisible(v.boolean()); }},
    {u"Color", [](TReportControl& c, ValueReader& v) { c.setColor(v.color()); }},
    {u"ParentFont", [](TReportControl& c, ValueReader& v) { c.setParentFont(v.boolean()); }},
    {u"Font.Name",
     [](TReportControl& c, ValueReader& v) {
         const QString name = v.string();
         changeFont(c, [&](TReportFont& f) { f.name = name; });
     }},
    {u"Font.Height",
     [](TReportControl& c, ValueReader& v) {
         const int height = v.integer(1, maxFontPixels);
         changeFont(c, [&](TReportFont& f) { f.height = height; });
     }},
    {u"Font.Style",
     [](TReportControl& c, ValueReader& v) {
         const QStringList style = v.nameSet();
         changeFont(c, [&](TReportFont& f) { setFontStyle(f, style); });
     }},
    {u"Font.Color",
     [](TReportControl& c, ValueReader& v) {
         const QColor color = v.color();
         changeFont(c, [&](TReportFont& f) { f.color = color; });
     }},
};

const Property<TReportFrame> frameProperties[] = {
    {u"Frame.Color", [](TReportFrame& f, ValueReader& v) { f.color = v.color(); }},
    {u"Frame.DrawTop", [](TReportFrame& f, ValueReader& v) { f.drawTop = v.boolean(); }},
    {u"Frame.DrawBottom", [](TReportFrame& f, ValueReader& v) { f.drawBottom = v.boolean(); }},
    {u"Frame.DrawLeft", [](TReportFrame& f, ValueReader& v) { f.drawLeft = v.boolean(); }},
    {u"Frame.DrawRight", [](TReportFrame& f, ValueReader& v) { f.drawRight = v.boolean(); }},
    {u"Frame.Style",
     [](TReportFrame& f, ValueReader& v) {
         f.style = v.choice<Qt::PenStyle>(
             {u"Clear", u"Solid", u"Dash", u"Dot", u"DashDot", u"DashDotDot"});
     }},
    {u"Frame.Width", [](TReportFrame& f, ValueReader& v) { f.width = v.integer(-1, 100); }},
};

TReportUnit readUnit(ValueReader& v)
{
    return v.choice<TReportUnit>({u"MM", u"Inches", u"Pixels", u"Characters", u"Native"});
}

TReportOptions readOptions(ValueReader& v)
{
    TReportOptions options;
    for (const QString& item : v.nameSet()) {
        if (item == u"FirstPageHeader")
            options |= TReportOption::FirstPageHeader;
        else if (item == u"LastPageFooter")
            options |= TReportOption::LastPageFooter;
        else if (item == u"Compression")
            options |= TReportOption::Compression;
        else
            fail(QStringLiteral("'%1' is not a report option").arg(item));
    }
    return options;
}

using Settings = TReportPrinterSettings;

const Property<Settings> settingsProperties[] = {
    {u"PrinterSettings.Copies", [](Settings& s, ValueReader& v) { s.copies = v.integer(); }},
    {u"PrinterSettings.Duplex", [](Settings& s, ValueReader& v) { s.duplex = v.boolean(); }},
    {u"PrinterSettings.OutputBin",
     [](Settings& s, ValueReader& v) { s.outputBin = v.lookUp(&binFromName, u"paper bin"); }},
    {u"PrinterSettings.FirstPage",
     [](Settings& s, ValueReader& v) { s.firstPage = v.integer(0, INT_MAX); }},
    {u"PrinterSettings.LastPage",
     [](Settings& s, ValueReader& v) { s.lastPage = v.integer(0, INT_MAX); }},
    {u"PrinterSettings.UseStandardprinter",
     [](Settings& s, ValueReader& v) { s.useStandardPrinter = v.boolean(); }},
    {u"PrinterSettings.ExtendedDuplex",
     [](Settings& s, ValueReader& v) { s.extendedDuplex = v.integer(); }},
    {u"PrinterSettings.MemoryLimit",
     [](Settings& s, ValueReader& v) { s.memoryLimit = v.integer(0, INT_MAX); }},
    {u"PrinterSettings.PrintQuality",
     [](Settings& s, ValueReader& v) { s.printQuality = v.integer(); }},
    {u"PrinterSettings.Collate", [](Settings& s, ValueReader& v) { s.collate = v.integer(); }},
    {u"PrinterSettings.ColorOption",
     [](Settings& s, ValueReader& v) { s.colorOption = v.integer(); }},
    {u"PrinterSettings.UseCustomBinCode",
     [](Settings& s, ValueReader& v) { s.useCustomBinCode = v.boolean(); }},
    {u"PrinterSettings.CustomBinCode",
     [](Settings& s, ValueReader& v) { s.customBinCode = v.integer(); }},
    {u"PrinterSettings.UseCustomPaperCode",
     [](Settings& s, ValueReader& v) { s.useCustomPaperCode = v.boolean(); }},
    {u"PrinterSettings.CustomPaperCode",
     [](Settings& s, ValueReader& v) { s.customPaperCode = v.integer(); }},
    {u"PrinterSettings.PrintMetaFile",
     [](Settings& s, ValueReader& v) { s.printMetaFile = v.boolean(); }},
};

const Property<TReportPage> pageProperties[] = {
    {u"Page.Values", [](TReportPage& p, ValueReader& v) { p.setValues(v.numbers()); }},
    {u"Page.PaperSize",
     [](TReportPage& p, ValueReader& v) {
         p.setPaperSize(v.lookUp(&paperSizeFromName, u"paper size"));
     }},
    {u"Page.Orientation",
     [](TReportPage& p, ValueReader& v) {
         p.setOrientation(v.choice<TReportOrientation>({u"poPortrait", u"poLandscape"}));
     }},
    {u"Page.Columns", [](TReportPage& p, ValueReader& v) { p.setColumns(v.integer()); }},
    {u"Page.Ruler", [](TReportPage& p, ValueReader& v) { p.setRuler(v.boolean()); }},
    {u"Page.PrintOrder",
     [](TReportPage& p, ValueReader& v) {
         p.setPrintOrder(v.choice<TReportPrintOrder>({u"ColumnByColumn", u"RowByRow"}));
     }},
};

using Report = TCustomReport;

const Property<Report> reportProperties[] = {
    {u"Units", [](Report& r, ValueReader& v) { r.setUnits(readUnit(v)); }},
    {u"Zoom", [](Report& r, ValueReader& v) { r.setZoom(v.integer()); }},
    {u"Options", [](Report& r, ValueReader& v) { r.setOptions(readOptions(v)); }},
    {u"PrintIfEmpty", [](Report& r, ValueReader& v) { r.setPrintIfEmpty(v.boolean()); }},
    {u"ShowProgress", [](Report& r, ValueReader& v) { r.setShowProgress(v.boolean()); }},
    {u"SnapToGrid", [](Report& r, ValueReader& v) { r.setSnapToGrid(v.boolean()); }},
    {u"ReportTitle", [](Report& r, ValueReader& v) { r.setReportTitle(v.string()); }},
    {u"Description", [](Report& r, ValueReader& v) { r.setDescription(v.strings()); }},
    {u"BackImageControl", [](Report& r, ValueReader& v) { r.setBackImageControl(v.string()); }},
    {u"PrevFormStyle",
     [](Report& r, ValueReader& v) {
         r.previewSettings().prevFormStyle =
             v.choice<TReportFormStyle>({u"fsNormal", u"fsStayOnTop"});
     }},
    {u"PreviewInitialState",
     [](Report& r, ValueReader& v) {
         r.previewSettings().previewInitialState =
             v.choice<TReportWindowState>({u"wsNormal", u"wsMinimized", u"wsMaximized"});
     }},
    {u"PreviewWidth",
     [](Report& r, ValueReader& v) { r.previewSettings().previewWidth = v.integer(); }},
    {u"PreviewHeight",
     [](Report& r, ValueReader& v) { r.previewSettings().previewHeight = v.integer(); }},
    {u"PrevShowThumbs",
     [](Report& r, ValueReader& v) { r.previewSettings().prevShowThumbs = v.boolean(); }},
    {u"PrevShowSearch",
     [](Report& r, ValueReader& v) { r.previewSettings().prevShowSearch = v.boolean(); }},
    {u"PrevInitialZoom",
     [](Report& r, ValueReader& v) {
         r.previewSettings().prevInitialZoom =
             v.choice<TReportZoomState>({u"zsZoomToFit", u"zsZoomToWidth", u"zsZoomOther"});
     }},
};

using Band = TReportCustomBand;

const Property<Band> bandProperties[] = {
    {u"BandType",
     [](Band& b, ValueReader& v) { b.setBandType(v.lookUp(&bandTypeFromName, u"band type")); }},
    {u"AlignToBottom", [](Band& b, ValueReader& v) { b.setAlignToBottom(v.boolean()); }},
    {u"Enabled", [](Band& b, ValueReader& v) { b.setEnabled(v.boolean()); }},
    {u"TransparentBand", [](Band& b, ValueReader& v) { b.setTransparentBand(v.boolean()); }},
    {u"ForceNewColumn", [](Band& b, ValueReader& v) { b.setForceNewColumn(v.boolean()); }},
    {u"ForceNewPage", [](Band& b, ValueReader& v) { b.setForceNewPage(v.boolean()); }},
    {u"PreCalculateBandHeight",
     [](Band& b, ValueReader& v) { b.setPreCalculateBandHeight(v.boolean()); }},
    {u"KeepOnOnePage", [](Band& b, ValueReader& v) { b.setKeepOnOnePage(v.boolean()); }},
    {u"Size.Values", [](Band& b, ValueReader& v) { b.size().setValues(v.numbers()); }},
};

using Label = TReportCustomLabel;

const Property<Label> labelProperties[] = {
    {u"Enabled", [](Label& l, ValueReader& v) { l.setEnabled(v.boolean()); }},
    {u"Size.Values", [](Label& l, ValueReader& v) { l.size().setValues(v.numbers()); }},
    {u"Alignment",
     [](Label& l, ValueReader& v) {
         l.setAlignment(
             v.choice<TReportAlignment>({u"taLeftJustify", u"taRightJustify", u"taCenter"}));
     }},
    {u"AlignToBand", [](Label& l, ValueReader& v) { l.setAlignToBand(v.boolean()); }},
    {u"AutoSize", [](Label& l, ValueReader& v) { l.setAutoSize(v.boolean()); }},
    {u"AutoStretch", [](Label& l, ValueReader& v) { l.setAutoStretch(v.boolean()); }},
    {u"BiDiMode",
     [](Label& l, ValueReader& v) {
         l.setBiDiMode(
             v.choice<TReportBiDiMode>({u"bdLeftToRight", u"bdRightToLeft", u"bdRightToLeftNoAlign",
                                        u"bdRightToLeftReadingOnly"}));
     }},
    {u"ParentBiDiMode", [](Label& l, ValueReader& v) { l.setParentBiDiMode(v.boolean()); }},
    {u"Caption", [](Label& l, ValueReader& v) { l.setCaption(v.string()); }},
    {u"Transparent", [](Label& l, ValueReader& v) { l.setTransparent(v.boolean()); }},
    {u"WordWrap", [](Label& l, ValueReader& v) { l.setWordWrap(v.boolean()); }},
    {u"FontSize", [](Label& l, ValueReader& v) { l.setFontSize(v.integer(0, maxFontPoints)); }},
};

bool applyProperty(TReportControl& control, const QString& key, ValueReader& value)
{
    if (applyFrom(controlProperties, control, key, value))
        return true;
    if (auto* report = qobject_cast<TCustomReport*>(&control)) {
        return applyFrom(reportProperties, *report, key, value) ||
               applyFrom(pageProperties, report->page(), key, value) ||
               applyFrom(settingsProperties, report->printerSettings(), key, value) ||
               applyFrom(frameProperties, report->frame(), key, value);
    }
    if (auto* band = qobject_cast<TReportCustomBand*>(&control)) {
        return applyFrom(bandProperties, *band, key, value) ||
               applyFrom(frameProperties, band->frame(), key, value);
    }
    if (auto* label = qobject_cast<TReportCustomLabel*>(&control)) {
        return applyFrom(labelProperties, *label, key, value) ||
               applyFrom(frameProperties, label->frame(), key, value);
    }
    return false;
}

class LayoutReader
{
public:
    std::unique_ptr<TReport> read(const QString& text)
    {
        const QStringList lines = text.split(u'\n');
        for (const QString& line : lines) {
            ++m_line;
            readLine(tokenize(line));
        }
        if (!m_root)
            fail(QStringLiteral("no report in the layout"));
        if (!m_open.empty())
            fail(QStringLiteral("'%1' is not closed with }").arg(m_open.back()->objectName()));
        m_root->finishLoading();
        return std::move(m_root);
    }

    int line() const { return m_line; }

private:
    void readLine(const std::vector<Token>& tokens)
    {
        if (tokens.empty())
            return;
        if (tokens.size() == 1 && tokens[0].kind == TokenKind::CloseBrace) {
            if (m_open.empty())
                fail(QStringLiteral("} without a component to close"));
            m_open.pop_back();
            if (m_open.empty())
                m_finished = true;
            return;
        }
        if (m_finished)
            fail(QStringLiteral("text after the end of the report"));
        if (tokens.size() == 3 && tokens[0].kind == TokenKind::Name &&
            tokens[1].kind == TokenKind::Name && tokens[2].kind == TokenKind::OpenBrace) {
            openComponent(tokens[0].text, tokens[1].text);
            return;
        }
        if (tokens.size() >= 2 && tokens[0].kind == TokenKind::Name &&
            tokens[1].kind == TokenKind::Equals) {
            if (m_open.empty())
                fail(QStringLiteral("property '%1' outside a component").arg(tokens[0].text));
            ValueReader value(std::span<const Token>(tokens).subspan(2));
            if (!applyProperty(*m_open.back(), tokens[0].text, value)) {
                fail(QStringLiteral("%1 has no property '%2'")
                         .arg(QString::fromLatin1(m_open.back()->metaObject()->className())
                                  .section(u':', -1),
                              tokens[0].text));
            }
            return;
        }
        fail(QStringLiteral("expected 'Class Name {', 'Key = value' or '}'"));
    }

    void openComponent(const QString& className, const QString& name)
    {
        if (name.contains(u'.'))
            fail(QStringLiteral("'%1' is not a valid component name").arg(name));
        if (m_names.contains(name.toCaseFolded()))
            fail(QStringLiteral("a component named '%1' already exists").arg(name));
        TReportControl* parent = m_open.empty() ? nullptr : m_open.back();
        TReportControl* component = nullptr;
        if (className == u"TReport") {
            if (parent || m_root)
                fail(QStringLiteral("a report can only be the outermost component"));
            m_root = std::make_unique<TReport>();
            m_root->beginLoading();
            component = m_root.get();
        } else if (className == u"TReportBand") {
            if (!qobject_cast<TCustomReport*>(parent))
                fail(QStringLiteral("a band must be inside the report"));
            // The parent is loading already, so the new band is not laid out yet.
            component = new TReportBand(parent);
        } else if (className == u"TReportLabel") {
            if (!qobject_cast<TCustomReport*>(parent) && !qobject_cast<TReportCustomBand*>(parent))
                fail(QStringLiteral("a label must be inside a band or the report"));
            component = new TReportLabel(parent);
        } else {
            fail(QStringLiteral("unknown component class '%1'").arg(className));
        }
        component->beginLoading();
        component->setObjectName(name);
        m_names.insert(name.toCaseFolded());
        m_open.push_back(component);
    }

    std::unique_ptr<TReport> m_root;
    std::vector<TReportControl*> m_open;
    QSet<QString> m_names;
    bool m_finished = false;
    int m_line = 0;
};

} // namespace

std::unique_ptr<TReport> readReportLayout(QByteArrayView text, const QString& sourceName)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = decoder.decode(text);
    if (decoder.hasError()) {
        throw EReportError(platform::formatMessage(
            QStringLiteral("Report layout \"%s\" is not UTF-8 text"), {sourceName}));
    }
    if (decoded.startsWith(QChar(0xFEFF)))
        decoded.remove(0, 1);
    LayoutReader reader;
    try {
        return reader.read(decoded);
    } catch (const LayoutError& error) {
        throw EReportError(
            platform::formatMessage(QStringLiteral("Report layout \"%s\", line %s: %s"),
                                    {sourceName, QString::number(reader.line()), error.what()}));
    } catch (const EReportError& error) {
        throw EReportError(
            platform::formatMessage(QStringLiteral("Report layout \"%s\", line %s: %s"),
                                    {sourceName, QString::number(reader.line()), error.message()}));
    }
}

std::unique_ptr<TReport> loadReportLayout(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EReportError(
            platform::formatMessage(QStringLiteral("Cannot open report layout \"%s\". %s"),
                                    {fileName, file.errorString()}));
    }
    return readReportLayout(file.readAll(), fileName);
}

} // namespace report
