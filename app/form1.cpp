#include "app/form1.h"

#include "app/amounttext.h"
#include "assets/assets.h"
#include "dateedit/dbdatetimeedit.h"
#include "platform/controls.h"
#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/gbk.h"
#include "platform/jpeg.h"
#include "platform/messages.h"
#include "printlayout/form2.h"
#include "report/report.h"
#include "report/reportrequests.h"
#include "settings/calibrationpanel.h"
#include "settings/inifile.h"
#include "settings/picklists.h"
#include "skins/skindata.h"
#include "skins/skinstore.h"
#include "wording/capitals.h"
#include "wording/digitgrid.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDropEvent>
#include <QFrame>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace app {

namespace {

using platform::songti;

const QString kBuiltInSkin = QStringLiteral("skin_builtin.skin");

QLabel* label(QWidget* parent, const QString& name, int left, int top, const QFont& font,
              const QString& caption = QString())
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setFont(font);
    l->move(left, top);
    // An empty label shows nothing and takes its size with its first text; measuring it now
    // would load its font before the window first shows.
    if (caption.isEmpty())
        l->resize(0, 0);
    else
        l->adjustSize();
    return l;
}

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// Captions change only when the text does: the refresh runs twice a second.
void setCaption(QLabel* label, const QString& text)
{
    if (label->text() == text)
        return;
    label->setText(text);
    label->adjustSize();
}

const QString kFlatStyle = QStringLiteral("border: 1px solid #7a7a7a; background: white;");

QComboBox* dropDown(QWidget* parent, const QString& name, int left, int top, int width)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    // The list changes only by loading; Enter must not add the typed text.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setGeometry(left, top, width, 22);
    box->setStyleSheet(QStringLiteral("QComboBox { ") + kFlatStyle + QStringLiteral(" }"));
    platform::applyEditRules(box->lineEdit());
    return box;
}

QImage decodePng(const QByteArray& bytes)
{
    return QImage::fromData(bytes, "PNG");
}

platform::TImage* pictureButton(QWidget* parent, const QString& name, int left, int top,
                                const char16_t* asset)
{
    auto* image = new platform::TImage(parent);
    image->setObjectName(name);
    image->setStretch(true);
    image->setGeometry(left, top, 130, 36);
    image->setPicture(assets::picture(QString::fromUtf16(asset), platform::decodeJpeg));
    image->setCursor(Qt::PointingHandCursor);
    return image;
}

QPushButton* hiddenButton(QWidget* parent, const QString& name)
{
    auto* b = new QPushButton(name, parent);
    b->setObjectName(name);
    b->hide();
    return b;
}

} // namespace

void readWindowAssetsAhead()
{
    // The window's icon is wanted first; the calibration panel's buttons too: the panel is
    // built with the window.
    assets::decodeAhead({{QStringLiteral("quillmark.png"), decodePng},
                         {QStringLiteral("cheque.png"), decodePng},
                         {QStringLiteral("button_print.jpg"), platform::decodeJpeg},
                         {QStringLiteral("button_settings.jpg"), platform::decodeJpeg},
                         {QStringLiteral("button_save.jpg"), platform::decodeJpeg},
                         {QStringLiteral("button_close.jpg"), platform::decodeJpeg}});
    skins::readSkinAhead(assets::load(kBuiltInSkin));
}

TForm1::TForm1(const QString& settingsPath, QWidget* parent)
    : QWidget(parent), m_settingsPath(settingsPath)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(874, 535);
    setFont(platform::defaultWindowFont());
    setWindowIcon(
        QIcon(QPixmap::fromImage(assets::picture(QStringLiteral("quillmark.png"), decodePng))));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    createControls();
    connectHandlers();
    FormCreate();
    Timer1->start();
    Edit3->setFocus();
}

TForm1::~TForm1()
{
    // Quitting or the session ending destroys the window without a close event; the pick
    // lists are written all the same, once.
    platform::guarded([this] { FormDestroy(); });
    // The children die after this object; their focus changes must not reach it.
    disconnect(qApp, nullptr, this, nullptr);
    Edit3->removeEventFilter(this);
    for (QComboBox* box : {ComboBox1, ComboBox2, ComboBox3})
        box->removeEventFilter(this);
    Label80->removeEventFilter(this);
}

QString TForm1::linkText()
{
    return QStringLiteral("访问 Quillmark 官方主页");
}

