#include "tests/support/manager_fixture.h"

#include "common/list_view.h"
#include "common/manager_frame.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "tests/support/frame_driver.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTreeWidget>
#include <utility>

namespace testing_support {

ManagerFixture::ManagerFixture(QString managerClass, std::function<void()> registerWindows)
    : managerClass_(std::move(managerClass)), registerWindows_(std::move(registerWindows))
{
}

void ManagerFixture::SetUp()
{
    DbTest::SetUp();
    if (HasFatalFailure() || IsSkipped())
        return;
    loadSample();
    registerWindows_();
}

void ManagerFixture::TearDown()
{
    host::WindowRegistry::closeAll();
    pump();
    DbTest::TearDown();
}

common::ManagerFrame* ManagerFixture::openFrame()
{
    frame_ = qobject_cast<common::ManagerFrame*>(host::WindowRegistry::open(managerClass_));
    pump();
    return frame_;
}

void ManagerFixture::pump()
{
    pumpEvents();
}

QTreeWidgetItem* ManagerFixture::treeItem(const QString& data) const
{
    return testing_support::treeItem(frame_, data);
}

void ManagerFixture::selectTree(const QString& data)
{
    QTreeWidgetItem* item = treeItem(data);
    ASSERT_NE(item, nullptr) << data.toStdString();
    frame_->tv_1()->setCurrentItem(item);
    pump();
}

void ManagerFixture::selectRoot()
{
    frame_->tv_1()->setCurrentItem(frame_->rootItem());
    pump();
}

QStringList ManagerFixture::treeLabels() const
{
    return testing_support::treeLabels(frame_);
}

QStringList ManagerFixture::treeData() const
{
    return testing_support::treeData(frame_);
}

QStringList ManagerFixture::listLabels() const
{
    return testing_support::listLabels(frame_->lv_1());
}

QStringList ManagerFixture::listData() const
{
    return testing_support::listData(frame_->lv_1());
}

int ManagerFixture::listIndex(const QString& data) const
{
    return int(listData().indexOf(data)) + 1;
}

QPoint ManagerFixture::listPoint(int index) const
{
    return testing_support::listPoint(frame_->lv_1(), index);
}

void ManagerFixture::click(int index)
{
    clickItem(frame_->lv_1(), index);
}

void ManagerFixture::doubleClick(int index)
{
    doubleClickItem(frame_->lv_1(), index);
}

void ManagerFixture::typeLabel(const QString& text)
{
    testing_support::typeLabel(frame_->lv_1(), text);
}

QStringList ManagerFixture::strings(const QString& select, const QString& key)
{
    QStringList values;
    QSqlQuery query(host::sqlca.database());
    query.prepare(select);
    query.addBindValue(key);
    EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
    while (query.next())
        values << query.value(0).toString();
    return values;
}

QVariant ManagerFixture::column(const QString& table, const QString& col, const QString& keyColumn,
                                const QString& key)
{
    return value(QStringLiteral("select %1 from %2 where %3 = ?").arg(col, table, keyColumn), {key});
}

void ManagerFixture::refuse(const QString& operation, const QString& table)
{
    testing_support::refuse(backend(), operation, table);
}

}  // namespace testing_support
