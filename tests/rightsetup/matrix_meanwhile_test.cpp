// Two administrators at once on the rights matrix: the window reads, another
// client changes, deletes or adds a right and commits, then the window saves.
// A cell changed meanwhile refuses the whole save (nothing of it written or
// journaled, the other client's change kept) and asks whether to read again:
// 否 keeps every edit pending, 是 shows what the database holds. A change
// meanwhile to a cell the save does not touch is kept and the save succeeds.
#include "tests/rightsetup/matrix_fixture.h"

#include "host/transaction.h"
#include "rightsetup/matrix_model.h"
#include "tests/rightsetup/second_client.h"

#include <QPushButton>
#include <QTableView>
#include <Qt>

using namespace rightsetup_test;

namespace {

const QString kSet = "update s_group_power set group_right = ? where group_id = ? and m_item_code = ?";
const QString kDelete = "delete from s_group_power where group_id = ? and m_item_code = ?";
const QString kInsert = "insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)";

QString question(const QString& group, const QString& item)
{
    return QString("操作组 %1 在模块项 %2 上的权限已被其他用户修改, 本次修改全部未保存.\n是否重新读取?").arg(group, item);
}

class MatrixMeanwhileTest : public MatrixTest {
protected:
    // Two edits of group 003 read from the sample: w202 无 → 查询 (an insert,
    // written first) and w203 查询 → 修改 (an update).
    void editTwo()
    {
        press("003", "w202", Qt::Key_1);
        press("003", "w203", Qt::Key_2);
        ASSERT_EQ(matrix->model()->changeCount(), 2);
    }
    void expectTwoPending()
    {
        EXPECT_EQ(matrix->model()->changeCount(), 2);
        EXPECT_EQ(shown("003", "w202"), "查询");
        EXPECT_EQ(shown("003", "w203"), "修改");
        EXPECT_TRUE(marked("003", "w202") && marked("003", "w203"));
        EXPECT_TRUE(matrix->cb_save->isEnabled());
        EXPECT_FALSE(host::sqlca.inWriteTransaction());
    }
    // Saves with the answer to the question; expects it refused with that
    // question alone, the database as the other client left it.
    void saveRefused(host::Answer answer, const QString& group, const QString& item)
    {
        const QMap<QString, QString> held = dbCells();
        const long long journal = journalEntries(url());
        messages.clear();
        messages.answer(answer);
        EXPECT_FALSE(matrix->save());
        ASSERT_EQ(messages.shown().size(), 1) << messages.texts().join(" | ").toStdString();
        EXPECT_EQ(messages.shown().first().text, question(group, item));
        EXPECT_EQ(messages.shown().first().buttons, host::Buttons::YesNo);
        EXPECT_EQ(messages.shown().first().defaultButton, host::Answer::Yes);
        EXPECT_EQ(dbCells(), held);
        EXPECT_EQ(journalEntries(url()), journal);
    }
    void otherClient(const QString& sql, const QVariantList& params) { commitOnOtherClient(url(), sql, params); }
};

}  // namespace

TEST_P(MatrixMeanwhileTest, ALevelChangedMeanwhileIsKeptAndTheSaveAsksToReadAgain)
{
    ASSERT_NE(openMatrix(), nullptr);
    editTwo();
    otherClient(kSet, {"0", "003", "w203"});  // 查询 → 禁止 by the other administrator

    // 否: nothing written (the insert before the update undone), every edit pending.
    saveRefused(host::Answer::No, "003", "w203");
    EXPECT_EQ(dbCells().value("003/w203"), "0");
    EXPECT_FALSE(dbCells().contains("003/w202"));
    expectTwoPending();

    // 是: the matrix shows what the database holds, the edits given up.
    saveRefused(host::Answer::Yes, "003", "w203");
    EXPECT_EQ(shown("003", "w203"), "禁止");
    EXPECT_EQ(shown("003", "w202"), "无");
    EXPECT_FALSE(matrix->model()->hasChanges());
    EXPECT_FALSE(matrix->cb_save->isEnabled());

    // Edited again on what it now shows, the save goes through.
    press("003", "w203", Qt::Key_2);
    messages.clear();
    EXPECT_TRUE(matrix->save());
    EXPECT_EQ(messages.texts(), QStringList({"保存成功."}));
    EXPECT_EQ(dbCells().value("003/w203"), "2");
}

