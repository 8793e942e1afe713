#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

/// The program's text encoding (code page 936) for every text it stores and measures.
QByteArray toGbk(QStringView text);
QString fromGbk(QByteArrayView bytes);

/// True when the GBK converter is available (Qt built with ICU).
bool gbkAvailable();

/// Raises an error saying the program cannot run when the converter named codecName (the
/// program's own, GBK, unless a test asks for another) is missing: every setting written would
/// collapse and every one read would come back empty.
void requireTextEncoding(const char* codecName = "GBK");

} // namespace platform
