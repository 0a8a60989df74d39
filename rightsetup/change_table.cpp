#include "rightsetup/change_table.h"

#include "rights/review.h"

#include <QHeaderView>
#include <QTableWidget>

namespace rightsetup {

QString levelText(const Level& level)
{
    return rights::levelWord(level.value_or(QString()), level.has_value());
}

void showChanges(QTableWidget* table, const QList<RightChange>& changes, const QMap<QString, QString>& itemNames,
                 bool withGroup)
{
    QStringList headers;
    if (withGroup)
        headers << QStringLiteral("操作组");
    headers << QStringLiteral("模块项") << QStringLiteral("名称") << QStringLiteral("修改前") << QStringLiteral("修改后");
    table->setUpdatesEnabled(false);
    table->clearContents();
    table->setColumnCount(int(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->setRowCount(int(changes.size()));
    for (int r = 0; r < changes.size(); ++r) {
        const RightChange& change = changes.at(r);
        QStringList cells;
        if (withGroup)
            cells << change.group;
        cells << change.item << itemNames.value(change.item) << levelText(change.before) << levelText(change.after);
        for (int c = 0; c < cells.size(); ++c)
            table->setItem(r, c, new QTableWidgetItem(cells.at(c)));  // plain text
    }
    table->setUpdatesEnabled(true);
}

QTableWidget* makeTable(QWidget* parent, const QString& name)
{
    auto* table = new QTableWidget(parent);
    table->setObjectName(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setVisible(false);
    return table;
}

}  // namespace rightsetup
