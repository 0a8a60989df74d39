#include "schema/tables.h"

namespace schema {

const QList<Code>& rightLevels()
{
    static const QList<Code> codes = {
        {right::forbidden, QStringLiteral("禁止")},
        {right::query, QStringLiteral("查询")},
        {right::modify, QStringLiteral("修改")},
    };
    return codes;
}

const QList<Code>& employeeStatuses()
{
    static const QList<Code> codes = {
        {employee_status::newcomer, QStringLiteral("新员工")},
        {employee_status::employed, QStringLiteral("在职")},
        {employee_status::left, QStringLiteral("离职")},
    };
    return codes;
}

QString displayText(const QList<Code>& codes, const QString& value)
{
    for (const Code& code : codes)
        if (code.value == value)
            return code.text;
    return value;
}

}  // namespace schema
