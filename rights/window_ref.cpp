#include "rights/window_ref.h"

#include "host/window.h"
#include "rights/menu_item.h"

#include <QVariant>

namespace rights {

bool QtWindowRef::isOpen() const
{
    if (!window_)
        return false;
    // A host window closes before Qt deletes it: the reference is dead from
    // the moment its close was accepted.
    if (auto* window = qobject_cast<host::Window*>(window_.data()))
        return !window->isClosed();
    return true;
}

QString QtWindowRef::tag() const
{
    if (!window_)
        return {};
    return window_->property(kTagProperty).toString();
}

}  // namespace rights
