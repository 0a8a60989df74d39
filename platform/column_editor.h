#pragma once
// The editor of one column, shared by grid cells and form fields: a line
// edit that stops at the column's maximum length, a combo box of a code
// table's texts, or a combo box over a drop-down list showing its display
// column (and every visible column of the list when it has several).

#include "platform/export.h"

#include "platform/definition.h"

#include <QComboBox>
#include <QVariant>

namespace platform {

class DropDown;

// A combo box whose list can be wider than the field.
class WMS_PLATFORM_EXPORT DropDownCombo : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    int widthPercent = 100;
    void showPopup() override;
};

// What the operator sees of a stored value.
WMS_PLATFORM_EXPORT QString displayText(const ColumnDefinition& column, const DropDown* list, const QVariant& value);

WMS_PLATFORM_EXPORT QWidget* createColumnEditor(QWidget* parent, const ColumnDefinition& column, DropDown* list);
WMS_PLATFORM_EXPORT void setEditorValue(QWidget* editor, const ColumnDefinition& column, const DropDown* list, const QVariant& value);
// The value the editor holds; `chosen` is false when a combo box has no entry
// chosen (the stored value is then left alone).
WMS_PLATFORM_EXPORT QVariant editorValue(QWidget* editor, const ColumnDefinition& column, const DropDown* list, bool* chosen);

}  // namespace platform
