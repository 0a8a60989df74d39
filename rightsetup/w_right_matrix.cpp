#include "rightsetup/w_right_matrix.h"

#include "common/dialog_support.h"
#include "common/fonts.h"
#include "common/journal_notice.h"
#include "common/levels.h"
#include "host/csv.h"
#include "host/messages.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "rights/review.h"
#include "rightsetup/matrix_import.h"
#include "rightsetup/matrix_model.h"
#include "rightsetup/rights_report.h"
#include "rightsetup/rights_writer.h"
#include "rightsetup/w_right_change_preview.h"
#include "rightsetup/window_names.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

namespace rightsetup {

namespace {

const QString kTitle = QStringLiteral("提示");


// The choices of a level: 无 (no row) and the three levels.
const QList<QPair<QString, Level>>& levelChoices()
{
    static const QList<QPair<QString, Level>> choices = {{QStringLiteral("无"), Level()},
                                                         {QStringLiteral("禁止"), QStringLiteral("0")},
                                                         {QStringLiteral("查询"), QStringLiteral("1")},
                                                         {QStringLiteral("修改"), QStringLiteral("2")}};
    return choices;
}

QString choiceName(const Level& level)
{
    return level ? *level : QStringLiteral("none");
}

}  // namespace

w_right_matrix::w_right_matrix(QWidget* parent) : host::w_father(parent)
{
    setWindowTitle(QStringLiteral("权限矩阵"));
    setTag(kModuleItem);
    setFont(common::songti(9));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    resize(980, 640);

    model_ = new MatrixModel(this);
    auto* st_filter = new QLabel(QStringLiteral("模块项:"), this);
    st_filter->setObjectName(QStringLiteral("st_filter"));
    sle_filter = new QLineEdit(this);
    sle_filter->setObjectName(QStringLiteral("sle_filter"));
    sle_filter->setPlaceholderText(QStringLiteral("按编号或名称筛选"));
    sle_filter->setClearButtonEnabled(true);
    ddlb_level = new QComboBox(this);
    ddlb_level->setObjectName(QStringLiteral("ddlb_level"));
    for (const auto& [text, level] : levelChoices())
        ddlb_level->addItem(text, level ? QVariant(*level) : QVariant());
    cb_set_row = common::layoutButton(this, QStringLiteral("cb_set_row"), QStringLiteral("整行设为"));
    cb_set_column = common::layoutButton(this, QStringLiteral("cb_set_column"), QStringLiteral("整列设为"));

    dw_matrix = new QTableView(this);
    dw_matrix->setObjectName(QStringLiteral("dw_matrix"));
    dw_matrix->setModel(model_);
    dw_matrix->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dw_matrix->setSelectionMode(QAbstractItemView::ExtendedSelection);
    dw_matrix->setContextMenuPolicy(Qt::CustomContextMenu);
    dw_matrix->setWordWrap(false);
    // Fixed sizes: no measuring of 2,000 columns' texts.
    dw_matrix->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    dw_matrix->horizontalHeader()->setDefaultSectionSize(88);
    dw_matrix->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    dw_matrix->verticalHeader()->setMinimumWidth(140);
    dw_matrix->installEventFilter(this);
    st_status = new QLabel(this);
    st_status->setObjectName(QStringLiteral("st_status"));
    st_status->setTextFormat(Qt::PlainText);

    cb_copy = common::layoutButton(this, QStringLiteral("cb_copy"), QStringLiteral("复制/比较(&C)"));
    cb_export_csv = common::layoutButton(this, QStringLiteral("cb_export_csv"), QStringLiteral("导出CSV(&E)"));
    cb_import_csv = common::layoutButton(this, QStringLiteral("cb_import_csv"), QStringLiteral("导入CSV(&I)"));
    cb_export_pdf = common::layoutButton(this, QStringLiteral("cb_export_pdf"), QStringLiteral("审查报告PDF(&P)"));
    cb_reload = common::layoutButton(this, QStringLiteral("cb_reload"), QStringLiteral("重新读取(&R)"));
    cb_save = common::layoutButton(this, QStringLiteral("cb_save"), QStringLiteral("保存(&S)"));
    cb_close = common::layoutButton(this, QStringLiteral("cb_close"), QStringLiteral("关闭"));

    auto* top = new QHBoxLayout;
    top->addWidget(st_filter);
    top->addWidget(sle_filter, 1);
    top->addSpacing(16);
    top->addWidget(ddlb_level);
    top->addWidget(cb_set_row);
    top->addWidget(cb_set_column);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(st_status, 1);
    for (QPushButton* b : {cb_copy, cb_export_csv, cb_import_csv, cb_export_pdf, cb_reload, cb_save, cb_close})
        bottom->addWidget(b);
    auto* layout = new QGridLayout(this);
    layout->addLayout(top, 0, 0);
    layout->addWidget(dw_matrix, 1, 0);
    layout->addLayout(bottom, 2, 0);
    setCancelButton(cb_close);

    connect(model_, &MatrixModel::changesChanged, this, [this] { updateStatus(); });
    connect(sle_filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        model_->setFilter(text);
        updateStatus();
    });
    connect(dw_matrix, &QTableView::clicked, this, &w_right_matrix::clickOnCell);
    connect(dw_matrix, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = dw_matrix->indexAt(at);
        if (!index.isValid())
            return;
        QMenu* menu = contextMenu(index);
        menu->exec(dw_matrix->viewport()->mapToGlobal(at));
        menu->deleteLater();
    });
    connect(cb_set_row, &QPushButton::clicked, this, [this] { setCurrentRow(chosenLevel()); });
    connect(cb_set_column, &QPushButton::clicked, this, [this] { setCurrentColumn(chosenLevel()); });
    connect(cb_copy, &QPushButton::clicked, this, &w_right_matrix::openCopy);
    connect(cb_export_csv, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出CSV"), QStringLiteral("权限矩阵.csv"),
                                                          QStringLiteral("CSV (*.csv)"));
        if (!path.isEmpty())
            exportCsv(path);
    });
    connect(cb_import_csv, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("导入CSV"), QString(),
                                                          QStringLiteral("CSV (*.csv)"));
        if (!path.isEmpty())
            importCsv(path);
    });
    connect(cb_export_pdf, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("审查报告PDF"),
                                                          QStringLiteral("权限审查报告.pdf"), QStringLiteral("PDF (*.pdf)"));
        if (!path.isEmpty())
            exportPdf(path);
    });
    connect(cb_reload, &QPushButton::clicked, this, [this] {
        if (model_->hasChanges() &&
            host::MessageBox(kTitle, QStringLiteral("放弃未保存的修改并重新读取吗?"), host::Icon::Question,
                             host::Buttons::YesNo, host::Answer::No) != host::Answer::Yes)
            return;
        reload();
    });
    connect(cb_save, &QPushButton::clicked, this, [this] { save(); });
    connect(cb_close, &QPushButton::clicked, this, &QWidget::close);
}