TEST_P(MatrixMeanwhileTest, ARowDeletedMeanwhileRefusesItsUpdateAndItsDelete)
{
    ASSERT_NE(openMatrix(), nullptr);
    editTwo();
    otherClient(kDelete, {"003", "w203"});
    saveRefused(host::Answer::No, "003", "w203");
    EXPECT_FALSE(dbCells().contains("003/w203"));
    expectTwoPending();

    // A delete of a row deleted meanwhile: the operator never saw it gone.
    ASSERT_TRUE(matrix->reload());
    press("003", "w201", Qt::Key_Delete);
    otherClient(kDelete, {"003", "w201"});
    saveRefused(host::Answer::Yes, "003", "w201");
    EXPECT_EQ(shown("003", "w201"), "无");
    EXPECT_FALSE(matrix->model()->hasChanges());
}

TEST_P(MatrixMeanwhileTest, ARowAddedMeanwhileWhereTheWindowHadNoneIsNotWrittenOver)
{
    ASSERT_NE(openMatrix(), nullptr);
    editTwo();
    otherClient(kInsert, {"003", "w202", "2"});
    saveRefused(host::Answer::No, "003", "w202");
    EXPECT_EQ(dbCells().value("003/w202"), "2");
    EXPECT_EQ(dbCells().value("003/w203"), "1");  // the update after the insert was never written
    expectTwoPending();

    saveRefused(host::Answer::Yes, "003", "w202");
    EXPECT_EQ(shown("003", "w202"), "修改");
    EXPECT_EQ(shown("003", "w203"), "查询");
}

TEST_P(MatrixMeanwhileTest, ChangesMeanwhileToCellsTheSaveDoesNotTouchAreKept)
{
    ASSERT_NE(openMatrix(), nullptr);
    editTwo();
    // The same group's other cells and another group's same item.
    otherClient(kSet, {"2", "003", "w301"});
    otherClient(kDelete, {"003", "w201"});
    otherClient(kSet, {"0", "002", "w203"});
    const long long journal = journalEntries(url());
    QMap<QString, QString> expected = dbCells();
    EXPECT_TRUE(matrix->save());
    EXPECT_EQ(messages.texts(), QStringList({"保存成功."}));
    expected["003/w202"] = "1";
    expected["003/w203"] = "2";
    EXPECT_EQ(dbCells(), expected);
    EXPECT_EQ(journalEntries(url()), journal + 2);  // the save's two rows
    // What the window shows afterwards is what the database holds.
    EXPECT_EQ(shown("003", "w301"), "修改");
    EXPECT_EQ(shown("003", "w201"), "无");
    EXPECT_EQ(shown("002", "w203"), "禁止");
}

TEST_P(MatrixMeanwhileTest, ARowReadWithoutALevelOrWithAnEmptyOneIsMatchedAsItWasRead)
{
    // A row written without a level (the editor allows it) reads as NULL.
    otherClient(kInsert, {"003", "w205", QVariant()});
    ASSERT_NE(openMatrix(), nullptr);
    press("003", "w205", Qt::Key_2);
    EXPECT_TRUE(matrix->save());
    EXPECT_EQ(dbCells().value("003/w205"), "2");

    // An empty level is not taken for a missing one.
    otherClient(kSet, {"", "003", "w205"});
    ASSERT_TRUE(matrix->reload());
    press("003", "w205", Qt::Key_1);
    EXPECT_TRUE(matrix->save());
    EXPECT_EQ(dbCells().value("003/w205"), "1");

    otherClient(kSet, {QVariant(), "003", "w205"});
    ASSERT_TRUE(matrix->reload());
    press("003", "w205", Qt::Key_1);
    otherClient(kSet, {"0", "003", "w205"});  // given a level meanwhile
    saveRefused(host::Answer::No, "003", "w205");
    EXPECT_EQ(dbCells().value("003/w205"), "0");
}

WMS_INSTANTIATE_DB_TESTS(MatrixMeanwhileTest);
