#include "platform/errors.h"
#include "skins/skindata.h"
#include "skins/skinmanager.h"
#include "skins/skinstore.h"
#include "skins/skinstyle.h"
#include "skins/winskinform.h"
#include "tests/skins/testskins.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

namespace {

using skins::TSkinManager;

class SkinManagerTest : public ::testing::Test
{
protected:
    void SetUp() override { TSkinManager::shutdown(); }
    void TearDown() override
    {
        m_windows.clear();
        TSkinManager::shutdown();
    }

    QWidget* window(int tag = 0)
    {
        auto w = std::make_unique<QWidget>();
        w->resize(300, 200);
        w->setWindowTitle(QStringLiteral("Window"));
        if (tag)
            w->setProperty("Tag", tag);
        m_windows.push_back(std::move(w));
        return m_windows.back().get();
    }

    static void activate(QWidget* w)
    {
        w->show();
        QApplication::setActiveWindow(w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        QCoreApplication::processEvents();
    }

    // The owner with its skin data, started as the entry window starts it.
    skins::TSkinData* started(QWidget* owner, const QByteArray& skin)
    {
        auto* data = new skins::TSkinData(owner);
        data->setSkinStream(skin);
        data->setActive(true);
        data->Loaded();
        return data;
    }

    static QString skinNameOf(QWidget* w)
    {
        const skins::TWinSkinForm* form = TSkinManager::instance(false)->formOf(w);
        return form && form->skin() ? form->skin()->skinName : QString();
    }

    std::vector<std::unique_ptr<QWidget>> m_windows;
};

TEST_F(SkinManagerTest, WindowAndControlTagRules)
{
    QWidget* owner = window();
    auto* plain = new QLineEdit(owner);
    auto* tagged199 = new QPushButton(owner);
    tagged199->setProperty("Tag", 199);
    auto* tagged5 = new QPushButton(owner);
    tagged5->setProperty("Tag", 5);
    skins::TSkinData* data = started(owner, testskins::skinFile("A", QColor(200, 220, 255)));
    ASSERT_TRUE(data->skinLoaded());
    ASSERT_TRUE(TSkinManager::instance(false)->skinning());
    activate(owner);

    const skins::TWinSkinForm* form = TSkinManager::instance(false)->formOf(owner);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isControlSkinned(plain));
    EXPECT_TRUE(form->isControlSkinned(tagged5));
    EXPECT_FALSE(form->isControlSkinned(tagged199)) << "199 modulo 100 is the disable tag";
    EXPECT_EQ(plain->style(), form->style());
    EXPECT_EQ(owner->palette().color(QPalette::Window), QColor(200, 220, 255));

    // The month calendar keeps the system look, inside a window or as a window of its own.
    auto* calendar = new QCalendarWidget(owner);
    skins::TWinSkinForm* mutableForm = TSkinManager::instance(false)->formOf(owner);
    mutableForm->rebuild();
    EXPECT_FALSE(form->isControlSkinned(calendar));
    for (QWidget* inside : calendar->findChildren<QWidget*>())
        EXPECT_FALSE(form->isControlSkinned(inside));
    QCalendarWidget alone;
    activate(&alone);
    EXPECT_EQ(TSkinManager::windowClassName(&alone), u"SysMonthCal32");
    EXPECT_EQ(TSkinManager::instance(false)->formOf(&alone), nullptr);

    QWidget* tag199 = window(199);
    QWidget* tag99 = window(99);
    activate(tag199);
    activate(tag99);
    EXPECT_NE(TSkinManager::instance(false)->formOf(tag199), nullptr) << "only 99 itself opts out";
    EXPECT_EQ(TSkinManager::instance(false)->formOf(tag99), nullptr);
}

TEST_F(SkinManagerTest, FrameIsPaintedAroundTheClientAndGivenBack)
{
    QWidget* owner = window();
    owner->setFixedSize(300, 200);
    auto* edit = new QLineEdit(owner);
    edit->move(10, 20);
    // A window hidden and shown again by the frame change is not activated again by the
    // window system under some window managers: its controls then never see focus changes.
    struct HideCounter : QObject
    {
        int hides = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            hides += e->type() == QEvent::Hide;
            return false;
        }
    } counter;
    owner->installEventFilter(&counter);
    started(owner, testskins::skinFile("A", QColor(200, 220, 255)));
    activate(owner);
    QTest::qWait(20);
    const skins::TWinSkinForm* form = TSkinManager::instance(false)->formOf(owner);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->framed());
    EXPECT_EQ(counter.hides, 0);
    EXPECT_TRUE(owner->windowHandle()->flags() & Qt::FramelessWindowHint) << "the system told";
    EXPECT_EQ(QApplication::activeWindow(), owner);
    const QMargins m = form->frameMargins();
    EXPECT_EQ(m, QMargins(4, 24, 4, 4)) << "top: one of two stacked frames";
    EXPECT_TRUE(owner->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form->windowHints() & Qt::WindowTitleHint) << "kept for the painted buttons";
    EXPECT_EQ(owner->size(), QSize(308, 228));
    EXPECT_EQ(edit->pos(), QPoint(14, 44)) << "client keeps its layout inside the frame";

    TSkinManager::instance(false)->detach(owner);
    EXPECT_FALSE(owner->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(owner->windowHandle()->flags() & Qt::FramelessWindowHint);
    EXPECT_EQ(counter.hides, 0);
    EXPECT_TRUE(owner->isVisible());
    EXPECT_EQ(owner->size(), QSize(300, 200));
    EXPECT_EQ(edit->pos(), QPoint(10, 20));
    EXPECT_NE(edit->style()->metaObject(), &skins::SkinStyle::staticMetaObject);
}

