// The add and edit department dialogs.
#include "tests/department/manager_fixture.h"

#include "department/w_right_department_add.h"
#include "department/w_right_department_edit.h"
#include "host/transaction.h"
#include "platform/datawindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace department_test;

class DepartmentAddTest : public DepartmentTest {
protected:
    department::w_right_department_add* openDialog()
    {
        return open<department::w_right_department_add>("w_right_department_add");
    }
    void type(department::w_right_department_add* dialog, const QString& id, const QString& name,
              const QString& memo = {})
    {
        ASSERT_EQ(dialog->dw_1()->setItem(1, "dept_id", id), 1);
        ASSERT_EQ(dialog->dw_1()->setItem(1, "dept_name", name), 1);
        ASSERT_EQ(dialog->dw_1()->setItem(1, "memo", memo), 1);
    }
};

TEST_P(DepartmentAddTest, OpensWithOneEmptyRecordAndItsButtons)
{
    auto* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "增加部门");
    EXPECT_EQ(dialog->dw_1()->dataObject(), "d_right_department_freeform");
    EXPECT_EQ(dialog->dw_1()->rowCount(), 1);
    EXPECT_EQ(dialog->cb_1()->text(), "增加(&A)");
    EXPECT_EQ(dialog->cb_2()->text(), "取消(&C)");
    EXPECT_TRUE(dialog->cb_1()->isDefault());
    dialog->cb_2()->click();
    pump();
    EXPECT_EQ(host::WindowRegistry::instance("w_right_department_add"), nullptr);
}

TEST_P(DepartmentAddTest, EmptyAndDuplicateValuesAreRefusedInOrder)
{
    auto* dialog = openDialog();
    dialog->cb1Clicked();
    type(dialog, "   ", "");
    dialog->cb1Clicked();
    type(dialog, "D09", "  ");
    dialog->cb1Clicked();
    type(dialog, " D02 ", "重复部门");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"部门编号不能为空.", "部门编号不能为空.", "部门名称不能为空.",
                                             "该部门编号已存在，请改用其它编号."}));
    EXPECT_EQ(messages.titles(), QStringList({"提示", "提示", "提示", "提示"}));
    EXPECT_EQ(count("s_dept"), 3);
    // The values stay for the operator to correct.
    EXPECT_EQ(dialog->dw_1()->getItemString(1, "dept_id"), " D02 ");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(DepartmentAddTest, StoresTheCodeTrimmedAndTheOtherFieldsAsTyped)
{
    auto* w = openManager();
    selectTree("D01");  // the new department is added to whatever list shows
    auto* dialog = openDialog();
    type(dialog, " D09", "运输部 ", "车队");
    dialog->cb1Clicked();
    type(dialog, "D10", "质检部");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加成功.", "增加成功."}));
    EXPECT_EQ(column("s_dept", "dept_name", "dept_id", "D09").toString(), "运输部 ");
    EXPECT_EQ(column("s_dept", "memo", "dept_id", "D09").toString(), "车队");
    EXPECT_EQ(count("s_dept", "dept_id = ?", {"D10"}), 1);
    EXPECT_EQ(treeData(), QStringList({"D01", "D02", "D03", "D09", "D10"}));
    EXPECT_EQ(treeLabels().mid(3), QStringList({"运输部", "质检部"}));
    EXPECT_EQ(listData(), QStringList({"E001", "E002", "E003", "D09", "D10"}));
    EXPECT_EQ(w->lv_1()->picture(4), 1);
    // A fresh record for the next department.
    EXPECT_EQ(dialog->dw_1()->rowCount(), 1);
    EXPECT_TRUE(dialog->dw_1()->getItemString(1, "dept_id").isEmpty());
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(DepartmentAddTest, WorksWithoutAnOpenManager)
{
    auto* dialog = openDialog();
    type(dialog, "D09", "运输部");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加成功."}));
    EXPECT_EQ(count("s_dept", "dept_id = ?", {"D09"}), 1);
}

TEST_P(DepartmentAddTest, AFailedSaveIsRolledBackAndKeepsTheInput)
{
    refuse("insert", "s_dept");
    auto* dialog = openDialog();
    type(dialog, "D09", "运输部");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加失败."}));
    EXPECT_EQ(count("s_dept"), 3);
    EXPECT_EQ(dialog->dw_1()->getItemString(1, "dept_id"), "D09");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

class DepartmentEditTest : public DepartmentTest {
protected:
    department::w_right_department_edit* openDialog(const QString& id)
    {
        return open<department::w_right_department_edit>("w_right_department_edit", id);
    }
};

TEST_P(DepartmentEditTest, SavesNameAndRemarkOfTheDepartment)
{
    auto* dialog = openDialog("D02");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "编辑部门信息");
    EXPECT_EQ(dialog->cb_1()->text(), "修改(&E)");
    EXPECT_EQ(dialog->dw_1()->getItemString(1, "dept_name"), "财务部");
    auto* idField = qobject_cast<QLineEdit*>(dialog->dw_1()->editorFor("dept_id"));
    ASSERT_NE(idField, nullptr);
    EXPECT_TRUE(idField->isReadOnly());
    ASSERT_EQ(dialog->dw_1()->setItem(1, "dept_name", "财务结算部"), 1);
    ASSERT_EQ(dialog->dw_1()->setItem(1, "memo", "月结"), 1);
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"修改成功."}));
    EXPECT_EQ(column("s_dept", "dept_name", "dept_id", "D02").toString(), "财务结算部");
    EXPECT_EQ(column("s_dept", "memo", "dept_id", "D02").toString(), "月结");
    EXPECT_EQ(column("s_dept", "dept_name", "dept_id", "D01").toString(), "仓储部");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(DepartmentEditTest, AnEmptyNameIsRefused)
{
    auto* dialog = openDialog("D02");
    ASSERT_EQ(dialog->dw_1()->setItem(1, "dept_name", "  "), 1);
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"部门名称不能为空."}));
    EXPECT_EQ(column("s_dept", "dept_name", "dept_id", "D02").toString(), "财务部");
}

TEST_P(DepartmentEditTest, AnUnknownCodeShowsAnEmptyFormAndSavesNothing)
{
    auto* dialog = openDialog("D99");
    EXPECT_EQ(dialog->dw_1()->rowCount(), 0);
    dialog->cb1Clicked();
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(count("s_dept"), 3);
}

TEST_P(DepartmentEditTest, AFailedSaveIsRolledBackAndReported)
{
    refuse("update", "s_dept");
    auto* dialog = openDialog("D02");
    ASSERT_EQ(dialog->dw_1()->setItem(1, "dept_name", "财务结算部"), 1);
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"修改失败."}));
    EXPECT_EQ(column("s_dept", "dept_name", "dept_id", "D02").toString(), "财务部");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(DepartmentEditTest, ADepartmentDeletedMeanwhileIsNotReportedAsSaved)
{
    auto* dialog = openDialog("D02");
    exec("delete from s_dept where dept_id = ?", {"D02"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    ASSERT_EQ(dialog->dw_1()->setItem(1, "dept_name", "财务结算部"), 1);
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"修改失败."}));
    EXPECT_EQ(count("s_dept"), 2);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

WMS_INSTANTIATE_DB_TESTS(DepartmentAddTest);
WMS_INSTANTIATE_DB_TESTS(DepartmentEditTest);
