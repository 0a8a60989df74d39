// The dw_ control driven offscreen: grid cells and form fields typed into,
// lists picked from, edits accepted into the buffer and saved; the model
// adapter checked by QAbstractItemModelTester.
#include "host/filter.h"
#include "host/transaction.h"
#include "platform/datawindow.h"
#include "platform/expression.h"
#include "platform/grid_view.h"
#include "platform/item_delegate.h"
#include "tests/support/modal_responder.h"
#include "tests/support/test_db.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

using host::sqlca;
using platform::DataWindow;
using platform::ItemStatus;
using platform::quoteLiteral;
using testing_support::SampleDbTest;

namespace {

void typeChinese(QWidget* widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

// Picks the entry of a combo box that shows `text`, as the operator would.
bool pick(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
    return true;
}

}  // namespace

class DataWindowTest : public SampleDbTest {
protected:
    platform::GridView* gridOf(DataWindow& dw) { return qobject_cast<platform::GridView*>(dw.view()); }
};

TEST_P(DataWindowTest, TheStoreIsTheGridsModelAndPassesTheModelTester)
{
    DataWindow dw;
    ASSERT_TRUE(dw.setDataObject("d_right_right_setup"));
    auto* grid = gridOf(dw);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model(), &grid->store());
    QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    dw.setTransObject(sqlca);
    ASSERT_GT(dw.retrieve(), 0);
    ASSERT_EQ(host::f_filter(dw, "group_id = '002'"), 1);
    EXPECT_EQ(grid->model()->rowCount(), 6);
    const long row = dw.insertRow(2);
    ASSERT_EQ(dw.setItem(row, "group_id", "002"), 1);
    ASSERT_EQ(dw.setItem(row, "m_item_code", "m101"), 1);
    ASSERT_EQ(dw.deleteRow(1), 1);
    ASSERT_EQ(dw.setRow(3), 1);
    ASSERT_EQ(dw.update(), 1) << sqlca.sqlerrtext.toStdString();
    EXPECT_EQ(sqlca.commit(), 0);
    ASSERT_EQ(dw.reset(), 1);
    EXPECT_EQ(grid->model()->rowCount(), 0);
    ASSERT_TRUE(dw.setDataObject("d_right_group"));
    QAbstractItemModelTester second(gridOf(dw)->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    dw.setTransObject(sqlca);
    EXPECT_EQ(dw.retrieve(), 4);
}

TEST_P(DataWindowTest, RightsGridShowsNamesAndCodeTextsAndTakesEdits)
{
    DataWindow dw;
    dw.setObjectName("dw_1");
    ASSERT_TRUE(dw.setDataObject("d_right_right_setup"));
    dw.resize(600, 400);
    dw.show();
    ASSERT_EQ(host::f_filter(dw, "group_id = " + quoteLiteral("002")), 1);
    ASSERT_EQ(dw.getChild("m_item_code")->rowCount(), 10);
    auto* grid = gridOf(dw);
    auto* model = grid->model();
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "模块名称");
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), "权限");

    const long row = dw.find("m_item_code = 'w205'", 1, dw.rowCount());
    ASSERT_GT(row, 0);
    const QModelIndex item = model->index(int(row - 1), 1);
    const QModelIndex level = model->index(int(row - 1), 2);
    EXPECT_EQ(item.data().toString(), "库位管理");  // the list's name for the stored code
    EXPECT_EQ(level.data().toString(), "禁止");
    EXPECT_FALSE(model->flags(item) & Qt::ItemIsEditable);  // no tab stop, protected on saved rows
    EXPECT_TRUE(model->flags(level) & Qt::ItemIsEditable);

    QSignalSpy changed(&dw, &DataWindow::itemChanged);
    grid->setCurrentIndex(level);
    grid->edit(level);
    auto* combo = qobject_cast<QComboBox*>(dw.editorFor("group_right"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 3);
    ASSERT_TRUE(pick(combo, "修改"));
    EXPECT_EQ(dw.getItemString(row, "group_right"), "2");
    EXPECT_EQ(dw.getItemStatus(row), ItemStatus::DataModified);
    // Announced once the grid has finished with the editor.
    ASSERT_TRUE(QTest::qWaitFor([&] { return changed.count() == 1; }));
    EXPECT_EQ(changed.at(0).at(1).toString(), "group_right");
    EXPECT_EQ(changed.at(0).at(2).toString(), "2");

    // The group code is shown, never typed: a retyped code would write
    // rights for another group.
    const QModelIndex group = model->index(int(row - 1), 0);
    EXPECT_FALSE(model->flags(group) & Qt::ItemIsEditable);
    grid->setCurrentIndex(group);
    grid->edit(group);
    EXPECT_EQ(qobject_cast<QLineEdit*>(dw.editorFor("group_id")), nullptr);
    EXPECT_EQ(dw.getItemString(row, "group_id"), "002");

    // A new row's module cell: light green while current, grey-blue otherwise.
    const long added = dw.insertRow(0);
    ASSERT_EQ(dw.setItem(added, "m_item_code", "m101"), 1);
    EXPECT_FALSE(model->flags(model->index(int(added - 1), 1)) & Qt::ItemIsEditable);  // set only by the module list
    ASSERT_EQ(dw.setRow(added), 1);
    EXPECT_EQ(model->index(int(added - 1), 1).data(Qt::BackgroundRole).value<QColor>(), QColor(216, 240, 208));
    EXPECT_EQ(model->index(int(row - 1), 1).data(Qt::BackgroundRole).value<QColor>(), QColor(128, 152, 176));
    EXPECT_EQ(model->index(int(added - 1), 1).data().toString(), "部门管理");
    ASSERT_EQ(dw.setRow(row), 1);
    EXPECT_EQ(model->index(int(added - 1), 1).data(Qt::BackgroundRole).value<QColor>(), QColor(128, 152, 176));
    EXPECT_EQ(grid->currentIndex().row(), int(row - 1));
}