TEST_F(SkinManagerTest, ReattachingControlsWithStyleSheetsKeepsTheirOwnLook)
{
    QWidget* owner = window();
    auto* group = new QWidget(owner);
    auto* box = new QComboBox(group);
    box->setEditable(true);
    const QString sheet = QStringLiteral("QComboBox { background: white; }");
    box->setStyleSheet(sheet);
    started(owner, testskins::skinFile("A", Qt::white));
    activate(owner);
    TSkinManager* manager = TSkinManager::instance(false);
    for (int round = 0; round < 3; ++round) {
        ASSERT_NE(manager->formOf(owner), nullptr);
        EXPECT_TRUE(box->styleSheet().isEmpty()) << "set aside while skinned";
        manager->detach(owner);
        EXPECT_EQ(box->styleSheet(), sheet);
        EXPECT_TRUE(manager->attach(owner, false));
        QCoreApplication::processEvents();
        (void)owner->grab();
    }
}

TEST_F(SkinManagerTest, SwitchingAppliesAQuarterSecondLaterOncePerRequest)
{
    QWidget* owner = window();
    QWidget* second = window();
    skins::TSkinData* data = started(owner, testskins::skinFile("A", Qt::white));
    int changes = 0;
    data->OnSkinChanged = [&](QObject* sender) {
        EXPECT_EQ(sender, data);
        ++changes;
    };
    skins::TSkinStore store;
    store.Store.Add().DataStream = testskins::skinFile("B", Qt::gray);
    store.Store.Add().DataStream = testskins::skinFile("C", Qt::darkGray);
    activate(owner);
    activate(second);
    ASSERT_EQ(skinNameOf(second), u"A");

    QElapsedTimer clock;
    clock.start();
    data->LoadSkinItem(&store, 0);
    EXPECT_EQ(TSkinManager::instance(false)->pendingAction(), TSkinManager::paRefresh);
    QTest::qWait(150);
    if (clock.elapsed() < 240) {
        EXPECT_EQ(skinNameOf(owner), u"A") << "not before the quarter second";
    }
    QTRY_COMPARE_WITH_TIMEOUT(skinNameOf(owner), QStringLiteral("B"), 2000);
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_EQ(skinNameOf(second), u"B");
    EXPECT_EQ(changes, 1);

    // Twice in a row: the second request replaces the first, one change is applied.
    data->LoadSkinItem(&store, 1);
    data->LoadSkinItem(&store, 1);
    QTRY_COMPARE_WITH_TIMEOUT(skinNameOf(second), QStringLiteral("C"), 2000);
    QTest::qWait(300);
    EXPECT_EQ(changes, 2);

    // An index past the items does nothing at all.
    data->LoadSkinItem(&store, 2);
    data->LoadSkinItem(&store, -1);
    EXPECT_EQ(TSkinManager::instance(false)->pendingAction(), TSkinManager::paNone);
    EXPECT_EQ(data->skin()->skinName, u"C");
}

TEST_F(SkinManagerTest, BadStoreItemsLeaveTheSkinInUse)
{
    QWidget* owner = window();
    skins::TSkinData* data = started(owner, testskins::skinFile("A", Qt::white));
    activate(owner);
    skins::TSkinStore store;
    store.Store.Add().DataStream = testskins::skinFile("Old", Qt::gray, 19999);
    store.Store.Add().DataStream = testskins::skinFile("Cut", Qt::gray).first(40);
    store.Store.Add().DataStream = QByteArray();

    testsupport::MessageRecorder messages;
    for (int i = 0; i < 3; ++i)
        data->LoadSkinItem(&store, i);
    ASSERT_EQ(messages.texts().size(), 3);
    EXPECT_EQ(messages.texts()[0],
              QStringLiteral("This is Older Skin File\nPlease update to new version !"));
    EXPECT_TRUE(messages.texts()[1].startsWith(u"The skin file is damaged"))
        << messages.texts()[1].toStdString();
    EXPECT_TRUE(data->skinLoaded());
    EXPECT_EQ(data->skin()->skinName, u"A");
    EXPECT_EQ(TSkinManager::instance(false)->pendingAction(), TSkinManager::paNone);
    EXPECT_EQ(skinNameOf(owner), u"A");
}

