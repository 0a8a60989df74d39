#include "journal/w_right_journal.h"

#include "common/administration_guard.h"
#include "common/data_changes.h"
#include "common/dialog_support.h"
#include "common/fonts.h"
#include "common/journal_notice.h"
#include "common/levels.h"
#include "host/functions.h"
#include "journal_core/journal.h"
#include "journal/revert.h"
#include "host/messages.h"
#include "host/operation.h"
#include "host/transaction.h"

#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QTableWidget>

namespace journal {

namespace {

const QString kTitle = QStringLiteral("提示");


QLineEdit* edit(QWidget* parent, const QString& name, const QString& placeholder)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setPlaceholderText(placeholder);
    return e;
}

QString actionWord(const QString& action)
{
    if (action == QLatin1String("insert"))
        return QStringLiteral("新增");
    if (action == QLatin1String("update"))
        return QStringLiteral("修改");
    if (action == QLatin1String("delete"))
        return QStringLiteral("删除");
    return action;
}

// A bound of the time filter as the journal writes times: empty for no bound,
// a null string when the text is not a time. A day alone as the upper bound
// includes that day.
QString timeBound(const QString& typed, bool upper)
{
    QString text = host::trimBlanks(typed);
    if (text.isEmpty())
        return QStringLiteral("");
    if (const QDate day = QDate::fromString(text, Qt::ISODate); upper && day.isValid())
        text = day.addDays(1).toString(Qt::ISODate);
    // "2026-12-08 09:00" as well as "2026-12-08T09:00".
    if (text.size() > 10 && text.at(10) == QLatin1Char(' '))
        text[10] = QLatin1Char('T');
    const QString bound = journal::journalTime(text);
    return bound.isEmpty() ? QString() : bound;
}

QString localTime(const QString& utc)
{
    const QDateTime time = QDateTime::fromString(utc, Qt::ISODateWithMs);
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : utc;
}

}  // namespace

