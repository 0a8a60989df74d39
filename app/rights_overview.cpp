#include "app/rights_overview.h"

#include "host/functions.h"
#include "host/transaction.h"
#include "rights/admin.h"
#include "rights/lookup.h"
#include "schema/tables.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace app {

RightsOverview::RightsOverview(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("uo_rights_overview"));
    st_title = new QLabel(this);
    st_title->setObjectName(QStringLiteral("st_title"));
    st_title->setTextFormat(Qt::PlainText);  // the operator's name comes from the database
    QFont font = st_title->font();
    font.setPointSize(font.pointSize() + 2);
    font.setBold(true);
    st_title->setFont(font);

    dw_rights = new QTableWidget(0, 3, this);
    dw_rights->setObjectName(QStringLiteral("dw_rights"));
    dw_rights->setHorizontalHeaderLabels({QStringLiteral("模块编号"), QStringLiteral("模块名称"), QStringLiteral("权限")});
    dw_rights->horizontalHeader()->setStretchLastSection(true);
    dw_rights->verticalHeader()->setVisible(false);
    dw_rights->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dw_rights->setSelectionBehavior(QAbstractItemView::SelectRows);
    dw_rights->setColumnWidth(0, 100);
    dw_rights->setColumnWidth(1, 180);

    auto* cb_refresh = new QPushButton(QStringLiteral("刷新(&R)"), this);
    cb_refresh->setObjectName(QStringLiteral("cb_refresh"));
    connect(cb_refresh, &QPushButton::clicked, this, &RightsOverview::refresh);

    auto* head = new QHBoxLayout;
    head->addWidget(st_title);
    head->addStretch();
    head->addWidget(cb_refresh);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(dw_rights);
}

void RightsOverview::refresh()
{
    st_title->setText(QStringLiteral("操作员 %1 的权限").arg(host::gs_user_id));
    QList<QPair<QString, QString>> items;
    host::Cursor cursor(host::sqlca, QStringLiteral("select m_item_code, name from s_moudle_item order by m_item_code"));
    if (cursor.open() == host::Transaction::kSuccess) {
        QVariantList row;
        while (cursor.fetch(row) == host::Transaction::kSuccess)
            items.append({row.value(0).toString(), row.value(1).toString()});
        cursor.close();
    }
    const bool admin = rights::isAdminAnyCase(host::gs_user_id);
    dw_rights->setRowCount(int(items.size()));
    for (int r = 0; r < items.size(); ++r) {
        QString level;
        if (admin) {
            level = QStringLiteral("修改 (管理员)");
        } else {
            const rights::Level found = rights::lookupLevel(host::gs_user_id, items.at(r).first);
            level = !found.ok             ? QStringLiteral("(读取失败)")
                    : found.value.isNull() ? QStringLiteral("禁止 (未设置权限)")
                                           : schema::displayText(schema::rightLevels(), found.value);
        }
        dw_rights->setItem(r, 0, new QTableWidgetItem(items.at(r).first));
        dw_rights->setItem(r, 1, new QTableWidgetItem(items.at(r).second));
        dw_rights->setItem(r, 2, new QTableWidgetItem(level));
    }
}

}  // namespace app
