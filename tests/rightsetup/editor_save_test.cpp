// Saving the group rights editor: the checks before anything is written, the
// write itself, and what the right checks read afterwards.
#include "tests/rightsetup/editor_fixture.h"

#include "host/transaction.h"
#include "platform/datawindow.h"
#include "rights/f_check_right.h"
#include "schema/journal_ddl.h"

#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>

using namespace rightsetup_test;
using testing_support::ShownBox;

namespace {

class EditorSaveTest : public EditorTest {
protected:
    // A group without rights, selectable in the manager.
    void addEmptyGroup(const QString& id)
    {
        exec("insert into s_group (group_id, group_name) values (?, ?)", {id, "新组"});
        EXPECT_EQ(host::sqlca.commit(), 0);
    }
    // Appends a row as the module list does.
    long appendRow(const QString& module)
    {
        const long row = editor->dw_1->insertRow(0);
        editor->dw_1->setItem(row, "group_id", editor->is_group_id);
        if (!module.isEmpty())
            editor->dw_1->setItem(row, "m_item_code", module);
        return row;
    }
    // Every s_group_power row must name an existing group, checked only when
    // the transaction commits: a commit can then fail after every statement
    // of the save succeeded.
    void checkGroupsAtCommit()
    {
        QSqlQuery query(host::sqlca.database());
        QStringList statements;
        if (backend() == testing_support::Backend::Sqlite) {
            statements = {"create table power_checked (group_id varchar(3) not null references s_group (group_id) "
                          "deferrable initially deferred, m_item_code varchar(40) not null, group_right varchar(1), "
                          "primary key (group_id, m_item_code))",
                          "insert into power_checked select group_id, m_item_code, group_right from s_group_power",
                          "drop table s_group_power", "alter table power_checked rename to s_group_power",
                          "pragma foreign_keys = on"};
            // The new table gets the journal's triggers of the one it replaces.
            const schema::JournaledTable* journaled = schema::journaledTable("s_group_power");
            statements += schema::journalTriggerStatements(host::Dialect::Sqlite, *journaled, journaled->columns);
        } else {
            statements = {"alter table s_group_power add constraint power_group foreign key (group_id) "
                          "references s_group (group_id) deferrable initially deferred"};
        }
        for (const QString& sql : statements)
            ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << ": " << query.lastError().text().toStdString();
    }
    void expectOnlyNotice(const QString& text)
    {
        ASSERT_EQ(messages.shown().size(), 1) << messages.texts().join(" | ").toStdString();
        EXPECT_EQ(messages.shown().first().text, text);
        EXPECT_EQ(messages.shown().first().title, "提示");
    }
};

}  // namespace

TEST_P(EditorSaveTest, NewRowsWithLevelsAreWrittenCommittedAndSavingAgainSucceeds)
{
    ASSERT_NE(openEditor("003"), nullptr);
    addModules({"w302", "m101"});
    const long w302 = editor->dw_1->find("m_item_code = 'w302'", 1, 99);
    const long m101 = editor->dw_1->find("m_item_code = 'm101'", 1, 99);
    pickLevel(w302, "修改");
    pickLevel(m101, "查询");
    editor->cb_save->click();

    expectOnlyNotice("保存成功.");
    EXPECT_EQ(messages.shown().first().buttons, host::Buttons::Ok);
    const QMap<QString, QString> stored = dbRights("003");  // committed: seen by another client
    EXPECT_EQ(stored.value("w302"), "2");
    EXPECT_EQ(stored.value("m101"), "1");
    EXPECT_EQ(stored.size(), 5);
    EXPECT_FALSE(editor->cb_save->isEnabled());
    EXPECT_TRUE(editor->ib_save_success);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());

    messages.clear();
    editor->cb_save_clicked();
    expectOnlyNotice("保存成功.");
    EXPECT_EQ(dbRights("003").size(), 5);
}

