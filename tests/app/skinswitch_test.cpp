#include "app/form1.h"
#include "settings/calibrationpanel.h"
#include "skins/skindata.h"
#include "skins/skinmanager.h"
#include "skins/winskinform.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

using skins::TSkinManager;

class SkinSwitchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TSkinManager::shutdown();
        ASSERT_TRUE(m_dir.isValid());
        m_form = std::make_unique<app::TForm1>(m_dir.filePath(QStringLiteral("myini.ini")));
        m_form->Timer1->stop();
        m_form->SkinData1->Loaded();
        activate(m_form.get());
    }
    void TearDown() override
    {
        m_other.reset();
        m_form.reset();
        TSkinManager::shutdown();
    }

    static void activate(QWidget* w)
    {
        w->show();
        QApplication::setActiveWindow(w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        QTest::qWait(20);
    }

    static QString skinOf(QWidget* w)
    {
        const skins::TWinSkinForm* form = TSkinManager::instance(false)->formOf(w);
        return form && form->skin() ? form->skin()->skinName : QStringLiteral("(none)");
    }

    QTemporaryDir m_dir;
    std::unique_ptr<app::TForm1> m_form;
    std::unique_ptr<QWidget> m_other;
};

TEST_F(SkinSwitchTest, BuiltInSkinAtStartCoversTheControls)
{
    ASSERT_TRUE(m_form->SkinData1->skinLoaded());
    EXPECT_EQ(skinOf(m_form.get()), u"Quillmark");
    const skins::TWinSkinForm* form = TSkinManager::instance(false)->formOf(m_form.get());
    ASSERT_TRUE(form->framed());
    const QWidget* controls[] = {m_form->GroupBox1, m_form->Edit3, m_form->ComboBox1,
                                 m_form->Panel1->Button4};
    for (const QWidget* control : controls)
        EXPECT_TRUE(form->isControlSkinned(control)) << control->objectName().toStdString();
    // The client keeps its size inside the painted frame.
    EXPECT_EQ(m_form->size(), QSize(874, 535).grownBy(form->frameMargins()));
    EXPECT_EQ(m_form->GroupBox1->pos(),
              QPoint(10, 328) + QPoint(form->frameMargins().left(), form->frameMargins().top()));
}

TEST_F(SkinSwitchTest, SkinButtonsSwitchEveryWindowAQuarterSecondLater)
{
    m_other = std::make_unique<QWidget>();
    m_other->resize(200, 100);
    activate(m_other.get());
    ASSERT_EQ(skinOf(m_other.get()), u"Quillmark");
    int changes = 0;
    m_form->SkinData1->OnSkinChanged = [&](QObject*) { ++changes; };

    const struct
    {
        QPushButton* button;
        const char* skin;
    } presses[] = {{m_form->Panel1->Button4, "Sky"},
                   {m_form->Panel1->Button6, "Night"},
                   {m_form->Panel1->Button6, "Night"}};
    int expectedChanges = 0;
    for (const auto& press : presses) {
        SCOPED_TRACE(press.skin);
        const QString before = skinOf(m_form.get());
        QElapsedTimer clock;
        clock.start();
        press.button->click();
        QTest::qWait(100);
        if (clock.elapsed() < 240) {
            EXPECT_EQ(skinOf(m_form.get()), before) << "not before the quarter second";
        }
        QTRY_VERIFY_WITH_TIMEOUT(changes == expectedChanges + 1, 2000);
        ++expectedChanges;
        EXPECT_GE(clock.elapsed(), 250);
        EXPECT_EQ(skinOf(m_form.get()), QString::fromLatin1(press.skin));
        EXPECT_EQ(skinOf(m_other.get()), QString::fromLatin1(press.skin));
    }
    QTest::qWait(300);
    EXPECT_EQ(changes, 3) << "once per press, a repeated press reapplies";
}

} // namespace
