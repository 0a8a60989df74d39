#include "dataviews/dataviews.h"

#include "platform/datastore.h"
#include "platform/definition.h"
#include "schema/tables.h"

namespace dataviews {

namespace {

using namespace schema;  // the tables, columns and codes the views read

using platform::ColumnDefinition;
using platform::Definition;
using platform::EditStyle;
using platform::Style;

// A plain column of the update table (updatable views) or of a list.
ColumnDefinition col(const QString& name, int length, const QString& label, int tab, bool updatable = true)
{
    ColumnDefinition c;
    c.name = name;
    c.updateName = updatable ? name : QString();
    c.maxLength = length;
    c.label = label;
    c.tabOrder = tab;
    return c;
}

ColumnDefinition displayOnly(ColumnDefinition c)
{
    c.displayOnly = true;
    c.tabOrder = 0;
    return c;
}

ColumnDefinition hidden(ColumnDefinition c)
{
    c.visible = false;
    return c;
}

ColumnDefinition codeTable(ColumnDefinition c, const QList<Code>& codes)
{
    c.edit = EditStyle::CodeTable;
    for (const Code& code : codes)
        c.codeTable.append({code.text, code.value});
    return c;
}

ColumnDefinition dropDown(ColumnDefinition c, const QString& source, const QString& display, const QString& data)
{
    c.edit = EditStyle::DropDown;
    c.dropDown.dataObject = source;
    c.dropDown.displayColumn = display;
    c.dropDown.dataColumn = data;
    return c;
}

Definition view(const QString& name, Style style, const QString& select, QList<ColumnDefinition> columns,
                const QString& updateTable, const QStringList& keys, bool ownerQualified,
                const QStringList& arguments = {})
{
    Definition d;
    d.name = name;
    d.style = style;
    d.select = select;
    d.columns = std::move(columns);
    d.updateTable = updateTable;
    d.keyColumns = keys;
    d.ownerQualified = ownerQualified;
    d.arguments = arguments;
    return d;
}

// The module item cell of the rights grid: light green in the current row
// while the row is new, grey-blue otherwise.
QColor moduleItemBackground(const platform::DataStore& store, long row, bool current)
{
    const platform::ItemStatus status = store.getItemStatus(row);
    const bool isNew = status == platform::ItemStatus::New || status == platform::ItemStatus::NewModified;
    if (current && isNew)
        return QColor(216, 240, 208);
    return QColor(128, 152, 176);
}

QList<Definition> departmentViews()
{
    const QString all = QStringLiteral("select dept_id, dept_name, memo from %1s_dept");
    auto columns = [] {
        return QList<ColumnDefinition>{col("dept_id", len::dept_id, "部门编号", 10),
                                       col("dept_name", len::dept_name, "部门名称", 20),
                                       col("memo", len::memo, "备注", 30)};
    };
    QList<ColumnDefinition> edit = columns();
    edit[0] = displayOnly(edit[0]);
    edit[1].tabOrder = 10;
    edit[2].tabOrder = 20;
    return {
        view("d_right_department", Style::Grid, all.arg("{owner}") + " order by dept_id", columns(), s_dept,
             {"dept_id"}, true),
        view("d_right_department_edit", Style::Form, all.arg("") + " where dept_id = ?", edit, s_dept, {"dept_id"},
             false, {"id"}),
        view("d_right_department_freeform", Style::Form, all.arg(""), columns(), s_dept, {"dept_id"}, false),
    };
}

QList<Definition> employeeViews()
{
    const QString all = QStringLiteral("select id, name, dept_id, status from %1s_employee");
    auto formColumns = [](bool edit) {
        ColumnDefinition id = col("id", len::employee_id, "员工编号:", 10);
        ColumnDefinition name = col("name", len::employee_name, "员工姓名:", 20);
        ColumnDefinition dept = dropDown(col("dept_id", len::dept_id, "部门:", 40), "dddw_right_department",
                                         "dept_name", "dept_id");
        ColumnDefinition status = codeTable(col("status", len::employee_status, "状态:", 30), employeeStatuses());
        if (edit) {
            id = displayOnly(id);
            name.tabOrder = 10;
            status.tabOrder = 20;
            dept.tabOrder = 30;
        }
        return QList<ColumnDefinition>{id, name, dept, status};
    };
    return {
        view("d_right_employee", Style::Grid, all.arg("{owner}") + " order by id",
             {col("id", len::employee_id, "Id", 10), col("name", len::employee_name, "Name", 20),
              col("dept_id", len::dept_id, "Dept Id", 30), col("status", len::employee_status, "Status", 40)},
             s_employee, {"id"}, true),
        view("d_right_employee_edit", Style::Form, all.arg("") + " where id = ?", formColumns(true), s_employee,
             {"id"}, false, {"id"}),
        view("d_right_employee_freeform", Style::Form, all.arg(""), formColumns(false), s_employee, {"id"}, false),
    };
}

QList<Definition> groupViews()
{
    const QString all = QStringLiteral("select group_id, group_name from {owner}s_group");
    ColumnDefinition item = dropDown(col("m_item_code", len::m_item_code, "模块名称", 0), "dddw_right_module_name",
                                     "name", "m_item_code");
    item.protect = QStringLiteral("if (isrownew(), 0, 1)");
    item.background = moduleItemBackground;
    ColumnDefinition group = dropDown(col("group_code", len::group_id, "操作组:", 0), "dddw_right_group",
                                      "group_name", "group_id");
    return {
        view("d_right_group", Style::Grid, all + " order by group_id",
             {col("group_id", len::group_id, "组编号", 10), col("group_name", len::group_name, "组名", 20)}, s_group,
             {"group_id"}, true),
        view("d_right_group_freeform", Style::Form, all,
             {col("group_id", len::group_id, "组编号:", 10), col("group_name", len::group_name, "组名称:", 20)},
             s_group, {"group_id"}, true),
        view("d_right_group_user", Style::Grid,
             "select user_code, group_code from {owner}s_user_group order by group_code, user_code",
             {col("user_code", len::user_id, "User Code", 10), col("group_code", len::group_id, "Group Code", 20)},
             s_user_group, {"user_code", "group_code"}, true),
        view("d_right_right_setup", Style::Grid,
             "select group_id, m_item_code, group_right from {owner}s_group_power order by group_id, m_item_code",
             // The group is the one being edited: its code is shown, never typed.
             {displayOnly(col("group_id", len::group_id, "组号", 10)), item,
              codeTable(col("group_right", len::group_right, "权限", 20), rightLevels())},
             s_group_power, {"group_id", "m_item_code"}, true),
        view("d_right_user_freeform", Style::Form, "select user_code, group_code from {owner}s_user_group",
             {dropDown(col("user_code", len::user_id, "操作员:", 10), "dddw_right_employee", "id", "id"),
              displayOnly(group)},
             s_user_group, {"user_code", "group_code"}, true),
    };
}

QList<Definition> dropDownViews()
{
    ColumnDefinition userId = col("id", len::user_id, "操作员编号", 0, false);
    userId.selectName = QStringLiteral("s_user.id");
    ColumnDefinition userName = col("name", len::employee_name, "操作员姓名", 0, false);
    userName.selectName = QStringLiteral("s_employee.name");
    return {
        view("dddw_right_department", Style::List, "select dept_name, dept_id from s_dept order by dept_id",
             {col("dept_name", len::dept_name, "Dept Name", 0, false),
              hidden(col("dept_id", len::dept_id, "", 0, false))},
             {}, {}, false),
        // Employees who have left (status "2") are offered to nobody.
        view("dddw_right_employee", Style::Grid,
             "select id, name from {owner}s_employee where status is null or status <> '2' order by id",
             {col("id", len::employee_id, "员工编号", 0, false), col("name", len::employee_name, "员工姓名", 0, false)},
             {}, {}, true),
        view("dddw_right_group", Style::List, "select group_id, group_name from {owner}s_group order by group_id",
             {col("group_id", len::group_id, "组编号", 0, false),
              col("group_name", len::group_name, "组名称", 0, false)},
             {}, {}, true),
        view("dddw_right_module_name", Style::List,
             "select m_item_code, name from s_moudle_item order by m_item_code",
             {hidden(col("m_item_code", len::m_item_code, "", 0, false)),
              col("name", len::m_item_name, "", 0, false)},
             {}, {}, false),
        view("dddw_right_user", Style::List,
             "select s_user.id, s_employee.name from {owner}s_user, {owner}s_employee "
             "where s_user.id = s_employee.id and ( s_employee.status is null or s_employee.status <> '2' ) "
             "order by s_user.id",
             {userId, userName}, {}, {}, true),
    };
}

}  // namespace

void registerDataViews()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    for (const auto& list : {departmentViews(), employeeViews(), groupViews(), dropDownViews()})
        for (const Definition& definition : list)
            platform::registerDefinition(definition);
}

}  // namespace dataviews
