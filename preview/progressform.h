#pragma once

#include "report/reportprinter.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace preview {

/// The printing progress window: a bar and a percentage at every fifth percent, and a button
/// that cancels the printer's run at its next page.
class TReportProgressForm : public QDialog
{
    Q_OBJECT
public:
    explicit TReportProgressForm(report::TReportPrinter& printer, QWidget* parent = nullptr);

    void CancelButtonClick();
    report::TReportPrinter* printer() const { return m_printer; }

    QProgressBar* Gauge;
    QLabel* Info;
    QPushButton* CancelButton;

protected:
    bool event(QEvent* event) override;

private:
    QPointer<report::TReportPrinter> m_printer;
};

} // namespace preview
