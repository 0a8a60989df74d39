#pragma once
// The select group dialog: lists every group but the source group (the open
// parameter) and closes with the chosen group's id, or the empty string.

#include "usergroup/export.h"

#include "host/window.h"

class QPushButton;

namespace platform {
class DataWindow;
}

namespace usergroup {

class WMS_USERGROUP_EXPORT w_right_select_group : public host::Window {
    Q_OBJECT
public:
    explicit w_right_select_group(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;

    platform::DataWindow* dw_1() const { return dw_1_; }
    QPushButton* cb_ok() const { return cb_ok_; }
    QPushButton* cb_cancel() const { return cb_cancel_; }

    void cbOkClicked();

private:
    void rowFocusChanged(long row);

    platform::DataWindow* dw_1_;
    QPushButton* cb_ok_;
    QPushButton* cb_cancel_;
};

}  // namespace usergroup
