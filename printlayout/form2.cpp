#include "printlayout/form2.h"

#include "platform/errors.h"
#include "report/label.h"
#include "report/layoutreader.h"
#include "report/report.h"
#include "report/reporterror.h"

namespace printlayout {

namespace {

template <typename T> T* component(QObject& root, const QString& name)
{
    T* found = root.findChild<T*>(name, Qt::FindDirectChildrenOnly);
    if (!found) {
        throw report::EReportError(platform::formatMessage(
            QStringLiteral("The cheque layout has no component \"%s\""), {name}));
    }
    return found;
}

} // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form2"));
    std::unique_ptr<report::TReport> loaded = report::loadReportLayout(layoutResource());
    if (loaded->objectName() != u"ChequeReport") {
        throw report::EReportError(
            platform::formatMessage(QStringLiteral("The cheque layout has no component \"%s\""),
                                    {QStringLiteral("ChequeReport")}));
    }
    ChequeReport = loaded.release();
    ChequeReport->setParent(this);
    ColumnHeaderBand1 =
        component<report::TReportBand>(*ChequeReport, QStringLiteral("ColumnHeaderBand1"));

    report::TReportLabel** const labels[] = {
        &PrintLabel1,  &PrintLabel2,  &PrintLabel3,  &PrintLabel4,  &PrintLabel5,
        &PrintLabel6,  &PrintLabel7,  &PrintLabel8,  &PrintLabel9,  &PrintLabel10,
        &PrintLabel11, &PrintLabel12, &PrintLabel13, &PrintLabel14, &PrintLabel15,
        &PrintLabel16, &PrintLabel17, &PrintLabel18, &PrintLabel19, &PrintLabel20,
        &PrintLabel21, &PrintLabel22, &PrintLabel23, &PrintLabel24, &PrintLabel25,
    };
    int number = 1;
    for (report::TReportLabel** label : labels) {
        const QString name = QStringLiteral("PrintLabel%1").arg(number++);
        *label = component<report::TReportLabel>(*ColumnHeaderBand1, name);
        m_labels.insert(name, *label);
    }
}

TForm2::~TForm2() = default;

report::TReportLabel* TForm2::printLabel(const QString& name) const
{
    return m_labels.value(name, nullptr);
}

QString TForm2::layoutResource()
{
    return QStringLiteral(":/printlayout/chequereport.qrl");
}

} // namespace printlayout
