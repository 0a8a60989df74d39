#pragma once
// A rights database built by each test: memberships and levels written
// through sqlca and committed, so that the checks read them as any other
// client's committed data.

#include "host/functions.h"
#include "host/transaction.h"
#include "tests/support/test_db.h"

class RightsTest : public testing_support::DbTest {
protected:
    void member(const QString& user, const QString& group)
    {
        exec("insert into s_user_group (user_code, group_code) values (?, ?)", {user, group});
    }
    void power(const QString& group, const QString& item, const QString& level)
    {
        exec("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)",
             {group, item, level});
    }
    void commit() { ASSERT_EQ(host::sqlca.commit(), 0) << host::sqlca.sqlerrtext.toStdString(); }

    // E1 holds "1" through group 001 and "2" through group 002 on w201;
    // E2 holds only "0" on w201; E3 is in group 003, which has no row for it.
    void standardRights()
    {
        member("E1", "001");
        member("E1", "002");
        member("E2", "003");
        member("E3", "004");
        power("001", "w201", "1");
        power("002", "w201", "2");
        power("003", "w201", "0");
        power("004", "w202", "2");
        commit();
    }

    // Marks sqlca's status so a test can tell whether a statement ran since.
    static void markStatus() { host::sqlca.sqlcode = 4242; }
    static bool statementRanSinceMark() { return host::sqlca.sqlcode != 4242; }
};
