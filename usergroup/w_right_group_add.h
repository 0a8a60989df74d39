#pragma once
// The add group dialog: stores one group after another into s_group and adds
// each to the open manager's tree and list.

#include "usergroup/export.h"

#include "common/record_dialog.h"

namespace usergroup {

class WMS_USERGROUP_EXPORT w_right_group_add : public common::RecordDialog {
    Q_OBJECT
public:
    explicit w_right_group_add(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;
    void cb1Clicked() override;

protected:
    void recordAdded(const QString& id, const QString& name) override;
};

}  // namespace usergroup
