#pragma once
// The host's splitter bar between a tree on its left and a list on its right.
// Dragging it moves the border: the tree's width follows the bar and the list
// starts right of it.

#include "host/export.h"

#include <QFrame>
#include <QPointer>

namespace host {

class WMS_HOST_EXPORT uo_dialogbar : public QFrame {
    Q_OBJECT
public:
    explicit uo_dialogbar(QWidget* parent = nullptr);

    // Joins `left` and `right`. With `keepRightEdge` the list keeps its right
    // edge while its left edge follows the bar (it grows or shrinks); without,
    // it moves whole.
    void init(QWidget* left, QWidget* right, bool keepRightEdge);
    // Moves the bar to x (pixels in the parent) and lays out both sides.
    void moveBorder(int x);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointer<QWidget> left_;
    QPointer<QWidget> right_;
    bool keepRightEdge_ = true;
    int grabOffset_ = -1;
};

}  // namespace host
