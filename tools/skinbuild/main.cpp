// Draws the artwork of the program's skins and packs each into a skin file:
// skin_builtin.skin (applied at start), skin_item0.skin (light blue) and skin_item1.skin (dark).
#include "skins/bmp.h"
#include "skins/container.h"
#include "skins/lzhuf.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

constexpr QRgb kSeeThrough = 0xFFFF00FF;

struct Theme
{
    const char* name;
    QColor face, text, base, edge, light, shadow, dark;
    QColor titleTop, titleBottom, titleText, titleTextInactive;
    QColor accent, accentText, buttonTop, buttonBottom;
};

QImage canvas(int w, int h, QColor fill = QColor(kSeeThrough))
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QColor inactive(QColor c)
{
    const int grey = qGray(c.rgb());
    return QColor((c.red() + grey * 2) / 3, (c.green() + grey * 2) / 3, (c.blue() + grey * 2) / 3);
}

// Frames side by side (or stacked), each drawn by draw(painter, rect, index).
template <typename Draw>
QImage frames(int w, int h, int count, bool stacked, Draw draw, QColor fill = QColor(kSeeThrough))
{
    QImage image = canvas(stacked ? w : w * count, stacked ? h * count : h, fill);
    QPainter p(&image);
    for (int i = 0; i < count; ++i)
        draw(p, stacked ? QRect(0, i * h, w, h) : QRect(i * w, 0, w, h), i);
    return image;
}

void bevel(QPainter& p, const QRect& r, QColor top, QColor bottom, QColor border, int radius)
{
    // No smoothing: anti-aliased edges would blend with the see-through colour.
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    QPainterPath path;
    path.addRoundedRect(QRectF(r).adjusted(0, 0, -1, -1), radius, radius);
    p.fillPath(path, g);
    p.setPen(border);
    p.drawPath(path);
}

QByteArray colour(const char* key, QColor c, bool split)
{
    if (split)
        return QByteArray(key) + "R=" + QByteArray::number(c.red()) + "\r\n" + key +
               "G=" + QByteArray::number(c.green()) + "\r\n" + key +
               "B=" + QByteArray::number(c.blue()) + "\r\n";
    return QByteArray(key) + '=' + QByteArray::number(c.red()) + ' ' +
           QByteArray::number(c.green()) + ' ' + QByteArray::number(c.blue()) + "\r\n";
}

