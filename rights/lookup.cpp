#include "rights/lookup.h"

#include "host/transaction.h"

namespace rights {

const QString kRightLookup = QStringLiteral(
    "select max ( s_group_power.group_right ) from s_group_power , s_user_group "
    "where s_group_power.group_id =s_user_group.group_code "
    "and s_user_group.user_code =? and s_group_power.m_item_code =?");

Level lookupLevel(const QString& vs_operator, const QString& vs_module)
{
    host::Transaction& trans = host::sqlca;
    // A null operator or module reaches the database as SQL null. The
    // statement is released at once: no read lock or snapshot is held
    // between two checks, so another client's change is seen next time.
    QString value;
    const int status = trans.selectText(kRightLookup, {vs_operator, vs_module}, &value);
    if (status == host::Transaction::kError)
        return {};
    if (status == host::Transaction::kNotFound) {
        // An aggregate always yields a row; none means the read failed.
        trans.recordError(QStringLiteral("the right lookup returned no row"));
        return {};
    }
    Level level;
    level.ok = true;
    level.value = value;
    return level;
}

int levelNumber(const QString& level)
{
    if (level.size() != 1)
        return 0;
    switch (level.at(0).unicode()) {
    case u'1': return 1;
    case u'2': return 2;
    default: return 0;
    }
}

}  // namespace rights
