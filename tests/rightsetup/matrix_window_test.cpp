// The rights matrix: what it shows, edits by click, key, row and column,
// saving them as one operation, a save the database refuses (a statement or
// the COMMIT) keeping every edit pending, level 1, the lock-out guard and
// closing with unsaved edits.
#include "tests/rightsetup/matrix_fixture.h"

#include "host/functions.h"
#include "host/transaction.h"
#include "rights/administrators.h"
#include "rightsetup/matrix_model.h"
#include "tests/support/frame_driver.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

using namespace rightsetup_test;

namespace {

class MatrixWindowTest : public MatrixTest {
protected:
    // A few edits of group 003: an update, an insert and a delete.
    void editThree()
    {
        press("003", "w203", Qt::Key_2);  // 查询 → 修改
        press("003", "w202", Qt::Key_1);  // 无 → 查询
        press("003", "w201", Qt::Key_Delete);  // 禁止 → 无
        ASSERT_EQ(matrix->model()->changeCount(), 3);
    }
    void expectThreePending()
    {
        EXPECT_EQ(matrix->model()->changeCount(), 3);
        EXPECT_EQ(shown("003", "w203"), "修改");
        EXPECT_EQ(shown("003", "w202"), "查询");
        EXPECT_EQ(shown("003", "w201"), "无");
        EXPECT_TRUE(marked("003", "w203") && marked("003", "w202") && marked("003", "w201"));
        EXPECT_TRUE(matrix->cb_save->isEnabled());
        EXPECT_FALSE(host::sqlca.inWriteTransaction());
    }
    void dropTrigger(const QString& name)
    {
        QSqlQuery query(host::sqlca.database());
        const QString sql = backend() == testing_support::Backend::Sqlite
                                ? QString("drop trigger " + name)
                                : QString("drop trigger " + name + " on s_group_power");
        ASSERT_TRUE(query.exec(sql));
    }
};

}  // namespace

TEST_P(MatrixWindowTest, ShowsEveryGroupAndItemWithCodesNamesAndLevelWords)
{
    ASSERT_NE(openMatrix(), nullptr);
    const rightsetup::MatrixModel* model = matrix->model();
    EXPECT_EQ(matrix->windowTitle(), "权限矩阵");
    EXPECT_EQ(model->rowCount(), 4);
    EXPECT_EQ(model->columnCount(), 10);
    EXPECT_EQ(model->headerData(model->rowOfGroup("003"), Qt::Vertical).toString(), "003  查询员");
    EXPECT_EQ(model->headerData(model->columnOfItem("w203"), Qt::Horizontal).toString(), "w203\n库存查询");
    EXPECT_EQ(shown("003", "w203"), "查询");
    EXPECT_EQ(shown("003", "w201"), "禁止");
    EXPECT_EQ(shown("001", "m102"), "修改");
    EXPECT_EQ(shown("003", "w202"), "无");
    EXPECT_FALSE(matrix->cb_save->isEnabled());

    // The filter matches a code or a name; the cells keep their groups and items.
    matrix->sle_filter->setText("库存");
    EXPECT_EQ(model->columnCount(), 2);  // 库存查询, 库存盘点
    EXPECT_EQ(model->itemAt(0), "w203");
    EXPECT_EQ(shown("003", "w203"), "查询");
    matrix->sle_filter->setText("M10");
    EXPECT_EQ(model->columnCount(), 2);  // m101, m102
    EXPECT_TRUE(matrix->st_status->text().contains("显示 2 个")) << matrix->st_status->text().toStdString();
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(MatrixWindowTest, ClicksKeysRowsAndColumnsAreMarkedThenSavedAsTheDatabaseHoldsThem)
{
    QMap<QString, QString> expected = dbCells();
    ASSERT_NE(openMatrix(), nullptr);

    click("003", "w202");  // 无 → 禁止
    EXPECT_EQ(shown("003", "w202"), "禁止");
    EXPECT_TRUE(marked("003", "w202"));
    press("003", "w202", Qt::Key_2);
    press("003", "w201", Qt::Key_Delete);
    press("003", "w203", Qt::Key_0);
    press("003", "w203", Qt::Key_1);  // back to the stored level: no longer an edit
    EXPECT_EQ(shown("003", "w203"), "查询");
    EXPECT_FALSE(marked("003", "w203"));
    expected["003/w202"] = "2";
    expected.remove("003/w201");

    // A whole column from the cell's context menu: every group.
    QMenu* menu = matrix->contextMenu(cell("004", "w205"));
    QAction* column = menu->findChild<QAction*>("m_column_1");
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->text(), "整列设为查询");
    column->trigger();
    delete menu;
    for (const QString group : {"001", "002", "003", "004"}) {
        EXPECT_EQ(shown(group, "w205"), "查询") << group.toStdString();
        expected[group + "/w205"] = "1";
    }
    // A whole row with the buttons: the level chosen, the current cell's group.
    matrix->dw_matrix->setCurrentIndex(cell("004", "w301"));
    matrix->ddlb_level->setCurrentIndex(matrix->ddlb_level->findText("无"));
    matrix->cb_set_row->click();
    for (const QString item : {"w302", "w301", "m101", "w205"}) {
        EXPECT_EQ(shown("004", item), "无");
        expected.remove("004/" + item);
    }
    EXPECT_FALSE(marked("004", "w205"));  // no row, as stored
    EXPECT_EQ(matrix->model()->changeCount(), 2 + 3 + 3);
    EXPECT_TRUE(matrix->st_status->text().contains("未保存的修改 8 项")) << matrix->st_status->text().toStdString();
    EXPECT_TRUE(dbCells() != expected);  // nothing written yet

    ASSERT_TRUE(matrix->cb_save->isEnabled());
    matrix->cb_save->click();
    EXPECT_EQ(messages.texts(), QStringList({"保存成功."}));
    EXPECT_EQ(dbCells(), expected);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_FALSE(matrix->model()->hasChanges());
    EXPECT_FALSE(marked("003", "w202"));
    EXPECT_EQ(shown("003", "w202"), "修改");
    EXPECT_EQ(shown("004", "w302"), "无");
    EXPECT_FALSE(matrix->cb_save->isEnabled());
}