QString TForm1::linkAddress()
{
    return QStringLiteral("https://quillmark.example.org/");
}

QString TForm1::supportNumber()
{
    return QStringLiteral("20152015");
}

void TForm1::createControls()
{
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(10, 8, 858, 313);
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setLineWidth(1);
    QPalette shapeColours = Shape1->palette();
    shapeColours.setColor(QPalette::Window, Qt::white);
    shapeColours.setColor(QPalette::WindowText, Qt::black);
    Shape1->setPalette(shapeColours);
    Shape1->setAutoFillBackground(true);

    Image1 = new platform::TImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAutoSize(true);
    Image1->move(14, 15);

    createMockupLabels();

    Label80 = label(this, QStringLiteral("Label80"), 664, 296, songti(13));
    setTextColour(Label80, Qt::blue);
    Label80->setCursor(Qt::PointingHandCursor);
    Label80->installEventFilter(this);

    Label78 = label(this, QStringLiteral("Label78"), 352, 24, songti(14, true),
                    QStringLiteral("* 适合各个银行(不仅建行)支票打印 *"));
    setTextColour(Label78, Qt::blue);

    createInputGroup();

    StatusBar1 = new platform::TStatusBar({550, 50}, this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(0, 506, 874, 29);

    Panel1 = new settings::TCalibrationPanel(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);

    // The skins stored with the window; skinning starts when the program calls Loaded().
    SkinData1 = new skins::TSkinData(this);
    SkinData1->setObjectName(QStringLiteral("SkinData1"));
    SkinData1->setSkinStream(assets::load(kBuiltInSkin));
    SkinData1->setActive(true);
    SkinStore1 = new skins::TSkinStore(this);
    SkinStore1->setObjectName(QStringLiteral("SkinStore1"));
    for (const QString& item :
         {QStringLiteral("skin_item0.skin"), QStringLiteral("skin_item1.skin")})
        SkinStore1->Store.Add().DataStream = assets::load(item);

    // Last, so the picture decoded ahead has had the time the controls took.
    Image1->setPicture(assets::picture(QStringLiteral("cheque.png"), decodePng));
    if (Image1->picture().isNull())
        Image1->resize(850, 301);
}

void TForm1::createMockupLabels()
{
    const QFont f12 = songti(12);
    const QFont wf = platform::defaultWindowFont();
    Label13 = label(this, QStringLiteral("Label13"), 109, 195, wf);
    Label14 = label(this, QStringLiteral("Label14"), 150, 195, wf);
    Label19 = label(this, QStringLiteral("Label19"), 185, 195, wf);
    Label15 = label(this, QStringLiteral("Label15"), 105, 214, f12);
    Label16 = label(this, QStringLiteral("Label16"), 105, 234, f12);
    Label17 = label(this, QStringLiteral("Label17"), 105, 254, f12);
    Label8 = label(this, QStringLiteral("Label8"), 368, 77, f12);
    Label9 = label(this, QStringLiteral("Label9"), 447, 78, f12);
    Label10 = label(this, QStringLiteral("Label10"), 507, 78, f12);
    Label2 = label(this, QStringLiteral("Label2"), 672, 77, f12);
    Label5 = label(this, QStringLiteral("Label5"), 672, 95, f12);
    Label11 = label(this, QStringLiteral("Label11"), 312, 96, f12);
    Label12 = label(this, QStringLiteral("Label12"), 328, 125, songti(16, true));
    const int gridLefts[11] = {654, 669, 684, 699, 714, 729, 743, 758, 773, 787, 802};
    QLabel** grid[11] = {&Label21, &Label22, &Label23, &Label24, &Label25, &Label26,
                         &Label27, &Label28, &Label29, &Label30, &Label31};
    const QFont f14b = songti(14, true);
    for (int i = 0; i < 11; ++i)
        *grid[i] = label(this, QStringLiteral("Label%1").arg(21 + i), gridLefts[i], 135, f14b);
    Label18 = label(this, QStringLiteral("Label18"), 296, 164, f12);
}

void TForm1::createInputGroup()
{
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(10, 328, 858, 169);
    GroupBox1->setFont(songti(14));

    const QFont f = songti(14);
    Label36 = label(GroupBox1, QStringLiteral("Label36"), 31, 28, f, QStringLiteral("开票日期："));
    DBDateTimeEdit1 = new dateedit::TDBDateTimeEdit(GroupBox1);
    DBDateTimeEdit1->setObjectName(QStringLiteral("DBDateTimeEdit1"));
    DBDateTimeEdit1->setGeometry(104, 24, 121, 22);
    Label1 = label(GroupBox1, QStringLiteral("Label1"), 45, 61, f, QStringLiteral("收款人："));
    ComboBox2 = dropDown(GroupBox1, QStringLiteral("ComboBox2"), 104, 57, 229);
    Label20 = label(GroupBox1, QStringLiteral("Label20"), 352, 61, f, QStringLiteral("简称："));
    ComboBox3 = dropDown(GroupBox1, QStringLiteral("ComboBox3"), 392, 57, 137);
    Label3 = label(GroupBox1, QStringLiteral("Label3"), 52, 94, f, QStringLiteral("金 额："));
    Edit3 = new QLineEdit(GroupBox1);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setGeometry(104, 91, 137, 20);
    platform::setFlatBorder(Edit3, QColor(0x7a, 0x7a, 0x7a));
    Edit3->setAttribute(Qt::WA_InputMethodEnabled, false);
    platform::applyEditRules(Edit3);
    Label4 = label(GroupBox1, QStringLiteral("Label4"), 52, 127, f, QStringLiteral("用 途："));
    ComboBox1 = dropDown(GroupBox1, QStringLiteral("ComboBox1"), 104, 123, 137);
    Image2 = pictureButton(GroupBox1, QStringLiteral("Image2"), 328, 104, u"button_print.jpg");
    Image4 = pictureButton(GroupBox1, QStringLiteral("Image4"), 480, 104, u"button_settings.jpg");

    Button1 = hiddenButton(GroupBox1, QStringLiteral("Button1"));
    Button2 = hiddenButton(GroupBox1, QStringLiteral("Button2"));
    Button3 = hiddenButton(GroupBox1, QStringLiteral("Button3"));
    Button5 = hiddenButton(GroupBox1, QStringLiteral("Button5"));
    Button7 = hiddenButton(GroupBox1, QStringLiteral("Button7"));
    Button8 = hiddenButton(GroupBox1, QStringLiteral("Button8"));

    // Tab order: amount, purpose, payee, issue date, short name; the hidden buttons between
    // them never take the focus.
    QWidget* chain[] = {Edit3,   Button1,         ComboBox1, Button2, Button3, ComboBox2,
                        Button5, DBDateTimeEdit1, ComboBox3, Button7, Button8};
    for (std::size_t i = 0; i + 1 < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
}

void TForm1::connectHandlers()
{
    // Each handler runs inside the default error report guard.
    const auto on = [this](void (TForm1::*handler)()) {
        return [this, handler] { platform::guarded([this, handler] { (this->*handler)(); }); };
    };
    connect(Timer1, &QTimer::timeout, this, on(&TForm1::Timer1Timer));
    connect(Button1, &QPushButton::clicked, this, on(&TForm1::Button1Click));
    connect(Button2, &QPushButton::clicked, this, on(&TForm1::Button2Click));
    connect(Button3, &QPushButton::clicked, this, on(&TForm1::Button3Click));
    connect(Button5, &QPushButton::clicked, this, on(&TForm1::Button5Click));
    connect(Button7, &QPushButton::clicked, this, on(&TForm1::Button7Click));
    connect(Button8, &QPushButton::clicked, this, on(&TForm1::Button8Click));
    connect(Image2, &platform::TImage::clicked, this, on(&TForm1::Image2Click));
    connect(Image4, &platform::TImage::clicked, this, on(&TForm1::Image4Click));
    connect(Panel1->Image3, &platform::TImage::clicked, this, on(&TForm1::Image3Click));
    connect(Panel1->Image5, &platform::TImage::clicked, this, on(&TForm1::Image5Click));
    connect(Panel1->Button4, &QPushButton::clicked, this, on(&TForm1::Button4Click));
    connect(Panel1->Button6, &QPushButton::clicked, this, on(&TForm1::Button6Click));
    connect(qApp, &QApplication::focusChanged, this, &TForm1::onFocusChanged);

    Edit3->installEventFilter(this);
    for (QComboBox* box : {ComboBox1, ComboBox2, ComboBox3})
        box->installEventFilter(this);
}

void TForm1::FormCreate()
{
    m_ini = std::make_unique<settings::TIniFile>(m_settingsPath);
    Panel1->Edit7->setText(
        m_ini->ReadString(QStringLiteral("支票打印"), QStringLiteral("付款行名称"), QString()));
    Panel1->Edit6->setText(
        m_ini->ReadString(QStringLiteral("支票打印"), QStringLiteral("出票人账户"), QString()));
    const QDateTime now = platform::currentDateTime();
    DBDateTimeEdit1->setValue(static_cast<double>(QDate(1899, 12, 30).daysTo(now.date())) +
                              now.time().msecsSinceStartOfDay() / 86400000.0);
    Button3Click();
    Label80->setText(linkText());
    Label80->adjustSize();
    StatusBar1->setPanelText(0, QStringLiteral("  打造最简洁、直观、易用的绿色软件"));
    StatusBar1->setPanelText(1, QStringLiteral("  技术问题请联系   QQ:") + supportNumber());
    setWindowTitle(
        QStringLiteral("Quillmark V2015版         完全免费、随身携带的绿色支票打印软件"));
}

void TForm1::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    if (m_ini) {
        addPickEntries({{settings::purposeSection(), ComboBox1->currentText()},
                        {settings::payeeSection(), ComboBox2->currentText()}});
    }
    m_ini.reset();
}

void TForm1::Timer1Timer()
{
    try {
        Button1Click();
        Button2Click();
        Button5Click();
    } catch (const platform::EError& e) {
        const QString message = e.message();
        reportOnce(m_refreshFailureReported, [&] { platform::showErrorReport(message); });
        return;
    }
    m_refreshFailureReported = false;
}

void TForm1::reportOnce(bool& reported, const std::function<void()>& show)
{
    if (reported)
        return;
    // Set before showing: the message box's own loop delivers further ticks.
    reported = true;
    show();
}

QDate TForm1::issueDate() const
{
    const QVariant value = DBDateTimeEdit1->Value();
    if (value.isNull())
        throw platform::EVariantError(
            platform::formatMessage(QStringLiteral("Could not convert variant of type (%s) into "
                                                   "type (%s)"),
                                    {QStringLiteral("Null"), QStringLiteral("Double")}));
    return QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(value.toDouble())));
}

