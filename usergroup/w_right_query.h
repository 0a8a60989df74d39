#pragma once
// 权限查询: who can do what, and why. For an operator: every module item the
// operator's groups hold a row for, with the effective level and the groups
// that grant it; for a module item: every operator holding a row for it.
// Reads only: level 1 on the window's tag is enough.

#include "usergroup/export.h"

#include "host/w_father.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace rights {
struct Grant;
}

namespace usergroup {

class WMS_USERGROUP_EXPORT w_right_query : public host::w_father {
    Q_OBJECT
public:
    explicit w_right_query(QWidget* parent = nullptr);

    // The parameter, when given, is an operator id to show at once.
    void openEvent(const QString& parameter) override;

    // Shows the rights of an operator, or the holders of an item.
    void showOperator(const QString& id);
    void showItem(const QString& code);
    // Runs the query the controls describe (cb_query).
    void query();
    // The rows shown, as CSV with a header line (UTF-8 with a byte order mark
    // when written to a file).
    QString csv() const;
    bool exportCsv(const QString& path) const;

    QRadioButton* rb_operator = nullptr;
    QRadioButton* rb_item = nullptr;
    QLineEdit* sle_subject = nullptr;
    QComboBox* ddlb_level = nullptr;
    QPushButton* cb_query = nullptr;
    QPushButton* cb_export = nullptr;
    QPushButton* cb_close = nullptr;
    QTableWidget* dw_result = nullptr;

private:
    // The grants that pass the level filter, under `headers`.
    void showGrants(const QList<rights::Grant>& grants, const QStringList& headers);
    void fill(const QStringList& headers, const QList<QStringList>& rows);
};

}  // namespace usergroup