void w_right_matrix::openEvent(const QString& parameter)
{
    host::w_father::openEvent(parameter);
    applyLevel();
    reload();
    common::tellIfJournalOff();
}

bool w_right_matrix::reload()
{
    // One consistent state of the three tables.
    const bool consistent = host::sqlca.beginRead();
    rights::Matrix matrix;
    const bool read = rights::readMatrix(host::sqlca, &matrix);
    const QString reason = host::sqlca.sqlerrtext;
    if (consistent)
        host::sqlca.endRead();
    if (!read) {
        host::databaseErrorBox(reason);
        return false;
    }
    model_->setMatrix(matrix);
    applyLevel();
    return true;
}

void w_right_matrix::applyLevel()
{
    const bool modify = common::canModify(this);
    for (QPushButton* b : {cb_set_row, cb_set_column, cb_import_csv})
        b->setEnabled(modify);
    ddlb_level->setEnabled(modify);
    cb_save->setEnabled(modify && model_->hasChanges());
}

void w_right_matrix::updateStatus()
{
    st_status->setText(QStringLiteral("操作组 %1 个, 模块项 %2 个 (显示 %3 个); 未保存的修改 %4 项")
                           .arg(model_->rowCount())
                           .arg(model_->matrix().items.size())
                           .arg(model_->columnCount())
                           .arg(model_->changeCount()));
    cb_save->setEnabled(model_->hasChanges() && cb_set_row->isEnabled());
}

Level w_right_matrix::chosenLevel() const
{
    const QVariant chosen = ddlb_level->currentData();
    return chosen.isValid() ? Level(chosen.toString()) : Level();
}

