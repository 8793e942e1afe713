#pragma once

#include "platform/emf.h"
#include "report/units.h"

#include <QColor>
#include <QFlags>
#include <QFont>
#include <QString>
#include <QStringView>
#include <functional>
#include <optional>

namespace platform {
struct DEVMODE;
}

namespace report {

enum TReportOrientation
{
    poPortrait,
    poLandscape
};

/// Paper sizes; ordinals 1 to 68 equal the platform's paper codes, `Custom` is code 256.
enum class TReportPaperSize
{
    Default,
    Letter,
    LetterSmall,
    Tabloid,
    Ledger,
    Legal,
    Statement,
    Executive,
    A3,
    A4,
    A4Small,
    A5,
    B4,
    B5,
    Folio,
    Quarto,
    ps10X14,
    ps11X17,
    Note,
    Env9,
    Env10,
    Env11,
    Env12,
    Env14,
    CSheet,
    DSheet,
    ESheet,
    EnvDL,
    EnvC5,
    EnvC3,
    EnvC4,
    EnvC6,
    EnvC65,
    EnvB4,
    EnvB5,
    EnvB6,
    EnvItaly,
    EnvMonarch,
    EnvPersonal,
    FanfoldUSStd,
    FanfoldGerStd,
    FanfoldGerLegal,
    B4ISO,
    PostcardJap,
    ps9X11,
    ps10X11,
    ps15X11,
    EnvInvite,
    Reserved1,
    Reserved2,
    LetterExtra,
    LegalExtra,
    TabloidExtra,
    A4Extra,
    LetterTrans,
    A4Trans,
    LetterExtraTrans,
    SuperASuperAA4,
    SuperBSuperBA3,
    LetterPlus,
    A4Plus,
    A5Trans,
    B5Trans,
    A3Extra,
    A5Extra,
    B5Extra,
    A2,
    A3Trans,
    A3ExtraTrans,
    Custom
};

inline constexpr int paperSizeCount = 70;

/// Portrait width and length of a paper size in millimetres.
struct TReportPaperDimensions
{
    long double width;
    long double length;
};

/// The table entry of ordinals 1 to 68; none for `Default` and `Custom`.
std::optional<TReportPaperDimensions> paperDimensions(TReportPaperSize size);
/// The platform's paper code (`dmPaperSize`).
int paperCode(TReportPaperSize size);

/// Paper sources.
enum class TReportBin
{
    First,
    Upper,
    Lower,
    Middle,
    Manual,
    Envelope,
    EnvManual,
    Auto,
    Tractor,
    SmallFormat,
    LargeFormat,
    LargeCapacity,
    Cassette,
    Last
};

/// The platform's paper-source code (`dmDefaultSource`).
int binCode(TReportBin bin);

enum TReportBandType
{
    rbTitle,
    rbPageHeader,
    rbDetail,
    rbPageFooter,
    rbSummary,
    rbGroupHeader,
    rbGroupFooter,
    rbSubDetail,
    rbColumnHeader,
    rbOverlay,
    rbChild
};

enum TReportAlignment
{
    taLeftJustify,
    taRightJustify,
    taCenter
};

enum TReportBiDiMode
{
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly
};

enum class TReportOption
{
    FirstPageHeader = 0x1,
    LastPageFooter = 0x2,
    Compression = 0x4
};
Q_DECLARE_FLAGS(TReportOptions, TReportOption)

/// How the preview window chooses its first zoom.
enum TReportZoomState
{
    zsZoomToFit,
    zsZoomToWidth,
    zsZoomOther
};

enum TReportFormStyle
{
    fsNormal,
    fsStayOnTop
};

enum TReportWindowState
{
    wsNormal,
    wsMinimized,
    wsMaximized
};

/// How a report's preview window opens (its `PrevFormStyle`, `PreviewInitialState`,
/// `PreviewWidth`, `PreviewHeight`, `PrevShowThumbs`, `PrevShowSearch`, `PrevInitialZoom`).
struct TReportPreviewSettings
{
    TReportFormStyle prevFormStyle = fsNormal;
    TReportWindowState previewInitialState = wsNormal;
    int previewWidth = 1600; // pixels; 0 or less opens 500
    int previewHeight = 2000;
    bool prevShowThumbs = true;
    bool prevShowSearch = true;
    TReportZoomState prevInitialZoom = zsZoomOther;

    bool operator==(const TReportPreviewSettings&) const = default;
};

/// The sides drawn around a band, a printable or the page.
struct TReportFrame
{
    QColor color = Qt::black;
    bool drawTop = false;
    bool drawBottom = false;
    bool drawLeft = false;
    bool drawRight = false;
    Qt::PenStyle style = Qt::SolidLine;
    int width = 1; // points

    bool hasAnySide() const { return drawTop || drawBottom || drawLeft || drawRight; }
    bool operator==(const TReportFrame&) const = default;
};

/// A font as the layouts give it: a face, a character height in report pixels (1/96 inch), a
/// style and a colour. The size in points follows from the height.
struct TReportFont
{
    QString name;
    int height = 13; // character height, report pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QColor color = Qt::black;

    /// A font of `points` in report pixels.
    static TReportFont fromPoints(const QString& name, int points);
    /// A font `pixels` report pixels high.
    static TReportFont fromPixels(const QString& name, int pixels);

    /// Points, rounded as the platform rounds a multiply-divide.
    int size() const { return mulDiv(height, 72, reportPixelsPerInch); }
    void setSize(int points) { height = mulDiv(points, reportPixelsPerInch, 72); }
    /// The font a canvas of `devicePixelsPerInch` selects. At the report's own resolution (page
    /// pictures, the reference context) that is the stored pixel height; on any other device
    /// the size in points is kept, so the pixel height follows the device's resolution.
    platform::CanvasFont canvasFont(int devicePixelsPerInch) const;
    bool operator==(const TReportFont&) const = default;
};

class TCustomReport;

// Events: optional callbacks with the sender first; an empty one means the built-in behaviour.
using TReportNotifyEvent = std::function<void(QObject* sender)>;
using TReportBeforePrintEvent = std::function<void(QObject* sender, bool& printReport)>;
using TReportNeedDataEvent = std::function<void(QObject* sender, bool& moreData)>;
using TReportPrinterSettingsEvent =
    std::function<void(QObject* sender, bool& cancel, platform::DEVMODE& devMode)>;
using TReportBandBeforePrintEvent = std::function<void(QObject* sender, bool& printBand)>;
using TReportBandAfterPrintEvent = std::function<void(QObject* sender, bool bandPrinted)>;
using TReportLabelPrintEvent = std::function<void(QObject* sender, QString& value)>;

/// Names of enumeration values as layouts write them.
QStringView paperSizeName(TReportPaperSize size);
std::optional<TReportPaperSize> paperSizeFromName(QStringView name);
QStringView binName(TReportBin bin);
std::optional<TReportBin> binFromName(QStringView name);
QStringView bandTypeName(TReportBandType type);
std::optional<TReportBandType> bandTypeFromName(QStringView name);

} // namespace report

Q_DECLARE_OPERATORS_FOR_FLAGS(report::TReportOptions)
