#include "settings/inifile.h"

#include "platform/errors.h"
#include "platform/gbk.h"
#include "platform/profile.h"

#include <QDir>
#include <QFileInfo>

namespace settings {

namespace {

// The buffers the reads are made with; they set the 2047-byte value cut and the key block.
constexpr int kValueBufferBytes = 2048;
constexpr int kSectionBufferBytes = 16384;

} // namespace

TIniFile::TIniFile(QString fileName) : m_fileName(std::move(fileName))
{}

// Every write has already reached the disk when it returned, so there is nothing left to flush.
TIniFile::~TIniFile() = default;

const QString& TIniFile::FileName() const
{
    return m_fileName;
}

QString TIniFile::ReadString(const QString& section, const QString& ident, const QString& def) const
{
    return platform::fromGbk(
        platform::GetPrivateProfileString(platform::toGbk(section), platform::toGbk(ident),
                                          platform::toGbk(def), m_fileName, kValueBufferBytes));
}

void TIniFile::ReadSection(const QString& section, QStringList& strings) const
{
    strings.clear();
    const QList<QByteArray> names =
        platform::GetPrivateProfileKeys(platform::toGbk(section), m_fileName, kSectionBufferBytes);
    for (const QByteArray& name : names)
        strings.append(platform::fromGbk(name));
}

void TIniFile::WriteString(const QString& section, const QString& ident, const QString& value)
{
    if (!platform::WritePrivateProfileString(platform::toGbk(section), platform::toGbk(ident),
                                             platform::toGbk(value), m_fileName)) {
        const QString fullPath = QDir::toNativeSeparators(QFileInfo(m_fileName).absoluteFilePath());
        throw platform::EInOutError(
            platform::formatMessage(QStringLiteral("Unable to write to %s"), {fullPath}));
    }
}

} // namespace settings
