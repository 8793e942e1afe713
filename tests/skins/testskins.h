#pragma once

#include "skins/bmp.h"
#include "skins/container.h"
#include "skins/lzhuf.h"

#include <QColor>
#include <QImage>
#include <QtEndian>

namespace testskins {

inline QByteArray bmpOf(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return skins::encodeBmp(image);
}

/// A small packed skin: named, with a frame, a push button, a caption button and the face
/// colour given; format replaces the container's format value.
inline QByteArray skinFile(const QByteArray& name, QColor face, qint32 format = skins::kSkinFormat)
{
    const QByteArray ini =
        "[TitlebarSkin]\r\nSkinName=" + name +
        "\r\n[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\nLeft=side.bmp\r\nRight=side.bmp\r\n"
        "Bottom=bottom.bmp\r\n[Colours]\r\nButtonFace=" +
        QByteArray::number(face.red()) + ' ' + QByteArray::number(face.green()) + ' ' +
        QByteArray::number(face.blue()) +
        "\r\n[Buttons]\r\nBitmap=button.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\nFrame=4\r\n"
        "[ButtonClose]\r\nAction=0\r\nButtonImage=close.bmp\r\nAlign=1\r\nXcoord=6\r\n"
        "Ycoord=4\r\n";
    QByteArray container = skins::SkinContainer::write({
        {QStringLiteral("skin.ini"), ini},
        {QStringLiteral("top.bmp"), bmpOf(40, 48, face.darker())},
        {QStringLiteral("side.bmp"), bmpOf(4, 20, face.darker())},
        {QStringLiteral("bottom.bmp"), bmpOf(20, 4, face.darker())},
        {QStringLiteral("button.bmp"), bmpOf(40, 20, face.lighter())},
        {QStringLiteral("close.bmp"), bmpOf(48, 16, Qt::red)},
    });
    char bytes[4];
    qToLittleEndian(format, bytes);
    container.replace(0, 4, QByteArray(bytes, 4));
    return skins::lzhufPack(container);
}

} // namespace testskins
