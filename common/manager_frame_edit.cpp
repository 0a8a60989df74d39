#include "common/manager_frame.h"

#include "common/administration_guard.h"
#include "common/data_changes.h"
#include "common/levels.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/operation.h"
#include "host/transaction.h"

#include <QSignalBlocker>
#include <QTreeWidget>

namespace common {

// --- rename and delete -----------------------------------------------------

bool ManagerFrame::runOperation(const QList<Statement>& statements, const QString& name, const QString& key,
                                const QString& entityKey, bool guarded,
                                const std::function<bool(host::Operation&)>& allowed)
{
    AdministrationGuard guard;
    host::Operation operation;
    if (allowed && !allowed(operation)) {
        operation.rollback();
        return false;
    }
    QString reason;
    for (const Statement& statement : statements) {
        QVariantList values;
        for (Arg arg : statement.args) {
            switch (arg) {
            case Arg::Name: values << name; break;
            case Arg::Key: values << key; break;
            case Arg::EntityKey: values << entityKey; break;
            }
        }
        if (operation.execute(statement.sql, values) != host::Transaction::kSuccess) {
            reason = operation.error();
            break;
        }
        if (host::sqlca.sqlnrows == 0 && !statement.mayMatchNothing) {
            // The statement ran but found no row: the entry was removed (or
            // its key changed) by someone else.
            reason = QStringLiteral("没有找到要修改的记录，它可能已被其他用户删除.");
            break;
        }
    }
    if (reason.isEmpty() && guarded && !guard.allows()) {
        operation.rollback();
        return false;
    }
    if (reason.isEmpty() && operation.commit() == host::Transaction::kSuccess)
        return true;
    if (reason.isEmpty())
        reason = operation.error();  // the COMMIT was refused and rolled back
    operation.rollback();
    host::databaseErrorBox(reason);
    return false;
}

void ManagerFrame::button2Event()
{
    ue_rename();
}

void ManagerFrame::ue_rename()
{
    const int index = lv_1_->selectedIndex();
    if (index < 1 || !ensureCanModify(this))
        return;
    lv_1_->editLabel(index);
}

void ManagerFrame::lv1EndLabelEdit(int index, const QString& newLabel)
{
    // The tree item whose entities or members the list shows.
    QTreeWidgetItem* current = selected_;
    const QString key = lv_1_->data(index);
    const QString previous = lv_1_->labelBeforeEdit();
    // The right may have been taken away while the label was being edited.
    if (!ensureCanModify(this)) {
        lv_1_->setLabel(index, previous);
        return;
    }

    // A blank name is refused as the add dialogs refuse it.
    if (host::trimBlanks(newLabel).isEmpty() && (level(current) == 1 || level(current) == 2)) {
        lv_1_->setLabel(index, previous);
        host::f_box(level(current) == 1 ? params_.blankEntityName : params_.blankMemberName);
        return;
    }

    // A failed rename is undone in the database and in the list, and the
    // operator learns why.
    switch (level(current)) {
    case 1: {
        // The entity may be missing from the tree (another client added it
        // after the tree was built): the rename is written all the same.
        if (!runOperation({params_.renameEntity}, newLabel, key, itemData(current))) {
            lv_1_->setLabel(index, previous);
            return;
        }
        for (int i = 0; i < current->childCount(); ++i)
            if (itemData(current->child(i)) == key)
                current->child(i)->setText(0, newLabel);
        lv_1_->setLabel(index, newLabel);
        DataChanges::announce(this);
        break;
    }
    case 2:
        if (!runOperation({params_.renameMember}, newLabel, key, itemData(current))) {
            lv_1_->setLabel(index, previous);
            return;
        }
        lv_1_->setLabel(index, newLabel);
        DataChanges::announce(this);
        break;
    default:
        lv_1_->setLabel(index, previous);
        break;
    }
}

QString ManagerFrame::deleteQuestion(int, const QString& key, const QString& label)
{
    return QStringLiteral("确定进行删除操作吗?\n编号：") + key + QStringLiteral(", 名称：") + label;
}

QString ManagerFrame::deleteEntityQuestion(const QString&)
{
    return params_.deleteEntityQuestion;
}

bool ManagerFrame::entityDeleteAllowed(host::Operation&, const QString&)
{
    return true;
}

void ManagerFrame::selectionBackToTree()
{
    // Not a neighbour of the deleted item: nothing in the list is selected
    // and the tree's item has the focus, so that a second Delete deletes
    // nothing by surprise.
    {
        const QSignalBlocker blocker(lv_1_);
        lv_1_->clearSelection();
        lv_1_->setCurrentItem(nullptr);
    }
    setListButtons(false, 0);
    if (QTreeWidgetItem* current = currentTreeItem())
        tv_1_->setCurrentItem(current);
    tv_1_->setFocus(Qt::OtherFocusReason);
}

void ManagerFrame::ue_delete_lvi()
{
    QTreeWidgetItem* current = currentTreeItem();
    const int index = lv_1_->selectedIndex();
    if (!current || index < 1 || !ensureCanModify(this))
        return;
    const QString key = lv_1_->data(index);
    if (host::MessageBox(QStringLiteral("提示"), deleteQuestion(level(current), key, lv_1_->label(index)),
                         host::Icon::Question, host::Buttons::YesNo, host::Answer::No) != host::Answer::Yes)
        return;

    if (level(current) == 2) {
        if (runOperation(params_.deleteMember, {}, key, itemData(current), true)) {
            lv_1_->deleteItem(index);
            selectionBackToTree();
            DataChanges::announce(this);
        }
        return;
    }
    if (level(current) != 1)
        return;
    const QString entityQuestion = deleteEntityQuestion(key);
    if (!entityQuestion.isEmpty() &&
        host::MessageBox(QStringLiteral("提示"), entityQuestion, host::Icon::Question, host::Buttons::YesNo,
                         host::Answer::No) != host::Answer::Yes)
        return;
    // Every statement must succeed, or none of them stays. The entity may be
    // missing from the tree (added by another client meanwhile).
    if (!runOperation(params_.deleteEntity, {}, key, itemData(current), true,
                      [this, &key](host::Operation& operation) { return entityDeleteAllowed(operation, key); }))
        return;
    for (int i = current->childCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* child = current->child(i);
        if (itemData(child) != key)
            continue;
        if (selected_ == child)
            selected_ = nullptr;
        delete current->takeChild(i);
    }
    lv_1_->deleteItem(index);
    selectionBackToTree();
    DataChanges::announce(this);
}

}  // namespace common
