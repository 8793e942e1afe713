#include "skins/lzhuf.h"

#include "platform/errors.h"

#include <QtEndian>
#include <array>
#include <new>
#include <vector>

namespace skins {
namespace {

constexpr int kRing = 4096;
constexpr int kLookAhead = 60;
constexpr int kThreshold = 2;
constexpr int kSpaces = kRing - kLookAhead;             // 4036 spaces; writing starts there
constexpr int kSymbols = 256 - kThreshold + kLookAhead; // 314
constexpr int kTable = 2 * kSymbols - 1;                // 627 nodes
constexpr int kRoot = kTable - 1;
constexpr unsigned kRebuildAt = 0x8000;

// The fixed prefix code of a distance's upper six bits: lengths by value, codes canonical in
// value order.
struct PositionCode
{
    std::array<std::uint8_t, 64> length{};
    std::array<std::uint8_t, 64> code{};      // left-aligned in 8 bits
    std::array<std::uint8_t, 256> value{};    // by the next 8 bits of input
    std::array<std::uint8_t, 256> valueLen{}; // the code length of that value
};

const PositionCode& positionCode()
{
    static const PositionCode table = [] {
        PositionCode t;
        unsigned code = 0;
        int previous = 3;
        for (int v = 0; v < 64; ++v) {
            const int len = v < 1 ? 3 : v < 4 ? 4 : v < 12 ? 5 : v < 24 ? 6 : v < 48 ? 7 : 8;
            code <<= (len - previous);
            previous = len;
            t.length[v] = static_cast<std::uint8_t>(len);
            t.code[v] = static_cast<std::uint8_t>(code << (8 - len));
            for (unsigned tail = 0; tail < (1u << (8 - len)); ++tail) {
                t.value[t.code[v] | tail] = static_cast<std::uint8_t>(v);
                t.valueLen[t.code[v] | tail] = static_cast<std::uint8_t>(len);
            }
            ++code;
        }
        return t;
    }();
    return table;
}

// The adaptive Huffman tree, kept sorted by weight; encoder and decoder update it alike.
class HuffmanModel
{
public:
    HuffmanModel()
    {
        for (int i = 0; i < kSymbols; ++i) {
            m_freq[i] = 1;
            m_son[i] = i + kTable;
            m_parent[i + kTable] = i;
        }
        for (int i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) {
            m_freq[j] = m_freq[i] + m_freq[i + 1];
            m_son[j] = i;
            m_parent[i] = m_parent[i + 1] = j;
        }
        m_freq[kTable] = 0xFFFF; // stops the search for a swap partner
        m_parent[kRoot] = 0;
    }

    int rootChild() const { return m_son[kRoot]; }
    int son(int node) const { return m_son[node]; }
    int leafPosition(int symbol) const { return m_parent[symbol + kTable]; }
    int parent(int node) const { return m_parent[node]; }

    void update(int symbol)
    {
        if (m_freq[kRoot] == kRebuildAt)
            rebuild();
        int c = m_parent[symbol + kTable];
        do {
            const unsigned k = ++m_freq[c];
            int l = c + 1;
            if (k > m_freq[l]) {
                while (k > m_freq[++l]) {
                }
                --l;
                m_freq[c] = m_freq[l];
                m_freq[l] = k;
                const int i = m_son[c];
                m_parent[i] = l;
                if (i < kTable)
                    m_parent[i + 1] = l;
                const int j = m_son[l];
                m_son[l] = i;
                m_parent[j] = c;
                if (j < kTable)
                    m_parent[j + 1] = c;
                m_son[c] = j;
                c = l;
            }
            c = m_parent[c];
        } while (c != 0);
    }

private:
    void rebuild()
    {
        int j = 0;
        for (int i = 0; i < kTable; ++i) {
            if (m_son[i] >= kTable) {
                m_freq[j] = (m_freq[i] + 1) / 2;
                m_son[j] = m_son[i];
                ++j;
            }
        }
        for (int i = 0, node = kSymbols; node < kTable; i += 2, ++node) {
            const unsigned f = m_freq[i] + m_freq[i + 1];
            int k = node - 1;
            while (f < m_freq[k])
                --k;
            ++k;
            for (int m = node; m > k; --m) {
                m_freq[m] = m_freq[m - 1];
                m_son[m] = m_son[m - 1];
            }
            m_freq[k] = f;
            m_son[k] = i;
        }
        for (int i = 0; i < kTable; ++i) {
            const int k = m_son[i];
            if (k >= kTable)
                m_parent[k] = i;
            else
                m_parent[k] = m_parent[k + 1] = i;
        }
    }

