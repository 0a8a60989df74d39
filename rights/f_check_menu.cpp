#include "rights/f_check_menu.h"

#include "host/functions.h"
#include "rights/admin.h"
#include "rights/lookup.h"
#include "rights/menu_item.h"

#include <QMenu>
#include <QMenuBar>

namespace rights {

void f_check_menu(MenuItem& menu_item)
{
    const int count = menu_item.subItemCount();
    for (int i = 0; i < count; ++i) {
        const std::unique_ptr<MenuItem> item = menu_item.subItem(i);
        if (!item)
            continue;
        if (item->subItemCount() > 0) {
            f_check_menu(*item);
            continue;
        }
        const QString tag = item->tag();
        if (tag.isNull())
            continue;
        const QString code = host::trimBlanks(tag);
        if (code.isEmpty() || !item->isVisible())
            continue;
        const Level level = lookupLevel(host::gs_user_id, code);
        bool enabled = level.ok && !level.value.isNull() && level.value > QLatin1String("0");
        if (isAdminExact(host::gs_user_id))
            enabled = true;
        item->setEnabled(enabled);
    }
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
