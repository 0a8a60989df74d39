// Two administrators at once in both managers: the window reads, another
// client changes or deletes the row and commits, then the window renames or
// deletes it. A rename or delete names the label the operator saw: a row
// changed meanwhile is refused as a whole (nothing of the window's operation
// written, no journal entry of it) with the module's reason and the choice to
// read again; a change to another column or another row is kept.
#include "common/list_view.h"
#include "common/manager_frame.h"
#include "host/transaction.h"
#include "tests/common/frame_edit_fixture.h"
#include "tests/support/frame_driver.h"

#include <QTest>

namespace frame_test {

using host::Answer;
using testing_support::pumpEvents;

class FrameMeanwhileTest : public FrameEditTest {
protected:
    QString entityName()
    {
        return stored(mc().entityTable, mc().entityNameColumn, mc().entityKeyColumn, mc().entityKey);
    }
    QString memberName() { return stored("s_employee", "name", "id", mc().memberKey); }
    long long journal() { return count("s_right_journal"); }
    QString reason(const char* noun, const char* key, const char* what) const
    {
        return QString(noun) + " " + key + what + "已被其他用户修改, 本次修改全部未保存.\n是否重新读取?";
    }
    void renameEntityAnd(const QString& typed, const QString& otherSql, const QVariantList& otherParams)
    {
        startWithF2(listIndex(mc().entityKey));
        type(typed);
        otherClient(otherSql, otherParams);
        before_ = journal();
        finishWith(Qt::Key_Return);
        pumpEvents();
    }
    // Delete on the selected list item, the questions answered 是.
    void deleteSelected(const QString& key, int questions)
    {
        testing_support::clickItem(w()->lv_1(), listIndex(key));
        for (int i = 0; i < questions; ++i)
            messages.answer(Answer::Yes);
    }
    void pressDelete()
    {
        before_ = journal();
        QTest::keyClick(w()->lv_1(), Qt::Key_Delete);
        pumpEvents();
    }
    QString renameEntitySql() const
    {
        return QStringLiteral("update %1 set %2 = ? where %3 = ?")
            .arg(mc().entityTable, mc().entityNameColumn, mc().entityKeyColumn);
    }

    long long before_ = 0;
};

TEST_P(FrameMeanwhileTest, ARenameOfANameChangedMeanwhileIsRefusedAndShowsWhatTheDatabaseHolds)
{
    openManager();
    const QString saw = reason(mc().entityNoun, mc().entityKey, " 的名称");

    // 否: nothing is read again, but the label shows the other client's name.
    messages.answer(Answer::No);
    renameEntityAnd("甲", renameEntitySql(), {"乙", mc().entityKey});
    EXPECT_EQ(messages.texts(), QStringList({saw}));
    EXPECT_EQ(entityName(), "乙");
    EXPECT_EQ(journal(), before_);
    EXPECT_EQ(w()->lv_1()->label(listIndex(mc().entityKey)), "乙");
    EXPECT_EQ(treeLabel(mc().entityKey), "乙");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());

    // The name now shown is renamed as usual.
    messages.clear();
    startWithF2(listIndex(mc().entityKey));
    type("丙");
    finishWith(Qt::Key_Return);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(entityName(), "丙");

    // 是: the manager reads again, the selection kept.
    messages.answer(Answer::Yes);
    renameEntityAnd("丁", renameEntitySql(), {"戊", mc().entityKey});
    EXPECT_EQ(messages.texts().last(), saw);
    EXPECT_EQ(entityName(), "戊");
    EXPECT_EQ(journal(), before_);
    EXPECT_EQ(w()->lv_1()->label(listIndex(mc().entityKey)), "戊");
    EXPECT_EQ(w()->lv_1()->selectedIndex(), listIndex(mc().entityKey));
}

