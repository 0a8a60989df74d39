#include "rights/f_check_menu.h"

#include "host/functions.h"
#include "host/transaction.h"
#include "rights/admin.h"
#include "rights/lookup.h"
#include "rights/menu_item.h"

#include <QMenu>
#include <QMenuBar>
#include <memory>
#include <vector>

namespace rights {

namespace {

struct Leaf {
    std::unique_ptr<MenuItem> item;
    QString code;
};

// The visible tagged leaves under `menu_item`, depth first, with their codes.
void collectLeaves(MenuItem& menu_item, std::vector<Leaf>& leaves)
{
    const int count = menu_item.subItemCount();
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<MenuItem> item = menu_item.subItem(i);
        if (!item)
            continue;
        if (item->subItemCount() > 0) {
            collectLeaves(*item, leaves);
            continue;
        }
        const QString tag = item->tag();
        if (tag.isNull())
            continue;
        QString code = host::trimBlanks(tag);
        if (code.isEmpty() || !item->isVisible())
            continue;
        leaves.push_back({std::move(item), std::move(code)});
    }
}

}  // namespace

void f_check_menu(MenuItem& menu_item)
{
    std::vector<Leaf> leaves;
    collectLeaves(menu_item, leaves);
    if (leaves.empty())
        return;
    QStringList codes;
    for (const Leaf& leaf : leaves)
        if (!codes.contains(leaf.code))
            codes << leaf.code;
    // One read for the whole walk (a round trip to the server, not one per
    // leaf), in one consistent state of the rights; inside a write
    // transaction it reads what that transaction sees, as every statement
    // does. Nothing is kept after the walk.
    const bool ownRead = host::sqlca.beginRead();
    QHash<QString, QString> levels;
    const bool ok = lookupLevels(host::gs_user_id, codes, &levels);
    const QString failure = ok ? QString() : host::sqlca.sqlerrtext;
    if (ownRead)
        host::sqlca.endRead();
    const bool admin = isAdminExact(host::gs_user_id);
    for (const Leaf& leaf : leaves) {
        // A code no group holds a row for has no level, like a null one.
        const QString level = ok ? levels.value(leaf.code) : QString();
        leaf.item->setEnabled(admin || (!level.isNull() && level > QLatin1String("0")));
    }
    // A failed read left every leaf disabled (but admin's); sqlca tells the
    // host why.
    if (!ok)
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
