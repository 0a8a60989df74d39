#include "tests/writes/module_windows.h"

#include "department/register_windows.h"
#include "department/w_right_department_manage.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "rightsetup/register_windows.h"
#include "rightsetup/w_right_right_setup.h"
#include "tests/support/frame_driver.h"
#include "usergroup/register_windows.h"
#include "usergroup/w_right_setup.h"

#include <QTreeWidget>

namespace writes_test {

void ModuleWindowsTest::SetUp()
{
    DbFixture::SetUp();
    if (HasFatalFailure() || IsSkipped())
        return;
    loadSample();
    usergroup::registerWindows();
    rightsetup::registerWindows();
    department::registerWindows();
}

void ModuleWindowsTest::TearDown()
{
    host::WindowRegistry::closeAll();
    testing_support::pumpEvents();
    DbFixture::TearDown();
}

QStringList ModuleWindowsTest::snapshot()
{
    host::Transaction other;
    EXPECT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
    QStringList rows;
    const QList<QPair<QString, QString>> tables = {
        {"s_dept", "dept_id, dept_name, memo"},    {"s_employee", "id, name, dept_id, status"},
        {"s_user", "id, password, status"},        {"s_group", "group_id, group_name"},
        {"s_user_group", "user_code, group_code"}, {"s_group_power", "group_id, m_item_code, group_right"},
        {"s_moudle_item", "m_item_code, name"}};
    for (const auto& [table, columns] : tables) {
        host::Cursor cursor(other, QStringLiteral("select %1 from %2 order by %1").arg(columns, table));
        EXPECT_EQ(cursor.open(), 0) << other.sqlerrtext.toStdString();
        QVariantList row;
        while (cursor.fetch(row) == 0) {
            QStringList values;
            for (const QVariant& v : row)
                values << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            rows << table + QLatin1Char(':') + values.join(QLatin1Char('|'));
        }
        cursor.close();
    }
    return rows;
}

usergroup::w_right_setup* ModuleWindowsTest::users()
{
    auto* w = host::WindowRegistry::instanceOf<usergroup::w_right_setup>("w_right_setup");
    if (!w)
        w = qobject_cast<usergroup::w_right_setup*>(host::WindowRegistry::open("w_right_setup"));
    testing_support::pumpEvents();
    return w;
}

department::w_right_department_manage* ModuleWindowsTest::departments()
{
    auto* w = host::WindowRegistry::instanceOf<department::w_right_department_manage>("w_right_department_manage");
    if (!w)
        w = qobject_cast<department::w_right_department_manage*>(
            host::WindowRegistry::open("w_right_department_manage"));
    testing_support::pumpEvents();
    return w;
}

host::Window* ModuleWindowsTest::openWindow(const char* className, const QString& parameter)
{
    host::Window* w = host::WindowRegistry::open(className, parameter);
    testing_support::pumpEvents();
    return w;
}

rightsetup::w_right_right_setup* ModuleWindowsTest::editorOf(const QString& group)
{
    select(users(), group);
    return open<rightsetup::w_right_right_setup>("w_right_right_setup");
}

void ModuleWindowsTest::selectTree(common::ManagerFrame* frame, const QString& data)
{
    frame->tv_1()->setCurrentItem(testing_support::treeItem(frame, data));
    testing_support::pumpEvents();
}

int ModuleWindowsTest::listIndex(common::ManagerFrame* frame, const QString& data)
{
    return int(testing_support::listData(frame->lv_1()).indexOf(data)) + 1;
}

void ModuleWindowsTest::select(common::ManagerFrame* frame, const QString& data)
{
    const int index = listIndex(frame, data);
    ASSERT_GT(index, 0) << data.toStdString();
    testing_support::clickItem(frame->lv_1(), index);
}

void ModuleWindowsTest::rename(common::ManagerFrame* frame, const QString& data, const QString& label)
{
    select(frame, data);
    frame->ue_rename();
    testing_support::typeLabel(frame->lv_1(), label);
}

QString ModuleWindowsTest::label(common::ManagerFrame* frame, const QString& data)
{
    return frame->lv_1()->label(listIndex(frame, data));
}

QString ModuleWindowsTest::treeLabel(common::ManagerFrame* frame, const QString& data)
{
    QTreeWidgetItem* item = testing_support::treeItem(frame, data);
    return item ? item->text(0) : QString();
}

}  // namespace writes_test
