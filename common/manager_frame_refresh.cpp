// 刷新: the manager reads the tree and the list again, keeping what was
// selected where it still exists; also on a change another window announces.
#include "common/manager_frame.h"

#include "common/data_changes.h"

#include <QAbstractItemDelegate>
#include <QShortcut>
#include <QTreeWidget>

namespace common {

void ManagerFrame::listenForChanges()
{
    auto* f5 = new QShortcut(QKeySequence(Qt::Key_F5), this);
    f5->setObjectName(QStringLiteral("sc_refresh"));
    f5->setContext(Qt::WindowShortcut);
    connect(f5, &QShortcut::activated, this, &ManagerFrame::refresh);
    connect(&DataChanges::instance(), &DataChanges::changed, this, [this](QObject* source) {
        if (source != this)
            scheduleRefresh();
    });
    // A refresh asked for while a label was being edited runs once the
    // editor has closed (and the edit's end has been handled).
    connect(
        lv_1_->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
        [this] {
            if (refreshAfterEdit_)
                refresh();
        },
        Qt::QueuedConnection);
}

void ManagerFrame::scheduleRefresh()
{
    if (refreshQueued_)
        return;
    refreshQueued_ = true;
    post([this] {
        refreshQueued_ = false;
        refresh();
    });
}

void ManagerFrame::refresh()
{
    if (lv_1_->isEditingLabel()) {
        refreshAfterEdit_ = true;
        return;
    }
    refreshAfterEdit_ = false;
    lv_1_->deliverPendingEdits();
    if (!rootItem())
        return;  // not opened yet
    QTreeWidgetItem* current = currentTreeItem();
    const int treeLevel = level(current);
    const QString treeKey = itemData(current);
    const int index = lv_1_->selectedIndex();
    const QString listKey = index > 0 ? lv_1_->data(index) : QString();
    const bool listHadFocus = lv_1_->hasFocus();

    buildTree();  // selects the root: the list shows the entities
    if (treeLevel == 2) {
        QTreeWidgetItem* root = rootItem();
        for (int i = 0; i < root->childCount(); ++i) {
            if (itemData(root->child(i)) == treeKey) {
                selectTreeItem(root->child(i));
                break;
            }
        }
    }
    if (index < 1)
        return;
    for (int i = 1; i <= lv_1_->totalItems(); ++i) {
        if (lv_1_->data(i) == listKey) {
            lv_1_->selectItem(i);
            setListButtons(true, i);
            if (listHadFocus)
                lv_1_->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    setListButtons(false, 0);
}

}  // namespace common
