#include "common/popup_menu.h"

namespace common {

PopupMenu::PopupMenu(const QString& text, const QString& topName, const QString& topText,
                     QWidget* parent)
    : QMenu(text, parent), top_(new QMenu(topText, this))
{
    top_->setObjectName(topName);
    top_->menuAction()->setObjectName(topName);
    addMenu(top_);
}

QAction* PopupMenu::addCommand(const QString& name, const QString& text, const QString& microHelp)
{
    QAction* action = top_->addAction(text);
    action->setObjectName(name);
    if (!microHelp.isEmpty())
        action->setStatusTip(microHelp);
    return action;
}

QAction* PopupMenu::addSeparatorItem(const QString& name)
{
    QAction* action = top_->addSeparator();
    action->setObjectName(name);
    return action;
}

QAction* PopupMenu::command(const QString& name) const
{
    for (QAction* action : top_->actions()) {
        if (action->objectName() == name)
            return action;
    }
    return nullptr;
}

QList<QAction*> PopupMenu::commands() const
{
    return top_->actions();
}

void PopupMenu::applyRoles(const MenuRoles& roles, bool entityList, bool hit)
{
    for (QAction* action : top_->actions()) {
        const QString name = action->objectName();
        bool visible = false;
        bool enabled = true;
        if (roles.anywhere.contains(name)) {
            visible = true;
        } else if (entityList) {
            if (name == roles.entityAdd) {
                visible = true;
            } else if (roles.entityCommands.contains(name) || roles.rootOnly.contains(name)) {
                visible = true;
                enabled = hit;
            }
        } else {
            if (name == roles.memberAdd) {
                visible = true;
            } else if (roles.memberCommands.contains(name)) {
                visible = true;
                enabled = hit;
            }
        }
        action->setVisible(visible);
        action->setEnabled(enabled);
    }
}

}  // namespace common
