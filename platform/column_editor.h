#pragma once
// The editor of one column, shared by grid cells and form fields: a line
// edit that stops at the column's maximum length, a combo box of a code
// table's texts, or a combo box over a drop-down list showing its display
// column (and every visible column of the list when it has several).

#include "platform/definition.h"

#include <QComboBox>
#include <QVariant>

namespace platform {

class DropDown;

// A combo box whose list can be wider than the field.
class DropDownCombo : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    int widthPercent = 100;
    void showPopup() override;
};

// What the operator sees of a stored value.
QString displayText(const ColumnDefinition& column, const DropDown* list, const QVariant& value);

QWidget* createColumnEditor(QWidget* parent, const ColumnDefinition& column, DropDown* list);
void setEditorValue(QWidget* editor, const ColumnDefinition& column, const DropDown* list, const QVariant& value);
// The value the editor holds; `chosen` is false when a combo box has no entry
// chosen (the stored value is then left alone).
QVariant editorValue(QWidget* editor, const ColumnDefinition& column, const DropDown* list, bool* chosen);

}  // namespace platform
