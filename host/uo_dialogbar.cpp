#include "host/uo_dialogbar.h"

#include <QMouseEvent>

namespace host {

namespace {
constexpr int kBarWidth = 6;
constexpr int kMinimumSide = 40;
}  // namespace

uo_dialogbar::uo_dialogbar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("uo_1"));
    setCursor(Qt::SplitHCursor);
    setFrameShape(QFrame::NoFrame);
    resize(kBarWidth, 100);
}

void uo_dialogbar::init(QWidget* left, QWidget* right, bool keepRightEdge)
{
    left_ = left;
    right_ = right;
    keepRightEdge_ = keepRightEdge;
    if (left_)
        moveBorder(left_->geometry().right() + 1);
}

void uo_dialogbar::moveBorder(int x)
{
    if (!left_ || !right_)
        return;
    const int rightEdge = right_->geometry().right();
    const int minX = left_->x() + kMinimumSide;
    const int maxX = keepRightEdge_ ? rightEdge - kMinimumSide - kBarWidth : x;
    x = std::clamp(x, minX, std::max(minX, maxX));
    left_->resize(x - left_->x(), left_->height());
    setGeometry(x, left_->y(), kBarWidth, left_->height());
    const int listX = x + kBarWidth;
    if (keepRightEdge_)
        right_->setGeometry(listX, right_->y(), rightEdge - listX + 1, right_->height());
    else
        right_->move(listX, right_->y());
    raise();
}

void uo_dialogbar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        grabOffset_ = event->position().toPoint().x();
}

void uo_dialogbar::mouseMoveEvent(QMouseEvent* event)
{
    if (grabOffset_ < 0)
        return;
    const QPoint inParent = mapToParent(event->position().toPoint());
    moveBorder(inParent.x() - grabOffset_);
}

void uo_dialogbar::mouseReleaseEvent(QMouseEvent*)
{
    grabOffset_ = -1;
}

}  // namespace host
