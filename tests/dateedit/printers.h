#pragma once

#include <QDate>
#include <QString>
#include <ostream>

// Readable failure messages for the Qt types the tests compare.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QDate& d, std::ostream* os)
{
    *os << (d.isValid() ? d.toString(Qt::ISODate).toStdString() : std::string("null"));
}
