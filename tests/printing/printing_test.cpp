// Printing through the system's printers: a private CUPS scheduler with a Generic PDF queue
// (margins of 18 and 36 pt) and a cups-pdf queue (10 pt), both at 1200 dots per inch. Every
// case reads the PDF back and checks where each text landed, measured from the paper's corner.
//
// The scheduler starts once per process (Qt and CUPS read CUPS_SERVER once); ctest runs every
// case in a process of its own. The cases that remove queues or stop the scheduler come last.

#include "platform/emf.h"
#include "platform/printer.h"
#include "report/label.h"
#include "report/layoutreader.h"
#include "report/report.h"
#include "report/reportprinter.h"
#include "report/reportrequests.h"
#include "tests/support/cupsscheduler.h"
#include "tests/support/samplecheque.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUuid>
#include <cmath>
#include <gtest/gtest.h>

using namespace report;
using testsupport::CupsScheduler;

namespace {

CupsScheduler* g_scheduler = nullptr;

class CupsEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        g_scheduler = new CupsScheduler;
        // A temporary folder of this process alone, so a test can tell its own leftovers from
        // those of tests running beside it.
        m_temp = std::make_unique<QTemporaryDir>();
        if (m_temp->isValid())
            qputenv("TMPDIR", m_temp->path().toLocal8Bit());
    }
    void TearDown() override
    {
        delete g_scheduler;
        g_scheduler = nullptr;
        m_temp.reset();
    }

private:
    std::unique_ptr<QTemporaryDir> m_temp;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new CupsEnvironment);

constexpr double mmPerPoint = 25.4 / 72;

/// A text asked for at (x, y) tenths of a millimetre from the paper's top-left corner.
struct Placed
{
    QString text;
    long double x;
    long double y;
};

/// A text found in a PDF: its left edge and the top of its character cell, in millimetres
/// from the page's top-left corner.
struct Found
{
    int page;
    QString text;
    double x;
    double y;
};

struct PdfPage
{
    double width; // mm
    double height;
};

const std::vector<Placed> grid = {
    {QStringLiteral("TL"), 100, 100},
    {QStringLiteral("PL1"), 933.4375L, 129.1041666666667L}, // the cheque's PrintLabel1
    {QStringLiteral("MID"), 1050, 1485},
    {QStringLiteral("TR"), 1800, 150},
    {QStringLiteral("BL"), 150, 2800},
    {QStringLiteral("BR"), 1700, 2850},
    {QStringLiteral("ODD"), 333.3L, 777.7L},
};

platform::CanvasFont textFont(const TReportPrinter& printer)
{
    // 3.5 mm characters on whatever device.
    return {QStringLiteral("DejaVu Sans"), printer.DeviceHeight(35)};
}

void drawTexts(TReportPrinter& printer, const std::vector<Placed>& texts)
{
    platform::DeviceCanvas* canvas = printer.canvas();
    ASSERT_TRUE(canvas);
    canvas->setFont(textFont(printer));
    canvas->setBkMode(platform::BkMode::Transparent);
    canvas->setTextAlign(platform::TA_LEFT | platform::TA_TOP);
    for (const Placed& t : texts)
        canvas->textOut(printer.DeviceX(t.x), printer.DeviceY(t.y), t.text);
}

