#pragma once
// Table and column names of the rights database, their lengths, and the codes
// stored in them. Names are used exactly as the tables spell them
// (s_moudle_item included).

#include "schema/export.h"

#include <QString>
#include <QStringList>

namespace schema {

// Tables.
inline const QString s_dept = QStringLiteral("s_dept");
inline const QString s_employee = QStringLiteral("s_employee");
inline const QString s_user = QStringLiteral("s_user");
inline const QString s_group = QStringLiteral("s_group");
inline const QString s_user_group = QStringLiteral("s_user_group");
inline const QString s_group_power = QStringLiteral("s_group_power");
inline const QString s_moudle_item = QStringLiteral("s_moudle_item");
// The change journal; optional: without it nothing is journaled.
inline const QString s_right_journal = QStringLiteral("s_right_journal");

// Column lengths (characters).
namespace len {
constexpr int dept_id = 10;
constexpr int dept_name = 20;
constexpr int memo = 255;
constexpr int employee_id = 10;
constexpr int employee_name = 20;
constexpr int employee_status = 1;
constexpr int user_id = 10;
// An Argon2id hash as libsodium writes it (97 characters with the interactive
// limits; libsodium's buffer for one is 128 bytes). Databases created with the
// old width of 20 must widen the column before passwords can be hashed.
constexpr int user_password = 128;
constexpr int user_status = 1;
constexpr int group_id = 3;
constexpr int group_name = 30;
constexpr int m_item_code = 40;
constexpr int m_item_name = 40;
constexpr int group_right = 1;
constexpr int journal_operator_id = 40;
}  // namespace len

// Right levels (s_group_power.group_right), compared as strings.
namespace right {
inline const QString forbidden = QStringLiteral("0");
inline const QString query = QStringLiteral("1");
inline const QString modify = QStringLiteral("2");
}  // namespace right

// Employee status (s_employee.status).
namespace employee_status {
inline const QString newcomer = QStringLiteral("0");
inline const QString employed = QStringLiteral("1");
inline const QString left = QStringLiteral("2");
}  // namespace employee_status

struct WMS_SCHEMA_EXPORT Code {
    QString value;
    QString text;
};

// The display texts of the codes, in code order.
WMS_SCHEMA_EXPORT const QList<Code>& rightLevels();       // 禁止 查询 修改
WMS_SCHEMA_EXPORT const QList<Code>& employeeStatuses();  // 新员工 在职 离职
WMS_SCHEMA_EXPORT QString displayText(const QList<Code>& codes, const QString& value);

// The privileged operator id.
inline const QString kAdmin = QStringLiteral("admin");

// A new operator is stored with an empty password and this status.
inline const QString kNewOperatorStatus = QStringLiteral("1");
// Only an operator with this status (s_user.status) may log in.
inline const QString kActiveOperatorStatus = QStringLiteral("1");

}  // namespace schema
