#include "app/form1.h"
#include "app/startup.h"
#include "dateedit/dbdatetimeedit.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "report/reporterror.h"
#include "settings/calibrationpanel.h"
#include "settings/picklists.h"
#include "tests/support/testsupport.h"

#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QDropEvent>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString u(const char16_t* s)
{
    return QString::fromUtf16(s);
}

class Form1Test : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path() const { return m_dir.filePath(QStringLiteral("myini.ini")); }
    void writeSettings(const QString& text)
    {
        testsupport::writeFile(path(), platform::toGbk(text));
    }
    QString settingsText() const { return platform::fromGbk(testsupport::readFile(path())); }

    app::TForm1& open()
    {
        m_form = std::make_unique<app::TForm1>(path());
        m_form->Timer1->stop(); // ticks are driven by hand
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
        m_form->Edit3->setFocus();
        return *m_form;
    }

    std::vector<QLineEdit*> offsetEdits() const
    {
        std::vector<QLineEdit*> edits;
        for (const auto& row : settings::TCalibrationPanel::offsetRows()) {
            edits.push_back(m_form->Panel1->*row.right);
            edits.push_back(m_form->Panel1->*row.down);
        }
        return edits;
    }

    testsupport::MessageRecorder m_messages;
    QTemporaryDir m_dir;
    std::unique_ptr<app::TForm1> m_form;
};

TEST_F(Form1Test, StartsWithItsCaptionsTextsAndGeometry)
{
    app::TForm1& f = open();
    EXPECT_EQ(f.windowTitle(),
              u(u"Quillmark V2015版         完全免费、随身携带的绿色支票打印软件"));
    EXPECT_EQ(f.size(), QSize(874, 535));
    EXPECT_EQ(f.StatusBar1->panelText(0), u(u"  打造最简洁、直观、易用的绿色软件"));
    EXPECT_EQ(f.StatusBar1->panelText(1),
              u(u"  技术问题请联系   QQ:") + app::TForm1::supportNumber());
    EXPECT_EQ(f.Label80->text(), app::TForm1::linkText());
    EXPECT_EQ(f.Label78->text(), u(u"* 适合各个银行(不仅建行)支票打印 *"));

    struct Geometry
    {
        QWidget* widget;
        QRect rect;
    };
    const Geometry geometry[] = {
        {f.Shape1, {10, 8, 858, 313}},
        {f.Image1, {14, 15, 850, 301}},
        {f.GroupBox1, {10, 328, 858, 169}},
        {f.StatusBar1, {0, 506, 874, 29}},
        {f.Panel1, {40, 8, 761, 401}},
        {f.ComboBox2, {104, 57, 229, 22}},
        {f.ComboBox3, {392, 57, 137, 22}},
        {f.Edit3, {104, 91, 137, 20}},
        {f.ComboBox1, {104, 123, 137, 22}},
        {f.Image2, {328, 104, 130, 36}},
        {f.Image4, {480, 104, 130, 36}},
        {f.Panel1->Edit7, {107, 24, 134, 20}},
        {f.Panel1->Edit6, {107, 58, 134, 20}},
        {f.Panel1->Button4, {280, 21, 75, 25}},
        {f.Panel1->Button6, {280, 57, 75, 25}},
        {f.Panel1->GroupBox2, {16, 112, 353, 225}},
        {f.Panel1->GroupBox3, {384, 16, 353, 321}},
        {f.Panel1->Image3, {295, 352, 130, 36}},
        {f.Panel1->Image5, {447, 352, 130, 36}},
        {f.Panel1->Edit34, {134, 23, 30, 20}},
        {f.Panel1->UpDown31, {164, 23, 16, 20}},
        {f.Panel1->Edit45, {259, 183, 38, 20}},
        {f.Panel1->Edit1, {147, 23, 30, 20}},
        {f.Panel1->Edit21, {259, 279, 38, 20}},
        {f.Panel1->UpDown18, {297, 279, 16, 20}},
    };
    for (const auto& g : geometry)
        EXPECT_EQ(g.widget->geometry(), g.rect) << g.widget->objectName().toStdString();
    EXPECT_FALSE(f.Panel1->isVisible());
    for (QPushButton* b : {f.Button1, f.Button2, f.Button3, f.Button5, f.Button7, f.Button8})
        EXPECT_FALSE(b->isVisible());
    EXPECT_TRUE(f.Timer1->interval() == 500);
    // The input group, the status bar and the panel lie over the picture and its labels.
    const QObjectList& kids = f.children();
    EXPECT_GT(kids.indexOf(f.GroupBox1), kids.indexOf(f.Label18));
    EXPECT_GT(kids.indexOf(f.Panel1), kids.indexOf(f.Label31));
}

