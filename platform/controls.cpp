#include "platform/controls.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QValidator>
#include <algorithm>

namespace platform {

TImage::TImage(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void TImage::setPicture(const QImage& picture)
{
    m_picture = picture;
    if (m_autoSize && !m_picture.isNull())
        resize(m_picture.size());
    update();
}

void TImage::setStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

void TImage::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (m_autoSize && !m_picture.isNull())
        resize(m_picture.size());
}

void TImage::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_stretch);
    if (m_stretch)
        painter.drawImage(rect(), m_picture);
    else
        painter.drawImage(QPoint(0, 0), m_picture);
}

void TImage::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void TImage::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    if (wasPressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        emit clicked();
}

TUpDown::TUpDown(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    m_up = new QToolButton(this);
    m_down = new QToolButton(this);
    for (QToolButton* b : {m_up, m_down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
    resize(16, 20);
}

void TUpDown::setAssociate(QLineEdit* edit)
{
    if (m_associate)
        m_associate->removeEventFilter(this);
    m_associate = edit;
    if (m_associate)
        m_associate->installEventFilter(this);
}

void TUpDown::setRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = maximum;
    m_position = std::clamp(m_position, m_min, m_max);
}

void TUpDown::step(int direction)
{
    // The edit's text is the truth when it holds a number; otherwise the last position is.
    if (m_associate) {
        bool ok = false;
        const int typed = m_associate->text().trimmed().toInt(&ok);
        if (ok)
            m_position = std::clamp(typed, m_min, m_max);
    }
    m_position = std::clamp(m_position + direction, m_min, m_max);
    if (m_associate)
        m_associate->setText(QString::number(m_position));
}

// The up arrow takes the upper half, the down arrow the rest.
void TUpDown::resizeEvent(QResizeEvent*)
{
    const int upper = height() / 2;
    m_up->setGeometry(0, 0, width(), upper);
    m_down->setGeometry(0, upper, width(), height() - upper);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_associate && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            step(key->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

TStatusBar::TStatusBar(const std::vector<int>& panelWidths, QWidget* parent)
    : QWidget(parent), m_widths(panelWidths)
{
    setFocusPolicy(Qt::NoFocus);
    for (std::size_t i = 0; i < m_widths.size(); ++i) {
        auto* panel = new QLabel(this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        m_panels.push_back(panel);
    }
    layoutPanels();
}

void TStatusBar::setPanelText(int index, const QString& text)
{
    m_panels.at(static_cast<std::size_t>(index))->setText(text);
}

QString TStatusBar::panelText(int index) const
{
    return m_panels.at(static_cast<std::size_t>(index))->text();
}

void TStatusBar::setPanelAlignment(int index, Qt::Alignment alignment)
{
    m_panels.at(static_cast<std::size_t>(index))->setAlignment(alignment | Qt::AlignVCenter);
}

void TStatusBar::resizeEvent(QResizeEvent*)
{
    layoutPanels();
}

void TStatusBar::layoutPanels()
{
    int x = 0;
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        const bool last = i + 1 == m_panels.size();
        const int w = last ? std::max(m_widths[i], width() - x) : m_widths[i];
        m_panels[i]->setGeometry(x, 2, w, std::max(0, height() - 2));
        x += w;
    }
}

namespace {

class FirstLineOnly : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        const auto breakAt = std::find_if(input.cbegin(), input.cend(),
                                          [](QChar c) { return c == u'\r' || c == u'\n'; });
        const qsizetype lineBreak = breakAt - input.cbegin();
        if (lineBreak < input.size()) {
            input.truncate(lineBreak);
            pos = std::min(pos, int(lineBreak));
        }
        return Acceptable;
    }
};

} // namespace

namespace {

class FlatBorder : public QObject
{
public:
    FlatBorder(QLineEdit* edit, const QColor& colour) : QObject(edit), m_colour(colour) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        // The edit paints itself first, the line goes over its edge.
        auto* edit = static_cast<QLineEdit*>(watched);
        edit->event(event);
        QPainter painter(edit);
        painter.setPen(m_colour);
        painter.drawRect(edit->rect().adjusted(0, 0, -1, -1));
        return true;
    }

private:
    QColor m_colour;
};

} // namespace

void setFlatBorder(QLineEdit* edit, const QColor& colour)
{
    edit->setFrame(false);
    edit->setTextMargins(1, 1, 1, 1);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, Qt::white);
    edit->setPalette(palette);
    edit->installEventFilter(new FlatBorder(edit, colour));
}

void applyEditRules(QLineEdit* edit)
{
    edit->setValidator(new FirstLineOnly(edit));
    // Setting a text leaves the caret at its end; without the focus the caret is the
    // program's alone, so it goes back to the start, where the platform's edits put it.
    // The window's focus widget, not hasFocus(): a window the system has not activated (a
    // frameless skinned one, say) still types into its focus widget, and its caret is the user's.
    const auto toStart = [edit] {
        const QWidget* focus = edit->window()->focusWidget();
        const bool typedInto =
            focus && (focus == edit || focus == edit->focusProxy() || focus->focusProxy() == edit);
        if (!typedInto && edit->cursorPosition() != 0)
            edit->setCursorPosition(0);
    };
    QObject::connect(edit, &QLineEdit::textChanged, edit, toStart);
    QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit, toStart);
}

int textWidth(const QFont& font, const QString& text)
{
    return QFontMetrics(font).horizontalAdvance(text);
}

} // namespace platform
