#include "host/filter.h"

#include "host/transaction.h"

namespace host {

int f_filter(FilterableView& view, const QString& expression)
{
    view.setTransObject(sqlca);
    if (view.setFilter(expression) != 1)
        return -1;
    if (view.retrieve() < 0)
        return -1;
    return view.filter();
}

}  // namespace host
