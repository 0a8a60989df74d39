#include "platform/form_view.h"

#include "platform/column_editor.h"
#include "platform/datastore.h"
#include "platform/dropdown.h"

#include <QAbstractItemDelegate>
#include <QComboBox>
#include <QDataWidgetMapper>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace platform {

// How the mapper fills a field: with the column's editor rules (a drop-down
// shows its display text). It never writes: typed text reaches the store
// through FormView::commit and the store's checks.
class FormView::FieldDelegate : public QAbstractItemDelegate {
public:
    explicit FieldDelegate(FormView& form) : QAbstractItemDelegate(&form), form_(form) {}
    void paint(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const override {}
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {}; }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        form_.loadField(editor, index.column(), form_.reloading_);
    }
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

private:
    FormView& form_;
};

FormView::FormView(DataStore& store, DropDownSet& dropDowns, QWidget* parent)
    : QWidget(parent), store_(store), dropDowns_(dropDowns), mapper_(new QDataWidgetMapper(this))
{
    mapper_->setModel(&store_);
    mapper_->setItemDelegate(new FieldDelegate(*this));
    mapper_->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    build();
    connect(&store_, &QAbstractItemModel::modelReset, this, &FormView::refresh);
    connect(&store_, &QAbstractItemModel::rowsInserted, this, &FormView::refresh);
    connect(&store_, &QAbstractItemModel::rowsRemoved, this, &FormView::refresh);
    connect(&store_, &DataStore::currentRowChanged, this, &FormView::refresh);
    connect(&store_, &DataStore::statusChanged, this, &FormView::refresh);
    // The mapper fills the fields again on the row's dataChanged.
    // (the other fields keep typed text); the column set is shown as stored.
    connect(&store_, &DataStore::itemSet, this, [this](long row, const QString& column) {
        const Definition* def = store_.definition();
        if (!def || row != shownRow())
            return;
        const int c = def->columnIndex(column);
        loadField(fields_.value(c), c, true);
        refreshLocks();
    });
    connect(&dropDowns_, &DropDownSet::changed, this, &FormView::refresh);
}

bool FormView::takesInput(const ColumnDefinition& column) const
{
    return !column.displayOnly && column.tabOrder > 0;
}

long FormView::shownRow() const
{
    const long row = store_.getRow();
    if (row >= 1 && row <= store_.rowCount())
        return row;
    return store_.rowCount() > 0 ? 1 : 0;
}

void FormView::build()
{
    const Definition* def = store_.definition();
    if (!def)
        return;
    // Fields with a tab stop take the places of such fields in column order,
    // sorted by their tab order; the others keep their places.
    QList<int> order;
    QList<int> tabbed;
    for (int c = 0; c < def->columns.size(); ++c) {
        order << c;
        if (takesInput(def->columns.at(c)))
            tabbed << c;
    }
    QList<int> sorted = tabbed;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [def](int a, int b) { return def->columns.at(a).tabOrder < def->columns.at(b).tabOrder; });
    for (int i = 0, k = 0; i < order.size(); ++i)
        if (takesInput(def->columns.at(order.at(i))))
            order[i] = sorted.at(k++);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setColumnStretch(1, 1);
    int line = 0;
    for (int c : order) {
        const ColumnDefinition& column = def->columns.at(c);
        if (!column.visible)
            continue;
        QWidget* field;
        if (takesInput(column)) {
            field = createColumnEditor(this, column, dropDowns_.at(c));
        } else {
            // Shown, never typed into: a read-only line on the system background.
            auto* edit = new QLineEdit(this);
            edit->setReadOnly(true);
            edit->setFocusPolicy(Qt::NoFocus);
            edit->setProperty("showsDisplayText", true);
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::Window));
            edit->setPalette(palette);
            field = edit;
        }
        field->setObjectName(column.name);
        auto* label = new QLabel(column.label, this);
        label->setTextFormat(Qt::PlainText);
        label->setObjectName(QStringLiteral("%1_t").arg(column.name));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(field);
        layout->addWidget(label, line, 0);
        layout->addWidget(field, line, 1);
        ++line;
        fields_.insert(c, field);
        mapper_->addMapping(field, c);
        field->installEventFilter(this);

        if (auto* edit = qobject_cast<QLineEdit*>(field); edit && takesInput(column)) {
            connect(edit, &QLineEdit::textChanged, this, [this, c](const QString& text) {
                if (loading_)
                    return;
                typed_.insert(c);
                Q_EMIT textEdited(shownRow(), c, text);
            });
            connect(edit, &QLineEdit::editingFinished, this, [this, c] { commit(c); });
        } else if (auto* combo = qobject_cast<QComboBox*>(field)) {
            connect(combo, &QComboBox::activated, this, [this, c] { commit(c); });
        }
    }
    layout->setRowStretch(line, 1);

    QWidget* previous = nullptr;
    for (int c : sorted) {
        QWidget* field = fields_.value(c);
        if (!field)
            continue;
        if (previous)
            setTabOrder(previous, field);
        if (!previous)
            setFocusProxy(field);
        previous = field;
    }
    refresh();
}

