#include "department/employee_series.h"

#include "common/dialog_support.h"
#include "common/fonts.h"
#include "common/levels.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/units.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStringList>
#include <QScreen>

namespace department {

namespace {
const QString kTitle = QStringLiteral("提示");
// Prefix and suffix leave two characters of s_employee.id for the number.
constexpr int kMaxFixedLength = 8;
}  // namespace

QString seriesCode(const QString& head, long n, const QString& end)
{
    const QString number = n < 10 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
    return head + number + end;
}

EmployeeSeriesWindow::EmployeeSeriesWindow(const QString& caption, const QString& buttonName,
                                           const QString& buttonText, QWidget* parent)
    : host::Window(parent)
{
    // A response window with title bar and control menu.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(caption);
    setFont(common::songti(10));
    setFixedSize(host::unitsSize(1225, 604));
    setBackgroundRole(QPalette::Button);

    st_1_ = staticText(QStringLiteral("st_1"), QStringLiteral("编号前缀："), 55, 80, 329);
    em_3_ = editMask(QStringLiteral("em_3"), false, 357, 60);
    st_2_ = staticText(QStringLiteral("st_2"), QStringLiteral("后缀："), 667, 80, 183);
    em_4_ = editMask(QStringLiteral("em_4"), false, 850, 60);
    st_3_ = staticText(QStringLiteral("st_3"), QStringLiteral("变化位起："), 55, 188, 306);
    em_1_ = editMask(QStringLiteral("em_1"), true, 357, 168);
    st_4_ = staticText(QStringLiteral("st_4"), QStringLiteral("至："), 667, 188, 119);
    em_2_ = editMask(QStringLiteral("em_2"), true, 850, 168);

    // Neither button answers Enter or Esc.
    start_ = common::commandButton(this, buttonName, buttonText, 379, 352, 343, 84, 10);
    cb_cancel_ = common::commandButton(this, QStringLiteral("cb_cancel"), QStringLiteral("取消"), 741, 352, 343, 84, 10);

    setTabOrder(em_3_, em_4_);
    setTabOrder(em_4_, em_1_);
    setTabOrder(em_1_, em_2_);
    setTabOrder(em_2_, start_);
    setTabOrder(start_, cb_cancel_);

    connect(start_, &QPushButton::clicked, this, &EmployeeSeriesWindow::run);
    connect(cb_cancel_, &QPushButton::clicked, this, &QWidget::close);
}

QLineEdit* EmployeeSeriesWindow::editMask(const QString& name, bool numeric, int x, int y)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setFrame(true);
    if (numeric) {
        // The mask "#0": at most two digits.
        edit->setMaxLength(2);
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), edit));
    }
    host::placeUnits(edit, x, y, 224, 84);
    return edit;
}

QLabel* EmployeeSeriesWindow::staticText(const QString& name, const QString& text, int x, int y, int width)
{
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(name);
    label->setForegroundRole(QPalette::WindowText);
    host::placeUnits(label, x, y, width, 64);
    return label;
}

void EmployeeSeriesWindow::openEvent(const QString& parameter)
{
    host::Window::openEvent(parameter);
    is_dept = stringParm();
    start_->setEnabled(common::canModify(this));
    setWindowIcon(QApplication::windowIcon());
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void EmployeeSeriesWindow::run()
{
    if (!common::ensureCanModify(this))
        return;
    const QString head = host::trimBlanks(em_3_->text());
    const QString end = host::trimBlanks(em_4_->text());
    const QString begin = host::trimBlanks(em_1_->text());
    const QString stop = host::trimBlanks(em_2_->text());
    if (head.size() + end.size() > kMaxFixedLength) {
        host::MessageBox(kTitle, QStringLiteral("编号前缀+后缀字符总长度不能超过8位."));
        em_3_->setFocus();
        return;
    }
    // An empty or non-numeric text counts as 0.
    const long first = begin.toLong();
    const long last = stop.toLong();
    if (first > last) {
        host::MessageBox(kTitle, QStringLiteral("变化位部分开始不能大于结束."));
        em_1_->setFocus();
        return;
    }
    long done = 0;
    QStringList failures;
    for (long n = first; n <= last; ++n) {
        const QString code = seriesCode(head, n, end);
        const CodeResult result = processCode(code);
        if (result.done)
            ++done;
        else if (!result.failure.isEmpty())
            failures << code + QStringLiteral(": ") + result.failure;
    }
    QString report = QStringLiteral("操作完成.\n") + doneText(done);
    if (!failures.isEmpty())
        report += QStringLiteral("\n以下%1个编号未能处理:\n").arg(failures.size()) + failures.join(QLatin1Char('\n'));
    host::MessageBox(kTitle, report);
}

}  // namespace department