w_right_journal::w_right_journal(QWidget* parent) : host::w_father(parent)
{
    setWindowTitle(QStringLiteral("权限变更记录"));
    setFont(common::songti(9));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    resize(1120, 560);

    sle_since = edit(this, QStringLiteral("sle_since"), QStringLiteral("如 2026-12-01"));
    sle_until = edit(this, QStringLiteral("sle_until"), QStringLiteral("如 2026-12-31 18:00"));
    sle_operator = edit(this, QStringLiteral("sle_operator"), QStringLiteral("操作员编号"));
    ddlb_table = new QComboBox(this);
    ddlb_table->setObjectName(QStringLiteral("ddlb_table"));
    ddlb_table->addItem(QStringLiteral("全部表"), QString());
    for (const journal::JournaledTable& table : journal::journaledTables())
        ddlb_table->addItem(table.name, table.name);
    cb_query = common::layoutButton(this, QStringLiteral("cb_query"), QStringLiteral("查询(&Q)"));
    cb_query->setDefault(true);
    cb_refresh = common::layoutButton(this, QStringLiteral("cb_refresh"), QStringLiteral("刷新"));
    cb_refresh->setToolTip(QStringLiteral("重新读取 (F5)"));
    cb_revert = common::layoutButton(this, QStringLiteral("cb_revert"), QStringLiteral("撤销(&R)"));
    cb_close = common::layoutButton(this, QStringLiteral("cb_close"), QStringLiteral("关闭"));
    dw_journal = new QTableWidget(this);
    dw_journal->setObjectName(QStringLiteral("dw_journal"));
    dw_journal->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dw_journal->setSelectionBehavior(QAbstractItemView::SelectRows);
    dw_journal->setSelectionMode(QAbstractItemView::ExtendedSelection);
    dw_journal->setWordWrap(false);
    dw_journal->verticalHeader()->setVisible(false);
    dw_journal->horizontalHeader()->setStretchLastSection(true);
    const QStringList headers = {QStringLiteral("编号"), QStringLiteral("时间"), QStringLiteral("操作员"),
                                 QStringLiteral("表"),   QStringLiteral("操作"), QStringLiteral("键"),
                                 QStringLiteral("修改前"), QStringLiteral("修改后")};
    dw_journal->setColumnCount(int(headers.size()));
    dw_journal->setHorizontalHeaderLabels(headers);

    auto* filters = new QHBoxLayout;
    const auto label = [this](const QString& name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    filters->addWidget(label(QStringLiteral("st_since"), QStringLiteral("从")));
    filters->addWidget(sle_since);
    filters->addWidget(label(QStringLiteral("st_until"), QStringLiteral("到")));
    filters->addWidget(sle_until);
    filters->addWidget(label(QStringLiteral("st_operator"), QStringLiteral("操作员")));
    filters->addWidget(sle_operator);
    filters->addWidget(label(QStringLiteral("st_table"), QStringLiteral("表")));
    filters->addWidget(ddlb_table);
    filters->addWidget(cb_query);
    filters->addWidget(cb_refresh);
    st_count = label(QStringLiteral("st_count"), QString());
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(st_count);
    bottom->addStretch(1);
    bottom->addWidget(cb_revert);
    bottom->addWidget(cb_close);
    auto* layout = new QGridLayout(this);
    layout->addLayout(filters, 0, 0);
    layout->addWidget(dw_journal, 1, 0);
    layout->addLayout(bottom, 2, 0);
    setCancelButton(cb_close);

    connect(cb_query, &QPushButton::clicked, this, [this] { (void)query(); });
    for (QLineEdit* e : {sle_since, sle_until, sle_operator})
        connect(e, &QLineEdit::returnPressed, this, [this] { (void)query(); });
    connect(ddlb_table, &QComboBox::currentIndexChanged, this, [this] { (void)query(); });
    connect(cb_refresh, &QPushButton::clicked, this, &w_right_journal::refresh);
    auto* f5 = new QShortcut(QKeySequence(Qt::Key_F5), this);
    f5->setObjectName(QStringLiteral("sc_refresh"));
    f5->setContext(Qt::WindowShortcut);
    connect(f5, &QShortcut::activated, this, &w_right_journal::refresh);
    connect(cb_revert, &QPushButton::clicked, this, &w_right_journal::revertSelected);
    connect(cb_close, &QPushButton::clicked, this, &QWidget::close);
}

void w_right_journal::openEvent(const QString& parameter)
{
    host::w_father::openEvent(parameter);
    common::tellIfJournalOff();
    const bool on = journal::journalAvailable(host::sqlca);
    cb_revert->setEnabled(on && common::canModify(this));
    cb_query->setEnabled(on);
    cb_refresh->setEnabled(on);
    if (on)
        (void)query();
}

bool w_right_journal::query()
{
    dw_journal->setRowCount(0);
    st_count->clear();
    if (!journal::journalAvailable(host::sqlca))
        return false;
    journal::JournalFilter filter;
    filter.since = timeBound(sle_since->text(), false);
    filter.until = timeBound(sle_until->text(), true);
    for (const auto& [bound, field] : {std::pair{filter.since, sle_since}, std::pair{filter.until, sle_until}}) {
        if (bound.isNull()) {
            host::MessageBox(kTitle, QStringLiteral("时间格式不正确 (例如 2026-12-08 或 2026-12-08 09:00): ") +
                                         host::trimBlanks(field->text()));
            field->setFocus();
            return false;
        }
    }
    filter.operatorId = host::trimBlanks(sle_operator->text());
    filter.table = ddlb_table->currentData().toString();
    // One more than is shown, to know whether older entries were left out.
    filter.limit = maxRows + 1;
    QList<journal::JournalEntry> entries;
    if (journal::readJournal(host::sqlca, filter, &entries) != host::Transaction::kSuccess) {
        host::databaseErrorBox(host::sqlca.sqlerrtext);
        return false;
    }
    if (entries.size() > maxRows) {
        entries.resize(maxRows);
        st_count->setText(QStringLiteral("只显示最新的 %1 条, 更早的未显示; 请用时间、操作员或表缩小范围.").arg(maxRows));
    } else {
        st_count->setText(QStringLiteral("共 %1 条").arg(entries.size()));
    }
    dw_journal->setUpdatesEnabled(false);
    dw_journal->setRowCount(int(entries.size()));
    for (int r = 0; r < entries.size(); ++r) {
        const journal::JournalEntry& e = entries.at(r);
        const QStringList cells = {QString::number(e.id),
                                   localTime(e.changedAt),
                                   e.operatorId,
                                   e.table,
                                   actionWord(e.action),
                                   journal::describeJournalValue(e.key),
                                   journal::describeJournalValue(e.before),
                                   journal::describeJournalValue(e.after)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells.at(c));  // plain text
            if (c >= 5)
                // The whole value; escaped inside rich text, so that markup in it shows as typed.
                item->setToolTip(QStringLiteral("<qt>") + cells.at(c).toHtmlEscaped() + QStringLiteral("</qt>"));
            if (c == 0)
                item->setData(Qt::UserRole, e.id);
            dw_journal->setItem(r, c, item);
        }
    }
    dw_journal->resizeColumnsToContents();
    dw_journal->setUpdatesEnabled(true);
    return true;
}

