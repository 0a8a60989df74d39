#include "tests/support/scripted_messages.h"

#include <utility>

#include <gtest/gtest.h>

namespace testing_support {

ScriptedMessages::ScriptedMessages()
{
    host::setMessageService(this);
}

ScriptedMessages::~ScriptedMessages()
{
    host::setMessageService(nullptr);
    EXPECT_TRUE(script_.empty()) << script_.size() << " scripted answer(s) were never asked for";
}

host::Answer ScriptedMessages::show(const host::MessageBoxRequest& request)
{
    shown_.append({request.title, request.text, request.icon, request.buttons, request.defaultButton});
    if (!script_.empty()) {
        const host::Answer next = script_.front();
        script_.pop_front();
        return next;
    }
    if (!(allowNotices_ && request.buttons == host::Buttons::Ok))
        ADD_FAILURE() << "unexpected question: " << request.title.toStdString() << " / "
                      << request.text.toStdString();
    return request.defaultButton;
}

QStringList ScriptedMessages::texts() const
{
    QStringList list;
    for (const ShownBox& box : shown_)
        list << box.text;
    return list;
}

QStringList ScriptedMessages::titles() const
{
    QStringList list;
    for (const ShownBox& box : shown_)
        list << box.title;
    return list;
}

ActionAtBox::ActionAtBox(QString prefix, std::function<void()> action)
    : before_(&host::messageService()), prefix_(std::move(prefix)), action_(std::move(action))
{
    host::setMessageService(this);
}

ActionAtBox::~ActionAtBox()
{
    host::setMessageService(before_);
}

host::Answer ActionAtBox::show(const host::MessageBoxRequest& request)
{
    if (action_ && request.text.startsWith(prefix_))
        std::exchange(action_, nullptr)();
    return before_->show(request);
}

}  // namespace testing_support
