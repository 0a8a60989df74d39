#pragma once
// The main window's centre: every module item with the logged-in operator's
// level on it, read afresh on each refresh.

#include <QWidget>

class QLabel;
class QTableWidget;

namespace app {

class RightsOverview : public QWidget {
    Q_OBJECT
public:
    explicit RightsOverview(QWidget* parent = nullptr);
    void refresh();
    QTableWidget* table() const { return dw_rights; }

private:
    QLabel* st_title;
    QTableWidget* dw_rights;
};

}  // namespace app
