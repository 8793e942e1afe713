#include "skins/skindescription.h"

#include "platform/gbk.h"
#include "platform/profile_text.h"
#include "skins/bmp.h"
#include "skins/container.h"

#include <map>

namespace skins {
namespace {

class Reader
{
public:
    Reader(const SkinContainer& container, QByteArrayView text)
        : m_container(container), m_list(platform::profileSectionList(text))
    {}

    std::optional<QByteArrayView> value(QByteArrayView section, QByteArrayView key) const
    {
        // A description asks each section for many keys: finding the section once per key
        // was most of the time the program spent on its skin at start.
        const QByteArray name = section.toByteArray();
        auto found = m_sections.find(name);
        if (found == m_sections.end())
            found = m_sections.emplace(name, platform::profileSectionLines(m_list, section)).first;
        return found->second ? platform::profileLinesValue(*found->second, key) : std::nullopt;
    }

    int integer(QByteArrayView section, QByteArrayView key, int fallback = 0) const
    {
        const auto v = value(section, key);
        if (!v)
            return fallback;
        bool ok = false;
        const int n = v->trimmed().toInt(&ok);
        return ok ? n : fallback;
    }

    QString text(QByteArrayView section, QByteArrayView key) const
    {
        const auto v = value(section, key);
        return v ? platform::fromGbk(*v) : QString();
    }

    // "R", "G" and "B" keys (all three), else one value of three numbers.
    std::optional<QColor> colour(QByteArrayView section, const QByteArray& key) const
    {
        int rgb[3];
        bool all = true;
        const char suffix[3] = {'R', 'G', 'B'};
        for (int i = 0; i < 3 && all; ++i) {
            const auto v = value(section, key + suffix[i]);
            bool ok = false;
            rgb[i] = v ? v->trimmed().toInt(&ok) : 0;
            all = ok && rgb[i] >= 0 && rgb[i] <= 255;
        }
        if (all)
            return QColor(rgb[0], rgb[1], rgb[2]);
        const auto v = value(section, key);
        if (!v)
            return std::nullopt;
        const QList<QByteArray> parts = v->toByteArray().simplified().split(' ');
        if (parts.size() != 3)
            return std::nullopt;
        for (int i = 0; i < 3; ++i) {
            bool ok = false;
            rgb[i] = parts[i].toInt(&ok);
            if (!ok || rgb[i] < 0 || rgb[i] > 255)
                return std::nullopt;
        }
        return QColor(rgb[0], rgb[1], rgb[2]);
    }

    // The bitmap of an image key: absent without a name, empty when it cannot be had.
    std::pair<bool, QImage> bitmap(QByteArrayView section, QByteArrayView key, bool trans) const
    {
        const QString name = text(section, key).toLower();
        if (name.isEmpty())
            return {false, {}};
        if (!name.endsWith(u".bmp"))
            return {true, {}};
        const SkinEntry* entry = m_container.find(name);
        if (!entry)
            return {true, {}};
        QImage image = decodeBmp(entry->data);
        if (trans && !image.isNull()) {
            image = image.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < image.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x)
                    if (row[x] == kTransparentColour)
                        row[x] = 0;
            }
        }
        return {true, image};
    }

    SkinElement element(QByteArrayView section, QByteArrayView imageKey = "Image") const
    {
        SkinElement e;
        e.trans = integer(section, "Trans") != 0;
        auto [present, image] = bitmap(section, imageKey, e.trans);
        e.present = present;
        e.image = std::move(image);
        e.leftWidth = std::max(0, integer(section, "LeftWidth"));
        e.rightWidth = std::max(0, integer(section, "RightWidth"));
        e.topHeight = std::max(0, integer(section, "TopHeight"));
        e.bottomHeight = std::max(0, integer(section, "BottomHeight"));
        e.style = integer(section, "Style");
        e.tile = integer(section, "Tile") == 1;
        e.frames = std::clamp(integer(section, "Frame", 1), 1, 64);
        e.normalColour = colour(section, "NormalColour");
        e.mouseOverColour = colour(section, "MouseOverColour");
        e.pressedColour = colour(section, "PressedColour");
        e.normalColour2 = colour(section, "NormalColour2");
        e.mouseOverColour2 = colour(section, "MouseOverColour2");
        e.pressedColour2 = colour(section, "PressedColour2");
        return e;
    }

    FrameSide side(const QByteArray& name) const
    {
        FrameSide s;
        s.trans = integer("Personality", name + "Trans") != 0;
        auto [present, image] = bitmap("Personality", name, s.trans);
        s.present = present;
        s.image = std::move(image);
        s.topHeight = std::max(0, integer("Personality", name + "TopHeight"));
        s.botHeight = std::max(0, integer("Personality", name + "BotHeight"));
        s.frames = std::clamp(integer("Personality", name + "Frame", 1), 1, 8);
        s.stretch = integer("Personality", name + "Stretch", 1) != 0;
        s.across = name == "Top" || name == "Bottom";
        return s;
    }

    const SkinContainer& m_container;
    QList<platform::ProfileSection> m_list;
    mutable std::map<QByteArray, std::optional<QByteArrayView>> m_sections;
};

QImage sliceOf(const QImage& image, int frames, int index, bool horizontal)
{
    if (image.isNull())
        return {};
    frames = std::max(frames, 1);
    index = std::clamp(index, 0, frames - 1);
    if (horizontal) {
        const int w = image.width() / frames;
        return w > 0 ? image.copy(index * w, 0, w, image.height()) : image;
    }
    const int h = image.height() / frames;
    return h > 0 ? image.copy(0, index * h, image.width(), h) : image;
}

} // namespace

