#include "printlayout/form2.h"

#include "platform/errors.h"
#include "printlayout/printtable.h"
#include "report/label.h"
#include "report/layoutreader.h"
#include "report/report.h"
#include "report/reporterror.h"

#include <algorithm>
#include <string_view>

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
        // The layout is read without rebuilding any caption, so these are the stored widths.
        if ((*label)->alignment() == report::taCenter)
            m_storedWidths.insert(*label, (*label)->width());
    }
}

TForm2::~TForm2() = default;

report::TReportLabel* TForm2::printLabel(const QString& name) const
{
    return m_labels.value(name, nullptr);
}

report::TReportLabel& TForm2::label(const QString& name) const
{
    report::TReportLabel* found = printLabel(name);
    if (!found) {
        throw report::EReportError(platform::formatMessage(
            QStringLiteral("The cheque layout has no component \"%s\""), {name}));
    }
    return *found;
}

void TForm2::positionLabels(const TextOf& offsetText)
{
    for (const TPrintRow& row : printTable()) {
        report::TReportLabel& printLabel = label(QString::fromUtf16(row.printLabel));
        printLabel.setLeft(kPixelsPerOffset *
                               readOffset(offsetText(QString::fromUtf16(row.rightEdit))) +
                           row.baseLeft);
        printLabel.setTop(kPixelsPerOffset *
                              readOffset(offsetText(QString::fromUtf16(row.downEdit))) +
                          row.baseTop);
    }
}

void TForm2::copyCaptions(const TextOf& caption)
{
    const std::array<TPrintRow, 25>& rows = printTable();
    for (const char16_t* name : captionOrder()) {
        report::TReportLabel& printLabel = label(QString::fromUtf16(name));
        const auto row = std::find_if(rows.begin(), rows.end(), [name](const TPrintRow& r) {
            return std::u16string_view(r.printLabel) == name;
        });
        const QString text = caption(QString::fromUtf16(row->captionFrom));
        // A caption change moves a centred auto-sized label by half the change of its width;
        // measured from the stored width every time, the text lands on the same centre.
        if (const auto stored = m_storedWidths.constFind(&printLabel);
            stored != m_storedWidths.cend())
            printLabel.setWidth(*stored);
        printLabel.setCaption(text);
    }
}

int TForm2::storedWidth(const report::TReportLabel& label) const
{
    return m_storedWidths.value(&label, label.width());
}

QString TForm2::layoutResource()
{
    return QStringLiteral(":/printlayout/chequereport.qrl");
}

} // namespace printlayout
