#include "rightsetup/report_content.h"

#include "host/functions.h"
#include "host/transaction.h"
#include "rights/admin.h"
#include "rights/review.h"

#include <QDateTime>
#include <QMap>

namespace rightsetup {

namespace {

using Kind = ReportBlock::Kind;

// One operator's part of the report.
struct OperatorRights {
    QString name;
    QList<QStringList> rows;  // item, name, level in words, granting groups
};

// One statement: every operator × item for which a group of the operator
// holds a row, with the level and granting group of each row; kept as the
// greatest level (as a string) and the groups that grant it.
bool readEffective(const rights::Matrix& matrix, QMap<QString, OperatorRights>* operators)
{
    QList<QVariantList> rows;
    if (host::sqlca.selectRows(
            QStringLiteral("select s_user_group.user_code , s_employee.name , s_group_power.m_item_code , "
                           "s_group_power.group_id , s_group_power.group_right "
                           "from s_user_group join s_group_power on s_group_power.group_id = s_user_group.group_code "
                           "left join s_employee on s_employee.id = s_user_group.user_code "
                           "order by s_user_group.user_code , s_group_power.m_item_code , s_group_power.group_id"),
            {}, &rows) != host::Transaction::kSuccess)
        return false;
    QString lastId, lastItem, level;
    for (const QVariantList& row : std::as_const(rows)) {
        const QString id = row.value(0).toString();
        const QString item = row.value(2).toString();
        const QString group = row.value(3).toString();
        const QString rowLevel = row.value(4).isNull() ? QString() : row.value(4).toString();
        OperatorRights& entry = (*operators)[id];
        if (id != lastId || item != lastItem || entry.rows.isEmpty()) {
            entry.name = row.value(1).toString();
            entry.rows.append({item, matrix.itemNames.value(item), rights::levelWord(rowLevel), group});
            level = rowLevel;
            lastId = id;
            lastItem = item;
            continue;
        }
        QStringList& last = entry.rows.last();
        if (rowLevel > level) {
            level = rowLevel;
            last[2] = rights::levelWord(rowLevel);
            last[3] = group;
        } else if (rowLevel == level) {
            last[3] += QLatin1Char(' ') + group;
        }
    }
    return true;
}

// The built-in admin, in any letter case as the checks know it: every item
// at 修改, whatever its groups grant.
bool addAdministrators(const rights::Matrix& matrix, QMap<QString, OperatorRights>* operators)
{
    QList<QVariantList> rows;
    if (host::sqlca.selectRows(QStringLiteral("select s_user.id , s_employee.name from s_user left join s_employee "
                                              "on s_employee.id = s_user.id where lower ( s_user.id ) = ?"),
                               {rights::kAdmin}, &rows) != host::Transaction::kSuccess)
        return false;
    for (const QVariantList& row : std::as_const(rows))
        (*operators)[row.value(0).toString()].name = row.value(1).toString();
    QList<QStringList> every;
    for (const QString& item : matrix.items)
        every.append({item, matrix.itemNames.value(item), rights::levelWord(QStringLiteral("2")),
                      QStringLiteral("内置管理员")});
    for (auto it = operators->begin(); it != operators->end(); ++it)
        if (rights::isAdminAnyCase(it.key()))
            it->rows = every;
    return true;
}

ReportBlock block(Kind kind, const QString& text)
{
    return {kind, {text}};
}

void addTable(QList<ReportBlock>* blocks, const QStringList& headers, const QList<QStringList>& rows,
              const QString& none)
{
    if (rows.isEmpty()) {
        blocks->append(block(Kind::Text, none));
        return;
    }
    blocks->append({Kind::TableHeader, headers});
    for (const QStringList& row : rows)
        blocks->append({Kind::Row, row});
}

}  // namespace

bool rightsReportBlocks(const rights::Matrix& matrix, QList<ReportBlock>* blocks)
{
    QMap<QString, OperatorRights> operators;
    if (!readEffective(matrix, &operators) || !addAdministrators(matrix, &operators))
        return false;
    bool withAdmin = false;
    for (auto it = operators.cbegin(); it != operators.cend(); ++it)
        withAdmin = withAdmin || rights::isAdminAnyCase(it.key());

    blocks->clear();
    blocks->append(block(Kind::Title, QStringLiteral("权限审查报告")));
    blocks->append(block(Kind::Text, QStringLiteral("生成时间: ") +
                                         QDateTime::currentDateTime().toString(Qt::ISODate) +
                                         QStringLiteral("    生成者: ") + host::gs_user_id));
    blocks->append(block(Kind::Text, QStringLiteral("操作组 %1 个, 模块项 %2 个. 级别: 禁止 (0), 查询 (1), 修改 (2); "
                                                    "无: 没有权限行.")
                                         .arg(matrix.groups.size())
                                         .arg(matrix.items.size())));

    blocks->append(block(Kind::Chapter, QStringLiteral("一、操作组的权限")));
    for (const QString& group : matrix.groups) {
        blocks->append(block(Kind::Heading, group + QStringLiteral("  ") + matrix.groupNames.value(group)));
        QList<QStringList> rows;
        for (const QString& item : matrix.items) {
            const auto cell = matrix.cells.constFind({group, item});
            if (cell != matrix.cells.cend())
                rows.append({item, matrix.itemNames.value(item), rights::levelWord(cell.value())});
        }
        addTable(blocks, {QStringLiteral("模块项"), QStringLiteral("名称"), QStringLiteral("级别")}, rows,
                 QStringLiteral("该组没有任何权限."));
    }

    blocks->append(block(Kind::Chapter, QStringLiteral("二、操作员的有效权限")));
    blocks->append(block(Kind::Text, withAdmin ? QStringLiteral("有效级别为操作员所在各组级别中的最高者. 内置的 admin "
                                                               "不受所在组的限制, 对全部模块项都有修改权限, 下面照此列出 "
                                                               "(授予的组: 内置管理员).")
                                               : QStringLiteral("有效级别为操作员所在各组级别中的最高者. 数据库中没有"
                                                               "内置的 admin 操作员.")));
    // The built-in admin first, then every operator by id.
    for (const bool admins : {true, false}) {
        for (auto it = operators.cbegin(); it != operators.cend(); ++it) {
            if (rights::isAdminAnyCase(it.key()) != admins)
                continue;
            blocks->append(block(Kind::Heading, it.key() + QStringLiteral("  ") + it->name));
            addTable(blocks,
                     {QStringLiteral("模块项"), QStringLiteral("名称"), QStringLiteral("有效级别"),
                      QStringLiteral("授予的组")},
                     it->rows, QStringLiteral("没有任何模块项."));
        }
    }
    return true;
}

}  // namespace rightsetup