QByteArray buildSkin(const Theme& t)
{
    QList<skins::SkinEntry> bitmaps;
    const auto add = [&](const char* name, const QImage& image) {
        bitmaps.append({QString::fromLatin1(name), skins::encodeBmp(image)});
    };
    // Window frame: active and inactive stacked (top, bottom) or side by side (left, right).
    add("top.bmp", frames(120, 26, 2, true, [&](QPainter& p, QRect r, int i) {
            const QColor a = i ? inactive(t.titleTop) : t.titleTop;
            const QColor b = i ? inactive(t.titleBottom) : t.titleBottom;
            QLinearGradient g(r.topLeft(), r.bottomLeft());
            g.setColorAt(0, a.lighter(115));
            g.setColorAt(0.5, a);
            g.setColorAt(1, b);
            p.fillRect(r, g);
            p.setPen(t.dark);
            p.drawLine(r.topLeft(), r.topRight());
            p.drawLine(r.topLeft(), r.bottomLeft());
            p.drawLine(r.topRight(), r.bottomRight());
            p.setPen(a.lighter(140));
            p.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
        }));
    const auto sideArt = [&](QPainter& p, QRect r, int i) {
        const QColor b = i ? inactive(t.titleBottom) : t.titleBottom;
        p.fillRect(r, b);
        p.setPen(t.dark);
        p.drawRect(r.adjusted(0, -1, -1, 1));
    };
    add("left.bmp", frames(4, 20, 2, false, sideArt));
    add("right.bmp", frames(4, 20, 2, false, sideArt));
    add("bottom.bmp", frames(120, 4, 2, true, [&](QPainter& p, QRect r, int i) {
            p.fillRect(r, i ? inactive(t.titleBottom) : t.titleBottom);
            p.setPen(t.dark);
            p.drawLine(r.bottomLeft(), r.bottomRight());
            p.drawLine(r.topLeft(), r.bottomLeft());
            p.drawLine(r.topRight(), r.bottomRight());
        }));
    // Caption buttons: normal, mouse-over, pressed.
    const auto caption = [&](const char* name, int glyph) {
        add(name, frames(20, 18, 3, false, [&, glyph](QPainter& p, QRect r, int i) {
                p.fillRect(r, t.titleTop);
                const QColor fill = glyph == 0 && i > 0 ? QColor(200, 60, 50).lighter(100 + 10 * i)
                                                        : t.titleBottom.lighter(110 + 25 * i);
                bevel(p, r.adjusted(1, 1, -1, -1), fill.lighter(120), fill, t.dark, 3);
                p.setPen(QPen(t.titleText, 2));
                const QRect g = r.adjusted(6, 5, -6, -5);
                if (glyph == 0) {
                    p.drawLine(g.topLeft(), g.bottomRight());
                    p.drawLine(g.topRight(), g.bottomLeft());
                } else if (glyph == 1) {
                    p.drawRect(g);
                } else {
                    p.drawLine(g.left(), g.bottom(), g.right(), g.bottom());
                }
            }));
    };
    caption("close.bmp", 0);
    caption("max.bmp", 1);
    caption("min.bmp", 2);

    // Push buttons and arrows: normal, mouse-over, pressed, disabled.
    const auto button = [&](QPainter& p, QRect r, int i) {
        p.fillRect(r, t.face);
        QColor top = t.buttonTop, bottom = t.buttonBottom;
        if (i == 1) {
            top = top.lighter(108);
            bottom = bottom.lighter(108);
        } else if (i == 2) {
            std::swap(top, bottom);
        } else if (i == 3) {
            top = inactive(top);
            bottom = inactive(bottom);
        }
        bevel(p, r, top, bottom, i == 1 ? t.accent : t.shadow, 3);
    };
    add("button.bmp", frames(24, 22, 4, false, button));
    add("combobutton.bmp", frames(18, 20, 4, false, button));
    add("updown.bmp", frames(16, 10, 4, false, button));
    add("thumb.bmp", frames(16, 16, 4, false, button));
    add("header.bmp", frames(24, 18, 4, false, button));
    add("check.bmp", frames(13, 13, 4, false, [&](QPainter& p, QRect r, int i) {
            p.fillRect(r, i >= 2 ? t.face : t.base);
            p.setPen(t.shadow);
            p.drawRect(r.adjusted(0, 0, -1, -1));
            if (i % 2) {
                p.setPen(QPen(t.accent, 2));
                p.drawLine(r.left() + 3, r.top() + 6, r.left() + 5, r.top() + 9);
                p.drawLine(r.left() + 5, r.top() + 9, r.left() + 10, r.top() + 3);
            }
        }));
    add("radio.bmp", frames(13, 13, 4, false, [&](QPainter& p, QRect r, int i) {
            p.setBrush(i >= 2 ? t.face : t.base);
            p.setPen(t.shadow);
            p.drawEllipse(r.adjusted(0, 0, -1, -1));
            if (i % 2) {
                p.setBrush(t.accent);
                p.setPen(Qt::NoPen);
                p.drawEllipse(r.adjusted(4, 4, -4, -4));
            }
        }));
    // Edges with a see-through middle.
    const auto edge = [&](const char* name, QColor outer, QColor inner, int radius) {
        add(name, frames(12, 12, 1, false, [&](QPainter& p, QRect r, int) {
                QPainterPath path;
                path.addRoundedRect(QRectF(r).adjusted(0, 0, -1, -1), radius, radius);
                p.setPen(outer);
                p.drawPath(path);
                p.setPen(inner);
                p.drawRoundedRect(QRectF(r).adjusted(1, 1, -2, -2), radius, radius);
            }));
    };
    edge("sunkedge.bmp", t.shadow, t.base, 0);
    edge("groupbox.bmp", t.edge, t.light, 4);
    edge("panel.bmp", t.edge, t.light, 2);
    edge("statusedge.bmp", t.shadow, t.face, 0);
    add("progress.bmp", frames(20, 14, 2, false, [&](QPainter& p, QRect r, int i) {
            if (i == 0)
                bevel(p, r, t.base, t.face, t.shadow, 3);
            else
                bevel(p, r, t.accent.lighter(130), t.accent, t.accent.darker(130), 3);
        }));
    add("groove.bmp", frames(16, 16, 1, false, [&](QPainter& p, QRect r, int) {
            p.fillRect(r, t.face.darker(106));
        }));
    add("toolbar.bmp", frames(16, 16, 1, false, [&](QPainter& p, QRect r, int) {
            bevel(p, r, t.face.lighter(104), t.face, t.face, 0);
        }));
    add("menuitem.bmp", frames(16, 16, 1, false, [&](QPainter& p, QRect r, int) {
            bevel(p, r, t.accent.lighter(120), t.accent, t.accent.darker(120), 2);
        }));
    add("menuback.bmp", frames(16, 16, 1, false, [&](QPainter& p, QRect r, int) {
            p.fillRect(r, t.base);
            p.setPen(t.shadow);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }));
    add("tabs.bmp", frames(24, 20, 2, false, [&](QPainter& p, QRect r, int i) {
            bevel(p, r, i ? t.base : t.buttonTop, i ? t.base : t.buttonBottom, t.shadow, 3);
        }));

    QByteArray ini = QByteArray("; ") + t.name +
                     " skin of Quillmark\r\n[TitlebarSkin]\r\nSkinName=" + t.name + "\r\n";
    ini += "[Personality]\r\nTop=top.bmp\r\nTopTopHeight=8\r\nTopBotHeight=8\r\nTopFrame=2\r\n"
           "TopStretch=1\r\nLeft=left.bmp\r\nLeftTopHeight=0\r\nLeftBotHeight=0\r\nLeftFrame=2\r\n"
           "Right=right.bmp\r\nRightFrame=2\r\nBottom=bottom.bmp\r\nBottomTopHeight=8\r\n"
           "BottomBotHeight=8\r\nBottomFrame=2\r\nTextAlignment=0\r\nTextShift=2\r\n"
           "TextShiftVert=1\r\nTextRightClip=4\r\n";
    ini += "[Buttons]\r\nBitmap=button.bmp\r\nFrame=4\r\nLeftWidth=4\r\nRightWidth=4\r\n"
           "TopHeight=4\r\nBottomHeight=4\r\nCheckButton=check.bmp\r\nCheckButtonFrame=4\r\n"
           "RadioButton=radio.bmp\r\nRadioButtonFrame=4\r\nTrans=1\r\n";
    ini += colour("NormalColour", t.buttonTop, true);
    const auto captionButton = [&](const char* section, int action, const char* image, int x,
                                   int visibility) {
        ini += QByteArray("[") + section + "]\r\nButtonImage=" + image +
               "\r\nFrame=3\r\nAction=" + QByteArray::number(action) +
               "\r\nVisibility=" + QByteArray::number(visibility) +
               "\r\nVisibility1=0\r\nAlign=1\r\nXcoord=" + QByteArray::number(x) +
               "\r\nYcoord=4\r\nCombineOp=0\r\n";
    };
    captionButton("ButtonClose", 0, "close.bmp", 6, 0);
    captionButton("ButtonMax", 1, "max.bmp", 28, 1);
    captionButton("ButtonMin", 2, "min.bmp", 28, 2);
    ini += "[Colours]\r\n";
    ini += colour("ButtonFace", t.face, false) + colour("WindowText", t.text, true) +
           colour("Scrollbar", t.face.darker(106), false) +
           colour("HilightText", t.accentText, false) + colour("Hilight", t.accent, false) +
           colour("Menubar", t.face, false) + colour("Menu", t.base, false) +
           colour("MenuText", t.text, false) + colour("ButtonText", t.text, false) +
           colour("ButtonHilight", t.light, false) + colour("Buttonlight", t.light, false) +
           colour("ButtonShadow", t.shadow, false) + colour("ButtonDkShadow", t.dark, false) +
           colour("MenuBarText", t.text, false) + colour("TitleTextActive", t.titleText, true) +
           colour("TitleTextNoActive", t.titleTextInactive, false);
    const auto element = [&](const char* section, const char* image, int margin, bool trans,
                             int frames) {
        ini += QByteArray("[") + section + "]\r\n" +
               (QByteArrayView(section) == "Progress" ? "Bitmap=" : "Image=") + image +
               "\r\nLeftWidth=" + QByteArray::number(margin) +
               "\r\nRightWidth=" + QByteArray::number(margin) +
               "\r\nTopHeight=" + QByteArray::number(margin) +
               "\r\nBottomHeight=" + QByteArray::number(margin) +
               "\r\nTrans=" + (trans ? "1" : "0") +
               "\r\nTile=0\r\nStyle=0\r\nFrame=" + QByteArray::number(frames) + "\r\n";
    };
    element("SunkEdge", "sunkedge.bmp", 2, true, 1);
    ini += colour("NormalColour", t.base, false);
    element("GroupBox", "groupbox.bmp", 5, true, 1);
    element("GroupBoxEdge", "panel.bmp", 3, true, 1);
    element("StatusBarEdges", "statusedge.bmp", 2, true, 1);
    element("ComboButton", "combobutton.bmp", 4, false, 4);
    element("Progress", "progress.bmp", 4, false, 2);
    element("HorzScroll", "groove.bmp", 0, false, 1);
    element("VertScroll", "groove.bmp", 0, false, 1);
    element("HorzScrollThumb", "thumb.bmp", 4, false, 4);
    element("VertScrollThumb", "thumb.bmp", 4, false, 4);
    element("UpDown.Vert", "updown.bmp", 3, false, 4);
    element("UpDown.Horz", "updown.bmp", 3, false, 4);
    element("Toolbars", "toolbar.bmp", 0, false, 1);
    element("MenuItem", "menuitem.bmp", 3, false, 1);
    element("MenuBackground", "menuback.bmp", 2, false, 1);
    element("Headerbar", "header.bmp", 4, false, 4);
    element("Tabs", "tabs.bmp", 4, false, 2);

    QList<skins::SkinEntry> entries{{QStringLiteral("skin.ini"), ini}};
    entries += bitmaps;
    return skins::lzhufPack(skins::SkinContainer::write(entries));
}

