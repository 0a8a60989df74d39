#pragma once
// The definition of a data view: a named SQL query with its presentation
// (grid, form or drop-down list), its columns and how it is written back.
// Definitions are registered once by name (schema/ registers the module's
// sixteen) and looked up by the data views that use them.

#include "platform/export.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace platform {

enum class Style { Grid, Form, List };

enum class EditStyle {
    Edit,       // plain text
    CodeTable,  // a choice of display texts, each standing for a stored value
    DropDown,   // a drop-down list fed by another data view
};

struct WMS_PLATFORM_EXPORT CodeTableEntry {
    QString text;   // what the operator sees
    QString value;  // what is stored
};

struct WMS_PLATFORM_EXPORT DropDownSpec {
    QString dataObject;     // the drop-down data view ("dddw_...")
    QString displayColumn;  // column of the drop-down shown in the field
    QString dataColumn;     // column of the drop-down stored in the field
    int widthPercent = 100; // width of the list relative to the field
};

class DataStore;

struct WMS_PLATFORM_EXPORT ColumnDefinition {
    QString name;          // name in the data view ("user_code", "name")
    QString selectName;    // expression in the select ("s_user.id"); empty = name
    QString updateName;    // column of the update table; empty = not written
    int maxLength = 0;     // characters accepted; 0 = no limit
    QString label;         // header of a grid, caption of a form field
    EditStyle edit = EditStyle::Edit;
    QList<CodeTableEntry> codeTable;
    DropDownSpec dropDown;
    bool displayOnly = false;  // no input, no tab stop, drawn on the system background
    int tabOrder = 0;          // 0 = no tab stop
    QString protect;           // protect expression, e.g. "if (isrownew(), 0, 1)"; 1 = protected
    // Cell background for a row (1-based) and whether it is the current row;
    // an invalid colour keeps the default.
    std::function<QColor(const DataStore&, long row, bool current)> background;
    bool visible = true;       // false: read and written, but not shown (a drop-down's stored code)
};

struct WMS_PLATFORM_EXPORT Definition {
    QString name;
    Style style = Style::Grid;
    // The select. Table names that the owner may qualify are written as
    // "{owner}s_group": the placeholder becomes "dbo." when the transaction's
    // tableOwner is "dbo", and nothing when it is empty. Retrieval arguments
    // are `?` placeholders bound in the order of `arguments`.
    QString select;
    QStringList arguments;
    QList<ColumnDefinition> columns;
    QString updateTable;      // empty: not updatable
    QStringList keyColumns;   // data view column names of the update key
    bool ownerQualified = false;

    int columnIndex(const QString& column) const;  // 0-based, -1 when unknown
};

// The registry of definitions.
// Registering a name again replaces its definition for the data views that
// load it afterwards; views already loaded keep the one they have.
WMS_PLATFORM_EXPORT void registerDefinition(const Definition& definition);
WMS_PLATFORM_EXPORT const Definition* findDefinition(const QString& name);
WMS_PLATFORM_EXPORT std::shared_ptr<const Definition> sharedDefinition(const QString& name);

}  // namespace platform
