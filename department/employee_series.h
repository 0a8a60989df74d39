#pragma once
// The window shared by the two batch dialogs: a code prefix (em_3), a suffix
// (em_4) and a range of two-digit numbers (em_1 to em_2) give a series of
// employee codes in the department passed on open (is_dept). The derived
// dialog says what happens to each code of the series.

#include "department/export.h"

#include "host/window.h"

class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;

namespace department {

// The code of number `n` of a series: the prefix, "00" for 0, "0" and the
// digit for 1 to 9, the plain digits from 10 on, then the suffix.
WMS_DEPARTMENT_EXPORT QString seriesCode(const QString& head, long n, const QString& end);

// How many codes (or lines) of one kind the final report of a run names.
constexpr int kReportedCodes = 20;
// The first kReportedCodes of `items` joined by `separator`, followed by
// "…等N个" when there are more.
WMS_DEPARTMENT_EXPORT QString boundedList(const QStringList& items, const QString& separator);

class WMS_DEPARTMENT_EXPORT EmployeeSeriesWindow : public host::Window {
    Q_OBJECT
public:
    // `buttonName` and `buttonText` name the button that starts a run.
    EmployeeSeriesWindow(const QString& caption, const QString& buttonName, const QString& buttonText,
                         QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;

    QString departmentId() const { return is_dept; }
    QLineEdit* em_1() const { return em_1_; }
    QLineEdit* em_2() const { return em_2_; }
    QLineEdit* em_3() const { return em_3_; }
    QLineEdit* em_4() const { return em_4_; }
    QPushButton* cb_cancel() const { return cb_cancel_; }
    // The preview of the series under the fields: first and last code and
    // their number, or why the fields give no series.
    QLabel* st_preview() const { return st_preview_; }
    // The progress dialog of the run under way (null between runs).
    QProgressDialog* progress() const { return progress_; }

    // Checks the fields and runs the series; "操作完成." at its end, followed
    // by how many employees were added or deleted, whether the run was
    // cancelled, the codes that were skipped and those that failed, with the
    // database's reason (the first kReportedCodes of each). Nothing is asked
    // or shown while the series runs: a box waiting for an answer is never
    // covered by the progress dialog. A run cancelled in its progress dialog
    // keeps the employees done so far (each one committed) and says so.
    void run();

Q_SIGNALS:
    // One code of the series was processed (`processed` of `total`).
    void codeProcessed(long processed, long total);

protected:
    // What became of one code of the series.
    struct CodeResult {
        bool done = false;     // added or deleted (one transaction of its own, committed)
        QString failure;       // not empty: the code failed, for this reason
        bool skipped = false;  // left alone, for the reason skippedText() gives
    };

    QPushButton* startButton() const { return start_; }
    // What happens to one code of the series, in the department.
    virtual CodeResult processCode(const QString& code) = 0;
    // The line of the final message that counts the codes done.
    virtual QString doneText(long done) const = 0;
    // The line of the final message that names the codes skipped (`codes`,
    // already bounded).
    virtual QString skippedText(const QString& codes) const { return codes; }
    // The question asked before a run over `codes` (empty: none); the series
    // is named after its first line. False when it cannot be asked (the
    // operator has been told why): nothing runs.
    virtual bool runQuestion(const QStringList& codes, QString* question)
    {
        Q_UNUSED(codes);
        question->clear();
        return true;
    }
    // Asked once the operator has agreed to the run, before its first code:
    // Go runs it; Stop runs nothing; Again asks the question anew (the
    // window read what it shows again).
    enum class RunCheck { Go, Stop, Again };
    virtual RunCheck checkBeforeRun(const QStringList& codes)
    {
        Q_UNUSED(codes);
        return RunCheck::Go;
    }

    QString is_dept;

private:
    // The series the fields give: false, with the reason, when they give none.
    struct Series {
        QString head;
        QString end;
        long first = 0;
        long last = 0;
    };
    bool readSeries(Series* series, QString* reason, QLineEdit** field) const;
    QString seriesText(const Series& series) const;
    void updatePreview();
    QLineEdit* editMask(const QString& name, bool numeric, int x, int y);
    QLabel* staticText(const QString& name, const QString& text, int x, int y, int width);

    QLabel* st_1_;
    QLabel* st_2_;
    QLabel* st_3_;
    QLabel* st_4_;
    QLineEdit* em_1_;
    QLineEdit* em_2_;
    QLineEdit* em_3_;
    QLineEdit* em_4_;
    QLabel* st_preview_;
    QPushButton* start_;
    QPushButton* cb_cancel_;
    QProgressDialog* progress_ = nullptr;
    QString caption_;
};

}  // namespace department
