#pragma once
// A window of the demo warehouse application (入库登记, 库存查询, ...): its tag
// is its module item code, and its buttons are enabled from f_button_right.
// Each button carries in its tag the level it needs: "1" to query, "2" to
// change data; buttons without a tag are always enabled.

#include "host/window.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace app {

class DemoWindow : public host::Window {
    Q_OBJECT
public:
    DemoWindow(const QString& code, const QString& title, QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;

    // Reads the logged-in operator's level again and enables the buttons.
    void applyRights();
    int level() const { return level_; }

private:
    QPushButton* addButton(const char* name, const QString& text, const QString& needs);

    QLabel* st_level;
    QTableWidget* dw_1;
    int level_ = 0;
};

// Enables each tagged button of `window` whose needed level is at most `level`.
void enableButtons(QWidget* window, int level);

}  // namespace app
