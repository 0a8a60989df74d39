#include "rightsetup/w_right_group_copy.h"

#include "common/fonts.h"
#include "common/levels.h"
#include "host/messages.h"
#include "host/transaction.h"
#include "rightsetup/change_table.h"
#include "rightsetup/rights_writer.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace rightsetup {

namespace {

const QString kTitle = QStringLiteral("提示");
const QColor kDiffers(255, 226, 140);

QComboBox* groupList(QWidget* parent, const QString& name)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list->setPlaceholderText(QStringLiteral("(请选择)"));
    return list;
}

QString modeWord(CopyMode mode)
{
    return mode == CopyMode::Replace ? QStringLiteral("替换") : QStringLiteral("合并");
}

}  // namespace

w_right_group_copy::w_right_group_copy(QWidget* parent) : host::w_father(parent)
{
    setWindowTitle(QStringLiteral("复制与比较操作组权限"));
    setFont(common::songti(9));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    resize(700, 520);

    auto* st_source = new QLabel(QStringLiteral("源组:"), this);
    st_source->setObjectName(QStringLiteral("st_source"));
    ddlb_source = groupList(this, QStringLiteral("ddlb_source"));
    st_source->setBuddy(ddlb_source);
    auto* st_target = new QLabel(QStringLiteral("目标组:"), this);
    st_target->setObjectName(QStringLiteral("st_target"));
    ddlb_target = groupList(this, QStringLiteral("ddlb_target"));
    st_target->setBuddy(ddlb_target);

    tab_pages = new QTabWidget(this);
    tab_pages->setObjectName(QStringLiteral("tab_pages"));
    // 应用 lives on the 复制 page: while 比较 is shown it is hidden, so that
    // neither a click, Alt+A nor Enter can reach it there.
    tabpage_copy = new QWidget(tab_pages);
    tabpage_copy->setObjectName(QStringLiteral("tabpage_copy"));
    rb_replace = new QRadioButton(QStringLiteral("替换"), tabpage_copy);
    rb_replace->setObjectName(QStringLiteral("rb_replace"));
    rb_replace->setToolTip(QStringLiteral("目标组的权限改为与源组完全相同"));
    rb_merge = new QRadioButton(QStringLiteral("合并"), tabpage_copy);
    rb_merge->setObjectName(QStringLiteral("rb_merge"));
    rb_merge->setToolTip(QStringLiteral("增加目标组没有的源组权限; 两组都有的取较高级别"));
    rb_merge->setChecked(true);
    auto* modes = new QButtonGroup(this);
    modes->addButton(rb_replace);
    modes->addButton(rb_merge);
    dw_preview = makeTable(tabpage_copy, QStringLiteral("dw_preview"));
    cb_apply = new QPushButton(QStringLiteral("应用(&A)"), tabpage_copy);
    cb_apply->setObjectName(QStringLiteral("cb_apply"));
    cb_apply->setAutoDefault(false);
    cb_apply->setEnabled(false);
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(rb_replace);
    modeRow->addWidget(rb_merge);
    modeRow->addStretch(1);
    auto* applyRow = new QHBoxLayout;
    applyRow->addStretch(1);
    applyRow->addWidget(cb_apply);
    auto* copyLayout = new QVBoxLayout(tabpage_copy);
    copyLayout->addLayout(modeRow);
    copyLayout->addWidget(dw_preview, 1);
    copyLayout->addLayout(applyRow);
    dw_compare = makeTable(tab_pages, QStringLiteral("dw_compare"));
    tab_pages->addTab(tabpage_copy, QStringLiteral("复制"));
    tab_pages->addTab(dw_compare, QStringLiteral("比较"));

    st_summary = new QLabel(this);
    st_summary->setObjectName(QStringLiteral("st_summary"));
    st_summary->setTextFormat(Qt::PlainText);
    cb_close = new QPushButton(QStringLiteral("关闭"), this);
    cb_close->setObjectName(QStringLiteral("cb_close"));
    cb_close->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(st_source);
    top->addWidget(ddlb_source);
    top->addWidget(st_target);
    top->addWidget(ddlb_target);
    top->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(st_summary, 1);
    bottom->addWidget(cb_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tab_pages, 1);
    layout->addLayout(bottom);
    setCancelButton(cb_close);

    connect(ddlb_source, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(ddlb_target, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(rb_replace, &QRadioButton::toggled, this, [this] { refresh(); });
    connect(tab_pages, &QTabWidget::currentChanged, this, [this] { refresh(); });
    connect(cb_apply, &QPushButton::clicked, this, [this] { apply(); });
    connect(cb_close, &QPushButton::clicked, this, &QWidget::close);
}

void w_right_group_copy::openEvent(const QString& parameter)
{
    host::w_father::openEvent(parameter);
    QList<QVariantList> groups, items;
    if (host::sqlca.selectRows(QStringLiteral("select group_id , group_name from s_group order by group_id"), {},
                               &groups) != host::Transaction::kSuccess ||
        host::sqlca.selectRows(QStringLiteral("select m_item_code , name from s_moudle_item"), {}, &items) !=
            host::Transaction::kSuccess) {
        host::databaseErrorBox(host::sqlca.sqlerrtext);
        close();
        return;
    }
    for (const QVariantList& row : std::as_const(items))
        itemNames_.insert(row.value(0).toString(), row.value(1).toString());
    const QSignalBlocker blockSource(ddlb_source);
    const QSignalBlocker blockTarget(ddlb_target);
    for (const QVariantList& row : std::as_const(groups)) {
        groupNames_.insert(row.value(0).toString(), row.value(1).toString());
        const QString label = row.value(0).toString() + QStringLiteral("  ") + row.value(1).toString();
        ddlb_source->addItem(label, row.value(0).toString());
        ddlb_target->addItem(label, row.value(0).toString());
    }
    // Nothing is chosen for the operator: a copy goes only where they said.
    ddlb_source->setCurrentIndex(-1);
    ddlb_target->setCurrentIndex(-1);
    refresh();
}

void w_right_group_copy::setSource(const QString& group)
{
    ddlb_source->setCurrentIndex(ddlb_source->findData(group));
}

void w_right_group_copy::setTarget(const QString& group)
{
    ddlb_target->setCurrentIndex(ddlb_target->findData(group));
}

void w_right_group_copy::setMode(CopyMode mode)
{
    (mode == CopyMode::Replace ? rb_replace : rb_merge)->setChecked(true);
}

CopyMode w_right_group_copy::mode() const
{
    return rb_replace->isChecked() ? CopyMode::Replace : CopyMode::Merge;
}

QString w_right_group_copy::source() const
{
    return ddlb_source->currentIndex() < 0 ? QString() : ddlb_source->currentData().toString();
}

QString w_right_group_copy::target() const
{
    return ddlb_target->currentIndex() < 0 ? QString() : ddlb_target->currentData().toString();
}

QString w_right_group_copy::choiceProblem() const
{
    if (source().isEmpty() || target().isEmpty())
        return QStringLiteral("请选择源组和目标组.");
    if (source() == target())
        return QStringLiteral("源组和目标组是同一个操作组, 请选择另一个目标组.");
    return {};
}

QString w_right_group_copy::groupLabel(const QString& group) const
{
    return group + QLatin1Char(' ') + groupNames_.value(group);
}

bool w_right_group_copy::readGroup(const QString& group, GroupRights* rights)
{
    rights->clear();
    QList<QVariantList> rows;
    if (host::sqlca.selectRows(
            QStringLiteral("select m_item_code , group_right from s_group_power where group_id = ?"), {group}, &rows) !=
        host::Transaction::kSuccess)
        return false;
    for (const QVariantList& row : std::as_const(rows))
        rights->insert(row.value(0).toString(), row.value(1).isNull() ? QString() : row.value(1).toString());
    return true;
}

bool w_right_group_copy::readState(GroupRights* sourceRights, GroupRights* targetRights)
{
    if (readGroup(source(), sourceRights) && readGroup(target(), targetRights))
        return true;
    host::databaseErrorBox(host::sqlca.sqlerrtext);
    return false;
}

void w_right_group_copy::refresh()
{
    preview_.clear();
    comparison_.clear();
    GroupRights sourceRights, targetRights;
    const QString problem = choiceProblem();
    if (problem.isEmpty() && readState(&sourceRights, &targetRights)) {
        preview_ = copyChanges(sourceRights, targetRights, target(), mode());
        comparison_ = compareGroups(sourceRights, targetRights);
    }
    showChanges(dw_preview, preview_, itemNames_, false);
    showComparison();
    const bool copying = tab_pages->currentWidget() == tabpage_copy;
    long long differing = 0;
    for (const CompareRow& row : std::as_const(comparison_))
        differing += row.differs() ? 1 : 0;
    if (!problem.isEmpty())
        st_summary->setText(problem);
    else if (!copying)
        st_summary->setText(QStringLiteral("两组有 %1 项权限不同 (已标出).").arg(differing));
    else
        st_summary->setText(QStringLiteral("%1到目标组将进行 %2 项修改.").arg(modeWord(mode())).arg(preview_.size()));
    cb_apply->setEnabled(copying && problem.isEmpty() && !preview_.isEmpty() && common::canModify(this));
}

void w_right_group_copy::showComparison()
{
    const QStringList headers = {QStringLiteral("模块项"), QStringLiteral("名称"),
                                 QStringLiteral("源组 ") + source(), QStringLiteral("目标组 ") + target(),
                                 QStringLiteral("差异")};
    dw_compare->setUpdatesEnabled(false);
    dw_compare->clearContents();
    dw_compare->setColumnCount(int(headers.size()));
    dw_compare->setHorizontalHeaderLabels(headers);
    dw_compare->setRowCount(int(comparison_.size()));
    for (int r = 0; r < comparison_.size(); ++r) {
        const CompareRow& row = comparison_.at(r);
        const QStringList cells = {row.item, itemNames_.value(row.item), levelText(row.left), levelText(row.right),
                                   row.differs() ? QStringLiteral("≠") : QString()};
        for (int c = 0; c < cells.size(); ++c) {
            auto* cell = new QTableWidgetItem(cells.at(c));
            if (row.differs())
                cell->setBackground(kDiffers);
            dw_compare->setItem(r, c, cell);
        }
    }
    dw_compare->setUpdatesEnabled(true);
}

bool w_right_group_copy::previewStillHolds()
{
    // Read on sqlca inside the copy's transaction; no box meanwhile.
    GroupRights sourceRights, targetRights;
    if (!readGroup(source(), &sourceRights) || !readGroup(target(), &targetRights))
        return false;
    return copyChanges(sourceRights, targetRights, target(), mode()) == preview_;
}

bool w_right_group_copy::apply()
{
    // Only the 复制 page copies; the comparison is for reading.
    if (tab_pages->currentWidget() != tabpage_copy || !common::ensureCanModify(this))
        return false;
    const QString problem = choiceProblem();
    if (!problem.isEmpty()) {
        host::MessageBox(kTitle, problem, host::Icon::Exclamation);
        return false;
    }
    if (preview_.isEmpty()) {
        host::MessageBox(kTitle, QStringLiteral("没有需要应用的修改."));
        return false;
    }
    const QString question = QStringLiteral("确定将 %1 的权限复制到 %2 吗?\n%3, 共 %4 处修改.")
                                 .arg(groupLabel(source()), groupLabel(target()), modeWord(mode()))
                                 .arg(preview_.size());
    if (host::MessageBox(kTitle, question, host::Icon::Question, host::Buttons::YesNo, host::Answer::No) !=
        host::Answer::Yes)
        return false;
    // What is written is the list shown: when either group changed since it
    // was read (also while the question stood open), nothing is written and
    // the operator may read both groups again.
    WriteRequest request;
    request.stillHolds = [this] { return previewStillHolds(); };
    request.changedWhat = QStringLiteral("操作组 %1 和 %2 的权限").arg(source(), target());
    switch (writeChanges(preview_, request)) {
    case WriteResult::Written:
        break;
    case WriteResult::Refused:
        return false;  // the list stays as it was shown
    case WriteResult::ReadAgain:
        refresh();
        return false;
    }
    applied_ = true;
    host::MessageBox(kTitle, QStringLiteral("保存成功."));
    refresh();
    return true;
}

}  // namespace rightsetup