TEST_P(MatrixWindowTest, ARefusedStatementKeepsEveryEditPendingAndShowsTheDatabasesReason)
{
    const QMap<QString, QString> before = dbCells();
    ASSERT_NE(openMatrix(), nullptr);
    editThree();
    refuse("insert", "s_group_power");
    EXPECT_FALSE(matrix->save());
    ASSERT_EQ(messages.shown().size(), 1) << messages.texts().join(" | ").toStdString();
    EXPECT_EQ(messages.shown().first().title, "数据库错误");
    EXPECT_TRUE(messages.shown().first().text.contains("refused by test")) << messages.texts().first().toStdString();
    EXPECT_EQ(dbCells(), before);  // the update before the insert is undone too
    expectThreePending();

    // Saving again writes them all.
    dropTrigger("refuse_insert_s_group_power");
    messages.clear();
    EXPECT_TRUE(matrix->save());
    EXPECT_EQ(messages.texts(), QStringList({"保存成功."}));
    EXPECT_EQ(dbCells().value("003/w202"), "1");
    EXPECT_FALSE(matrix->model()->hasChanges());
}

TEST_P(MatrixWindowTest, ARefusedCommitKeepsEveryEditPending)
{
    const QMap<QString, QString> before = dbCells();
    ASSERT_NE(openMatrix(), nullptr);
    editThree();
    refuseAtCommit("delete", "s_group_power");
    EXPECT_FALSE(matrix->save());
    ASSERT_EQ(messages.shown().size(), 1) << messages.texts().join(" | ").toStdString();
    EXPECT_EQ(messages.shown().first().title, "数据库错误");
    EXPECT_EQ(dbCells(), before);
    expectThreePending();
}

