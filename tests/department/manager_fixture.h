#pragma once
// A department manager on the sample database, shown offscreen, with
// scripted message boxes.

#include "department/w_right_department_manage.h"
#include "tests/support/modal_responder.h"
#include "tests/support/scripted_messages.h"
#include "host/window_registry.h"
#include "tests/support/test_db.h"

#include <QStringList>

class QTreeWidgetItem;

namespace department_test {

class DepartmentTest : public testing_support::DbTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the manager through the window registry, as the host does.
    department::w_right_department_manage* openManager();
    department::w_right_department_manage* manager() const { return manager_; }
    // Opens a registered window with a parameter and runs posted events.
    template <class W>
    W* open(const QString& className, const QString& parameter = {});

    // Runs posted events.
    static void pump();

    // Selects the department with this code (or the root, "000") in the tree.
    void selectTree(const QString& data);
    QTreeWidgetItem* treeItem(const QString& data) const;
    QStringList treeLabels() const;
    QStringList treeData() const;
    QStringList listLabels() const;
    QStringList listData() const;
    int listIndex(const QString& data) const;

    // Mouse clicks in lv_1 on item `index`, or beside every item for 0.
    void click(int index);
    void doubleClick(int index);
    // Types `text` into the label editor of the list and presses Return.
    void typeLabel(const QString& text);
    // The employee codes of a department in the database, sorted.
    QStringList employees(const QString& dept);
    // One column of one row, null when there is none.
    QVariant column(const QString& table, const QString& column, const QString& keyColumn, const QString& key);
    // Makes every `operation` ("delete", "insert", "update") on `table` fail.
    void refuse(const QString& operation, const QString& table);

    testing_support::ScriptedMessages messages;

private:
    QPoint listPoint(int index) const;
    department::w_right_department_manage* manager_ = nullptr;
};

template <class W>
W* DepartmentTest::open(const QString& className, const QString& parameter)
{
    auto* window = qobject_cast<W*>(host::WindowRegistry::open(className, parameter));
    pump();
    return window;
}

}  // namespace department_test
