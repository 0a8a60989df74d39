#pragma once
// A window as f_button_right sees it: whether the reference still denotes an
// open window, and its tag (a module item code). QtWindowRef adapts a Qt
// window held through a QPointer: once the window is closed (a host::Window)
// or deleted, it is no longer open. The tag is the dynamic property "tag".

#include "rights/export.h"

#include <QPointer>
#include <QString>

#include <QWidget>

namespace rights {

class WMS_RIGHTS_EXPORT WindowRef {
public:
    virtual ~WindowRef() = default;
    virtual bool isOpen() const = 0;
    // The tag, as stored (untrimmed); null when the window carries none.
    virtual QString tag() const = 0;
};

class WMS_RIGHTS_EXPORT QtWindowRef : public WindowRef {
public:
    explicit QtWindowRef(QWidget* window) : window_(window) {}
    explicit QtWindowRef(const QPointer<QWidget>& window) : window_(window) {}

    bool isOpen() const override;
    QString tag() const override;

private:
    QPointer<QWidget> window_;
};

}  // namespace rights
