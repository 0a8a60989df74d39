// The single-record dialogs in one table: what every add dialog and every
// edit dialog does, for each dialog on each database. What one dialog does
// beyond that (the manager's tree and list after an add, the employee's
// department) is tested beside its manager.
#include "common/record_dialog.h"
#include "department/register_windows.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "tests/support/frame_driver.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/test_db.h"
#include "usergroup/register_windows.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <utility>

using testing_support::Backend;

namespace {

using Fields = QList<std::pair<QString, QString>>;

struct DialogCase {
    const char* name;
    const char* className;
    const char* title;
    const char* dataObject;
    // The table and its code and name columns (named alike in the form).
    const char* table;
    const char* idColumn;
    const char* nameColumn;
    const char* emptyName;
    // Add dialogs: the messages, a code already stored, the code of a new
    // record as typed (with blanks) and as stored.
    const char* emptyId = nullptr;
    const char* duplicateId = nullptr;
    const char* existingId = nullptr;
    const char* typedId = nullptr;
    const char* newId = nullptr;
    Fields more = {};  // further fields of a new record, or the changes of an edit
    // Edit dialogs: the record opened, its stored name, a code not stored.
    const char* editId = nullptr;
    const char* storedName = nullptr;
    const char* unknownId = nullptr;
};

const DialogCase kAddDialogs[] = {
    {"GroupAdd", "w_right_group_add", "增加操作组", "d_right_group_freeform", "s_group", "group_id", "group_name",
     "组名称不能为空.", "组编号不能为空.", "该组编号已存在，请改用其它编号.", "001", " 09", "09"},
    {"DepartmentAdd", "w_right_department_add", "增加部门", "d_right_department_freeform", "s_dept", "dept_id",
     "dept_name", "部门名称不能为空.", "部门编号不能为空.", "该部门编号已存在，请改用其它编号.", " D02 ", " D09 ",
     "D09", {{"memo", "车队"}}},
    {"EmployeeAdd", "w_right_employee_add", "增加员工", "d_right_employee_freeform", "s_employee", "id", "name",
     "员工名称不能为空.", "员工编号不能为空.", "该员工编号已存在，请改用其它编号.", "E001", " E100", "E100",
     {{"dept_id", "D02"}, {"status", "1"}}},
};

const DialogCase kEditDialogs[] = {
    {"DepartmentEdit", "w_right_department_edit", "编辑部门信息", "d_right_department_freeform", "s_dept", "dept_id",
     "dept_name", "部门名称不能为空.", nullptr, nullptr, nullptr, nullptr, nullptr, {{"memo", "月结"}}, "D02", "财务部",
     "D99"},
    {"EmployeeEdit", "w_right_employee_edit", "编辑员工信息", "d_right_employee_freeform", "s_employee", "id",
     "name", "员工名称不能为空.", nullptr, nullptr, nullptr, nullptr, nullptr, {{"status", "2"}, {"dept_id", "D03"}},
     "E003", "李娜", "E999"},
};

class RecordDialogFixture : public testing_support::DbFixture,
                         public ::testing::WithParamInterface<std::tuple<DialogCase, Backend>> {
protected:
    Backend backend() const override { return std::get<1>(GetParam()); }
    const DialogCase& dialog() const { return std::get<0>(GetParam()); }

    void SetUp() override
    {
        DbFixture::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        loadSample();
        usergroup::registerWindows();
        department::registerWindows();
        storedRows = count(table());
    }
    void TearDown() override
    {
        host::WindowRegistry::closeAll();
        testing_support::pumpEvents();
        DbFixture::TearDown();
    }

    common::RecordDialog* open(const QString& parameter = {})
    {
        auto* window = qobject_cast<common::RecordDialog*>(
            host::WindowRegistry::open(QString::fromUtf8(dialog().className), parameter));
        testing_support::pumpEvents();
        return window;
    }
    QString table() const { return QString::fromUtf8(dialog().table); }
    QString idColumn() const { return QString::fromUtf8(dialog().idColumn); }
    QString nameColumn() const { return QString::fromUtf8(dialog().nameColumn); }
    QVariant stored(const QString& id, const QString& column)
    {
        return value(QStringLiteral("select %1 from %2 where %3 = ?").arg(column, table(), idColumn()), {id});
    }
    void type(common::RecordDialog* w, const Fields& fields)
    {
        for (const auto& [column, text] : fields)
            ASSERT_EQ(w->dw_1()->setItem(1, column, text), 1) << column.toStdString();
    }
    void typeRecord(common::RecordDialog* w, const QString& id, const QString& name)
    {
        type(w, {{idColumn(), id}, {nameColumn(), name}});
        type(w, dialog().more);
    }

    // Another client's statement, committed.
    void otherClient(const QString& sql, const QVariantList& params = {})
    {
        host::Transaction other;
        ASSERT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
        ASSERT_EQ(other.execute(sql, params), 0) << other.sqlerrtext.toStdString();
        ASSERT_EQ(other.commit(), 0) << other.sqlerrtext.toStdString();
    }
    QString changedMeanwhile(const QString& id) const
    {
        return QStringLiteral("修改失败.\n") + (table() == "s_dept" ? "部门 " : "员工 ") + id +
               " 的记录已被其他用户修改, 本次修改全部未保存.\n是否重新读取?";
    }

    testing_support::ScriptedMessages messages;
    long long storedRows = 0;
};

class AddDialogTest : public RecordDialogFixture {};
class EditDialogTest : public RecordDialogFixture {};

// Add dialogs.

TEST_P(AddDialogTest, OpensWithOneEmptyRecordAndCancelCloses)
{
    auto* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8(dialog().title));
    EXPECT_EQ(w->backgroundRole(), QPalette::Button);
    EXPECT_EQ(w->dw_1()->dataObject(), QString::fromUtf8(dialog().dataObject));
    EXPECT_EQ(w->dw_1()->rowCount(), 1);
    EXPECT_TRUE(w->dw_1()->getItemString(1, idColumn()).isEmpty());
    EXPECT_EQ(w->cb_1()->text(), "增加(&A)");
    EXPECT_EQ(w->cb_2()->text(), "取消(&C)");
    EXPECT_TRUE(w->cb_1()->isDefault());
    w->cb_2()->click();
    testing_support::pumpEvents();
    EXPECT_EQ(host::WindowRegistry::instance(QString::fromUtf8(dialog().className)), nullptr);
    EXPECT_EQ(count(table()), storedRows);
}

