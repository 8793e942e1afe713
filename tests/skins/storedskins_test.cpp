#include "assets/assets.h"
#include "skins/bmp.h"
#include "skins/container.h"
#include "skins/lzhuf.h"
#include "skins/skindescription.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

TEST(StoredSkins, UnpackReadAndRoundTrip)
{
    const char* const files[] = {"skin_builtin.skin", "skin_item0.skin", "skin_item1.skin"};
    const char* const names[] = {"Quillmark", "Sky", "Night"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(files[i]);
        const QByteArray file = assets::load(QString::fromLatin1(files[i]));
        ASSERT_GT(file.size(), 4);
        const QByteArray unpacked = skins::lzhufUnpack(file);
        EXPECT_EQ(qFromLittleEndian<qint32>(unpacked.constData()), skins::kSkinFormat);
        EXPECT_EQ(skins::lzhufUnpack(skins::lzhufPack(unpacked)), unpacked);

        const skins::SkinContainer container = skins::SkinContainer::read(unpacked);
        for (const skins::SkinEntry& entry : container.entries())
            if (entry.name.endsWith(u".bmp")) {
                EXPECT_FALSE(skins::decodeBmp(entry.data).isNull()) << entry.name.toStdString();
            }
        const skins::SkinDescription d = skins::readSkinDescription(container);
        EXPECT_EQ(d.skinName, QString::fromLatin1(names[i]));
        for (const skins::FrameSide* side : {&d.top, &d.left, &d.right, &d.bottom})
            EXPECT_FALSE(side->frame(false).isNull());
        EXPECT_FALSE(d.button.image.isNull());
        EXPECT_EQ(d.captionButtons.size(), 3);
        EXPECT_EQ(d.colours.size(), 16) << "every system colour given";
        for (const char* section : {"SunkEdge", "GroupBox", "ComboButton", "Progress",
                                    "StatusBarEdges", "VertScrollThumb", "UpDown.Vert"})
            EXPECT_FALSE(d.element(QString::fromLatin1(section)).image.isNull()) << section;
    }
}

} // namespace
