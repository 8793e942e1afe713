// A skin description with its bitmaps: the input is split at the first zero byte into the INI
// text and one bitmap, stored under two names the text may refer to.
#include "skins/bmp.h"
#include "skins/container.h"
#include "skins/skindescription.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = input.indexOf('\0');
    const QByteArrayView ini = split < 0 ? input : input.first(split);
    const QByteArrayView bitmap = split < 0 ? QByteArrayView() : input.sliced(split + 1);
    const QImage direct = skins::decodeBmp(bitmap);
    if (!direct.isNull() && (direct.width() <= 0 || direct.height() <= 0))
        __builtin_trap();
    const QList<skins::SkinEntry> entries = {
        {QStringLiteral("skin.ini"), ini.toByteArray()},
        {QStringLiteral("a.bmp"), bitmap.toByteArray()},
        {QStringLiteral("b.bmp"), skins::encodeBmp(QImage(3, 2, QImage::Format_RGB32))},
    };
    const skins::SkinContainer container =
        skins::SkinContainer::read(skins::SkinContainer::write(entries));
    const skins::SkinDescription d = skins::readSkinDescription(container);
    for (const skins::SkinElement& e : d.elements)
        for (int i = 0; i < e.frames; ++i)
            (void)e.frame(i);
    (void)d.top.frame(true);
    (void)d.left.frame(false);
    return 0;
}
