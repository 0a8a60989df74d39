#pragma once
// The batch delete dialog: deletes the employees of a numbered series from
// one department, after one confirmation naming the series and how many of
// them are operators; an operator's account and memberships go with the
// employee. Employees of other departments stay. Each deletion is committed
// on its own.
//
// The deletions name what the question was asked on: an employee of the
// series another client changed, deleted, added or made an operator since is
// not deleted unseen. Found before the first deletion, nothing is deleted and
// the operator may read again (the question is asked anew); found during the
// run, that employee is left and named with the reason.

#include "department/export.h"

#include "department/employee_series.h"

#include <QMap>
#include <QVariant>

namespace department {

class WMS_DEPARTMENT_EXPORT w_right_employee_batchdel : public EmployeeSeriesWindow {
    Q_OBJECT
public:
    explicit w_right_employee_batchdel(QWidget* parent = nullptr);

    QPushButton* cb_del() const { return startButton(); }

    // An employee of the series as read for the question.
    struct Shown {
        QVariant name;
        QVariant status;
        bool isOperator = false;
        bool operator==(const Shown&) const = default;
    };

protected:
    CodeResult processCode(const QString& code) override;
    QString doneText(long done) const override;
    bool runQuestion(const QStringList& codes, QString* question) override;
    RunCheck checkBeforeRun(const QStringList& codes) override;

private:
    // The department's employees of the series, by code; false when the
    // read failed (sqlca tells why).
    bool readSeries(const QStringList& codes, QMap<QString, Shown>* shown) const;

    QMap<QString, Shown> shown_;
};

}  // namespace department