QImage SkinElement::frame(int index) const
{
    return sliceOf(image, frames, index, true);
}

QImage FrameSide::frame(bool active) const
{
    // Top and bottom stack their frames downwards, the sides side by side.
    return sliceOf(image, frames, active ? 0 : 1, !across);
}

QColor SkinDescription::colour(const QString& key, const QColor& fallback) const
{
    return colours.value(key, fallback);
}

QColor SkinDescription::buttonFace() const
{
    return colour(QStringLiteral("ButtonFace"), QColor(240, 240, 240));
}

const SkinElement& SkinDescription::element(const QString& section) const
{
    static const SkinElement absent;
    const auto it = elements.constFind(section);
    return it == elements.cend() ? absent : *it;
}

const QList<QString>& elementSections()
{
    static const QList<QString> names = {
        QStringLiteral("Progress"),
        QStringLiteral("GroupBoxEdge"),
        QStringLiteral("GroupBox"),
        QStringLiteral("Toolbars"),
        QStringLiteral("Tabs"),
        QStringLiteral("StatusBarEdges"),
        QStringLiteral("ComboButton"),
        QStringLiteral("SunkEdge"),
        QStringLiteral("ExtraImages"),
        QStringLiteral("Headerbar"),
        QStringLiteral("MenuItem"),
        QStringLiteral("MenuBackground"),
        QStringLiteral("Scrollbar"),
        QStringLiteral("HorzScroll"),
        QStringLiteral("VertScroll"),
        QStringLiteral("HorzScrollThumb"),
        QStringLiteral("VertScrollThumb"),
        QStringLiteral("Trackbar.ThumbHorz"),
        QStringLiteral("Trackbar.ThumbVert"),
        QStringLiteral("Trackbar.ThumbLeft"),
        QStringLiteral("Trackbar.ThumbRight"),
        QStringLiteral("Trackbar.ThumbUp"),
        QStringLiteral("Trackbar.ThumbDown"),
        QStringLiteral("UpDown.Horz"),
        QStringLiteral("UpDown.Vert"),
    };
    return names;
}

QList<QByteArray> profileSections(QByteArrayView text)
{
    QList<QByteArray> names;
    for (qsizetype from = 0; from < text.size();) {
        qsizetype end = from;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        QByteArrayView line = text.sliced(from, end - from).trimmed();
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            if (close > 0)
                names.append(line.sliced(1, close - 1).trimmed().toByteArray());
        }
        from = end + 1;
    }
    return names;
}

SkinDescription readSkinDescription(const SkinContainer& container)
{
    SkinDescription d;
    const SkinEntry* ini = container.description();
    if (!ini)
        return d;
    const Reader r(container, ini->data);

    d.skinName = r.text("TitlebarSkin", "SkinName");
    d.top = r.side("Top");
    d.left = r.side("Left");
    d.right = r.side("Right");
    d.bottom = r.side("Bottom");
    d.menuBar = r.element("Personality", "menuBar");
    d.tileMenu = r.integer("Personality", "TileMenu");
    d.tileLeftMenu = r.integer("Personality", "TileLeftMenu");
    d.tileRightMenu = r.integer("Personality", "TileRightMenu");
    d.textAlignment = std::clamp(r.integer("Personality", "TextAlignment"), 0, 2);
    d.textShift = r.integer("Personality", "TextShift");
    d.textShiftVert = r.integer("Personality", "TextShiftVert");
    d.textRightClip = std::max(0, r.integer("Personality", "TextRightClip"));

    d.button = r.element("Buttons", "Bitmap");
    d.checkButton = r.element("Buttons", "CheckButton");
    d.checkButton.frames = std::clamp(r.integer("Buttons", "CheckButtonFrame", 2), 1, 16);
    d.radioButton = r.element("Buttons", "RadioButton");
    d.radioButton.frames = std::clamp(r.integer("Buttons", "RadioButtonFrame", 2), 1, 16);

    for (const QByteArray& name : profileSections(ini->data)) {
        const QByteArray upper = name.toUpper();
        if (!upper.startsWith("BUTTON") || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
            upper == "BUTTON.CHECKBOX" || upper == "BUTTON")
            continue;
        CaptionButton b;
        b.section = platform::fromGbk(name);
        b.action = r.integer(name, "Action", caDecoration);
        b.visibility = r.integer(name, "Visibility");
        if (b.action == caDecoration && b.visibility != 0)
            continue;
        b.image = r.bitmap(name, "ButtonImage", true).second;
        b.frames = std::clamp(r.integer(name, "Frame", 3), 1, 8);
        b.visibility1 = r.integer(name, "Visibility1");
        b.align = r.integer(name, "Align", 1);
        b.x = r.integer(name, "Xcoord");
        b.y = r.integer(name, "Ycoord");
        b.combineOp = r.integer(name, "CombineOp");
        d.captionButtons.append(b);
    }
    d.mdiControls = r.element("MDICONTROLS");

    for (const char* key :
         {"ButtonFace", "WindowText", "Scrollbar", "HilightText", "Hilight", "Menubar", "Menu",
          "MenuText", "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow",
          "ButtonDkShadow", "MenuBarText", "TitleTextActive", "TitleTextNoActive"}) {
        if (const auto c = r.colour("Colours", QByteArray(key)))
            d.colours.insert(QString::fromLatin1(key), *c);
    }
    for (const QString& section : elementSections()) {
        const QByteArray name = section.toLatin1();
        SkinElement e = r.element(name, section == u"Progress" ? "Bitmap" : "Image");
        if (e.present)
            d.elements.insert(section, std::move(e));
    }
    return d;
}

} // namespace skins
