#pragma once
// A data view shown as a form: the current row, a label beside each field,
// the fields in the data view's tab order. Display-only fields (and fields
// without a tab stop) take no input, are skipped by Tab and are drawn on the
// system background. Typed text reaches the store when the field is left,
// Return is pressed or the window accepts the text; a choice from a list
// reaches it at once.
//
// The fields are bound to the store (the model of its rows) through a
// QDataWidgetMapper on the shown row: a changed value, a reset or a new
// current row fills them again. What the operator types goes through the
// store's own checks (setItem), so that a refused value keeps its text.

#include "platform/export.h"

#include <QHash>
#include <QSet>
#include <QWidget>

class QDataWidgetMapper;

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
    // Fills a field from the shown row (empty when the store has no row);
    // text typed and not yet taken by the store stays unless `force`.
    void loadField(QWidget* field, int column, bool force);
    // Fields protected on the shown row take no input.
    void refreshLocks();
    class FieldDelegate;
    int commit(int column);
    bool takesInput(const ColumnDefinition& column) const;

    DataStore& store_;
    DropDownSet& dropDowns_;
    QHash<int, QWidget*> fields_;
    QDataWidgetMapper* mapper_;
    // Columns whose field holds typed text the store has not taken yet: a
    // change of another column of the row does not wipe it.
    QSet<int> typed_;
    bool reloading_ = false;
    bool loading_ = false;
};

}  // namespace platform
