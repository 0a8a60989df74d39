// Two administrators at once on the copy's 应用 and the import's 应用: the list
// shown was made from what the window read; when another client changed the
// groups since, nothing of the list is written (nor journaled), the other
// client's change stays, and the operator is asked whether to read again: 否
// keeps the list as shown, 是 makes it again from what the database holds.
#include "tests/rightsetup/matrix_fixture.h"

#include "host/transaction.h"
#include "rightsetup/w_right_change_preview.h"
#include "rightsetup/w_right_group_copy.h"
#include "tests/rightsetup/second_client.h"
#include "tests/support/frame_driver.h"
#include "tests/support/modal_responder.h"

#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <memory>

using namespace rightsetup_test;
using rightsetup::CopyMode;
using rightsetup::RightChange;

namespace {

const QString kSet = "update s_group_power set group_right = ? where group_id = ? and m_item_code = ?";
const QString kDelete = "delete from s_group_power where group_id = ? and m_item_code = ?";
const QString kReadAgain = "\n是否重新读取?";

// A table's rows, "item: before → after" (the import's "group/item: …").
QStringList listed(QTableWidget* table)
{
    const int at = table->columnCount() - 4;  // the columns item, name, before, after come last
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r)
        rows << (at > 0 ? table->item(r, 0)->text() + "/" : QString()) + table->item(r, at)->text() + ": " +
                    table->item(r, at + 2)->text() + " → " + table->item(r, at + 3)->text();
    return rows;
}

class CopyImportMeanwhileTest : public MatrixTest {
protected:
    void otherClient(const QString& sql, const QVariantList& params) { commitOnOtherClient(url(), sql, params); }
    // The copy dialog opened from the matrix, `source` merged onto `target`.
    void withCopy(const QString& source, const QString& target,
                  const std::function<void(rightsetup::w_right_group_copy*)>& handler)
    {
        ASSERT_NE(openMatrix(), nullptr);
        bool seen = false;
        testing_support::ModalResponder responder([&](QWidget* widget) {
            auto* dialog = qobject_cast<rightsetup::w_right_group_copy*>(widget);
            ASSERT_NE(dialog, nullptr) << "the modal window is not the copy dialog";
            seen = true;
            dialog->setSource(source);
            dialog->setTarget(target);
            dialog->setMode(CopyMode::Merge);
            handler(dialog);
        });
        matrix->cb_copy->click();
        testing_support::pumpEvents();
        EXPECT_TRUE(seen);
    }
    // 应用 answered 是, then the question after the change meanwhile; expects
    // nothing written.
    void applyRefused(rightsetup::w_right_group_copy* dialog, host::Answer readAgain)
    {
        const QMap<QString, QString> held = dbCells();
        const long long journal = journalEntries(url());
        messages.clear();
        messages.answer(host::Answer::Yes);
        messages.answer(readAgain);
        EXPECT_FALSE(dialog->apply());
        EXPECT_FALSE(dialog->applied());
        ASSERT_EQ(messages.shown().size(), 2) << messages.texts().join(" | ").toStdString();
        EXPECT_EQ(messages.texts().last(), "操作组 002 和 003 的权限已被其他用户修改, 本次修改全部未保存." + kReadAgain);
        EXPECT_EQ(dbCells(), held);
        EXPECT_EQ(journalEntries(url()), journal);
    }
};

}  // namespace

// 002 merged onto 003: w201 禁止 → 修改 (an update), w202, w204 and w205 added;
// w203 and w301 are equal.
TEST_P(CopyImportMeanwhileTest, ACopyOntoATargetChangedMeanwhileIsNotWritten)
{
    withCopy("002", "003", [&](rightsetup::w_right_group_copy* dialog) {
        const QStringList shown = listed(dialog->dw_preview);
        ASSERT_EQ(shown.size(), 4);
        otherClient(kSet, {"1", "003", "w201"});

        applyRefused(dialog, host::Answer::No);
        EXPECT_EQ(listed(dialog->dw_preview), shown);  // the list as it was shown
        EXPECT_EQ(dbCells().value("003/w201"), "1");
        EXPECT_FALSE(dbCells().contains("003/w202"));

        applyRefused(dialog, host::Answer::Yes);
        const QStringList fresh = listed(dialog->dw_preview);
        ASSERT_EQ(fresh.size(), 4);
        EXPECT_TRUE(fresh.first().endsWith(": 查询 → 修改")) << fresh.first().toStdString();

        messages.clear();
        messages.answer(host::Answer::Yes);
        EXPECT_TRUE(dialog->apply());
        EXPECT_EQ(messages.texts().last(), "保存成功.");
    });
    EXPECT_EQ(dbCells().value("003/w201"), "2");
    EXPECT_EQ(dbCells().value("003/w202"), "2");
}

