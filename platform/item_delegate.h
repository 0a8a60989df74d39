#pragma once
// The cell editors of a grid: the column's editor (column_editor.h), the
// text typed reported as it is typed, a combo box choice taken at once, and
// the outcome of the last commit kept for acceptText().

#include "platform/export.h"

#include <QPointer>
#include <QStyledItemDelegate>

namespace platform {

class DataStore;
class DropDownSet;

class WMS_PLATFORM_EXPORT ItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ItemDelegate(DataStore& store, const DropDownSet& dropDowns, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

    // The open editor and its cell, if any.
    QWidget* openEditor() const { return editor_; }
    QModelIndex openIndex() const { return index_; }
    // Commits `editor` outside Qt's closing of it (acceptText): the change
    // is announced (valueAccepted) before this returns. A commit Qt makes
    // itself announces it once Qt has finished with the editor.
    void commitDirectly(QWidget* editor);
    // Whether the last commit was taken by the store.
    bool lastCommitAccepted() const { return lastAccepted_; }

Q_SIGNALS:
    void textEdited(const QModelIndex& index, const QString& text) const;
    void valueAccepted(const QModelIndex& index, const QString& text) const;

private:
    DataStore& store_;
    const DropDownSet& dropDowns_;
    mutable QPointer<QWidget> editor_;
    mutable QPersistentModelIndex index_;
    mutable bool lastAccepted_ = true;
    bool directNotices_ = false;
};

}  // namespace platform
