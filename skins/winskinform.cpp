#include "skins/winskinform.h"

#include "platform/fonts.h"
#include "skins/skindata.h"
#include "skins/skinmanager.h"
#include "skins/skinstyle.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <optional>

namespace skins {

// One face for the Latin and the Chinese characters of a title: a window font without Chinese
// would make Qt look for a second one, which was a noticeable part of the program's start.
static QFont titleFont()
{
    return platform::songti(12, true);
}

/// The painted frame: a child at the bottom of the window's stack, masked to the frame's ring
/// so the client area stays the window's own.
class TSkinFrame : public QWidget
{
public:
    TSkinFrame(QWidget* window, TWinSkinForm* form) : QWidget(window), m_form(form)
    {
        setObjectName(QStringLiteral("SkinFrame"));
        setMouseTracking(true);
        setAttribute(Qt::WA_NoSystemBackground);
    }

    void relayout()
    {
        QWidget* w = parentWidget();
        setGeometry(w->rect());
        const QRect client = w->rect().marginsRemoved(m_form->frameMargins());
        setMask(QRegion(rect()).subtracted(QRegion(client)));
        lower();
        update();
    }

    /// Where each visible caption button lies, in window coordinates.
    QList<std::pair<QRect, const CaptionButton*>> buttonRects() const
    {
        QList<std::pair<QRect, const CaptionButton*>> rects;
        const Qt::WindowFlags flags = m_form->windowHints();
        for (const CaptionButton& b : m_form->captionButtons()) {
            if ((b.visibility == 1 || b.action == caMaximize) &&
                !(flags & Qt::WindowMaximizeButtonHint))
                continue;
            if ((b.visibility == 2 || b.action == caMinimize) &&
                !(flags & Qt::WindowMinimizeButtonHint))
                continue;
            const int bw = b.image.isNull() ? 16 : b.image.width() / std::max(b.frames, 1);
            const int bh = b.image.isNull() ? 14 : b.image.height();
            const int x = b.align == 0 ? b.x : width() - b.x - bw;
            rects.append({QRect(x, b.y, bw, bh), &b});
        }
        return rects;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const SkinDescription* skin = m_form->skin();
        if (!skin)
            return;
        QPainter p(this);
        const bool active = parentWidget()->isActiveWindow();
        const QMargins m = m_form->frameMargins();
        p.fillRect(rect(), skin->buttonFace());
        const auto side = [&](const FrameSide& s, const QRect& r, bool across) {
            SkinElement e;
            e.image = s.frame(active);
            e.tile = !s.stretch;
            if (across) {
                e.leftWidth = s.topHeight;
                e.rightWidth = s.botHeight;
            } else {
                e.topHeight = s.topHeight;
                e.bottomHeight = s.botHeight;
            }
            drawSkinElement(&p, r, e, 0);
        };
        side(skin->left, QRect(0, m.top(), m.left(), height() - m.top() - m.bottom()), false);
        side(skin->right,
             QRect(width() - m.right(), m.top(), m.right(), height() - m.top() - m.bottom()),
             false);
        side(skin->bottom, QRect(0, height() - m.bottom(), width(), m.bottom()), true);
        side(skin->top, QRect(0, 0, width(), m.top()), true);

        // Icon, then the title between it and the caption buttons.
        const QIcon icon = parentWidget()->windowIcon();
        const QRect iconRect(m.left() + 2, (m.top() - 16) / 2, 16, 16);
        if (!icon.isNull())
            icon.paint(&p, iconRect);
        int rightEnd = width() - m.right() - skin->textRightClip;
        for (const auto& [r, b] : buttonRects())
            if (b->align != 0)
                rightEnd = std::min(rightEnd, r.left() - 4);
        QRect text(iconRect.right() + 6 + skin->textShift, skin->textShiftVert,
                   rightEnd - iconRect.right() - 6 - skin->textShift, m.top());
        p.setFont(titleFont());
        p.setPen(skin->colour(active ? QStringLiteral("TitleTextActive")
                                     : QStringLiteral("TitleTextNoActive"),
                              active ? Qt::white : Qt::lightGray));
        const Qt::Alignment align = skin->textAlignment == 1   ? Qt::AlignHCenter
                                    : skin->textAlignment == 2 ? Qt::AlignRight
                                                               : Qt::AlignLeft;
        p.drawText(text, int(align | Qt::AlignVCenter),
                   p.fontMetrics().elidedText(parentWidget()->windowTitle(), Qt::ElideRight,
                                              std::max(text.width(), 0)));

        for (const auto& [r, b] : buttonRects()) {
            const int frame = m_pressed == b && r.contains(m_mouse) ? 2
                              : r.contains(m_mouse)                 ? 1
                                                                    : 0;
            if (!b->image.isNull()) {
                const int fw = b->image.width() / std::max(b->frames, 1);
                p.drawImage(r.topLeft(),
                            b->image.copy(std::min(frame, b->frames - 1) * fw, 0, fw, r.height()));
            }
        }
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        m_mouse = event->position().toPoint();
        update();
    }

