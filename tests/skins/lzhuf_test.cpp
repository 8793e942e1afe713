#include "platform/errors.h"
#include "skins/lzhuf.h"
#include "tests/support/testsupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString vectorPath(const QString& name)
{
    return QStringLiteral(QUILLMARK_TESTDATA "/lzhuf/") + name;
}

QByteArray vectorFile(const QString& name)
{
    const QByteArray bytes = testsupport::readFile(vectorPath(name));
    EXPECT_TRUE(QFile::exists(vectorPath(name))) << name.toStdString();
    return bytes;
}

// The incompressible vector, regenerated rather than stored: xorshift32 low bytes.
QByteArray random200k()
{
    QByteArray bytes(204800, Qt::Uninitialized);
    std::uint32_t state = 0x12345678;
    for (char& b : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = static_cast<char>(state & 0xFF);
    }
    return bytes;
}

QByteArray input(const QString& name)
{
    if (name == u"random200k.bin")
        return random200k();
    if (name == u"mixed.bin") {
        QByteArray all;
        for (const char* part :
             {"ini_gbk.ini", "gradient64x32.bmp", "random200k.bin", "spaces4096.bin",
              "zeros100k.bin", "container.bin", "hello.txt", "one_byte.bin"})
            all += input(QString::fromLatin1(part));
        return all;
    }
    return vectorFile(name);
}

QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

struct WellFormed
{
    const char* input;
    const char* packed;
    const char* inputSha;
};

const WellFormed kWellFormed[] = {
    {"empty.bin", "empty.lzh", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"one_byte.bin", "one_byte.lzh",
     "559aead08264d5795d3909718cdd05abd49572e84fe55590eef31a88a08fdffd"},
    {"hello.txt", "hello.lzh", "2cf24dba5fb0a30e26e83b2ac5b9e29e1b161e5c1fa7425e73043362938b9824"},
    {"spaces4096.bin", "spaces4096.lzh",
     "46e4e5b3fe2549da0ecfcf8d067ac060b3b8fd132981043eeb66c7c3be875848"},
    {"zeros100k.bin", "zeros100k.lzh",
     "f627ca4c2c322f15db26152df306bd4f983f0146409b81a4341b9b340c365a16"},
    {"ini_gbk.ini", "ini_gbk.lzh",
     "4011f3de7adcc034208a0542c8ba9fdad15c33ae1936ca942029639ec9adf76b"},
    {"gradient64x32.bmp", "gradient64x32.lzh",
     "7c36275bb2f1eb4ced5784e08fc16af1155168d07f9ed620f8243314aec8a6d7"},
    {"random200k.bin", "random200k.lzh",
     "1a373233ea1db2575e02e099bcce4ee550a2f9f536441ff60a99de791c8e9af0"},
    {"container.bin", "container.lzh",
     "c3c740cc6ccc6bf8b250d2b4ecca4c23977b74e33c1e3b04712a6269c6ef8cf1"},
    {"mixed.bin", "mixed.lzh", "405cd8a243d47d01b0ee83d4d83a396c14dcfba30877a1e4132e8194c1e7c9e4"},
};

TEST(Lzhuf, DecodesEveryReferenceVector)
{
    for (const WellFormed& v : kWellFormed) {
        SCOPED_TRACE(v.packed);
        const QByteArray original = input(QString::fromLatin1(v.input));
        ASSERT_EQ(sha256(original), QByteArray(v.inputSha)) << "input regenerated wrongly";
        EXPECT_EQ(skins::lzhufUnpack(vectorFile(QString::fromLatin1(v.packed))), original);
    }
}

TEST(Lzhuf, MalformedVectorsGiveExactlyTheHeaderSize)
{
    struct Case
    {
        const char* packed;
        const char* expected;
        qsizetype size;
        const char* firstNSha;
    };
    const Case cases[] = {
        {"truncated_half.lzh", "truncated_half.expected", 20015,
         "950688c36d6f0887e45d776e21577262bcfb508bd0a2d929c3a8d601cc1eee39"},
        {"size10x.lzh", "size10x.expected", 61980,
         "40e5948fabfcd93ba2c2fe23c9a4c61e03fbcff5e286d8f3041f9ccf95aa572d"},
        {"hello_size10x.lzh", "hello_size10x.expected", 50,
         "3fdb500794153e554067d4f6f279bbfbdbd8066e0a68683e60b886c313144cfb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.packed);
        const QByteArray got = skins::lzhufUnpack(vectorFile(QString::fromLatin1(c.packed)));
        ASSERT_EQ(got.size(), c.size);
        EXPECT_EQ(got, vectorFile(QString::fromLatin1(c.expected)).first(c.size));
        EXPECT_EQ(sha256(got), QByteArray(c.firstNSha));
    }
}

TEST(Lzhuf, EncoderRoundTripsEveryInput)
{
    for (const WellFormed& v : kWellFormed) {
        SCOPED_TRACE(v.input);
        const QByteArray original = input(QString::fromLatin1(v.input));
        const QByteArray packed = skins::lzhufPack(original);
        EXPECT_EQ(skins::lzhufUnpack(packed), original);
        // Compressible inputs must actually shrink; the random one may grow a little.
        if (QByteArrayView(v.input) != "random200k.bin" && original.size() > 64) {
            EXPECT_LT(packed.size(), original.size());
        }
    }
}

TEST(Lzhuf, EncoderHandlesMatchesAtEveryDistanceAndLength)
{
    // Repeats at distances across the whole window, with lengths around the limits.
    QByteArray data;
    std::uint32_t state = 7;
    for (int block = 0; block < 300; ++block) {
        state = state * 1103515245u + 12345u;
        const int distance = int(state >> 8) % 4100 + 1;
        const int length = int(state >> 20) % 70 + 1;
        for (int k = 0; k < length; ++k)
            data.append(data.size() >= distance ? data.at(data.size() - distance)
                                                : char(state >> (k % 24)));
        data.append(char(state));
    }
    EXPECT_EQ(skins::lzhufUnpack(skins::lzhufPack(data)), data);
}

TEST(Lzhuf, RefusesShortHeadersAndOversizedClaims)
{
    for (const QByteArray& bad : {QByteArray(), QByteArray("\x05\x00\x00", 3)})
        EXPECT_THROW(skins::lzhufUnpack(bad), platform::EError);
    const QByteArray huge("\xFF\xFF\xFF\x7F", 4);
    EXPECT_THROW(skins::lzhufUnpack(huge), platform::EError);
    // A size header alone unpacks to whatever the zero bits decode to, exactly that long.
    const QByteArray onlyHeader("\x10\x00\x00\x00", 4);
    EXPECT_EQ(skins::lzhufUnpack(onlyHeader).size(), 16);
}

} // namespace
