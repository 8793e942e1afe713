#include "app/form1.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "printlayout/form2.h"
#include "printlayout/printtable.h"
#include "report/label.h"
#include "report/previewinterface.h"
#include "report/report.h"
#include "report/reportmessages.h"
#include "report/reportprinter.h"
#include "report/reportrequests.h"
#include "settings/calibrationpanel.h"
#include "tests/support/fakeprinter.h"
#include "tests/support/previewstub.h"
#include "tests/support/testsupport.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString u(const char16_t* s)
{
    return QString::fromUtf16(s);
}

using printlayout::TPrintRow;
using TOffsetGroup = settings::TOffsetRow::Group;

const std::array<TPrintRow, 25>& kTable = printlayout::printTable();

// The centred labels and the widths of their boxes on the cheque form.
const std::pair<const char16_t*, int> kCentred[] = {{u"PrintLabel23", 29},
                                                    {u"PrintLabel14", 16},
                                                    {u"PrintLabel25", 111},
                                                    {u"PrintLabel21", 40},
                                                    {u"PrintLabel16", 40}};

int boxWidth(const char16_t* printLabel)
{
    for (const auto& [name, width] : kCentred) {
        if (std::u16string_view(name) == printLabel)
            return width;
    }
    return 0;
}

class PrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        report::registerPreviewFactory([this] {
            return std::make_unique<testsupport::StubPreview>(
                [this](report::TReportPrinter& printer) {
                    ++m_previews;
                    if (m_onPreview)
                        m_onPreview(printer);
                });
        });
    }
    void TearDown() override { report::registerPreviewFactory({}); }

    QString path() const { return m_dir.filePath(QStringLiteral("myini.ini")); }
    QString settingsText() const { return platform::fromGbk(testsupport::readFile(path())); }

    app::TForm1& open()
    {
        m_form = std::make_unique<app::TForm1>(path());
        m_form->Timer1->stop(); // ticks are driven by hand
        m_print = std::make_unique<printlayout::TForm2>();
        m_form->setPrintForm(m_print.get());
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
        m_form->Edit3->setFocus();
        return *m_form;
    }

    QLineEdit* edit(const char16_t* name) const
    {
        auto* e = m_form->Panel1->findChild<QLineEdit*>(u(name));
        EXPECT_TRUE(e) << QString::fromUtf16(name).toStdString();
        return e;
    }
    report::TReportLabel& printLabel(const char16_t* name) const
    {
        report::TReportLabel* l = m_print->printLabel(u(name));
        EXPECT_TRUE(l);
        return *l;
    }
    QString mockup(const char16_t* name) const
    {
        return m_form->findChild<QLabel*>(u(name), Qt::FindDirectChildrenOnly)->text();
    }

    void fillIn(const QString& amount, const QString& purpose)
    {
        m_form->Edit3->setText(amount);
        m_form->ComboBox1->setEditText(purpose);
        m_form->ComboBox2->setEditText(u(u"某某商贸有限公司"));
        m_form->ComboBox3->setEditText(u(u"某某商贸"));
        m_form->Panel1->Edit7->setText(u(u"中国某某银行北京分行"));
        m_form->Panel1->Edit6->setText(QStringLiteral("6222020200112233"));
        m_form->Timer1Timer();
    }

    // Where a label's text is centred or starts, in report pixels from the band's left.
    static double anchorX(const report::TReportLabel& label, int box)
    {
        return box ? label.left() + label.width() / 2.0 : label.left();
    }

    testsupport::MessageRecorder m_messages;
    int m_previews = 0;
    std::function<void(report::TReportPrinter&)> m_onPreview;
    QTemporaryDir m_dir;
    std::unique_ptr<app::TForm1> m_form;
    std::unique_ptr<printlayout::TForm2> m_print;
};