void TForm1::Button1Click()
{
    setCaption(Label13, QString::number(issueDate().year()));
    setCaption(Label14, QString::number(issueDate().month()));
    setCaption(Label19, QString::number(issueDate().day()));
    setCaption(Label11, ComboBox2->currentText());
    setCaption(Label17, ComboBox1->currentText());
    setCaption(Label16, QStringLiteral("￥") + Edit3->text());
    setCaption(Label18, ComboBox1->currentText());
    setCaption(Label2, Panel1->Edit7->text());
    setCaption(Label5, Panel1->Edit6->text());
    setCaption(Label15, ComboBox3->currentText());

    const wording::AmountCapitals capitals =
        wording::AmountInCapitals(platform::toGbk(Edit3->text()));
    if (capitals.offendingByte >= 0) {
        reportOnce(m_amountReported, [&] {
            platform::showMessage(QString::number(capitals.offendingByte));
            platform::showMessage(QStringLiteral("读取错误，应为数字"));
        });
    } else if (capitals.tooLarge) {
        reportOnce(m_amountReported,
                   [] { platform::showMessage(wording::kAmountTooLargeMessage); });
    } else {
        m_amountReported = false;
    }
    setCaption(Label12, capitals.text);
    setCaption(Label8, wording::YearInCapitals(Label13->text()));
}

