#pragma once
// The host's ancestor of list dialogs: it supplies the list view lv_1 (large
// icons, laid out on open) and its open handling.

#include "host/export.h"

#include "host/w_father.h"

class QListWidget;

namespace host {

class WMS_HOST_EXPORT w_listview_father : public w_father {
    Q_OBJECT
public:
    explicit w_listview_father(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;

    QListWidget* lv_1 = nullptr;

protected:
    // Right click in lv_1 at the 1-based index of the item under the pointer
    // (less than 1 beside the items). The ancestor does nothing.
    virtual void lv_1RightClicked(int index);
};

}  // namespace host
