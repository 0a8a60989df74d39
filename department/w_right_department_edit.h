#pragma once
// The edit department dialog: shows the department whose code is the open
// parameter and saves changes to its name and remark.

#include "department/export.h"

#include "common/record_dialog.h"

namespace department {

class WMS_DEPARTMENT_EXPORT w_right_department_edit : public common::RecordDialog {
    Q_OBJECT
public:
    explicit w_right_department_edit(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;
    void cb1Clicked() override;

protected:
    void readRecord() override;
};

}  // namespace department
