// Random skin files through unpacking and the container reader. The first byte chooses: odd
// takes the input as a whole packed file, even packs the rest as an unpacked container first,
// so the container checks see well-formed compression.
#include "platform/errors.h"
#include "skins/container.h"
#include "skins/lzhuf.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    try {
        if (data[0] & 1) {
            // Small ceiling: a size header alone must not make the run slow.
            const QByteArray unpacked = skins::lzhufUnpack(rest, 1u << 20);
            skins::SkinContainer::read(unpacked);
        } else {
            const QByteArray packed = skins::lzhufPack(rest);
            if (skins::lzhufUnpack(packed) != rest)
                __builtin_trap();
            const skins::SkinContainer c = skins::readSkinFile(packed);
            qsizetype total = 0;
            for (const skins::SkinEntry& e : c.entries())
                total += e.data.size();
            if (total > rest.size())
                __builtin_trap();
        }
    } catch (const platform::EError&) {
    } catch (const skins::EOlderSkin&) {
    }
    return 0;
}
