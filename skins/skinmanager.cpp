#include "skins/skinmanager.h"

#include "skins/skindata.h"
#include "skins/skinstyle.h"
#include "skins/winskinform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QColorDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QWidget>

namespace skins {
namespace {

TSkinManager* g_manager = nullptr;

} // namespace

TSkinManager* TSkinManager::instance(bool create)
{
    if (!g_manager && create)
        g_manager = new TSkinManager;
    return g_manager;
}

void TSkinManager::shutdown()
{
    delete std::exchange(g_manager, nullptr);
}

TSkinManager::TSkinManager()
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(250);
    connect(&m_timer, &QTimer::timeout, this, &TSkinManager::timerFired);
    // Gone with the application at the latest.
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QObject::destroyed, this, [] { shutdown(); });
}

TSkinManager::~TSkinManager()
{
    m_forms.clear();
    for (const QPointer<QMenu>& menu : std::as_const(m_menus))
        if (menu)
            menu->setStyle(nullptr);
    if (m_hooked && qApp)
        qApp->removeEventFilter(this);
    if (g_manager == this)
        g_manager = nullptr;
}

void TSkinManager::addData(TSkinData* data)
{
    if (!m_data.contains(data))
        m_data.append(data);
}

void TSkinManager::removeData(TSkinData* data)
{
    for (auto it = m_forms.begin(); it != m_forms.end();) {
        if ((*it)->data() == data)
            it = m_forms.erase(it);
        else
            ++it;
    }
    m_data.removeAll(data);
    m_data.removeAll(nullptr);
    if (m_pendingData == data) {
        m_pending = paNone;
        m_timer.stop();
    }
}

void TSkinManager::installHook()
{
    if (m_hooked || !qApp)
        return;
    qApp->installEventFilter(this);
    m_hooked = true;
}

void TSkinManager::setPending(PendingAction action, TSkinData* data)
{
    // One action at a time: a new request replaces the pending one and restarts the timer.
    m_pending = action;
    m_pendingData = data;
    m_timer.start();
}

void TSkinManager::requestActivate(TSkinData* data)
{
    if (m_activationCount == 0) {
        m_skinning = true;
        return;
    }
    setPending(paActivate, data);
}

void TSkinManager::requestDeactivate(TSkinData* data)
{
    if (m_activationCount == 0) {
        m_skinning = false;
        return;
    }
    setPending(paDeactivate, data);
}

void TSkinManager::requestRefresh(TSkinData* data)
{
    for (const auto& form : m_forms)
        if (form->data() == data)
            form->dropCaptionButtons();
    m_pending = paRefresh;
    m_pendingData = data;
    if (m_activationCount > 0)
        m_timer.start();
}

void TSkinManager::removeDead()
{
    for (auto it = m_forms.begin(); it != m_forms.end();) {
        if (!(*it)->window())
            it = m_forms.erase(it);
        else
            ++it;
    }
    m_menus.removeAll(nullptr);
}

void TSkinManager::timerFired()
{
    const PendingAction action = std::exchange(m_pending, paNone);
    TSkinData* data = m_pendingData;
    removeDead();
    const auto ownerOnly = [data] { return data && data->SkinFormtype == sfOnlyThisForm; };
    switch (action) {
    case paRefresh:
        for (const auto& form : m_forms)
            if (form->data() == data)
                form->rebuild();
        break;
    case paActivate:
        m_skinning = true;
        if (ownerOnly()) {
            if (data->owner())
                attach(data->owner(), true);
        } else {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible())
                    attach(w, true);
        }
        break;
    case paDeactivate:
        if (ownerOnly()) {
            detach(data->owner());
        } else {
            m_forms.clear();
            m_skinning = false;
        }
        break;
    case paCleanup:
    case paNone:
        break;
    }
    if (data && action != paNone && action != paCleanup && data->OnSkinChanged)
        data->OnSkinChanged(data);
    m_pendingData = nullptr;
}

TSkinData* TSkinManager::chooseSkin(QWidget* window) const
{
    for (const QPointer<TSkinData>& d : m_data)
        if (d && d->SkinFormtype == sfOnlyThisForm && d->owner() == window)
            return d;
    const QString cls = windowClassName(window);
    if (cls == u"TMessageForm" || cls == u"#32770") {
        for (const QPointer<TSkinData>& d : m_data)
            if (d && d->SkinFormtype == sfDialog)
                return d;
    }
    for (const QPointer<TSkinData>& d : m_data)
        if (d && d->SkinFormtype == sfMainform)
            return d;
    for (const QPointer<TSkinData>& d : m_data)
        if (d)
            return d;
    return nullptr;
}

