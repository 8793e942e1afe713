#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

// LZSS with adaptive Huffman coding, the compression of skin files: a 4-byte little-endian
// unpacked size, then the bit stream.
namespace skins {

/// Unpacked sizes above this are refused rather than allocated; skins are far smaller.
inline constexpr std::uint32_t kDefaultMaxUnpacked = 64u * 1024 * 1024;

/// Unpacks a whole skin file. Decoding stops after exactly the header's size; input past its
/// end reads as zero bits, so a cut stream still yields that many bytes. Raises EError for a
/// file shorter than its header or a size above maxUnpacked.
QByteArray lzhufUnpack(QByteArrayView packed, std::uint32_t maxUnpacked = kDefaultMaxUnpacked);

/// Packs bytes into a skin file that lzhufUnpack reads back unchanged.
QByteArray lzhufPack(QByteArrayView data);

} // namespace skins
