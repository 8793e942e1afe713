#include "settings/calibrationpanel.h"

#include "assets/assets.h"
#include "platform/controls.h"
#include "platform/fonts.h"
#include "platform/jpeg.h"
#include "settings/inifile.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QValidator>
#include <vector>

namespace settings {

namespace {

using P = TCalibrationPanel;

constexpr int kRowPitch = 32;
constexpr int kFirstRowTop = 23;
constexpr int kEditHeight = 20;
constexpr int kDownEditLeft = 259;
constexpr int kDownEditWidth = 38;
constexpr int kRightEditWidth = 30;

// Left edges of the row texts in a group: caption end, "向右", "mm", "向下", "mm".
struct RowGeometry
{
    int captionRight;
    int rightWord;
    int rightEditLeft;
    int firstMm;
    int downWord;
    int secondMm;
};
constexpr RowGeometry kStubGeometry{91, 100, 134, 183, 224, 315};
constexpr RowGeometry kBodyGeometry{103, 111, 147, 196, 222, 315};

QLineEdit* flatEdit(QWidget* parent, int left, int top, int width, const QString& name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(left, top, width, kEditHeight);
    platform::setFlatBorder(edit, QColor(0x7a, 0x7a, 0x7a));
    platform::applyEditRules(edit);
    return edit;
}

// Typing, pasting and dropping let in only what an offset can become: an optional minus and
// digits within the arrows' range. The empty text and a lone minus are steps on the way there.
class OffsetValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        if (input.isEmpty() || input == u"-")
            return Intermediate;
        return !input.startsWith(u'+') && offsetValue(input) ? Acceptable : Invalid;
    }
};

QImage buttonPicture(const char16_t* name)
{
    return assets::picture(QString::fromUtf16(name), platform::decodeJpeg);
}

struct StoredKey
{
    const char16_t* section;
    const char16_t* key;
    QLineEdit* P::*edit;
};

// The order in which a save writes the offsets and a reload reads them.
std::vector<StoredKey> offsetKeyOrder()
{
    std::vector<StoredKey> order;
    for (const TOffsetRow& row : P::offsetRows()) {
        if (row.group == TOffsetRow::Stub) {
            order.push_back({u"存根", row.rightKey, row.right});
            order.push_back({u"存根", row.downKey, row.down});
        }
    }
    for (const TOffsetRow& row : P::offsetRows()) {
        if (row.group == TOffsetRow::Body)
            order.push_back({u"支票", row.rightKey, row.right});
    }
    for (const TOffsetRow& row : P::offsetRows()) {
        if (row.group == TOffsetRow::Body)
            order.push_back({u"支票", row.downKey, row.down});
    }
    return order;
}

// The offset edits are found by name where the print layout reads them.
const std::pair<const char16_t*, QLineEdit * P::*> kOffsetEditNames[] = {
    {u"Edit34", &P::Edit34}, {u"Edit35", &P::Edit35}, {u"Edit37", &P::Edit37},
    {u"Edit36", &P::Edit36}, {u"Edit38", &P::Edit38}, {u"Edit39", &P::Edit39},
    {u"Edit41", &P::Edit41}, {u"Edit40", &P::Edit40}, {u"Edit42", &P::Edit42},
    {u"Edit43", &P::Edit43}, {u"Edit44", &P::Edit44}, {u"Edit45", &P::Edit45},
    {u"Edit1", &P::Edit1},   {u"Edit2", &P::Edit2},   {u"Edit5", &P::Edit5},
    {u"Edit4", &P::Edit4},   {u"Edit8", &P::Edit8},   {u"Edit9", &P::Edit9},
    {u"Edit11", &P::Edit11}, {u"Edit10", &P::Edit10}, {u"Edit12", &P::Edit12},
    {u"Edit13", &P::Edit13}, {u"Edit14", &P::Edit14}, {u"Edit15", &P::Edit15},
    {u"Edit16", &P::Edit16}, {u"Edit17", &P::Edit17}, {u"Edit18", &P::Edit18},
    {u"Edit19", &P::Edit19}, {u"Edit20", &P::Edit20}, {u"Edit21", &P::Edit21},
};

const QString kMainSection = QStringLiteral("支票打印");
const QString kBankKey = QStringLiteral("付款行名称");
const QString kAccountKey = QStringLiteral("出票人账户");

} // namespace

std::optional<int> offsetValue(QStringView text)
{
    qsizetype i = 0;
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        ++i;
    if (i == text.size())
        return std::nullopt;
    int value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > kOffsetLimit)
            return std::nullopt;
    }
    return negative ? -value : value;
}

