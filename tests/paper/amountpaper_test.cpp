// What is printed is what was typed: a cheque printed on a real CUPS queue, read back from the
// PDF, carries one amount in its capitals, its eleven boxes and its stub, whether the print
// click came after leaving the amount field or straight from it.

#include "app/form1.h"
#include "platform/controls.h"
#include "printlayout/form2.h"
#include "printlayout/printtable.h"
#include "report/report.h"
#include "report/reportmessages.h"
#include "report/reportprinter.h"
#include "tests/paper/pdfglyphs.h"
#include "tests/support/cupsenvironment.h"
#include "tests/support/previewstub.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

// The scheduler is the one this program's other file registers for every test.

namespace {

using papertest::Glyph;

constexpr double kMmPerReportPixel = 25.4 / 96;
constexpr double kMarginMm = 10;
constexpr double kAscentEm = 0.896; // AR PL UMing

// Baseline of a field printed at base top `top` (report pixels) in `points`, mm from the top.
double baseline(int top, double points)
{
    return kMarginMm + top * kMmPerReportPixel + kAscentEm * points * papertest::kMmPerPoint;
}

double leftMm(int left)
{
    return kMarginMm + left * kMmPerReportPixel;
}

// The glyphs of one printed line between two x positions, left to right. A bold face the font
// does not have is drawn twice, a hair apart: that is one character.
QString lineText(std::vector<Glyph> glyphs, double baselineMm, double fromMm, double toMm)
{
    std::sort(glyphs.begin(), glyphs.end(),
              [](const Glyph& a, const Glyph& b) { return a.x < b.x; });
    QString text;
    const Glyph* last = nullptr;
    for (const Glyph& g : glyphs) {
        if (std::abs(g.baseline - baselineMm) >= 0.5 || g.x < fromMm - 0.5 || g.x >= toMm)
            continue;
        if (!last || last->text != g.text || g.x - last->x > 0.3)
            text += g.text;
        last = &g;
    }
    return text;
}

// The eleven boxes left to right, "-" for an empty one; anything printed in the grid's line
// that stands in no box shows as "?".
QString boxesText(const std::vector<Glyph>& glyphs)
{
    std::vector<double> lefts;
    for (const printlayout::TPrintRow& row : printlayout::printTable()) {
        if (std::u16string_view(row.rightEdit) == u"Edit18")
            lefts.push_back(leftMm(row.baseLeft));
    }
    QString boxes(static_cast<qsizetype>(lefts.size()), u'-');
    const double line = baseline(69, 10);
    for (const Glyph& g : glyphs) {
        if (std::abs(g.baseline - line) >= 0.5 || g.x < lefts.front() - 2)
            continue;
        const auto box = std::find_if(lefts.begin(), lefts.end(),
                                      [&](double left) { return std::abs(g.x - left) < 0.5; });
        if (box == lefts.end() || g.text.size() != 1)
            return QStringLiteral("?");
        boxes[box - lefts.begin()] = g.text.front();
    }
    return boxes;
}

TEST(AmountOnPaper, CapitalsBoxesAndStubSayTheAmountThatWasTyped)
{
    testsupport::CupsScheduler* const scheduler = testsupport::CupsEnvironment::scheduler();
    ASSERT_TRUE(scheduler);
    ASSERT_TRUE(scheduler->running()) << scheduler->error().toStdString();
    testsupport::MessageRecorder messages;

    struct Case
    {
        const char* typed;
        const char16_t* stub;
        const char16_t* capitals;
        const char16_t* boxes; // 亿 千 百 十 万 千 百 十 元 角 分
    };
    const Case cases[] = {
        {"12", u"￥12.00", u"壹拾贰元整", u"------￥1200"},
        {"1000000", u"￥1000000.00", u"壹佰万元整", u"-￥100000000"},
        {"0.5", u"￥0.50", u"伍角", u"-------￥050"},
        {"12345.6", u"￥12345.60", u"壹万贰仟叁佰肆拾伍元陆角", u"---￥1234560"},
        // Left blank for the pen: nothing after the sign, nothing in the boxes.
        {"", u"￥", u"", u"-----------"},
    };
    report::TReport* chequeReport = nullptr;
    report::registerPreviewFactory([&] {
        return std::make_unique<testsupport::StubPreview>([&](report::TReportPrinter& printer) {
            printer.setPreviewing(true);
            testsupport::whenIdle(chequeReport, [&, p = &printer] {
                report::postReportMessage(chequeReport, report::CM_PRINTREQUEST, 0);
                report::postReportMessage(chequeReport, report::CM_PREVIEWCLOSED, 0, p);
            });
        });
    });
    for (const Case& c : cases) {
        for (const bool leaveFirst : {true, false}) {
            SCOPED_TRACE(std::string(c.typed) + (leaveFirst ? " left first" : " straight"));
            QTemporaryDir dir;
            app::TForm1 form(dir.filePath(QStringLiteral("myini.ini")));
            form.Timer1->stop(); // the ticks below are the only ones
            printlayout::TForm2 printForm;
            form.setPrintForm(&printForm);
            chequeReport = printForm.ChequeReport;
            form.show();
            QApplication::setActiveWindow(&form);
            ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
            form.Edit3->setFocus();

            // A tick while the amount is half typed, then the rest.
            const QString typed = QString::fromLatin1(c.typed);
            QTest::keyClicks(form.Edit3, typed.left(1));
            form.Timer1Timer();
            QTest::keyClicks(form.Edit3, typed.mid(1));
            if (leaveFirst)
                QTest::keyClick(form.Edit3, Qt::Key_Tab);
            ASSERT_EQ(form.Edit3->hasFocus(), !leaveFirst);

            QFile::remove(scheduler->outputPdf());
            QTest::mouseClick(form.Image2, Qt::LeftButton, {}, QPoint(65, 18));
            EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
            ASSERT_TRUE(scheduler->waitForJobs());
            ASSERT_TRUE(testsupport::CupsScheduler::waitForFile(scheduler->outputPdf()));
            const std::vector<Glyph> glyphs = papertest::readGlyphs(scheduler->outputPdf());

            EXPECT_EQ(lineText(glyphs, baseline(181, 9), leftMm(52), leftMm(240)),
                      QString::fromUtf16(c.stub));
            EXPECT_EQ(lineText(glyphs, baseline(60, 11), leftMm(265), leftMm(590)),
                      QString::fromUtf16(c.capitals));
            EXPECT_EQ(boxesText(glyphs), QString::fromUtf16(c.boxes));
            messages.clear();
        }
    }
    report::registerPreviewFactory({});
}

} // namespace
