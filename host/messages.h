#pragma once
// The platform message box behind one replaceable service: every box of the
// module goes through MessageBox() (or f_box), so that tests can script the
// answers and read back every box shown.

#include "host/export.h"

#include <QString>

class QFont;
class QMessageBox;
class QWidget;

namespace host {

enum class Icon { None, Information, StopSign, Exclamation, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Answer { Ok, Cancel, Yes, No, Retry };

struct WMS_HOST_EXPORT MessageBoxRequest {
    QString title;
    QString text;
    Icon icon = Icon::Information;
    Buttons buttons = Buttons::Ok;
    Answer defaultButton = Answer::Ok;
};

class WMS_HOST_EXPORT MessageService {
public:
    virtual ~MessageService() = default;
    virtual Answer show(const MessageBoxRequest& request) = 0;
};

// The service in force; a Qt message box unless a test installed its own.
WMS_HOST_EXPORT MessageService& messageService();
// Installs `service` (not owned); nullptr restores the Qt message box.
WMS_HOST_EXPORT void setMessageService(MessageService* service);

// The platform's MessageBox(title, text, icon, buttons, default).
WMS_HOST_EXPORT Answer MessageBox(const QString& title, const QString& text, Icon icon = Icon::Information,
                  Buttons buttons = Buttons::Ok, Answer defaultButton = Answer::Ok);

// Shows a one-line notice to the operator (title "提示", OK button).
WMS_HOST_EXPORT void f_box(const QString& text);

// The "数据库错误" box: "错误原因: " and the database's text.
WMS_HOST_EXPORT void databaseErrorBox(const QString& reason);

// After an operation refused because another client changed or deleted a row
// it was writing (Transaction::changedMeanwhile()): the window's own failure
// message when it has one (else nothing), then `reason`, then "是否重新读取?".
// True when the operator answers 是, the default.
WMS_HOST_EXPORT bool askReadAgain(const QString& failure, const QString& reason);

// Makes a box at least as wide as its title needs, with room for the title
// bar's icon and buttons, so that a short text does not cut the title.
WMS_HOST_EXPORT void widenForTitle(QMessageBox& box);
// The width widenForTitle gives a box at the least.
WMS_HOST_EXPORT int titleBarWidth(const QString& title, const QFont& font);

// The message box shown by the Qt service on screen.
class WMS_HOST_EXPORT QtMessageService : public MessageService {
public:
    Answer show(const MessageBoxRequest& request) override;
};

}  // namespace host
