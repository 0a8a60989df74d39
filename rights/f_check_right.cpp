#include "rights/f_check_right.h"

#include "rights/admin.h"
#include "rights/lookup.h"

namespace rights {

bool f_check_right(const QString& vs_module, const QString& vs_operate, const QString& vs_operator)
{
    if (isAdminAnyCase(vs_operator))
        return true;
    const Level level = lookupLevel(vs_operator, vs_module);
    // A lookup that failed grants nothing, whatever level was asked for.
    if (!level.ok || level.value.isNull() || vs_operate.isNull())
        return false;
    return level.value >= vs_operate;
}

int operatorLevel(const QString& vs_module, const QString& vs_operator)
{
    if (isAdminAnyCase(vs_operator))
        return 2;
    return levelNumber(lookupLevel(vs_operator, vs_module).value);
}

}  // namespace rights