TEST_F(Form1Test, WithoutSettingsFileEverythingStartsEmptyAndOffsetsZero)
{
    app::TForm1& f = open();
    EXPECT_TRUE(f.Panel1->Edit7->text().isEmpty());
    EXPECT_TRUE(f.Panel1->Edit6->text().isEmpty());
    for (QComboBox* box : {f.ComboBox1, f.ComboBox2, f.ComboBox3})
        EXPECT_EQ(box->count(), 0);
    for (QLineEdit* e : offsetEdits())
        EXPECT_EQ(e->text(), QStringLiteral("0"));
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(Form1Test, StartReadsBankAndAccountButNotTheOffsets)
{
    writeSettings(u(u"[支票打印]\r\n付款行名称=中国某某银行\r\n出票人账户= 6222 \r\n[存根]\r\n"
                    u"年份右=7\r\n[用途]\r\n货款=1\r\n差旅费=1\r\n[收款人]\r\n某某公司=1\r\n"));
    app::TForm1& f = open();
    EXPECT_EQ(f.Panel1->Edit7->text(), u(u"中国某某银行"));
    EXPECT_EQ(f.Panel1->Edit6->text(), u(u"6222"));
    EXPECT_EQ(f.Panel1->Edit34->text(), u(u"0"));
    EXPECT_EQ(f.ComboBox1->count(), 2);
    EXPECT_EQ(f.ComboBox1->itemText(1), u(u"差旅费"));
    EXPECT_EQ(f.ComboBox2->itemText(0), u(u"某某公司"));
    EXPECT_EQ(f.ComboBox3->count(), 0);
    EXPECT_TRUE(f.ComboBox1->currentText().isEmpty()) << "loading leaves the field's text alone";
}

TEST_F(Form1Test, ALongTextSetIntoAnEditShowsFromItsFirstCharacter)
{
    const QString bank = u(u"中国工商银行北京市分行海淀区中关村支行");
    writeSettings(u(u"[支票打印]\r\n付款行名称=") + bank + QStringLiteral("\r\n"));
    app::TForm1& f = open();
    QTest::keyClicks(f.Edit3, QStringLiteral("12345678901234567890"));
    QTest::keyClick(f.Edit3, Qt::Key_Tab); // reformatted and the settings reloaded
    f.ComboBox2->setEditText(bank + bank);
    QLineEdit* const edits[] = {f.Panel1->Edit7, f.Edit3, f.ComboBox2->lineEdit()};
    for (QLineEdit* edit : edits) {
        SCOPED_TRACE(edit->text().toStdString());
        ASSERT_GT(edit->fontMetrics().horizontalAdvance(edit->text()), edit->width());
        EXPECT_EQ(edit->cursorPosition(), 0);
        EXPECT_LT(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), 8)
            << "scrolled to the start";
    }
    // While the user types, the edit follows the caret as before.
    f.ComboBox2->setFocus();
    f.ComboBox2->lineEdit()->end(false);
    QTest::keyClicks(f.ComboBox2->lineEdit(), QStringLiteral("xy"));
    EXPECT_EQ(f.ComboBox2->lineEdit()->cursorPosition(), f.ComboBox2->currentText().size());
}

