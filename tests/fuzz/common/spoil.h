#pragma once

#include <QByteArray>
#include <QtEndian>
#include <cstdint>
#include <cstring>

namespace fuzzsupport {

/// A well-formed sample damaged by the fuzzer's bytes: 6-byte steps each write 4 bytes at a
/// chosen offset (0xFFFF ends the patches), then the next byte, if not 0, cuts the sample to
/// that many 256ths. Reaches far deeper into a format than random bytes do.
inline QByteArray spoiled(const QByteArray& base, const uint8_t* data, size_t size)
{
    QByteArray bytes = base;
    size_t i = 0;
    for (; i + 6 <= size; i += 6) {
        const quint16 at = qFromLittleEndian<quint16>(data + i);
        if (at == 0xFFFF)
            break;
        const qsizetype offset = at % (bytes.size() - 3);
        std::memcpy(bytes.data() + offset, data + i + 2, 4);
    }
    if (i + 6 < size && data[i + 6] != 0)
        bytes.truncate(bytes.size() * data[i + 6] / 256);
    return bytes;
}

} // namespace fuzzsupport