TEST_P(DataWindowTest, HighlightsScrollingAndRowFocus)
{
    DataWindow dw;
    ASSERT_TRUE(dw.setDataObject("d_right_group"));
    dw.show();
    QSignalSpy focus(&dw, &DataWindow::rowFocusChanged);
    ASSERT_EQ(host::f_filter(dw, "group_id <> '001'"), 1);
    ASSERT_EQ(dw.rowCount(), 3);
    EXPECT_EQ(dw.getRow(), 1);
    ASSERT_EQ(dw.selectRow(2, true), 1);
    EXPECT_TRUE(dw.isSelected(2));
    EXPECT_FALSE(dw.isSelected(1));
    ASSERT_EQ(dw.selectRow(0, false), 1);
    EXPECT_FALSE(dw.isSelected(2));
    ASSERT_EQ(dw.scrollToRow(3), 1);
    EXPECT_EQ(dw.getRow(), 3);
    EXPECT_EQ(focus.last().at(0).toLongLong(), 3);
    // A click on a row makes it current.
    auto* grid = gridOf(dw);
    const QRect cell = grid->visualRect(grid->model()->index(1, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(dw.getRow(), 2);
    EXPECT_EQ(dw.getColumnName(), "group_name");
    EXPECT_EQ(dw.scrollToRow(9), -1);
}

TEST_P(DataWindowTest, EmployeeFormTypesPicksAndSaves)
{
    DataWindow dw;
    ASSERT_TRUE(dw.setDataObject("d_right_employee_freeform"));
    dw.setTransObject(sqlca);
    dw.show();
    QApplication::setActiveWindow(&dw);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dw));
    ASSERT_EQ(dw.insertRow(0), 1);
    ASSERT_EQ(dw.setItem(1, "dept_id", "D01"), 1);

    auto* id = qobject_cast<QLineEdit*>(dw.editorFor("id"));
    auto* name = qobject_cast<QLineEdit*>(dw.editorFor("name"));
    auto* status = qobject_cast<QComboBox*>(dw.editorFor("status"));
    auto* dept = qobject_cast<QComboBox*>(dw.editorFor("dept_id"));
    ASSERT_TRUE(id && name && status && dept);
    EXPECT_EQ(dept->currentText(), "仓储部");  // the name of the preset department

    // Tab order of the add form: id, name, status, department.
    ASSERT_EQ(dw.setColumn(1), 1);
    EXPECT_TRUE(id->hasFocus());
    for (QWidget* next : {static_cast<QWidget*>(name), static_cast<QWidget*>(status), static_cast<QWidget*>(dept)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }

    QTest::keyClicks(id, "E1000000000");
    EXPECT_EQ(id->text(), "E100000000");  // ten characters at most
    id->setText("E100");
    typeChinese(name, "赵六");
    EXPECT_EQ(name->text(), "赵六");
    ASSERT_TRUE(pick(status, "在职"));
    ASSERT_TRUE(pick(dept, "财务部"));
    EXPECT_EQ(dw.getItemString(1, "status"), "1");
    EXPECT_EQ(dw.getItemString(1, "dept_id"), "D02");

    ASSERT_EQ(dw.acceptText(), 1);
    EXPECT_EQ(dw.getItemString(1, "id"), "E100");
    EXPECT_EQ(dw.getItemString(1, "name"), "赵六");
    EXPECT_EQ(dw.getItemStatus(1), ItemStatus::NewModified);
    ASSERT_EQ(dw.update(), 1) << sqlca.sqlerrtext.toStdString();
    ASSERT_EQ(sqlca.commit(), 0);
    QVariantList row;
    ASSERT_EQ(sqlca.selectInto("select name, dept_id, status from s_employee where id = ?", {"E100"}, row), 0);
    EXPECT_EQ(row, (QVariantList{"赵六", "D02", "1"}));

    // Cleared for the next employee.
    ASSERT_EQ(dw.reset(), 1);
    ASSERT_EQ(dw.insertRow(0), 1);
    EXPECT_TRUE(id->text().isEmpty());
    EXPECT_EQ(dept->currentIndex(), -1);
}

// The form's fields follow the store through a QDataWidgetMapper: a value set
// by code shows at once in its field, text typed into another field and not
// yet taken stays, and another current row shows its own values.
TEST_P(DataWindowTest, FormFieldsFollowTheStoreAndKeepTextNotYetTaken)
{
    DataWindow dw;
    ASSERT_TRUE(dw.setDataObject("d_right_employee_freeform"));
    dw.setTransObject(sqlca);
    dw.show();
    ASSERT_EQ(dw.retrieve(), 7);
    auto* id = qobject_cast<QLineEdit*>(dw.editorFor("id"));
    auto* name = qobject_cast<QLineEdit*>(dw.editorFor("name"));
    ASSERT_TRUE(id && name);
    ASSERT_EQ(dw.setRow(2), 1);
    EXPECT_EQ(id->text(), dw.getItemString(2, "id"));
    EXPECT_EQ(name->text(), dw.getItemString(2, "name"));
    name->setText("打字中");  // typed, not taken yet
    ASSERT_EQ(dw.setItem(2, "id", "E900"), 1);
    EXPECT_EQ(id->text(), "E900");
    EXPECT_EQ(name->text(), "打字中");
    ASSERT_EQ(dw.acceptText(), 1);
    EXPECT_EQ(dw.getItemString(2, "name"), "打字中");
    ASSERT_EQ(dw.setRow(3), 1);
    EXPECT_EQ(name->text(), dw.getItemString(3, "name"));
    ASSERT_EQ(dw.setRow(2), 1);
    EXPECT_EQ(name->text(), "打字中");
}

TEST_P(DataWindowTest, EditFormShowsTheCodeOnTheSystemBackgroundWithoutTabStop)
{
    DataWindow dw;
    ASSERT_TRUE(dw.setDataObject("d_right_employee_edit"));
    dw.setTransObject(sqlca);
    ASSERT_EQ(dw.retrieve({"E004"}), 1);
    auto* id = qobject_cast<QLineEdit*>(dw.editorFor("id"));
    auto* name = qobject_cast<QLineEdit*>(dw.editorFor("name"));
    ASSERT_TRUE(id && name);
    EXPECT_EQ(id->text(), "E004");
    EXPECT_TRUE(id->isReadOnly());
    EXPECT_EQ(id->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(id->palette().color(QPalette::Base), id->palette().color(QPalette::Window));
    EXPECT_EQ(name->text(), "刘洋");
    EXPECT_EQ(qobject_cast<QComboBox*>(dw.editorFor("status"))->currentText(), "在职");

    name->setText("刘洋洋");
    ASSERT_EQ(dw.update(), 1) << sqlca.sqlerrtext.toStdString();  // accepts the text first
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(value("select name from s_employee where id = ?", {"E004"}).toString(), "刘洋洋");
    EXPECT_EQ(dw.getItemStatus(1), ItemStatus::NotModified);
}

TEST_P(DataWindowTest, UserFormListChangesAtRunTime)
{
    DataWindow dw;
    ASSERT_TRUE(dw.setDataObject("d_right_user_freeform"));
    dw.setTransObject(sqlca);
    dw.show();
    ASSERT_EQ(dw.insertRow(0), 1);
    ASSERT_EQ(dw.setItem(1, "group_code", "002"), 1);
    auto* group = qobject_cast<QLineEdit*>(dw.editorFor("group_code"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->text(), "仓库管理员");  // shows the name, stores the code
    EXPECT_EQ(group->focusPolicy(), Qt::NoFocus);
    ASSERT_NE(dw.getChild("user_code"), nullptr);
    // Every employee but E005, who has left (status "2").
    EXPECT_EQ(dw.getChild("user_code")->rowCount(), 6);
    EXPECT_EQ(dw.getChild("user_code")->find("id = 'E005'", 1, 6), 0);

    auto* person = qobject_cast<QComboBox*>(dw.editorFor("user_code"));
    ASSERT_NE(person, nullptr);
    ASSERT_TRUE(pick(person, "E003"));  // as stored: the id shown and stored
    EXPECT_EQ(dw.getItemString(1, "user_code"), "E003");

    // The operators' list, showing names.
    ASSERT_TRUE(dw.setDataObject("d_right_user_freeform"));
    dw.setTransObject(sqlca);
    platform::DropDownSpec spec;
    spec.dataObject = "dddw_right_user";
    spec.dataColumn = "id";
    spec.displayColumn = "name";
    spec.widthPercent = 200;
    ASSERT_EQ(dw.setDropDown("user_code", spec), 1);
    ASSERT_EQ(dw.insertRow(0), 1);
    ASSERT_EQ(dw.setItem(1, "group_code", "002"), 1);
    EXPECT_EQ(dw.getChild("user_code")->rowCount(), 5);
    person = qobject_cast<QComboBox*>(dw.editorFor("user_code"));
    ASSERT_NE(person, nullptr);
    EXPECT_EQ(person->findText("E003"), -1);  // not an operator
    ASSERT_TRUE(pick(person, "刘洋"));
    EXPECT_EQ(dw.getItemString(1, "user_code"), "E004");
    ASSERT_EQ(dw.update(), 1) << sqlca.sqlerrtext.toStdString();
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(count("s_user_group", "user_code = ? and group_code = ?", {"E004", "002"}), 1);
    // A list read again when the window asks.
    exec("insert into s_user (id, password, status) values (?, ?, ?)", {"E003", "", "1"});
    EXPECT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(dw.getChild("user_code")->retrieve(), 6);
    EXPECT_GE(qobject_cast<QComboBox*>(dw.editorFor("user_code"))->findText("李娜"), 0);
}

TEST_P(DataWindowTest, ChineseTypedIntoACellIsTakenOnReturn)
{
    DataWindow dw;
    ASSERT_TRUE(dw.setDataObject("d_right_group"));
    dw.show();
    ASSERT_EQ(host::f_filter(dw, "group_id = '003'"), 1);
    QSignalSpy changed(&dw, &DataWindow::itemChanged);
    QSignalSpy typed(&dw, &DataWindow::editChanged);
    auto* grid = gridOf(dw);
    const QModelIndex cell = grid->model()->index(0, 1);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* edit = qobject_cast<QLineEdit*>(dw.editorFor("group_name"));
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    typeChinese(edit, "稽核员");
    EXPECT_EQ(edit->text(), "稽核员");
    EXPECT_GT(typed.count(), 0);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dw.editorFor("group_name") == nullptr; }));
    EXPECT_EQ(dw.getItemString(1, "group_name"), "稽核员");
    ASSERT_TRUE(QTest::qWaitFor([&] { return changed.count() == 1; }));
    EXPECT_EQ(changed.at(0).at(0).toLongLong(), 1);
    EXPECT_EQ(grid->model()->index(0, 1).data().toString(), "稽核员");
    ASSERT_EQ(dw.update(), 1) << sqlca.sqlerrtext.toStdString();
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"003"}).toString(), "稽核员");
}