TEST_F(Form1Test, AmountFieldLetsOnlyDigitsPointsBackspaceAndEnterThrough)
{
    app::TForm1& f = open();
    QApplication::clipboard()->setText(QStringLiteral("99"));
    struct Stroke
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = {}, QString text = QString()) {
        return Stroke{k, m, std::move(text)};
    };
    const QString del(QChar(0x7f));
    struct Row
    {
        const char* what;
        const char* start;
        std::vector<Stroke> keys;
        const char* result;
    };
    const Row rows[] = {
        {"typed characters", "", {}, "12..3"},
        {"Backspace", "12", {key(Qt::Key_Backspace, {}, QStringLiteral("\b"))}, "1"},
        {"Ctrl+V and Ctrl+X",
         "88",
         {key(Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16")),
          key(Qt::Key_X, Qt::ControlModifier, QStringLiteral("\x18"))},
         "88"},
        // Select all works as in every edit; copy, paste and cut after it still do nothing.
        {"Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+X, then a digit",
         "10010.01",
         {key(Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01")),
          key(Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03")),
          key(Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16")),
          key(Qt::Key_X, Qt::ControlModifier, QStringLiteral("\x18")),
          key(Qt::Key_5, {}, QStringLiteral("5"))},
         "5"},
        // As the X server delivers it: Delete with the character 127.
        {"Home, Delete", "123", {key(Qt::Key_Home), key(Qt::Key_Delete, {}, del)}, "23"},
        {"Left, Left, Delete",
         "123",
         {key(Qt::Key_Left), key(Qt::Key_Left), key(Qt::Key_Delete, {}, del)},
         "13"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        f.Edit3->setText(QString::fromLatin1(row.start));
        if (row.keys.empty())
            QTest::keyClicks(f.Edit3, QStringLiteral("1a-, 2.x.3"));
        for (const Stroke& k : row.keys) {
            QKeyEvent press(QEvent::KeyPress, k.key, k.modifiers, k.text);
            QApplication::sendEvent(f.Edit3, &press);
        }
        EXPECT_EQ(f.Edit3->text(), QString::fromLatin1(row.result));
    }
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("99"));
    EXPECT_TRUE(m_messages.messages().empty());
}

TEST_F(Form1Test, InputMethodAndDroppedTextReachTheAmountOnlyThroughItsFilter)
{
    app::TForm1& f = open();
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QApplication::sendEvent(f.Edit3, &query);
    EXPECT_FALSE(query.value(Qt::ImEnabled).toBool()) << "the input method is off";

    f.Edit3->setText(QStringLiteral("1"));
    QInputMethodEvent commit;
    commit.setCommitString(u(u"汉字０９5"));
    QApplication::sendEvent(f.Edit3, &commit);
    EXPECT_EQ(f.Edit3->text(), QStringLiteral("15"));

    struct Drop
    {
        const char16_t* text;
        bool accepted;
        const char* result;
    };
    const Drop drops[] = {
        {u"汉字１２", false, "15"},
        {u"2a.5 元\n", true, "152.5"},
    };
    for (const Drop& d : drops) {
        SCOPED_TRACE(u(d.text).toStdString());
        QMimeData mime;
        mime.setText(u(d.text));
        const QPointF end(f.Edit3->width() - 4, 10);
        QDragEnterEvent enter(end.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(f.Edit3, &enter);
        EXPECT_EQ(enter.isAccepted(), d.accepted);
        if (enter.isAccepted()) {
            QDropEvent drop(end, Qt::CopyAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(f.Edit3, &drop);
        }
        EXPECT_EQ(f.Edit3->text(), QString::fromLatin1(d.result));
    }
}

TEST_F(Form1Test, EnterInTheAmountMovesToPurposeAndReformatsAndReloads)
{
    writeSettings(u(u"[存根]\r\n年份右=3\r\n金额下=-2\r\n"));
    app::TForm1& f = open();
    QTest::keyClicks(f.Edit3, QStringLiteral("12"));
    QTest::keyClick(f.Edit3, Qt::Key_Return);
    EXPECT_TRUE(f.ComboBox1->hasFocus());
    EXPECT_EQ(f.Edit3->text(), QStringLiteral("12.00"));
    EXPECT_EQ(f.Panel1->Edit34->text(), QStringLiteral("3"));
    EXPECT_EQ(f.Panel1->Edit43->text(), QStringLiteral("-2"));
    EXPECT_EQ(f.Panel1->Edit35->text(), QStringLiteral("0")) << "a missing key reads 0";
}

TEST_F(Form1Test, LeavingAnAmountWithTwoPointsReportsAndKeepsTheTextAndSkipsTheReload)
{
    app::TForm1& f = open();
    f.Panel1->Edit34->setText(QStringLiteral("9"));
    QTest::keyClicks(f.Edit3, QStringLiteral("1.2.3"));
    QTest::keyClick(f.Edit3, Qt::Key_Tab);
    EXPECT_EQ(m_messages.texts(),
              QStringList{QStringLiteral("'1.2.3' is not a valid floating point value.")});
    EXPECT_EQ(m_messages.messages()[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(f.Edit3->text(), QStringLiteral("1.2.3"));
    EXPECT_EQ(f.Panel1->Edit34->text(), QStringLiteral("9"));
}

TEST_F(Form1Test, TabAndEnterFollowTheSpecifiedFocusFlow)
{
    app::TForm1& f = open();
    const auto focused = [] {
        QWidget* w = QApplication::focusWidget();
        // An editable drop-down's line edit stands for the drop-down.
        if (w && qobject_cast<QComboBox*>(w->parentWidget()))
            return w->parentWidget();
        return w;
    };
    EXPECT_EQ(focused(), f.Edit3);
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(focused(), f.ComboBox1);
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(focused(), f.ComboBox2);
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(focused(), f.DBDateTimeEdit1);
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(focused(), f.ComboBox3);
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(focused(), f.Edit3) << "the pictures and hidden buttons take no focus";
    f.ComboBox2->setFocus();

    QTest::keyClick(f.ComboBox2, Qt::Key_Return);
    EXPECT_EQ(focused(), f.ComboBox2) << "Enter in the payee stays there";
    f.ComboBox3->setFocus();
    QTest::keyClick(f.ComboBox3, Qt::Key_Return);
    EXPECT_EQ(focused(), f.ComboBox2);
    f.ComboBox1->setFocus();
    f.ComboBox1->setEditText(u(u"货款"));
    QTest::keyClick(f.ComboBox1, Qt::Key_Return);
    EXPECT_EQ(focused(), f.ComboBox2);
    EXPECT_EQ(f.ComboBox1->count(), 0) << "Enter never adds to the list";
}

TEST_F(Form1Test, SettingsButtonReloadsAndTogglesThePanelCloseOnlyHides)
{
    writeSettings(u(u"[存根]\r\n年份右=5\r\n"));
    app::TForm1& f = open();
    f.Image4Click();
    EXPECT_TRUE(f.Panel1->isVisible());
    EXPECT_EQ(f.Panel1->Edit34->text(), QStringLiteral("5"));
    f.Panel1->Edit34->setText(QStringLiteral("8"));
    f.Image4Click();
    EXPECT_FALSE(f.Panel1->isVisible());
    EXPECT_EQ(f.Panel1->Edit34->text(), QStringLiteral("5")) << "closing with 设置 reloads too";
    f.Image4Click();
    f.Panel1->Edit34->setText(QStringLiteral("8"));
    f.Image5Click();
    EXPECT_FALSE(f.Panel1->isVisible());
    EXPECT_EQ(f.Panel1->Edit34->text(), QStringLiteral("8"));
    EXPECT_FALSE(settingsText().contains(u(u"年份右=8")));
}

TEST_F(Form1Test, SaveWritesThirtyTwoKeysInOrderAndConfirms)
{
    app::TForm1& f = open();
    f.Button7Click(); // no file: every offset becomes "0"
    settings::TCalibrationPanel& p = *f.Panel1;
    // Each edit holds its own number, so a swapped pair of edits shows in the file.
    const std::pair<QLineEdit*, int> numbered[] = {
        {p.Edit1, 1},   {p.Edit2, 2},   {p.Edit4, 4},   {p.Edit5, 5},   {p.Edit8, 8},
        {p.Edit9, 9},   {p.Edit10, 10}, {p.Edit11, 11}, {p.Edit12, 12}, {p.Edit13, 13},
        {p.Edit14, 14}, {p.Edit15, 15}, {p.Edit16, 16}, {p.Edit17, 17}, {p.Edit18, 18},
        {p.Edit19, 19}, {p.Edit20, 20}, {p.Edit21, 21}, {p.Edit34, 34}, {p.Edit35, 35},
        {p.Edit36, 36}, {p.Edit37, 37}, {p.Edit38, 38}, {p.Edit39, 39}, {p.Edit40, 40},
        {p.Edit41, 41}, {p.Edit42, 42}, {p.Edit43, 43}, {p.Edit44, 44}, {p.Edit45, 45},
    };
    for (const auto& [edit, number] : numbered)
        edit->setText(QString::number(number));
    p.Edit7->setText(u(u"中国某某银行某某支行"));
    p.Edit6->setText(QStringLiteral("1234567890123"));
    f.Image3Click();
    EXPECT_EQ(m_messages.texts(), QStringList{u(u"设置保存成功")});

    const QString expected =
        u(u"[支票打印]\r\n付款行名称=中国某某银行某某支行\r\n出票人账户=1234567890123\r\n"
          u"[存根]\r\n"
          u"年份右=34\r\n年份下=35\r\n月份右=37\r\n月份下=36\r\n日期右=38\r\n日期下=39\r\n"
          u"收款人右=41\r\n收款人下=40\r\n金额右=42\r\n金额下=43\r\n用途右=44\r\n"
          u"用途下=45\r\n"
          u"[支票]\r\n"
          u"年份右=1\r\n月份右=5\r\n日期右=8\r\n付款行名称右=11\r\n出票人账号右=12\r\n"
          u"收款人右=14\r\n人民币大写右=16\r\n金额小写右=18\r\n用途右=20\r\n"
          u"年份下=2\r\n月份下=4\r\n日期下=9\r\n付款行名称下=10\r\n出票人账号下=13\r\n"
          u"收款人下=15\r\n人民币大写下=17\r\n金额小写下=19\r\n用途下=21\r\n");
    EXPECT_EQ(settingsText(), expected);

    // Edits changed after the save come back from the file with the next reload.
    f.Panel1->Edit18->setText(QStringLiteral("77"));
    f.Button7Click();
    EXPECT_NE(f.Panel1->Edit18->text(), QStringLiteral("77"));
}

TEST_F(Form1Test, EachMissingOffsetKeyReadsZeroForItsOwnBoxAlone)
{
    struct Case
    {
        const char* what;
        const char16_t* file;
        std::vector<std::pair<QLineEdit * settings::TCalibrationPanel::*, const char*>> expected;
    };
    using P = settings::TCalibrationPanel;
    const Case cases[] = {
        {"no [存根] section: the [支票] values stay",
         u"[支票]\r\n用途下=6\r\n金额小写右=-3\r\n",
         {{&P::Edit21, "6"}, {&P::Edit18, "-3"}}},
        {"no 年份右 in [存根]",
         u"[存根]\r\n金额下=4\r\n[支票]\r\n用途下=6\r\n",
         {{&P::Edit43, "4"}, {&P::Edit21, "6"}}},
        {"no 金额下 in [存根]",
         u"[存根]\r\n年份右=1\r\n[支票]\r\n用途下=6\r\n",
         {{&P::Edit34, "1"}, {&P::Edit21, "6"}}},
        // A key that is present keeps what it holds, usable or not: printing names it.
        {"a key with an empty value",
         u"[存根]\r\n年份右=\r\n金额下=4\r\n",
         {{&P::Edit34, ""}, {&P::Edit43, "4"}}},
    };
    app::TForm1& f = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeSettings(u(c.file));
        f.Button7Click();
        for (const auto& row : P::offsetRows()) {
            for (QLineEdit* P::*edit : {row.right, row.down}) {
                QString want = QStringLiteral("0");
                for (const auto& [stored, text] : c.expected) {
                    if (stored == edit)
                        want = QString::fromLatin1(text);
                }
                EXPECT_EQ((f.Panel1->*edit)->text(), want)
                    << (f.Panel1->*edit)->objectName().toStdString();
            }
        }
    }
}

TEST_F(Form1Test, TypingIntoAnOffsetLetsInOnlyAWholeNumberWithinTheArrowsRange)
{
    app::TForm1& f = open();
    f.Panel1->show();
    QLineEdit* edit = f.Panel1->Edit45;
    edit->setFocus();
    const std::pair<const char*, const char*> typed[] = {
        {"1.5", "15"},   {"abc", ""}, {"-100", "-100"}, {"101", "10"},
        {"99999", "99"}, {"+3", "3"}, {"-0", "-0"},     {"5-", "5"},
    };
    for (const auto& [keys, result] : typed) {
        SCOPED_TRACE(keys);
        edit->clear();
        QTest::keyClicks(edit, QString::fromLatin1(keys));
        EXPECT_EQ(edit->text(), QString::fromLatin1(result));
    }
    // Pasted text is held to the same rule.
    edit->setText(QStringLiteral("7"));
    edit->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("1.5"));
    edit->paste();
    EXPECT_EQ(edit->text(), QStringLiteral("7"));
}

TEST_F(Form1Test, SaveRefusesAnOffsetThatCannotPrintNamesItsFieldAndSavesNothing)
{
    writeSettings(u(u"[支票打印]\r\n付款行名称=旧银行\r\n"));
    const QByteArray before = testsupport::readFile(path());
    using P = settings::TCalibrationPanel;
    struct Case
    {
        QLineEdit* P::*edit;
        const char16_t* text;
        const char16_t* field; // empty: saved
    };
    const Case cases[] = {
        {&P::Edit45, u"1.5", u"存根 用途 下"},
        {&P::Edit18, u"", u"支票 金额小写 右"},
        {&P::Edit34, u"abc", u"存根 年份 右"},
        {&P::Edit10, u"101", u"支票 付款行名称 下"},
        {&P::Edit37, u"99999", u"存根 月份 右"},
        {&P::Edit45, u"-100", u""},
        {&P::Edit45, u"+3", u""},
    };
    app::TForm1& f = open();
    f.Panel1->show();
    // Away from the amount field first: leaving it reloads the panel.
    f.Panel1->Edit7->setFocus();
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        testsupport::writeFile(path(), before);
        f.Button7Click();
        f.Panel1->Edit7->setText(u(u"新银行"));
        QLineEdit* edit = f.Panel1->*c.edit;
        edit->setText(u(c.text)); // as a hand-edited file or a half-typed number leaves it
        m_messages.clear();
        f.Image3Click();
        if (*c.field == 0) {
            EXPECT_EQ(m_messages.texts(), QStringList{u(u"设置保存成功")});
            EXPECT_TRUE(settingsText().contains(u(u"新银行")));
            EXPECT_TRUE(
                settingsText().contains(u(u"用途下=") + u(c.text) + QStringLiteral("\r\n")));
            continue;
        }
        EXPECT_EQ(m_messages.texts(),
                  QStringList{u(c.field) + u(u" 的偏移应为 -100 到 100 之间的整数（现为“") +
                              u(c.text) + u(u"”），设置未保存")});
        EXPECT_EQ(testsupport::readFile(path()), before);
        EXPECT_TRUE(edit->hasFocus());
    }
}

// Clicks whatever the window shows at that point of a control, as a mouse would.
void clickAt(QWidget* control, QPoint point)
{
    QWidget* window = control->window();
    const QPoint inWindow = control->mapTo(window, point);
    QWidget* target = window->childAt(inWindow);
    ASSERT_TRUE(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(window, inWindow));
}

TEST_F(Form1Test, UpDownArrowsAndKeysStepWithinMinusAndPlusHundred)
{
    app::TForm1& f = open();
    f.Panel1->show();
    QLineEdit* edit = f.Panel1->Edit18;
    edit->setFocus();
    edit->setText(QStringLiteral("99"));
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), QStringLiteral("100"));
    edit->setText(QStringLiteral("-100"));
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), QStringLiteral("-100"));

    // The upper half of the 16 x 20 arrows steps up, the lower half down.
    struct Click
    {
        QPoint at;
        const char* before;
        const char* after;
    };
    const Click clicks[] = {
        {{8, 2}, "0", "1"},       {{8, 8}, "1", "2"},         {{8, 11}, "2", "1"},
        {{8, 18}, "1", "0"},      {{3, 5}, "99", "100"},      {{12, 5}, "100", "100"},
        {{3, 15}, "-99", "-100"}, {{12, 15}, "-100", "-100"},
    };
    for (platform::TUpDown* arrows : {f.Panel1->UpDown31, f.Panel1->UpDown15}) {
        for (const Click& c : clicks) {
            SCOPED_TRACE(c.at.y());
            arrows->associate()->setText(QString::fromLatin1(c.before));
            clickAt(arrows, c.at);
            EXPECT_EQ(arrows->associate()->text(), QString::fromLatin1(c.after));
        }
    }
}