TEST_P(AddDialogTest, RefusesAnEmptyCodeAnEmptyNameAndAStoredCodeInThatOrder)
{
    auto* w = open();
    w->cb1Clicked();
    typeRecord(w, "   ", "");
    w->cb1Clicked();
    typeRecord(w, QString::fromUtf8(dialog().newId), "  ");
    w->cb1Clicked();
    const QString existing = QString::fromUtf8(dialog().existingId);
    typeRecord(w, existing, "重复");
    w->cb1Clicked();
    const QString emptyId = QString::fromUtf8(dialog().emptyId);
    EXPECT_EQ(messages.texts(), QStringList({emptyId, emptyId, QString::fromUtf8(dialog().emptyName),
                                             QString::fromUtf8(dialog().duplicateId)}));
    EXPECT_EQ(messages.titles(), QStringList({"提示", "提示", "提示", "提示"}));
    EXPECT_EQ(count(table()), storedRows);
    // The values stay for the operator to correct.
    EXPECT_EQ(w->dw_1()->getItemString(1, idColumn()), existing);
    EXPECT_EQ(w->dw_1()->getItemString(1, nameColumn()), "重复");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(AddDialogTest, StoresTheCodeTrimmedAndTheRestAsTypedThenStartsAFreshRecord)
{
    auto* w = open();
    typeRecord(w, QString::fromUtf8(dialog().typedId), "名称 ");
    w->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加成功."}));
    EXPECT_EQ(count(table()), storedRows + 1);
    const QString id = QString::fromUtf8(dialog().newId);
    EXPECT_EQ(stored(id, nameColumn()).toString(), "名称 ");
    for (const auto& [column, text] : dialog().more)
        EXPECT_EQ(stored(id, column).toString(), text) << column.toStdString();
    EXPECT_EQ(w->dw_1()->rowCount(), 1);
    EXPECT_TRUE(w->dw_1()->getItemString(1, idColumn()).isEmpty());
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(AddDialogTest, AnInsertTheDatabaseRefusesIsReportedAndKeepsTheInput)
{
    testing_support::refuse(backend(), QStringLiteral("insert"), table());
    auto* w = open();
    const QString id = QString::fromUtf8(dialog().newId);
    typeRecord(w, id, "名称");
    w->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加失败."}));
    EXPECT_EQ(count(table()), storedRows);
    EXPECT_EQ(w->dw_1()->getItemString(1, idColumn()), id);
    EXPECT_EQ(w->dw_1()->getItemString(1, nameColumn()), "名称");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

// Edit dialogs.

TEST_P(EditDialogTest, SavesTheChangesAndNeverTheCode)
{
    const QString id = QString::fromUtf8(dialog().editId);
    auto* w = open(id);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8(dialog().title));
    EXPECT_EQ(w->cb_1()->text(), "修改(&E)");
    EXPECT_EQ(w->dw_1()->getItemString(1, nameColumn()), QString::fromUtf8(dialog().storedName));
    auto* idField = qobject_cast<QLineEdit*>(w->dw_1()->editorFor(idColumn()));
    ASSERT_NE(idField, nullptr);
    EXPECT_TRUE(idField->isReadOnly());
    EXPECT_EQ(idField->focusPolicy(), Qt::NoFocus);
    type(w, {{nameColumn(), "新名称"}});
    type(w, dialog().more);
    w->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"修改成功."}));
    EXPECT_EQ(stored(id, nameColumn()).toString(), "新名称");
    for (const auto& [column, text] : dialog().more)
        EXPECT_EQ(stored(id, column).toString(), text) << column.toStdString();
    EXPECT_EQ(count(table(), nameColumn() + QStringLiteral(" = ?"), {"新名称"}), 1);  // that record only
    EXPECT_EQ(count(table()), storedRows);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(EditDialogTest, RefusesAnEmptyName)
{
    const QString id = QString::fromUtf8(dialog().editId);
    auto* w = open(id);
    type(w, {{nameColumn(), "  "}});
    w->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({QString::fromUtf8(dialog().emptyName)}));
    EXPECT_EQ(stored(id, nameColumn()).toString(), QString::fromUtf8(dialog().storedName));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(EditDialogTest, OnAnUnknownCodeShowsNoRecordAndSavesNothing)
{
    auto* w = open(QString::fromUtf8(dialog().unknownId));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->dw_1()->rowCount(), 0);
    w->cb1Clicked();
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(count(table()), storedRows);
}

