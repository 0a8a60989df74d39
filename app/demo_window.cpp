#include "app/demo_window.h"

#include "host/functions.h"
#include "host/messages.h"
#include "rights/f_button_right.h"
#include "rights/menu_item.h"
#include "schema/tables.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace app {

void enableButtons(QWidget* window, int level)
{
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        const QString needs = button->property(rights::kTagProperty).toString();
        if (!needs.isEmpty())
            button->setEnabled(level >= needs.toInt());
    }
}

DemoWindow::DemoWindow(const QString& code, const QString& title, QWidget* parent) : host::Window(parent)
{
    setTag(code);
    setWindowTitle(title);
    resize(560, 300);

    st_level = new QLabel(this);
    st_level->setObjectName(QStringLiteral("st_level"));
    st_level->setTextFormat(Qt::PlainText);

    dw_1 = new QTableWidget(4, 4, this);
    dw_1->setObjectName(QStringLiteral("dw_1"));
    dw_1->setHorizontalHeaderLabels({QStringLiteral("单号"), QStringLiteral("货品"), QStringLiteral("数量"),
                                     QStringLiteral("库位")});
    const char* rows[][4] = {{"R0001", "托盘 1200x1000", "40", "A-01-01"},
                             {"R0002", "纸箱 60x40", "320", "A-02-03"},
                             {"R0003", "缠绕膜", "25", "B-01-02"},
                             {"R0004", "标签纸", "1000", "C-03-01"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            dw_1->setItem(r, c, new QTableWidgetItem(QString::fromUtf8(rows[r][c])));
    dw_1->horizontalHeader()->setStretchLastSection(true);
    dw_1->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* buttons = new QHBoxLayout;
    QPushButton* query = addButton("cb_query", QStringLiteral("查询"), QStringLiteral("1"));
    QPushButton* add = addButton("cb_add", QStringLiteral("新增"), QStringLiteral("2"));
    QPushButton* modify = addButton("cb_modify", QStringLiteral("修改"), QStringLiteral("2"));
    QPushButton* remove = addButton("cb_delete", QStringLiteral("删除"), QStringLiteral("2"));
    QPushButton* save = addButton("cb_save", QStringLiteral("保存"), QStringLiteral("2"));
    QPushButton* close = addButton("cb_close", QStringLiteral("关闭"), QString());
    for (QPushButton* button : {query, add, modify, remove, save})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(close);
    setCancelButton(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(st_level);
    layout->addWidget(dw_1);
    layout->addLayout(buttons);

    for (QPushButton* button : {query, add, modify, remove, save}) {
        connect(button, &QPushButton::clicked, this,
                [this, text = button->text()] { host::f_box(QStringLiteral("演示: %1 (%2)").arg(text, windowTitle())); });
    }
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

QPushButton* DemoWindow::addButton(const char* name, const QString& text, const QString& needs)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    if (!needs.isNull())
        button->setProperty(rights::kTagProperty, needs);
    return button;
}

void DemoWindow::openEvent(const QString& parameter)
{
    host::Window::openEvent(parameter);
    applyRights();
}

void DemoWindow::applyRights()
{
    level_ = rights::f_button_right(this);
    enableButtons(this, level_);
    const QString text = schema::displayText(schema::rightLevels(), QString::number(level_));
    st_level->setText(QStringLiteral("模块 %1, 操作员 %2 在本窗口的权限: %3 (%4)")
                          .arg(tag(), host::gs_user_id, text)
                          .arg(level_));
}

}  // namespace app