TEST_F(Form1Test, PickListsGrowOnAddAndOnCloseWithoutDuplicates)
{
    writeSettings(u(u"[收款人]\r\nAcme Ltd=1\r\n"));
    app::TForm1& f = open();
    f.ComboBox1->setEditText(u(u"货款"));
    f.ComboBox2->setEditText(QStringLiteral("ACME LTD"));
    f.ComboBox3->setEditText(u(u"某某科技"));
    f.Button8Click();
    EXPECT_EQ(f.ComboBox1->count(), 0) << "the lists shown change only at the next start";
    f.ComboBox1->setEditText(u(u"差旅费"));
    f.ComboBox3->setEditText(u(u"未打印的简称"));
    f.close();

    EXPECT_EQ(settingsText(), u(u"[收款人]\r\nAcme Ltd=1\r\n[用途]\r\n货款=1\r\n差旅费=1\r\n"
                                u"[简称]\r\n某某科技=1\r\n"));
    const settings::TPickLists lists = settings::loadPickLists(path());
    EXPECT_EQ(lists.payees, QStringList{QStringLiteral("Acme Ltd")});
}

TEST_F(Form1Test, PastedLineBreaksAreCutAndAnEntryTheFileCannotHoldIsReportedOnce)
{
    app::TForm1& f = open();
    QApplication::clipboard()->setText(u(u"某某公司\r\n第二行"));
    f.ComboBox2->setFocus();
    f.ComboBox2->lineEdit()->paste();
    EXPECT_EQ(f.ComboBox2->currentText(), u(u"某某公司"));
    f.Panel1->Edit7->setText(u(u"某某银行\n"));
    EXPECT_EQ(f.Panel1->Edit7->text(), u(u"某某银行"));

    f.ComboBox1->setEditText(u(u"[张三]"));
    f.ComboBox3->setEditText(u(u"某某"));
    f.Button8Click();
    f.close();
    EXPECT_EQ(m_messages.texts(), QStringList{settings::pickEntryRefusedMessage(u(u"[张三]"))});
    EXPECT_TRUE(m_messages.texts().front().contains(u(u"[张三]")));
    EXPECT_EQ(settingsText(), u(u"[收款人]\r\n某某公司=1\r\n[简称]\r\n某某=1\r\n"));
}

