#include "host/w_listview_father.h"

#include "host/units.h"

#include <QListWidget>

namespace host {

w_listview_father::w_listview_father(QWidget* parent) : w_father(parent)
{
    resize(unitsSize(2290, 1300));
    lv_1 = new QListWidget(this);
    lv_1->setObjectName(QStringLiteral("lv_1"));
    lv_1->setViewMode(QListView::IconMode);
    lv_1->setResizeMode(QListView::Adjust);
    lv_1->setMovement(QListView::Static);
    lv_1->setIconSize(QSize(32, 32));
    lv_1->setWordWrap(true);
    lv_1->setFrameShadow(QFrame::Sunken);
    lv_1->setContextMenuPolicy(Qt::CustomContextMenu);
    placeUnits(lv_1, 18, 16, 2240, 1100);
    connect(lv_1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QListWidgetItem* item = lv_1->itemAt(at);
        lv_1RightClicked(item ? lv_1->row(item) + 1 : 0);
    });
}

void w_listview_father::openEvent(const QString& parameter)
{
    w_father::openEvent(parameter);
    lv_1->clear();
}

void w_listview_father::lv_1RightClicked(int) {}

}  // namespace host
