// 切换操作员 and closing the main frame close every window, however it was
// opened: from the menus, from inside 权限管理 (权限查询, 权限变更记录, the
// group rights editor), or one whose owner closed before it. Each is asked as
// when it is closed by hand, and one that stays open stops the switch.
#include "app/main_window.h"
#include "app/module_windows.h"
#include "common/list_view.h"
#include "common/popup_menu.h"
#include "host/functions.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "rightsetup/w_right_right_setup.h"
#include "tests/support/frame_driver.h"
#include "tests/support/modal_responder.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/test_db.h"
#include "usergroup/w_right_setup.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

using host::Answer;

namespace {

const QString kEditor = QStringLiteral("w_right_right_setup");

class SwitchOperatorTest : public testing_support::SampleDbTest {
protected:
    void SetUp() override
    {
        SampleDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        app::registerWindows();
        host::gs_user_id = QStringLiteral("admin");
        frame = std::make_unique<app::MainWindow>(url());
        frame->show();
        testing_support::pumpEvents();
    }
    void TearDown() override
    {
        host::WindowRegistry::closeAll();
        testing_support::pumpEvents();
        frame.reset();
        SampleDbTest::TearDown();
    }

    usergroup::w_right_setup* openManager()
    {
        auto* manager = qobject_cast<usergroup::w_right_setup*>(app::openWindow(app::kRightSetupWindow));
        testing_support::pumpEvents();
        return manager;
    }
    // Runs a command of the manager's popup menu, the manager being the
    // window the operator works in.
    host::Window* fromManager(usergroup::w_right_setup* manager, const char* command, const QString& opens)
    {
        manager->activateWindow();
        testing_support::pumpEvents();
        auto menu = manager->popupMenuFor(manager->lv_1()->selectedIndex());
        auto* action = menu->findChild<QAction*>(QLatin1String(command));
        EXPECT_NE(action, nullptr) << command;
        if (action)
            action->trigger();
        testing_support::pumpEvents();
        return host::WindowRegistry::instance(opens);
    }
    void selectGroup(usergroup::w_right_setup* manager, const QString& id)
    {
        common::ListView* list = manager->lv_1();
        for (int i = 1; i <= list->totalItems(); ++i) {
            if (list->data(i) == id)
                list->selectItem(i);
        }
        testing_support::pumpEvents();
    }
    // The rights editor of group 003 opened from the manager, with a row
    // added as the module list adds it and not saved: closing it asks first.
    rightsetup::w_right_right_setup* openEditedEditor(usergroup::w_right_setup* manager)
    {
        selectGroup(manager, QStringLiteral("003"));
        auto* editor = qobject_cast<rightsetup::w_right_right_setup*>(fromManager(manager, "m_group_right", kEditor));
        if (editor) {
            editor->ib_canexit = false;
            const long row = editor->dw_1->insertRow(0);
            editor->dw_1->setItem(row, QStringLiteral("group_id"), QStringLiteral("003"));
            editor->dw_1->setItem(row, QStringLiteral("m_item_code"), QStringLiteral("w302"));
        }
        return editor;
    }
    // The windows not closed, by class.
    static QStringList openWindows()
    {
        QStringList names;
        for (host::Window* window : host::Window::all()) {
            if (!window->isClosed())
                names << window->objectName();
        }
        names.sort();
        return names;
    }
    // Switches to E004 (no right on 权限管理); true when the login dialog was
    // shown and the switch went through.
    bool switchToE004(bool* loginShown)
    {
        testing_support::ModalResponder responder([](QWidget* login) {
            ASSERT_EQ(login->objectName(), "w_login");
            login->findChild<QLineEdit*>("sle_operator")->setText("E004");
            login->findChild<QLineEdit*>("sle_password")->setText("123");
            login->findChild<QPushButton*>("cb_ok")->click();
        }, 1000);
        const bool switched = frame->switchOperator();
        testing_support::pumpEvents();
        *loginShown = responder.handled();
        return switched;
    }

