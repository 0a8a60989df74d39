#include "common/list_view.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace common {

namespace {
constexpr int kDataRole = Qt::UserRole;
constexpr int kPictureRole = Qt::UserRole + 1;
}  // namespace

ListView::ListView(QWidget* parent) : QListWidget(parent)
{
    setViewMode(QListView::IconMode);
    setIconSize(QSize(32, 32));
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setGridSize(QSize(96, 64));
    setWordWrap(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // F2 is not an edit trigger: it goes through the frame's rename, which
    // checks the operator's level first.
    setEditTriggers(QAbstractItemView::SelectedClicked);
    setFrameShadow(QFrame::Sunken);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            Q_EMIT itemChangedAt(row + 1);
    });
}

void ListView::setPictures(const QList<QIcon>& pictures)
{
    pictures_ = pictures;
}

int ListView::addItem(const QString& label, const QString& data, int picture)
{
    auto* item = new QListWidgetItem(label);
    item->setData(kDataRole, data);
    item->setData(kPictureRole, picture);
    if (picture >= 1 && picture <= pictures_.size())
        item->setIcon(pictures_.at(picture - 1));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    QListWidget::addItem(item);
    return count();
}

void ListView::addItems(const QList<Entry>& entries)
{
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    for (const Entry& entry : entries)
        addItem(entry.label, entry.data, entry.picture);
    setUpdatesEnabled(updates);
}

int ListView::deleteItem(int index)
{
    QListWidgetItem* item = itemAt(index);
    if (!item)
        return -1;
    delete takeItem(index - 1);
    return 1;
}

void ListView::deleteItems()
{
    clear();
}

QListWidgetItem* ListView::itemAt(int index) const
{
    if (index < 1 || index > count())
        return nullptr;
    return item(index - 1);
}

QString ListView::label(int index) const
{
    const QListWidgetItem* item = itemAt(index);
    return item ? item->text() : QString();
}

QString ListView::data(int index) const
{
    const QListWidgetItem* item = itemAt(index);
    return item ? item->data(kDataRole).toString() : QString();
}

int ListView::setLabel(int index, const QString& label)
{
    QListWidgetItem* item = itemAt(index);
    if (!item)
        return -1;
    item->setText(label);
    return 1;
}

int ListView::picture(int index) const
{
    const QListWidgetItem* item = itemAt(index);
    return item ? item->data(kPictureRole).toInt() : 0;
}

int ListView::selectedIndex() const
{
    for (int row = 0; row < count(); ++row) {
        if (item(row)->isSelected())
            return row + 1;
    }
    return 0;
}

int ListView::selectItem(int index)
{
    QListWidgetItem* item = itemAt(index);
    if (!item)
        return -1;
    setCurrentItem(item);
    item->setSelected(true);
    return 1;
}

bool ListView::editLabel(int index)
{
    QListWidgetItem* item = itemAt(index);
    if (!item)
        return false;
    setCurrentItem(item);
    editItem(item);
    return editing_.isValid();
}

bool ListView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool started = QListWidget::edit(index, trigger, event);
    if (started) {
        editing_ = index;
        labelBeforeEdit_ = index.data(Qt::DisplayRole).toString();
    }
    return started;
}

void ListView::commitData(QWidget* editor)
{
    const QPersistentModelIndex edited = editing_;
    editing_ = QPersistentModelIndex();
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!edited.isValid() || !line) {
        QListWidget::commitData(editor);
        return;
    }
    // The list keeps the typed text; the handler may put the old one back.
    pendingEdits_.append({edited, line->text(), labelBeforeEdit_});
    QListWidget::commitData(editor);
    // Qt is still closing the editor here. The handler writes to the database
    // and may show a modal box, whose event loop would let Qt delete the
    // editor before it is done with it: the edit's end is reported once Qt
    // has finished (or earlier, by the owner, before it refills the list).
    QMetaObject::invokeMethod(this, &ListView::deliverPendingEdits, Qt::QueuedConnection);
}

void ListView::deliverPendingEdits()
{
    while (!pendingEdits_.isEmpty()) {
        const PendingEdit edit = pendingEdits_.takeFirst();
        if (!edit.index.isValid())
            continue;  // the item is gone
        labelBeforeEdit_ = edit.before;
        Q_EMIT endLabelEdit(edit.index.row() + 1, edit.typed);
    }
}

int ListView::indexAtPoint(const QPoint& pos) const
{
    const QModelIndex index = indexAt(pos);
    return index.isValid() ? index.row() + 1 : 0;
}

void ListView::mouseReleaseEvent(QMouseEvent* event)
{
    const int index = indexAtPoint(event->position().toPoint());
    const Qt::MouseButton button = event->button();
    QListWidget::mouseReleaseEvent(event);
    if (afterDoubleClick_) {
        afterDoubleClick_ = false;
        return;
    }
    if (button == Qt::LeftButton)
        Q_EMIT clickedAt(index);
    else if (button == Qt::RightButton)
        Q_EMIT rightClickedAt(index);
}

void ListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int index = indexAtPoint(event->position().toPoint());
    const Qt::MouseButton button = event->button();
    QListWidget::mouseDoubleClickEvent(event);
    afterDoubleClick_ = true;
    if (button == Qt::LeftButton)
        Q_EMIT doubleClickedAt(index);
}

void ListView::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_Delete) {
        event->accept();
        Q_EMIT deleteKeyPressed();
        return;
    }
    if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_F2) {
        event->accept();
        Q_EMIT renameKeyPressed();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void ListView::focusOutEvent(QFocusEvent* event)
{
    QListWidget::focusOutEvent(event);
    // A popup menu does not take the focus away from the list.
    if (event->reason() != Qt::PopupFocusReason && !QApplication::activePopupWidget())
        Q_EMIT loseFocus();
}

}  // namespace common
