#include "tests/department/manager_fixture.h"

#include "department/register_windows.h"
#include "host/transaction.h"
#include "host/window_registry.h"

#include <QApplication>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
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
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

QTreeWidgetItem* DepartmentTest::treeItem(const QString& data) const
{
    QTreeWidgetItem* root = manager_->rootItem();
    if (data == QStringLiteral("000"))
        return root;
    for (int i = 0; root && i < root->childCount(); ++i) {
        if (common::ManagerFrame::itemData(root->child(i)) == data)
            return root->child(i);
    }
    return nullptr;
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
    QStringList labels;
    QTreeWidgetItem* root = manager_->rootItem();
    for (int i = 0; root && i < root->childCount(); ++i)
        labels << root->child(i)->text(0);
    return labels;
}

QStringList DepartmentTest::treeData() const
{
    QStringList data;
    QTreeWidgetItem* root = manager_->rootItem();
    for (int i = 0; root && i < root->childCount(); ++i)
        data << common::ManagerFrame::itemData(root->child(i));
    return data;
}

QStringList DepartmentTest::listLabels() const
{
    QStringList labels;
    for (int i = 1; i <= manager_->lv_1()->totalItems(); ++i)
        labels << manager_->lv_1()->label(i);
    return labels;
}

QStringList DepartmentTest::listData() const
{
    QStringList data;
    for (int i = 1; i <= manager_->lv_1()->totalItems(); ++i)
        data << manager_->lv_1()->data(i);
    return data;
}

int DepartmentTest::listIndex(const QString& data) const
{
    return listData().indexOf(data) + 1;
}

QPoint DepartmentTest::listPoint(int index) const
{
    common::ListView* list = manager_->lv_1();
    if (index >= 1)
        return list->visualItemRect(list->itemAt(index)).center();
    return list->viewport()->rect().bottomRight() - QPoint(4, 4);
}

void DepartmentTest::click(int index)
{
    QTest::mouseClick(manager_->lv_1()->viewport(), Qt::LeftButton, {}, listPoint(index));
    pump();
}

void DepartmentTest::doubleClick(int index)
{
    QWidget* viewport = manager_->lv_1()->viewport();
    const QPoint at = listPoint(index);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    pump();
}

void DepartmentTest::typeLabel(const QString& text)
{
    common::ListView* list = manager_->lv_1();
    QLineEdit* editor = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (editor = list->viewport()->findChild<QLineEdit*>()) != nullptr; }, 2000))
        << "no label editor";
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->viewport()->findChild<QLineEdit*>() == nullptr; }, 2000))
        << "the label editor stayed";
    pump();
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
    QSqlQuery query(host::sqlca.database());
    const QString name = QStringLiteral("refuse_%1_%2").arg(operation, table);
    if (backend() == testing_support::Backend::Sqlite) {
        ASSERT_TRUE(query.exec(QStringLiteral("create trigger %1 before %2 on %3 begin select raise(abort, "
                                              "'refused by test'); end")
                                   .arg(name, operation, table)))
            << query.lastError().text().toStdString();
    } else {
        ASSERT_TRUE(query.exec(QStringLiteral("create or replace function %1() returns trigger language plpgsql as "
                                              "$$ begin raise exception 'refused by test'; end $$")
                                   .arg(name)))
            << query.lastError().text().toStdString();
        ASSERT_TRUE(query.exec(QStringLiteral("create trigger %1 before %2 on %3 for each row execute function %1()")
                                   .arg(name, operation, table)))
            << query.lastError().text().toStdString();
    }
}

}  // namespace department_test
