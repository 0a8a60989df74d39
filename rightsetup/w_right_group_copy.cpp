#include "rightsetup/w_right_group_copy.h"

#include "common/fonts.h"
#include "common/levels.h"
#include "host/messages.h"
#include "host/transaction.h"
#include "rightsetup/change_table.h"
#include "rightsetup/rights_writer.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

namespace rightsetup {

namespace {

const QString kTitle = QStringLiteral("提示");
const QColor kDiffers(255, 226, 140);

QComboBox* groupList(QWidget* parent, const QString& name)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return list;
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
    auto* st_target = new QLabel(QStringLiteral("目标组:"), this);
    st_target->setObjectName(QStringLiteral("st_target"));
    ddlb_target = groupList(this, QStringLiteral("ddlb_target"));
    rb_replace = new QRadioButton(QStringLiteral("替换"), this);
    rb_replace->setObjectName(QStringLiteral("rb_replace"));
    rb_replace->setToolTip(QStringLiteral("目标组的权限改为与源组完全相同"));
    rb_merge = new QRadioButton(QStringLiteral("合并"), this);
    rb_merge->setObjectName(QStringLiteral("rb_merge"));
    rb_merge->setToolTip(QStringLiteral("增加目标组没有的源组权限; 两组都有的取较高级别"));
    rb_merge->setChecked(true);
    auto* modes = new QButtonGroup(this);
    modes->addButton(rb_replace);
    modes->addButton(rb_merge);

    tab_pages = new QTabWidget(this);
    tab_pages->setObjectName(QStringLiteral("tab_pages"));
    dw_preview = makeTable(tab_pages, QStringLiteral("dw_preview"));
    dw_compare = makeTable(tab_pages, QStringLiteral("dw_compare"));
    tab_pages->addTab(dw_preview, QStringLiteral("复制"));
    tab_pages->addTab(dw_compare, QStringLiteral("比较"));
    st_summary = new QLabel(this);
    st_summary->setObjectName(QStringLiteral("st_summary"));
    st_summary->setTextFormat(Qt::PlainText);
    cb_apply = new QPushButton(QStringLiteral("应用(&A)"), this);
    cb_apply->setObjectName(QStringLiteral("cb_apply"));
    cb_apply->setAutoDefault(false);
    cb_close = new QPushButton(QStringLiteral("关闭"), this);
    cb_close->setObjectName(QStringLiteral("cb_close"));
    cb_close->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(st_source);
    top->addWidget(ddlb_source);
    top->addWidget(st_target);
    top->addWidget(ddlb_target);
    top->addWidget(rb_replace);
    top->addWidget(rb_merge);
    top->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(st_summary, 1);
    bottom->addWidget(cb_apply);
    bottom->addWidget(cb_close);
    auto* layout = new QGridLayout(this);
    layout->addLayout(top, 0, 0);
    layout->addWidget(tab_pages, 1, 0);
    layout->addLayout(bottom, 2, 0);
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
        const QString label = row.value(0).toString() + QStringLiteral("  ") + row.value(1).toString();
        ddlb_source->addItem(label, row.value(0).toString());
        ddlb_target->addItem(label, row.value(0).toString());
    }
    const int source = ddlb_source->findData(parameter);
    ddlb_source->setCurrentIndex(source >= 0 ? source : 0);
    // Another group than the source as the first target.
    ddlb_target->setCurrentIndex(ddlb_source->currentIndex() == 0 && ddlb_target->count() > 1 ? 1 : 0);
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
    return ddlb_source->currentData().toString();
}

QString w_right_group_copy::target() const
{
    return ddlb_target->currentData().toString();
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
    const bool same = source().isEmpty() || source() == target();
    if (!same && readState(&sourceRights, &targetRights)) {
        preview_ = copyChanges(sourceRights, targetRights, target(), mode());
        comparison_ = compareGroups(sourceRights, targetRights);
    }
    showChanges(dw_preview, preview_, itemNames_, false);
    showComparison();
    long long differing = 0;
    for (const CompareRow& row : std::as_const(comparison_))
        differing += row.differs() ? 1 : 0;
    if (same)
        st_summary->setText(QStringLiteral("请选择两个不同的操作组."));
    else if (tab_pages->currentWidget() == dw_compare)
        st_summary->setText(QStringLiteral("两组有 %1 项权限不同 (已标出).").arg(differing));
    else
        st_summary->setText(QStringLiteral("%1到目标组将进行 %2 项修改.")
                                .arg(mode() == CopyMode::Replace ? QStringLiteral("替换") : QStringLiteral("合并"))
                                .arg(preview_.size()));
    cb_apply->setEnabled(!same && !preview_.isEmpty() && common::canModify(this));
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

bool w_right_group_copy::apply()
{
    if (!common::ensureCanModify(this))
        return false;
    if (source().isEmpty() || source() == target()) {
        host::MessageBox(kTitle, QStringLiteral("请选择两个不同的操作组."));
        return false;
    }
    // What is applied is the list shown: when the groups changed since it
    // was read, the operator sees the new list before anything is written.
    GroupRights sourceRights, targetRights;
    if (!readState(&sourceRights, &targetRights))
        return false;
    if (copyChanges(sourceRights, targetRights, target(), mode()) != preview_) {
        refresh();
        host::MessageBox(kTitle, QStringLiteral("两组的权限已被其他用户修改, 修改列表已更新. 请确认后再应用."),
                         host::Icon::Exclamation);
        return false;
    }
    if (preview_.isEmpty()) {
        host::MessageBox(kTitle, QStringLiteral("没有需要应用的修改."));
        return false;
    }
    if (!writeChanges(preview_))
        return false;
    applied_ = true;
    host::MessageBox(kTitle, QStringLiteral("保存成功."));
    refresh();
    return true;
}

}  // namespace rightsetup
