#pragma once

#include <QHash>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>

namespace report {
class TReport;
class TReportBand;
class TReportLabel;
} // namespace report

namespace printlayout {

/// The print form: never shown, it carries the cheque report, loaded from its stored layout
/// when the form is created. The form owns the report, its band and the 25 print labels.
class TForm2 : public QWidget
{
    Q_OBJECT
public:
    /// Throws report::EReportError when the stored layout cannot be read or lacks a component.
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    report::TReport* ChequeReport = nullptr;
    report::TReportBand* ColumnHeaderBand1 = nullptr;
    report::TReportLabel* PrintLabel1 = nullptr;
    report::TReportLabel* PrintLabel2 = nullptr;
    report::TReportLabel* PrintLabel3 = nullptr;
    report::TReportLabel* PrintLabel4 = nullptr;
    report::TReportLabel* PrintLabel5 = nullptr;
    report::TReportLabel* PrintLabel6 = nullptr;
    report::TReportLabel* PrintLabel7 = nullptr;
    report::TReportLabel* PrintLabel8 = nullptr;
    report::TReportLabel* PrintLabel9 = nullptr;
    report::TReportLabel* PrintLabel10 = nullptr;
    report::TReportLabel* PrintLabel11 = nullptr;
    report::TReportLabel* PrintLabel12 = nullptr;
    report::TReportLabel* PrintLabel13 = nullptr;
    report::TReportLabel* PrintLabel14 = nullptr;
    report::TReportLabel* PrintLabel15 = nullptr;
    report::TReportLabel* PrintLabel16 = nullptr;
    report::TReportLabel* PrintLabel17 = nullptr;
    report::TReportLabel* PrintLabel18 = nullptr;
    report::TReportLabel* PrintLabel19 = nullptr;
    report::TReportLabel* PrintLabel20 = nullptr;
    report::TReportLabel* PrintLabel21 = nullptr;
    report::TReportLabel* PrintLabel22 = nullptr;
    report::TReportLabel* PrintLabel23 = nullptr;
    report::TReportLabel* PrintLabel24 = nullptr;
    report::TReportLabel* PrintLabel25 = nullptr;

    /// A print label by its name ("PrintLabel23"); none for any other name.
    report::TReportLabel* printLabel(const QString& name) const;

    /// Gives a name's text: an offset edit's or a mock-up label's.
    using TextOf = std::function<QString(const QString& name)>;

    /// Positions the labels in the print table's order: left := 4 × right offset + base left,
    /// then top := 4 × down offset + base top, each offset text asked for afresh. A text that
    /// is not a whole number throws at that label; the labels before it keep their new places.
    void positionLabels(const TextOf& offsetText);
    /// Copies the mock-up captions in the caption order. A centred label first gets its stored
    /// width back, so its text is centred on base left + stored width / 2 whatever the previous
    /// print left in it.
    void copyCaptions(const TextOf& caption);
    /// The width a centred label was stored with (report pixels): its box on the cheque form.
    int storedWidth(const report::TReportLabel& label) const;

    /// Where the layout is compiled in.
    static QString layoutResource();

private:
    report::TReportLabel& label(const QString& name) const;

    QHash<QString, report::TReportLabel*> m_labels;
    QHash<const report::TReportLabel*, int> m_storedWidths; // centred labels only
};

} // namespace printlayout