QString uniqueTitle()
{
    return QStringLiteral("qm-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

int queueIndex(const TReportPrinter& printer, const QString& queue)
{
    return printer.printerObject().printers().indexOf(queue);
}

/// Runs one job of `pages` pages on `queue` and returns the PDF it produced ("" when none).
struct Job
{
    QString queue = CupsScheduler::genericQueue();
    int pages = 1;
    int firstPage = 0;
    int lastPage = 0;
    int copies = 1;
    TReportOrientation orientation = poPortrait;
    std::vector<Placed> texts = grid;
};

/// Page sizes of a PDF, from pdfinfo.
std::vector<PdfPage> pdfPages(const QString& pdf)
{
    QString info;
    testsupport::runProgram(QStringLiteral("pdfinfo"),
                            {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                             QStringLiteral("99"), pdf},
                            &info);
    std::vector<PdfPage> pages;
    static const QRegularExpression size(
        QStringLiteral(R"re(Page\s+\d+ size:\s+([\d.]+) x ([\d.]+) pts)re"));
    for (auto it = size.globalMatch(info); it.hasNext();) {
        const auto m = it.next();
        pages.push_back(
            {m.captured(1).toDouble() * mmPerPoint, m.captured(2).toDouble() * mmPerPoint});
    }
    return pages;
}

/// Every word of a PDF with readable text, from pdftotext -bbox.
std::vector<Found> wordsOf(const QString& pdf)
{
    QString html;
    testsupport::runProgram(QStringLiteral("pdftotext"),
                            {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}, &html);
    std::vector<Found> words;
    int page = 0;
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        words.push_back({page, m.captured(3), m.captured(1).toDouble() * mmPerPoint,
                         m.captured(2).toDouble() * mmPerPoint});
    }
    return words;
}

/// Every glyph origin (baseline) of a PDF, text or not, read from the text matrices.
std::vector<Found> glyphsOf(const QString& pdf)
{
    QString out;
    const int rc = testsupport::runProgram(QStringLiteral("/usr/bin/python3"),
                                           {CupsScheduler::glyphScript(), pdf}, &out);
    EXPECT_EQ(rc, 0) << "pdfminer could not read " << pdf.toStdString();
    std::vector<Found> glyphs;
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u' ');
        if (f.size() < 6)
            continue;
        glyphs.push_back(
            {f[0].toInt(), f[5], f[1].toDouble() * mmPerPoint, f[2].toDouble() * mmPerPoint});
    }
    return glyphs;
}

class Printing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_scheduler && g_scheduler->running())
            << "the private CUPS scheduler did not start: "
            << (g_scheduler ? g_scheduler->error().toStdString() : std::string());
        QFile::remove(g_scheduler->outputPdf());
    }
    void TearDown() override
    {
        for (const QString& file : m_outputs)
            QFile::remove(file);
    }

    /// Prints the job and returns its PDF once CUPS has written it.
    QString print(const Job& job)
    {
        TReport report;
        report.page().setPaperSize(TReportPaperSize::Default);
        report.page().setOrientation(job.orientation);
        report.printerSettings().copies = job.copies;
        report.printerSettings().firstPage = job.firstPage;
        report.printerSettings().lastPage = job.lastPage;
        TReportPrinter printer(&report);
        EXPECT_TRUE(printer.printersPresent());
        report.printerSettings().printerIndex = queueIndex(printer, job.queue);
        EXPECT_GE(report.printerSettings().printerIndex, 0) << job.queue.toStdString();
        printer.ApplyPrinterValues(report);
        EXPECT_EQ(printer.settings().device(), job.queue);
        printer.setDestination(rdPrinter);
        const QString title = uniqueTitle();
        printer.setTitle(title);

        printer.StartJob();
        m_deadLeft = printer.DeadLeft();
        m_deadTop = printer.DeadTop();
        m_dpi = printer.settings().pixelsPerInchY();
        for (int p = 1; p <= job.pages; ++p) {
            printer.OpenNextPage();
            std::vector<Placed> texts = job.texts;
            if (job.pages > 1)
                texts.push_back({QStringLiteral("P") + QString::number(p), 1000, 2000});
            drawTexts(printer, texts);
            auto& device = dynamic_cast<platform::Printer&>(printer.printerObject());
            if (printer.PageInRange())
                m_ascent =
                    QFontMetrics(platform::toQFont(textFont(printer)), &device.qprinter()).ascent();
        }
        printer.FinishJob();
        EXPECT_TRUE(g_scheduler->waitForJobs()) << "jobs still pending";
        QString pdf = g_scheduler->outputPdf();
        if (job.queue == CupsScheduler::genericQueue())
            EXPECT_TRUE(CupsScheduler::waitForFile(pdf)) << "no PDF at " << pdf.toStdString();
        else
            pdf = CupsScheduler::waitForFullQueuePdf(title);
        EXPECT_FALSE(pdf.isEmpty()) << "no PDF for " << title.toStdString();
        m_outputs << pdf;
        return pdf;
    }

    /// Largest |error| in x and y of the texts on page 1, in mm; fails for a text not found.
    std::pair<double, double> errors(const std::vector<Found>& found,
                                     const std::vector<Placed>& asked, bool byText,
                                     double xTolerance = 0.1)
    {
        double ex = 0;
        double ey = 0;
        for (const Placed& a : asked) {
            const double ax = static_cast<double>(a.x) / 10;
            const double ay = static_cast<double>(a.y) / 10;
            const Found* best = nullptr;
            double bestDistance = 1e9;
            for (const Found& f : found) {
                if (f.page != 1 || (byText && f.text != a.text))
                    continue;
                const double d = std::hypot(f.x - ax, f.y - ay);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = &f;
                }
            }
            if (!best || bestDistance > 10) {
                ADD_FAILURE() << "no text near " << a.text.toStdString() << " at " << ax << ", "
                              << ay << " mm";
                continue;
            }
            ex = std::max(ex, std::abs(best->x - ax));
            ey = std::max(ey, std::abs(best->y - ay));
            EXPECT_NEAR(best->x, ax, xTolerance) << a.text.toStdString();
            EXPECT_NEAR(best->y, ay, 0.3) << a.text.toStdString();
        }
        return {ex, ey};
    }

    void report(const char* queue, std::pair<double, double> e)
    {
        RecordProperty("max_error_x_mm", std::to_string(e.first));
        RecordProperty("max_error_y_mm", std::to_string(e.second));
        std::printf("%s: DeadLeft %d, DeadTop %d (0.1 mm); largest error x %.3f mm, y %.3f mm\n",
                    queue, m_deadLeft, m_deadTop, e.first, e.second);
    }

    QStringList m_outputs;
    int m_deadLeft = 0;
    int m_deadTop = 0;
    int m_dpi = 0;
    int m_ascent = 0; // device pixels
};

} // namespace

