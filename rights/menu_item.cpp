#include "rights/menu_item.h"

#include <QAction>
#include <QMenu>
#include <QVariant>

namespace rights {

void setTag(QAction* action, const QString& tag)
{
    action->setProperty(kTagProperty, tag);
}

void setTag(QMenu* menu, const QString& tag)
{
    setTag(menu->menuAction(), tag);
}

QtMenuItem::QtMenuItem(QAction* action) : action_(action) {}

QtMenuItem::QtMenuItem(QWidget* menu) : widget_(menu) {}

QAction* QtMenuItem::ownAction() const
{
    if (action_)
        return action_;
    if (auto* menu = qobject_cast<QMenu*>(widget_.data()))
        return menu->menuAction();
    return nullptr;
}

QWidget* QtMenuItem::container() const
{
    if (action_)
        return action_->menu<QMenu*>();
    return widget_;
}

QString QtMenuItem::tag() const
{
    if (QAction* action = ownAction())
        return action->property(kTagProperty).toString();
    if (widget_)
        return widget_->property(kTagProperty).toString();
    return {};
}

bool QtMenuItem::isVisible() const
{
    if (QAction* action = ownAction())
        return action->isVisible();
    return widget_ && !widget_->isHidden();
}

bool QtMenuItem::isEnabled() const
{
    if (QAction* action = ownAction())
        return action->isEnabled();
    return widget_ && widget_->isEnabled();
}

void QtMenuItem::setEnabled(bool enabled)
{
    if (QAction* action = ownAction())
        action->setEnabled(enabled);
    else if (widget_)
        widget_->setEnabled(enabled);
}

int QtMenuItem::subItemCount() const
{
    QWidget* menu = container();
    return menu ? int(menu->actions().size()) : 0;
}

std::unique_ptr<MenuItem> QtMenuItem::subItem(int index) const
{
    QWidget* menu = container();
    if (!menu)
        return nullptr;
    const QList<QAction*> actions = menu->actions();
    if (index < 0 || index >= actions.size())
        return nullptr;
    return std::make_unique<QtMenuItem>(actions.at(index));
}

}  // namespace rights