    void leaveEvent(QEvent*) override
    {
        m_mouse = QPoint(-1, -1);
        update();
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        QWidget* w = parentWidget();
        const QPoint pos = event->position().toPoint();
        m_mouse = pos;
        const QMargins m = m_form->frameMargins();
        for (const auto& [r, b] : buttonRects()) {
            if (r.contains(pos)) {
                m_pressed = b;
                update();
                return;
            }
        }
        if (QRect(m.left() + 2, (m.top() - 16) / 2, 16, 16).contains(pos) ||
            (event->button() == Qt::RightButton && pos.y() < m.top())) {
            if (QMenu* menu = m_form->systemMenu())
                menu->popup(event->globalPosition().toPoint());
            return;
        }
        if (event->button() != Qt::LeftButton || !w->windowHandle())
            return;
        const bool resizable = w->minimumSize() != w->maximumSize();
        Qt::Edges edges;
        if (resizable) {
            if (pos.x() < m.left())
                edges |= Qt::LeftEdge;
            if (pos.x() >= width() - m.right())
                edges |= Qt::RightEdge;
            if (pos.y() < 4)
                edges |= Qt::TopEdge;
            if (pos.y() >= height() - m.bottom())
                edges |= Qt::BottomEdge;
        }
        if (edges)
            w->windowHandle()->startSystemResize(edges);
        else
            w->windowHandle()->startSystemMove();
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const CaptionButton* pressed = std::exchange(m_pressed, nullptr);
        update();
        if (!pressed)
            return;
        for (const auto& [r, b] : buttonRects()) {
            if (b != pressed || !r.contains(event->position().toPoint()))
                continue;
            QWidget* w = parentWidget();
            switch (b->action) {
            case caClose:
                w->close();
                break;
            case caMaximize:
                w->isMaximized() ? w->showNormal() : w->showMaximized();
                break;
            case caMinimize:
                w->showMinimized();
                break;
            case caSystemMenu:
                if (QMenu* menu = m_form->systemMenu())
                    menu->popup(mapToGlobal(r.bottomLeft()));
                break;
            default:
                break;
            }
            return;
        }
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        QWidget* w = parentWidget();
        if (event->position().y() < m_form->frameMargins().top() &&
            (m_form->windowHints() & Qt::WindowMaximizeButtonHint))
            w->isMaximized() ? w->showNormal() : w->showMaximized();
    }

private:
    TWinSkinForm* m_form;
    QPoint m_mouse{-1, -1};
    const CaptionButton* m_pressed = nullptr;
};

namespace {

std::optional<TSkinControlType> builtInKind(QWidget* w)
{
    if (qobject_cast<QMenuBar*>(w))
        return xcMainMenu;
    if (qobject_cast<QToolBar*>(w))
        return xcToolbar;
    if (qobject_cast<QToolButton*>(w))
        return qobject_cast<QToolBar*>(w->parentWidget()) ? xcToolbar : xcSpeedButton;
    if (qobject_cast<QComboBox*>(w))
        return xcCombo;
    if (qobject_cast<QCheckBox*>(w))
        return xcCheckBox;
    if (qobject_cast<QRadioButton*>(w))
        return xcRadioButton;
    if (qobject_cast<QProgressBar*>(w))
        return xcProgress;
    if (qobject_cast<QScrollBar*>(w) || qobject_cast<QAbstractItemView*>(w))
        return xcScrollbar;
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w))
        return xcEdit;
    if (qobject_cast<QPushButton*>(w) || qobject_cast<QSlider*>(w) ||
        w->inherits("platform::TUpDown"))
        return xcButton;
    if (w->inherits("platform::TStatusBar") || qobject_cast<QStatusBar*>(w))
        return xcStatusBar;
    if (qobject_cast<QLabel*>(w)) {
        // Labels are not controls of their own; the panels of a status bar go with it.
        QWidget* parent = w->parentWidget();
        if (parent &&
            (parent->inherits("platform::TStatusBar") || qobject_cast<QStatusBar*>(parent)))
            return xcStatusBar;
        return std::nullopt;
    }
    if (qobject_cast<QTabWidget*>(w) || qobject_cast<QTabBar*>(w))
        return xcTab;
    if (qobject_cast<QGroupBox*>(w))
        return xcPanel;
    if (qobject_cast<QAbstractScrollArea*>(w))
        return xcScrollbar;
    if (auto* frame = qobject_cast<QFrame*>(w); frame && frame->frameShape() != QFrame::NoFrame)
        return xcPanel;
    return std::nullopt;
}

