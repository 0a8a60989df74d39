#include "rightsetup/w_right_module_list.h"

#include "common/fonts.h"
#include "common/levels.h"
#include "host/messages.h"
#include "host/transaction.h"
#include "host/units.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "rightsetup/pictures.h"
#include "rightsetup/w_right_right_setup.h"
#include "rightsetup/window_names.h"

#include <QIcon>
#include <QListWidget>
#include <QPushButton>

namespace rightsetup {

namespace {

QPushButton* button(QWidget* parent, const QString& name, const QString& text, int x, int y)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    host::placeUnits(b, x, y, 343, 84);
    b->raise();
    return b;
}

}  // namespace

w_right_module_list::w_right_module_list(QWidget* parent) : host::w_listview_father(parent)
{
    setWindowTitle(QStringLiteral("选择模块"));
    setFont(common::songti(9));
    // No minimize or maximize box, not resizable; the width is the ancestor's.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setFixedSize(width(), host::unitsToPixelsY(1468));

    host::placeUnits(lv_1, host::pixelsToUnitsX(lv_1->x()), host::pixelsToUnitsY(lv_1->y()),
                     host::pixelsToUnitsX(lv_1->width()), 1116);
    // One line per item: check box, picture, "code  name", never wrapped.
    lv_1->setViewMode(QListView::ListMode);
    lv_1->setFlow(QListView::TopToBottom);
    lv_1->setWrapping(false);
    lv_1->setWordWrap(false);
    lv_1->setTextElideMode(Qt::ElideRight);
    lv_1->setUniformItemSizes(true);
    lv_1->setIconSize(QSize(16, 16));
    pictures_[0] = QIcon(stockPicture(QStringLiteral("CreateIndex!")));
    pictures_[1] = QIcon(stockPicture(QStringLiteral("Library!")));

    cb_ok = button(this, QStringLiteral("cb_ok"), QStringLiteral("确定"), 1477, 1160);
    cb_ok->setProperty("tag", QStringLiteral("2"));
    cb_cancel = button(this, QStringLiteral("cb_cancel"), QStringLiteral("取消"), 1851, 1160);
    // Enter confirms, Esc cancels.
    setDefaultButton(cb_ok);
    setCancelButton(cb_cancel);
    setTabOrder(lv_1, cb_ok);
    setTabOrder(cb_ok, cb_cancel);

    connect(cb_ok, &QPushButton::clicked, this, &w_right_module_list::cb_ok_clicked);
    connect(cb_cancel, &QPushButton::clicked, this, &QWidget::close);
}

void w_right_module_list::openEvent(const QString& parameter)
{
    host::w_listview_father::openEvent(parameter);
    is_group_code = parameter;
    cb_ok->setEnabled(common::canModify(this));

    host::Cursor items(host::sqlca,
                       QStringLiteral("select m_item_code , name from s_moudle_item where m_item_code not in "
                                      "( select m_item_code from s_group_power where group_id = ? )"));
    int status = items.open({is_group_code});
    QVariantList row;
    while (status == host::Transaction::kSuccess && (status = items.fetch(row)) == host::Transaction::kSuccess)
        addEntry(row.value(1).toString(), row.value(0).toString());
    items.close();
    // An empty list must mean that every item is granted, not that the read failed.
    if (status == host::Transaction::kError)
        host::databaseErrorBox(host::sqlca.sqlerrtext);
}

void w_right_module_list::addEntry(const QString& name, const QString& code)
{
    // Picture 1 for a code that begins with a lower-case "m", 2 otherwise.
    const int picture = code.startsWith(QLatin1Char('m')) ? 1 : 2;
    auto* item = new QListWidgetItem(pictures_[picture - 1], code + QStringLiteral("  ") + name, lv_1);
    item->setData(kDataRole, code);
    item->setData(kPictureRole, picture);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
}

void w_right_module_list::cb_ok_clicked()
{
    if (!common::ensureCanModify(this))
        return;
    auto* editor = host::WindowRegistry::instanceOf<w_right_right_setup>(kRightRightSetup);
    const int count = lv_1->count();
    for (int i = 0; editor && i < count; ++i) {
        const QListWidgetItem* item = lv_1->item(i);
        if (item->checkState() != Qt::Checked)
            continue;
        editor->ib_canexit = false;
        editor->cb_save->setEnabled(true);
        const long row = editor->dw_1->insertRow(0);
        editor->dw_1->setItem(row, QStringLiteral("group_id"), is_group_code);
        editor->dw_1->setItem(row, QStringLiteral("m_item_code"), item->data(kDataRole).toString());
    }
    close();
}

void w_right_module_list::lv_1RightClicked(int) {}

}  // namespace rightsetup
