#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace report {

/// A named constant of the expression environment.
struct TReportEvConstant
{
    QString name;
    QVariant value;

    /// The constant as an expression: digits for an integer, a quoted string otherwise.
    QString expression() const;
};

/// The expression environment behind a report's `Functions`. A run only needs its three
/// constants "PAGENUMBER", "COLUMNNUMBER" and "REPORTTITLE".
class TReportEvEnvironment
{
public:
    TReportEvEnvironment();

    /// The constant of that name, matched without case; none when there is no such entry.
    TReportEvConstant* find(const QString& name);
    const TReportEvConstant* find(const QString& name) const;
    const std::vector<TReportEvConstant>& constants() const { return m_constants; }

private:
    std::vector<TReportEvConstant> m_constants;
};

} // namespace report