std::optional<TSkinControlType> skin3rdKind(const QString& kind)
{
    static const std::pair<const char*, TSkinControlType> kinds[] = {
        {"combobox", xcCombo},    {"edit", xcEdit},         {"radiobutton", xcRadioButton},
        {"checkbox", xcCheckBox}, {"panel", xcPanel},       {"radiogroup", xcPanel},
        {"checkgroup", xcPanel},  {"trackbar", xcButton},   {"button", xcButton},
        {"tab", xcTab},           {"progress", xcProgress}, {"scrollbar", xcScrollbar},
    };
    for (const auto& [name, type] : kinds)
        if (kind == QLatin1StringView(name))
            return type;
    return std::nullopt;
}

QIcon menuIcon(int which)
{
    // Drawn on white, white then made see-through, as the menu's image list holds them.
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 1));
    switch (which) {
    case 0: // restore
        p.drawRect(5, 2, 8, 7);
        p.fillRect(3, 6, 9, 8, Qt::white);
        p.drawRect(3, 6, 8, 7);
        break;
    case 1: // maximise
        p.drawRect(3, 3, 10, 10);
        p.drawLine(3, 4, 13, 4);
        break;
    case 2: // minimise
        p.fillRect(4, 11, 8, 2, Qt::black);
        break;
    default: // close
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(4, 4, 12, 12);
        p.drawLine(12, 4, 4, 12);
        break;
    }
    p.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(Qt::white));
    return QIcon(pixmap);
}

} // namespace

TWinSkinForm::TWinSkinForm(QWidget* window, TSkinData* data)
    : m_window(window), m_windowObject(window), m_data(data), m_skin(data->skin()),
      m_style(TSkinManager::instance(true)->styleFor(data))
{
    m_style->setSkin(m_skin);
    window->setProperty("skinned", true);
    m_hadPalette = window->testAttribute(Qt::WA_SetPalette);
    m_oldPalette = window->palette();
    m_oldAutoFill = window->autoFillBackground();
    window->setPalette(windowPalette());
    window->setAutoFillBackground(true);
    rebuildCaptionButtons();
    skinControls();
    window->installEventFilter(this);
    // The frame changes the window's flags, which must not happen inside the activation that
    // attached it.
    QTimer::singleShot(0, this, [this] { applyFrame(); });
}

TWinSkinForm::~TWinSkinForm()
{
    if (m_dead || !m_window)
        return;
    m_window->removeEventFilter(this);
    delete m_systemMenu;
    unskinControls();
    removeFrame();
    if (m_hadPalette)
        m_window->setPalette(m_oldPalette);
    else
        m_window->setPalette(QPalette());
    m_window->setAutoFillBackground(m_oldAutoFill);
    m_window->setProperty("skinned", QVariant());
    m_window->update();
}