TEST_F(Printing, TextsLandWhereAskedOnTheGenericPdfQueue)
{
    const QString pdf = print(Job{});
    EXPECT_EQ(m_deadLeft, 64) << "18 pt";
    EXPECT_EQ(m_deadTop, 127) << "36 pt";
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].width, 210, 0.2);
    EXPECT_NEAR(pages[0].height, 297, 0.2);
    report("Generic PDF", errors(wordsOf(pdf), grid, true));
}

TEST_F(Printing, TextsLandWhereAskedOnTheCupsPdfQueue)
{
    Job job;
    job.queue = CupsScheduler::fullQueue();
    const QString pdf = print(job);
    EXPECT_EQ(m_deadLeft, 35) << "10 pt";
    EXPECT_EQ(m_deadTop, 35);
    ASSERT_GT(m_dpi, 0);
    // The re-rendered text keeps its glyph origins: on the baseline, one ascent below the top
    // of the character cell where the text was placed.
    std::vector<Found> glyphs = glyphsOf(pdf);
    const double ascent = m_ascent * 25.4 / m_dpi;
    for (Found& g : glyphs)
        g.y -= ascent;
    report("cups-pdf", errors(glyphs, grid, false));
}

TEST_F(Printing, APageRangePrintsOnlyItsPages)
{
    Job job;
    job.pages = 4;
    job.firstPage = 2;
    job.lastPage = 3;
    job.texts = {};
    const QString pdf = print(job);
    std::vector<std::pair<int, QString>> seen;
    for (const Found& w : wordsOf(pdf))
        seen.emplace_back(w.page, w.text);
    EXPECT_EQ(seen, (std::vector<std::pair<int, QString>>{{1, QStringLiteral("P2")},
                                                          {2, QStringLiteral("P3")}}));
}

TEST_F(Printing, TwoCopiesGiveThePageTwice)
{
    Job job;
    job.copies = 2;
    job.texts = {{QStringLiteral("COPY"), 500, 500}};
    const QString pdf = print(job);
    std::vector<int> pages;
    for (const Found& w : wordsOf(pdf)) {
        EXPECT_EQ(w.text, QStringLiteral("COPY"));
        EXPECT_NEAR(w.x, 50, 0.1);
        pages.push_back(w.page);
    }
    EXPECT_EQ(pages, (std::vector<int>{1, 2}));
}

