#include "usergroup/w_right_group_add.h"

#include "usergroup/open_manager.h"
#include "usergroup/w_right_setup.h"

namespace usergroup {

w_right_group_add::w_right_group_add(QWidget* parent)
    : common::RecordDialog({.title = QStringLiteral("增加操作组"),
                            .size = {1202, 424},
                            .dataObject = QStringLiteral("d_right_group_freeform"),
                            .form = {0, 36, 741, 240},
                            .actionText = QStringLiteral("增加(&A)"),
                            .buttonsX = 763},
                           parent)
{
}

void w_right_group_add::openEvent(const QString& parameter)
{
    common::RecordDialog::openEvent(parameter);
    newRecord();
}

void w_right_group_add::cb1Clicked()
{
    addRecord({.idColumn = QStringLiteral("group_id"),
               .nameColumn = QStringLiteral("group_name"),
               .emptyId = QStringLiteral("组编号不能为空."),
               .emptyName = QStringLiteral("组名称不能为空."),
               .countStatement = QStringLiteral("select count ( *) from s_group where group_id = ?"),
               .duplicateId = QStringLiteral("该组编号已存在，请改用其它编号.")});
}

void w_right_group_add::recordAdded(const QString& id, const QString& name)
{
    if (w_right_setup* manager = openManager())
        manager->wf_insert_tvi(name, id);
}

}  // namespace usergroup
