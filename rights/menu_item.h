#pragma once
// A menu as f_check_menu sees it: items with a tag (a module item code, or
// none), visible and enabled flags, and ordered sub-items. QtMenuItem adapts
// Qt menus: the tag is the dynamic property "tag" of the QAction (of a
// sub-menu, its menuAction()).

#include "rights/export.h"

#include <QPointer>
#include <QString>
#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace rights {

class WMS_RIGHTS_EXPORT MenuItem {
public:
    virtual ~MenuItem() = default;
    // The tag; null when the item carries none.
    virtual QString tag() const = 0;
    virtual bool isVisible() const = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual int subItemCount() const = 0;
    // The sub-item at `index` (0-based, in menu order); null when out of range.
    virtual std::unique_ptr<MenuItem> subItem(int index) const = 0;
};

// The name of the dynamic property that carries a menu item's or window's tag.
inline constexpr char kTagProperty[] = "tag";

WMS_RIGHTS_EXPORT void setTag(QAction* action, const QString& tag);
WMS_RIGHTS_EXPORT void setTag(QMenu* menu, const QString& tag);

class WMS_RIGHTS_EXPORT QtMenuItem : public MenuItem {
public:
    // One entry of a menu; its sub-items are the entries of its sub-menu.
    explicit QtMenuItem(QAction* action);
    // A whole menu (QMenu) or menu bar (QMenuBar): its entries are the sub-items.
    explicit QtMenuItem(QWidget* menu);

    QString tag() const override;
    bool isVisible() const override;
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;
    int subItemCount() const override;
    std::unique_ptr<MenuItem> subItem(int index) const override;

private:
    QWidget* container() const;
    QAction* ownAction() const;

    QPointer<QAction> action_;
    QPointer<QWidget> widget_;
};

}  // namespace rights
