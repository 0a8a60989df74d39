#include "common/manager_frame.h"

#include "common/administration_guard.h"
#include "common/data_changes.h"
#include "common/levels.h"
#include "host/changed_meanwhile.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/operation.h"
#include "host/transaction.h"

#include <QSignalBlocker>
#include <QTreeWidget>
#include <optional>

namespace common {

// --- rename and delete -----------------------------------------------------

namespace {

// The statement with its condition extended by the label the operator saw.
QString withShown(const Statement& statement, const QString& shown, QVariantList* values)
{
    if (statement.shownColumn.isEmpty())
        return statement.sql;
    // The list shows names trimmed of blanks, and nothing for a null one.
    const QString trimmed = host::trimBlanks(shown);
    if (trimmed.isEmpty())
        return statement.sql + QStringLiteral(" and ( %1 is null or trim ( %1 ) = '' )").arg(statement.shownColumn);
    values->append(trimmed);
    return statement.sql + QStringLiteral(" and trim ( %1 ) = ?").arg(statement.shownColumn);
}

}  // namespace

ManagerFrame::Outcome ManagerFrame::runOperation(const QList<Statement>& statements, const QString& name,
                                                 const QString& key, const QString& entityKey, const QString& shown,
                                                 const QString& what, bool guarded,
                                                 const std::function<bool(host::Operation&)>& allowed)
{
    // Only an operation that may take away someone's right to administer
    // waits for the administration lock.
    std::optional<AdministrationGuard> guard;
    if (guarded)
        guard.emplace();
    host::Operation operation;
    if (allowed && !allowed(operation)) {
        operation.rollback();
        return Outcome::Failed;
    }
    QString reason;
    bool changed = false;
    for (const Statement& statement : statements) {
        QVariantList values;
        for (Arg arg : statement.args) {
            switch (arg) {
            case Arg::Name: values << name; break;
            case Arg::Key: values << key; break;
            case Arg::EntityKey: values << entityKey; break;
            }
        }
        const QString sql = withShown(statement, shown, &values);
        if (operation.execute(sql, values) != host::Transaction::kSuccess) {
            reason = operation.error();
            break;
        }
        if (host::sqlca.sqlnrows == 0 && !statement.mayMatchNothing) {
            // The row is not as the operator saw it: another client changed
            // its name, removed it or changed its key meanwhile.
            reason = host::changedMeanwhileText(what);
            changed = true;
            break;
        }
    }
    if (reason.isEmpty() && guard && !guard->allows()) {
        operation.rollback();
        return Outcome::Failed;
    }
    if (reason.isEmpty() && operation.commit() == host::Transaction::kSuccess)
        return Outcome::Done;
    if (reason.isEmpty())
        reason = operation.error();  // the COMMIT was refused and rolled back
    else if (changed)
        host::sqlca.recordChangedMeanwhile(reason);
    operation.rollback();
    if (changed)
        return host::askReadAgain(QString(), reason) ? Outcome::ChangedRead : Outcome::ChangedKept;
    host::databaseErrorBox(reason);
    return Outcome::Failed;
}

void ManagerFrame::showStoredName(int index, bool entity, const QString& key)
{
    const QString& query = entity ? params_.entityNameQuery : params_.memberNameQuery;
    if (query.isEmpty())
        return;
    const QVariant stored = host::sqlca.selectValue(query, {key});
    if (host::sqlca.sqlcode != host::Transaction::kSuccess)
        return;  // gone or unreadable: the label read before stays
    const QString name = host::trimBlanks(stored.toString());
    lv_1_->setLabel(index, name);
    if (!entity || !rootItem())
        return;
    QTreeWidgetItem* root = rootItem();
    for (int i = 0; i < root->childCount(); ++i)
        if (itemData(root->child(i)) == key)
            root->child(i)->setText(0, name);
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
    // operator learns why. A rename of a name another client changed
    // meanwhile is refused: read again (everything, as 刷新 does) or, on 否,
    // the label shows what the database holds.
    const int treeLevel = level(current);
    if (treeLevel != 1 && treeLevel != 2) {
        lv_1_->setLabel(index, previous);
        return;
    }
    const bool entity = treeLevel == 1;
    const Statement& rename = entity ? params_.renameEntity : params_.renameMember;
    const QString what =
        (entity ? params_.entityNoun : params_.memberNoun) + QStringLiteral(" ") + key + QStringLiteral(" 的名称");
    switch (runOperation({rename}, newLabel, key, itemData(current), previous, what)) {
    case Outcome::Done:
        break;
    case Outcome::Failed:
        lv_1_->setLabel(index, previous);
        return;
    case Outcome::ChangedRead:
        lv_1_->setLabel(index, previous);
        // The edit's end may be handled inside a change of the tree's
        // selection: the tree is built again once that has returned.
        scheduleRefresh();
        return;
    case Outcome::ChangedKept:
        lv_1_->setLabel(index, previous);
        showStoredName(index, entity, key);
        return;
    }
    // The entity may be missing from the tree (another client added it
    // after the tree was built): the rename is written all the same.
    if (entity)
        for (int i = 0; i < current->childCount(); ++i)
            if (itemData(current->child(i)) == key)
                current->child(i)->setText(0, newLabel);
    lv_1_->setLabel(index, newLabel);
    DataChanges::announce(this);
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

    const QString shown = lv_1_->label(index);
    if (level(current) == 2) {
        const Outcome outcome = runOperation(params_.deleteMember, {}, key, itemData(current), shown,
                                             params_.memberNoun + QStringLiteral(" ") + key + QStringLiteral(" 的记录"), true);
        if (outcome == Outcome::Done) {
            lv_1_->deleteItem(index);
            selectionBackToTree();
            DataChanges::announce(this);
        } else if (outcome == Outcome::ChangedRead) {
            refresh();
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
    const Outcome outcome =
        runOperation(params_.deleteEntity, {}, key, itemData(current), shown,
                     params_.entityNoun + QStringLiteral(" ") + key + QStringLiteral(" 的记录"), true,
                     [this, &key](host::Operation& operation) { return entityDeleteAllowed(operation, key); });
    if (outcome == Outcome::ChangedRead)
        refresh();
    if (outcome != Outcome::Done)
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