void TForm1::Button2Click()
{
    if (const auto month = wording::MonthInCapitals(Label14->text()))
        setCaption(Label9, *month);
    if (const auto day = wording::DayInCapitals(Label19->text()))
        setCaption(Label10, *day);
}

void TForm1::Button5Click()
{
    const auto cells = wording::AmountDigitGrid(Label16->text());
    const auto grid = gridCells();
    for (std::size_t i = 0; i < cells.size(); ++i)
        setCaption(grid[i], cells[i]);
}

std::array<QLabel*, wording::kDigitGridCells> TForm1::gridCells() const
{
    return {Label21, Label22, Label23, Label24, Label25, Label26,
            Label27, Label28, Label29, Label30, Label31};
}

void TForm1::Button3Click()
{
    const settings::TPickLists lists = settings::loadPickLists(m_settingsPath);
    const auto replace = [](QComboBox* box, const QStringList& items) {
        const QString text = box->currentText();
        box->clear();
        box->addItems(items);
        box->setEditText(text);
    };
    replace(ComboBox1, lists.purposes);
    replace(ComboBox2, lists.payees);
    replace(ComboBox3, lists.shortNames);
}

void TForm1::Button7Click()
{
    m_ini = std::make_unique<settings::TIniFile>(m_settingsPath);
    Panel1->reloadFrom(*m_ini);
}

