#include "rightsetup/rights_report.h"

#include "host/functions.h"
#include "host/transaction.h"
#include "rights/review.h"

#include <QDateTime>
#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QTextTableFormat>

namespace rightsetup {

namespace {

struct Effective {
    QString operatorId;
    QString name;
    QString item;
    QString level;
    QString groups;
};

// One statement: every operator × item for which a group of the operator
// holds a row, with the level and granting group of each row.
bool readEffective(QList<Effective>* rights)
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
    for (const QVariantList& row : std::as_const(rows)) {
        const QString id = row.value(0).toString();
        const QString item = row.value(2).toString();
        const QString group = row.value(3).toString();
        const QString level = row.value(4).isNull() ? QString() : row.value(4).toString();
        if (rights->isEmpty() || rights->last().operatorId != id || rights->last().item != item) {
            rights->append({id, row.value(1).toString(), item, level, group});
            continue;
        }
        // The greatest level as a string; the groups that grant it.
        Effective& last = rights->last();
        if (level > last.level) {
            last.level = level;
            last.groups = group;
        } else if (level == last.level) {
            last.groups += QLatin1Char(' ') + group;
        }
    }
    return true;
}

void heading(QTextCursor& cursor, const QString& text, int size)
{
    QTextBlockFormat block;
    block.setTopMargin(size);
    block.setBottomMargin(size / 2);
    QTextCharFormat chars;
    chars.setFontPointSize(size);
    chars.setFontWeight(QFont::Bold);
    cursor.insertBlock(block, chars);
    cursor.insertText(text);
}

void paragraph(QTextCursor& cursor, const QString& text)
{
    QTextCharFormat chars;
    chars.setFontPointSize(9);
    cursor.insertBlock(QTextBlockFormat(), chars);
    cursor.insertText(text);
}

void table(QTextCursor& cursor, const QStringList& headers, const QList<QStringList>& rows)
{
    QTextTableFormat format;
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setBorder(0.5);
    format.setHeaderRowCount(1);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QTextTable* grid = cursor.insertTable(int(rows.size()) + 1, int(headers.size()), format);
    QTextCharFormat bold;
    bold.setFontPointSize(9);
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat plain;
    plain.setFontPointSize(9);
    for (int c = 0; c < headers.size(); ++c)
        grid->cellAt(0, c).firstCursorPosition().insertText(headers.at(c), bold);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < headers.size(); ++c)
            grid->cellAt(r + 1, c).firstCursorPosition().insertText(rows.at(r).value(c), plain);
    cursor.movePosition(QTextCursor::End);
}

}  // namespace

bool writeRightsReport(const QString& path, const rights::Matrix& matrix, QString* error)
{
    QList<Effective> effective;
    if (!readEffective(&effective)) {
        *error = host::sqlca.sqlerrtext;
        return false;
    }

    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat title;
    title.setFontPointSize(16);
    title.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("权限审查报告"), title);
    paragraph(cursor, QStringLiteral("生成时间: ") + QDateTime::currentDateTime().toString(Qt::ISODate) +
                          QStringLiteral("    生成者: ") + host::gs_user_id);
    paragraph(cursor, QStringLiteral("操作组 %1 个, 模块项 %2 个. 级别: 禁止 (0), 查询 (1), 修改 (2); 无: 没有权限行.")
                          .arg(matrix.groups.size())
                          .arg(matrix.items.size()));

    heading(cursor, QStringLiteral("一、操作组的权限"), 13);
    for (const QString& group : matrix.groups) {
        heading(cursor, group + QStringLiteral("  ") + matrix.groupNames.value(group), 11);
        QList<QStringList> rows;
        for (const QString& item : matrix.items) {
            const auto cell = matrix.cells.constFind({group, item});
            if (cell != matrix.cells.cend())
                rows.append({item, matrix.itemNames.value(item), rights::levelWord(cell.value())});
        }
        if (rows.isEmpty())
            paragraph(cursor, QStringLiteral("该组没有任何权限."));
        else
            table(cursor, {QStringLiteral("模块项"), QStringLiteral("名称"), QStringLiteral("级别")}, rows);
    }

    heading(cursor, QStringLiteral("二、操作员的有效权限"), 13);
    paragraph(cursor, QStringLiteral("有效级别为操作员所在各组级别中的最高者; 内置的 admin 拥有全部权限, 不在此列."));
    for (qsizetype i = 0; i < effective.size();) {
        const QString id = effective.at(i).operatorId;
        heading(cursor, id + QStringLiteral("  ") + effective.at(i).name, 11);
        QList<QStringList> rows;
        for (; i < effective.size() && effective.at(i).operatorId == id; ++i) {
            const Effective& e = effective.at(i);
            rows.append({e.item, matrix.itemNames.value(e.item), rights::levelWord(e.level), e.groups});
        }
        table(cursor,
              {QStringLiteral("模块项"), QStringLiteral("名称"), QStringLiteral("有效级别"), QStringLiteral("授予的组")},
              rows);
    }

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(QStringLiteral("权限审查报告"));
        writer.setCreator(QStringLiteral("wms-rights"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setResolution(300);
        document.print(&writer);
    }  // the writer finishes the file here
    file.close();
    if (file.error() != QFileDevice::NoError || file.size() == 0) {
        *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace rightsetup