    std::array<unsigned, kTable + 1> m_freq{};
    std::array<int, kTable> m_son{};
    std::array<int, kTable + kSymbols> m_parent{};
};

// Most significant bit first; past the end of the input every bit is 0.
class BitReader
{
public:
    explicit BitReader(QByteArrayView bytes)
        : m_data(reinterpret_cast<const std::uint8_t*>(bytes.data())), m_size(bytes.size())
    {}

    unsigned bit()
    {
        if (m_count == 0)
            refill();
        const unsigned b = static_cast<unsigned>(m_bits >> 63);
        m_bits <<= 1;
        --m_count;
        return b;
    }

    /// The next n bits (n <= 32) without consuming them.
    unsigned peek(int n)
    {
        if (m_count < n)
            refill();
        return static_cast<unsigned>(m_bits >> (64 - n));
    }

    void skip(int n)
    {
        m_bits <<= n;
        m_count -= n;
    }

private:
    void refill()
    {
        while (m_count <= 56) {
            const std::uint64_t byte = m_at < m_size ? m_data[m_at] : 0;
            ++m_at;
            m_bits |= byte << (56 - m_count);
            m_count += 8;
        }
    }

    const std::uint8_t* m_data;
    qsizetype m_size;
    qsizetype m_at = 0;
    std::uint64_t m_bits = 0;
    int m_count = 0;
};

class BitWriter
{
public:
    void put(std::uint64_t code, int length)
    {
        for (int shift = length - 1; shift >= 0; --shift) {
            m_acc = (m_acc << 1) | ((code >> shift) & 1u);
            if (++m_count == 8) {
                m_out.append(static_cast<char>(m_acc));
                m_acc = 0;
                m_count = 0;
            }
        }
    }

    QByteArray finish()
    {
        if (m_count > 0)
            m_out.append(static_cast<char>(m_acc << (8 - m_count)));
        m_count = 0;
        m_acc = 0;
        return std::move(m_out);
    }

