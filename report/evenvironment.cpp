#include "report/evenvironment.h"

namespace report {

QString TReportEvConstant::expression() const
{
    if (value.typeId() == QMetaType::Int)
        return QString::number(value.toInt());
    QString text = value.toString();
    text.replace(u'\'', QStringLiteral("''"));
    return u'\'' + text + u'\'';
}

TReportEvEnvironment::TReportEvEnvironment()
    : m_constants{{QStringLiteral("PAGENUMBER"), QVariant(0)},
                  {QStringLiteral("COLUMNNUMBER"), QVariant(0)},
                  {QStringLiteral("REPORTTITLE"), QVariant(QString())}}
{}

TReportEvConstant* TReportEvEnvironment::find(const QString& name)
{
    for (auto& constant : m_constants) {
        if (constant.name.compare(name, Qt::CaseInsensitive) == 0)
            return &constant;
    }
    return nullptr;
}

const TReportEvConstant* TReportEvEnvironment::find(const QString& name) const
{
    return const_cast<TReportEvEnvironment*>(this)->find(name);
}

} // namespace report
