#include "tests/rightsetup/matrix_fixture.h"

#include "host/functions.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "rightsetup/matrix_model.h"
#include "rightsetup/register_windows.h"
#include "tests/support/frame_driver.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

namespace rightsetup_test {

void MatrixTest::SetUp()
{
    DbTest::SetUp();
    if (HasFatalFailure() || IsSkipped())
        return;
    loadSample();
    rightsetup::registerWindows();
}

void MatrixTest::TearDown()
{
    host::WindowRegistry::closeAll();
    testing_support::pumpEvents();
    host::gs_user_id = QStringLiteral("admin");
    DbTest::TearDown();
}

rightsetup::w_right_matrix* MatrixTest::openMatrix()
{
    matrix = qobject_cast<rightsetup::w_right_matrix*>(host::WindowRegistry::open("w_right_matrix"));
    testing_support::pumpEvents();
    return matrix;
}

QModelIndex MatrixTest::cell(const QString& group, const QString& item) const
{
    const rightsetup::MatrixModel* model = matrix->model();
    return model->index(model->rowOfGroup(group), model->columnOfItem(item));
}

QString MatrixTest::shown(const QString& group, const QString& item) const
{
    return cell(group, item).data().toString();
}

bool MatrixTest::marked(const QString& group, const QString& item) const
{
    return cell(group, item).data(rightsetup::MatrixModel::kChangedRole).toBool();
}

void MatrixTest::click(const QString& group, const QString& item)
{
    const QModelIndex index = cell(group, item);
    ASSERT_TRUE(index.isValid()) << group.toStdString() << "/" << item.toStdString();
    matrix->dw_matrix->scrollTo(index);
    const QRect rect = matrix->dw_matrix->visualRect(index);
    QTest::mouseClick(matrix->dw_matrix->viewport(), Qt::LeftButton, {}, rect.center());
    testing_support::pumpEvents();
}

void MatrixTest::press(const QString& group, const QString& item, int key)
{
    const QModelIndex index = cell(group, item);
    ASSERT_TRUE(index.isValid()) << group.toStdString() << "/" << item.toStdString();
    matrix->dw_matrix->setCurrentIndex(index);  // selects the cell alone
    QTest::keyClick(matrix->dw_matrix, Qt::Key(key));
    testing_support::pumpEvents();
}

QMap<QString, QString> MatrixTest::dbCells()
{
    QMap<QString, QString> cells;
    host::Transaction other;
    EXPECT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
    QSqlQuery query(other.database());
    EXPECT_TRUE(query.exec("select group_id, m_item_code, group_right from s_group_power"))
        << query.lastError().text().toStdString();
    while (query.next())
        cells.insert(query.value(0).toString() + "/" + query.value(1).toString(), query.value(2).toString());
    return cells;
}

void MatrixTest::loginWithLevel(const QString& operatorId, const QString& group, const QString& level,
                                const QString& item)
{
    exec("delete from s_group_power where group_id = ? and m_item_code = ?", {group, item});
    exec("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)", {group, item, level});
    ASSERT_EQ(host::sqlca.commit(), 0);
    host::gs_user_id = operatorId;
}

void MatrixTest::refuse(const QString& operation, const QString& table)
{
    testing_support::refuse(backend(), operation, table);
}

void MatrixTest::refuseAtCommit(const QString& operation, const QString& table)
{
    testing_support::refuseAtCommit(backend(), operation, table);
}

}  // namespace rightsetup_test
