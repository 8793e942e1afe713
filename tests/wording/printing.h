#pragma once

#include <QString>
#include <ostream>

// Failures show the wording itself, not the bytes of a QString.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
