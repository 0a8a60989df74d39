#include "rightsetup/w_right_right_setup.h"

#include "common/administration_guard.h"
#include "common/fonts.h"
#include "common/levels.h"
#include "common/manager_frame.h"
#include "host/changed_meanwhile.h"
#include "host/filter.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/operation.h"
#include "host/transaction.h"
#include "host/units.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "platform/expression.h"
#include "rights/f_button_right.h"
#include "rightsetup/window_names.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPushButton>

namespace rightsetup {

namespace {

const QString kModuleColumn = QStringLiteral("m_item_code");
const QString kLevelColumn = QStringLiteral("group_right");

// Grid position and the buttons' column, in layout units.
constexpr int kGridX = 18;
constexpr int kGridY = 20;
constexpr int kButtonWidth = 343;
constexpr int kButtonHeight = 84;

QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QString& tag, int x, int y)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (!tag.isEmpty())
        b->setProperty("tag", tag);
    host::placeUnits(b, x, y, kButtonWidth, kButtonHeight);
    return b;
}

}  // namespace

w_right_right_setup::w_right_right_setup(QWidget* parent) : host::w_father(parent)
{
    setWindowTitle(QStringLiteral("操作组权限设置"));
    setTag(kModuleItem);
    setFont(common::songti(9));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    resize(host::unitsSize(2235, 1568));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    dw_1 = new platform::DataWindow(this);
    dw_1->setObjectName(QStringLiteral("dw_1"));
    dw_1->setDataObject(QStringLiteral("d_right_right_setup"));
    host::placeUnits(dw_1, kGridX, kGridY, 1655, 1360);

    cb_add = button(this, QStringLiteral("cb_add"), QStringLiteral("增加(&A)"), QStringLiteral("2"), 1765, 44);
    cb_delete = button(this, QStringLiteral("cb_delete"), QStringLiteral("删除(&D)"), QStringLiteral("2"), 1765, 152);
    cb_save = button(this, QStringLiteral("cb_save"), QStringLiteral("保存(&S)"), QStringLiteral("2"), 1765, 260);
    cb_cancel = button(this, QStringLiteral("cb_cancel"), QStringLiteral("取消"), {}, 1765, 436);
    // Nothing to save until the grid is edited.
    cb_save->setEnabled(false);
    setCancelButton(cb_cancel);

    setTabOrder(dw_1, cb_add);
    setTabOrder(cb_add, cb_delete);
    setTabOrder(cb_delete, cb_save);
    setTabOrder(cb_save, cb_cancel);

    connect(dw_1, &platform::DataWindow::itemChanged, this, [this] { gridEdited(); });
    connect(dw_1, &platform::DataWindow::editChanged, this, [this] { gridEdited(); });
    connect(cb_add, &QPushButton::clicked, this, &w_right_right_setup::cb_add_clicked);
    connect(cb_delete, &QPushButton::clicked, this, &w_right_right_setup::cb_delete_clicked);
    connect(cb_save, &QPushButton::clicked, this, &w_right_right_setup::cb_save_clicked);
    connect(cb_cancel, &QPushButton::clicked, this, &QWidget::close);
    // One click on a level cell opens its choices; posted, so that the
    // click has been handled by the grid first.
    connect(dw_1, &platform::DataWindow::clicked, this, [this](long row, const QString& column) {
        if (row >= 1 && column == kLevelColumn)
            QMetaObject::invokeMethod(this, [this, row] { openLevelChoices(row); }, Qt::QueuedConnection);
    });
}

void w_right_right_setup::openLevelChoices(long row)
{
    if (row > dw_1->rowCount() || !common::canModify(this))
        return;
    auto* view = qobject_cast<QAbstractItemView*>(dw_1->view());
    if (!view)
        return;
    dw_1->setRow(row);
    dw_1->setColumn(kLevelColumn);
    auto* choices = view->viewport()->findChild<QComboBox*>();
    if (!choices) {
        view->edit(view->currentIndex());
        choices = view->viewport()->findChild<QComboBox*>();
    }
    if (choices)
        choices->showPopup();
}

