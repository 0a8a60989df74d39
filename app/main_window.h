#pragma once
// The demo host's main frame: the warehouse application's menus, gated by
// f_check_menu for the logged-in operator, and an overview of that
// operator's rights.

#include "host/w_main.h"

class QLabel;

namespace app {

class RightsOverview;

class MainWindow : public host::w_main {
    Q_OBJECT
public:
    // `database` is shown in the status bar.
    explicit MainWindow(const QString& database, QWidget* parent = nullptr);

    RightsOverview* overview() const { return overview_; }

    // 切换操作员: closes every window, however it was opened, logs another
    // operator in and checks the menus and the overview for that operator;
    // false when a window stayed open (the switch stops there) or the login
    // was cancelled (the same operator goes on, without the closed windows).
    bool switchOperator();

Q_SIGNALS:
    void closed();

protected:
    // Closes every window first, each asked; stays open when one does.
    void closeEvent(QCloseEvent* event) override;
    // Coming back to the frame (from a manager window, say) reads the rights again.
    bool event(QEvent* event) override;

private:
    void showOperator();
    void showHelp(const QString& topic);
    void about();

    RightsOverview* overview_;
    QLabel* user_;
};

}  // namespace app