TEST_F(SkinManagerTest, ASkinReadAheadIsTakenOnlyForTheSameBytesAndFailsAsOnTheSpot)
{
    QWidget* owner = window();
    skins::TSkinData data(owner);
    skins::readSkinAhead(testskins::skinFile("Ahead", Qt::white));
    data.setSkinStream(testskins::skinFile("Other", Qt::gray));
    EXPECT_EQ(data.skin()->skinName, u"Other");
    data.setSkinStream(testskins::skinFile("Ahead", Qt::white));
    EXPECT_EQ(data.skin()->skinName, u"Ahead");

    const QByteArray old = testskins::skinFile("Old", Qt::gray, 19999);
    skins::readSkinAhead(old);
    testsupport::MessageRecorder messages;
    data.setSkinStream(old);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral(
                                    "This is Older Skin File\nPlease update to new version !")});
    EXPECT_EQ(data.skin()->skinName, u"Ahead") << "the skin in use stays";
}

TEST_F(SkinManagerTest, AnOlderSkinAtStartTurnsSkinningOff)
{
    QWidget* owner = window();
    testsupport::MessageRecorder messages;
    skins::TSkinData* data = started(owner, testskins::skinFile("Old", Qt::gray, 19999));
    EXPECT_EQ(messages.texts().size(), 1);
    EXPECT_FALSE(data->Active());
    activate(owner);
    EXPECT_EQ(TSkinManager::instance(false)->formOf(owner), nullptr);
}

TEST_F(SkinManagerTest, MessageBoxesAndMenusAreSkinnedWhenTheyAppear)
{
    QWidget* owner = window();
    started(owner, testskins::skinFile("A", Qt::white));
    activate(owner);
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Quillmark"),
                                QStringLiteral("Hello"), QMessageBox::Ok, owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    activate(box);
    EXPECT_NE(TSkinManager::instance(false)->formOf(box), nullptr);
    EXPECT_EQ(TSkinManager::windowClassName(box), u"TMessageForm");
    QTest::qWait(20);
    EXPECT_TRUE(box->windowFlags() & Qt::FramelessWindowHint);
    box->close();

    QMenu menu(owner);
    menu.addAction(QStringLiteral("One"));
    menu.popup(owner->mapToGlobal(QPoint(10, 10)));
    QCoreApplication::processEvents();
    EXPECT_TRUE(TSkinManager::instance(false)->skinnedMenus().contains(&menu));
    menu.close();
}

TEST_F(SkinManagerTest, SwitchingActiveOffAndOnDetachesAndReattachesLater)
{
    QWidget* owner = window();
    QWidget* second = window();
    skins::TSkinData* data = started(owner, testskins::skinFile("A", Qt::white));
    activate(owner);
    activate(second);
    TSkinManager* manager = TSkinManager::instance(false);
    ASSERT_EQ(manager->skinnedWindows().size(), 2);

    data->setActive(false);
    EXPECT_EQ(manager->pendingAction(), TSkinManager::paDeactivate);
    EXPECT_EQ(manager->skinnedWindows().size(), 2) << "not at once";
    QTRY_VERIFY_WITH_TIMEOUT(manager->skinnedWindows().isEmpty(), 2000);
    EXPECT_FALSE(manager->skinning());
    EXPECT_FALSE(owner->windowFlags() & Qt::FramelessWindowHint);

    data->setActive(true);
    EXPECT_EQ(manager->pendingAction(), TSkinManager::paActivate);
    QTRY_COMPARE_WITH_TIMEOUT(manager->skinnedWindows().size(), 2, 2000);
}

TEST_F(SkinManagerTest, AMessageBoxTooNarrowForItsTitleIsWidened)
{
    QWidget* owner = window();
    started(owner, testskins::skinFile("A", Qt::white));
    activate(owner);
    QMessageBox box(QMessageBox::Information,
                    QStringLiteral("A title far too long for the little box it belongs to"),
                    QStringLiteral("Hi"), QMessageBox::Ok, owner);
    box.show();
    QCoreApplication::processEvents();
    const int before = box.width();
    activate(&box);
    QTest::qWait(20);
    const skins::TWinSkinForm* form = TSkinManager::instance(false)->formOf(&box);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->framed());
    const int frame = form->frameMargins().left() + form->frameMargins().right();
    EXPECT_GT(box.width(), before + frame) << box.layout()->contentsMargins().left() << " "
                                           << box.minimumWidth() << " " << box.maximumWidth();
    EXPECT_GE(box.width(), QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()));
}