SkinStyle* TSkinManager::styleFor(const TSkinData* data)
{
    for (const auto& [owner, style] : m_styles)
        if (owner == data)
            return style.get();
    m_styles.emplace_back(data, std::make_unique<SkinStyle>());
    return m_styles.back().second.get();
}

bool TSkinManager::attach(QWidget* window, bool allAtOnce)
{
    Q_UNUSED(allAtOnce); // no multiple-document children here
    if (!m_skinning || !window || formOf(window))
        return false;
    if (window->property("skinned").toBool())
        return false;
    // Only real top-level windows get a frame; pop-ups, tool tips and the desktop do not.
    const Qt::WindowType type = window->windowType();
    if (!window->isWindow() || type == Qt::Popup || type == Qt::ToolTip ||
        type == Qt::SplashScreen || type == Qt::Desktop || type == Qt::SubWindow)
        return false;
    if (window->geometry().isEmpty())
        return false;
    if (tagOf(window) == 99)
        return false;
    const QString cls = windowClassName(window);
    if (cls == u"TApplication")
        return false;
    TSkinData* data = chooseSkin(window);
    if (data && data->OnFormSkin) {
        bool allow = true;
        data->OnFormSkin(data, cls, allow);
        if (!allow)
            return false;
    } else {
        if (cls == u"SysMonthCal32")
            return false;
        if (data && data->SkinControls.contains(xcFastReport) && cls.startsWith(u"Tfr"))
            return false;
    }
    if (!data || !data->skinLoaded())
        return false;
    m_forms.push_back(std::make_unique<TWinSkinForm>(window, data));
    connect(window, &QObject::destroyed, this, [this](QObject* gone) {
        for (auto it = m_forms.begin(); it != m_forms.end(); ++it) {
            if ((*it)->windowObject() == gone) {
                (*it)->windowDestroyed();
                m_forms.erase(it);
                return;
            }
        }
    });
    return true;
}

void TSkinManager::detach(QWidget* window)
{
    for (auto it = m_forms.begin(); it != m_forms.end(); ++it) {
        if ((*it)->window() == window) {
            m_forms.erase(it);
            return;
        }
    }
}

TWinSkinForm* TSkinManager::formOf(const QWidget* window) const
{
    for (const auto& form : m_forms)
        if (form->windowObject() == window)
            return form.get();
    return nullptr;
}

QList<QWidget*> TSkinManager::skinnedWindows() const
{
    QList<QWidget*> windows;
    for (const auto& form : m_forms)
        if (form->window())
            windows.append(form->window());
    return windows;
}

QList<QMenu*> TSkinManager::skinnedMenus() const
{
    QList<QMenu*> menus;
    for (const QPointer<QMenu>& m : m_menus)
        if (m)
            menus.append(m);
    return menus;
}

QString TSkinManager::windowClassName(const QWidget* window)
{
    if (qobject_cast<const QMessageBox*>(window))
        return QStringLiteral("TMessageForm");
    if (qobject_cast<const QFileDialog*>(window) || qobject_cast<const QColorDialog*>(window) ||
        qobject_cast<const QFontDialog*>(window) || qobject_cast<const QInputDialog*>(window) ||
        window->inherits("QPrintDialog") || window->inherits("QPageSetupDialog"))
        return QStringLiteral("#32770");
    if (qobject_cast<const QMenu*>(window))
        return QStringLiteral("#32768");
    if (qobject_cast<const QCalendarWidget*>(window) ||
        (window->isWindow() && window->findChild<QCalendarWidget*>() &&
         window->windowType() == Qt::Popup))
        return QStringLiteral("SysMonthCal32");
    return shortClassName(window);
}

QString TSkinManager::shortClassName(const QObject* object)
{
    const QString name = QString::fromLatin1(object->metaObject()->className());
    const qsizetype colons = name.lastIndexOf(u"::");
    return colons < 0 ? name : name.sliced(colons + 2);
}

int TSkinManager::tagOf(const QObject* object)
{
    return object->property("Tag").toInt();
}

void TSkinManager::skinMenu(QMenu* menu)
{
    if (m_menus.contains(menu))
        return;
    TSkinData* data = chooseSkin(menu);
    if (!data || !data->skinLoaded() || !data->SkinControls.contains(xcMainMenu))
        return;
    if (!m_menuStyle)
        m_menuStyle = std::make_unique<SkinStyle>();
    m_menuStyle->setSkin(data->skin());
    menu->setStyle(m_menuStyle.get());
    menu->setPalette(m_menuStyle->skinPalette(menu->palette()));
    m_menus.append(menu);
}

bool TSkinManager::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow()) {
            m_activationCount = std::max(m_activationCount, 1);
            attach(w, false);
        }
        break;
    case QEvent::Show:
        if (auto* menu = qobject_cast<QMenu*>(watched); menu && m_skinning)
            skinMenu(menu);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace skins
