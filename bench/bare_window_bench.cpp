// bare_editor_window: what Qt alone takes to build, fill and show a window of
// the group rights editor's shape (a dialog, a table view over 2,000 rows of
// three columns, four buttons), with no database and none of the module's
// code, in its cheapest form: no row numbers (Qt's own row header measures
// 200 of its sections when shown, which costs more than the rest together).
// It is not a ratio: it is the part of rights_editor that no reading can
// remove, to compare with the rights_editor floors of the same run.
#include "bench/bench_common.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace bench {

namespace {

constexpr int kRows = 2000;

// Rows of fixed text, made on demand: the model costs nothing to fill.
class FixedRows : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void fill(int rows)
    {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(QString::number(index.row() * 3 + index.column())) : QVariant();
    }

private:
    int rows_ = 0;
};

void bareEditorWindow(benchmark::State& state)
{
    for (auto _ : state) {
        auto* dialog = new QDialog;
        dialog->resize(1150, 810);
        auto* rows = new FixedRows(dialog);
        auto* grid = new QTableView(dialog);
        grid->setModel(rows);
        grid->verticalHeader()->hide();
        grid->setGeometry(9, 10, 850, 700);
        const QString captions[] = {QStringLiteral("增加(&A)"), QStringLiteral("删除(&D)"),
                                    QStringLiteral("保存(&S)"), QStringLiteral("取消")};
        int y = 20;
        for (const QString& caption : captions) {
            auto* button = new QPushButton(caption, dialog);
            button->setGeometry(900, y, 170, 40);
            y += 55;
        }
        rows->fill(kRows);
        dialog->show();
        state.PauseTiming();
        if (rows->rowCount(QModelIndex()) != kRows)
            state.SkipWithError("the model was not filled");
        delete dialog;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

}  // namespace

void registerBareWindowBenchmark()
{
    benchmark::RegisterBenchmark("bare_editor_window", bareEditorWindow)->Unit(benchmark::kMillisecond);
}

}  // namespace bench
