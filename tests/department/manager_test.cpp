// The department manager: its tree and list, buttons, popup menu, double
// click, renames, deletions and the events that open the dialogs.
#include "tests/department/manager_fixture.h"

#include "department/m_right_dept.h"
#include "department/w_right_department_edit.h"
#include "department/w_right_employee_batchadd.h"
#include "department/w_right_employee_batchdel.h"
#include "department/w_right_employee_edit.h"
#include "common/pictures.h"
#include "host/help.h"
#include "host/transaction.h"
#include "platform/datawindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace department_test;

namespace {

const QStringList kCommands = {"m_add_dept",     "m_modify_dept",     "m_编辑部门",      "m_delete_dept",
                               "m_0",            "m_add_employee",    "m_modify_employee", "m_edit_employee",
                               "m_delete_employee", "m_batchadd",     "m_batchdel",       "m_refresh"};
const QStringList kRootCommands = {"m_add_dept", "m_modify_dept", "m_编辑部门", "m_delete_dept", "m_batchadd",
                                   "m_batchdel", "m_refresh"};
const QStringList kEmployeeCommands = {"m_add_employee", "m_modify_employee", "m_edit_employee",
                                       "m_delete_employee", "m_refresh"};

QStringList visibleCommands(const common::PopupMenu& menu, bool enabledOnly = false)
{
    QStringList names;
    for (QAction* action : menu.commands()) {
        if (action->isVisible() && (!enabledOnly || action->isEnabled()))
            names << action->objectName();
    }
    return names;
}

}  // namespace

TEST(DepartmentMenu, HasOneTopItemWithTwelveItemsAndTheSeparator)
{
    department::m_right_dept menu;
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_TRUE(menu.title().isEmpty());
    EXPECT_EQ(menu.topItem()->objectName(), "m_operate");
    EXPECT_EQ(menu.topItem()->title(), "操作");
    QStringList names;
    QStringList texts;
    for (QAction* action : menu.commands()) {
        names << action->objectName();
        if (!action->isSeparator())
            texts << action->text();
        EXPECT_TRUE(action->isVisible());
        EXPECT_TRUE(action->isEnabled());
    }
    EXPECT_EQ(names, kCommands);
    EXPECT_TRUE(menu.command("m_0")->isSeparator());
    EXPECT_EQ(texts, QStringList({"增加部门", "修改名称", "编辑部门", "删除部门", "增加员工", "修改姓名", "编辑员工",
                                  "删除员工", "批导入员工", "批删除员工", "刷新"}));
}

TEST(DepartmentMenu, EventCommandsDoNothingWithoutAnOpenManager)
{
    testing_support::ScriptedMessages messages;
    department::m_right_dept menu;
    for (const char* name : {"m_modify_dept", "m_编辑部门", "m_delete_dept", "m_modify_employee", "m_edit_employee",
                             "m_delete_employee", "m_batchadd", "m_batchdel"})
        menu.command(name)->trigger();
    EXPECT_TRUE(messages.shown().isEmpty());
}

class DepartmentManagerTest : public DepartmentTest {};

TEST_P(DepartmentManagerTest, OpensWithTheDepartmentsAndTheFrameValues)
{
    auto* w = openManager();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "部门管理");
    EXPECT_EQ(w->tag(), "m101");
    EXPECT_TRUE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(w->rootItem()->text(0), "部门信息");
    EXPECT_EQ(common::ManagerFrame::itemData(w->rootItem()), "000");
    EXPECT_EQ(treeLabels(), QStringList({"仓储部", "财务部", "信息部"}));
    EXPECT_EQ(treeData(), QStringList({"D01", "D02", "D03"}));
    EXPECT_EQ(listData(), treeData());
    EXPECT_EQ(w->entityView()->objectName(), "dw_dept");
    EXPECT_EQ(w->memberView()->objectName(), "dw_employee");
    EXPECT_EQ(w->pb_batch()->objectName(), "pb_batch");
    EXPECT_EQ(w->pb_batch()->toolTip(), "批导入员工");
    EXPECT_EQ(w->pb_batchdel()->objectName(), "pb_batchdel");
    EXPECT_EQ(w->pb_batchdel()->toolTip(), "批删除员工");
    EXPECT_EQ(w->pb_close()->toolTip(), "关闭部门管理");
    EXPECT_FALSE(w->pb_batch()->isEnabled());
    EXPECT_FALSE(w->pb_batch()->isHidden());
    // Every picture the window names is one of the module's own.
    for (const char* name : {"..\\pic\\客户服务.bmp", "..\\pic\\2import.bmp", "..\\pic\\stockinprp.bmp",
                             "Structure!", "Custom020!", "Custom050!"})
        EXPECT_FALSE(common::picture(name).isNull()) << name;
    EXPECT_FALSE(w->pb_batch()->icon().isNull());

    selectTree("D01");
    EXPECT_EQ(listData(), QStringList({"E001", "E002", "E003"}));
    EXPECT_EQ(listLabels(), QStringList({"张伟", "王芳", "李娜"}));
    EXPECT_EQ(w->lv_1()->picture(1), 2);
    EXPECT_TRUE(w->pb_batch()->isHidden());
    EXPECT_TRUE(w->pb_batchdel()->isHidden());
}