void TWinSkinForm::dropCaptionButtons()
{
    m_buttons.clear();
    if (m_frame)
        m_frame->update();
}

void TWinSkinForm::rebuildCaptionButtons()
{
    m_buttons.clear();
    if (!m_skin || !m_data)
        return;
    m_buttons = m_skin->captionButtons;
}

void TWinSkinForm::rebuild()
{
    if (!m_window || !m_data)
        return;
    m_skin = m_data->skin();
    m_style->setSkin(m_skin);
    rebuildCaptionButtons();
    m_window->setPalette(windowPalette());
    for (const SkinnedControl& c : std::as_const(m_controls))
        if (c.widget && c.widget->style() == m_style)
            c.widget->setPalette(m_style->skinPalette(c.palette));
    // A frame of the same thickness is only repainted: no unmapping, no flicker.
    if (m_framed && frameMarginsOf(*m_skin) == m_margins && m_skin->top.present) {
        m_frame->relayout();
    } else {
        const bool wasFramed = m_framed;
        removeFrame();
        if (wasFramed)
            applyFrame();
    }
    skinControls();
    for (const SkinnedControl& c : std::as_const(m_controls))
        if (c.widget)
            c.widget->update();
    m_window->update();
}

QMenu* TWinSkinForm::systemMenu()
{
    if (!m_window || !m_data || !m_data->SkinControls.contains(xcSystemMenu))
        return nullptr;
    if (m_systemMenu)
        return m_systemMenu;
    auto* menu = new QMenu(m_window);
    menu->setObjectName(QStringLiteral("SkinSystemMenu"));
    QWidget* w = m_window;
    QAction* restore =
        menu->addAction(menuIcon(0), QStringLiteral(" Restore "), w, [w] { w->showNormal(); });
    if (windowHints() & Qt::WindowMaximizeButtonHint)
        menu->addAction(menuIcon(1), QStringLiteral(" Maximize "), w, [w] { w->showMaximized(); });
    if (windowHints() & Qt::WindowMinimizeButtonHint)
        menu->addAction(menuIcon(2), QStringLiteral(" Minimize "), w, [w] { w->showMinimized(); });
    menu->addSeparator();
    // The text after the tab shows as the shortcut column.
    menu->addAction(menuIcon(3), QStringLiteral(" Close \tShift+F4"), w, [w] { w->close(); });
    connect(menu, &QMenu::aboutToShow, menu,
            [restore, w] { restore->setEnabled(w->isMaximized() || w->isMinimized()); });
    m_systemMenu = menu;
    return menu;
}

QMargins TWinSkinForm::frameMarginsOf(const SkinDescription& skin)
{
    const auto thickness = [](const FrameSide& s, bool across) {
        const QImage f = s.frame(true);
        return f.isNull() ? 0 : across ? f.height() : f.width();
    };
    return QMargins(thickness(skin.left, false), thickness(skin.top, true),
                    thickness(skin.right, false), thickness(skin.bottom, true));
}

QPalette TWinSkinForm::windowPalette() const
{
    QPalette p = m_oldPalette;
    if (m_skin) {
        p.setColor(QPalette::Window, m_skin->buttonFace());
        p.setColor(QPalette::Button, m_skin->buttonFace());
    }
    return p;
}

Qt::WindowFlags TWinSkinForm::windowHints() const
{
    return m_framed ? m_oldFlags : m_window ? m_window->windowFlags() : Qt::WindowFlags();
}

namespace {

/// Changes a window's flags without hiding it. QWidget::setWindowFlags hides a shown window,
/// and one shown again at once never becomes the active window for Qt under some window
/// managers: the system's focus comes back to the same native window, which Qt takes for no
/// change, so focus-in and focus-out events stop reaching its controls.
void setFlagsInPlace(QWidget* w, Qt::WindowFlags flags)
{
    QWindow* handle = w->windowHandle();
    if (!w->isVisible() || !handle) {
        w->setWindowFlags(flags);
        return;
    }
    w->overrideWindowFlags(flags);
    handle->setFlags(flags); // window managers read the new decoration hints of a mapped window
}

} // namespace