TEST_P(MatrixWindowTest, ARowAnotherClientChangedMeanwhileStopsTheWholeSave)
{
    ASSERT_NE(openMatrix(), nullptr);
    editThree();
    exec("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)", {"003", "w202", "0"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    const QMap<QString, QString> before = dbCells();
    messages.answer(host::Answer::No);  // not read again: the edits stay
    EXPECT_FALSE(matrix->save());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().first().text.contains("已被其他用户修改")) << messages.texts().first().toStdString();
    EXPECT_EQ(dbCells(), before);
    expectThreePending();
}

TEST_P(MatrixWindowTest, AtLevelOneTheMatrixIsForViewingOnly)
{
    loginWithLevel("E001", "002", "1");
    const QMap<QString, QString> before = dbCells();
    ASSERT_NE(openMatrix(), nullptr);
    EXPECT_EQ(shown("003", "w203"), "查询");
    for (QPushButton* button : {matrix->cb_set_row, matrix->cb_set_column, matrix->cb_import_csv, matrix->cb_save})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_TRUE(matrix->cb_export_csv->isEnabled());
    click("003", "w202");
    press("003", "w203", Qt::Key_2);
    press("003", "w201", Qt::Key_Delete);
    QMenu* menu = matrix->contextMenu(cell("003", "w203"));
    EXPECT_FALSE(menu->findChild<QAction*>("m_row_2")->isEnabled());
    delete menu;
    EXPECT_FALSE(matrix->model()->hasChanges());
    EXPECT_TRUE(messages.shown().isEmpty());

    // Called all the same, the commands are refused with a reason.
    matrix->dw_matrix->setCurrentIndex(cell("003", "w203"));
    matrix->setCurrentRow(QStringLiteral("2"));
    EXPECT_FALSE(matrix->save());
    EXPECT_EQ(messages.texts(), QStringList(2, "当前操作员没有修改权限, 不能进行此操作."));
    EXPECT_FALSE(matrix->model()->hasChanges());
    EXPECT_EQ(dbCells(), before);
}

TEST_P(MatrixWindowTest, ARightTakenAwayWhileOpenCountsAtTheSave)
{
    loginWithLevel("E001", "002", "2");
    ASSERT_NE(openMatrix(), nullptr);
    press("003", "w203", Qt::Key_2);
    ASSERT_TRUE(matrix->model()->hasChanges());
    exec("update s_group_power set group_right = ? where group_id = ? and m_item_code = ?", {"1", "002", "003"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    const QMap<QString, QString> before = dbCells();
    EXPECT_FALSE(matrix->save());
    EXPECT_EQ(messages.texts(), QStringList({"当前操作员没有修改权限, 不能进行此操作."}));
    EXPECT_EQ(dbCells(), before);
    EXPECT_TRUE(matrix->model()->hasChanges());
}

TEST_P(MatrixWindowTest, TakingTheLastAdministratorsRightIsRefusedAndStaysPending)
{
    rights::setAdministrationItems({"m102", "003"});
    exec("delete from s_user_group where user_code = ?", {"admin"});
    exec("delete from s_user where id = ?", {"admin"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    const QMap<QString, QString> before = dbCells();
    ASSERT_NE(openMatrix(), nullptr);
    press("001", "003", Qt::Key_1);  // E006, the only administrator, loses level 2 on 003
    EXPECT_FALSE(matrix->save());
    rights::setAdministrationItems({});
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().first().text.contains("此操作之后将没有操作员能够管理权限"));
    EXPECT_EQ(dbCells(), before);
    EXPECT_TRUE(marked("001", "003"));
}

TEST_P(MatrixWindowTest, ClosingWithUnsavedEditsAsksFirst)
{
    const QMap<QString, QString> before = dbCells();
    ASSERT_NE(openMatrix(), nullptr);
    press("003", "w202", Qt::Key_2);

    messages.answer(host::Answer::Cancel);
    matrix->cb_close->click();
    testing_support::pumpEvents();
    ASSERT_FALSE(matrix.isNull());
    EXPECT_TRUE(matrix->isVisible());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().title, "关闭");
    EXPECT_EQ(messages.shown().first().text, "数据已发生改变, 保存吗?");
    EXPECT_EQ(messages.shown().first().buttons, host::Buttons::YesNoCancel);

    messages.answer(host::Answer::Yes);
    matrix->cb_close->click();
    testing_support::pumpEvents();
    EXPECT_TRUE(matrix.isNull() || !matrix->isVisible());
    EXPECT_EQ(dbCells().value("003/w202"), "2");
    EXPECT_NE(dbCells(), before);
}

TEST_P(MatrixWindowTest, ClosingAndAnsweringNoDropsTheEdits)
{
    const QMap<QString, QString> before = dbCells();
    ASSERT_NE(openMatrix(), nullptr);
    press("003", "w202", Qt::Key_2);
    messages.answer(host::Answer::No);
    matrix->cb_close->click();
    testing_support::pumpEvents();
    EXPECT_TRUE(matrix.isNull() || !matrix->isVisible());
    EXPECT_EQ(dbCells(), before);
}

TEST_P(MatrixWindowTest, ARowCommandSetsOnlyTheItemsShownAndAnExtendingClickOnlySelects)
{
    ASSERT_NE(openMatrix(), nullptr);
    matrix->sle_filter->setText("w20");
    matrix->dw_matrix->setCurrentIndex(cell("003", "w202"));
    matrix->ddlb_level->setCurrentIndex(matrix->ddlb_level->findText("修改"));
    matrix->cb_set_row->click();
    EXPECT_EQ(matrix->model()->changeCount(), 5);  // w201 … w205; w301 and w302 are not shown
    QStringList items;
    for (const rightsetup::RightChange& change : matrix->model()->changes())
        items << change.item;
    EXPECT_EQ(items, QStringList({"w201", "w202", "w203", "w204", "w205"}));

    const QModelIndex index = cell("004", "w201");
    QTest::mouseClick(matrix->dw_matrix->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      matrix->dw_matrix->visualRect(index).center());
    EXPECT_EQ(shown("004", "w201"), "无");
    EXPECT_TRUE(matrix->dw_matrix->selectionModel()->isSelected(index));
    EXPECT_TRUE(messages.shown().isEmpty());
}

WMS_INSTANTIATE_DB_TESTS(MatrixWindowTest);
