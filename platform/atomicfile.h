#pragma once

#include <QByteArrayView>
#include <QString>

namespace platform {

/// Where the new content of path is written before it replaces path.
QString temporaryFileFor(const QString& path);

/// The advisory lock that serialises the writers of path.
QString lockFileFor(const QString& path);

/// Replaces the content of path with bytes so that a reader, a crash or a power cut sees either
/// the old or the new content whole: a temporary file beside it is written, flushed to disk and
/// renamed over path. False on any failure; path is then untouched and the temporary file gone.
bool replaceFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace platform