TEST_F(Printing, ALandscapePageIsMeasuredFromItsOwnCorner)
{
    Job job;
    job.orientation = poLandscape;
    const std::vector<Placed> texts = {{QStringLiteral("LTL"), 100, 100},
                                       {QStringLiteral("LBR"), 2700, 1900},
                                       {QStringLiteral("LMID"), 1485, 1050}};
    job.texts = texts;
    const QString pdf = print(job);
    // The queue's sheet is portrait A4: the landscape page lies on it turned a quarter to the
    // left, its top-left corner at the sheet's bottom-left one.
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].width, 210, 0.2);
    EXPECT_NEAR(pages[0].height, 297, 0.2);
    ASSERT_GT(m_dpi, 0);
    const double ascent = m_ascent * 25.4 / m_dpi;
    std::vector<Found> onPage;
    for (const Found& g : glyphsOf(pdf))
        onPage.push_back({g.page, g.text, pages[0].height - g.y, g.x - ascent});
    report("Generic PDF, landscape", errors(onPage, texts, false));
}

TEST_F(Printing, StoredPreviewPagesPrintAtTheirPlaces)
{
    TReportPrinter preview(nullptr);
    ASSERT_TRUE(preview.printersPresent());
    preview.StartJob();
    preview.OpenNextPage();
    drawTexts(preview, grid);
    preview.FinishJob();
    preview.setPrepared(true);
    preview.setTitle(uniqueTitle());
    m_outputs << g_scheduler->outputPdf();
    preview.PrintStoredPages();
    ASSERT_TRUE(g_scheduler->waitForJobs());
    ASSERT_TRUE(CupsScheduler::waitForFile(g_scheduler->outputPdf()));
    // Drawn at 96 pixels per inch and stretched: a report pixel is 0.26 mm.
    std::pair<double, double> e{0, 0};
    for (const Found& w : wordsOf(g_scheduler->outputPdf()))
        for (const Placed& p : grid)
            if (w.text == p.text) {
                e.first = std::max(e.first, std::abs(w.x - static_cast<double>(p.x) / 10));
                e.second = std::max(e.second, std::abs(w.y - static_cast<double>(p.y) / 10));
            }
    EXPECT_LT(e.first, 0.3);
    EXPECT_LT(e.second, 0.6);
    report("Generic PDF, stored pages", e);
}

TEST_F(Printing, TheReportChoosesTheSharedOrItsOwnPrinterObject)
{
    TReport report;
    TReportPrinter own(&report);
    EXPECT_NE(&own.printerObject(), &platform::sharedPrinter());
    EXPECT_EQ(own.settings().device(), CupsScheduler::genericQueue()) << "the default queue";
    report.printerSettings().useStandardPrinter = true;
    platform::sharedPrinter().setPrinterIndex(
        platform::sharedPrinter().printers().indexOf(CupsScheduler::fullQueue()));
    TReportPrinter shared(&report);
    EXPECT_EQ(&shared.printerObject(), &platform::sharedPrinter());
    // The shared printer keeps the printer chosen on it: no selection by index.
    shared.ApplyPrinterValues(report);
    EXPECT_EQ(shared.settings().device(), CupsScheduler::fullQueue());
    EXPECT_EQ(shared.DeadLeft(), 35);
}

