#pragma once
// The host's own login: an operator id and a password checked against s_user.
//
// Only an operator whose status is "1" may log in. A stored password is an
// Argon2id hash (host/password.h); a stored value that is not one is a plain
// password from before passwords were hashed: it is compared as typed and,
// when it matches, replaced by its hash in the same login. An operator whose
// stored password is empty cannot log in until an administrator sets one
// (设置密码 in 权限管理): nobody can claim such an account by logging in first.
// Every refusal costs one hash verification, whatever its reason, so that its
// time does not tell which operators exist. Every login, accepted or not, is
// written to the host's log with the operator id, never with a password.

#include <QString>

namespace app {

enum class LoginOutcome {
    Accepted,
    Refused,
    Failed,  // the database could not be read or written
};

struct LoginResult {
    LoginOutcome outcome = LoginOutcome::Failed;
    QString operatorId;  // the trimmed id, when accepted
    QString message;     // for the operator, when not accepted
};

// The id is trimmed of blanks; the password is compared as typed. An unknown
// operator, an operator who may not log in, an empty password and a wrong
// password get the same answer; an operator who may log in but has no stored
// password is told to ask an administrator.
LoginResult checkLogin(const QString& operatorId, const QString& password);

// The operator's name (s_employee.name), or an empty string.
QString operatorName(const QString& operatorId);

}  // namespace app
