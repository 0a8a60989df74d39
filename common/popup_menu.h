#pragma once
// A manager window's popup menu: a menu object with exactly one top-level
// item whose submenu is what pops up. Commands are QActions named after
// their menu items; every command starts visible and enabled. The frame
// shows and enables them by their roles before it pops the submenu up.

#include "common/export.h"

#include "common/frame_parameters.h"

#include <QMenu>

namespace common {

class WMS_COMMON_EXPORT PopupMenu : public QMenu {
    Q_OBJECT
public:
    // `text` is the menu object's own text (never shown); the top item gets
    // `topName` as objectName and `topText` as its caption.
    PopupMenu(const QString& text, const QString& topName, const QString& topText,
              QWidget* parent = nullptr);

    // The submenu of the single top-level item: what pops up.
    QMenu* topItem() const { return top_; }
    // A command of the top item by its objectName, or null.
    QAction* command(const QString& name) const;
    QList<QAction*> commands() const;

    // Sets visibility and enabled state for a right click: `entityList` is
    // true while the list shows entities (root current), `hit` when an item
    // was under the pointer.
    void applyRoles(const MenuRoles& roles, bool entityList, bool hit);

protected:
    // Appends a command to the top item.
    QAction* addCommand(const QString& name, const QString& text, const QString& microHelp = {});
    QAction* addSeparatorItem(const QString& name);

private:
    QMenu* top_;
};

}  // namespace common