TEST_P(EditDialogTest, AnUpdateTheDatabaseRefusesIsNotReportedAsSaved)
{
    const QString id = QString::fromUtf8(dialog().editId);
    testing_support::refuse(backend(), QStringLiteral("update"), table());
    auto* w = open(id);
    type(w, {{nameColumn(), "新名称"}});
    w->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"修改失败."}));
    EXPECT_EQ(stored(id, nameColumn()).toString(), QString::fromUtf8(dialog().storedName));
    EXPECT_EQ(w->dw_1()->getItemString(1, nameColumn()), "新名称");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(EditDialogTest, ARecordDeletedMeanwhileIsNotReportedAsSaved)
{
    const QString id = QString::fromUtf8(dialog().editId);
    auto* w = open(id);
    // Deleted by another client while the dialog was open.
    otherClient(QStringLiteral("delete from %1 where %2 = ?").arg(table(), idColumn()), {id});
    const long long journal = count("s_right_journal");
    type(w, {{nameColumn(), "新名称"}});
    messages.answer(host::Answer::Yes);
    QTest::mouseClick(w->cb_1(), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList({changedMeanwhile(id)}));
    EXPECT_EQ(count(table()), storedRows - 1);
    EXPECT_EQ(count("s_right_journal"), journal);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    // Read again: there is no record any more.
    EXPECT_EQ(w->dw_1()->rowCount(), 0);
}

