#pragma once

#include "skins/skindescription.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;

namespace skins {

class TSkinStore;

enum TSkinControlType
{
    xcMainMenu,
    xcPopupMenu,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcSystemMenu,
    xcFastReport,
};

/// A set of TSkinControlType.
class TSkinControlTypes
{
public:
    constexpr TSkinControlTypes() = default;
    constexpr TSkinControlTypes(std::initializer_list<TSkinControlType> types)
    {
        for (TSkinControlType t : types)
            m_bits |= 1u << t;
    }
    constexpr bool contains(TSkinControlType t) const { return m_bits & (1u << t); }
    constexpr void include(TSkinControlType t) { m_bits |= 1u << t; }
    constexpr void exclude(TSkinControlType t) { m_bits &= ~(1u << t); }
    /// Every type but xcFastReport.
    static TSkinControlTypes defaults();

private:
    unsigned m_bits = 0;
};

enum TSkinFormType
{
    sfMainform,
    sfOnlyThisForm,
    sfDialog,
};

/// The default class-to-kind list of 95 lines.
const QStringList& defaultSkin3rd();

/// Starts reading a skin file on another thread; a skin data given these same bytes as its
/// stream takes the result over instead of reading them again. Call it only once the
/// application object exists.
void readSkinAhead(const QByteArray& bytes);

/// Holds the current skin and the skinning settings of the window that owns it.
class TSkinData : public QObject
{
    Q_OBJECT
public:
    explicit TSkinData(QWidget* owner);
    ~TSkinData() override;

    bool Active() const { return m_active; }
    void setActive(bool active);

    int DisableTag = 99;
    TSkinControlTypes SkinControls = TSkinControlTypes::defaults();
    QStringList Skin3rd = defaultSkin3rd();
    TSkinFormType SkinFormtype = sfMainform;
    bool MenuUpdate = true;

    const QString& SkinFile() const { return m_skinFile; }
    /// Loads the file's bytes when it exists and applies them as a new skin.
    void setSkinFile(const QString& path);
    QString SkinStore() const;
    void setSkinStore(const QString&) {}
    static QString Version() { return QStringLiteral("2.60.5.03"); }

    std::function<void(QObject* sender)> OnSkinChanged;
    std::function<void(QObject* sender, const QString& className, bool& allow)> OnFormSkin;
    /// Asked per control before the built-in rules; returning true means it was handled.
    std::function<bool(QObject* sender, QWidget* control)> OnSkinControl;

    const QByteArray& SkinStream() const { return m_stream; }
    /// New skin bytes, read at once (as when the window's layout is read).
    void setSkinStream(const QByteArray& bytes);

    /// The window's layout is complete: starts skinning as the settings say.
    void Loaded();

    /// Loads store item index and applies it to the running windows a moment later.
    void LoadSkinItem(TSkinStore* store, int index);

    bool skinLoaded() const { return m_loaded; }
    /// The skin in use; shared so painters keep theirs until they are rebuilt.
    std::shared_ptr<const SkinDescription> skin() const { return m_skin; }
    QWidget* owner() const { return m_owner; }

    /// The kind a Skin3rd line gives className ("edit", "combobox", ...), empty when none.
    QString skin3rdKind(const QString& className) const;

    /// Increments on every skin read; painters compare it to know when to rebuild.
    int generation() const { return m_generation; }

private:
    bool readSkin();
    void applyChange();

    QPointer<QWidget> m_owner;
    bool m_active = false;
    bool m_loaded = false;
    bool m_started = false;
    int m_generation = 0;
    QString m_skinFile;
    QByteArray m_stream;
    std::shared_ptr<const SkinDescription> m_skin;
};

} // namespace skins