    QByteArray& out() { return m_out; }

private:
    QByteArray m_out;
    unsigned m_acc = 0;
    int m_count = 0;
};

} // namespace

QByteArray lzhufUnpack(QByteArrayView packed, std::uint32_t maxUnpacked)
{
    if (packed.size() < 4)
        throw platform::EError(QStringLiteral("The skin data is shorter than its size header"));
    const std::uint32_t size = qFromLittleEndian<std::uint32_t>(packed.data());
    if (size > maxUnpacked)
        throw platform::EError(
            QStringLiteral("The skin data claims %1 unpacked bytes, more than %2")
                .arg(size)
                .arg(maxUnpacked));
    QByteArray out;
    try {
        out = QByteArray(qsizetype(size), Qt::Uninitialized);
    } catch (const std::bad_alloc&) {
        throw platform::EError(QStringLiteral("LZH : Cannot get memory for dictionary tables"));
    }
    auto* dst = reinterpret_cast<std::uint8_t*>(out.data());
    std::array<std::uint8_t, kRing> ring{};
    std::fill(ring.begin(), ring.begin() + kSpaces, std::uint8_t(' '));
    unsigned r = kSpaces;

    const PositionCode& pos = positionCode();
    HuffmanModel model;
    BitReader in(packed.sliced(4));
    std::uint32_t produced = 0;
    while (produced < size) {
        int c = model.rootChild();
        while (c < kTable)
            c = model.son(c + static_cast<int>(in.bit()));
        c -= kTable;
        model.update(c);
        if (c < 256) {
            dst[produced++] = static_cast<std::uint8_t>(c);
            ring[r] = static_cast<std::uint8_t>(c);
            r = (r + 1) & (kRing - 1);
            continue;
        }
        // Upper six bits by the prefix code, then the lower six plain: len + 6 bits in all.
        const unsigned peeked = in.peek(14);
        const unsigned head = peeked >> 6;
        const int len = pos.valueLen[head];
        const unsigned distance =
            (unsigned(pos.value[head]) << 6) | ((peeked >> (8 - len)) & 0x3Fu);
        in.skip(len + 6);
        unsigned from = (r - distance - 1) & (kRing - 1);
        const std::uint32_t count =
            std::min<std::uint32_t>(std::uint32_t(c - 255 + kThreshold), size - produced);
        for (std::uint32_t k = 0; k < count; ++k) {
            const std::uint8_t b = ring[from];
            from = (from + 1) & (kRing - 1);
            dst[produced++] = b;
            ring[r] = b;
            r = (r + 1) & (kRing - 1);
        }
    }
    return out;
}

QByteArray lzhufPack(QByteArrayView data)
{
    BitWriter writer;
    QByteArray& header = writer.out();
    header.resize(4);
    qToLittleEndian<std::uint32_t>(std::uint32_t(data.size()), header.data());
    if (data.isEmpty())
        return writer.finish();

    // The window's history as one text: the initial spaces, then the input.
    QByteArray text(kSpaces, ' ');
    text.append(data);
    const auto* v = reinterpret_cast<const std::uint8_t*>(text.constData());
    const qsizetype total = text.size();

    constexpr int kHashBits = 15;
    constexpr int kChainLimit = 96;
    constexpr qsizetype kMaxBack = kSpaces; // keeps every distance within the classic window
    std::vector<qint32> head(std::size_t(1) << kHashBits, -1);
    std::vector<qint32> previous(std::size_t(total), -1);
    const auto hashAt = [v](qsizetype p) {
        return ((unsigned(v[p]) << 10) ^ (unsigned(v[p + 1]) << 5) ^ v[p + 2]) &
               ((1u << kHashBits) - 1);
    };
    const auto insert = [&](qsizetype p) {
        if (p + 2 >= total)
            return;
        const unsigned h = hashAt(p);
        previous[std::size_t(p)] = head[h];
        head[h] = qint32(p);
    };
    for (qsizetype p = kSpaces - kLookAhead; p < kSpaces; ++p)
        insert(p);

    const PositionCode& pos = positionCode();
    HuffmanModel model;
    const auto putSymbol = [&](int symbol) {
        std::uint64_t code = 0;
        int length = 0;
        int k = model.leafPosition(symbol);
        do {
            code |= std::uint64_t(k & 1) << length;
            ++length;
            k = model.parent(k);
        } while (k != kRoot);
        writer.put(code, length);
        model.update(symbol);
    };

    qsizetype cur = kSpaces;
    while (cur < total) {
        const qsizetype left = total - cur;
        const int maxLen = int(std::min<qsizetype>(kLookAhead, left));
        int bestLen = 0;
        qsizetype bestPos = 0;
        if (maxLen > kThreshold) {
            int chain = kChainLimit;
            for (qint32 p = head[hashAt(cur)]; p >= 0 && cur - p <= kMaxBack && chain-- > 0;
                 p = previous[std::size_t(p)]) {
                int len = 0;
                while (len < maxLen && v[p + len] == v[cur + len])
                    ++len;
                if (len > bestLen) {
                    bestLen = len;
                    bestPos = p;
                    if (len == maxLen)
                        break;
                }
            }
        }
        if (bestLen <= kThreshold) {
            putSymbol(v[cur]);
            insert(cur);
            ++cur;
            continue;
        }
        putSymbol(255 - kThreshold + bestLen);
        const unsigned distance = unsigned(cur - bestPos - 1);
        const unsigned upper = distance >> 6;
        writer.put(pos.code[upper] >> (8 - pos.length[upper]), pos.length[upper]);
        writer.put(distance & 0x3Fu, 6);
        for (int k = 0; k < bestLen; ++k)
            insert(cur + k);
        cur += bestLen;
    }
    return writer.finish();
}

} // namespace skins
