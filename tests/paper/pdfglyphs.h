#pragma once

#include "tests/support/cupsscheduler.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

namespace papertest {

inline constexpr double kMmPerPoint = 25.4 / 72;

struct Glyph
{
    double x;        // origin, mm from the left edge
    double baseline; // mm from the top edge
    QString text;
};

/// Every glyph of the first page of a PDF, read from the text matrices.
inline std::vector<Glyph> readGlyphs(const QString& pdf)
{
    QString out;
    EXPECT_EQ(testsupport::runProgram(QStringLiteral("/usr/bin/python3"),
                                      {testsupport::CupsScheduler::glyphScript(), pdf}, &out),
              0);
    std::vector<Glyph> glyphs;
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(u' ');
        if (parts.size() < 6 || parts[0] != u"1")
            continue;
        glyphs.push_back({parts[1].toDouble() * kMmPerPoint, parts[2].toDouble() * kMmPerPoint,
                          parts.mid(5).join(u' ')});
    }
    return glyphs;
}

} // namespace papertest