const Theme kThemes[] = {
    // The built-in look: calm grey with a deep teal title.
    {"Quillmark", QColor(236, 236, 232), QColor(20, 20, 20), QColor(255, 255, 255),
     QColor(150, 160, 160), QColor(255, 255, 255), QColor(160, 160, 156), QColor(70, 70, 70),
     QColor(40, 120, 130), QColor(20, 80, 90), QColor(255, 255, 255), QColor(200, 215, 215),
     QColor(30, 130, 140), QColor(255, 255, 255), QColor(250, 250, 248), QColor(222, 222, 216)},
    // Store item 0: light blue.
    {"Sky", QColor(222, 234, 248), QColor(16, 32, 64), QColor(250, 252, 255), QColor(120, 160, 210),
     QColor(255, 255, 255), QColor(140, 170, 210), QColor(40, 70, 120), QColor(110, 170, 235),
     QColor(50, 110, 200), QColor(255, 255, 255), QColor(225, 235, 250), QColor(60, 130, 220),
     QColor(255, 255, 255), QColor(245, 250, 255), QColor(200, 222, 248)},
    // Store item 1: dark.
    {"Night", QColor(52, 55, 62), QColor(228, 228, 232), QColor(34, 36, 41), QColor(90, 96, 108),
     QColor(85, 90, 100), QColor(28, 30, 34), QColor(10, 10, 12), QColor(70, 74, 84),
     QColor(40, 42, 50), QColor(240, 240, 245), QColor(150, 150, 160), QColor(230, 150, 40),
     QColor(20, 20, 20), QColor(82, 86, 96), QColor(60, 63, 72)},
};

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skinbuild ASSETS_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const char* files[] = {"skin_builtin.skin", "skin_item0.skin", "skin_item1.skin"};
    for (int i = 0; i < 3; ++i) {
        const QByteArray packed = buildSkin(kThemes[i]);
        QFile file(out.filePath(QString::fromLatin1(files[i])));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(packed) != packed.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
        std::printf("%s: %lld bytes\n", files[i], static_cast<long long>(packed.size()));
    }
    return 0;
}