void TForm1::Button8Click()
{
    addPickEntries({{settings::purposeSection(), ComboBox1->currentText()},
                    {settings::payeeSection(), ComboBox2->currentText()},
                    {settings::shortNameSection(), ComboBox3->currentText()}});
}

void TForm1::addPickEntries(std::initializer_list<std::pair<QString, QString>> entries)
{
    QStringList refused;
    for (const auto& [section, text] : entries) {
        if (!settings::addPickEntry(*m_ini, section, text) && !m_refusedEntries.contains(text))
            refused << text;
    }
    // Told after the other entries are written, and once a run for each text.
    for (const QString& text : refused) {
        m_refusedEntries << text;
        platform::showMessage(settings::pickEntryRefusedMessage(text));
    }
}

void TForm1::Edit3Exit()
{
    formatAmountField();
    Button7Click();
}

void TForm1::formatAmountField()
{
    if (!Edit3->text().isEmpty())
        Edit3->setText(formatAmount(Edit3->text()));
}

void TForm1::Image2Click()
{
    if (!m_printForm)
        throw platform::EError(QStringLiteral("The print form is not loaded"));
    // The click may come straight from the amount field, which keeps the focus: the amount
    // takes the form leaving the field gives it (without the reload of the offsets) and the
    // mock-up is brought up to date, so the capitals, the boxes and the stub say one amount.
    formatAmountField();
    if (!wording::AmountFitsDigitGrid(platform::toGbk(Edit3->text()))) {
        platform::showMessage(
            QStringLiteral("金额 %1 超出小写金额栏的位数，无法打印；小写金额栏最大可填 %2")
                .arg(Edit3->text(), wording::LargestDigitGridAmount()));
        return;
    }
    Button1Click();
    Button2Click();
    Button5Click();
    // The pick lists only remember texts: a settings file that cannot be written must not
    // keep a cheque from being printed.
    try {
        Button8Click();
    } catch (const platform::EInOutError& e) {
        platform::showErrorReport(e.message());
    }
    QLineEdit* offsetEdit = nullptr;
    try {
        m_printForm->positionLabels([this, &offsetEdit](const QString& name) {
            offsetEdit = Panel1->findChild<QLineEdit*>(name);
            if (!offsetEdit)
                throw platform::EError(QStringLiteral("No offset edit ") + name);
            return offsetEdit->text();
        });
    } catch (const platform::EConvertError&) {
        // The message names the text; the focus shows the box that holds it.
        Panel1->show();
        offsetEdit->setFocus(Qt::OtherFocusReason);
        offsetEdit->selectAll();
        throw;
    }
    // An amount left blank is for the pen: no currency signs in its boxes.
    const bool blankAmount = Edit3->text().isEmpty();
    const auto grid = gridCells();
    m_printForm->copyCaptions([&](const QString& name) {
        const auto* label = findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
        if (!label)
            throw platform::EError(QStringLiteral("No mock-up label ") + name);
        if (blankAmount && std::find(grid.begin(), grid.end(), label) != grid.end())
            return QString();
        return label->text();
    });
    // Returns when the preview window has been closed; printing happens from there.
    report::TReportRequests::of(*m_printForm->ChequeReport).Preview();
}

void TForm1::Image3Click()
{
    // Nothing is saved while one box holds what no print can use.
    if (QLineEdit* invalid = Panel1->firstInvalidOffset()) {
        platform::showMessage(Panel1->invalidOffsetMessage(invalid));
        invalid->setFocus(Qt::OtherFocusReason);
        invalid->selectAll();
        return;
    }
    Panel1->saveTo(*m_ini);
    platform::showMessage(QStringLiteral("设置保存成功"));
}

void TForm1::Image4Click()
{
    Button7Click();
    Panel1->setVisible(!Panel1->isVisible());
}