TEST_F(PrintTest, EveryLabelStandsAtFourTimesItsOffsetsFromItsBaseWithTheMockupCaption)
{
    app::TForm1& f = open();
    fillIn(QStringLiteral("1234.56"), u(u"货款"));
    // A distinct offset in every edit shows which edit moves which label.
    int value = -15;
    for (const auto& row : settings::TCalibrationPanel::offsetRows()) {
        (f.Panel1->*row.right)->setText(QString::number(value++));
        (f.Panel1->*row.down)->setText(QString::number(value++));
    }
    ASSERT_TRUE(platform::guarded([&] { f.Image2Click(); }));
    EXPECT_TRUE(m_messages.texts().isEmpty());
    EXPECT_EQ(m_previews, 1);

    for (const TPrintRow& row : kTable) {
        SCOPED_TRACE(QString::fromUtf16(row.printLabel).toStdString());
        const report::TReportLabel& label = printLabel(row.printLabel);
        const int left = 4 * edit(row.rightEdit)->text().toInt() + row.baseLeft;
        const int top = 4 * edit(row.downEdit)->text().toInt() + row.baseTop;
        EXPECT_EQ(label.top(), top);
        // A centred label is centred on its box, whatever its caption's width.
        const int box = boxWidth(row.printLabel);
        EXPECT_NEAR(anchorX(label, box), left + box / 2.0, box ? 0.5 : 0.0);
        EXPECT_EQ(label.caption(), mockup(row.captionFrom));
    }
    EXPECT_EQ(printLabel(u"PrintLabel4").caption(), u(u"某某商贸"));
    EXPECT_EQ(printLabel(u"PrintLabel24").caption(), u(u"某某商贸有限公司"));
    EXPECT_EQ(printLabel(u"PrintLabel3").caption(), u(u"￥1234.56"));
    EXPECT_EQ(printLabel(u"PrintLabel1").caption(), u(u"贰零贰肆"));
    EXPECT_EQ(printLabel(u"PrintLabel25").caption(), u(u"货款"));
    EXPECT_EQ(printLabel(u"PrintLabel22").caption(), QStringLiteral("6"));
    // Step 1 ran: the three texts are in the pick lists.
    EXPECT_TRUE(settingsText().contains(u(u"[简称]\r\n某某商贸=1\r\n")));
}

TEST_F(PrintTest, TheGridCellsMoveTogetherWithTheirOneRow)
{
    app::TForm1& f = open();
    fillIn(QStringLiteral("98765.43"), u(u"货款"));
    ASSERT_TRUE(platform::guarded([&] { f.Image2Click(); }));
    std::vector<QPoint> atZero;
    for (const TPrintRow& row : kTable)
        atZero.push_back({printLabel(row.printLabel).left(), printLabel(row.printLabel).top()});

    f.Panel1->Edit18->setText(QStringLiteral("5"));
    f.Panel1->Edit19->setText(QStringLiteral("-2"));
    ASSERT_TRUE(platform::guarded([&] { f.Image2Click(); }));
    for (std::size_t i = 0; i < std::size(kTable); ++i) {
        const TPrintRow& row = kTable[i];
        SCOPED_TRACE(QString::fromUtf16(row.printLabel).toStdString());
        const report::TReportLabel& label = printLabel(row.printLabel);
        const bool grid = std::u16string_view(row.rightEdit) == u"Edit18";
        EXPECT_EQ(QPoint(label.left(), label.top()) - atZero[i],
                  grid ? QPoint(20, -8) : QPoint(0, 0));
        if (grid) {
            // 20 and 8 report pixels are 5.29 and 2.12 mm on the page.
            EXPECT_NEAR(
                static_cast<double>(label.size().tenths(report::TReportPrintableSize::LeftIndex)),
                (row.baseLeft + 20) * 254.0 / 96, 1e-9);
            EXPECT_NEAR(20 * 25.4 / 96, 5.29, 0.005);
        }
    }
}