const std::array<TOffsetRow, 15>& TCalibrationPanel::offsetRows()
{
    static const std::array<TOffsetRow, 15> rows{{
        {TOffsetRow::Stub, u"年 份：", &P::Edit34, &P::UpDown31, &P::Edit35, &P::UpDown32,
         u"年份右", u"年份下"},
        {TOffsetRow::Stub, u"月 份：", &P::Edit37, &P::UpDown34, &P::Edit36, &P::UpDown33,
         u"月份右", u"月份下"},
        {TOffsetRow::Stub, u"日 期：", &P::Edit38, &P::UpDown35, &P::Edit39, &P::UpDown36,
         u"日期右", u"日期下"},
        {TOffsetRow::Stub, u"收款人：", &P::Edit41, &P::UpDown38, &P::Edit40, &P::UpDown37,
         u"收款人右", u"收款人下"},
        {TOffsetRow::Stub, u"金 额：", &P::Edit42, &P::UpDown39, &P::Edit43, &P::UpDown40,
         u"金额右", u"金额下"},
        {TOffsetRow::Stub, u"用 途：", &P::Edit44, &P::UpDown41, &P::Edit45, &P::UpDown42,
         u"用途右", u"用途下"},
        {TOffsetRow::Body, u"年 份：", &P::Edit1, &P::UpDown1, &P::Edit2, &P::UpDown2, u"年份右",
         u"年份下"},
        {TOffsetRow::Body, u"月 份：", &P::Edit5, &P::UpDown4, &P::Edit4, &P::UpDown3, u"月份右",
         u"月份下"},
        {TOffsetRow::Body, u"日 期：", &P::Edit8, &P::UpDown5, &P::Edit9, &P::UpDown6, u"日期右",
         u"日期下"},
        {TOffsetRow::Body, u"付款行名称：", &P::Edit11, &P::UpDown8, &P::Edit10, &P::UpDown7,
         u"付款行名称右", u"付款行名称下"},
        {TOffsetRow::Body, u"出票人账号：", &P::Edit12, &P::UpDown9, &P::Edit13, &P::UpDown10,
         u"出票人账号右", u"出票人账号下"},
        {TOffsetRow::Body, u"收款人：", &P::Edit14, &P::UpDown11, &P::Edit15, &P::UpDown12,
         u"收款人右", u"收款人下"},
        {TOffsetRow::Body, u"人民币大写：", &P::Edit16, &P::UpDown13, &P::Edit17, &P::UpDown14,
         u"人民币大写右", u"人民币大写下"},
        {TOffsetRow::Body, u"金额小写：", &P::Edit18, &P::UpDown15, &P::Edit19, &P::UpDown16,
         u"金额小写右", u"金额小写下"},
        {TOffsetRow::Body, u"用 途：", &P::Edit20, &P::UpDown17, &P::Edit21, &P::UpDown18,
         u"用途右", u"用途下"},
    }};
    return rows;
}

QLabel* TCalibrationPanel::textLabel(QWidget* parent, const QString& text, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    // Every text label takes the panel's font.
    const auto known = m_textSizes.constFind(text);
    if (known != m_textSizes.cend()) {
        label->resize(*known);
    } else {
        label->adjustSize();
        m_textSizes.insert(text, label->size());
    }
    label->move(left, top);
    return label;
}

QString TCalibrationPanel::sectionOf(TOffsetRow::Group group)
{
    return group == TOffsetRow::Stub ? QStringLiteral("存根") : QStringLiteral("支票");
}

