// Deleting rows of the group rights editor, and closing it with and without
// unsaved changes.
#include "tests/rightsetup/editor_fixture.h"

#include "host/transaction.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"

#include <QPushButton>

using namespace rightsetup_test;
using host::Answer;

namespace {

class EditorCloseTest : public EditorTest {
protected:
    bool editorOpen() const { return editor && !editor->isClosed(); }
};

}  // namespace

TEST_P(EditorCloseTest, DeletingFromAnEmptyGridSaysSo)
{
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"005", "新组"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    ASSERT_NE(openEditor("005"), nullptr);
    editor->cb_delete->click();
    EXPECT_EQ(messages.texts(), QStringList({"没有可删除的行."}));
}

TEST_P(EditorCloseTest, DeleteAsksFirstAndDeclinedDeletesNothing)
{
    ASSERT_NE(openEditor("003"), nullptr);
    editor->dw_1->setRow(2);
    messages.answer(Answer::No);
    editor->cb_delete_clicked();
    ASSERT_EQ(messages.shown().size(), 1);
    const auto& box = messages.shown().first();
    EXPECT_EQ(box.title, "提示");
    EXPECT_EQ(box.text, "确定要进行删除操作吗?");
    EXPECT_EQ(box.icon, host::Icon::Question);
    EXPECT_EQ(box.buttons, host::Buttons::YesNo);
    EXPECT_EQ(box.defaultButton, Answer::No);
    EXPECT_EQ(editor->dw_1->rowCount(), 3);
    EXPECT_EQ(dbRights("003").size(), 3);
}

TEST_P(EditorCloseTest, AcceptedDeleteIsWrittenAndCommittedAtOnce)
{
    ASSERT_NE(openEditor("003"), nullptr);
    editor->dw_1->setRow(2);  // w203
    messages.answer(Answer::Yes);
    editor->cb_delete_clicked();
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(gridColumn("m_item_code"), QStringList({"w201", "w301"}));
    const QMap<QString, QString> stored = dbRights("003");
    EXPECT_EQ(stored.keys(), QStringList({"w201", "w301"}));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(EditorCloseTest, AFailedDeleteIsRolledBackAndReported)
{
    ASSERT_NE(openEditor("003"), nullptr);
    refuse("delete", "s_group_power");
    editor->dw_1->setRow(1);
    messages.answer(Answer::Yes);
    editor->cb_delete_clicked();
    EXPECT_EQ(messages.texts(), QStringList({"确定要进行删除操作吗?", "删除失败."}));
    EXPECT_EQ(dbRights("003").size(), 3);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_EQ(editor->dw_1->deletedCount(), 1);  // kept for the next write
}

TEST_P(EditorCloseTest, ClosingAfterEditsAndAnsweringNoDiscardsThem)
{
    ASSERT_NE(openEditor("003"), nullptr);
    addModules({"w302"});
    messages.answer(Answer::No);
    editor->cb_cancel->click();
    pump();
    ASSERT_EQ(messages.shown().size(), 1);
    const auto& box = messages.shown().first();
    EXPECT_EQ(box.title, "关闭");
    EXPECT_EQ(box.text, "数据已发生改变, 保存吗?");
    EXPECT_EQ(box.icon, host::Icon::Question);
    EXPECT_EQ(box.buttons, host::Buttons::YesNoCancel);
    EXPECT_EQ(box.defaultButton, Answer::Cancel);
    EXPECT_FALSE(editorOpen());
    EXPECT_EQ(host::WindowRegistry::instance("w_right_right_setup"), nullptr);
    EXPECT_FALSE(dbRights("003").contains("w302"));
}

TEST_P(EditorCloseTest, CancelOrAFailingSaveKeepsTheWindowOpen)
{
    ASSERT_NE(openEditor("003"), nullptr);
    addModules({"w302"});
    const long empty = editor->dw_1->insertRow(0);  // a row without a module

    messages.answer(Answer::Cancel);
    EXPECT_FALSE(editor->close());
    EXPECT_TRUE(editorOpen());

    messages.answer(Answer::Yes);
    EXPECT_FALSE(editor->close());
    EXPECT_TRUE(editorOpen());
    EXPECT_EQ(messages.texts(),
              QStringList({"数据已发生改变, 保存吗?", "数据已发生改变, 保存吗?", "请选择模块名称."}));
    EXPECT_EQ(editor->dw_1->getRow(), empty);

    // Corrected, Yes saves and closes.
    messages.clear();
    editor->dw_1->deleteRow(empty);
    messages.answer(Answer::Yes);
    EXPECT_TRUE(editor->close());
    EXPECT_EQ(messages.texts(), QStringList({"数据已发生改变, 保存吗?", "保存成功."}));
    EXPECT_TRUE(dbRights("003").contains("w302"));
}

TEST_P(EditorCloseTest, AfterASaveClosingAsksNothing)
{
    ASSERT_NE(openEditor("002"), nullptr);
    pickLevel(1, "查询");
    editor->cb_save->click();
    EXPECT_EQ(messages.texts(), QStringList({"保存成功."}));
    messages.clear();
    EXPECT_TRUE(editor->close());
    EXPECT_TRUE(messages.shown().isEmpty());
}

WMS_INSTANTIATE_DB_TESTS(EditorCloseTest);
