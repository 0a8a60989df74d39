#include "common/administration_guard.h"

#include "host/messages.h"
#include "rights/administrators.h"

namespace common {

AdministrationGuard::AdministrationGuard(host::Transaction& trans) : trans_(trans)
{
    if (rights::administrationItems().isEmpty())
        return;
    on_ = true;
    if (!rights::lockAdministration(trans_)) {
        // On PostgreSQL a failed statement ends every later one of the
        // transaction with "current transaction is aborted": the transaction
        // goes now, so that the operator is told the lock's own reason when
        // the operation asks allows().
        reason_ = trans_.sqlerrtext;
        if (trans_.inWriteTransaction())
            (void)trans_.rollback();
        return;
    }
    before_ = rights::administratorCount(trans_);
    if (before_ < 0)
        reason_ = trans_.sqlerrtext;
}

bool AdministrationGuard::allows(bool tell)
{
    if (!on_)
        return true;
    if (before_ < 0) {
        // The lock or the first count failed: nothing is known, nothing is
        // let through.
        if (tell)
            host::databaseErrorBox(reason_);
        return false;
    }
    reason_.clear();
    if (before_ == 0)
        return true;
    const long long after = rights::administratorCount(trans_);
    if (after > 0)
        return true;
    if (after < 0) {
        reason_ = trans_.sqlerrtext;
        if (tell)
            host::databaseErrorBox(reason_);
        return false;
    }
    reason_ = QStringLiteral("此操作之后将没有操作员能够管理权限 (内置的 admin 除外), 操作已取消.\n"
                             "请先让另一名可以登录的操作员 (状态为 1 且已设置密码) "
                             "拥有权限管理和操作组权限设置的修改权限.");
    if (tell)
        host::MessageBox(QStringLiteral("提示"), reason_, host::Icon::Exclamation);
    return false;
}

}  // namespace common
