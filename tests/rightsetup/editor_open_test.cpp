// Opening the group rights editor from the user and group manager, and the
// module list it opens: which group, which rows, which module items.
#include "tests/rightsetup/editor_fixture.h"

#include "host/units.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "usergroup/w_right_setup.h"

#include <QApplication>
#include <QListWidget>
#include <QAbstractItemView>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

using namespace rightsetup_test;
using rightsetup::w_right_module_list;

namespace {

class EditorOpenTest : public EditorTest {};

QStringList listCodes(const w_right_module_list* list)
{
    QStringList codes;
    for (int i = 0; i < list->lv_1->count(); ++i)
        codes << list->lv_1->item(i)->data(w_right_module_list::kDataRole).toString();
    return codes;
}

}  // namespace

TEST_P(EditorOpenTest, ClosesAtOnceWithoutAManagerOrWithoutASelectedGroup)
{
    EXPECT_EQ(host::WindowRegistry::open("w_right_right_setup"), nullptr);

    usergroup::w_right_setup* manager = openManager();
    ASSERT_NE(manager, nullptr);
    ASSERT_GT(manager->lv_1()->totalItems(), 0);
    manager->lv_1()->clearSelection();
    EXPECT_EQ(host::WindowRegistry::open("w_right_right_setup"), nullptr);
    pump();
    EXPECT_EQ(host::WindowRegistry::instance("w_right_right_setup"), nullptr);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(EditorOpenTest, ShowsTheRowsOfTheGroupSelectedInTheManager)
{
    usergroup::w_right_setup* manager = openManager();
    selectListGroup("002");
    // A click on the group enables the manager's own button, which opens the editor.
    common::ListView* list = manager->lv_1();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->itemAt(list->selectedIndex())).center());
    pump();
    ASSERT_TRUE(manager->pb_right()->isEnabled());
    manager->pb_right()->click();
    pump();
    editor = host::WindowRegistry::instanceOf<rightsetup::w_right_right_setup>("w_right_right_setup");
    ASSERT_NE(editor, nullptr);

    EXPECT_EQ(editor->windowTitle(), "操作组权限设置 - 002 仓库管理员");
    EXPECT_EQ(editor->parentWidget(), manager);  // it belongs to the manager that opened it
    EXPECT_EQ(editor->tag(), "003");
    EXPECT_EQ(editor->is_group_id, "002");
    EXPECT_EQ(gridColumn("group_id"), QStringList(6, "002"));
    EXPECT_EQ(gridColumn("m_item_code"), QStringList({"w201", "w202", "w203", "w204", "w205", "w301"}));
    EXPECT_EQ(editor->dw_1->getChild("m_item_code")->rowCount(), 10);  // the names of every module item

    const QList<QPair<QPushButton*, QString>> buttons = {{editor->cb_add, "增加(&A)"},
                                                         {editor->cb_delete, "删除(&D)"},
                                                         {editor->cb_save, "保存(&S)"},
                                                         {editor->cb_cancel, "取消"}};
    for (const auto& [button, caption] : buttons)
        EXPECT_EQ(button->text(), caption) << button->objectName().toStdString();
    EXPECT_EQ(editor->cb_add->property("tag").toString(), "2");
    EXPECT_EQ(editor->cb_save->property("tag").toString(), "2");
    EXPECT_FALSE(editor->cb_save->isEnabled());
    EXPECT_TRUE(editor->ib_canexit);

    // No edit yet: closing asks nothing.
    EXPECT_TRUE(editor->close());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(EditorOpenTest, AGroupCodeHoldingAQuoteLoadsItsOwnRows)
{
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"a'b", "引号组"});
    exec("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)", {"a'b", "w203", "1"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    ASSERT_NE(openEditor("a'b"), nullptr);
    EXPECT_EQ(gridColumn("m_item_code"), QStringList({"w203"}));
    EXPECT_EQ(gridColumn("group_id"), QStringList({"a'b"}));
}

TEST_P(EditorOpenTest, GridAndButtonsFollowTheWindowSize)
{
    ASSERT_NE(openEditor("003"), nullptr);
    editor->resize(host::unitsToPixelsX(3000), host::unitsToPixelsY(2000));
    pump();
    const QRect grid = editor->dw_1->geometry();
    EXPECT_NEAR(grid.width(), editor->width() - host::unitsToPixelsX(18 + 500), 2);
    EXPECT_NEAR(grid.height(), editor->height() - host::unitsToPixelsY(20 + 150), 2);
    for (QPushButton* button : {editor->cb_add, editor->cb_delete, editor->cb_save, editor->cb_cancel})
        EXPECT_NEAR(button->x(), grid.right() + 1 + host::unitsToPixelsX(50), 2) << button->objectName().toStdString();
    EXPECT_NEAR(editor->cb_cancel->y(), host::unitsToPixelsY(436), 1);
}

TEST_P(EditorOpenTest, ModuleListShowsOnlyItemsTheGroupHoldsNoRightOn)
{
    // "M900" begins with a capital M: picture 2.
    exec("insert into s_moudle_item (m_item_code, name) values (?, ?)", {"M900", "大写模块"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    ASSERT_NE(openEditor("003"), nullptr);
    withModuleList([&](w_right_module_list* list) {
        EXPECT_EQ(list->windowTitle(), "选择模块");
        EXPECT_EQ(list->is_group_code, "003");
        EXPECT_EQ(list->cb_ok->text(), "确定");
        EXPECT_EQ(list->cb_ok->property("tag").toString(), "2");
        EXPECT_EQ(list->cb_cancel->text(), "取消");
        QStringList codes = listCodes(list);
        codes.sort();
        // 003 holds w201, w203 and w301; w302 belongs to group 004 only and is listed.
        EXPECT_EQ(codes, QStringList({"003", "M900", "m101", "m102", "w202", "w204", "w205", "w302"}));
        for (int i = 0; i < list->lv_1->count(); ++i) {
            QListWidgetItem* item = list->lv_1->item(i);
            const QString code = item->data(w_right_module_list::kDataRole).toString();
            EXPECT_EQ(item->data(w_right_module_list::kPictureRole).toInt(), code.startsWith('m') ? 1 : 2)
                << code.toStdString();
            EXPECT_FALSE(item->icon().isNull());
            EXPECT_TRUE(item->flags() & Qt::ItemIsUserCheckable);
            EXPECT_EQ(item->checkState(), Qt::Unchecked);
            if (code == "w302") {
                EXPECT_EQ(item->text(), "w302  费用结算");
            }
        }
        list->cb_cancel->click();
    });
    EXPECT_EQ(editor->dw_1->rowCount(), 3);
    EXPECT_FALSE(editor->cb_save->isEnabled());
}

TEST_P(EditorOpenTest, AGroupHoldingEveryItemGetsAnEmptyListAndOkOnlyCloses)
{
    ASSERT_NE(openEditor("001"), nullptr);
    withModuleList([&](w_right_module_list* list) {
        EXPECT_EQ(list->lv_1->count(), 0);
        list->cb_ok->click();
    });
    EXPECT_EQ(editor->dw_1->rowCount(), 10);
    EXPECT_FALSE(editor->cb_save->isEnabled());
    EXPECT_TRUE(editor->ib_canexit);
}

TEST_P(EditorOpenTest, TickedItemsArriveAsNewRowsInListOrder)
{
    ASSERT_NE(openEditor("003"), nullptr);
    const QStringList shown = addModules({"w302", "m101", "w205"});
    QStringList ticked;
    for (const QString& code : shown) {
        if (QStringList({"w302", "m101", "w205"}).contains(code))
            ticked << code;
    }
    ASSERT_EQ(editor->dw_1->rowCount(), 6);
    EXPECT_EQ(gridColumn("m_item_code").mid(3), ticked);
    EXPECT_EQ(gridColumn("group_id").mid(3), QStringList(3, "003"));
    for (long row = 4; row <= 6; ++row) {
        EXPECT_TRUE(editor->dw_1->getItemString(row, "group_right").isEmpty());
        EXPECT_EQ(editor->dw_1->getItemStatus(row), platform::ItemStatus::NewModified);
    }
    EXPECT_TRUE(editor->cb_save->isEnabled());
    EXPECT_FALSE(editor->ib_canexit);
    EXPECT_EQ(dbRights("003").size(), 3);  // nothing written yet
}

TEST_P(EditorOpenTest, ConfirmingNothingTickedOrCancellingChangesNothing)
{
    ASSERT_NE(openEditor("003"), nullptr);
    addModules({});
    addModules({"m101", "m102"}, /*confirm=*/false);
    EXPECT_EQ(editor->dw_1->rowCount(), 3);
    EXPECT_FALSE(editor->cb_save->isEnabled());
    EXPECT_TRUE(editor->ib_canexit);

    // After an edit, an empty confirmation leaves the state as the edit left it.
    pickLevel(1, "修改");
    EXPECT_TRUE(editor->cb_save->isEnabled());
    EXPECT_FALSE(editor->ib_canexit);
    addModules({});
    EXPECT_TRUE(editor->cb_save->isEnabled());
    EXPECT_FALSE(editor->ib_canexit);
    EXPECT_EQ(editor->dw_1->rowCount(), 3);
}

TEST_P(EditorOpenTest, TheModuleListIsOneUnwrappedLinePerItemAndAnswersEnterAndEsc)
{
    ASSERT_NE(openEditor("003"), nullptr);
    withModuleList([&](w_right_module_list* list) {
        EXPECT_EQ(list->lv_1->viewMode(), QListView::ListMode);
        EXPECT_FALSE(list->lv_1->wordWrap());
        EXPECT_FALSE(list->lv_1->isWrapping());
        ASSERT_GT(list->lv_1->count(), 1);
        // Items are stacked, each as high as one line.
        const QRect first = list->lv_1->visualItemRect(list->lv_1->item(0));
        const QRect second = list->lv_1->visualItemRect(list->lv_1->item(1));
        EXPECT_EQ(first.left(), second.left());
        EXPECT_GT(second.top(), first.top());
        EXPECT_LT(first.height(), 2 * list->lv_1->fontMetrics().height());
        list->lv_1->item(0)->setCheckState(Qt::Checked);
        list->lv_1->setFocus();
        QTest::keyClick(list->lv_1, Qt::Key_Return);
        EXPECT_FALSE(list->isVisible());
    });
    EXPECT_EQ(editor->dw_1->rowCount(), 4);

    withModuleList([&](w_right_module_list* list) {
        list->lv_1->item(0)->setCheckState(Qt::Checked);
        QTest::keyClick(list->lv_1, Qt::Key_Escape);
        EXPECT_FALSE(list->isVisible());
    });
    EXPECT_EQ(editor->dw_1->rowCount(), 4);
}

TEST_P(EditorOpenTest, OneClickOnALevelCellOpensItsChoices)
{
    ASSERT_NE(openEditor("003"), nullptr);
    editor->show();
    auto* view = qobject_cast<QAbstractItemView*>(editor->dw_1->view());
    ASSERT_NE(view, nullptr);
    editor->dw_1->setRow(2);
    editor->dw_1->setColumn("group_right");
    const QModelIndex cell = view->currentIndex();
    ASSERT_TRUE(cell.isValid());
    editor->dw_1->setRow(1);
    editor->dw_1->setColumn("m_item_code");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
    pump();
    auto* choices = view->viewport()->findChild<QComboBox*>();
    ASSERT_NE(choices, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return choices->view()->isVisible(); }, 1000));
    QStringList texts;
    for (int i = 0; i < choices->count(); ++i)
        texts << choices->itemText(i);
    EXPECT_EQ(texts, QStringList({"禁止", "查询", "修改"}));
    EXPECT_EQ(editor->dw_1->getRow(), 2);
    choices->hidePopup();
}

TEST_P(EditorOpenTest, ARightClickInTheModuleListOpensNothing)
{
    ASSERT_NE(openEditor("003"), nullptr);
    withModuleList([&](w_right_module_list* list) {
        ASSERT_GT(list->lv_1->count(), 0);
        const QPoint at = list->lv_1->visualItemRect(list->lv_1->item(0)).center();
        Q_EMIT list->lv_1->customContextMenuRequested(at);
        pump();
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_EQ(QApplication::activeModalWidget(), list);
        list->cb_cancel->click();
    });
    EXPECT_TRUE(messages.shown().isEmpty());
}

WMS_INSTANTIATE_DB_TESTS(EditorOpenTest);