TEST_P(FrameMeanwhileTest, ARenameOfARowDeletedMeanwhileIsRefusedAndTheOtherClientsChangesAreKept)
{
    openManager();
    // Another row changed meanwhile: the rename is written, the change kept.
    const QString otherKey = listIndex("001") > 0 ? "001" : "D01";
    renameEntityAnd("甲", renameEntitySql(), {"别的", otherKey});
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(entityName(), "甲");
    EXPECT_EQ(stored(mc().entityTable, mc().entityNameColumn, mc().entityKeyColumn, otherKey), "别的");

    // The member's other columns changed meanwhile: the rename keeps them.
    selectTree(mc().memberEntity);
    startWithF2(listIndex(mc().memberKey));
    type("新名");
    otherClient("update s_employee set status = '2' where id = ?", {mc().memberKey});
    finishWith(Qt::Key_Return);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(memberName(), "新名");
    EXPECT_EQ(stored("s_employee", "status", "id", mc().memberKey), "2");

    // The member's row deleted meanwhile: refused; 否 keeps the list as it was.
    messages.answer(Answer::No);
    startWithF2(listIndex(mc().memberKey));
    type("再名");
    otherClient("delete from s_employee where id = ?", {mc().memberKey});
    before_ = journal();
    finishWith(Qt::Key_Return);
    pumpEvents();
    EXPECT_EQ(messages.texts(), QStringList({reason(mc().memberNoun, mc().memberKey, " 的名称")}));
    EXPECT_EQ(count("s_employee", "id = ?", {mc().memberKey}), 0);
    EXPECT_EQ(journal(), before_);
    EXPECT_EQ(w()->lv_1()->label(listIndex(mc().memberKey)), "新名");
}

TEST_P(FrameMeanwhileTest, ADeleteOfAnEntityRenamedOrDeletedMeanwhileDeletesNothing)
{
    // An entity without members or employees, so that only the name decides.
    exec(QStringLiteral("insert into %1 (%2, %3) values ('X9', '待删')")
             .arg(mc().entityTable, mc().entityKeyColumn, mc().entityNameColumn));
    exec("insert into s_group_power (group_id, m_item_code, group_right) values ('X9', 'w201', '1')");
    ASSERT_EQ(host::sqlca.commit(), 0);
    openManager();
    const int questions = QString(mc().entityTable) == "s_group" ? 2 : 1;

    // Renamed meanwhile, 否: the entity, its rights and the other name stay.
    deleteSelected("X9", questions);
    messages.answer(Answer::No);
    otherClient(renameEntitySql(), {"改过", "X9"});
    pressDelete();
    EXPECT_EQ(messages.texts().last(), reason(mc().entityNoun, "X9", " 的记录"));
    EXPECT_EQ(stored(mc().entityTable, mc().entityNameColumn, mc().entityKeyColumn, "X9"), "改过");
    EXPECT_EQ(count("s_group_power", "group_id = 'X9'"), 1);
    EXPECT_EQ(journal(), before_);
    EXPECT_GT(listIndex("X9"), 0);

    // 是 reads again: the new name is shown and may be deleted.
    deleteSelected("X9", questions);
    messages.answer(Answer::Yes);
    otherClient(renameEntitySql(), {"又改", "X9"});
    pressDelete();
    EXPECT_EQ(w()->lv_1()->label(listIndex("X9")), "又改");
    deleteSelected("X9", questions);
    pressDelete();
    EXPECT_TRUE(messages.scriptUsedUp());
    EXPECT_EQ(count(mc().entityTable, QString(mc().entityKeyColumn) + " = 'X9'"), 0);
    EXPECT_EQ(listIndex("X9"), 0);
}

TEST_P(FrameMeanwhileTest, ADeleteOfAMemberGoneMeanwhileIsRefusedAndReadAgain)
{
    openManager();
    selectTree(mc().memberEntity);
    deleteSelected(mc().memberKey, 1);
    messages.answer(Answer::Yes);
    // The membership (权限管理) is gone, or the employee (部门管理) renamed,
    // meanwhile.
    const bool groups = QString(mc().entityTable) == "s_group";
    if (groups)
        otherClient("delete from s_user_group where user_code = ? and group_code = ?",
                    {mc().memberKey, mc().memberEntity});
    else
        otherClient("update s_employee set name = '改名' where id = ?", {mc().memberKey});
    pressDelete();
    EXPECT_EQ(messages.texts().last(), reason(mc().memberNoun, mc().memberKey, " 的记录"));
    EXPECT_EQ(journal(), before_);
    EXPECT_EQ(count("s_user", "id = ?", {mc().memberKey}), 1);
    EXPECT_EQ(count("s_employee", "id = ?", {mc().memberKey}), 1);
    // Read again: what the database holds is listed.
    if (groups)
        EXPECT_EQ(listIndex(mc().memberKey), 0);
    else
        EXPECT_EQ(w()->lv_1()->label(listIndex(mc().memberKey)), "改名");
}

INSTANTIATE_TEST_SUITE_P(Managers, FrameMeanwhileTest,
                         ::testing::Combine(::testing::Values(kUserGroups, kDepartments),
                                            ::testing::Values(testing_support::Backend::Sqlite,
                                                              testing_support::Backend::Postgres)),
                         FrameEditTest::caseName);

}  // namespace frame_test
