#include "platform/gbk.h"

#include "platform/errors.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

QByteArray toGbk(QStringView text)
{
    QStringEncoder encoder("GBK");
    return encoder(text);
}

QString fromGbk(QByteArrayView bytes)
{
    QStringDecoder decoder("GBK");
    return decoder(bytes);
}

bool gbkAvailable()
{
    return QStringEncoder("GBK").isValid();
}

void requireTextEncoding(const char* codecName)
{
    if (!QStringEncoder(codecName).isValid() || !QStringDecoder(codecName).isValid())
        throw EError(formatMessage(
            QStringLiteral("The text encoding %s is missing from this system (its Qt was built "
                           "without ICU). Without it the settings file cannot be read or "
                           "written, so the program ends"),
            {QString::fromLatin1(codecName)}));
}

} // namespace platform