TEST_F(PrintTest, AnOffsetThatIsNotAWholeNumberStopsThePrintAtItsLabelAndTakesTheFocus)
{
    struct Case
    {
        const char16_t* edit;
        const char16_t* section;
        const char16_t* key;
        const char16_t* text;   // as the file holds it
        std::size_t failingRow; // index in the print table
        bool leftAlreadySet;    // the down offset failed, the right one was read
    };
    const Case cases[] = {
        {u"Edit14", u"支票", u"收款人右", u"1.5", 9, false}, // payee, right
        {u"Edit43", u"存根", u"金额下", u"", 4, true},       // stub amount, down
        {u"Edit19", u"支票", u"金额小写下", u"x", 14, true}, // grid, down: fails at its first cell
        {u"Edit34", u"存根", u"年份右", u"\"+ 1\"", 0, false}, // the first label
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.edit).toStdString());
        // A hand-edited file: every offset 1 but the one.
        QString file;
        for (const TOffsetGroup group : {TOffsetGroup::Stub, TOffsetGroup::Body}) {
            const QString section = settings::TCalibrationPanel::sectionOf(group);
            file += u'[' + section + QStringLiteral("]\r\n");
            for (const auto& row : settings::TCalibrationPanel::offsetRows()) {
                if (row.group != group)
                    continue;
                for (const char16_t* key : {row.rightKey, row.downKey}) {
                    const bool bad = section == u(c.section) && u(key) == u(c.key);
                    file += u(key) + u'=' + (bad ? u(c.text) : QStringLiteral("1")) +
                            QStringLiteral("\r\n");
                }
            }
        }
        testsupport::writeFile(path(), platform::toGbk(file));
        app::TForm1& f = open();
        f.Button7Click();
        fillIn(QStringLiteral("12.00"), u(u"货款"));
        const QString shown = edit(c.edit)->text(); // the file's quotes are not part of it
        m_messages.clear();

        EXPECT_FALSE(platform::guarded([&] { f.Image2Click(); }));
        EXPECT_EQ(m_messages.texts(),
                  QStringList{QStringLiteral("'") + shown +
                              QStringLiteral("' is not a valid integer value.")});
        for (std::size_t i = 0; i < std::size(kTable); ++i) {
            const TPrintRow& row = kTable[i];
            SCOPED_TRACE(QString::fromUtf16(row.printLabel).toStdString());
            const report::TReportLabel& label = printLabel(row.printLabel);
            const bool leftMoved = i < c.failingRow || (i == c.failingRow && c.leftAlreadySet);
            EXPECT_EQ(label.left(), row.baseLeft + (leftMoved ? 4 : 0));
            EXPECT_EQ(label.top(), row.baseTop + (i < c.failingRow ? 4 : 0));
            EXPECT_TRUE(label.caption().isEmpty());
        }
        EXPECT_EQ(m_previews, 0);
        // The user is shown the box that holds the text.
        EXPECT_TRUE(f.Panel1->isVisible());
        EXPECT_TRUE(edit(c.edit)->hasFocus());
        EXPECT_EQ(edit(c.edit)->text(), shown);
        // The pick lists were written before the offsets were read.
        EXPECT_TRUE(settingsText().contains(u(u"[用途]\r\n货款=1\r\n")));
        m_form.reset();
        QFile::remove(path());
    }
}

