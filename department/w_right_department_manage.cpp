#include "department/w_right_department_manage.h"

#include "common/levels.h"
#include "common/pictures.h"
#include "department/m_right_dept.h"
#include "department/window_names.h"
#include "host/filter.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/operation.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "platform/expression.h"

#include <QSet>
#include <QTreeWidgetItem>

namespace department {

namespace {
const QString kNoDepartmentLabel = QStringLiteral("(无部门)");
}  // namespace

common::FrameParameters w_right_department_manage::frameParameters()
{
    using common::Arg;
    common::FrameParameters p;
    p.title = QStringLiteral("部门管理");
    p.tag = QStringLiteral("m101");
    p.width = 2994;
    p.height = 2052;
    p.minMaxResizable = true;
    p.rootLabel = QStringLiteral("部门信息");

    p.entityView = QStringLiteral("dw_dept");
    p.entityDataObject = QStringLiteral("d_right_department");
    p.entityKeyColumn = QStringLiteral("dept_id");
    p.entityNameColumn = QStringLiteral("dept_name");
    p.entityViewPlace = {855, 652, 750, 480};
    p.memberView = QStringLiteral("dw_employee");
    p.memberDataObject = QStringLiteral("d_right_employee");
    p.memberViewPlace = {1463, 228, 709, 600};
    p.memberFilterColumn = QStringLiteral("dept_id");
    p.memberKeyColumn = QStringLiteral("id");
    p.memberNameColumn = QStringLiteral("name");

    p.treePictures = {QStringLiteral("Structure!"), QStringLiteral("Custom020!"), QStringLiteral("Custom050!")};
    p.listPictures = {QStringLiteral("..\\pic\\客户服务.bmp"), QStringLiteral("..\\pic\\AQUA16.jpg")};

    p.add = {QStringLiteral("pb_add"), QStringLiteral("..\\pic\\2condition.bmp"), QStringLiteral("增加"),
             {14, 8, 174, 152}};
    p.edit = {QStringLiteral("pb_edit"), QStringLiteral("..\\pic\\changepwd.bmp"), QStringLiteral("编辑"),
              {197, 8, 174, 152}};
    p.remove = {QStringLiteral("pb_delete"), QStringLiteral("..\\pic\\2delet.bmp"), QStringLiteral("删除"),
                {379, 8, 174, 152}};
    p.button4 = {QStringLiteral("pb_batch"), QStringLiteral("..\\pic\\2import.bmp"), QStringLiteral("批导入员工"),
                 {562, 8, 174, 152}};
    p.button5 = {QStringLiteral("pb_batchdel"), QStringLiteral("..\\pic\\stockinprp.bmp"),
                 QStringLiteral("批删除员工"), {745, 8, 174, 152}};
    p.close = {QStringLiteral("pb_close"), QStringLiteral("..\\pic\\exit.bmp"), QStringLiteral("关闭部门管理"),
               {1042, 8, 174, 152}};

    p.st_1 = {1303, 64, 1093, 88};
    p.p_1 = {0, 168, 2917, 20};
    p.p_1Picture = QStringLiteral("..\\pic\\process-green.gif");
    p.tv_1 = {9, 208, 699, 1348};
    p.uo_1 = {699, 200, 0, 0};
    p.lv_1 = {731, 208, 1655, 1348};
    p.cb_tree = {987, 300, 402, 112};

    p.menuRoles.entityAdd = QStringLiteral("m_add_dept");
    p.menuRoles.entityCommands = {QStringLiteral("m_modify_dept"), QStringLiteral("m_编辑部门"),
                                  QStringLiteral("m_delete_dept")};
    p.menuRoles.memberAdd = QStringLiteral("m_add_employee");
    p.menuRoles.memberCommands = {QStringLiteral("m_modify_employee"), QStringLiteral("m_edit_employee"),
                                  QStringLiteral("m_delete_employee")};
    p.menuRoles.rootOnly = {QStringLiteral("m_batchadd"), QStringLiteral("m_batchdel")};
    // The edit dialogs show the record to an operator who may only look.
    p.menuRoles.anywhere = {QStringLiteral("m_refresh")};
    p.menuRoles.viewCommands = {QStringLiteral("m_编辑部门"), QStringLiteral("m_edit_employee"),
                                QStringLiteral("m_refresh")};
    p.viewButtons = {QStringLiteral("pb_edit")};

    p.entityAddWindow = kDepartmentAdd;
    p.memberAddWindow = kEmployeeAdd;

    // Renames and deletions name the label the operator saw (shownColumn).
    p.entityNoun = QStringLiteral("部门");
    p.memberNoun = QStringLiteral("员工");
    p.entityNameQuery = QStringLiteral("select dept_name from s_dept where dept_id = ?");
    p.memberNameQuery = QStringLiteral("select name from s_employee where id = ?");
    p.renameEntity = {QStringLiteral("update s_dept set dept_name = ? where dept_id = ?"),
                      {Arg::Name, Arg::Key},
                      false,
                      QStringLiteral("dept_name")};
    p.renameMember = {QStringLiteral("update s_employee set name = ? where id = ?"),
                      {Arg::Name, Arg::Key},
                      false,
                      QStringLiteral("name")};
    p.blankEntityName = QStringLiteral("部门名称不能为空.");
    // The member rename writes the employee's name.
    p.blankMemberName = QStringLiteral("员工名称不能为空.");
    // An employee who is also an operator loses the operator account and its
    // memberships with it: a deleted employee must not log in any more.
    p.deleteMember = {{QStringLiteral("delete from s_employee where id = ?"), {Arg::Key}, false, QStringLiteral("name")},
                      {QStringLiteral("delete from s_user_group where user_code = ?"), {Arg::Key}, true},
                      {QStringLiteral("delete from s_user where id = ?"), {Arg::Key}, true}};
    // Refused while the department holds employees (entityDeleteAllowed).
    p.deleteEntity = {
        {QStringLiteral("delete from s_dept where dept_id = ?"), {Arg::Key}, false, QStringLiteral("dept_name")}};
    p.doubleClickOnlyAtRoot = true;
    return p;
}

w_right_department_manage::w_right_department_manage(QWidget* parent)
    : common::ManagerFrame(frameParameters(), parent)
{
}

QString w_right_department_manage::deleteQuestion(int treeLevel, const QString& key, const QString& label)
{
    QString question = common::ManagerFrame::deleteQuestion(treeLevel, key, label);
    if (treeLevel == 2 && host::sqlca.selectValue(QStringLiteral("select count ( *) from s_user where id = ?"), {key})
                                  .toLongLong() > 0)
        question += QStringLiteral("\n该员工同时是操作员, 其操作员帐号和所属组将一并删除.");
    return question;
}

std::unique_ptr<common::PopupMenu> w_right_department_manage::createPopupMenu()
{
    return std::make_unique<m_right_dept>();
}

void w_right_department_manage::button2Event()
{
    ue_edit();
}

void w_right_department_manage::button4Clicked()
{
    post([this] { ue_batchadd(); });
}

void w_right_department_manage::button5Clicked()
{
    post([this] { ue_batchdel(); });
}

void w_right_department_manage::ue_edit()
{
    const int index = lv_1()->selectedIndex();
    // Without a selected item there is nothing to edit.
    if (index < 1)
        return;
    const QString id = lv_1()->data(index);
    switch (level(currentTreeItem())) {
    case 1:
        host::WindowRegistry::open(kDepartmentEdit, id);
        break;
    case 2:
        host::WindowRegistry::open(kEmployeeEdit, id);
        break;
    default:
        break;
    }
}

QString w_right_department_manage::selectedDepartment() const
{
    // Only the root's list holds departments; an employee's code or no
    // selection at all must never become the department of a series.
    const int index = lv_1()->selectedIndex();
    if (index < 1 || level(currentTreeItem()) != 1)
        return {};
    return lv_1()->data(index);
}

void w_right_department_manage::ue_batchadd()
{
    if (!common::ensureCanModify(this))
        return;
    const QString id = selectedDepartment();
    if (!id.isEmpty())
        host::WindowRegistry::openWithReturn(kBatchAdd, id);
}

void w_right_department_manage::ue_batchdel()
{
    if (!common::ensureCanModify(this))
        return;
    const QString id = selectedDepartment();
    if (!id.isEmpty())
        host::WindowRegistry::openWithReturn(kBatchDel, id);
}

}  // namespace department