TEST_P(EditDialogTest, ANameChangedMeanwhileIsNotReplacedAndIsReadAgainOnYes)
{
    const QString id = QString::fromUtf8(dialog().editId);
    auto* w = open(id);
    otherClient(QStringLiteral("update %1 set %2 = '别名' where %3 = ?").arg(table(), nameColumn(), idColumn()), {id});
    const long long journal = count("s_right_journal");
    type(w, {{nameColumn(), "新名称"}});
    type(w, dialog().more);

    // 否: nothing written, every typed value still in the form.
    messages.answer(host::Answer::No);
    QTest::mouseClick(w->cb_1(), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList({changedMeanwhile(id)}));
    EXPECT_EQ(stored(id, nameColumn()).toString(), "别名");
    EXPECT_EQ(count("s_right_journal"), journal);
    EXPECT_EQ(w->dw_1()->getItemString(1, nameColumn()), "新名称");
    for (const auto& [column, text] : dialog().more) {
        EXPECT_EQ(w->dw_1()->getItemString(1, column), text);
        EXPECT_NE(stored(id, column).toString(), text);
    }

    // 是: the form shows what the database holds.
    messages.clear();
    messages.answer(host::Answer::Yes);
    QTest::mouseClick(w->cb_1(), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList({changedMeanwhile(id)}));
    EXPECT_EQ(w->dw_1()->getItemString(1, nameColumn()), "别名");
    EXPECT_EQ(stored(id, nameColumn()).toString(), "别名");
    EXPECT_TRUE(messages.scriptUsedUp());
}

TEST_P(EditDialogTest, AChangeToAnotherColumnMeanwhileIsKeptBySave)
{
    const QString id = QString::fromUtf8(dialog().editId);
    auto* w = open(id);
    const auto& [column, text] = dialog().more.first();
    otherClient(QStringLiteral("update %1 set %2 = ? where %3 = ?").arg(table(), column, idColumn()), {text, id});
    type(w, {{nameColumn(), "新名称"}});
    QTest::mouseClick(w->cb_1(), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList({"修改成功."}));
    EXPECT_EQ(stored(id, nameColumn()).toString(), "新名称");
    EXPECT_EQ(stored(id, column).toString(), text);
}

TEST_P(AddDialogTest, ACodeAnotherClientStoredSinceTheDialogOpenedIsReportedAsExisting)
{
    auto* w = open();
    typeRecord(w, QString::fromUtf8(dialog().typedId), "新记录");
    otherClient(QStringLiteral("insert into %1 (%2, %3) values (?, '别人')").arg(table(), idColumn(), nameColumn()),
                {QString::fromUtf8(dialog().newId)});
    const long long journal = count("s_right_journal");
    QTest::mouseClick(w->cb_1(), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList({QString::fromUtf8(dialog().duplicateId)}));
    EXPECT_EQ(count(table()), storedRows + 1);
    EXPECT_EQ(stored(QString::fromUtf8(dialog().newId), nameColumn()).toString(), "别人");
    EXPECT_EQ(count("s_right_journal"), journal);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<DialogCase, Backend>>& info)
{
    return std::string(std::get<0>(info.param).name) +
           (std::get<1>(info.param) == Backend::Sqlite ? "_Sqlite" : "_Postgres");
}

INSTANTIATE_TEST_SUITE_P(Dialogs, AddDialogTest,
                         ::testing::Combine(::testing::ValuesIn(kAddDialogs),
                                            ::testing::Values(Backend::Sqlite, Backend::Postgres)),
                         caseName);
INSTANTIATE_TEST_SUITE_P(Dialogs, EditDialogTest,
                         ::testing::Combine(::testing::ValuesIn(kEditDialogs),
                                            ::testing::Values(Backend::Sqlite, Backend::Postgres)),
                         caseName);

}  // namespace