void TWinSkinForm::applyFrame()
{
    QWidget* w = m_window;
    if (!w || m_framed || !m_skin || !m_skin->top.present || m_skin->top.image.isNull())
        return;
    m_margins = frameMarginsOf(*m_skin);
    const QMargins& m = m_margins;
    const QRect client = w->geometry();
    m_oldFlags = w->windowFlags();
    m_oldMin = w->minimumSize();
    m_oldMax = w->maximumSize();

    // A message box whose title does not fit grows, its contents moving right by half.
    m_widened = 0;
    const QString cls = TSkinManager::windowClassName(w);
    if (cls == u"TMessageForm" || cls == u"#32770") {
        const QFont font = titleFont();
        int buttons = 0;
        for (const CaptionButton& b : m_buttons)
            buttons += b.image.isNull() ? 16 : b.image.width() / std::max(b.frames, 1);
        const int needed = QFontMetrics(font).horizontalAdvance(w->windowTitle()) + buttons + 40;
        m_widened = std::max(0, needed - client.width());
    }

    const QSize grow(m.left() + m.right() + m_widened, m.top() + m.bottom());
    if (QLayout* layout = w->layout()) {
        m_oldLayoutMargins = layout->contentsMargins();
        layout->setContentsMargins(m_oldLayoutMargins + m +
                                   QMargins(m_widened / 2, 0, m_widened - m_widened / 2, 0));
    } else {
        for (QObject* o : w->children()) {
            auto* child = qobject_cast<QWidget*>(o);
            if (!child || child->isWindow())
                continue;
            child->move(child->pos() + QPoint(m.left() + m_widened / 2, m.top()));
            m_shifted.append(child);
        }
    }
    // Only the window type and the frameless hint: the title and button hints would bring the
    // system's decorations back on some window systems.
    setFlagsInPlace(w, (m_oldFlags & (Qt::WindowType_Mask | Qt::WindowStaysOnTopHint)) |
                           Qt::FramelessWindowHint);
    if (m_oldMin.width() > 0 || m_oldMin.height() > 0)
        w->setMinimumSize(m_oldMin + grow);
    if (m_oldMax.width() < QWIDGETSIZE_MAX)
        w->setMaximumWidth(std::min(m_oldMax.width() + grow.width(), QWIDGETSIZE_MAX));
    if (m_oldMax.height() < QWIDGETSIZE_MAX)
        w->setMaximumHeight(std::min(m_oldMax.height() + grow.height(), QWIDGETSIZE_MAX));
    w->setGeometry(client.x() - m.left() - m_widened / 2, client.y() - m.top(),
                   client.width() + grow.width(), client.height() + grow.height());
    m_framed = true;
    auto* frame = new TSkinFrame(w, this);
    m_frame = frame;
    frame->relayout();
    frame->show();
    m_heldWidth = client.width() + grow.width();
    holdWidth();
}

void TWinSkinForm::holdWidth()
{
    // Dialogs that size themselves (on showing, on a style or layout change) keep their own
    // width formula; hold them to ours.
    QWidget* w = m_window;
    if (!w || !m_framed || w->width() >= m_heldWidth)
        return;
    if (w->minimumWidth() == w->maximumWidth())
        w->setFixedWidth(m_heldWidth);
    else
        w->resize(m_heldWidth, w->height());
}

void TWinSkinForm::removeFrame()
{
    QWidget* w = m_window;
    if (!w || !m_framed)
        return;
    delete m_frame;
    const QMargins& m = m_margins;
    const QRect outer = w->geometry();
    const QSize grow(m.left() + m.right() + m_widened, m.top() + m.bottom());
    if (QLayout* layout = w->layout())
        layout->setContentsMargins(m_oldLayoutMargins);
    for (const QPointer<QWidget>& child : std::as_const(m_shifted))
        if (child)
            child->move(child->pos() - QPoint(m.left() + m_widened / 2, m.top()));
    m_shifted.clear();
    setFlagsInPlace(w, m_oldFlags);
    w->setMinimumSize(m_oldMin);
    w->setMaximumSize(m_oldMax);
    w->setGeometry(outer.x() + m.left() + m_widened / 2, outer.y() + m.top(),
                   outer.width() - grow.width(), outer.height() - grow.height());
    m_framed = false;
    m_margins = QMargins();
    m_widened = 0;
}

