#include "tests/support/hostile_csv.h"

#include "host/transaction.h"

namespace testing_support {

const QStringList kHostileGroupIds = {"=1+", "-G1", "@", "\tg", "'=x", "+", "\rg", "''@"};
const QStringList kHostileGroupNames = {"=HYPERLINK(\"http://x\",\"y\")", "'--01\\'", "@SUM(A1)", "\t名字", "-",
                                        "''+2", "\r\n回车", "=1,\"2\""};
const QStringList kHostileItemCodes = {"-G1", "'--01\\'", "'=x", "@", "\tw9", "=cmd|' /C calc'!A0", "+w", "\rw"};

QString hostileLevel(qsizetype group, qsizetype item)
{
    static const QStringList levels = {"0", "1", "2", "-"};
    return levels.at((group + item) % levels.size());
}

bool seedHostileRights(const std::function<void(const QString&, const QVariantList&)>& exec)
{
    for (qsizetype g = 0; g < kHostileGroupIds.size(); ++g) {
        exec("insert into s_group (group_id, group_name) values (?, ?)", QVariantList{kHostileGroupIds.at(g), kHostileGroupNames.at(g)});
        exec("insert into s_user_group (user_code, group_code) values (?, ?)", QVariantList{"E001", kHostileGroupIds.at(g)});
    }
    for (qsizetype i = 0; i < kHostileItemCodes.size(); ++i)
        exec("insert into s_moudle_item (m_item_code, name) values (?, ?)", QVariantList{kHostileItemCodes.at(i), QString("@名" + QString::number(i))});
    for (qsizetype g = 0; g < kHostileGroupIds.size(); ++g)
        for (qsizetype i = 0; i < kHostileItemCodes.size(); ++i)
            exec("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)",
                 QVariantList{kHostileGroupIds.at(g), kHostileItemCodes.at(i), hostileLevel(g, i)});
    return host::sqlca.commit() == 0;
}

QString formulaCell(const QList<QStringList>& records)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    for (qsizetype r = 0; r < records.size(); ++r)
        for (qsizetype f = 0; f < records.at(r).size(); ++f) {
            const QString& field = records.at(r).at(f);
            if (!field.isEmpty() && formulaStarts.contains(field.at(0)))
                return QStringLiteral("record %1, field %2: %3").arg(r + 1).arg(f + 1).arg(field);
        }
    return {};
}

}  // namespace testing_support
