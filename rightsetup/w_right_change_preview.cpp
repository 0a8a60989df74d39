#include "rightsetup/w_right_change_preview.h"

#include "common/fonts.h"
#include "common/levels.h"
#include "host/messages.h"
#include "rightsetup/change_table.h"
#include "rightsetup/rights_writer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace rightsetup {

w_right_change_preview::w_right_change_preview(QWidget* parent) : host::w_father(parent)
{
    setWindowTitle(QStringLiteral("导入权限矩阵"));
    setFont(common::songti(9));
    resize(640, 460);
    st_notes = new QLabel(this);
    st_notes->setObjectName(QStringLiteral("st_notes"));
    st_notes->setTextFormat(Qt::PlainText);
    st_notes->setWordWrap(true);
    dw_changes = makeTable(this, QStringLiteral("dw_changes"));
    cb_apply = new QPushButton(QStringLiteral("应用(&A)"), this);
    cb_apply->setObjectName(QStringLiteral("cb_apply"));
    cb_apply->setAutoDefault(false);
    cb_cancel = new QPushButton(QStringLiteral("取消"), this);
    cb_cancel->setObjectName(QStringLiteral("cb_cancel"));
    cb_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cb_apply);
    buttons->addWidget(cb_cancel);
    auto* layout = new QGridLayout(this);
    layout->addWidget(st_notes, 0, 0);
    layout->addWidget(dw_changes, 1, 0);
    layout->addLayout(buttons, 2, 0);
    setCancelButton(cb_cancel);
    connect(cb_apply, &QPushButton::clicked, this, [this] {
        switch (apply()) {
        case WriteResult::Written:
            closeWithReturn(kApplied);
            break;
        case WriteResult::ReadAgain:
            closeWithReturn(kReadAgain);
            break;
        case WriteResult::Refused:
            break;  // the list stays, to be applied again or cancelled
        }
    });
    connect(cb_cancel, &QPushButton::clicked, this, &QWidget::close);
}

void w_right_change_preview::setChanges(const QList<RightChange>& changes, const QMap<QString, QString>& itemNames,
                                        const QString& notes)
{
    changes_ = changes;
    showChanges(dw_changes, changes_, itemNames, true);
    QString text = QStringLiteral("导入将进行以下 %1 项修改:").arg(changes_.size());
    if (!notes.isEmpty())
        text = notes + QLatin1Char('\n') + text;
    st_notes->setText(text);
    cb_apply->setEnabled(!changes_.isEmpty() && common::canModify(this));
}

WriteResult w_right_change_preview::apply()
{
    if (!common::ensureCanModify(this))
        return WriteResult::Refused;
    const WriteResult result = writeChanges(changes_);
    if (result == WriteResult::Written)
        host::MessageBox(QStringLiteral("提示"), QStringLiteral("保存成功."));
    return result;
}

}  // namespace rightsetup
