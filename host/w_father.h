#pragma once
// The host's ancestor of the manager windows, the rights editor and the
// single-record dialogs. Its open, resize, key and help handling run before
// the window's own: derived windows override the hooks and call these first.

#include "host/export.h"

#include "host/window.h"

namespace host {

class WMS_HOST_EXPORT w_father : public Window {
    Q_OBJECT
public:
    explicit w_father(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;
    // The window's new client size, in layout units.
    virtual void resizeWindow(int newWidth, int newHeight);
    // A key that reached the window; F1 always does.
    virtual void keyEvent(int key, Qt::KeyboardModifiers modifiers);
    // The windowing layer's help request (Shift+F1), at a point in layout units.
    virtual void helpEvent(int xpos, int ypos);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace host