bool TWinSkinForm::shouldSkinControl(QWidget* c) const
{
    if (c->isWindow() || c == m_frame || (m_frame && m_frame->isAncestorOf(c)))
        return false;
    // The month calendar keeps the system look, wherever it sits.
    for (QWidget* p = c; p && p != m_window; p = p->parentWidget())
        if (qobject_cast<QCalendarWidget*>(p))
            return false;
    return true;
}

void TWinSkinForm::skinControls()
{
    if (!m_window || !m_data)
        return;
    static const QStringList notSkinned = {
        QStringLiteral("TDBCOMBOBOXX"), QStringLiteral("TREPORTPREVIEW"),
        QStringLiteral("TFRDESIGNERPAGE"), QStringLiteral("TFRPBOX")};
    for (QWidget* c : m_window->findChildren<QWidget*>()) {
        if (!shouldSkinControl(c))
            continue;
        if (TSkinManager::tagOf(c) % 100 == m_data->DisableTag || isControlSkinned(c))
            continue;
        if (m_data->OnSkinControl && m_data->OnSkinControl(m_data, c)) {
            m_controls.append({c, c->palette(), c->testAttribute(Qt::WA_SetPalette), {}});
            continue;
        }
        const QString cls = TSkinManager::shortClassName(c);
        if (notSkinned.contains(cls.toUpper()))
            continue;
        std::optional<TSkinControlType> kind;
        const QString listed = m_data->skin3rdKind(cls);
        if (!listed.isEmpty())
            kind = skin3rdKind(listed); // a listed class never falls to the built-in rules
        else
            kind = builtInKind(c);
        if (!kind || !m_data->SkinControls.contains(*kind))
            continue;
        if (*kind == xcTab && !m_skin->element(QStringLiteral("Tabs")).present)
            continue;
        if (auto* bar = qobject_cast<QStatusBar*>(c))
            bar->setSizeGripEnabled(false);
        // A bare frame with its own style sheet is a drawn shape, not a panel.
        if (*kind == xcPanel && !qobject_cast<QGroupBox*>(c) && !c->styleSheet().isEmpty())
            continue;
        m_controls.append({c, c->palette(), c->testAttribute(Qt::WA_SetPalette), c->styleSheet()});
        if (!c->styleSheet().isEmpty())
            c->setStyleSheet(QString());
        c->setStyle(m_style);
        c->setPalette(m_style->skinPalette(c->palette()));
        c->setProperty("skinKind", int(*kind));
    }
}

void TWinSkinForm::unskinControls()
{
    for (const SkinnedControl& c : std::as_const(m_controls)) {
        if (!c.widget || c.widget->style() != m_style)
            continue;
        c.widget->setStyle(nullptr);
        c.widget->setPalette(c.hadPalette ? c.palette : QPalette());
        if (!c.styleSheet.isEmpty())
            c.widget->setStyleSheet(c.styleSheet);
        c.widget->setProperty("skinKind", QVariant());
    }
    m_controls.clear();
    // The style also reached children of the skinned controls; none may keep it once it goes.
    if (m_window)
        for (QWidget* w : m_window->findChildren<QWidget*>())
            if (w->style() == m_style)
                w->setStyle(nullptr);
}

bool TWinSkinForm::isControlSkinned(const QWidget* control) const
{
    for (const SkinnedControl& c : m_controls)
        if (c.widget == control)
            return true;
    return false;
}

QList<QWidget*> TWinSkinForm::skinnedControls() const
{
    QList<QWidget*> list;
    for (const SkinnedControl& c : m_controls)
        if (c.widget)
            list.append(c.widget);
    return list;
}

bool TWinSkinForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && m_frame) {
        switch (event->type()) {
        case QEvent::Resize:
            holdWidth();
            m_frame->relayout();
            break;
        case QEvent::WindowTitleChange:
        case QEvent::ActivationChange:
        case QEvent::WindowIconChange:
            m_frame->update();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace skins
