#include "host/messages.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace host {

namespace {

MessageService* installed = nullptr;

QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::StopSign: return QMessageBox::Critical;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toQt(Answer answer)
{
    switch (answer) {
    case Answer::Ok: return QMessageBox::Ok;
    case Answer::Cancel: return QMessageBox::Cancel;
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
    case Answer::Retry: return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons toQt(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Answer fromQt(int button, Buttons buttons)
{
    switch (button) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: break;
    }
    // Closed without a button: the answer that changes nothing.
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    default: return Answer::Cancel;
    }
}

// Room in a title bar beside the title: icon, buttons and margins (pixels).
constexpr int kTitleBarExtra = 160;

}  // namespace

int titleBarWidth(const QString& title, const QFont& font)
{
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarExtra;
}

void widenForTitle(QMessageBox& box)
{
    // QMessageBox sizes itself to its text when shown; a spacer across the
    // bottom of its grid is the width it keeps at the least.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const int width = titleBarWidth(box.windowTitle(), QApplication::font("QMdiSubWindowTitleBar"));
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

Answer QtMessageService::show(const MessageBoxRequest& request)
{
    QMessageBox box(toQt(request.icon), request.title, request.text, toQt(request.buttons),
                    QApplication::activeWindow());
    // Names and reasons come from the database: shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(toQt(request.defaultButton));
    widenForTitle(box);
    return fromQt(box.exec(), request.buttons);
}

MessageService& messageService()
{
    static QtMessageService qtService;
    return installed ? *installed : qtService;
}

void setMessageService(MessageService* service)
{
    installed = service;
}

Answer MessageBox(const QString& title, const QString& text, Icon icon, Buttons buttons,
                  Answer defaultButton)
{
    return messageService().show({title, text, icon, buttons, defaultButton});
}

void f_box(const QString& text)
{
    MessageBox(QStringLiteral("提示"), text, Icon::Information, Buttons::Ok);
}

void databaseErrorBox(const QString& reason)
{
    MessageBox(QStringLiteral("数据库错误"), QStringLiteral("错误原因: ") + reason, Icon::StopSign);
}

bool askReadAgain(const QString& failure, const QString& reason)
{
    QStringList lines;
    if (!failure.isEmpty())
        lines << failure;
    lines << reason << QStringLiteral("是否重新读取?");
    return MessageBox(QStringLiteral("提示"), lines.join(QLatin1Char('\n')), Icon::Exclamation, Buttons::YesNo,
                      Answer::Yes)
           == Answer::Yes;
}

}  // namespace host
