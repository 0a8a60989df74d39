#include "usergroup/w_right_query.h"

#include "common/dialog_support.h"
#include "common/fonts.h"
#include "host/csv.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/transaction.h"
#include "rights/review.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace usergroup {

w_right_query::w_right_query(QWidget* parent) : host::w_father(parent)
{
    setWindowTitle(QStringLiteral("权限查询"));
    setFont(common::songti(9));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    resize(760, 520);

    rb_operator = new QRadioButton(QStringLiteral("按操作员"), this);
    rb_operator->setObjectName(QStringLiteral("rb_operator"));
    rb_operator->setChecked(true);
    rb_item = new QRadioButton(QStringLiteral("按模块项"), this);
    rb_item->setObjectName(QStringLiteral("rb_item"));
    sle_subject = new QLineEdit(this);
    sle_subject->setObjectName(QStringLiteral("sle_subject"));
    sle_subject->setPlaceholderText(QStringLiteral("操作员编号或模块项编号"));
    ddlb_level = new QComboBox(this);
    ddlb_level->setObjectName(QStringLiteral("ddlb_level"));
    // Shown rows: all, or those whose effective level is exactly this one.
    ddlb_level->addItem(QStringLiteral("全部级别"), QString());
    ddlb_level->addItem(QStringLiteral("禁止"), QStringLiteral("0"));
    ddlb_level->addItem(QStringLiteral("查询"), QStringLiteral("1"));
    ddlb_level->addItem(QStringLiteral("修改"), QStringLiteral("2"));
    cb_query = common::layoutButton(this, QStringLiteral("cb_query"), QStringLiteral("查询(&Q)"));
    cb_query->setDefault(true);
    cb_export = common::layoutButton(this, QStringLiteral("cb_export"), QStringLiteral("导出CSV(&E)"));
    cb_close = common::layoutButton(this, QStringLiteral("cb_close"), QStringLiteral("关闭"));
    dw_result = new QTableWidget(this);
    dw_result->setObjectName(QStringLiteral("dw_result"));
    dw_result->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dw_result->setSelectionBehavior(QAbstractItemView::SelectRows);
    dw_result->horizontalHeader()->setStretchLastSection(true);

    auto* top = new QHBoxLayout;
    top->addWidget(rb_operator);
    top->addWidget(rb_item);
    top->addWidget(sle_subject, 1);
    top->addWidget(ddlb_level);
    top->addWidget(cb_query);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cb_export);
    bottom->addWidget(cb_close);
    auto* layout = new QGridLayout(this);
    layout->addLayout(top, 0, 0);
    layout->addWidget(dw_result, 1, 0);
    layout->addLayout(bottom, 2, 0);
    setCancelButton(cb_close);

    connect(cb_query, &QPushButton::clicked, this, &w_right_query::query);
    connect(sle_subject, &QLineEdit::returnPressed, this, &w_right_query::query);
    connect(ddlb_level, &QComboBox::currentIndexChanged, this, [this] {
        if (!host::trimBlanks(sle_subject->text()).isEmpty())
            query();
    });
    connect(cb_export, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出CSV"), QString(),
                                                          QStringLiteral("CSV (*.csv)"));
        if (!path.isEmpty() && !exportCsv(path))
            host::MessageBox(QStringLiteral("提示"), QStringLiteral("无法写入文件: ") + path);
    });
    connect(cb_close, &QPushButton::clicked, this, &QWidget::close);
}

void w_right_query::openEvent(const QString& parameter)
{
    host::w_father::openEvent(parameter);
    if (!host::trimBlanks(parameter).isEmpty())
        showOperator(host::trimBlanks(parameter));
}

void w_right_query::query()
{
    const QString subject = host::trimBlanks(sle_subject->text());
    if (host::f_isnull(subject)) {
        host::f_box(rb_operator->isChecked() ? QStringLiteral("操作员不能为空.") : QStringLiteral("模块项不能为空."));
        sle_subject->setFocus();
        return;
    }
    if (rb_operator->isChecked())
        showOperator(subject);
    else
        showItem(subject);
}

void w_right_query::showOperator(const QString& id)
{
    rb_operator->setChecked(true);
    sle_subject->setText(id);
    QList<rights::Grant> grants;
    if (!rights::rightsOf(host::sqlca, id, &grants)) {
        host::databaseErrorBox(host::sqlca.sqlerrtext);
        return;
    }
    showGrants(grants, {QStringLiteral("模块项"), QStringLiteral("名称"), QStringLiteral("有效级别"),
                        QStringLiteral("授予的组")});
}

void w_right_query::showItem(const QString& code)
{
    rb_item->setChecked(true);
    sle_subject->setText(code);
    QList<rights::Grant> grants;
    if (!rights::holdersOf(host::sqlca, code, QString(), &grants)) {
        host::databaseErrorBox(host::sqlca.sqlerrtext);
        return;
    }
    showGrants(grants, {QStringLiteral("操作员"), QStringLiteral("姓名"), QStringLiteral("有效级别"),
                        QStringLiteral("授予的组")});
}

void w_right_query::showGrants(const QList<rights::Grant>& grants, const QStringList& headers)
{
    const QString wanted = ddlb_level->currentData().toString();
    QList<QStringList> rows;
    for (const rights::Grant& grant : grants)
        if (wanted.isEmpty() || grant.level == wanted)
            rows << QStringList{grant.subject, grant.name, rights::levelWord(grant.level), grant.groups.join(' ')};
    fill(headers, rows);
}

void w_right_query::fill(const QStringList& headers, const QList<QStringList>& rows)
{
    dw_result->setUpdatesEnabled(false);
    dw_result->clearContents();
    dw_result->setColumnCount(int(headers.size()));
    dw_result->setHorizontalHeaderLabels(headers);
    dw_result->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows.at(r).size(); ++c)
            dw_result->setItem(r, c, new QTableWidgetItem(rows.at(r).at(c)));  // plain text
    dw_result->setUpdatesEnabled(true);
}

QString w_right_query::csv() const
{
    QStringList header;
    for (int c = 0; c < dw_result->columnCount(); ++c)
        header << (dw_result->horizontalHeaderItem(c) ? dw_result->horizontalHeaderItem(c)->text() : QString());
    QString text = host::csvLine(header);
    for (int r = 0; r < dw_result->rowCount(); ++r) {
        QStringList fields;
        for (int c = 0; c < dw_result->columnCount(); ++c)
            fields << (dw_result->item(r, c) ? dw_result->item(r, c)->text() : QString());
        text += host::csvLine(fields);
    }
    return text;
}

bool w_right_query::exportCsv(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(host::kUtf8Bom) >= 0 && file.write(csv().toUtf8()) >= 0 && file.flush();
}

}  // namespace usergroup