QModelIndexList w_right_matrix::targetCells() const
{
    QModelIndexList cells = dw_matrix->selectionModel()->selectedIndexes();
    if (cells.isEmpty() && dw_matrix->currentIndex().isValid())
        cells << dw_matrix->currentIndex();
    return cells;
}

QModelIndex w_right_matrix::cellToChange()
{
    const QModelIndex current = dw_matrix->currentIndex();
    if (!common::ensureCanModify(this))
        return {};
    if (!current.isValid())
        host::MessageBox(kTitle, QStringLiteral("请先选择一个单元格."));
    return current;
}

void w_right_matrix::setCurrentRow(const Level& level)
{
    if (const QModelIndex cell = cellToChange(); cell.isValid())
        model_->setRowLevel(cell.row(), level);
}

void w_right_matrix::setCurrentColumn(const Level& level)
{
    if (const QModelIndex cell = cellToChange(); cell.isValid())
        model_->setColumnLevel(cell.column(), level);
}

void w_right_matrix::clickOnCell(const QModelIndex& index)
{
    // A viewer's clicks only select, and so do clicks that extend the
    // selection; the level is asked at every change.
    if (!index.isValid() || (QGuiApplication::keyboardModifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) ||
        !common::canModify(this))
        return;
    model_->cycle(index.row(), index.column());
}

void w_right_matrix::keyOnCells(int key)
{
    Level level;
    switch (key) {
    case Qt::Key_0:
    case Qt::Key_1:
    case Qt::Key_2:
        level = QString(QLatin1Char(char('0' + (key - Qt::Key_0))));
        break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        break;
    case Qt::Key_Space:
        if (!common::canModify(this))
            return;
        for (const QModelIndex& cell : targetCells())
            model_->cycle(cell.row(), cell.column());
        return;
    default:
        return;
    }
    if (common::canModify(this))
        model_->setLevels(targetCells(), level);
}

bool w_right_matrix::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dw_matrix && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        static const QList<int> keys = {Qt::Key_0, Qt::Key_1, Qt::Key_2, Qt::Key_Delete, Qt::Key_Backspace,
                                        Qt::Key_Space};
        if (keys.contains(key->key()) && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyOnCells(key->key());
            return true;
        }
    }
    return host::w_father::eventFilter(watched, event);
}

QMenu* w_right_matrix::contextMenu(const QModelIndex& index)
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("m_matrix_cell"));
    const bool modify = common::canModify(this);
    const int row = index.row();
    const int column = index.column();
    for (const auto& [text, level] : levelChoices()) {
        QAction* action = menu->addAction(QStringLiteral("整行设为") + text);
        action->setObjectName(QStringLiteral("m_row_") + choiceName(level));
        action->setEnabled(modify);
        connect(action, &QAction::triggered, this, [this, row, level] {
            if (common::ensureCanModify(this))
                model_->setRowLevel(row, level);
        });
    }
    menu->addSeparator();
    for (const auto& [text, level] : levelChoices()) {
        QAction* action = menu->addAction(QStringLiteral("整列设为") + text);
        action->setObjectName(QStringLiteral("m_column_") + choiceName(level));
        action->setEnabled(modify);
        connect(action, &QAction::triggered, this, [this, column, level] {
            if (common::ensureCanModify(this))
                model_->setColumnLevel(column, level);
        });
    }
    return menu;
}

bool w_right_matrix::save()
{
    if (!common::ensureCanModify(this))
        return false;
    const QList<RightChange> changes = model_->changes();
    if (changes.isEmpty()) {
        host::MessageBox(kTitle, QStringLiteral("没有需要保存的修改."));
        return true;
    }
    switch (writeChanges(changes)) {
    case WriteResult::Written:
        break;
    case WriteResult::Refused:
        return false;  // every edit stays pending; the operator was told why
    case WriteResult::ReadAgain:
        // Another client changed a cell meanwhile: the operator chose to see
        // what the database holds now, the edits given up.
        reload();
        return false;
    }
    // What the window shows is what the database holds now.
    if (!reload())
        model_->setMatrix({});
    host::MessageBox(kTitle, QStringLiteral("保存成功."));
    return true;
}