TEST_F(SkinManagerTest, SkinFileLoadsAnExistingFileOnly)
{
    QWidget* owner = window();
    skins::TSkinData* data = started(owner, testskins::skinFile("A", Qt::white));
    activate(owner);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    data->setSkinFile(dir.filePath(QStringLiteral("missing.skin")));
    EXPECT_EQ(TSkinManager::instance(false)->pendingAction(), TSkinManager::paNone);
    EXPECT_EQ(data->skin()->skinName, u"A");

    const QString path = dir.filePath(QStringLiteral("b.skin"));
    testsupport::writeFile(path, testskins::skinFile("B", Qt::gray));
    data->setSkinFile(path);
    EXPECT_EQ(data->SkinFile(), path);
    QTRY_COMPARE_WITH_TIMEOUT(skinNameOf(owner), QStringLiteral("B"), 2000);
}

TEST_F(SkinManagerTest, SystemMenuOffersTheWindowCommands)
{
    QWidget* owner = window();
    owner->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    started(owner, testskins::skinFile("A", Qt::white));
    activate(owner);
    skins::TWinSkinForm* form = TSkinManager::instance(false)->formOf(owner);
    ASSERT_NE(form, nullptr);
    QStringList texts;
    for (QAction* a : form->systemMenu()->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, QStringList({QStringLiteral(" Restore "), QStringLiteral(" Minimize "),
                                  QStringLiteral("-"), QStringLiteral(" Close \tShift+F4")}));
}

TEST_F(SkinManagerTest, SwitchBeforeAnyActivationWaitsForTheFirstWindow)
{
    QWidget* owner = window();
    skins::TSkinData* data = started(owner, testskins::skinFile("A", Qt::white));
    skins::TSkinStore store;
    store.Store.Add().DataStream = testskins::skinFile("B", Qt::gray);
    data->LoadSkinItem(&store, 0);
    EXPECT_FALSE(TSkinManager::instance(false)->timerActive());
    activate(owner);
    EXPECT_EQ(skinNameOf(owner), u"B") << "attached with the skin read last";
}

TEST(SkinStoreTest, NamesAreUniqueAndDefaultToTheId)
{
    skins::TSkinStore store;
    skins::TSkinCollectionItem& a = store.Store.Add();
    skins::TSkinCollectionItem& b = store.Store.Add();
    EXPECT_EQ(a.Name(), u"SkinItem0");
    EXPECT_EQ(b.Name(), u"SkinItem1");
    EXPECT_EQ(b.ID(), 1);
    try {
        b.setName(QStringLiteral("SkinItem0"));
        ADD_FAILURE() << "duplicate accepted";
    } catch (const platform::EError& e) {
        EXPECT_EQ(e.message(), u"The name SkinItem0 is already used.");
    }
    a.setName(QStringLiteral("Blue"));
    b.DataStream = QByteArray(12, 'x');
    EXPECT_EQ(b.DataSize(), 12);
    EXPECT_EQ(store.Store.Add().Name(), u"SkinItem2");
}

TEST(SkinDataTest, PropertiesAndSkin3rd)
{
    QWidget owner;
    skins::TSkinData data(&owner);
    EXPECT_FALSE(data.Active());
    EXPECT_EQ(data.DisableTag, 99);
    EXPECT_EQ(data.Skin3rd.size(), 95);
    EXPECT_TRUE(data.SkinControls.contains(skins::xcSystemMenu));
    EXPECT_FALSE(data.SkinControls.contains(skins::xcFastReport));
    EXPECT_EQ(data.SkinStore(), u"(none)");
    EXPECT_EQ(skins::TSkinData::Version(), u"2.60.5.03");
    EXPECT_EQ(data.skin3rdKind(QStringLiteral("tlmdedit")), u"edit");
    EXPECT_EQ(data.skin3rdKind(QStringLiteral("TTBDock")), u"panel");
    EXPECT_EQ(data.skin3rdKind(QStringLiteral("TTBDoc")), QString()) << "whole class name";
    EXPECT_EQ(data.skin3rdKind(QStringLiteral("QLineEdit")), QString());
    data.setSkinStream(testskins::skinFile("A", Qt::white));
    EXPECT_EQ(data.SkinStore(), u"(Good)");
}

} // namespace
