#pragma once
// The administration operations that live only inside the manager window,
// written for the stress clients with the window's statements and the rule of
// every site that writes a row the operator was shown: the update or delete
// names the values read, and matching no row refuses the whole operation as
// changed meanwhile. Each is one guarded transaction on host::sqlca.

#include <QString>

namespace stress {

struct WriteOutcome {
    bool committed = false;
    QString reason;  // why not, as the operator would be told
};

// 重命名 of a group in 权限管理, from the name read to `name`.
WriteOutcome renameGroup(const QString& group, const QString& nameRead, const QString& name);
// 增加操作员 into a group of which the client read `user` was no member.
WriteOutcome addMember(const QString& user, const QString& group);
// 删除 of a membership the client read.
WriteOutcome removeMember(const QString& user, const QString& group);
// One operator moved from a group it was read in to one it was not.
WriteOutcome moveMember(const QString& user, const QString& from, const QString& to);

}  // namespace stress