TEST_F(PrintTest, ASettingsFileThatCannotBeWrittenIsReportedOnceAndThePrintGoesOn)
{
    const QString stored = u(u"[存根]\r\n日期右=3\r\n[支票]\r\n金额小写下=-2\r\n");
    const auto writable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    struct Case
    {
        const char* what;
        std::function<void()> lock;
        std::function<void()> unlock;
    };
    const Case cases[] = {
        {"a read-only file in a read-only folder",
         [&] {
             QFile::setPermissions(path(), QFile::ReadOwner);
             QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
         },
         [&] {
             QFile::setPermissions(m_dir.path(), writable);
             QFile::setPermissions(path(), writable);
         }},
        // A directory where the settings file must be: no write can succeed, even as root.
        {"a directory in its place",
         [&] {
             QFile::remove(path());
             QDir().mkpath(path());
         },
         [&] { QDir(path()).removeRecursively(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::writeFile(path(), platform::toGbk(stored));
        app::TForm1& f = open();
        f.Button7Click();
        fillIn(QStringLiteral("12.00"), u(u"货款"));
        m_messages.clear();
        m_previews = 0;
        c.lock();
        const bool printed = platform::guarded([&] { f.Image2Click(); });
        const QString left = QFileInfo(path()).isFile() ? settingsText() : QString();
        c.unlock();
        EXPECT_TRUE(printed);
        EXPECT_EQ(m_messages.texts(), QStringList{QStringLiteral("Unable to write to ") + path() +
                                                  QStringLiteral(".")});
        EXPECT_EQ(m_messages.messages()[0].kind, platform::MessageKind::Error);
        EXPECT_EQ(m_previews, 1);
        EXPECT_EQ(printLabel(u"PrintLabel2").left(), 126 + 12);
        EXPECT_EQ(printLabel(u"PrintLabel22").top(), 69 - 8);
        EXPECT_EQ(printLabel(u"PrintLabel3").caption(), u(u"￥12.00"));
        if (!left.isEmpty()) {
            EXPECT_EQ(left, stored);
        }
        m_form.reset();
        QFile::remove(path());
    }
}

TEST_F(PrintTest, PrintingStraightFromTheAmountFieldFormatsAndRefreshesButReloadsNothing)
{
    app::TForm1& f = open();
    fillIn(QStringLiteral("12"), u(u"货款"));
    f.Button7Click();
    // Typed after the last tick, and an offset changed without saving: printing shows the
    // amount as leaving the field would, the new purpose, and the offset as it stands.
    f.Edit3->setText(QStringLiteral("345"));
    f.ComboBox1->setEditText(u(u"差旅费"));
    f.Panel1->Edit38->setText(QStringLiteral("3"));
    ASSERT_TRUE(f.Edit3->hasFocus());

    QTest::mouseClick(f.Image2, Qt::LeftButton, Qt::NoModifier, QPoint(65, 18));
    EXPECT_TRUE(m_messages.texts().isEmpty());
    EXPECT_EQ(m_previews, 1);
    EXPECT_TRUE(f.Edit3->hasFocus());
    EXPECT_EQ(f.Edit3->text(), QStringLiteral("345.00"));
    EXPECT_EQ(f.Panel1->Edit38->text(), QStringLiteral("3")); // not reloaded
    EXPECT_EQ(printLabel(u"PrintLabel2").left(), 126 + 12);
    EXPECT_EQ(printLabel(u"PrintLabel3").caption(), u(u"￥345.00"));
    EXPECT_EQ(printLabel(u"PrintLabel5").caption(), u(u"叁佰肆拾伍元整"));
    EXPECT_EQ(printLabel(u"PrintLabel15").caption(), u(u"差旅费"));
    const char16_t* boxes[] = {u"", u"", u"", u"", u"", u"￥", u"3", u"4", u"5", u"0", u"0"};
    for (std::size_t i = 0; i < std::size(boxes); ++i)
        EXPECT_EQ(printLabel(kTable[14 + i].printLabel).caption(), u(boxes[i])) << i;
}

TEST_F(PrintTest, AnAmountTheBoxesCannotHoldIsRefusedBeforeAnythingIsWritten)
{
    const QString refusal = u(u"金额 %1 超出小写金额栏的位数，无法打印；小写金额栏最大可填 "
                              u"999999999.99");
    struct Case
    {
        const char* typed;
        const char* refusedAs; // null: printed
    };
    const Case cases[] = {
        {"1234567890", "1234567890.00"},
        {"999999999.995", "1000000000.00"},
        {"999999999.99", nullptr},
        {"000000001234567.8", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        app::TForm1& f = open();
        fillIn(QString::fromLatin1(c.typed), u(u"货款"));
        m_messages.clear();
        m_previews = 0;
        ASSERT_TRUE(platform::guarded([&] { f.Image2Click(); }));
        const bool refused = c.refusedAs != nullptr;
        EXPECT_EQ(m_messages.texts(),
                  refused ? QStringList{refusal.arg(QString::fromLatin1(c.refusedAs))}
                          : QStringList{});
        EXPECT_EQ(m_previews, refused ? 0 : 1);
        EXPECT_EQ(settingsText().contains(u(u"货款")), !refused);
        m_form.reset();
        QFile::remove(path());
    }
}

TEST_F(PrintTest, AnAmountLeftBlankPrintsNoSignInTheBoxes)
{
    app::TForm1& f = open();
    fillIn(QString(), u(u"货款"));
    ASSERT_TRUE(platform::guarded([&] { f.Image2Click(); }));
    EXPECT_EQ(m_previews, 1);
    for (std::size_t i = 14; i < std::size(kTable); ++i)
        EXPECT_EQ(printLabel(kTable[i].printLabel).caption(), QString()) << i;
    EXPECT_EQ(printLabel(u"PrintLabel5").caption(), QString());
    EXPECT_EQ(printLabel(u"PrintLabel3").caption(), u(u"￥"));
    // The mock-up keeps showing where the figures go.
    EXPECT_EQ(f.Label31->text(), u(u"￥"));
}

TEST_F(PrintTest, ACentredFieldKeepsItsCentreWhateverThePreviousCaption)
{
    app::TForm1& f = open();
    f.Panel1->Edit44->setText(QStringLiteral("2"));
    const report::TReportLabel& purpose = printLabel(u"PrintLabel25");
    const double centre = 52 + 8 + 111 / 2.0;
    // Short, long, short again, and the same text twice: one centre every time.
    const char16_t* purposes[] = {u"货款", u"办公用品及耗材采购费用", u"货", u"货", u"差旅费"};
    for (const char16_t* text : purposes) {
        SCOPED_TRACE(QString::fromUtf16(text).toStdString());
        fillIn(QStringLiteral("100.00"), u(text));
        ASSERT_TRUE(platform::guarded([&] { f.Image2Click(); }));
        EXPECT_EQ(purpose.caption(), u(text));
        EXPECT_NEAR(purpose.left() + purpose.width() / 2.0, centre, 0.5);
    }
}

TEST_F(PrintTest, ThePreviewShowsTheFilledLabelsAndTheClickEndsWhenItCloses)
{
    app::TForm1& f = open();
    fillIn(QStringLiteral("1234.56"), u(u"货款"));
    f.Panel1->Edit42->setText(QStringLiteral("2"));
    report::TReport* chequeReport = m_print->ChequeReport;
    bool closing = false;
    QString amountAtPreview;
    int leftAtPreview = 0;
    m_onPreview = [&](report::TReportPrinter& printer) {
        amountAtPreview = printLabel(u"PrintLabel3").caption();
        leftAtPreview = printLabel(u"PrintLabel3").left();
        // The window stays open until it closes itself a little later.
        printer.setPreviewing(true);
        QTimer::singleShot(100, chequeReport, [&closing, chequeReport, p = &printer] {
            closing = true;
            report::postReportMessage(chequeReport, report::CM_PREVIEWCLOSED, 0, p);
        });
    };
    ASSERT_TRUE(platform::guarded([&] { f.Image2Click(); }));
    EXPECT_EQ(m_previews, 1);
    EXPECT_TRUE(closing); // the click waited for the window
    EXPECT_EQ(amountAtPreview, u(u"￥1234.56"));
    EXPECT_EQ(leftAtPreview, 52 + 8);
    EXPECT_EQ(report::TReportRequests::of(*chequeReport).reportPrinter(),
              nullptr); // released with the window
    EXPECT_TRUE(f.Edit3->hasFocus());
}

TEST_F(PrintTest, OnThePrinterEveryCentredFieldKeepsItsCentreChequeAfterCheque)
{
    // Printed from the preview on a 600-dpi printer whose printable area starts 100 dots in:
    // printing re-measures each text on the printer and leaves that width in the label, which
    // must not move the next cheque's text.
    testsupport::FakePrinter device;
    app::TForm1& f = open();
    report::TReport* chequeReport = m_print->ChequeReport;
    report::TReportRequests::of(*chequeReport).setPrinterMaker([&device](report::TCustomReport& r) {
        return std::make_unique<report::TReportPrinter>(&r, device);
    });
    m_onPreview = [chequeReport](report::TReportPrinter& printer) {
        printer.setPreviewing(true);
        // 打印 and then 退出, once the page is in the window.
        testsupport::whenIdle(chequeReport, [chequeReport, p = &printer] {
            report::postReportMessage(chequeReport, report::CM_PRINTREQUEST, 0);
            report::postReportMessage(chequeReport, report::CM_PREVIEWCLOSED, 0, p);
        });
    };
    f.Panel1->Edit44->setText(QStringLiteral("2"));
    f.Panel1->Edit5->setText(QStringLiteral("-1"));
    struct Field
    {
        const char16_t* mockup;
        int centreLeft; // base left + 4 × offset, report pixels
        int box;
    };
    const Field fields[] = {{u"Label13", 51, 29},
                            {u"Label14", 92, 16},
                            {u"Label17", 52 + 8, 111},
                            {u"Label9", 390 - 4, 40},
                            {u"Label10", 450, 40}};
    const char16_t* purposes[] = {u"货款", u"办公用品及耗材采购费用", u"货", u"差旅费"};
    for (std::size_t n = 0; n < std::size(purposes); ++n) {
        SCOPED_TRACE(QString::fromUtf16(purposes[n]).toStdString());
        fillIn(QStringLiteral("100.00"), u(purposes[n]));
        ASSERT_TRUE(platform::guarded([&] { f.Image2Click(); }));
        ASSERT_EQ(device.pages().size(), n + 1);
        const auto texts = testsupport::emfTexts(device.pages().back());
        for (const Field& field : fields) {
            const QString text = mockup(field.mockup);
            SCOPED_TRACE(text.toStdString());
            const auto at =
                std::find_if(texts.begin(), texts.end(),
                             [&](const testsupport::EmfText& t) { return t.text == text; });
            ASSERT_NE(at, texts.end());
            // 10 mm margin + the box's centre, in dots from the printable area's edge; the
            // truncating half-width division allows half a report pixel (3.1 dots), placing
            // on whole dots half a dot more.
            const double centre =
                (100 + (field.centreLeft + field.box / 2.0) * 254.0 / 96) * 600 / 254 - 100;
            EXPECT_NEAR(at->x, centre, 600.0 / 96 / 2 + 0.5);
        }
    }
}

} // namespace
