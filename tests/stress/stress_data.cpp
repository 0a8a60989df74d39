#include "tests/stress/stress_data.h"

#include "host/operation.h"

namespace stress {

namespace {

// Group → level on both administration items; G4 administers only the
// rights editor, G5 only warehouse work.
struct SeedGroup {
    QString id;
    QString adminLevel;
    QString editorLevel;
};

const QList<SeedGroup> kGroups = {{"G1", "2", "2"}, {"G2", "2", "2"}, {"G3", "2", "2"},
                                  {"G4", "1", "2"}, {"G5", "0", "0"}};
// Operator → first group. A1, A2, A3 and A6 administer.
const QList<QPair<QString, QString>> kMembers = {{"A1", "G1"}, {"A2", "G2"}, {"A3", "G3"},
                                                 {"A4", "G4"}, {"A5", "G5"}, {"A6", "G1"}};
// The clients' own group: level 2 on what a revert needs, no s_user rows,
// so its members never count as administrators.
const QString kClientGroup = QStringLiteral("GS");

}  // namespace

QStringList administrationItems()
{
    return {QStringLiteral("m102"), QStringLiteral("003")};
}

QStringList poolGroups()
{
    QStringList ids;
    for (const SeedGroup& group : kGroups)
        ids << group.id;
    return ids;
}

QStringList poolOperators()
{
    return {"A1", "A2", "A3", "A4", "A5", "A6"};
}

QStringList poolItems()
{
    return {"m102", "003", "w201", "w202"};
}

QString clientOperator(int n)
{
    return QStringLiteral("S%1").arg(n);
}

RightsState seedState(int clients)
{
    RightsState state;
    for (const SeedGroup& group : kGroups) {
        state.groupNames.insert(group.id, QString(QStringLiteral("组") + group.id));
        state.levels.insert({group.id, "m102"}, group.adminLevel);
        state.levels.insert({group.id, "003"}, group.editorLevel);
        state.levels.insert({group.id, "w201"}, "1");
    }
    for (const auto& member : kMembers)
        state.memberships.insert(member);
    state.groupNames.insert(kClientGroup, QStringLiteral("压力测试客户端"));
    for (const QString& item : QStringList{"m102", "003", "m101"})
        state.levels.insert({kClientGroup, item}, "2");
    for (int n = 1; n <= clients; ++n)
        state.memberships.insert({clientOperator(n), kClientGroup});
    return state;
}

bool seed(host::Transaction& trans, int clients)
{
    const RightsState state = seedState(clients);
    host::Operation operation(trans);
    const auto run = [&](const QString& sql, const QVariantList& values) {
        return operation.execute(sql, values) == host::Transaction::kSuccess;
    };
    bool ok = true;
    for (const QString& item : QStringList{"m101", "m102", "003", "w201", "w202"})
        ok = ok && run("insert into s_moudle_item ( m_item_code , name ) values ( ? , ? )", {item, item});
    for (const QString& id : poolOperators()) {
        ok = ok && run("insert into s_employee ( id , name , dept_id , status ) values ( ? , ? , ? , ? )",
                       {id, QString(QStringLiteral("操作员") + id), "D1", "1"});
        ok = ok && run("insert into s_user ( id , password , status ) values ( ? , ? , ? )", {id, "x", "1"});
    }
    for (auto it = state.groupNames.cbegin(); ok && it != state.groupNames.cend(); ++it)
        ok = run("insert into s_group ( group_id , group_name ) values ( ? , ? )", {it.key(), it.value()});
    for (const auto& member : state.memberships)
        ok = ok && run("insert into s_user_group ( user_code , group_code ) values ( ? , ? )",
                       {member.first, member.second});
    for (auto it = state.levels.cbegin(); ok && it != state.levels.cend(); ++it)
        ok = run("insert into s_group_power ( group_id , m_item_code , group_right ) values ( ? , ? , ? )",
                 {it.key().first, it.key().second, it.value()});
    // The seed is no change of the run: its entries go with it.
    ok = ok && run("delete from s_right_journal", {});
    ok = ok && operation.commit() == host::Transaction::kSuccess;
    return ok;
}

bool readState(host::Transaction& trans, RightsState* state)
{
    *state = {};
    QList<QVariantList> rows;
    if (trans.selectRows("select group_id , group_name from s_group", {}, &rows) != 0)
        return false;
    for (const QVariantList& row : std::as_const(rows))
        state->groupNames.insert(row.value(0).toString(), row.value(1).toString());
    rows.clear();
    if (trans.selectRows("select user_code , group_code from s_user_group", {}, &rows) != 0)
        return false;
    for (const QVariantList& row : std::as_const(rows))
        state->memberships.insert({row.value(0).toString(), row.value(1).toString()});
    rows.clear();
    if (trans.selectRows("select group_id , m_item_code , group_right from s_group_power", {}, &rows) != 0)
        return false;
    for (const QVariantList& row : std::as_const(rows))
        state->levels.insert({row.value(0).toString(), row.value(1).toString()}, row.value(2).toString());
    return true;
}

int administrators(const RightsState& state)
{
    int count = 0;
    for (const QString& user : poolOperators()) {
        bool all = true;
        for (const QString& item : administrationItems()) {
            QString best;
            bool any = false;
            for (const auto& member : state.memberships) {
                if (member.first != user)
                    continue;
                const auto level = state.levels.constFind({member.second, item});
                if (level != state.levels.cend() && (!any || *level > best)) {
                    best = *level;
                    any = true;
                }
            }
            all = all && any && best == QStringLiteral("2");
        }
        count += all ? 1 : 0;
    }
    return count;
}

}  // namespace stress