void w_right_journal::refresh()
{
    if (!cb_refresh->isEnabled())
        return;
    const QList<qint64> before = selectedIds();
    const QSet<qint64> selected(before.begin(), before.end());
    if (!query() || selected.isEmpty())
        return;
    int first = -1;
    for (int r = 0; r < dw_journal->rowCount(); ++r) {
        if (!selected.contains(dw_journal->item(r, 0)->data(Qt::UserRole).toLongLong()))
            continue;
        dw_journal->selectionModel()->select(dw_journal->model()->index(r, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (first < 0)
            first = r;
    }
    if (first >= 0) {
        dw_journal->selectionModel()->setCurrentIndex(dw_journal->model()->index(first, 0),
                                                      QItemSelectionModel::NoUpdate);
        dw_journal->scrollToItem(dw_journal->item(first, 0));
    }
}

QList<qint64> w_right_journal::shownIds() const
{
    QList<qint64> ids;
    for (int r = 0; r < dw_journal->rowCount(); ++r)
        ids << dw_journal->item(r, 0)->data(Qt::UserRole).toLongLong();
    return ids;
}

QList<qint64> w_right_journal::selectedIds() const
{
    QList<qint64> ids;
    for (const QModelIndex& index : dw_journal->selectionModel()->selectedRows())
        ids << dw_journal->item(index.row(), 0)->data(Qt::UserRole).toLongLong();
    return ids;
}

void w_right_journal::revertSelected()
{
    if (!common::ensureCanModify(this))
        return;
    const QList<qint64> ids = selectedIds();
    if (ids.isEmpty()) {
        host::MessageBox(kTitle, QStringLiteral("请先选择要撤销的变更."));
        return;
    }
    if (host::MessageBox(kTitle, QStringLiteral("确定撤销选中的 %1 条变更吗?").arg(ids.size()), host::Icon::Question,
                         host::Buttons::YesNo, host::Answer::No) != host::Answer::Yes)
        return;
    // All of the selection or nothing; nobody may lose the right to
    // administer rights through it.
    common::AdministrationGuard guard;
    host::Operation operation;
    journal::RevertOutcome outcome;
    if (revertChanges(host::sqlca, ids, &outcome) != host::Transaction::kSuccess) {
        operation.rollback();
        host::MessageBox(kTitle, QStringLiteral("撤销失败, 没有作任何修改.\n") + outcome.reason,
                         host::Icon::Exclamation);
        (void)query();
        return;
    }
    if (!guard.allows()) {
        operation.rollback();
        (void)query();
        return;
    }
    if (operation.commit() != host::Transaction::kSuccess) {
        host::MessageBox(kTitle, QStringLiteral("撤销失败, 没有作任何修改.\n") + operation.error(),
                         host::Icon::Exclamation);
        (void)query();
        return;
    }
    // Open windows that show these rows read them again.
    common::DataChanges::announce(this);
    host::MessageBox(kTitle, revertNotice(ids.size(), outcome));
    (void)query();
}

}  // namespace journal
