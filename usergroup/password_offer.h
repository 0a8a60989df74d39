#pragma once
// After 增加操作员 has stored a membership: an operator without a password
// cannot log in (nobody may claim the account by choosing one), so the
// administrator who just made the operator is offered 设置密码 at once.

#include <QString>

namespace usergroup {

// Tells the administrator that `id` was added ("增加成功."). When the
// operator's stored password is empty, the same box asks whether to set it
// now and, on 是, opens 设置密码 (w_right_set_password) for the operator.
void reportAdded(const QString& id);

}  // namespace usergroup
