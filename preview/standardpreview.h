#pragma once

#include "preview/reportpreview.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <vector>

class QButtonGroup;
class QSplitter;
class QToolButton;

namespace platform {
class TStatusBar;
}

namespace preview {

/// A flat tool bar of fixed-size buttons laid out in rows: a row ends at a button marked to
/// end it or when the next button would not fit.
class TReportToolBar : public QWidget
{
    Q_OBJECT
public:
    explicit TReportToolBar(QWidget* parent = nullptr);

    void addButton(QToolButton* button, bool endsRow = false);
    int borderWidth() const { return m_borderWidth; }
    /// Rows of the visible buttons, each as the buttons in it.
    std::vector<std::vector<QToolButton*>> rows() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void layoutButtons();

    struct Entry
    {
        QToolButton* button;
        bool endsRow;
    };
    std::vector<Entry> m_buttons;
    int m_borderWidth = 2;
};

/// The preview window of a report printer: its pages in a page view, the zoom and page
/// buttons, print setup and printing, and a status bar with progress and page position.
/// It is modeless and destroys itself when closed; closing tells the printer's report.
class TReportStandardPreview : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ButtonWidth = 67;
    static constexpr int ButtonHeight = 52;

    /// A window on `printer` (not owned): sized, titled and zoomed from the printer's report.
    explicit TReportStandardPreview(report::TReportPrinter* printer, QWidget* parent = nullptr);
    ~TReportStandardPreview() override;

    /// The title in the third status panel, shared by every preview window.
    static const QString& previewTitle();

    void ShowPage(int page);
    void UpdateStatus();

    report::TReportPrinter* printer() const { return m_printer; }

    // Handlers of the buttons and of the page view.
    void ZoomToFitClick();
    void ZoomToWidthClick();
    void ZoomTo100Click();
    void FirstPageClick();
    void PrevPageClick();
    void LastPageClick();
    void NextPageClick();
    void ExitButtonClick();
    void ToolButton2Click();
    /// The print dialog for the report, its choices handed to this window's printer.
    void PrintSetupClick();
    /// Prints: the report again, or the stored pages when the printer has no report.
    void PrintClick();
    void PageViewPageAvailable(QObject* sender, int pageNum);
    void PageViewProgressUpdate(QObject* sender, int progress);

    TReportToolBar* ToolBar1;
    QToolButton* ZoomFit;
    QToolButton* ZoomToWidth;
    QToolButton* Zoom100;
    QToolButton* FirstPage;
    QToolButton* PreviousPage;
    QToolButton* LastPage;
    QToolButton* nextPage;
    QToolButton* ExitButton;
    QToolButton* GotoPageButton;
    QToolButton* FindButton;
    QToolButton* PrintSetup;
    QToolButton* Print;
    QToolButton* SaveReport;
    QToolButton* LoadReport;
    QToolButton* ToolButton2;
    TReportPreview* PageView;
    QSplitter* Splitter1;
    platform::TStatusBar* StatusBar;
    /// The toolbar pictures, 32 × 32, in image-list order.
    std::vector<QPixmap> Images;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QToolButton* makeButton(const QString& name, const QString& caption, const QString& hint,
                            int picture, bool visible);
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    report::TCustomReport* report() const;

    QPointer<report::TReportPrinter> m_printer;
    QButtonGroup* m_zoomGroup;
    int m_lastProgress = 0;
    bool m_closing = false;
};

} // namespace preview
