#include "platform/column_editor.h"

#include "platform/dropdown.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>

namespace platform {

void DropDownCombo::showPopup()
{
    if (view() && widthPercent != 100)
        view()->setMinimumWidth(width() * widthPercent / 100);
    QComboBox::showPopup();
    auto* table = qobject_cast<QTableView*>(view());
    if (!table)
        return;
    // A list of several columns is never narrower than its texts: no column
    // is clipped when the list opens.
    const QFontMetrics metrics(table->font());
    constexpr int kCellMargin = 16;
    int wanted = 2 * table->frameWidth() + table->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < table->model()->columnCount(); ++c) {
        if (table->isColumnHidden(c))
            continue;
        int column = table->horizontalHeader()->sectionSizeHint(c);
        for (int r = 0; r < table->model()->rowCount(); ++r)
            column = std::max(column, metrics.horizontalAdvance(table->model()->index(r, c).data().toString()) +
                                          kCellMargin);
        table->setColumnWidth(c, column);
        wanted += column;
    }
    if (QWidget* popup = table->window(); popup != window() && table->width() < wanted)
        popup->resize(popup->width() + wanted - table->width(), popup->height());
}

QString displayText(const ColumnDefinition& column, const DropDown* list, const QVariant& value)
{
    if (value.isNull())
        return {};
    const QString text = value.toString();
    if (column.edit == EditStyle::CodeTable) {
        for (const CodeTableEntry& entry : column.codeTable)
            if (entry.value == text)
                return entry.text;
        return text;
    }
    if (column.edit != EditStyle::CodeTable && list)
        return list->displayFor(value);
    return text;
}

QWidget* createColumnEditor(QWidget* parent, const ColumnDefinition& column, DropDown* list)
{
    if (column.edit == EditStyle::CodeTable) {
        auto* combo = new QComboBox(parent);
        for (const CodeTableEntry& entry : column.codeTable)
            combo->addItem(entry.text, entry.value);
        combo->setCurrentIndex(-1);
        return combo;
    }
    if (column.edit != EditStyle::CodeTable && list && list->isValid()) {
        auto* combo = new DropDownCombo(parent);
        combo->widthPercent = list->spec().widthPercent;
        const Definition* def = list->store().definition();
        int visible = 0;
        for (const ColumnDefinition& c : def->columns)
            visible += c.visible ? 1 : 0;
        if (visible > 1) {
            // A list of several columns shows them all, under their labels.
            auto* table = new QTableView(combo);
            table->setSelectionBehavior(QAbstractItemView::SelectRows);
            table->verticalHeader()->hide();
            table->horizontalHeader()->setStretchLastSection(true);
            table->setEditTriggers(QAbstractItemView::NoEditTriggers);
            combo->setView(table);
        }
        combo->setModel(list->model());
        combo->setModelColumn(qMax(0, list->displayColumn()));
        if (auto* table = qobject_cast<QTableView*>(combo->view()))
            for (int c = 0; c < def->columns.size(); ++c)
                table->setColumnHidden(c, !def->columns.at(c).visible);
        combo->setCurrentIndex(-1);
        return combo;
    }
    auto* edit = new QLineEdit(parent);
    if (column.maxLength > 0)
        edit->setMaxLength(column.maxLength);
    return edit;
}

void setEditorValue(QWidget* editor, const ColumnDefinition& column, const DropDown* list, const QVariant& value)
{
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        const QString text = editor->property("showsDisplayText").toBool() ? displayText(column, list, value)
                                                                           : (value.isNull() ? QString() : value.toString());
        if (edit->text() != text)
            edit->setText(text);
        return;
    }
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo)
        return;
    int index = -1;
    if (column.edit == EditStyle::CodeTable)
        index = value.isNull() ? -1 : combo->findData(value.toString());
    else if (list)
        index = list->rowOf(value);
    if (combo->currentIndex() != index)
        combo->setCurrentIndex(index);
}

QVariant editorValue(QWidget* editor, const ColumnDefinition& column, const DropDown* list, bool* chosen)
{
    *chosen = true;
    if (auto* edit = qobject_cast<QLineEdit*>(editor))
        return edit->text();
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo || combo->currentIndex() < 0) {
        *chosen = false;
        return {};
    }
    if (column.edit == EditStyle::CodeTable)
        return combo->currentData();
    return list ? list->valueAt(combo->currentIndex()) : QVariant();
}

}  // namespace platform
