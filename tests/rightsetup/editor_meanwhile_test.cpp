// Two administrators at once in the group rights editor: the editor reads the
// group's rows, another client changes or deletes one and commits, then the
// editor saves or deletes. A row changed meanwhile refuses the whole write
// (nothing of it written or journaled, the other client's change kept) with
// the window's own failure first and the question to read again: 否 keeps
// every change pending, 是 shows the group's rows as the database holds them.
// Another row changed meanwhile is kept and the write succeeds.
#include "tests/rightsetup/editor_fixture.h"

#include "host/transaction.h"
#include "platform/datawindow.h"
#include "tests/rightsetup/second_client.h"

#include <QPushButton>
#include <QTest>

using namespace rightsetup_test;
using host::Answer;

namespace {

const QString kSet = "update s_group_power set group_right = ? where group_id = ? and m_item_code = ?";
const QString kDelete = "delete from s_group_power where group_id = ? and m_item_code = ?";

class EditorMeanwhileTest : public EditorTest {
protected:
    long rowOf(const QString& item) const
    {
        return editor->dw_1->find("m_item_code = '" + item + "'", 1, editor->dw_1->rowCount());
    }
    QString levelOf(const QString& item) const { return editor->dw_1->getItemString(rowOf(item), "group_right"); }
    // The grid's rows as "item=level".
    QMap<QString, QString> gridRights() const
    {
        QMap<QString, QString> rights;
        for (long row = 1; row <= editor->dw_1->rowCount(); ++row)
            rights.insert(editor->dw_1->getItemString(row, "m_item_code"),
                          editor->dw_1->getItemString(row, "group_right"));
        return rights;
    }
    // Clicks `button` answering the question to read again (after `first`
    // answers); expects `failure` first and nothing written.
    void refused(QPushButton* button, const QString& failure, Answer readAgain, const QList<Answer>& first = {})
    {
        const QMap<QString, QString> held = dbRights("002");
        const long long journal = journalEntries(url());
        messages.clear();
        for (Answer answer : first)
            messages.answer(answer);
        messages.answer(readAgain);
        QTest::mouseClick(button, Qt::LeftButton);
        pump();
        ASSERT_FALSE(messages.shown().isEmpty());
        EXPECT_EQ(messages.shown().last().text,
                  failure + "\n操作组 002 的权限已被其他用户修改, 本次修改全部未保存.\n是否重新读取?");
        EXPECT_EQ(messages.shown().last().buttons, host::Buttons::YesNo);
        EXPECT_EQ(messages.shown().size(), first.size() + 1);
        EXPECT_EQ(dbRights("002"), held);
        EXPECT_EQ(journalEntries(url()), journal);
        EXPECT_FALSE(host::sqlca.inWriteTransaction());
        EXPECT_FALSE(editor->ib_save_success);
    }
    // After 是: the grid holds what the database holds, nothing pending.
    void expectReadAgain()
    {
        EXPECT_EQ(gridRights(), dbRights("002"));
        EXPECT_EQ(editor->dw_1->modifiedCount(), 0);
        EXPECT_EQ(editor->dw_1->deletedCount(), 0);
        EXPECT_FALSE(editor->cb_save->isEnabled());
        messages.clear();
        EXPECT_TRUE(editor->close());  // nothing left to ask about
        EXPECT_TRUE(messages.shown().isEmpty());
    }
};

}  // namespace

// Group 002: w201 修改, w202 修改, w203 查询, w204 修改, w205 禁止, w301 查询.
TEST_P(EditorMeanwhileTest, ASaveOverALevelChangedMeanwhileIsRefusedAndReadAgainOnYes)
{
    ASSERT_NE(openEditor("002"), nullptr);
    pickLevel(rowOf("w205"), "查询");
    otherClient(kSet, {"2", "002", "w205"});

    refused(editor->cb_save, "保存失败.", Answer::No);
    EXPECT_EQ(dbRights("002").value("w205"), "2");
    EXPECT_EQ(levelOf("w205"), "1");  // still the operator's
    EXPECT_EQ(editor->dw_1->modifiedCount(), 1);
    EXPECT_TRUE(editor->cb_save->isEnabled());

    refused(editor->cb_save, "保存失败.", Answer::Yes);
    EXPECT_EQ(levelOf("w205"), "2");
    expectReadAgain();
}

TEST_P(EditorMeanwhileTest, ASaveOverARowDeletedMeanwhileWritesNoneOfItsRows)
{
    ASSERT_NE(openEditor("002"), nullptr);
    addModules({"w302"});
    pickLevel(rowOf("w302"), "修改");
    pickLevel(rowOf("w205"), "查询");
    otherClient(kDelete, {"002", "w205"});

    refused(editor->cb_save, "保存失败.", Answer::No);
    EXPECT_FALSE(dbRights("002").contains("w302"));
    EXPECT_EQ(editor->dw_1->modifiedCount(), 2);

    refused(editor->cb_save, "保存失败.", Answer::Yes);
    EXPECT_LT(rowOf("w205"), 1);
    EXPECT_LT(rowOf("w302"), 1);
    expectReadAgain();
}

TEST_P(EditorMeanwhileTest, ADeleteOfARowChangedOrDeletedMeanwhileIsRefused)
{
    ASSERT_NE(openEditor("002"), nullptr);
    editor->dw_1->setRow(rowOf("w204"));
    otherClient(kSet, {"0", "002", "w204"});

    refused(editor->cb_delete, "删除失败.", Answer::No, {Answer::Yes});
    EXPECT_EQ(messages.texts().first(), "确定要进行删除操作吗?");
    EXPECT_EQ(dbRights("002").value("w204"), "0");
    EXPECT_EQ(editor->dw_1->deletedCount(), 1);  // still pending
    EXPECT_LT(rowOf("w204"), 1);

    // The pending deletion goes with the next save, refused the same way.
    refused(editor->cb_save, "保存失败.", Answer::Yes);
    EXPECT_EQ(levelOf("w204"), "0");

    editor->dw_1->setRow(rowOf("w203"));
    otherClient(kDelete, {"002", "w203"});
    refused(editor->cb_delete, "删除失败.", Answer::Yes, {Answer::Yes});
    EXPECT_LT(rowOf("w203"), 1);
    expectReadAgain();
}

TEST_P(EditorMeanwhileTest, OtherRowsChangedMeanwhileAreKeptAndTheWritesSucceed)
{
    ASSERT_NE(openEditor("002"), nullptr);
    pickLevel(rowOf("w205"), "查询");
    otherClient(kSet, {"1", "002", "w201"});
    otherClient(kDelete, {"002", "w301"});
    QMap<QString, QString> expected = dbRights("002");
    QTest::mouseClick(editor->cb_save, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList({"保存成功."}));
    expected["w205"] = "1";
    EXPECT_EQ(dbRights("002"), expected);

    otherClient(kSet, {"0", "002", "w202"});
    editor->dw_1->setRow(rowOf("w203"));
    messages.clear();
    messages.answer(Answer::Yes);
    QTest::mouseClick(editor->cb_delete, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList({"确定要进行删除操作吗?"}));
    expected.remove("w203");
    expected["w202"] = "0";
    EXPECT_EQ(dbRights("002"), expected);
}

WMS_INSTANTIATE_DB_TESTS(EditorMeanwhileTest);
