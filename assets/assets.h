#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace assets {

/// The bytes of a compiled-in asset by file name ("cheque.png"); empty when missing.
QByteArray load(const QString& name);

using Decoder = QImage (*)(const QByteArray&);

/// A compiled-in picture by file name, decoded with `decode`; null when missing or undecodable.
/// One decoded ahead is handed over (and not kept), so it is never decoded twice.
QImage picture(const QString& name, Decoder decode);

struct PictureAhead
{
    QString name;
    Decoder decode;
};

/// Decodes these pictures in order on another thread, for picture() to hand over later. Call it
/// only once the application object exists: Qt takes the first thread that touches it for its
/// main thread.
void decodeAhead(const QList<PictureAhead>& pictures);

} // namespace assets