TEST_F(Printing, SelectingAPrinterAgainSeesEveryChangeMadeSince)
{
    TReport report;
    TReportPrinter printer(&report);
    platform::PrinterObject& device = printer.printerObject();
    const int full = queueIndex(printer, CupsScheduler::fullQueue());
    ASSERT_GE(full, 0);
    struct Step
    {
        int index;
        bool writeDevMode;  // through the device-mode interface first
        bool writeQPrinter; // through the Qt printer first, as the print dialog does
        QString device;
        int leftOffset; // tenths
    };
    const Step steps[] = {
        {-1, false, false, CupsScheduler::genericQueue(), 64}, // as constructed
        {-1, true, false, CupsScheduler::genericQueue(), 64},
        {full, false, false, CupsScheduler::fullQueue(), 35},
        {full, false, false, CupsScheduler::fullQueue(), 35},
        {full, false, true, CupsScheduler::fullQueue(), 35},
        {full, true, false, CupsScheduler::fullQueue(), 35},
        {-1, false, false, CupsScheduler::genericQueue(), 64},
    };
    int n = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(n++);
        if (step.writeDevMode) {
            platform::DEVMODE dm;
            dm.dmFields = platform::DM_COPIES | platform::DM_ORIENTATION;
            dm.dmCopies = 3;
            dm.dmOrientation = platform::DMORIENT_LANDSCAPE;
            device.setPrinter(device.deviceName(), dm);
            ASSERT_EQ(device.devMode().dmCopies, 3);
        }
        if (step.writeQPrinter) {
            auto& qt = dynamic_cast<platform::Printer&>(device).qprinter();
            qt.setCopyCount(4);
            qt.setPageOrientation(QPageLayout::Landscape);
            ASSERT_EQ(device.devMode().dmCopies, 4);
        }
        report.printerSettings().printerIndex = step.index;
        printer.ApplyPrinterValues(report);
        EXPECT_EQ(printer.settings().device(), step.device);
        EXPECT_EQ(printer.settings().leftOffset(), step.leftOffset);
        // The driver's defaults again, whatever was written before.
        EXPECT_EQ(device.devMode().dmCopies, 1);
        EXPECT_EQ(device.devMode().dmOrientation, platform::DMORIENT_PORTRAIT);
    }
}

// The cheque report itself: its stored layout, the captions of a sample cheque, the report's
// print operation. Every text's left edge (a centred one's less half its printed width) and the
// top of its character cell, from the paper's corner.
class ChequePrinting : public Printing
{
protected:
    struct Printed
    {
        QString pdf;
        std::vector<Placed> asked;        // left edge and top of each text, 0.1 mm
        std::vector<long double> ascents; // of each text's font on the printer, 0.1 mm
    };

    Printed printCheque(const QString& queue)
    {
        Printed out;
        const std::unique_ptr<TReport> cheque = loadReportLayout(
            QStringLiteral(QUILLMARK_TESTDATA "/../../printlayout/chequereport.qrl"));
        std::vector<TReportLabel*> labels;
        for (const auto& [name, caption] : testsupport::sampleChequeCaptions) {
            auto* label = cheque->findChild<TReportLabel*>(QString::fromLatin1(name));
            EXPECT_TRUE(label) << name;
            if (!label)
                return out;
            label->setCaption(QString::fromUtf8(caption));
            labels.push_back(label);
        }
        // Where each text is anchored, from the captions measured on screen.
        std::vector<std::pair<long double, long double>> anchors;
        for (const TReportLabel* label : labels) {
            long double x = 100 + label->size().tenths(TReportPrintableSize::LeftIndex);
            if (label->alignment() == taCenter)
                x += label->size().tenths(TReportPrintableSize::WidthIndex) / 2;
            anchors.emplace_back(x, 100 + label->size().tenths(TReportPrintableSize::TopIndex));
        }

        const QString title = uniqueTitle();
        cheque->setReportTitle(title);
        TReportRequests& requests = TReportRequests::of(*cheque);
        requests.setPrinterMaker([&queue](TCustomReport& r) {
            auto printer = std::make_unique<TReportPrinter>(&r);
            r.printerSettings().printerIndex = queueIndex(*printer, queue);
            return printer;
        });
        cheque->setAfterPrint([&](QObject*) {
            m_deadLeft = requests.reportPrinter()->DeadLeft();
            m_deadTop = requests.reportPrinter()->DeadTop();
            m_dpi = requests.reportPrinter()->settings().pixelsPerInchX();
        });
        requests.Print();
        EXPECT_GT(m_dpi, 0) << "nothing printed";
        EXPECT_TRUE(g_scheduler->waitForJobs()) << "jobs still pending";
        if (queue == CupsScheduler::genericQueue()) {
            out.pdf = g_scheduler->outputPdf();
            EXPECT_TRUE(CupsScheduler::waitForFile(out.pdf)) << out.pdf.toStdString();
        } else {
            out.pdf = CupsScheduler::waitForFullQueuePdf(title);
        }
        m_outputs << out.pdf;
        EXPECT_EQ(pdfPages(out.pdf).size(), 1u);

        for (std::size_t i = 0; i < labels.size() && m_dpi > 0; ++i) {
            const TReportLabel* label = labels[i];
            const QFontMetrics metrics(platform::toQFont(label->font().canvasFont(m_dpi)));
            long double x = anchors[i].first;
            if (label->alignment() == taCenter)
                x -= metrics.horizontalAdvance(label->caption()) / 2.0L / m_dpi * 254;
            out.asked.push_back({label->caption(), x, anchors[i].second});
            out.ascents.push_back(metrics.ascent() * 254.0L / m_dpi);
        }
        return out;
    }
};

