#include "assets/assets.h"

#include <QFile>

namespace assets {

QByteArray load(const QString& name)
{
    QFile file(QStringLiteral(":/assets/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace assets
