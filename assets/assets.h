#pragma once

#include <QByteArray>
#include <QString>

namespace assets {

/// The bytes of a compiled-in asset by file name ("cheque.png"); empty when missing.
QByteArray load(const QString& name);

} // namespace assets
