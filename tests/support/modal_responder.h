#pragma once
// Answers a real modal dialog (exec()) or popup menu opened by the code under
// test: armed before the blocking call, it polls for the new modal widget,
// runs the handler on it and closes it if the handler left it open, so that a
// broken test fails instead of hanging.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace testing_support {

class ModalResponder : public QObject {
public:
    using Handler = std::function<void(QWidget*)>;
    // Waits at most `timeoutMs` for the modal widget to appear.
    explicit ModalResponder(Handler handler, int timeoutMs = 5000);
    ~ModalResponder() override;

    bool handled() const { return handled_; }

private:
    void poll();

    Handler handler_;
    QTimer timer_;
    int remainingMs_;
    bool handled_ = false;
    QPointer<QWidget> before_;
};

}  // namespace testing_support
