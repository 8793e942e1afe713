#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

/// The program's text encoding (code page 936) for every text it stores and measures.
QByteArray toGbk(QStringView text);
QString fromGbk(QByteArrayView bytes);

/// True when the GBK converter is available (Qt built with ICU).
bool gbkAvailable();

} // namespace platform