TEST_P(DepartmentManagerTest, ADepartmentCodeWithAQuoteListsItsEmployees)
{
    exec("insert into s_dept (dept_id, dept_name, memo) values (?, ?, ?)", {"D'9", "外协部", ""});
    exec("insert into s_employee (id, name, dept_id, status) values (?, ?, ?, ?)", {"E900", "外协", "D'9", "1"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    openManager();
    selectTree("D'9");
    EXPECT_EQ(listData(), QStringList({"E900"}));
}

TEST_P(DepartmentManagerTest, PopupCommandsForTheRootAndADepartmentHitAndMiss)
{
    auto* w = openManager();
    auto hit = w->popupMenuFor(1);
    EXPECT_EQ(visibleCommands(*hit), kRootCommands);
    EXPECT_EQ(visibleCommands(*hit, true), kRootCommands);
    auto miss = w->popupMenuFor(0);
    EXPECT_EQ(visibleCommands(*miss), kRootCommands);
    EXPECT_EQ(visibleCommands(*miss, true), QStringList({"m_add_dept", "m_refresh"}));

    selectTree("D02");
    auto member = w->popupMenuFor(1);
    EXPECT_EQ(visibleCommands(*member), kEmployeeCommands);
    EXPECT_EQ(visibleCommands(*member, true), kEmployeeCommands);
    auto memberMiss = w->popupMenuFor(0);
    EXPECT_EQ(visibleCommands(*memberMiss), kEmployeeCommands);
    EXPECT_EQ(visibleCommands(*memberMiss, true), QStringList({"m_add_employee", "m_refresh"}));
    // The separator is never shown.
    EXPECT_FALSE(member->command("m_0")->isVisible());
    EXPECT_FALSE(hit->command("m_0")->isVisible());
}

TEST_P(DepartmentManagerTest, ClicksSetTheButtonsAndStatusText)
{
    auto* w = openManager();
    click(listIndex("D02"));
    EXPECT_TRUE(w->pb_edit()->isEnabled());
    EXPECT_TRUE(w->pb_delete()->isEnabled());
    EXPECT_TRUE(w->pb_batch()->isEnabled());
    EXPECT_TRUE(w->pb_batchdel()->isEnabled());
    EXPECT_EQ(w->st_1()->text(), "编号：D02, 名称：财务部");
    click(0);
    EXPECT_FALSE(w->pb_edit()->isEnabled());
    EXPECT_FALSE(w->pb_batch()->isEnabled());
    EXPECT_TRUE(w->st_1()->text().isEmpty());
}

TEST_P(DepartmentManagerTest, DoubleClickOpensADepartmentOnlyFromTheRoot)
{
    auto* w = openManager();
    doubleClick(listIndex("D02"));
    EXPECT_EQ(w->currentTreeItem(), treeItem("D02"));
    EXPECT_EQ(listData(), QStringList({"E004", "E005"}));
    doubleClick(1);
    EXPECT_EQ(w->currentTreeItem(), treeItem("D02"));
    EXPECT_EQ(listData(), QStringList({"E004", "E005"}));
}

TEST_P(DepartmentManagerTest, RenamingADepartmentChangesRowAndTreeLabel)
{
    auto* w = openManager();
    click(listIndex("D03"));
    w->popupMenuFor(listIndex("D03"))->command("m_modify_dept")->trigger();
    typeLabel("信息技术部");
    EXPECT_EQ(column("s_dept", "dept_name", "dept_id", "D03").toString(), "信息技术部");
    EXPECT_EQ(treeItem("D03")->text(0), "信息技术部");
    EXPECT_EQ(w->lv_1()->label(listIndex("D03")), "信息技术部");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(DepartmentManagerTest, RenamingAnEmployeeChangesTheRow)
{
    auto* w = openManager();
    selectTree("D01");
    click(listIndex("E002"));
    w->popupMenuFor(listIndex("E002"))->command("m_modify_employee")->trigger();
    typeLabel("王芳芳");
    EXPECT_EQ(column("s_employee", "name", "id", "E002").toString(), "王芳芳");
    EXPECT_EQ(w->lv_1()->label(listIndex("E002")), "王芳芳");
    EXPECT_EQ(treeItem("D01")->text(0), "仓储部");
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(DepartmentManagerTest, AFailedRenameIsUndoneAndReported)
{
    auto* w = openManager();
    selectTree("D01");
    click(listIndex("E001"));
    w->ue_rename();
    typeLabel(QString(21, QChar(u'名')));
    EXPECT_EQ(column("s_employee", "name", "id", "E001").toString(), "张伟");
    EXPECT_EQ(w->lv_1()->label(listIndex("E001")), "张伟");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].title, "数据库错误");
    EXPECT_TRUE(messages.shown()[0].text.startsWith("错误原因: "));
}

TEST_P(DepartmentManagerTest, AnsweringNoDeletesNothing)
{
    auto* w = openManager();
    click(listIndex("D02"));
    messages.answer(host::Answer::No);
    w->popupMenuFor(listIndex("D02"))->command("m_delete_dept")->trigger();
    EXPECT_EQ(count("s_dept"), 3);
    EXPECT_EQ(treeData(), QStringList({"D01", "D02", "D03"}));
}

TEST_P(DepartmentManagerTest, DeletingAnEmployeeRemovesTheRowAndTheListItem)
{
    auto* w = openManager();
    selectTree("D01");
    click(listIndex("E003"));
    messages.answer(host::Answer::Yes);
    w->popupMenuFor(listIndex("E003"))->command("m_delete_employee")->trigger();
    EXPECT_EQ(employees("D01"), QStringList({"E001", "E002"}));
    EXPECT_EQ(listData(), QStringList({"E001", "E002"}));
    EXPECT_EQ(treeData(), QStringList({"D01", "D02", "D03"}));
}

TEST_P(DepartmentManagerTest, DeletingAnEmployeeWhoIsAnOperatorSaysSoAndRemovesTheAccountToo)
{
    auto* w = openManager();
    selectTree("D01");
    click(listIndex("E002"));
    messages.answer(host::Answer::Yes);
    w->ue_delete_lvi();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, "确定进行删除操作吗?\n编号：E002, 名称：王芳\n"
              "该员工同时是操作员, 其操作员帐号和所属组将一并删除.");
    EXPECT_EQ(messages.shown()[0].defaultButton, host::Answer::No);
    // A deleted employee must not log in any more.
    EXPECT_EQ(count("s_employee", "id = ?", {"E002"}), 0);
    EXPECT_EQ(count("s_user", "id = ?", {"E002"}), 0);
    EXPECT_EQ(count("s_user_group", "user_code = ?", {"E002"}), 0);
    EXPECT_EQ(listData(), QStringList({"E001", "E003"}));
    EXPECT_EQ(count("s_user"), 4);

    // An employee who is no operator: the plain question.
    messages.clear();
    click(listIndex("E003"));
    messages.answer(host::Answer::No);
    w->ue_delete_lvi();
    EXPECT_EQ(messages.texts(), QStringList({"确定进行删除操作吗?\n编号：E003, 名称：李娜"}));
    EXPECT_EQ(count("s_employee", "id = ?", {"E003"}), 1);
}

TEST_P(DepartmentManagerTest, AFailedEmployeeDeleteChangesNothing)
{
    refuse("delete", "s_employee");
    auto* w = openManager();
    selectTree("D01");
    click(listIndex("E003"));
    messages.answer(host::Answer::Yes);
    w->ue_delete_lvi();
    EXPECT_EQ(employees("D01"), QStringList({"E001", "E002", "E003"}));
    EXPECT_EQ(listData(), QStringList({"E001", "E002", "E003"}));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(DepartmentManagerTest, EditOpensTheDialogOfTheSelectedDepartmentOrEmployee)
{
    auto* w = openManager();
    click(listIndex("D02"));
    w->pb_edit()->click();
    pump();  // ue_edit is posted
    auto* deptEdit = host::WindowRegistry::instanceOf<department::w_right_department_edit>("w_right_department_edit");
    ASSERT_NE(deptEdit, nullptr);
    EXPECT_EQ(deptEdit->stringParm(), "D02");
    EXPECT_EQ(deptEdit->dw_1()->getItemString(1, "dept_name"), "财务部");
    deptEdit->close();
    pump();

    selectTree("D01");
    click(listIndex("E002"));
    w->popupMenuFor(listIndex("E002"))->command("m_edit_employee")->trigger();
    pump();
    auto* empEdit = host::WindowRegistry::instanceOf<department::w_right_employee_edit>("w_right_employee_edit");
    ASSERT_NE(empEdit, nullptr);
    EXPECT_EQ(empEdit->stringParm(), "E002");
    EXPECT_EQ(empEdit->dw_1()->getItemString(1, "name"), "王芳");
}

TEST_P(DepartmentManagerTest, EditWithoutASelectedItemOpensNothing)
{
    auto* w = openManager();
    w->lv_1()->clearSelection();
    w->ue_edit();
    pump();
    EXPECT_EQ(host::WindowRegistry::instance("w_right_department_edit"), nullptr);
}

TEST_P(DepartmentManagerTest, BatchCommandsActOnTheDepartmentSelectedInTheRootList)
{
    auto* w = openManager();
    click(listIndex("D03"));
    QString department;
    QString caption;
    {
        testing_support::ModalResponder responder([&](QWidget* dialog) {
            auto* batch = qobject_cast<department::w_right_employee_batchadd*>(dialog);
            ASSERT_NE(batch, nullptr);
            department = batch->departmentId();
            caption = batch->windowTitle();
        });
        w->pb_batch()->click();
        pump();  // ue_batchadd is posted
        EXPECT_TRUE(responder.handled());
    }
    EXPECT_EQ(department, "D03");
    EXPECT_EQ(caption, "批量增加员工 - D03 信息部");
    EXPECT_EQ(host::WindowRegistry::instance("w_right_employee_batchadd"), nullptr);

    click(listIndex("D01"));
    {
        testing_support::ModalResponder responder([&](QWidget* dialog) {
            auto* batch = qobject_cast<department::w_right_employee_batchdel*>(dialog);
            ASSERT_NE(batch, nullptr);
            department = batch->departmentId();
            caption = batch->windowTitle();
        });
        w->popupMenuFor(listIndex("D01"))->command("m_batchdel")->trigger();
        EXPECT_TRUE(responder.handled());
    }
    EXPECT_EQ(department, "D01");
    EXPECT_EQ(caption, "批量删除员工 - D01 仓储部");
}

TEST_P(DepartmentManagerTest, BatchEventsNeedADepartmentSelectedInTheRootList)
{
    // An employee's code, or no selection, never becomes a batch's department.
    auto* w = openManager();
    w->lv_1()->clearSelection();
    w->ue_batchadd();
    selectTree("D01");
    click(listIndex("E001"));
    w->ue_batchadd();
    w->ue_batchdel();
    pump();
    EXPECT_EQ(host::WindowRegistry::instance("w_right_employee_batchadd"), nullptr);
    EXPECT_EQ(host::WindowRegistry::instance("w_right_employee_batchdel"), nullptr);
}

TEST_P(DepartmentManagerTest, AddButtonOpensTheDepartmentOrTheEmployeeDialog)
{
    auto* w = openManager();
    w->pb_add()->click();
    pump();
    auto* deptAdd = host::WindowRegistry::instance("w_right_department_add");
    ASSERT_NE(deptAdd, nullptr);
    EXPECT_EQ(deptAdd->windowTitle(), "增加部门");
    EXPECT_EQ(host::WindowRegistry::instance("w_right_employee_add"), nullptr);
    deptAdd->close();
    selectTree("D02");
    w->popupMenuFor(0)->command("m_add_employee")->trigger();
    pump();
    auto* empAdd = host::WindowRegistry::instance("w_right_employee_add");
    ASSERT_NE(empAdd, nullptr);
    EXPECT_EQ(empAdd->windowTitle(), "增加员工");
}

TEST_P(DepartmentManagerTest, F1OpensTheTopicNamedAfterTheTitleAndTheHelpRequestDoesNot)
{
    auto* w = openManager();
    w->activateWindow();
    QTest::keyClick(w->lv_1(), Qt::Key_F1);
    pump();
    ASSERT_EQ(help.topics.size(), 1);
    EXPECT_EQ(help.topics[0].second, "部门管理.mht");
    // This window has no help handler of its own.
    w->helpEvent(10, 10);
    EXPECT_EQ(help.topics.size(), 1);
}

TEST_P(DepartmentManagerTest, RootOnlyButtonsComeBackDisabledWithTheRoot)
{
    auto* w = openManager();
    doubleClick(listIndex("D01"));
    EXPECT_TRUE(w->pb_batch()->isHidden());
    w->lv1Clicked(1);
    EXPECT_TRUE(w->pb_batch()->isEnabled());  // enabled though hidden
    selectTree("000");
    EXPECT_FALSE(w->pb_batch()->isHidden());
    EXPECT_FALSE(w->pb_batch()->isEnabled());
    EXPECT_FALSE(w->pb_batchdel()->isEnabled());
    EXPECT_EQ(listData(), QStringList({"D01", "D02", "D03"}));
}

WMS_INSTANTIATE_DB_TESTS(DepartmentManagerTest);
