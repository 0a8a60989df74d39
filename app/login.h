#pragma once
// The host's own login: an operator id and a password checked against s_user.
// Nothing is written.

#include <QString>

namespace app {

enum class LoginOutcome { Accepted, Refused, Failed };

struct LoginResult {
    LoginOutcome outcome = LoginOutcome::Failed;
    QString operatorId;  // the trimmed id, when accepted
    QString message;     // for the operator, when not accepted
};

// The id is trimmed of blanks; the password is compared as typed (a stored
// null password is the empty one). An unknown operator and a wrong password
// get the same answer.
LoginResult checkLogin(const QString& operatorId, const QString& password);

// The operator's name (s_employee.name), or an empty string.
QString operatorName(const QString& operatorId);

}  // namespace app
