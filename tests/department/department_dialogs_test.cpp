// The add department dialog with the department manager (what every add and
// edit dialog does is in tests/common/record_dialogs_test.cpp).
#include "tests/department/manager_fixture.h"

#include "department/w_right_department_add.h"
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

WMS_INSTANTIATE_DB_TESTS(DepartmentAddTest);