void FormView::refresh()
{
    const long row = shownRow();
    reloading_ = true;
    if (row < 1) {
        // No row to map: the fields are emptied.
        for (auto it = fields_.cbegin(); it != fields_.cend(); ++it)
            loadField(it.value(), it.key(), true);
    } else if (mapper_->currentIndex() != int(row - 1)) {
        mapper_->setCurrentIndex(int(row - 1));
    } else {
        mapper_->revert();  // the same row, read again
    }
    reloading_ = false;
    refreshLocks();
}

void FormView::loadField(QWidget* field, int column, bool force)
{
    const Definition* def = store_.definition();
    if (!def || !field || column < 0 || column >= def->columns.size())
        return;
    if (!force && typed_.contains(column))
        return;
    typed_.remove(column);
    const ColumnDefinition& col = def->columns.at(column);
    const long row = shownRow();
    loading_ = true;
    setEditorValue(field, col, dropDowns_.at(column), row > 0 ? store_.getItem(row, col.name) : QVariant());
    loading_ = false;
}

void FormView::refreshLocks()
{
    const Definition* def = store_.definition();
    const long row = shownRow();
    for (auto it = fields_.cbegin(); def && it != fields_.cend(); ++it) {
        const ColumnDefinition& col = def->columns.at(it.key());
        if (!takesInput(col))
            continue;
        const bool locked = row > 0 && store_.isProtected(row, col.name);
        if (auto* edit = qobject_cast<QLineEdit*>(it.value()))
            edit->setReadOnly(locked);
        else
            it.value()->setEnabled(!locked);
    }
}

int FormView::commit(int column)
{
    const Definition* def = store_.definition();
    QWidget* field = fields_.value(column);
    const long row = shownRow();
    if (!def || !field || row < 1 || !takesInput(def->columns.at(column)))
        return 1;
    const ColumnDefinition& col = def->columns.at(column);
    bool chosen = false;
    const QVariant value = editorValue(field, col, dropDowns_.at(column), &chosen);
    if (!chosen)
        return 1;
    const QVariant before = store_.getItem(row, col.name);
    if ((before.isNull() && value.toString().isEmpty()) || (!before.isNull() && before.toString() == value.toString())) {
        typed_.remove(column);  // nothing to take: the field shows what is stored
        return 1;
    }
    if (store_.setItem(row, col.name, value) != 1)
        return -1;  // refused: the typed text stays
    Q_EMIT valueAccepted(row, column, value.toString());
    return 1;
}

int FormView::acceptText()
{
    int result = 1;
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it)
        if (commit(it.key()) != 1)
            result = -1;
    return result;
}

void FormView::focusColumn(int column)
{
    if (QWidget* field = fields_.value(column)) {
        field->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();
    }
}

bool FormView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const Definition* def = store_.definition();
        for (auto it = fields_.cbegin(); def && it != fields_.cend(); ++it)
            if (it.value() == watched)
                store_.setColumn(def->columns.at(it.key()).name);
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace platform