TEST_F(ChequePrinting, EveryTextLandsInPlaceOnTheGenericPdfQueue)
{
    const Printed printed = printCheque(CupsScheduler::genericQueue());
    EXPECT_EQ(m_deadLeft, 64) << "not the Generic PDF queue's 18 pt";
    EXPECT_EQ(m_deadTop, 127);
    report("cheque, Generic PDF", errors(wordsOf(printed.pdf), printed.asked, true));
}

TEST_F(ChequePrinting, EveryTextLandsInPlaceOnTheCupsPdfQueue)
{
    Printed printed = printCheque(CupsScheduler::fullQueue());
    EXPECT_EQ(m_deadLeft, 35) << "not the cups-pdf queue's 10 pt";
    // Re-rendered text keeps only glyph origins: on the baseline, one ascent below the top.
    for (std::size_t i = 0; i < printed.asked.size(); ++i)
        printed.asked[i].y += printed.ascents[i];
    // The queue re-renders the page: its glyph origins lie about 0.1 mm left of where the
    // Generic PDF queue, which keeps our own page, shows them within 0.01 mm.
    report("cheque, cups-pdf", errors(glyphsOf(printed.pdf), printed.asked, false, 0.15));
}

TEST_F(Printing, AQueueReportsItsDeviceAndTakesItsDeviceMode)
{
    platform::Printer device;
    ASSERT_EQ(device.deviceName(), CupsScheduler::genericQueue());
    EXPECT_EQ(device.deviceCaps(platform::LOGPIXELSX), 1200);
    EXPECT_EQ(device.deviceCaps(platform::PHYSICALOFFSETX), 300); // 18 pt
    EXPECT_EQ(device.deviceCaps(platform::PHYSICALOFFSETY), 600); // 36 pt
    EXPECT_TRUE(device.paperCodes().contains(9)) << "A4";
    EXPECT_FALSE(device.driverName().isEmpty());
    TReportPrinter printer(nullptr, device);
    EXPECT_EQ(printer.settings().SheetWidth(), 2100);
    EXPECT_EQ(printer.settings().SheetLength(), 2970);
    EXPECT_TRUE(printer.settings().paperSupported(TReportPaperSize::A4));

    using platform::DEVMODE;
    struct Case
    {
        quint32 field;
        qint16 DEVMODE::*member;
        qint16 value;
    };
    const Case cases[] = {
        {platform::DM_COPIES, &DEVMODE::dmCopies, 3},
        {platform::DM_ORIENTATION, &DEVMODE::dmOrientation, platform::DMORIENT_LANDSCAPE},
        {platform::DM_PAPERSIZE, &DEVMODE::dmPaperSize, 11}, // A5
        {platform::DM_COLLATE, &DEVMODE::dmCollate, platform::DMCOLLATE_TRUE},
    };
    for (const Case& c : cases) {
        device.resetDevMode();
        DEVMODE dm;
        dm.dmFields = c.field;
        dm.*c.member = c.value;
        device.setPrinter(device.deviceName(), dm);
        EXPECT_EQ(device.devMode().*c.member, c.value) << c.field;
    }
    // Back to the driver's defaults: portrait A4, one copy.
    device.resetDevMode();
    EXPECT_EQ(device.devMode().dmPaperSize, 9);
    EXPECT_EQ(device.devMode().dmOrientation, platform::DMORIENT_PORTRAIT);
    EXPECT_EQ(device.devMode().dmCopies, 1);
}