    testing_support::ScriptedMessages messages;
    std::unique_ptr<app::MainWindow> frame;
};

TEST_P(SwitchOperatorTest, ClosesTheWindowsOpenedInsideOthersAndTheNextOperatorCannotReachThem)
{
    usergroup::w_right_setup* manager = openManager();
    ASSERT_NE(manager, nullptr);
    // 权限查询 from the manager, whose owner then closes: it passes to the frame.
    host::Window* query = fromManager(manager, "m_right_query", app::kRightQueryWindow);
    ASSERT_NE(query, nullptr);
    EXPECT_EQ(query->parentWidget(), manager);
    ASSERT_TRUE(manager->close());
    testing_support::pumpEvents();
    ASSERT_TRUE(query->isVisible());
    EXPECT_EQ(query->parentWidget(), frame.get());

    manager = openManager();
    ASSERT_NE(manager, nullptr);
    host::Window* journal = fromManager(manager, "m_right_journal", app::kJournalWindow);
    ASSERT_NE(journal, nullptr);
    EXPECT_EQ(journal->parentWidget(), manager);
    selectGroup(manager, QStringLiteral("003"));
    host::Window* editor = fromManager(manager, "m_group_right", kEditor);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->parentWidget(), manager);
    ASSERT_EQ(openWindows(), QStringList({"w_right_journal", "w_right_query", "w_right_right_setup", "w_right_setup"}));

    bool loginShown = false;
    EXPECT_TRUE(switchToE004(&loginShown));
    EXPECT_TRUE(loginShown);
    EXPECT_EQ(host::gs_user_id, "E004");
    EXPECT_EQ(openWindows(), QStringList());
    for (const QString& name : {app::kRightSetupWindow, app::kRightQueryWindow, app::kJournalWindow, kEditor})
        EXPECT_EQ(host::WindowRegistry::instance(name), nullptr) << name.toStdString();
    EXPECT_TRUE(messages.shown().isEmpty());

    // Neither window opens again for the new operator.
    EXPECT_EQ(app::openWindow(app::kRightQueryWindow), nullptr);
    EXPECT_EQ(app::openWindow(app::kJournalWindow), nullptr);
    EXPECT_EQ(messages.texts(), QStringList({"您没有打开「权限查询」的权限.", "您没有打开「权限变更记录」的权限."}));
    EXPECT_EQ(openWindows(), QStringList());
}

TEST_P(SwitchOperatorTest, AWindowThatStaysOpenStopsTheSwitchBeforeTheLogin)
{
    usergroup::w_right_setup* manager = openManager();
    ASSERT_NE(manager, nullptr);
    ASSERT_NE(fromManager(manager, "m_right_query", app::kRightQueryWindow), nullptr);
    QPointer<rightsetup::w_right_right_setup> editor = openEditedEditor(manager);
    ASSERT_NE(editor, nullptr);

    messages.answer(Answer::Cancel);
    bool loginShown = false;
    EXPECT_FALSE(switchToE004(&loginShown));
    EXPECT_FALSE(loginShown);
    EXPECT_EQ(messages.texts(), QStringList({"数据已发生改变, 保存吗?"}));
    EXPECT_EQ(host::gs_user_id, "admin");
    ASSERT_FALSE(editor.isNull());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(openWindows().contains("w_right_setup"));

    // Answered No, the rows are dropped and the switch goes through.
    messages.clear();
    messages.answer(Answer::No);
    EXPECT_TRUE(switchToE004(&loginShown));
    EXPECT_TRUE(loginShown);
    EXPECT_EQ(host::gs_user_id, "E004");
    EXPECT_EQ(openWindows(), QStringList());
    EXPECT_EQ(count("s_group_power", "group_id = ? and m_item_code = ?", {"003", "w302"}), 0);
}

TEST_P(SwitchOperatorTest, ClosingTheFrameClosesEveryWindowOrStaysOpenWithTheOneThatRefuses)
{
    usergroup::w_right_setup* manager = openManager();
    ASSERT_NE(manager, nullptr);
    ASSERT_NE(fromManager(manager, "m_right_query", app::kRightQueryWindow), nullptr);
    ASSERT_NE(fromManager(manager, "m_right_journal", app::kJournalWindow), nullptr);
    ASSERT_NE(openEditedEditor(manager), nullptr);
    QSignalSpy closed(frame.get(), &app::MainWindow::closed);

    messages.answer(Answer::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(openWindows().contains("w_right_right_setup"));

    messages.answer(Answer::No);
    EXPECT_TRUE(frame->close());
    testing_support::pumpEvents();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(openWindows(), QStringList());
}

}  // namespace

WMS_INSTANTIATE_DB_TESTS(SwitchOperatorTest);
