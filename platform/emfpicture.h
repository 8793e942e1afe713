#pragma once

#include "platform/emf.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QRect>
#include <QSize>

class QPainter;

namespace platform {

/// One enhanced metafile, checked through when it is made: every record's length and every
/// offset and count inside the records it draws lie within the metafile, so playing it cannot
/// read out of bounds. A malformed metafile raises EMetafileError.
class EmfPicture
{
public:
    /// The least a serialised metafile holds before its total size is known.
    static constexpr qsizetype MinimumHeaderSize = 88;

    explicit EmfPicture(QByteArray bytes);

    /// The total size of the metafile whose first MinimumHeaderSize bytes are given, from
    /// its header record; EMetafileError when they are not the start of a metafile.
    static quint32 declaredSize(QByteArrayView head);

    /// Exactly the bytes of the metafile (as many as its header says).
    const QByteArray& bytes() const { return m_bytes; }

    /// The picture frame in pixels of the device it was recorded for.
    QSize size() const;

    /// Draws the picture with its frame stretched onto the target rectangle of the painter's
    /// device. The painter's state is left as it was.
    void play(QPainter& painter, const QRect& target) const;

private:
    void check() const;

    QByteArray m_bytes;
    double m_frameLeft = 0; // reference-device pixels
    double m_frameTop = 0;
    double m_frameWidth = 0;
    double m_frameHeight = 0;
    quint16 m_handleCount = 0;
};

} // namespace platform
