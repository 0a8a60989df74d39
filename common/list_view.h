#pragma once
// The list view lv_1 of the manager frame: large icons, items addressed by
// their 1-based index, each with a label, a string data and a picture index;
// in-place label editing. It reports the events of the frame's list: clicked,
// rightclicked and doubleclicked with the index under the pointer (0 beside
// the items), endlabeledit (reported after the editor has closed), itemchanged
// and losefocus.

#include "common/export.h"

#include <QListWidget>
#include <QPersistentModelIndex>

namespace common {

class WMS_COMMON_EXPORT ListView : public QListWidget {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

    // Pictures by index (1-based), as the frame sets them.
    void setPictures(const QList<QIcon>& pictures);

    int totalItems() const { return count(); }
    // Adds an item at the end; returns its index.
    int addItem(const QString& label, const QString& data, int picture);
    // Appends many items in one go, with the view's updates held meanwhile.
    struct Entry {
        QString label;
        QString data;
        int picture = 0;
    };
    void addItems(const QList<Entry>& entries);
    int deleteItem(int index);
    void deleteItems();
    QListWidgetItem* itemAt(int index) const;
    QString label(int index) const;
    QString data(int index) const;
    int setLabel(int index, const QString& label);
    int picture(int index) const;
    // The first selected index, 0 when none.
    int selectedIndex() const;
    int selectItem(int index);
    // Starts editing the label of an item; false when there is none.
    bool editLabel(int index);
    // Whether a label editor is open.
    bool isEditingLabel() const { return state() == QAbstractItemView::EditingState; }
    // Reports the edits whose end is not reported yet (endLabelEdit), at
    // once: before the list is refilled, so that an edit ended by a click on
    // the tree is handled for the list it was made in.
    void deliverPendingEdits();
    // The label the item had when the last edit began.
    QString labelBeforeEdit() const { return labelBeforeEdit_; }

Q_SIGNALS:
    void clickedAt(int index);
    void rightClickedAt(int index);
    void doubleClickedAt(int index);
    void endLabelEdit(int index, const QString& newLabel);
    void itemChangedAt(int index);
    void loseFocus();
    // Delete and F2 on the list: the frame deletes or renames through its
    // own guarded events.
    void deleteKeyPressed();
    void renameKeyPressed();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int indexAtPoint(const QPoint& pos) const;

    QList<QIcon> pictures_;
    QPersistentModelIndex editing_;
    struct PendingEdit {
        QPersistentModelIndex index;
        QString typed;
        QString before;
    };
    QList<PendingEdit> pendingEdits_;
    QString labelBeforeEdit_;
    // The release that ends a double click is not another click.
    bool afterDoubleClick_ = false;
};

}  // namespace common
