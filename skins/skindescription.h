#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

namespace skins {

class SkinContainer;

/// Pixels of this colour are see-through in a bitmap whose "Trans" key is set.
inline constexpr QRgb kTransparentColour = 0xFFFF00FF;

/// One skinned part: a bitmap of one or more equal frames side by side (normal, mouse-over,
/// pressed, disabled), margins kept unstretched, and state colours.
struct SkinElement
{
    bool present = false; // false when the image key is missing or empty
    QImage image;         // null when the named bitmap is missing or malformed
    int leftWidth = 0, rightWidth = 0, topHeight = 0, bottomHeight = 0;
    int style = 0;
    bool trans = false;
    bool tile = false; // false: stretch
    int frames = 1;
    std::optional<QColor> normalColour, mouseOverColour, pressedColour;
    std::optional<QColor> normalColour2, mouseOverColour2, pressedColour2;

    /// Frame index (clamped to the frames there are); null when there is no bitmap.
    QImage frame(int index) const;
};

/// One side of the window frame from "Personality": ends of topHeight/botHeight pixels kept,
/// the middle stretched or tiled; frames stacked across the side (active first, inactive next).
struct FrameSide
{
    bool present = false;
    QImage image;
    int topHeight = 0, botHeight = 0;
    int frames = 1;
    bool stretch = true;
    bool trans = false;
    bool across = true; // top and bottom run across; left and right run down

    QImage frame(bool active) const;
};

/// Caption button codes.
enum CaptionAction
{
    caDecoration = -1,
    caClose = 0,
    caMaximize = 1,
    caMinimize = 2,
    caSystemMenu = 3,
};

struct CaptionButton
{
    QString section;
    QImage image; // frames side by side: normal, mouse-over, pressed
    int frames = 3;
    int action = caDecoration;
    int visibility = 0;  // 0 always, 1 only with a maximise box, 2 only with a minimise box
    int visibility1 = 0; // kept as read
    int align = 1;       // 0 from the left edge, 1 from the right edge
    int x = 0, y = 0;    // from that edge and from the top
    int combineOp = 0;
};

struct SkinDescription
{
    QString skinName;
    FrameSide top, left, right, bottom;
    SkinElement menuBar;
    int tileMenu = 0, tileLeftMenu = 0, tileRightMenu = 0;
    int textAlignment = 0; // 0 left, 1 centre, 2 right
    int textShift = 0, textShiftVert = 0, textRightClip = 0;

    SkinElement button, checkButton, radioButton;
    QList<CaptionButton> captionButtons;
    SkinElement mdiControls;
    QMap<QString, QColor> colours;       // "Colours" keys as written
    QMap<QString, SkinElement> elements; // "Progress", "GroupBox", "Scrollbar", ...

    QColor colour(const QString& key, const QColor& fallback) const;
    QColor buttonFace() const;
    const SkinElement& element(const QString& section) const;
};

/// The names of the single-element sections read into SkinDescription::elements.
const QList<QString>& elementSections();

/// Reads the description entry of a container and decodes the bitmaps it names. Missing
/// sections, keys and bitmaps leave the parts absent or empty; nothing here raises.
SkinDescription readSkinDescription(const SkinContainer& container);

/// The section names of an INI text in file order.
QList<QByteArray> profileSections(QByteArrayView text);

} // namespace skins
