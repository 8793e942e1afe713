// The preview shows the cheque where the paper gets it: a print click's page picture (the page
// the preview window draws) against the PDF printed from that preview on a real CUPS queue,
// text by text, in millimetres from the paper's corner.

#include "app/form1.h"
#include "dateedit/dbdatetimeedit.h"
#include "platform/emfpicture.h"
#include "platform/gbk.h"
#include "printlayout/form2.h"
#include "report/label.h"
#include "report/report.h"
#include "report/reportmessages.h"
#include "report/reportprinter.h"
#include "settings/calibrationpanel.h"
#include "tests/paper/pdfglyphs.h"
#include "tests/support/cupsenvironment.h"
#include "tests/support/fakeprinter.h"
#include "tests/support/previewstub.h"
#include "tests/support/testsupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>

using testsupport::CupsScheduler;

namespace {

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::CupsEnvironment);

using papertest::Glyph;
using papertest::kMmPerPoint;
using papertest::readGlyphs;
constexpr double kMmPerReportPixel = 25.4 / 96;
// AR PL UMing ("宋体"): ascent 0.896 em; figures and letters half an em, Chinese a whole em.
constexpr double kAscentEm = 0.896;

double advanceEm(QChar c)
{
    return c.unicode() < 0x2E80 ? 0.5 : 1.0;
}

// Where the PDF printed a text: its left edge (or centre) and the top of its cell, the run of
// glyphs nearest the expected spot.
std::optional<QPointF> printedAt(const std::vector<Glyph>& glyphs, const QString& text,
                                 double points, bool centred, QPointF near)
{
    const double em = points * kMmPerPoint;
    double width = 0;
    for (QChar c : text)
        width += advanceEm(c) * em;
    std::optional<QPointF> best;
    for (std::size_t i = 0; i + text.size() <= glyphs.size(); ++i) {
        QString run;
        for (qsizetype k = 0; k < text.size(); ++k) {
            if (std::abs(glyphs[i + k].baseline - glyphs[i].baseline) > 0.01)
                break;
            run += glyphs[i + k].text;
        }
        if (run != text)
            continue;
        const QPointF at(glyphs[i].x + (centred ? width / 2 : 0),
                         glyphs[i].baseline - kAscentEm * em);
        if (!best || QLineF(at, near).length() < QLineF(*best, near).length())
            best = at;
    }
    return best;
}

} // namespace

TEST(PreviewAgainstPaper, EveryTextOfThePreviewPageLandsThereOnPaper)
{
    CupsScheduler* const scheduler = testsupport::CupsEnvironment::scheduler();
    ASSERT_TRUE(scheduler);
    ASSERT_TRUE(scheduler->running()) << scheduler->error().toStdString();
    testsupport::MessageRecorder messages;
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("myini.ini"));
    testsupport::writeFile(
        settings,
        platform::toGbk(QString::fromUtf16(
            u"[支票打印]\r\n付款行名称=中国某某银行北京分行\r\n出票人账户=110123456789\r\n"
            u"[存根]\r\n年份右=1\r\n年份下=-1\r\n用途右=3\r\n用途下=1\r\n"
            u"[支票]\r\n金额小写右=5\r\n金额小写下=-2\r\n月份右=-1\r\n")));
    app::TForm1 form(settings);
    form.Timer1->stop();
    printlayout::TForm2 printForm;
    form.setPrintForm(&printForm);
    form.Button7Click();
    for (QLineEdit* e : form.Panel1->findChildren<QLineEdit*>()) {
        if (e->text().isEmpty() && e != form.Panel1->Edit7 && e != form.Panel1->Edit6)
            e->setText(QStringLiteral("0"));
    }
    form.DBDateTimeEdit1->setValue(
        static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(2024, 10, 20))));
    form.Edit3->setText(QStringLiteral("12345678.90"));
    form.ComboBox1->setEditText(QString::fromUtf16(u"办公用品费用"));
    form.ComboBox2->setEditText(QString::fromUtf16(u"某某商贸有限公司"));
    form.ComboBox3->setEditText(QString::fromUtf16(u"某某商贸"));
    form.Timer1Timer();

    report::TReport* chequeReport = printForm.ChequeReport;
    std::vector<testsupport::EmfText> previewTexts;
    report::registerPreviewFactory([&] {
        return std::make_unique<testsupport::StubPreview>([&](report::TReportPrinter& printer) {
            printer.setPreviewing(true);
            testsupport::whenIdle(chequeReport, [&, p = &printer] {
                if (const auto page = p->GetPage(1))
                    previewTexts = testsupport::emfTexts(*page);
                report::postReportMessage(chequeReport, report::CM_PRINTREQUEST, 0);
                report::postReportMessage(chequeReport, report::CM_PREVIEWCLOSED, 0, p);
            });
        });
    });
    ASSERT_TRUE(platform::guarded([&] { form.Image2Click(); }));
    report::registerPreviewFactory({});
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
    ASSERT_TRUE(scheduler->waitForJobs());
    ASSERT_TRUE(CupsScheduler::waitForFile(scheduler->outputPdf()));
    const std::vector<Glyph> glyphs = readGlyphs(scheduler->outputPdf());

    // The preview page is drawn at 96 dots per inch from the paper's corner: one dot is
    // 0.26 mm, so a text's place there is within half of it.
    int compared = 0;
    double worstX = 0;
    double worstY = 0;
    for (report::TReportControl* child : printForm.ColumnHeaderBand1->childControls()) {
        const auto* label = qobject_cast<report::TReportLabel*>(child);
        ASSERT_TRUE(label);
        if (label->caption().isEmpty())
            continue;
        SCOPED_TRACE(label->objectName().toStdString() + " " + label->caption().toStdString());
        const bool centred = label->alignment() == report::taCenter;
        // The label's own record: its text nearest its top.
        const double top = label->top() + 10 / kMmPerReportPixel;
        const testsupport::EmfText* shown = nullptr;
        for (const auto& t : previewTexts) {
            if (t.text == label->caption() &&
                (!shown || std::abs(t.y - top) < std::abs(shown->y - top)))
                shown = &t;
        }
        ASSERT_TRUE(shown);
        const QPointF previewMm(shown->x * kMmPerReportPixel, shown->y * kMmPerReportPixel);
        const auto paperMm =
            printedAt(glyphs, label->caption(), label->fontSize(), centred, previewMm);
        ASSERT_TRUE(paperMm);
        EXPECT_NEAR(paperMm->x(), previewMm.x(), 0.15);
        EXPECT_NEAR(paperMm->y(), previewMm.y(), 0.15);
        worstX = std::max(worstX, std::abs(paperMm->x() - previewMm.x()));
        worstY = std::max(worstY, std::abs(paperMm->y() - previewMm.y()));
        ++compared;
    }
    EXPECT_EQ(compared, 25);
    ::testing::Test::RecordProperty("worst_x_mm", QString::number(worstX, 'f', 3).toStdString());
    ::testing::Test::RecordProperty("worst_y_mm", QString::number(worstY, 'f', 3).toStdString());
}