TEST_F(Form1Test, EveryWayTheProgramEndsWritesThePurposeAndPayeeOnce)
{
    struct Way
    {
        const char* what;
        std::function<void(app::TForm1&)> end;
    };
    const Way ways[] = {
        {"closed", [](app::TForm1& f) { f.close(); }},
        {"destroyed without a close event", [](app::TForm1&) {}},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        QFile::remove(path());
        app::TForm1& f = open();
        f.ComboBox1->setEditText(u(u"货款"));
        f.ComboBox2->setEditText(u(u"某某公司"));
        way.end(f);
        m_form.reset();
        EXPECT_EQ(settingsText(), u(u"[用途]\r\n货款=1\r\n[收款人]\r\n某某公司=1\r\n"));
    }
}

TEST_F(Form1Test, APrintFormThatCannotBeCreatedIsReportedAndTheProgramEnds)
{
    const int result = app::runProgram(path(), []() -> std::unique_ptr<QWidget> {
        throw report::EReportError(QStringLiteral("The cheque layout has no component \"X\""));
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(m_messages.texts(),
              QStringList{QStringLiteral("The cheque layout has no component \"X\"")});
    EXPECT_EQ(m_messages.messages()[0].kind, platform::MessageKind::Error);
}

TEST_F(Form1Test, AFailedWriteReportsTheFullPathAndWritesNothingMore)
{
    app::TForm1& f = open();
    f.Button7Click();
    // A directory where the settings file must be: no write can succeed, even as root.
    ASSERT_TRUE(QDir().mkpath(path()));
    f.Panel1->Edit7->setText(QStringLiteral("bank"));
    EXPECT_FALSE(platform::guarded([&] { f.Image3Click(); }));
    EXPECT_EQ(m_messages.texts(),
              QStringList{QStringLiteral("Unable to write to ") + path() + QStringLiteral(".")});
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

TEST_F(Form1Test, TheLinkLabelOpensItsAddress)
{
    app::TForm1& f = open();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QTest::mouseClick(f.Label80, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl(app::TForm1::linkAddress())});
}

TEST_F(Form1Test, ThePanelFollowsTheMouseAndStaysInsideTheWindow)
{
    app::TForm1& f = open();
    f.Image4Click();
    settings::TCalibrationPanel* panel = f.Panel1;
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(25, 35), panel->mapToGlobal(QPointF(25, 35)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &move);
    EXPECT_EQ(panel->pos(), QPoint(60, 38));
    QMouseEvent far(QEvent::MouseMove, QPointF(-500, 900), panel->mapToGlobal(QPointF(-500, 900)),
                    Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &far);
    EXPECT_EQ(panel->pos(), QPoint(0, 535 - 401));
    QTest::mouseRelease(panel, Qt::LeftButton);
    const QPoint rest = panel->pos();
    QMouseEvent after(QEvent::MouseMove, QPointF(50, 50), panel->mapToGlobal(QPointF(50, 50)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &after);
    EXPECT_EQ(panel->pos(), rest) << "released: no more moving";

    // Presses on the panel's child controls, its two captions among them, start no move.
    for (QWidget* child :
         {static_cast<QWidget*>(panel->Label7), static_cast<QWidget*>(panel->Label6),
          static_cast<QWidget*>(panel->GroupBox2)}) {
        SCOPED_TRACE(child->metaObject()->className());
        const QPoint before = panel->pos();
        QTest::mousePress(child, Qt::LeftButton, {}, QPoint(3, 3));
        QMouseEvent drag(QEvent::MouseMove, QPointF(40, 40), panel->mapToGlobal(QPointF(40, 40)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(panel, &drag);
        QTest::mouseRelease(child, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(panel->pos(), before);
    }
}

} // namespace

#include "form1_test.moc"