namespace department {

const QString& w_right_department_manage::noDepartmentKey()
{
    static const QString key = QStringLiteral("(无部门):no department");
    return key;
}

bool w_right_department_manage::isNoDepartment(const QTreeWidgetItem* item)
{
    return level(item) == 2 && itemData(item) == noDepartmentKey();
}

QString w_right_department_manage::noDepartmentFilter() const
{
    QList<QVariantList> rows;
    if (host::sqlca.selectRows(QStringLiteral("select dept_id from s_dept"), {}, &rows) != 0) {
        host::databaseErrorBox(host::sqlca.sqlerrtext);
        return {};
    }
    QSet<QString> seen;
    QStringList known;
    for (const QVariantList& row : rows) {
        const QString code = host::trimBlanks(row.value(0).toString());
        if (!seen.contains(code)) {
            seen.insert(code);
            known << QStringLiteral("dept_id = ") + platform::quoteLiteral(code);
        }
    }
    if (known.isEmpty())
        return QStringLiteral("isnull(dept_id) or not isnull(dept_id)");
    return QStringLiteral("isnull(dept_id) or not (") + known.join(QStringLiteral(" or ")) + QStringLiteral(")");
}

QString w_right_department_manage::memberFilter(const QString& entityKey) const
{
    if (entityKey != noDepartmentKey())
        return common::ManagerFrame::memberFilter(entityKey);
    const QString filter = noDepartmentFilter();
    // Unread departments show nobody rather than everybody.
    return filter.isEmpty() ? QStringLiteral("isnull(dept_id) and not isnull(dept_id)") : filter;
}

void w_right_department_manage::treeBuilt(QTreeWidgetItem*)
{
    const QString filter = noDepartmentFilter();
    if (filter.isEmpty() || host::f_filter(*memberView(), filter) < 0 || memberView()->rowCount() == 0)
        return;
    if (QTreeWidgetItem* item = addTreeChild(kNoDepartmentLabel, noDepartmentKey()))
        item->setToolTip(0, QStringLiteral("部门不存在的员工"));
}

bool w_right_department_manage::entityDeleteAllowed(host::Operation& operation, const QString& key)
{
    // The count is read in the delete's own transaction, with the employees
    // locked against writes until it ends, so that nobody adds or moves an
    // employee into the department between the count and the COMMIT.
    host::Transaction& trans = operation.transaction();
    if (!trans.beginWrite() ||
        (trans.dialect() == host::Dialect::Postgres &&
         operation.execute(QStringLiteral("lock table s_employee in share mode")) != host::Transaction::kSuccess)) {
        host::databaseErrorBox(operation.error());
        return false;
    }
    QVariantList row;
    if (trans.selectInto(QStringLiteral("select count ( *) from s_employee where dept_id = ?"), {key}, row) !=
        host::Transaction::kSuccess) {
        host::databaseErrorBox(operation.error());
        return false;
    }
    const long long employees = row.value(0).toLongLong();
    if (employees == 0)
        return true;
    host::MessageBox(QStringLiteral("提示"),
                     QStringLiteral("该部门下还有%1名员工, 请先删除员工或将其调到其他部门.").arg(employees),
                     host::Icon::Exclamation);
    return false;
}

}  // namespace department
