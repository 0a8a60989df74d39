#include "platform/item_delegate.h"

#include "platform/column_editor.h"
#include "platform/dropdown.h"
#include "platform/datastore.h"

#include <QComboBox>
#include <QLineEdit>

namespace platform {

ItemDelegate::ItemDelegate(DataStore& store, const DropDownSet& dropDowns, QObject* parent)
    : QStyledItemDelegate(parent), store_(store), dropDowns_(dropDowns)
{
}

QWidget* ItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const Definition* def = store_.definition();
    if (!def || index.column() >= def->columns.size())
        return nullptr;
    const ColumnDefinition& column = def->columns.at(index.column());
    DropDown* list = dropDowns_.at(index.column());
    QWidget* editor = createColumnEditor(parent, column, list);
    editor->setObjectName(column.name);
    const QPersistentModelIndex cell(index);
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        connect(edit, &QLineEdit::textEdited, this, [this, cell](const QString& text) { Q_EMIT textEdited(cell, text); });
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        // A choice from the list is the value: it is taken at once.
        connect(combo, &QComboBox::activated, this, [this, combo] {
            Q_EMIT const_cast<ItemDelegate*>(this)->commitData(combo);
        });
    }
    editor_ = editor;
    index_ = cell;
    return editor;
}

void ItemDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const Definition* def = store_.definition();
    if (!def || index.column() >= def->columns.size())
        return;
    const ColumnDefinition& column = def->columns.at(index.column());
    setEditorValue(editor, column, dropDowns_.at(index.column()),
                   store_.getItem(index.row() + 1, column.name));
}

void ItemDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    const Definition* def = store_.definition();
    if (!def || index.column() >= def->columns.size())
        return;
    const ColumnDefinition& column = def->columns.at(index.column());
    const DropDown* list = dropDowns_.at(index.column());
    bool chosen = false;
    const QVariant value = editorValue(editor, column, list, &chosen);
    lastAccepted_ = true;
    if (!chosen)
        return;
    const QVariant before = store_.getItem(index.row() + 1, column.name);
    // An untouched empty cell stays null.
    if (before.isNull() && value.toString().isEmpty())
        return;
    if (!before.isNull() && before.toString() == value.toString())
        return;
    lastAccepted_ = model->setData(index, value, Qt::EditRole);
    if (!lastAccepted_)
        return;
    if (directNotices_) {
        Q_EMIT valueAccepted(index, value.toString());
        return;
    }
    // Qt is still closing the editor (Enter, Tab, a click elsewhere, a
    // choice from a list): a handler of the change may show a modal box,
    // whose event loop would let Qt delete the editor before it is done with
    // it. The change is announced once Qt has finished.
    const QPersistentModelIndex cell(index);
    const QString text = value.toString();
    QMetaObject::invokeMethod(
        const_cast<ItemDelegate*>(this),
        [this, cell, text] {
            if (cell.isValid())
                Q_EMIT valueAccepted(cell, text);
        },
        Qt::QueuedConnection);
}

void ItemDelegate::commitDirectly(QWidget* editor)
{
    directNotices_ = true;
    Q_EMIT commitData(editor);
    directNotices_ = false;
}

void ItemDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (editor_ == editor) {
        editor_.clear();
        index_ = QPersistentModelIndex();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

}  // namespace platform
