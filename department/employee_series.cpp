#include "department/employee_series.h"

#include "common/dialog_support.h"
#include "common/fonts.h"
#include "common/levels.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/transaction.h"
#include "host/units.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStringList>

namespace department {

namespace {
const QString kTitle = QStringLiteral("提示");
// A run of more codes than this shows its progress dialog at once.
constexpr long kProgressAtOnce = 20;
// Prefix and suffix leave two characters of s_employee.id for the number.
constexpr int kMaxFixedLength = 8;
}  // namespace

QString seriesCode(const QString& head, long n, const QString& end)
{
    const QString number = n < 10 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
    return head + number + end;
}

QString boundedList(const QStringList& items, const QString& separator)
{
    if (items.size() <= kReportedCodes)
        return items.join(separator);
    // A list of lines ends with a line of its own.
    const QString rest = separator.contains(QLatin1Char('\n')) ? separator : QString();
    return items.first(kReportedCodes).join(separator) + rest + QStringLiteral("…等%1个").arg(items.size());
}

EmployeeSeriesWindow::EmployeeSeriesWindow(const QString& caption, const QString& buttonName,
                                           const QString& buttonText, QWidget* parent)
    : host::Window(parent), caption_(caption)
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

    st_preview_ = staticText(QStringLiteral("st_preview"), QString(), 55, 272, 1115);

    start_ = common::commandButton(this, buttonName, buttonText, 379, 352, 343, 84, 10);
    cb_cancel_ = common::commandButton(this, QStringLiteral("cb_cancel"), QStringLiteral("取消"), 741, 352, 343, 84, 10);
    // Enter starts the run, Esc closes the dialog.
    setDefaultButton(start_);
    setCancelButton(cb_cancel_);
    for (QLineEdit* edit : {em_1_, em_2_, em_3_, em_4_})
        connect(edit, &QLineEdit::textChanged, this, &EmployeeSeriesWindow::updatePreview);

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
    // The title names the department the series belongs to.
    const QVariant name =
        host::sqlca.selectValue(QStringLiteral("select dept_name from s_dept where dept_id = ?"), {is_dept});
    setWindowTitle(caption_ + QStringLiteral(" - ") + is_dept +
                   (name.isNull() ? QString() : QStringLiteral(" ") + host::trimBlanks(name.toString())));
    start_->setEnabled(common::canModify(this));
    updatePreview();
    setWindowIcon(QApplication::windowIcon());
}

bool EmployeeSeriesWindow::readSeries(Series* series, QString* reason, QLineEdit** field) const
{
    series->head = host::trimBlanks(em_3_->text());
    series->end = host::trimBlanks(em_4_->text());
    if (series->head.size() + series->end.size() > kMaxFixedLength) {
        *reason = QStringLiteral("编号前缀+后缀字符总长度不能超过8位.");
        *field = em_3_;
        return false;
    }
    // An empty or non-numeric text counts as 0.
    series->first = host::trimBlanks(em_1_->text()).toLong();
    series->last = host::trimBlanks(em_2_->text()).toLong();
    if (series->first > series->last) {
        *reason = QStringLiteral("变化位部分开始不能大于结束.");
        *field = em_1_;
        return false;
    }
    return true;
}

QString EmployeeSeriesWindow::seriesText(const Series& series) const
{
    return QStringLiteral("编号：") + seriesCode(series.head, series.first, series.end) + QStringLiteral(" 至 ") +
           seriesCode(series.head, series.last, series.end) +
           QStringLiteral(", 共 %1 个").arg(series.last - series.first + 1);
}

void EmployeeSeriesWindow::updatePreview()
{
    Series series;
    QString reason;
    QLineEdit* field = nullptr;
    st_preview_->setText(readSeries(&series, &reason, &field) ? seriesText(series) : reason);
}

void EmployeeSeriesWindow::run()
{
    if (!common::ensureCanModify(this))
        return;
    Series series;
    QString reason;
    QLineEdit* field = nullptr;
    if (!readSeries(&series, &reason, &field)) {
        host::MessageBox(kTitle, reason);
        field->setFocus();
        return;
    }
    QStringList codes;
    for (long n = series.first; n <= series.last; ++n)
        codes << seriesCode(series.head, n, series.end);
    for (RunCheck check = RunCheck::Again; check != RunCheck::Go;) {
        QString question;
        if (!runQuestion(codes, &question))
            return;
        if (!question.isEmpty()) {
            // The series is named right after the question's first line.
            QStringList lines = question.split(QLatin1Char('\n'));
            lines.insert(1, seriesText(series));
            if (host::MessageBox(kTitle, lines.join(QLatin1Char('\n')), host::Icon::Question, host::Buttons::YesNo,
                                 host::Answer::No) != host::Answer::Yes)
                return;
        }
        check = checkBeforeRun(codes);
        if (check == RunCheck::Stop)
            return;
    }

    const long total = series.last - series.first + 1;
    QProgressDialog progress(QString(), QStringLiteral("取消"), 0, static_cast<int>(total), this);
    progress.setObjectName(QStringLiteral("progress"));
    // The codes are typed by the operator: shown as they are, never as markup.
    auto* label = new QLabel(&progress);
    label->setObjectName(QStringLiteral("st_progress"));
    label->setTextFormat(Qt::PlainText);
    progress.setLabel(label);
    progress.setLabelText(caption_ + QStringLiteral("...") + QStringLiteral("\n") + seriesText(series));
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(total > kProgressAtOnce ? 0 : 1000);
    progress.setValue(0);
    if (total > kProgressAtOnce)
        progress.show();
    progress_ = &progress;

    long done = 0;
    long processed = 0;
    QStringList skipped;
    QStringList failures;
    for (const QString& code : codes) {
        if (progress.wasCanceled())
            break;
        const CodeResult result = processCode(code);
        if (result.done)
            ++done;
        else if (result.skipped)
            skipped << code;
        else if (!result.failure.isEmpty())
            failures << code + QStringLiteral(": ") + result.failure;
        ++processed;
        progress.setValue(static_cast<int>(processed));
        Q_EMIT codeProcessed(processed, total);
    }
    const bool cancelled = processed < total;
    progress_ = nullptr;
    progress.close();

    QString report = QStringLiteral("操作完成.\n") + doneText(done);
    if (cancelled)
        report += QStringLiteral("\n操作已取消, 其余%1个编号未处理.").arg(total - processed);
    if (!skipped.isEmpty())
        report += QStringLiteral("\n") + skippedText(boundedList(skipped, QStringLiteral(", ")));
    if (!failures.isEmpty())
        report += QStringLiteral("\n以下%1个编号未能处理:\n").arg(failures.size()) +
                  boundedList(failures, QStringLiteral("\n"));
    host::MessageBox(kTitle, report);
}

}  // namespace department
