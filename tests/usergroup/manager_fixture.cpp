#include "tests/usergroup/manager_fixture.h"

#include "host/transaction.h"
#include "host/window_registry.h"
#include "tests/support/frame_driver.h"
#include "usergroup/register_windows.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTreeWidget>

namespace usergroup_test {

void ManagerTest::SetUp()
{
    DbTest::SetUp();
    if (HasFatalFailure() || IsSkipped())
        return;
    loadSample();
    usergroup::registerWindows();
}

void ManagerTest::TearDown()
{
    host::WindowRegistry::closeAll();
    pump();
    DbTest::TearDown();
}

usergroup::w_right_setup* ManagerTest::openManager()
{
    manager_ = qobject_cast<usergroup::w_right_setup*>(host::WindowRegistry::open(QStringLiteral("w_right_setup")));
    pump();
    return manager_;
}

void ManagerTest::pump()
{
    testing_support::pumpEvents();
}

QTreeWidgetItem* ManagerTest::treeItem(const QString& data) const
{
    return testing_support::treeItem(manager_, data);
}

void ManagerTest::selectGroup(const QString& id)
{
    QTreeWidgetItem* item = treeItem(id);
    ASSERT_NE(item, nullptr) << id.toStdString();
    manager_->tv_1()->setCurrentItem(item);
    pump();
}

void ManagerTest::selectRoot()
{
    manager_->tv_1()->setCurrentItem(manager_->rootItem());
    pump();
}

QStringList ManagerTest::treeLabels() const
{
    return testing_support::treeLabels(manager_);
}

QStringList ManagerTest::treeData() const
{
    return testing_support::treeData(manager_);
}

QStringList ManagerTest::listLabels() const
{
    return testing_support::listLabels(manager_->lv_1());
}

QStringList ManagerTest::listData() const
{
    return testing_support::listData(manager_->lv_1());
}

int ManagerTest::listIndex(const QString& data) const
{
    return listData().indexOf(data) + 1;
}

QPoint ManagerTest::listPoint(int index) const
{
    return testing_support::listPoint(manager_->lv_1(), index);
}

void ManagerTest::click(int index)
{
    testing_support::clickItem(manager_->lv_1(), index);
}

void ManagerTest::doubleClick(int index)
{
    testing_support::doubleClickItem(manager_->lv_1(), index);
}

void ManagerTest::typeLabel(const QString& text)
{
    testing_support::typeLabel(manager_->lv_1(), text);
}

QStringList ManagerTest::members(const QString& group)
{
    QStringList ids;
    QSqlQuery query(host::sqlca.database());
    query.prepare(QStringLiteral("select user_code from s_user_group where group_code = ? order by user_code"));
    query.addBindValue(group);
    EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
    while (query.next())
        ids << query.value(0).toString();
    return ids;
}

void ManagerTest::refuse(const QString& operation, const QString& table)
{
    testing_support::refuse(backend(), operation, table);
}

}  // namespace usergroup_test
