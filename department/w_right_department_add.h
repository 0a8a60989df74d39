#pragma once
// The add department dialog: stores one department after another into
// s_dept and adds each to the open manager's tree and list.

#include "department/export.h"

#include "common/record_dialog.h"

namespace department {

class WMS_DEPARTMENT_EXPORT w_right_department_add : public common::RecordDialog {
    Q_OBJECT
public:
    explicit w_right_department_add(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;
    void cb1Clicked() override;

protected:
    void recordAdded(const QString& id, const QString& name) override;
};

}  // namespace department
