// The module's sixteen data views against the tables on both databases:
// each retrieves, and each updatable one inserts, updates and deletes.
#include "host/transaction.h"
#include "platform/datastore.h"
#include "platform/sql_text.h"
#include "dataviews/dataviews.h"
#include "tests/support/test_db.h"

using host::sqlca;
using platform::DataStore;
using testing_support::DbTest;

namespace {

const QStringList kViews = {
    "d_right_department", "d_right_department_edit", "d_right_department_freeform", "d_right_employee",
    "d_right_employee_edit", "d_right_employee_freeform", "d_right_group", "d_right_group_freeform",
    "d_right_group_user", "d_right_right_setup", "d_right_user_freeform", "dddw_right_department",
    "dddw_right_employee", "dddw_right_group", "dddw_right_module_name", "dddw_right_user",
};

// A value for a column, unique per `seed`, within the column's length.
QString valueFor(const platform::ColumnDefinition& column, int seed)
{
    if (!column.codeTable.isEmpty())
        return column.codeTable.at(seed % column.codeTable.size()).value;
    const QString text = QStringLiteral("%1").arg(seed, 3, 10, QLatin1Char('0'));
    return column.maxLength > 0 ? text.right(column.maxLength) : text;
}

}  // namespace

class DataViewsTest : public DbTest {};

TEST(DataViewDefinitions, SixteenViewsWithTheirLabelsAndOwnerQualification)
{
    dataviews::registerDataViews();
    dataviews::registerDataViews();  // a second call changes nothing
    for (const QString& name : kViews)
        ASSERT_NE(platform::findDefinition(name), nullptr) << name.toStdString();

    const auto* setup = platform::findDefinition("d_right_right_setup");
    const auto& item = setup->columns.at(setup->columnIndex("m_item_code"));
    EXPECT_EQ(item.label, "模块名称");
    EXPECT_EQ(item.dropDown.dataObject, "dddw_right_module_name");
    EXPECT_EQ(item.tabOrder, 0);
    EXPECT_EQ(item.protect, "if (isrownew(), 0, 1)");
    const auto& level = setup->columns.at(setup->columnIndex("group_right"));
    ASSERT_EQ(level.codeTable.size(), 3);
    EXPECT_EQ(level.codeTable.at(2).text, "修改");
    EXPECT_EQ(level.codeTable.at(2).value, "2");
    EXPECT_EQ(setup->keyColumns, (QStringList{"group_id", "m_item_code"}));

    const auto* edit = platform::findDefinition("d_right_employee_edit");
    EXPECT_TRUE(edit->columns.at(edit->columnIndex("id")).displayOnly);
    EXPECT_EQ(edit->columns.at(edit->columnIndex("status")).label, "状态:");
    EXPECT_EQ(edit->columns.at(edit->columnIndex("dept_id")).dropDown.displayColumn, "dept_name");

    host::Transaction dbo;
    dbo.tableOwner = "dbo";
    EXPECT_TRUE(platform::selectText(*setup, dbo).contains("from dbo.s_group_power"));
    EXPECT_EQ(platform::updateTableText(*setup, dbo), "dbo.s_group_power");
    EXPECT_FALSE(platform::selectText(*setup, sqlca).contains("dbo"));
    EXPECT_FALSE(platform::selectText(*setup, sqlca).contains("{owner}"));
    const auto* department = platform::findDefinition("dddw_right_department");
    EXPECT_FALSE(platform::selectText(*department, dbo).contains("dbo"));  // not owner-qualified
}

TEST_P(DataViewsTest, EveryViewRetrievesAndEveryUpdatableOneWrites)
{
    loadSample();
    int seed = 100;
    for (const QString& name : kViews) {
        SCOPED_TRACE(name.toStdString());
        DataStore store(name);
        const platform::Definition* def = store.definition();
        ASSERT_NE(def, nullptr);
        store.setTransObject(sqlca);
        QVariantList args;
        for (int i = 0; i < def->arguments.size(); ++i)
            args << QString("none");
        ASSERT_GE(store.retrieve(args), 0) << sqlca.sqlerrtext.toStdString();
        if (args.isEmpty()) {
            EXPECT_GT(store.rowCount(), 0);
        }
        if (def->updateTable.isEmpty())
            continue;

        // Insert a row with every written column filled.
        const long row = store.insertRow(0);
        for (const auto& column : def->columns) {
            if (!column.updateName.isEmpty()) {
                ASSERT_EQ(store.setItem(row, column.name, valueFor(column, ++seed)), 1)
                    << store.lastError().toStdString();
            }
        }
        ASSERT_EQ(store.update(), 1) << sqlca.sqlerrtext.toStdString();
        ASSERT_EQ(sqlca.commit(), 0);
        QString where;
        QVariantList keys;
        for (const QString& key : def->keyColumns) {
            where += (where.isEmpty() ? "" : " and ") + key + " = ?";
            keys << store.getItem(row, key);
        }
        EXPECT_EQ(count(def->updateTable, where, keys), 1);

        // Change every column (keys included) and save.
        QVariantList newKeys;
        for (const auto& column : def->columns) {
            if (!column.updateName.isEmpty()) {
                ASSERT_EQ(store.setItem(row, column.name, valueFor(column, ++seed)), 1);
            }
        }
        for (const QString& key : def->keyColumns)
            newKeys << store.getItem(row, key);
        ASSERT_EQ(store.update(), 1) << sqlca.sqlerrtext.toStdString();
        ASSERT_EQ(sqlca.commit(), 0);
        EXPECT_EQ(count(def->updateTable, where, keys), 0);
        EXPECT_EQ(count(def->updateTable, where, newKeys), 1);

        // Delete it.
        ASSERT_EQ(store.deleteRow(row), 1);
        ASSERT_EQ(store.update(), 1) << sqlca.sqlerrtext.toStdString();
        ASSERT_EQ(sqlca.commit(), 0);
        EXPECT_EQ(count(def->updateTable, where, newKeys), 0);
    }
}

TEST_P(DataViewsTest, DropDownListsReadTheirRows)
{
    loadSample();
    DataStore users("dddw_right_user");
    users.setTransObject(sqlca);
    ASSERT_EQ(users.retrieve(), 5) << sqlca.sqlerrtext.toStdString();
    const long row = users.find("id = 'E004'", 1, 5);
    ASSERT_GT(row, 0);
    EXPECT_EQ(users.getItemString(row, "name"), "刘洋");
    EXPECT_EQ(users.getItemString(row, "s_employee.name"), "刘洋");
}

WMS_INSTANTIATE_DB_TESTS(DataViewsTest);
