#pragma once
// A data view shown as a form: the current row, a label beside each field,
// the fields in the data view's tab order. Display-only fields (and fields
// without a tab stop) take no input, are skipped by Tab and are drawn on the
// system background. Typed text reaches the store when the field is left,
// Return is pressed or the window accepts the text; a choice from a list
// reaches it at once.

#include "platform/export.h"

#include <QHash>
#include <QWidget>

namespace platform {

class DataStore;
class DropDownSet;
struct ColumnDefinition;

class WMS_PLATFORM_EXPORT FormView : public QWidget {
    Q_OBJECT
public:
    FormView(DataStore& store, DropDownSet& dropDowns, QWidget* parent = nullptr);

    // The field of a column (0-based), or null.
    QWidget* field(int column) const { return fields_.value(column); }
    // Moves the typed text of every field into the row: 1, or -1 when the
    // store refused a value (the field keeps the text).
    int acceptText();
    // Puts the caret into a column's field.
    void focusColumn(int column);
    // The row shown: the store's current row, or 1 when it has none.
    long shownRow() const;

Q_SIGNALS:
    void textEdited(long row, int column, const QString& text);
    void valueAccepted(long row, int column, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void refresh();
    void refreshColumn(int column);
    int commit(int column);
    bool takesInput(const ColumnDefinition& column) const;

    DataStore& store_;
    DropDownSet& dropDowns_;
    QHash<int, QWidget*> fields_;
    bool loading_ = false;
};

}  // namespace platform
