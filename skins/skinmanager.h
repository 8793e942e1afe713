#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <vector>

class QMenu;
class QWidget;

namespace skins {

class SkinStyle;
class TSkinData;
class TWinSkinForm;

/// The one skin engine object of the program: watches the windows through an application-wide
/// event filter, attaches skins to them and carries out deferred actions 250 ms after they are
/// asked for.
class TSkinManager : public QObject
{
    Q_OBJECT
public:
    enum PendingAction
    {
        paNone,
        paActivate,
        paDeactivate,
        paRefresh,
        paCleanup,
    };

    /// The manager, created first when create is set; null otherwise when there is none.
    static TSkinManager* instance(bool create);
    /// Ends the manager: every window detached, menus released, the filter removed.
    static void shutdown();
    ~TSkinManager() override;

    void addData(TSkinData* data);
    void removeData(TSkinData* data);
    void installHook();
    bool hookInstalled() const { return m_hooked; }

    void requestActivate(TSkinData* data);
    void requestDeactivate(TSkinData* data);
    void requestRefresh(TSkinData* data);
    PendingAction pendingAction() const { return m_pending; }
    bool timerActive() const { return m_timer.isActive(); }

    bool skinning() const { return m_skinning; }
    int activationCount() const { return m_activationCount; }

    TSkinData* chooseSkin(QWidget* window) const;
    /// The style painting the windows of data. Styles live as long as the manager: a widget
    /// may hold on to its style through a style sheet after being given its own back.
    SkinStyle* styleFor(const TSkinData* data);
    /// Attaches a window when the rules allow it; true when it is skinned afterwards.
    bool attach(QWidget* window, bool allAtOnce);
    void detach(QWidget* window);
    TWinSkinForm* formOf(const QWidget* window) const;
    QList<QWidget*> skinnedWindows() const;
    QList<QMenu*> skinnedMenus() const;

    /// The class a window would have on the original system ("TMessageForm", "#32770",
    /// "#32768", "SysMonthCal32"), else its own class name without namespace.
    static QString windowClassName(const QWidget* window);
    /// The class name without its namespace.
    static QString shortClassName(const QObject* object);
    /// The component's Tag, kept as the dynamic property "Tag".
    static int tagOf(const QObject* object);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TSkinManager();
    void setPending(PendingAction action, TSkinData* data);
    void timerFired();
    void removeDead();
    void skinMenu(QMenu* menu);

    QList<QPointer<TSkinData>> m_data;
    std::vector<std::unique_ptr<TWinSkinForm>> m_forms;
    QList<QPointer<QMenu>> m_menus;
    std::unique_ptr<SkinStyle> m_menuStyle;
    std::vector<std::pair<const TSkinData*, std::unique_ptr<SkinStyle>>> m_styles;
    PendingAction m_pending = paNone;
    QPointer<TSkinData> m_pendingData;
    QTimer m_timer;
    bool m_skinning = false;
    bool m_hooked = false;
    int m_activationCount = 0;
};

} // namespace skins
