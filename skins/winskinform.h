#pragma once

#include "skins/skindescription.h"

#include <QMargins>
#include <QPalette>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>

class QMenu;

namespace skins {

class SkinStyle;
class TSkinData;
class TSkinFrame;

/// The skin attached to one top-level window: its palette, its painted frame with title and
/// caption buttons, its system menu and its skinned controls. Detaching (destruction) gives the
/// window its earlier look back.
class TWinSkinForm : public QObject
{
    Q_OBJECT
public:
    TWinSkinForm(QWidget* window, TSkinData* data);
    ~TWinSkinForm() override;

    TSkinData* data() const { return m_data; }
    QWidget* window() const { return m_window; }
    const QObject* windowObject() const { return m_windowObject; }
    /// The window is going away: nothing is to be given back.
    void windowDestroyed() { m_dead = true; }

    void dropCaptionButtons();
    /// Takes up the data's current skin: caption buttons, frame, colours, controls, repaint.
    void rebuild();

    bool framed() const { return m_framed; }
    QMargins frameMargins() const { return m_margins; }
    /// The window's own flags, as they were before the frame replaced them.
    Qt::WindowFlags windowHints() const;
    const QList<CaptionButton>& captionButtons() const { return m_buttons; }
    bool isControlSkinned(const QWidget* control) const;
    QList<QWidget*> skinnedControls() const;
    SkinStyle* style() const { return m_style; }
    const SkinDescription* skin() const { return m_skin.get(); }
    /// The skinned system menu, built on first use.
    QMenu* systemMenu();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFrame();
    void removeFrame();
    void holdWidth();
    void skinControls();
    void unskinControls();
    void rebuildCaptionButtons();
    bool shouldSkinControl(QWidget* control) const;
    /// The window's colours: only the face; text colours stay with the controls.
    QPalette windowPalette() const;
    static QMargins frameMarginsOf(const SkinDescription& skin);

    QPointer<QWidget> m_window;
    const QObject* m_windowObject;
    QPointer<TSkinData> m_data;
    bool m_dead = false;
    std::shared_ptr<const SkinDescription> m_skin;
    SkinStyle* m_style; // the manager's, shared by the windows of one skin data

    QPalette m_oldPalette;
    bool m_hadPalette = false;
    bool m_oldAutoFill = false;

    bool m_framed = false;
    QMargins m_margins;
    Qt::WindowFlags m_oldFlags;
    QSize m_oldMin, m_oldMax;
    QMargins m_oldLayoutMargins;
    int m_widened = 0;
    int m_heldWidth = 0;
    QList<QPointer<QWidget>> m_shifted;
    QPointer<TSkinFrame> m_frame;
    QPointer<QMenu> m_systemMenu;

    QList<CaptionButton> m_buttons;
    struct SkinnedControl
    {
        QPointer<QWidget> widget;
        QPalette palette; // its own, given back on detaching
        bool hadPalette = false;
        QString styleSheet; // set aside while skinned: it would paint over the skin
    };
    QList<SkinnedControl> m_controls;
};

} // namespace skins