TEST_P(CopyImportMeanwhileTest, ACopyFromASourceChangedMeanwhileIsNotWritten)
{
    withCopy("002", "003", [&](rightsetup::w_right_group_copy* dialog) {
        otherClient(kDelete, {"002", "w204"});
        applyRefused(dialog, host::Answer::Yes);
        EXPECT_EQ(dialog->preview().size(), 3);  // w204 is no longer copied
        EXPECT_FALSE(dbCells().contains("003/w204"));
    });
}

TEST_P(CopyImportMeanwhileTest, ACopyKeepsChangesMeanwhileThatLeaveItsListAsShown)
{
    withCopy("002", "003", [&](rightsetup::w_right_group_copy* dialog) {
        const QList<RightChange> shown = dialog->preview();
        otherClient(kSet, {"2", "003", "w203"});  // the greater level stays the target's
        otherClient(kSet, {"2", "004", "w301"});
        QMap<QString, QString> expected = dbCells();
        messages.answer(host::Answer::Yes);
        EXPECT_TRUE(dialog->apply());
        EXPECT_EQ(messages.texts().last(), "保存成功.");
        for (const RightChange& change : shown)
            expected[change.group + "/" + change.item] = *change.after;
        EXPECT_EQ(dbCells(), expected);
        EXPECT_EQ(dbCells().value("003/w203"), "2");
        EXPECT_EQ(dbCells().value("004/w301"), "2");
    });
}

TEST_P(CopyImportMeanwhileTest, AnImportOfACellChangedMeanwhileIsNotWrittenAndIsMadeAgainOnReadingAgain)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("in.csv");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("group_id,group_name,w201,w203\r\n003,查询员,0,2\r\n");
    }
    ASSERT_NE(openMatrix(), nullptr);
    QStringList first, second;
    std::unique_ptr<testing_support::ModalResponder> again;
    testing_support::ModalResponder responder([&](QWidget* widget) {
        auto* preview = qobject_cast<rightsetup::w_right_change_preview*>(widget);
        ASSERT_NE(preview, nullptr) << "the modal window is not the import preview";
        first = listed(preview->dw_changes);
        otherClient(kSet, {"0", "003", "w203"});
        otherClient(kSet, {"0", "002", "w201"});  // not in the file: kept
        const QMap<QString, QString> held = dbCells();
        const long long journal = journalEntries(url());

        // 否: nothing written, the list stays open as it was.
        messages.answer(host::Answer::No);
        preview->cb_apply->click();
        EXPECT_TRUE(preview->isVisible());
        EXPECT_EQ(listed(preview->dw_changes), first);
        EXPECT_EQ(messages.texts(),
                  QStringList({"操作组 003 在模块项 w203 上的权限已被其他用户修改, 本次修改全部未保存." + kReadAgain}));
        EXPECT_EQ(dbCells(), held);
        EXPECT_EQ(journalEntries(url()), journal);

        // 是: the file's changes are made again against the database.
        again = std::make_unique<testing_support::ModalResponder>([&](QWidget* modal) {
            auto* fresh = qobject_cast<rightsetup::w_right_change_preview*>(modal);
            ASSERT_NE(fresh, nullptr) << "no new preview after reading again";
            second = listed(fresh->dw_changes);
            fresh->cb_apply->click();
        });
        messages.clear();
        messages.answer(host::Answer::Yes);
        preview->cb_apply->click();
        EXPECT_EQ(dbCells(), held);
    });
    EXPECT_TRUE(matrix->importCsv(path));
    EXPECT_EQ(first, QStringList({"003/w203: 查询 → 修改"}));
    EXPECT_EQ(second, QStringList({"003/w203: 禁止 → 修改"}));
    EXPECT_EQ(messages.texts().last(), "保存成功.");
    EXPECT_EQ(dbCells().value("003/w203"), "2");
    EXPECT_EQ(dbCells().value("002/w201"), "0");
    EXPECT_EQ(shown("003", "w203"), "修改");
}

WMS_INSTANTIATE_DB_TESTS(CopyImportMeanwhileTest);