TCalibrationPanel::TCalibrationPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel1"));
    setGeometry(40, 8, 761, 401);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    setCursor(Qt::SizeAllCursor);
    setFont(platform::songti(14));

    Label7 = textLabel(this, QStringLiteral("付款行名称："), 23, 27);
    Edit7 = flatEdit(this, 107, 24, 134, QStringLiteral("Edit7"));
    Label6 = textLabel(this, QStringLiteral("出票人账号："), 23, 61);
    Edit6 = flatEdit(this, 107, 58, 134, QStringLiteral("Edit6"));
    for (QWidget* w : {static_cast<QWidget*>(Label7), static_cast<QWidget*>(Label6)})
        w->setCursor(Qt::ArrowCursor);

    Button4 = new QPushButton(QStringLiteral("皮肤1"), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setGeometry(280, 21, 75, 25);
    Button6 = new QPushButton(QStringLiteral("皮肤2"), this);
    Button6->setObjectName(QStringLiteral("Button6"));
    Button6->setGeometry(280, 57, 75, 25);

    GroupBox2 = new QGroupBox(QStringLiteral("存根位置"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(16, 112, 353, 225);
    GroupBox3 = new QGroupBox(QStringLiteral("支票位置"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(384, 16, 353, 321);
    for (QGroupBox* g : {GroupBox2, GroupBox3})
        g->setCursor(Qt::ArrowCursor);
    buildRows(GroupBox2, TOffsetRow::Stub);
    buildRows(GroupBox3, TOffsetRow::Body);
    for (const auto& [name, edit] : kOffsetEditNames)
        (this->*edit)->setObjectName(QString::fromUtf16(name));

    Image3 = new platform::TImage(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setStretch(true);
    Image3->setGeometry(295, 352, 130, 36);
    Image3->setPicture(buttonPicture(u"button_save.jpg"));
    Image5 = new platform::TImage(this);
    Image5->setObjectName(QStringLiteral("Image5"));
    Image5->setStretch(true);
    Image5->setGeometry(447, 352, 130, 36);
    Image5->setPicture(buttonPicture(u"button_close.jpg"));
    for (QWidget* w : {static_cast<QWidget*>(Image3), static_cast<QWidget*>(Image5)})
        w->setCursor(Qt::ArrowCursor);

    hide();
}

void TCalibrationPanel::buildRows(QGroupBox* group, TOffsetRow::Group which)
{
    const RowGeometry& g = which == TOffsetRow::Stub ? kStubGeometry : kBodyGeometry;
    int top = kFirstRowTop;
    for (const TOffsetRow& row : offsetRows()) {
        if (row.group != which)
            continue;
        const int textTop = top + 3;
        QLabel* caption = textLabel(group, QString::fromUtf16(row.caption), 0, textTop);
        caption->move(g.captionRight - caption->width(), textTop);
        textLabel(group, QStringLiteral("向右"), g.rightWord, textTop);
        textLabel(group, QStringLiteral("mm"), g.firstMm, textTop);
        textLabel(group, QStringLiteral("向下"), g.downWord, textTop);
        textLabel(group, QStringLiteral("mm"), g.secondMm, textTop);

        const auto makeOffset = [&](QLineEdit* P::*edit, platform::TUpDown* P::*upDown, int left,
                                    int width) {
            QLineEdit* e = flatEdit(group, left, top, width, QString());
            // In place of the line-break rule: an offset has no second line to cut.
            delete e->validator();
            e->setValidator(new OffsetValidator(e));
            e->setText(QStringLiteral("0"));
            auto* arrows = new platform::TUpDown(group);
            arrows->setGeometry(left + width, top, 16, kEditHeight);
            arrows->setRange(-kOffsetLimit, kOffsetLimit);
            arrows->setAssociate(e);
            this->*edit = e;
            this->*upDown = arrows;
        };
        makeOffset(row.right, row.rightUpDown, g.rightEditLeft, kRightEditWidth);
        makeOffset(row.down, row.downUpDown, kDownEditLeft, kDownEditWidth);
        top += kRowPitch;
    }
}

void TCalibrationPanel::saveTo(TIniFile& ini) const
{
    ini.WriteString(kMainSection, kBankKey, Edit7->text());
    ini.WriteString(kMainSection, kAccountKey, Edit6->text());
    for (const StoredKey& k : offsetKeyOrder())
        ini.WriteString(QString::fromUtf16(k.section), QString::fromUtf16(k.key),
                        (this->*k.edit)->text());
}

void TCalibrationPanel::reloadFrom(const TIniFile& ini)
{
    Edit7->setText(ini.ReadString(kMainSection, kBankKey, QString()));
    Edit6->setText(ini.ReadString(kMainSection, kAccountKey, QString()));
    // A key never saved means no shift for its field alone; the others keep what they hold.
    for (const StoredKey& k : offsetKeyOrder())
        (this->*k.edit)
            ->setText(ini.ReadString(QString::fromUtf16(k.section), QString::fromUtf16(k.key),
                                     QStringLiteral("0")));
}

QLineEdit* TCalibrationPanel::firstInvalidOffset() const
{
    for (const TOffsetRow& row : offsetRows()) {
        for (QLineEdit* edit : {this->*row.right, this->*row.down}) {
            if (!offsetValue(edit->text()))
                return edit;
        }
    }
    return nullptr;
}

QString TCalibrationPanel::fieldName(const QLineEdit* offsetEdit) const
{
    for (const TOffsetRow& row : offsetRows()) {
        if (offsetEdit != this->*row.right && offsetEdit != this->*row.down)
            continue;
        // The row caption without its spacing and colon: "用 途：" is 用途.
        QString caption = QString::fromUtf16(row.caption);
        caption.remove(u' ').remove(u'：');
        const QString direction =
            offsetEdit == this->*row.right ? QStringLiteral("右") : QStringLiteral("下");
        return sectionOf(row.group) + u' ' + caption + u' ' + direction;
    }
    return QString();
}

QString TCalibrationPanel::invalidOffsetMessage(const QLineEdit* offsetEdit) const
{
    return QStringLiteral("%1 的偏移应为 %2 到 %3 之间的整数（现为“%4”），设置未保存")
        .arg(fieldName(offsetEdit))
        .arg(-kOffsetLimit)
        .arg(kOffsetLimit)
        .arg(offsetEdit->text());
}

void TCalibrationPanel::mousePressEvent(QMouseEvent* event)
{
    // Captions and group boxes pass their presses on; only the panel's own background drags.
    if (event->button() != Qt::LeftButton || childAt(event->position().toPoint())) {
        QFrame::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_grabOffset = event->position().toPoint();
}

void TCalibrationPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !parentWidget())
        return;
    const QPoint inParent = mapToParent(event->position().toPoint()) - m_grabOffset;
    const QRect area = parentWidget()->rect();
    const int x = std::clamp(inParent.x(), 0, std::max(0, area.width() - width()));
    const int y = std::clamp(inParent.y(), 0, std::max(0, area.height() - height()));
    move(x, y);
}

void TCalibrationPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    QFrame::mouseReleaseEvent(event);
}

} // namespace settings