void w_right_right_setup::openEvent(const QString& parameter)
{
    host::w_father::openEvent(parameter);
    auto* manager = host::WindowRegistry::instanceOf<common::ManagerFrame>(kUserGroupManager);
    const int index = manager ? manager->lv_1()->selectedIndex() : 0;
    if (index < 1) {
        close();
        return;
    }
    is_group_id = manager->lv_1()->data(index);
    // The title says which group is edited.
    setWindowTitle(windowTitle() + QStringLiteral(" - ") + is_group_id + QStringLiteral(" ") +
                   manager->lv_1()->label(index));
    if (platform::DataStore* names = dw_1->getChild(kModuleColumn))
        names->setTransObject(host::sqlca);
    applyLevel();
    loadRows();
}

void w_right_right_setup::loadRows()
{
    if (host::f_filter(*dw_1, QStringLiteral("group_id = ") + platform::quoteLiteral(is_group_id)) < 0)
        host::databaseErrorBox(host::sqlca.sqlerrtext);
}

void w_right_right_setup::resizeWindow(int newWidth, int newHeight)
{
    host::w_father::resizeWindow(newWidth, newHeight);
    const int gridWidth = newWidth - kGridX - 500;
    const int gridHeight = newHeight - kGridY - 150;
    host::placeUnits(dw_1, kGridX, kGridY, gridWidth, gridHeight);
    const int left = kGridX + gridWidth + 50;
    for (QPushButton* b : {cb_add, cb_delete, cb_save, cb_cancel})
        host::placeUnits(b, left, host::pixelsToUnitsY(b->y()), kButtonWidth, kButtonHeight);
}

void w_right_right_setup::applyLevel()
{
    // The buttons that change data carry the level they need ("2") in their
    // tag; an operator below it may only look at the group's rights.
    const int level = rights::f_button_right(this);
    for (QPushButton* b : {cb_add, cb_delete, cb_save}) {
        const int needed = b->property("tag").toString().toInt();
        if (level < needed)
            b->setEnabled(false);
        else if (b != cb_save)
            b->setEnabled(true);
    }
    dw_1->setReadOnly(level < 2);
}

void w_right_right_setup::gridEdited()
{
    ib_canexit = false;
    cb_save->setEnabled(common::canModify(this));
}

void w_right_right_setup::focusModule(long row)
{
    dw_1->scrollToRow(row);
    dw_1->setFocus();
    dw_1->setRow(row);
    dw_1->setColumn(kModuleColumn);
}

void w_right_right_setup::cb_add_clicked()
{
    if (!common::ensureCanModify(this))
        return;
    // Modal: the administrator picks the items before going on in the grid,
    // and the rows arrive in this editor, which stays open meanwhile.
    host::WindowRegistry::openWithReturn(kModuleList, is_group_id);
}

w_right_right_setup::RowProblem w_right_right_setup::checkRows()
{
    const long rows = dw_1->rowCount();
    for (long i = 1; i <= rows; ++i) {
        const platform::ItemStatus status = dw_1->getItemStatus(i);
        if (status == platform::ItemStatus::NotModified)
            continue;
        const QString module = dw_1->getItemString(i, kModuleColumn);
        if (host::f_isnull(module))
            return {QStringLiteral("请选择模块名称."), i};
        if (status == platform::ItemStatus::New || status == platform::ItemStatus::NewModified) {
            QVariantList into;
            const int code = host::sqlca.selectInto(
                QStringLiteral("select count ( *) from s_group_power where group_id = ? and m_item_code = ?"),
                {is_group_id, module}, into);
            if (code == host::Transaction::kSuccess) {
                if (!into.isEmpty() && into.first().toLongLong() > 0)
                    return {QStringLiteral("模块已存在，请选择其它模块."), i};
            } else if (code != host::Transaction::kNotFound) {
                return {{}, 0, true};
            }
        }
        const long found = dw_1->find(kModuleColumn + QStringLiteral(" = ") + platform::quoteLiteral(module), i + 1,
                                      dw_1->rowCount());
        if (found > 0)
            return {QStringLiteral("第%1行数据和第%2行数据有重复，请更改.").arg(i).arg(found), found};
    }
    return {};
}