TEST_P(DataWindowTest, AModalBoxShownForAChangedCellDoesNotPullTheEditorAway)
{
    // A window may answer a changed value with a message box. Shown while
    // the grid still closes the cell's editor, its event loop let Qt delete
    // the editor under the grid's feet.
    DataWindow dw;
    ASSERT_TRUE(dw.setDataObject("d_right_group"));
    dw.resize(500, 300);
    dw.show();
    dw.activateWindow();
    ASSERT_EQ(host::f_filter(dw, "group_id = '003'"), 1);
    QStringList changes;
    QObject::connect(&dw, &DataWindow::itemChanged, &dw, [&](long, const QString& column, const QString& text) {
        changes << column + "=" + text;
        testing_support::ModalResponder responder([](QWidget* box) {
            QTest::qWait(50);
            if (auto* message = qobject_cast<QMessageBox*>(box))
                message->done(QMessageBox::Ok);
        });
        QMessageBox box(QMessageBox::Information, "提示", "已修改", QMessageBox::Ok, &dw);
        box.exec();
    });
    auto* grid = gridOf(dw);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_F2);
    auto* edit = qobject_cast<QLineEdit*>(dw.editorFor("group_name"));
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "abc");
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes.size() == 1 && dw.editorFor("group_name") == nullptr; }));
    EXPECT_EQ(changes, QStringList({"group_name=abc"}));
    EXPECT_EQ(dw.getItemString(1, "group_name"), "abc");

    // acceptText() announces the change before it returns.
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_F2);
    edit = qobject_cast<QLineEdit*>(dw.editorFor("group_name"));
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "xyz");
    EXPECT_EQ(dw.acceptText(), 1);
    EXPECT_EQ(changes, QStringList({"group_name=abc", "group_name=xyz"}));
}

TEST_P(DataWindowTest, SwitchingDataObjectsRebuildsThePresentation)
{
    DataWindow dw;
    dw.setTransObject(sqlca);
    ASSERT_TRUE(dw.setDataObject("d_right_employee_edit"));
    ASSERT_EQ(dw.retrieve({"E001"}), 1);
    ASSERT_TRUE(dw.setDataObject("d_right_group_freeform"));  // fewer columns: nothing stale survives
    EXPECT_EQ(dw.rowCount(), 0);
    EXPECT_EQ(dw.editorFor("status"), nullptr);
    ASSERT_NE(dw.editorFor("group_name"), nullptr);
    ASSERT_TRUE(dw.setDataObject("d_right_group"));
    EXPECT_NE(gridOf(dw), nullptr);
    EXPECT_EQ(dw.retrieve(), 4);
    EXPECT_FALSE(dw.setDataObject("d_nosuch"));
    EXPECT_EQ(dw.dataObject(), "d_right_group");
    EXPECT_EQ(dw.rowCount(), 4);
}

WMS_INSTANTIATE_DB_TESTS(DataWindowTest);