bool w_right_matrix::closeQuery()
{
    if (!host::w_father::closeQuery())
        return false;
    if (!model_->hasChanges())
        return true;
    switch (host::MessageBox(QStringLiteral("关闭"), QStringLiteral("数据已发生改变, 保存吗?"), host::Icon::Question,
                             host::Buttons::YesNoCancel, host::Answer::Cancel)) {
    case host::Answer::Yes:
        return save() && !model_->hasChanges();
    case host::Answer::No:
        return true;
    default:
        return false;
    }
}

bool w_right_matrix::noPendingEdits()
{
    if (!model_->hasChanges())
        return true;
    host::MessageBox(kTitle, QStringLiteral("矩阵中有未保存的修改, 请先保存或重新读取."), host::Icon::Exclamation);
    return false;
}

void w_right_matrix::openCopy()
{
    if (!noPendingEdits())
        return;
    // The operator chooses both groups in the dialog.
    host::WindowRegistry::openWithReturn(kGroupCopy, QString());
    reload();
}

bool w_right_matrix::exportCsv(const QString& path)
{
    rights::Matrix matrix;
    if (!rights::readMatrix(host::sqlca, &matrix)) {
        host::databaseErrorBox(host::sqlca.sqlerrtext);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(host::kUtf8Bom) < 0 ||
        file.write(rights::matrixCsv(matrix).toUtf8()) < 0 || !file.flush()) {
        host::MessageBox(kTitle, QStringLiteral("无法写入文件: ") + path + QLatin1Char('\n') + file.errorString(),
                         host::Icon::Exclamation);
        return false;
    }
    return true;
}

bool w_right_matrix::exportPdf(const QString& path)
{
    rights::Matrix matrix;
    QString error;
    if (!rights::readMatrix(host::sqlca, &matrix)) {
        host::databaseErrorBox(host::sqlca.sqlerrtext);
        return false;
    }
    if (!writeRightsReport(path, matrix, &error)) {
        host::MessageBox(kTitle, QStringLiteral("无法写入审查报告: ") + path + QLatin1Char('\n') + error,
                         host::Icon::Exclamation);
        return false;
    }
    return true;
}

bool w_right_matrix::importCsv(const QString& path)
{
    if (!common::ensureCanModify(this) || !noPendingEdits())
        return false;
    // Another client may change a cell between the preview and its 应用: when
    // the operator then chooses to read again, the file's changes are made
    // again against what the database holds now and shown anew.
    for (;;) {
        switch (importOnce(path)) {
        case ImportOutcome::Applied:
            return true;
        case ImportOutcome::NotApplied:
            return false;
        case ImportOutcome::ReadAgain:
            break;
        }
    }
}

w_right_matrix::ImportOutcome w_right_matrix::importOnce(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        host::MessageBox(kTitle, QStringLiteral("无法读取文件: ") + path + QLatin1Char('\n') + file.errorString(),
                         host::Icon::Exclamation);
        return ImportOutcome::NotApplied;
    }
    // The changes are made against what the database holds now.
    if (!reload())
        return ImportOutcome::NotApplied;
    MatrixImport import;
    QString error;
    const ImportRead read = readImportWithProgress(this, &file, model_->matrix(), &import, &error);
    if (read == ImportRead::Cancelled)
        return ImportOutcome::NotApplied;
    if (read == ImportRead::Malformed) {
        host::MessageBox(kTitle, QStringLiteral("文件格式不正确, 没有导入任何内容.\n") + error, host::Icon::Exclamation);
        return ImportOutcome::NotApplied;
    }
    QStringList notes = unknownNotes(import);
    if (import.changes.isEmpty()) {
        notes << QStringLiteral("文件中的权限与数据库相同, 没有需要导入的修改.");
        host::MessageBox(kTitle, notes.join(QLatin1Char('\n')));
        return ImportOutcome::NotApplied;
    }
    QPointer<w_right_change_preview> preview = new w_right_change_preview(this);
    preview->setAttribute(Qt::WA_DeleteOnClose, false);
    preview->setTag(tag());
    preview->setChanges(import.changes, model_->matrix().itemNames, notes.join(QLatin1Char('\n')));
    host::placeOver(preview, this);
    preview->exec();
    const QString result = preview ? preview->stringResult() : QString();
    delete preview.data();
    reload();
    if (result == w_right_change_preview::kApplied)
        return ImportOutcome::Applied;
    return result == w_right_change_preview::kReadAgain ? ImportOutcome::ReadAgain : ImportOutcome::NotApplied;
}

}  // namespace rightsetup
