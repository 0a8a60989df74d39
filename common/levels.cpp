#include "common/levels.h"

#include "host/messages.h"
#include "rights/f_button_right.h"

namespace common {

bool canModify(QWidget* window)
{
    return rights::f_button_right(window) >= 2;
}

bool ensureCanModify(QWidget* window)
{
    if (canModify(window))
        return true;
    host::MessageBox(QStringLiteral("提示"), QStringLiteral("当前操作员没有修改权限, 不能进行此操作."),
                     host::Icon::Information);
    return false;
}

}  // namespace common