TEST_F(Printing, AnAbortedJobLeavesNoDocumentAndNoTemporaryFile)
{
    const QStringList before = QDir::temp().entryList(QDir::Files);
    {
        TReportPrinter printer(nullptr);
        printer.setDestination(rdPrinter);
        int printed = 0;
        printer.setAfterPrint([&] { ++printed; });
        printer.StartJob();
        printer.OpenNextPage();
        drawTexts(printer, grid);
        printer.OpenNextPage();
        printer.CancelJob();
        printer.AbortJob();
        EXPECT_EQ(printed, 0);
        EXPECT_FALSE(printer.printerObject().printing());
    }
    EXPECT_TRUE(g_scheduler->waitForJobs());
    EXPECT_FALSE(QFile::exists(g_scheduler->outputPdf()));
    EXPECT_EQ(QDir::temp().entryList(QDir::Files), before);
    // A finished one calls the after-print callback once.
    TReportPrinter printer(nullptr);
    printer.setDestination(rdPrinter);
    int printed = 0;
    printer.setAfterPrint([&] { ++printed; });
    printer.StartJob();
    printer.OpenNextPage();
    printer.FinishJob();
    EXPECT_EQ(printed, 1);
    m_outputs << g_scheduler->outputPdf();
    EXPECT_TRUE(g_scheduler->waitForJobs());
}

TEST_F(Printing, AQueueThatHasGoneEndsTheJobCleanly)
{
    const QString queue = QStringLiteral("quillmark-gone");
    ASSERT_EQ(
        g_scheduler->run(
            QStringLiteral("lpadmin"),
            {QStringLiteral("-p"), queue, QStringLiteral("-E"), QStringLiteral("-v"),
             QStringLiteral("file://") + g_scheduler->folder() + QStringLiteral("/out/gone.pdf"),
             QStringLiteral("-P"),
             QStringLiteral("/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd")}),
        0);
    TReportPrinter printer(nullptr);
    printer.selectPrinter(queueIndex(printer, queue));
    ASSERT_EQ(printer.settings().device(), queue);
    ASSERT_EQ(g_scheduler->run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), queue}), 0);
    const QStringList before = QDir::temp().entryList(QDir::Files);
    printer.setDestination(rdPrinter);
    printer.StartJob();
    EXPECT_THROW(printer.OpenNextPage(), platform::EPrinterError);
    printer.AbortJob();
    EXPECT_EQ(printer.status(), psComplete);
    EXPECT_FALSE(printer.printerObject().printing());
    EXPECT_EQ(QDir::temp().entryList(QDir::Files), before) << "a temporary file was left";
    EXPECT_FALSE(QFile::exists(g_scheduler->folder() + QStringLiteral("/out/gone.pdf")));
}

TEST_F(Printing, WithoutQueuesOrSchedulerNothingIsReadOrPrinted)
{
    for (const QString& queue : {CupsScheduler::genericQueue(), CupsScheduler::fullQueue()})
        ASSERT_EQ(g_scheduler->run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), queue}), 0);
    for (const bool schedulerRunning : {true, false}) {
        SCOPED_TRACE(schedulerRunning ? "a scheduler with no queue" : "no scheduler");
        if (!schedulerRunning)
            g_scheduler->stop();
        EXPECT_FALSE(platform::printersInstalled());
        TReport report;
        report.page().setPaperSize(TReportPaperSize::Default);
        TReportPrinter printer(&report);
        EXPECT_FALSE(printer.printersPresent());
        printer.ApplyPrinterValues(report);
        EXPECT_EQ(printer.paperWidth(), 0);
        EXPECT_EQ(printer.paperLength(), 0);
        // A preview still runs, on empty pictures; its pages are not printed.
        printer.StartJob();
        printer.OpenNextPage();
        printer.FinishJob();
        ASSERT_TRUE(printer.GetPage(1));
        EXPECT_EQ(printer.GetPage(1)->size(), QSize(0, 0));
        printer.setPrepared(true);
        printer.PrintStoredPages();
        EXPECT_FALSE(printer.printerObject().printing());
        // A printer-mode run cannot begin a document on no printer, and says so.
        TReportPrinter direct(&report);
        direct.setDestination(rdPrinter);
        direct.StartJob();
        EXPECT_THROW(direct.OpenNextPage(), platform::EPrinterError);
        direct.AbortJob();
    }
}