void TForm1::Image5Click()
{
    Panel1->hide();
}

void TForm1::Button4Click()
{
    SkinData1->LoadSkinItem(SkinStore1, 0);
}

void TForm1::Button6Click()
{
    SkinData1->LoadSkinItem(SkinStore1, 1);
}

void TForm1::Label80Click()
{
    QDesktopServices::openUrl(QUrl(linkAddress()));
}

namespace {

bool amountCharacter(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'.';
}

QString amountCharacters(const QString& text)
{
    QString kept;
    for (QChar c : text) {
        if (amountCharacter(c))
            kept += c;
    }
    return kept;
}

} // namespace

bool TForm1::Edit3KeyPress(QChar key)
{
    const bool passes = amountCharacter(key) || key == u'\b' || key == u'\r';
    if (key == u'\r')
        ComboBox1->setFocus(Qt::OtherFocusReason);
    return passes;
}

void TForm1::ComboBox1KeyPress(QChar key)
{
    if (key == u'\r')
        ComboBox2->setFocus(Qt::OtherFocusReason);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Select all edits like the arrows do; the clipboard's shortcuts stay discarded.
        if (watched == Edit3 && key->matches(QKeySequence::SelectAll))
            return false;
        // Keys without a character (arrows, Home/End, Tab handled by the dialog) reach the
        // control untouched, as they never produced a typed character. Delete carries the
        // character 127 on X11, yet it edits like the arrows do.
        const QString text = key->text();
        const bool editingKey = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
                                key->key() == Qt::Key_Delete;
        if (!text.isEmpty() && !editingKey) {
            const QChar c = key->key() == Qt::Key_Enter ? QChar(u'\r') : text.front();
            if (watched == Edit3) {
                bool pass = true;
                platform::guarded([&] { pass = Edit3KeyPress(c); });
                return !pass || c == u'\r';
            }
            if (watched == ComboBox1 || watched == ComboBox2 || watched == ComboBox3) {
                platform::guarded([&] { ComboBox1KeyPress(c); });
                return c == u'\r';
            }
        }
    }
    if (watched == Edit3 && filterAmountText(event))
        return true;
    if (watched == Label80 && event->type() == QEvent::MouseButtonRelease) {
        platform::guarded([this] { Label80Click(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::forward(QEvent* event)
{
    m_forwarding = true;
    QApplication::sendEvent(Edit3, event);
    m_forwarding = false;
}

bool TForm1::filterAmountText(QEvent* event)
{
    switch (event->type()) {
    case QEvent::InputMethodQuery: {
        // The input method stays off here: its commits would bypass the key filter.
        if (m_forwarding)
            return false;
        auto* query = static_cast<QInputMethodQueryEvent*>(event);
        forward(query);
        if (query->queries() & Qt::ImEnabled)
            query->setValue(Qt::ImEnabled, false);
        return true;
    }
    case QEvent::InputMethod: {
        const auto* input = static_cast<QInputMethodEvent*>(event);
        const QString kept = amountCharacters(input->commitString());
        if (!kept.isEmpty())
            Edit3->insert(kept);
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!drag->mimeData()->hasText() || amountCharacters(drag->mimeData()->text()).isEmpty()) {
            drag->ignore();
            return true;
        }
        return false;
    }
    case QEvent::Drop: {
        // Dropped text is judged like typed text; the field inserts what passes.
        if (m_forwarding)
            return false;
        auto* drop = static_cast<QDropEvent*>(event);
        QMimeData kept;
        kept.setText(amountCharacters(drop->mimeData()->text()));
        QDropEvent filtered(drop->position(), drop->possibleActions(), &kept, drop->buttons(),
                            drop->modifiers());
        filtered.setDropAction(drop->proposedAction());
        forward(&filtered);
        drop->setDropAction(filtered.dropAction());
        drop->setAccepted(filtered.isAccepted());
        return true;
    }
    default:
        return false;
    }
}

void TForm1::onFocusChanged(QWidget* old, QWidget* now)
{
    // Leaving the amount field for another control of this window, not for another window.
    if (old == Edit3 && now && now->window() == this)
        platform::guarded([this] { Edit3Exit(); });
}

void TForm1::closeEvent(QCloseEvent* event)
{
    platform::guarded([this] { FormDestroy(); });
    event->accept();
}

} // namespace app
