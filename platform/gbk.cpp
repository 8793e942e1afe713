#include "platform/gbk.h"

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

} // namespace platform