void w_right_right_setup::cb_save_clicked()
{
    ib_save_success = false;
    if (!common::ensureCanModify(this))
        return;
    dw_1->acceptText();

    // The checks read inside the save's own transaction: a module item
    // another client added meanwhile is found, not written over.
    host::Operation operation;
    if (!operation.begin()) {
        host::databaseErrorBox(operation.error());
        return;
    }
    const RowProblem problem = checkRows();
    if (problem.databaseError || !problem.notice.isEmpty()) {
        operation.rollback();
        if (problem.databaseError) {
            host::databaseErrorBox(operation.error());
        } else {
            host::f_box(problem.notice);
            focusModule(problem.row);
        }
        return;
    }

    // A save the database refuses (a statement, or the COMMIT) keeps every
    // change pending in the grid, so that saving again writes them.
    common::AdministrationGuard guard;
    const bool written = dw_1->update(false) == 1;
    if (written && !guard.allows()) {
        operation.rollback();
        return;  // the changes stay pending; the operator was told why
    }
    if (written && operation.commit() == host::Transaction::kSuccess) {
        dw_1->resetUpdate();
        cb_save->setEnabled(false);
        ib_save_success = true;
        host::MessageBox(QStringLiteral("提示"), QStringLiteral("保存成功."));
        return;
    }
    operation.rollback();
    gridEdited();  // the changes are still there to be saved
    if (host::sqlca.changedMeanwhile())
        offerReadAgain(QStringLiteral("保存失败."));
    else
        host::MessageBox(QStringLiteral("提示"), QStringLiteral("保存失败."));
}

void w_right_right_setup::cb_delete_clicked()
{
    if (!common::ensureCanModify(this))
        return;
    if (dw_1->rowCount() == 0) {
        host::f_box(QStringLiteral("没有可删除的行."));
        return;
    }
    const long row = dw_1->getRow();
    if (row < 1) {
        host::f_box(QStringLiteral("请选择要删除的行."));
        return;
    }
    if (host::MessageBox(QStringLiteral("提示"), QStringLiteral("确定要进行删除操作吗?"), host::Icon::Question,
                         host::Buttons::YesNo, host::Answer::No) != host::Answer::Yes)
        return;
    dw_1->deleteRow(row);
    common::AdministrationGuard guard;
    host::Operation operation;
    const bool written = dw_1->update(false) == 1;
    if (written && !guard.allows()) {
        operation.rollback();
        gridEdited();
        return;  // the deletion stays pending; the operator was told why
    }
    if (written && operation.commit() == host::Transaction::kSuccess) {
        dw_1->resetUpdate();
        return;
    }
    operation.rollback();
    // The deletion stays pending with every other change, to be written by
    // the next save.
    gridEdited();
    if (host::sqlca.changedMeanwhile())
        offerReadAgain(QStringLiteral("删除失败."));
    else
        host::f_box(QStringLiteral("删除失败."));
}

void w_right_right_setup::offerReadAgain(const QString& failure)
{
    const QString what = QStringLiteral("操作组 %1 的权限").arg(is_group_id);
    if (!host::askReadAgain(failure, host::changedMeanwhileText(what)))
        return;  // 否: every change stays pending
    // 是: the grid shows what the database holds, the changes given up.
    loadRows();
    ib_canexit = true;
    cb_save->setEnabled(false);
}

bool w_right_right_setup::closeQuery()
{
    if (!host::w_father::closeQuery())
        return false;
    if (ib_canexit)
        return true;
    dw_1->acceptText();
    if (dw_1->deletedCount() == 0 && dw_1->modifiedCount() == 0)
        return true;
    switch (host::MessageBox(QStringLiteral("关闭"), QStringLiteral("数据已发生改变, 保存吗?"), host::Icon::Question,
                             host::Buttons::YesNoCancel, host::Answer::Cancel)) {
    case host::Answer::Yes:
        cb_save_clicked();
        return ib_save_success;
    case host::Answer::No:
        return true;
    default:
        return false;
    }
}

}  // namespace rightsetup
