#include "rights/f_button_right.h"

#include "host/functions.h"
#include "rights/admin.h"
#include "rights/lookup.h"
#include "rights/window_ref.h"

namespace rights {

int f_button_right(const WindowRef& vs_win)
{
    if (isAdminAnyCase(host::gs_user_id))
        return 2;
    if (!vs_win.isOpen())
        return 0;
    return levelNumber(lookupLevel(host::gs_user_id, vs_win.tag()).value);
}

int f_button_right(const QPointer<QWidget>& vs_win)
{
    return f_button_right(QtWindowRef(vs_win));
}

int f_button_right(QWidget* vs_win)
{
    return f_button_right(QtWindowRef(vs_win));
}

}  // namespace rights