TEST_P(EditorSaveTest, ANewRowWithoutModuleIsRefusedWithTheFocusOnIt)
{
    ASSERT_NE(openEditor("003"), nullptr);
    addModules({"w302"});
    const long empty = appendRow({});
    editor->dw_1->setRow(1);
    editor->cb_save_clicked();
    expectOnlyNotice("请选择模块名称.");
    EXPECT_EQ(editor->dw_1->getRow(), empty);
    EXPECT_EQ(editor->dw_1->getColumnName(), "m_item_code");
    EXPECT_FALSE(editor->ib_save_success);
    EXPECT_EQ(dbRights("003").size(), 3);  // nothing written, not even the valid row
    EXPECT_TRUE(editor->cb_save->isEnabled());
}

TEST_P(EditorSaveTest, AnItemAddedMeanwhileByAnotherClientIsRefused)
{
    ASSERT_NE(openEditor("003"), nullptr);
    addModules({"w302", "w204"});
    otherClient("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)",
                {"003", "w204", "1"});
    editor->cb_save_clicked();
    expectOnlyNotice("模块已存在，请选择其它模块.");
    const long row = editor->dw_1->find("m_item_code = 'w204'", 1, 99);
    EXPECT_EQ(editor->dw_1->getRow(), row);
    EXPECT_EQ(editor->dw_1->getColumnName(), "m_item_code");
    EXPECT_FALSE(dbRights("003").contains("w302"));
}

TEST_P(EditorSaveTest, RepeatedItemsAreNamedUpperRowFirstWithTheFocusOnTheLowerRow)
{
    addEmptyGroup("005");
    ASSERT_NE(openEditor("005"), nullptr);
    appendRow("m101");
    appendRow("w202");
    appendRow("m101");
    editor->cb_save_clicked();
    expectOnlyNotice("第1行数据和第3行数据有重复，请更改.");
    EXPECT_EQ(editor->dw_1->getRow(), 3);
    EXPECT_EQ(editor->dw_1->getColumnName(), "m_item_code");
    EXPECT_TRUE(dbRights("005").isEmpty());
}

