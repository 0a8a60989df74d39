#include "tests/rightsetup/editor_fixture.h"

#include "host/transaction.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "rightsetup/register_windows.h"
#include "tests/rightsetup/second_client.h"
#include "tests/support/frame_driver.h"
#include "tests/support/modal_responder.h"
#include "usergroup/register_windows.h"
#include "usergroup/w_right_setup.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>

namespace rightsetup_test {

void EditorTest::SetUp()
{
    DbTest::SetUp();
    if (HasFatalFailure() || IsSkipped())
        return;
    loadSample();
    usergroup::registerWindows();
    rightsetup::registerWindows();
}

void EditorTest::TearDown()
{
    host::WindowRegistry::closeAll();
    pump();
    DbTest::TearDown();
}

void EditorTest::pump()
{
    testing_support::pumpEvents();
}

usergroup::w_right_setup* EditorTest::openManager()
{
    if (!manager_) {
        manager_ = host::WindowRegistry::instanceOf<usergroup::w_right_setup>("w_right_setup");
        if (!manager_)
            manager_ = qobject_cast<usergroup::w_right_setup*>(host::WindowRegistry::open("w_right_setup"));
        pump();
    }
    return manager_;
}

void EditorTest::selectListGroup(const QString& id)
{
    usergroup::w_right_setup* manager = openManager();
    ASSERT_NE(manager, nullptr);
    common::ListView* list = manager->lv_1();
    for (int i = 1; i <= list->totalItems(); ++i) {
        if (list->data(i) == id) {
            list->selectItem(i);
            pump();
            ASSERT_EQ(list->selectedIndex(), i);
            return;
        }
    }
    FAIL() << "group " << id.toStdString() << " is not in the manager's list";
}

rightsetup::w_right_right_setup* EditorTest::openEditor(const QString& id)
{
    selectListGroup(id);
    editor = qobject_cast<rightsetup::w_right_right_setup*>(host::WindowRegistry::open("w_right_right_setup"));
    pump();
    return editor;
}

void EditorTest::withModuleList(const std::function<void(rightsetup::w_right_module_list*)>& handler)
{
    bool seen = false;
    testing_support::ModalResponder responder([&](QWidget* widget) {
        auto* list = qobject_cast<rightsetup::w_right_module_list*>(widget);
        ASSERT_NE(list, nullptr) << "the modal window is not the module list";
        seen = true;
        handler(list);
    });
    editor->cb_add->click();
    pump();
    EXPECT_TRUE(seen) << "cb_add opened no module list";
    EXPECT_EQ(host::WindowRegistry::instance("w_right_module_list"), nullptr);
}

QStringList EditorTest::addModules(const QStringList& codes, bool confirm)
{
    QStringList shown;
    withModuleList([&](rightsetup::w_right_module_list* list) {
        for (int i = 0; i < list->lv_1->count(); ++i) {
            QListWidgetItem* item = list->lv_1->item(i);
            const QString code = item->data(rightsetup::w_right_module_list::kDataRole).toString();
            shown << code;
            if (codes.contains(code))
                item->setCheckState(Qt::Checked);
        }
        (confirm ? list->cb_ok : list->cb_cancel)->click();
    });
    return shown;
}

QStringList EditorTest::gridColumn(const QString& column) const
{
    QStringList values;
    for (long row = 1; row <= editor->dw_1->rowCount(); ++row)
        values << editor->dw_1->getItemString(row, column);
    return values;
}

void EditorTest::pickLevel(long row, const QString& text)
{
    auto* grid = qobject_cast<QAbstractItemView*>(editor->dw_1->view());
    ASSERT_NE(grid, nullptr);
    const QModelIndex cell = grid->model()->index(int(row - 1), 2);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* combo = qobject_cast<QComboBox*>(editor->dw_1->editorFor("group_right"));
    ASSERT_NE(combo, nullptr) << "no level editor";
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
    pump();
}

QMap<QString, QString> EditorTest::dbRights(const QString& group)
{
    QMap<QString, QString> rights;
    host::Transaction other;
    EXPECT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
    QSqlQuery query(other.database());
    query.prepare("select m_item_code, group_right from s_group_power where group_id = ?");
    query.addBindValue(group);
    EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
    while (query.next())
        rights.insert(query.value(0).toString(), query.value(1).toString());
    return rights;
}

void EditorTest::otherClient(const QString& sql, const QVariantList& params)
{
    commitOnOtherClient(url(), sql, params);
}

void EditorTest::refuse(const QString& operation, const QString& table)
{
    testing_support::refuse(backend(), operation, table);
}

}  // namespace rightsetup_test
