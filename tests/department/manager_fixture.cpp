#include "tests/department/manager_fixture.h"

#include "department/register_windows.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "tests/support/frame_driver.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTreeWidget>

namespace department_test {

void DepartmentTest::SetUp()
{
    DbTest::SetUp();
    if (HasFatalFailure() || IsSkipped())
        return;
    loadSample();
    department::registerWindows();
}

void DepartmentTest::TearDown()
{
    host::WindowRegistry::closeAll();
    pump();
    DbTest::TearDown();
}

department::w_right_department_manage* DepartmentTest::openManager()
{
    manager_ = open<department::w_right_department_manage>(QStringLiteral("w_right_department_manage"));
    return manager_;
}

void DepartmentTest::pump()
{
    testing_support::pumpEvents();
}

QTreeWidgetItem* DepartmentTest::treeItem(const QString& data) const
{
    return testing_support::treeItem(manager_, data);
}

void DepartmentTest::selectTree(const QString& data)
{
    QTreeWidgetItem* item = treeItem(data);
    ASSERT_NE(item, nullptr) << data.toStdString();
    manager_->tv_1()->setCurrentItem(item);
    pump();
}

QStringList DepartmentTest::treeLabels() const
{
    return testing_support::treeLabels(manager_);
}

QStringList DepartmentTest::treeData() const
{
    return testing_support::treeData(manager_);
}

QStringList DepartmentTest::listLabels() const
{
    return testing_support::listLabels(manager_->lv_1());
}

QStringList DepartmentTest::listData() const
{
    return testing_support::listData(manager_->lv_1());
}

int DepartmentTest::listIndex(const QString& data) const
{
    return listData().indexOf(data) + 1;
}

QPoint DepartmentTest::listPoint(int index) const
{
    return testing_support::listPoint(manager_->lv_1(), index);
}

void DepartmentTest::click(int index)
{
    testing_support::clickItem(manager_->lv_1(), index);
}

void DepartmentTest::doubleClick(int index)
{
    testing_support::doubleClickItem(manager_->lv_1(), index);
}

void DepartmentTest::typeLabel(const QString& text)
{
    testing_support::typeLabel(manager_->lv_1(), text);
}

QStringList DepartmentTest::employees(const QString& dept)
{
    QStringList ids;
    QSqlQuery query(host::sqlca.database());
    query.prepare(QStringLiteral("select id from s_employee where dept_id = ? order by id"));
    query.addBindValue(dept);
    EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
    while (query.next())
        ids << query.value(0).toString();
    return ids;
}

QVariant DepartmentTest::column(const QString& table, const QString& col, const QString& keyColumn,
                                const QString& key)
{
    return value(QStringLiteral("select %1 from %2 where %3 = ?").arg(col, table, keyColumn), {key});
}

void DepartmentTest::refuse(const QString& operation, const QString& table)
{
    testing_support::refuse(backend(), operation, table);
}

}  // namespace department_test
