#include "tests/support/modal_responder.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace testing_support {

ModalResponder::ModalResponder(Handler handler, int timeoutMs)
    : handler_(std::move(handler)), remainingMs_(timeoutMs)
{
    before_ = QApplication::activeModalWidget();
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start();
}

ModalResponder::~ModalResponder()
{
    timer_.stop();
}

void ModalResponder::poll()
{
    remainingMs_ -= 10;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        modal = QApplication::activePopupWidget();
    if (modal && modal != before_) {
        timer_.stop();
        handled_ = true;
        QPointer<QWidget> guard = modal;
        handler_(modal);
        if (guard && guard->isVisible())
            guard->close();
        return;
    }
    if (remainingMs_ <= 0) {
        timer_.stop();
        ADD_FAILURE() << "no modal window appeared";
    }
}

}  // namespace testing_support
