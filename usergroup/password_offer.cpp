#include "usergroup/password_offer.h"

#include "host/messages.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "usergroup/window_names.h"

namespace usergroup {

namespace {

// True when the operator exists and has no password. A failed read offers
// nothing: the add itself succeeded, and 设置密码 stays in the popup menu.
bool hasNoPassword(const QString& id)
{
    const QVariant found = host::sqlca.selectValue(
        QStringLiteral("select count ( *) from s_user where id = ? and ( password is null or password = ? )"),
        {id, QStringLiteral("")});
    return host::sqlca.sqlcode == host::Transaction::kSuccess && found.toLongLong() > 0;
}

}  // namespace

void reportAdded(const QString& id)
{
    const QString added = QStringLiteral("增加成功.");
    if (!hasNoPassword(id)) {
        host::f_box(added);
        return;
    }
    const host::Answer answer =
        host::MessageBox(QStringLiteral("提示"),
                         added + QStringLiteral("\n该操作员尚未设置密码, 设置之前不能登录.\n"
                                                "是否现在为该操作员设置密码?"),
                         host::Icon::Question, host::Buttons::YesNo, host::Answer::Yes);
    if (answer == host::Answer::Yes)
        host::WindowRegistry::openWithReturn(kSetPassword, id);
}

}  // namespace usergroup
