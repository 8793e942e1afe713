// Random settings files through the read functions, and a write into each checked by reading it
// back. Input: one byte each for the lengths of a section name, a key and a value (each followed
// by its bytes), one byte for the buffer size, then the file.
#include "platform/profile.h"
#include "platform/profile_text.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QByteArrayView take(QByteArrayView& input, qsizetype length)
{
    length = std::min(length, input.size());
    const QByteArrayView taken = input.first(length);
    input = input.sliced(length);
    return taken;
}

QByteArrayView takeCounted(QByteArrayView& input)
{
    if (input.isEmpty())
        return {};
    const auto length = static_cast<uchar>(input.front()) % 24;
    input = input.sliced(1);
    return take(input, length);
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

QByteArrayView unquoted(QByteArrayView value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

const QString& filePath()
{
    static const QString path =
        QDir::tempPath() +
        QStringLiteral("/fuzz_profile_%1.ini").arg(QCoreApplication::applicationPid());
    // Registered after path exists, so it runs before path is destroyed.
    static const bool removedAtExit = std::atexit([] { QFile::remove(filePath()); }) == 0;
    Q_UNUSED(removedAtExit);
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArrayView section = takeCounted(input);
    const QByteArrayView key = takeCounted(input);
    const QByteArrayView value = takeCounted(input);
    const QByteArrayView sizeByte = take(input, 1);
    const int bufferSize = sizeByte.isEmpty() ? 0 : static_cast<uchar>(sizeByte.front());
    const QByteArrayView text = input;

    // Through the files, as the program reads them.
    {
        QFile file(filePath());
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.data(), text.size());
    }
    const QByteArray got =
        platform::GetPrivateProfileString(section, key, "", filePath(), bufferSize);
    check(got.size() <= std::max(bufferSize - 1, 0));
    qsizetype block = 0;
    for (const QByteArray& name : platform::GetPrivateProfileKeys(section, filePath(), bufferSize))
        block += name.size() + 1;
    check(block <= std::max(bufferSize - 1, 0));

    // A write reads back as written and leaves the other keys of its section alone.
    const std::optional<QByteArray> written = platform::profileWithValue(text, section, key, value);
    if (!written)
        return 0;
    if (!key.contains('=')) {
        const std::optional<QByteArrayView> readBack =
            platform::profileValue(*written, section, key);
        check(readBack && *readBack == unquoted(trimmed(value)));
    }
    for (const QByteArray& name : platform::profileKeyNames(text, section, text.size() + 1)) {
        if (platform::sameProfileName(name, trimmed(key)))
            continue;
        check(platform::profileValue(text, section, name) ==
              platform::profileValue(*written, section, name));
    }
    return 0;
}
