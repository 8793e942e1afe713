#include "skins/skindata.h"

#include "platform/errors.h"
#include "platform/messages.h"
#include "skins/container.h"
#include "skins/skinmanager.h"
#include "skins/skinstore.h"

#include <QFile>
#include <QWidget>
#include <future>
#include <mutex>

namespace skins {

namespace {

using SharedDescription = std::shared_ptr<const SkinDescription>;

SharedDescription readDescription(const QByteArray& bytes)
{
    const SkinContainer container = readSkinFile(bytes);
    return std::make_shared<const SkinDescription>(readSkinDescription(container));
}

struct SkinAhead
{
    std::mutex mutex;
    QByteArray bytes;
    // Its destructor waits for a read still running, also at exit.
    std::future<SharedDescription> description;
};

SkinAhead& skinAhead()
{
    static SkinAhead instance;
    return instance;
}

// The skin read ahead from exactly these bytes, handed over once; invalid when there is none.
std::future<SharedDescription> takeSkinAhead(const QByteArray& bytes)
{
    SkinAhead& a = skinAhead();
    const std::lock_guard lock(a.mutex);
    if (!a.description.valid() || a.bytes != bytes)
        return {};
    a.bytes.clear();
    return std::move(a.description);
}

} // namespace

void readSkinAhead(const QByteArray& bytes)
{
    SkinAhead& a = skinAhead();
    const std::lock_guard lock(a.mutex);
    // A skin read ahead and never asked for is dropped; an error reaches whoever takes it, as it
    // would from reading on the spot.
    a.description = std::async(std::launch::async, [bytes] { return readDescription(bytes); });
    a.bytes = bytes;
}

TSkinControlTypes TSkinControlTypes::defaults()
{
    TSkinControlTypes all;
    for (int t = xcMainMenu; t <= xcSystemMenu; ++t)
        all.include(TSkinControlType(t));
    return all;
}

const QStringList& defaultSkin3rd()
{
    static const QStringList lines = {
        QStringLiteral("TTBDock=panel"),
        QStringLiteral("TTBToolbar=panel"),
        QStringLiteral("TLMDGROUPBOX=panel"),
        QStringLiteral("TLMDSIMPLEPANEL=panel"),
        QStringLiteral("TLMDDBCalendar=panel"),
        QStringLiteral("TLMDButtonPanel=panel"),
        QStringLiteral("TLMDLMDCalculator=panel"),
        QStringLiteral("TLMDHeaderPanel=panel"),
        QStringLiteral("TLMDTechnicalLine=panel"),
        QStringLiteral("TLMDLMDClock=panel"),
        QStringLiteral("TImageEnMView=scrollbar"),
        QStringLiteral("TImageEnView=scrollbar"),
        QStringLiteral("TRzButton=button"),
        QStringLiteral("TRzCheckGroup=checkgroup"),
        QStringLiteral("TLMDCheckGroup=checkgroup"),
        QStringLiteral("TLMDDBCheckGroup=checkgroup"),
        QStringLiteral("TRzRadioGroup=radiogroup"),
        QStringLiteral("TRzDBRadioGroup=radiogroup"),
        QStringLiteral("TLMDRADIOGROUP=radiogroup"),
        QStringLiteral("TLMDDBRADIOGROUP=radiogroup"),
        QStringLiteral("TWWRADIOGROUP=radiogroup"),
        QStringLiteral("TRzRadioButton=radiobutton"),
        QStringLiteral("TRzDBRadioButton=radiobutton"),
        QStringLiteral("TLMDRadiobutton=radiobutton"),
        QStringLiteral("TRzCheckBox=checkbox"),
        QStringLiteral("TRzDBCheckBox=checkbox"),
        QStringLiteral("TDBCheckboxX=checkbox"),
        QStringLiteral("TDBCheckboxX=checkbox"),
        QStringLiteral("TLMDCHECKBOX=checkbox"),
        QStringLiteral("TLMDDBCHECKBOX=checkbox"),
        QStringLiteral("TLMDTrackbar=trackbar"),
        QStringLiteral("TLMDListCombobox=combobox"),
        QStringLiteral("TLMDCheckListCombobox=combobox"),
        QStringLiteral("TLMDHeaderListCombobox=combobox"),
        QStringLiteral("TLMDImageCombobox=combobox"),
        QStringLiteral("TLMDColorCombobox=combobox"),
        QStringLiteral("TLMDFontCombobox=combobox"),
        QStringLiteral("TLMDFontSizeCombobox=combobox"),
        QStringLiteral("TLMDFontSizeCombobox=combobox"),
        QStringLiteral("TLMDPrinterCombobox=combobox"),
        QStringLiteral("TLMDDriveCombobox=combobox"),
        QStringLiteral("TLMDCalculatorComboBox=combobox"),
        QStringLiteral("TLMDTrackBarComboBox=combobox"),
        QStringLiteral("TLMDCalendarComboBox=combobox"),
        QStringLiteral("TDBLookupCombobox=combobox"),
        QStringLiteral("TWWDBCombobox=combobox"),
        QStringLiteral("TWWDBCombobox=combobox"),
        QStringLiteral("TWWDBLookupCombo=combobox"),
        QStringLiteral("TWWKeyCombo=combobox"),
        QStringLiteral("TWWTempKeyCombo=combobox"),
        QStringLiteral("TWWDBDateTimePicker=combobox"),
        QStringLiteral("TDXDBPICKEDIT=combobox"),
        QStringLiteral("TDXDBCALCEDIT=combobox"),
        QStringLiteral("TDXDBIMAGEEDIT=combobox"),
        QStringLiteral("TDXDBPOPUPEDIT=combobox"),
        QStringLiteral("TDXDBEXTLOOKUPEDIT=combobox"),
        QStringLiteral("TDXDBLOOKUPEDIT=combobox"),
        QStringLiteral("TDXDBDATEEDIT=combobox"),
        QStringLiteral("TDXDATEEDIT=combobox"),
        QStringLiteral("TDXPICKEDIT=combobox"),
        QStringLiteral("TDXPOPUPEDIT=combobox"),
        QStringLiteral("TRzButtonEdit=edit"),
        QStringLiteral("TLMDEDIT=edit"),
        QStringLiteral("TLMDMASKEDIT=edit"),
        QStringLiteral("TLMDBROWSEEDIT=edit"),
        QStringLiteral("TLMDEXTSPINEDIT=edit"),
        QStringLiteral("TLMDCALENDAREDIT=edit"),
        QStringLiteral("TLMDFILEOPENEDIT=edit"),
        QStringLiteral("TLMDFILESAVEEDIT=edit"),
        QStringLiteral("TLMDCOLOREDIT=edit"),
        QStringLiteral("TLMDDBEDIT=edit"),
        QStringLiteral("TLMDDBMASKEDIT=edit"),
        QStringLiteral("TLMDDBEXTSPINEDIT=edit"),
        QStringLiteral("TLMDDBSPINEDIT=edit"),
        QStringLiteral("TLMDDBEDITDBLookup=edit"),
        QStringLiteral("TLMDEDITDBLookup=edit"),
        QStringLiteral("TDXDBCURRENCYEDIT=edit"),
        QStringLiteral("TDXDBEDIT=edit"),
        QStringLiteral("TDXDBMASKEDIT=edit"),
        QStringLiteral("TDXDBHYPERLINKEDIT=edit"),
        QStringLiteral("TDXEDIT=edit"),
        QStringLiteral("TDXMASKEDIT=edit"),
        QStringLiteral("TWWDBEDIT=edit"),
        QStringLiteral("TDXBUTTONEDIT=edit"),
        QStringLiteral("TDXCURRENCYEDIT=edit"),
        QStringLiteral("TDXHYPERLINKEDIT=edit"),
        QStringLiteral("TOVCPICTUREFIELD=edit"),
        QStringLiteral("TOVCDBPICTUREFIELD=edit"),
        QStringLiteral("TOVCSLIDEREDIT=edit"),
        QStringLiteral("TOVCDBSLIDEREDIT=edit"),
        QStringLiteral("TOVCSIMPLEFIELD=edit"),
        QStringLiteral("TOVCDBSIMPLEFIELD=edit"),
        QStringLiteral("TO32DBFLEXEDIT=edit"),
        QStringLiteral("TOVCNUMERICFIELD=edit"),
        QStringLiteral("TOVCDBNUMERICFIELD=edit"),
    };
    return lines;
}

TSkinData::TSkinData(QWidget* owner) : QObject(owner), m_owner(owner)
{}

TSkinData::~TSkinData()
{
    if (TSkinManager* manager = TSkinManager::instance(false))
        manager->removeData(this);
}

QString TSkinData::SkinStore() const
{
    return m_stream.isEmpty() ? QStringLiteral("(none)") : QStringLiteral("(Good)");
}

void TSkinData::setSkinStream(const QByteArray& bytes)
{
    m_stream = bytes;
    readSkin();
}

bool TSkinData::readSkin()
{
    const bool wasLoaded = m_loaded;
    m_loaded = false;
    try {
        std::future<SharedDescription> ahead = takeSkinAhead(m_stream);
        m_skin = ahead.valid() ? ahead.get() : readDescription(m_stream);
        m_loaded = true;
        ++m_generation;
        return true;
    } catch (const EOlderSkin&) {
        platform::showMessage(olderSkinMessage());
    } catch (const platform::EError& e) {
        platform::showMessage(e.message());
    }
    // The skin in use stays in use.
    m_loaded = wasLoaded && m_skin;
    return false;
}

void TSkinData::Loaded()
{
    m_started = true;
    TSkinManager* manager = TSkinManager::instance(true);
    manager->addData(this);
    if (SkinFormtype == sfMainform) {
        manager->installHook();
        if (m_active) {
            if (!m_loaded)
                m_active = false;
            else
                manager->requestActivate(this);
        }
        return;
    }
    if (m_active && m_loaded) {
        manager->requestActivate(this);
        if (m_owner)
            manager->attach(m_owner, false);
    }
}

void TSkinData::setActive(bool active)
{
    if (!m_started || active == m_active) {
        m_active = active;
        return;
    }
    if (SkinFormtype == sfDialog)
        return;
    if (active && !m_loaded)
        return;
    m_active = active;
    TSkinManager* manager = TSkinManager::instance(true);
    if (active)
        manager->requestActivate(this);
    else
        manager->requestDeactivate(this);
}

void TSkinData::setSkinFile(const QString& path)
{
    m_skinFile = path;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray previous = std::exchange(m_stream, file.readAll());
    if (readSkin())
        applyChange();
    else
        m_stream = previous;
}

void TSkinData::LoadSkinItem(TSkinStore* store, int index)
{
    if (!store || index < 0 || index >= store->Store.Count())
        return;
    const QByteArray previous = m_stream;
    m_stream = store->Store.Items(index).DataStream;
    if (readSkin())
        applyChange();
    else
        m_stream = previous;
}

void TSkinData::applyChange()
{
    TSkinManager* manager = TSkinManager::instance(true);
    manager->addData(this);
    manager->requestRefresh(this);
}

QString TSkinData::skin3rdKind(const QString& className) const
{
    for (const QString& line : Skin3rd) {
        if (line.size() > className.size() && line.at(className.size()) == u'=' &&
            line.startsWith(className, Qt::CaseInsensitive))
            return line.sliced(className.size() + 1).trimmed().toLower();
    }
    return {};
}

} // namespace skins
