#pragma once
// A message service for tests: records every box (title, text, icon, buttons)
// and answers from a script. A box without a scripted answer fails the test
// and gets its default button.

#include "host/messages.h"

#include <QList>
#include <deque>
#include <functional>

namespace testing_support {

struct ShownBox {
    QString title;
    QString text;
    host::Icon icon;
    host::Buttons buttons;
    host::Answer defaultButton;
};

class ScriptedMessages : public host::MessageService {
public:
    ScriptedMessages();
    ~ScriptedMessages() override;

    // The answer to the next box; answers are used in order.
    void answer(host::Answer answer) { script_.push_back(answer); }
    // Boxes that only show a notice (OK) need no script; allow them.
    void allowNotices(bool allow = true) { allowNotices_ = allow; }

    host::Answer show(const host::MessageBoxRequest& request) override;

    const QList<ShownBox>& shown() const { return shown_; }
    QStringList texts() const;
    QStringList titles() const;
    void clear() { shown_.clear(); }
    bool scriptUsedUp() const { return script_.empty(); }

private:
    std::deque<host::Answer> script_;
    QList<ShownBox> shown_;
    bool allowNotices_ = true;
};

// Runs `action` when the first box whose text starts with `prefix` is shown
// (another client's step between a window's question and its write), then
// hands the box on to the service that was current before.
class ActionAtBox : public host::MessageService {
public:
    ActionAtBox(QString prefix, std::function<void()> action);
    ~ActionAtBox() override;
    host::Answer show(const host::MessageBoxRequest& request) override;
    bool ran() const { return !action_; }

private:
    host::MessageService* before_;
    QString prefix_;
    std::function<void()> action_;
};

}  // namespace testing_support
