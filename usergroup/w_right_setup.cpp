#include "usergroup/w_right_setup.h"

#include "common/administration_guard.h"
#include "common/levels.h"
#include "host/changed_meanwhile.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/operation.h"
#include "host/text_rows.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "usergroup/m_right_setup.h"
#include "usergroup/window_names.h"

#include <QTreeWidget>

namespace usergroup {

namespace {

const QString kTitle = QStringLiteral("提示");
const QString kCountMembers = QStringLiteral("select count ( *) from s_user_group where group_code = ?");

long long memberCount(const QString& group)
{
    return host::sqlca.selectValue(kCountMembers, {group}).toLongLong();
}

QString groupName(const QString& group)
{
    return host::trimBlanks(
        host::sqlca.selectValue(QStringLiteral("select group_name from s_group where group_id = ?"), {group})
            .toString());
}

// The user codes of a group's members, as stored, sorted.
bool readMembers(host::Transaction& trans, const QString& group, QStringList* members)
{
    QList<QVariantList> rows;
    if (trans.selectRows(QStringLiteral("select user_code from s_user_group where group_code = ?"), {group}, &rows) !=
        host::Transaction::kSuccess)
        return false;
    members->clear();
    for (const QVariantList& row : rows)
        members->append(row.value(0).toString());
    members->sort();
    return true;
}

enum class MoveStatus { Done, Failed, Changed };

// Moves the memberships `moving` of `source` into `target`, whose members
// were `already`, inside `operation`: read again in its transaction, both
// lists must be as the operator was shown them, and every statement must
// find its row. An operator in both groups loses its membership in the
// target first, so that the move cannot make it a member twice.
MoveStatus moveMembers(host::Operation& operation, const QString& source, const QString& target,
                       const QStringList& moving, const QStringList& already)
{
    if (!operation.begin())
        return MoveStatus::Failed;
    QStringList nowMoving;
    QStringList nowAlready;
    if (!readMembers(operation.transaction(), source, &nowMoving) ||
        !readMembers(operation.transaction(), target, &nowAlready))
        return MoveStatus::Failed;
    if (nowMoving != moving || nowAlready != already)
        return MoveStatus::Changed;
    for (const QString& user : moving) {
        if (already.contains(user)) {
            if (operation.execute(QStringLiteral("delete from s_user_group where user_code = ? and group_code = ?"),
                                  {user, target}) != host::Transaction::kSuccess)
                return MoveStatus::Failed;
            if (operation.transaction().sqlnrows != 1)
                return MoveStatus::Changed;
        }
        if (operation.execute(QStringLiteral("update s_user_group set group_code = ? where user_code = ? and "
                                             "group_code = ?"),
                              {target, user, source}) != host::Transaction::kSuccess)
            return MoveStatus::Failed;
        if (operation.transaction().sqlnrows != 1)
            return MoveStatus::Changed;
    }
    // A member another client added to the source meanwhile would stay
    // behind: not the whole group the operator saw.
    QStringList left;
    if (!readMembers(operation.transaction(), source, &left))
        return MoveStatus::Failed;
    return left.isEmpty() ? MoveStatus::Done : MoveStatus::Changed;
}

}  // namespace

common::FrameParameters w_right_setup::frameParameters()
{
    using common::Arg;
    common::FrameParameters p;
    p.title = QStringLiteral("权限管理");
    p.tag = QStringLiteral("m102");
    p.width = 2981;
    p.height = 1944;
    p.rootLabel = QStringLiteral("用户与组");

    p.entityView = QStringLiteral("dw_group");
    p.entityDataObject = QStringLiteral("d_right_group");
    p.entityKeyColumn = QStringLiteral("group_id");
    p.entityNameColumn = QStringLiteral("group_name");
    p.entityViewPlace = {814, 560, 750, 480};
    p.memberView = QStringLiteral("dw_group_user");
    p.memberDataObject = QStringLiteral("d_right_group_user");
    p.memberViewPlace = {1655, 32, 709, 600};
    p.memberFilterColumn = QStringLiteral("group_code");
    p.memberKeyColumn = QStringLiteral("user_code");

    p.treePictures = {QStringLiteral("Structure5!"), QStringLiteral("Group!"), QStringLiteral("Custom050!")};
    p.listPictures = {QStringLiteral("..\\pic\\会计核算.bmp"), QStringLiteral("..\\pic\\AQUA16.jpg")};

    p.add = {QStringLiteral("pb_add"), QStringLiteral("..\\pic\\2condition.bmp"), QStringLiteral("增加"),
             {14, 24, 178, 152}};
    p.edit = {QStringLiteral("pb_edit"), QStringLiteral("..\\pic\\changepwd.bmp"), QStringLiteral("编辑"),
              {197, 24, 174, 152}};
    p.remove = {QStringLiteral("pb_delete"), QStringLiteral("..\\pic\\2delet.bmp"), QStringLiteral("删除"),
                {379, 24, 174, 152}};
    p.button4 = {QStringLiteral("pb_right"), QStringLiteral("..\\pic\\分析.bmp"), QStringLiteral("权限设置"),
                 {562, 24, 174, 152}};
    p.button5 = {QStringLiteral("pb_change"), QStringLiteral("..\\pic\\sku.bmp"), QStringLiteral("全组更换"),
                 {745, 24, 174, 152}};
    p.close = {QStringLiteral("pb_close"), QStringLiteral("..\\pic\\exit.bmp"), QStringLiteral("关闭"),
               {1033, 24, 174, 152}};

    p.st_1 = {1522, 88, 850, 80};
    p.p_1 = {0, 184, 2917, 20};
    p.p_1Picture = QStringLiteral("..\\pic\\process-green.gif");
    p.tv_1 = {9, 220, 699, 1508};
    p.uo_1 = {699, 224, 0, 0};
    p.lv_1 = {731, 220, 1655, 1508};
    p.cb_tree = {987, 300, 402, 112};

    p.menuRoles.entityAdd = QStringLiteral("m_add_group");
    p.menuRoles.entityCommands = {QStringLiteral("m_mod_group"), QStringLiteral("m_delete_group")};
    p.menuRoles.memberAdd = QStringLiteral("m_add_operator");
    p.menuRoles.memberCommands = {QStringLiteral("m_mod_operator"), QStringLiteral("m_delete_operator"),
                                  QStringLiteral("m_set_password")};
    p.menuRoles.rootOnly = {QStringLiteral("m_group_right"), QStringLiteral("m_换组")};
    // The rights editor checks its own level ("003").
    p.menuRoles.anywhere = {QStringLiteral("m_right_query"), QStringLiteral("m_right_journal"),
                            QStringLiteral("m_refresh")};
    p.menuRoles.viewCommands = {QStringLiteral("m_group_right"), QStringLiteral("m_right_query"),
                                QStringLiteral("m_right_journal"), QStringLiteral("m_refresh")};
    p.viewButtons = {QStringLiteral("pb_right")};

    p.entityAddWindow = kGroupAdd;
    p.memberAddWindow = kUserAdd;

    // Renames and deletions name the label the operator saw (shownColumn).
    p.entityNoun = QStringLiteral("操作组");
    p.memberNoun = QStringLiteral("操作员");
    p.entityNameQuery = QStringLiteral("select group_name from s_group where group_id = ?");
    p.memberNameQuery = QStringLiteral("select name from s_employee where id = ?");
    p.renameEntity = {QStringLiteral("update s_group set group_name = ? where group_id = ?"),
                      {Arg::Name, Arg::Key},
                      false,
                      QStringLiteral("group_name")};
    p.renameMember = {QStringLiteral("update s_employee set name = ? where id = ?"),
                      {Arg::Name, Arg::Key},
                      false,
                      QStringLiteral("name")};
    p.blankEntityName = QStringLiteral("组名称不能为空.");
    // The member rename writes the employee's name.
    p.blankMemberName = QStringLiteral("员工名称不能为空.");
    // A membership another client removed meanwhile is not what the operator
    // saw: the delete is refused and the list read again on request.
    p.deleteMember = {{QStringLiteral("delete from s_user_group where user_code = ? and group_code = ?"),
                       {Arg::Key, Arg::EntityKey}}};
    // The group's rights go with it: a group created again under the same id
    // must not inherit them.
    p.deleteEntity = {{QStringLiteral("delete from s_group where group_id = ?"),
                       {Arg::Key},
                       false,
                       QStringLiteral("group_name")},
                      {QStringLiteral("delete from s_user_group where group_code = ?"), {Arg::Key}, true},
                      {QStringLiteral("delete from s_group_power where group_id = ?"), {Arg::Key}, true}};
    p.deleteEntityQuestion = QStringLiteral("将会删除该组下的所有操作员, 继续进行删除操作吗?");
    return p;
}

w_right_setup::w_right_setup(QWidget* parent) : common::ManagerFrame(frameParameters(), parent) {}

QString w_right_setup::deleteEntityQuestion(const QString& key)
{
    // The question's words say "operators"; only their memberships go.
    return common::ManagerFrame::deleteEntityQuestion(key) +
           QStringLiteral("\n操作员本身不会被删除, 只删除他们在该组的成员关系 (共 %1 个) 和该组的权限.")
               .arg(memberCount(key));
}

std::unique_ptr<common::PopupMenu> w_right_setup::createPopupMenu()
{
    return std::make_unique<m_right_setup>();
}

void w_right_setup::beforeReadMembers(const QString& entityKey)
{
    // The names of all the group's operators in one statement, not one each.
    // A read that fails leaves names out: each is then looked up on its own.
    memberNames_.clear();
    host::TextRows names;
    if (host::sqlca.readRows(QStringLiteral("select s_employee.id , s_employee.name from s_employee , "
                                            "s_user_group where s_employee.id = s_user_group.user_code "
                                            "and s_user_group.group_code = ?"),
                             {entityKey}, &names)
        != host::Transaction::kSuccess)
        return;
    memberNames_.reserve(size_t(names.rowCount()));
    for (qsizetype r = 0; r < names.rowCount(); ++r)
        memberNames_.insert_or_assign(host::trimBlanks(names.value(r, 0).toString()), names.value(r, 1).toString());
}

void w_right_setup::readMember(long row, QString* key, QString* name)
{
    *key = host::trimBlanks(memberView()->getItemString(row, QStringLiteral("user_code")));
    const auto known = memberNames_.find(*key);
    if (known != memberNames_.end()) {
        *name = known->second;
        return;
    }
    // Not among the names read (no employee row, or a code stored with
    // blanks): looked up on its own, as the warning needs.
    const QVariant found = host::sqlca.selectValue(QStringLiteral("select name from s_employee where id = ?"), {*key});
    if (host::sqlca.sqlcode == host::Transaction::kNotFound)
        host::f_box(QStringLiteral("不存在编号为") + *key + QStringLiteral("的员工"));
    // An operator without an employee row is listed with an empty label.
    *name = found.isNull() ? QString() : found.toString();
}

void w_right_setup::button4Clicked()
{
    host::WindowRegistry::open(kRightSetup);
}

void w_right_setup::button5Clicked()
{
    if (level(currentTreeItem()) == 1 && lv_1()->selectedIndex() > 0)
        post([this] { ue_changegroup(); });
}

void w_right_setup::helpEvent(int xpos, int ypos)
{
    common::ManagerFrame::helpEvent(xpos, ypos);
    showHelp();
}

void w_right_setup::ue_changegroup()
{
    if (!common::ensureCanModify(this))
        return;
    const int index = lv_1()->selectedIndex();
    const QString source = lv_1()->data(index);
    if (index <= 0) {
        host::MessageBox(kTitle, QStringLiteral("请选择要变换的起始组."), host::Icon::Information, host::Buttons::Ok);
        return;
    }
    if (memberCount(source) <= 0) {
        host::MessageBox(kTitle, QStringLiteral("该组用户为空，请重新选择起始组."));
        return;
    }
    const QString target = host::WindowRegistry::openWithReturn(kSelectGroup, source);
    if (target.isEmpty())
        return;

    // The operator sees what will move before anything does: source,
    // target and the number of operators, also when the target is empty.
    // The move names exactly these memberships.
    QStringList moving;
    QStringList already;
    if (!readMembers(host::sqlca, source, &moving) || !readMembers(host::sqlca, target, &already)) {
        host::databaseErrorBox(host::sqlca.sqlerrtext);
        return;
    }
    const QString detail = QStringLiteral("\n起始组：") + source + QStringLiteral(" ") + groupName(source) +
                           QStringLiteral(", 操作员 %1 个\n目的组：").arg(moving.size()) + target +
                           QStringLiteral(" ") + groupName(target) +
                           QStringLiteral(", 操作员 %1 个").arg(already.size());
    const QString question =
        already.isEmpty() ? QStringLiteral("是否将起始组的全部操作员转移至目的组.")
                          : QStringLiteral("该目的组尚有其他用户，是否强制转移至该组.\n"
                                           "选择[是]则执行转移，选择[否]则不执行转移操作.");
    if (host::MessageBox(kTitle, question + detail, host::Icon::Question, host::Buttons::YesNo, host::Answer::No) !=
        host::Answer::Yes)
        return;

    common::AdministrationGuard guard;
    host::Operation operation;
    const MoveStatus status = moveMembers(operation, source, target, moving, already);
    if (status == MoveStatus::Done && !guard.allows()) {
        operation.rollback();
        return;
    }
    if (status == MoveStatus::Done && operation.commit() == host::Transaction::kSuccess) {
        host::MessageBox(kTitle, QStringLiteral("更换组成功."));
        return;
    }
    const bool changed = status == MoveStatus::Changed || host::sqlca.changedMeanwhile();
    operation.rollback();
    if (!changed) {
        host::MessageBox(kTitle, QStringLiteral("更新失败."));
        return;
    }
    if (host::askReadAgain(QStringLiteral("更新失败."),
                           host::changedMeanwhileText(QStringLiteral("操作组 ") + source + QStringLiteral(" 和 ") +
                                                      target + QStringLiteral(" 的操作员"))))
        refresh();
}

void w_right_setup::ue_query()
{
    // An operator selected under a group is shown at once.
    const int index = lv_1()->selectedIndex();
    const QString id = level(currentTreeItem()) == 2 && index > 0 ? lv_1()->data(index) : QString();
    host::WindowRegistry::open(kQuery, id);
}

void w_right_setup::ue_set_password()
{
    const int index = lv_1()->selectedIndex();
    if (level(currentTreeItem()) != 2 || index < 1)
        return;
    host::WindowRegistry::openWithReturn(kSetPassword, lv_1()->data(index));
}

}  // namespace usergroup
