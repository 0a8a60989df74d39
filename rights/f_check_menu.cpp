#include "rights/f_check_menu.h"

#include "host/functions.h"
#include "host/transaction.h"
#include "rights/admin.h"
#include "rights/lookup.h"
#include "rights/menu_item.h"

#include <QMenu>
#include <QMenuBar>

namespace rights {

namespace {

// Enables the leaves under `menu_item`; the reason of the first lookup that
// failed is kept in `failure`.
void checkItems(MenuItem& menu_item, QString& failure)
{
    const int count = menu_item.subItemCount();
    for (int i = 0; i < count; ++i) {
        const std::unique_ptr<MenuItem> item = menu_item.subItem(i);
        if (!item)
            continue;
        if (item->subItemCount() > 0) {
            checkItems(*item, failure);
            continue;
        }
        const QString tag = item->tag();
        if (tag.isNull())
            continue;
        const QString code = host::trimBlanks(tag);
        if (code.isEmpty() || !item->isVisible())
            continue;
        const Level level = lookupLevel(host::gs_user_id, code);
        if (!level.ok && failure.isEmpty())
            failure = host::sqlca.sqlerrtext;
        bool enabled = level.ok && !level.value.isNull() && level.value > QLatin1String("0");
        if (isAdminExact(host::gs_user_id))
            enabled = true;
        item->setEnabled(enabled);
    }
}

}  // namespace

void f_check_menu(MenuItem& menu_item)
{
    // One consistent state of the rights for the whole walk, and one lock
    // instead of one per lookup; inside a write transaction the walk reads
    // what that transaction sees, as every statement does. Nothing is kept
    // after the walk.
    const bool ownRead = host::sqlca.beginRead();
    QString failure;
    checkItems(menu_item, failure);
    if (ownRead)
        host::sqlca.endRead();
    // A lookup that failed left its item disabled; sqlca tells the host why,
    // whatever the lookups after it did.
    if (!failure.isEmpty())
        host::sqlca.recordError(failure);
}

void f_check_menu(QMenu* menu_item)
{
    if (!menu_item)
        return;
    QtMenuItem item(menu_item);
    f_check_menu(item);
}

void f_check_menu(QMenuBar* menu_item)
{
    if (!menu_item)
        return;
    QtMenuItem item(menu_item);
    f_check_menu(item);
}

}  // namespace rights