TEST_P(EditorSaveTest, AModuleCodeHoldingAQuoteIsCheckedForRepeatsAndSaved)
{
    exec("insert into s_moudle_item (m_item_code, name) values (?, ?)", {"x'1", "引号模块"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    addEmptyGroup("005");
    ASSERT_NE(openEditor("005"), nullptr);
    appendRow("x'1");
    appendRow("x'1");
    editor->cb_save_clicked();
    expectOnlyNotice("第1行数据和第2行数据有重复，请更改.");

    messages.clear();
    editor->dw_1->deleteRow(2);
    editor->cb_save_clicked();
    expectOnlyNotice("保存成功.");
    EXPECT_TRUE(dbRights("005").contains("x'1"));
}

TEST_P(EditorSaveTest, AChangedLevelAloneIsSavedWithoutTheExistenceCheck)
{
    ASSERT_NE(openEditor("002"), nullptr);
    const long row = editor->dw_1->find("m_item_code = 'w205'", 1, 99);
    pickLevel(row, "查询");
    EXPECT_TRUE(editor->cb_save->isEnabled());
    EXPECT_FALSE(editor->ib_canexit);
    editor->cb_save->click();
    expectOnlyNotice("保存成功.");
    EXPECT_EQ(dbRights("002").value("w205"), "1");
}

TEST_P(EditorSaveTest, AFailedWriteIsRolledBackAndKeepsTheChanges)
{
    ASSERT_NE(openEditor("003"), nullptr);
    addModules({"w302"});
    pickLevel(1, "修改");  // an update that succeeds before the insert fails
    refuse("insert", "s_group_power");
    editor->cb_save_clicked();
    expectOnlyNotice("保存失败.");
    EXPECT_FALSE(editor->ib_save_success);
    EXPECT_TRUE(editor->cb_save->isEnabled());
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_EQ(dbRights("003").value(editor->dw_1->getItemString(1, "m_item_code")), "0");  // update undone
    EXPECT_EQ(editor->dw_1->modifiedCount(), 2);  // still pending for the next save
}

TEST_P(EditorSaveTest, ACommitRefusedByTheDatabaseKeepsEveryChangePendingForTheNextSave)
{
    checkGroupsAtCommit();
    ASSERT_NE(openEditor("003"), nullptr);
    QMap<QString, QString> stored = dbRights("003");
    addModules({"w302"});
    const long row = editor->dw_1->find("m_item_code = 'w302'", 1, 99);
    ASSERT_EQ(editor->dw_1->setItem(row, "group_id", "999"), 1);  // no group has it: refused at COMMIT
    editor->cb_save_clicked();
    expectOnlyNotice("保存失败.");
    EXPECT_FALSE(editor->ib_save_success);
    EXPECT_TRUE(editor->cb_save->isEnabled());
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_TRUE(dbRights("999").isEmpty());
    EXPECT_EQ(dbRights("003"), stored);
    // Nothing is lost: the new row is still pending, and saving again writes it.
    EXPECT_EQ(gridColumn("m_item_code"), stored.keys() + QStringList({"w302"}));
    EXPECT_EQ(editor->dw_1->modifiedCount(), 1);
    ASSERT_EQ(editor->dw_1->setItem(row, "group_id", "003"), 1);
    messages.clear();
    editor->cb_save_clicked();
    expectOnlyNotice("保存成功.");
    stored.insert("w302", editor->dw_1->getItemString(row, "group_right"));
    EXPECT_EQ(dbRights("003"), stored);

    // The same for a delete written together with such a row.
    messages.clear();
    addModules({"m101"});
    const long added = editor->dw_1->rowCount();
    ASSERT_EQ(editor->dw_1->setItem(added, "group_id", "999"), 1);
    const QString first = editor->dw_1->getItemString(1, "m_item_code");
    editor->dw_1->setRow(1);
    messages.answer(host::Answer::Yes);
    editor->cb_delete_clicked();
    EXPECT_EQ(messages.texts(), QStringList({"确定要进行删除操作吗?", "删除失败."}));
    EXPECT_EQ(dbRights("003"), stored);
    EXPECT_EQ(editor->dw_1->deletedCount(), 1);
    EXPECT_EQ(editor->dw_1->modifiedCount(), 1);
    EXPECT_TRUE(editor->cb_save->isEnabled());
    ASSERT_EQ(editor->dw_1->setItem(editor->dw_1->find("m_item_code = 'm101'", 1, 99), "group_id", "003"), 1);
    messages.clear();
    editor->cb_save_clicked();
    expectOnlyNotice("保存成功.");
    stored.remove(first);
    stored.insert("m101", editor->dw_1->getItemString(editor->dw_1->find("m_item_code = 'm101'", 1, 99),
                                                      "group_right"));
    EXPECT_EQ(dbRights("003"), stored);
}

TEST_P(EditorSaveTest, ADatabaseErrorInTheExistenceCheckStopsTheSave)
{
    ASSERT_NE(openEditor("003"), nullptr);
    addModules({"w302"});
    otherClient("alter table s_group_power rename to s_group_power_gone");
    editor->cb_save_clicked();
    ASSERT_EQ(messages.shown().size(), 1);
    const ShownBox& box = messages.shown().first();
    EXPECT_EQ(box.title, "数据库错误");
    EXPECT_TRUE(box.text.startsWith("错误原因: ")) << box.text.toStdString();
    EXPECT_GT(box.text.size(), QString("错误原因: ").size());
    EXPECT_EQ(box.icon, host::Icon::StopSign);
    EXPECT_FALSE(editor->ib_save_success);
}

TEST_P(EditorSaveTest, RightsSavedHereAreHonouredAtTheNextCheck)
{
    // E004 is in groups 003 and 004; neither holds w204.
    EXPECT_FALSE(rights::f_check_right("w204", "1", "E004"));
    ASSERT_NE(openEditor("003"), nullptr);
    addModules({"w204"});
    const long row = editor->dw_1->find("m_item_code = 'w204'", 1, 99);
    pickLevel(row, "修改");
    editor->cb_save->click();
    expectOnlyNotice("保存成功.");
    EXPECT_TRUE(rights::f_check_right("w204", "2", "E004"));

    // Lowered to forbidden: the next check refuses the query level.
    messages.clear();
    pickLevel(row, "禁止");
    editor->cb_save->click();
    expectOnlyNotice("保存成功.");
    EXPECT_FALSE(rights::f_check_right("w204", "1", "E004"));
    EXPECT_TRUE(rights::f_check_right("w204", "0", "E004"));
}

WMS_INSTANTIATE_DB_TESTS(EditorSaveTest);
